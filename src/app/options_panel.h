// The program's own keys and the options panel over the game.
//
// F1 opens the panel, M turns every sound off and on, F11 and Alt+Enter
// change between a window and full screen, F12 saves a screenshot. They are
// answered here, before the game's window procedure, which never sees them.
//
// While the panel is open no pass of the game is played: the game's last
// frame stands, dimmed, under the panel, and the game state is left as it
// was. Input is the panel's; what the game must still learn (where the
// pointer is, a released button, the focus) reaches it as it closes, as if
// it had happened then.
#pragma once

#include <vector>

#include "platform/platform.h"

// Answers a program key; false for a key that is the game's. Events the
// game should take once the key's work is done (after the panel) are added
// to `forTheGame`.
bool AnswerProgramKey(platform::Key key, std::vector<platform::Event>& forTheGame);

// Shows the line `key` over the game's frames for a few seconds; not in
// screenshots.
void ShowNote(const char* key);

// Loads the panel's picture (after the display is set up), and releases it.
void LoadOptionsPanel();
void ReleaseOptionsPanel();
