// Start-up and shut-down of the display and the data, and the program's
// entry with its message loop.
#pragma once

#include "platform/platform.h"

// Sets up the display and reads the map, the sprites, the colour keys, the
// palette and the pictures. 1 when all is ready, 0 otherwise.
int InitProgram();
// The map or sprite file that was not there when InitProgram failed; null
// when nothing was missing.
extern const char* gMissingDataFile;
// Releases what start-up made, in reverse dependence order.
void ShutdownProgram();

// The program: start-up, the message loop, shut-down. Returns the exit code:
// the quit message's code, or 1 when start-up failed.
int WinMain();
// The effects of one input event on the game state.
void WindowProc(const platform::Event& event);
// Asks the loop to end with the given exit code.
void PostQuitMessage(int exitCode);
// Runs the message loop until the quit message; returns its exit code.
int RunMessageLoop();
// The branches of the scene dispatch, in the order their conditions are
// tested.
enum class SceneBranch { kPostDeathDelay, kTitle, kDeath, kEnding, kPrologue, kField };
// The branch the scene flags select.
SceneBranch ChooseScene();
// Runs exactly one branch of the scene dispatch.
void DispatchScene();
