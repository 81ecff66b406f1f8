// Start-up and shut-down of the display and the data, and the program's
// entry with its message loop.
#pragma once

#include <string>

#include "platform/platform.h"

// Sets up the display and reads the map, the sprites, the colour keys, the
// palette and the pictures. 1 when all is ready, 0 otherwise. Pictures that
// are there but cannot be read are named in one message box, and the game
// goes on without them.
int InitProgram();

// What stopped the start, kept for the words the program's entry (or the
// page) adds to the game's own messages: in Korean and in English, naming
// the file and saying what to do.
enum class StartFault { kNone, kNoDisplay, kNoSound, kDisplay, kMissingFile, kDamagedFile };
struct StartFailure {
  StartFault fault = StartFault::kNone;
  const char* file = nullptr;  // the map or sprite file, for the last two
};
extern StartFailure gStartFailure;
// Those words, a Korean line and then an English one, for `folder`, the data
// folder as the player knows it. `besideProgram`: the platform keeps the data
// beside the program (Windows), which its advice follows.
std::string ExplainStartFailure(const StartFailure& failure, const std::string& folder,
                                bool besideProgram);
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
