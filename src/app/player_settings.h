// The player's settings in use, and the one place where they change.
//
// At start the kept settings are read (platform::ReadSettingsText) and the
// command line's choices are put over them for this run only. While the
// game runs every change (the options panel, the program's keys, the page's
// buttons) comes through ChangePlayerSettings, which applies it at once,
// keeps what the player chose, and tells the observer: so a recording can
// log each change where it happens and a playback can make it again.
//
// The game's rules never see any of this: the volumes, the window and the
// language change what is heard and shown, never a value of the game state.
#pragma once

#include <optional>
#include <string>

#include "app/settings.h"

// What the command line (or the page's address) chose for this run.
struct RunChoices {
  std::optional<bool> fullScreen;
  std::optional<int> windowScale;
  std::optional<std::string> language;
};

// Reads the kept settings, puts `run` over them, and sets the window's
// options, the language and the volumes, before WinMain. Damaged kept
// settings are set aside (settings.ini.bad), told in one line, and the
// defaults are used.
void StartWithPlayerSettings(const RunChoices& run);

// The settings in use.
const Settings& PlayerSettings();

// Applies `next` where it differs from the settings in use, and keeps it:
// the window and the scaling, the language (its lines and art), the
// volumes. What a command line chose for this run is kept only once the
// player changes it.
void ChangePlayerSettings(const Settings& next);

// Applies `next` as ChangePlayerSettings does, for a playback: nothing is
// kept and the observer is not told, since what a recording plays must never
// change what the player keeps. A language whose pack is not at hand (the
// page fetches only the one it plays in) leaves the one in use.
void PlaySettings(const Settings& next);

// Told of every change, after it is applied; null for none.
using SettingsObserver = void (*)(const Settings& before, const Settings& after);
void ObservePlayerSettings(SettingsObserver observer);

// The window got (true) or lost the focus: the sound goes quiet without it
// unless the player wants sound in the background.
void PlayerFocus(bool focused);
