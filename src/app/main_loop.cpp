// The program's entry, its window procedure, the message loop and the scene
// dispatch.
#include <cstdint>
#include <vector>

#include "app/options_panel.h"
#include "app/player_settings.h"
#include "app/program.h"
#include "audio/sound.h"
#include "field/field_scene.h"
#include "scenes/death_scene.h"
#include "scenes/ending_scene.h"
#include "scenes/prologue_scene.h"
#include "scenes/title_scene.h"
#include "state/game_state.h"

namespace {

bool gQuitPosted = false;
int gQuitCode = 0;

// Stand-ins for the program instance and window handles: the game only
// ever tests them against null.
int gInstanceToken = 0;
int gWindowToken = 0;

void OnMouseMove(int x, int y) {
  // Positions arrive as two signed 16-bit halves.
  gMouseX = static_cast<std::int16_t>(x & 0xFFFF);
  gMouseY = static_cast<std::int16_t>(y & 0xFFFF);
}

}  // namespace

void PostQuitMessage(int exitCode) {
  gQuitPosted = true;
  gQuitCode = exitCode;
}

void WindowProc(const platform::Event& event) {
  using platform::EventType;
  switch (event.type) {
    case EventType::kWindowClosed:
      PostQuitMessage(0);
      break;
    case EventType::kActivate:
      gAppActive = event.active ? 1 : 0;
      break;
    case EventType::kKeyDown:
      if (event.key == platform::Key::kEscape) PostQuitMessage(0);
      break;
    case EventType::kMouseMove:
      OnMouseMove(event.x, event.y);
      break;
    case EventType::kLeftDown:
      gLeftButton = 1;
      break;
    case EventType::kLeftUp:
      gLeftButton = 0;
      break;
    case EventType::kRightDown:
    case EventType::kRightUp:
      break;
  }
}

SceneBranch ChooseScene() {
  if (gInTitle == 1 && gAlive == 0) return SceneBranch::kPostDeathDelay;
  if (gInTitle == 1) return SceneBranch::kTitle;
  if (gAlive != 1) return SceneBranch::kDeath;
  if (gEnding != 0) return SceneBranch::kEnding;
  if (gProloguePending != 0) return SceneBranch::kPrologue;
  return SceneBranch::kField;
}

void DispatchScene() {
  switch (ChooseScene()) {
    case SceneBranch::kPostDeathDelay:
      // The post-death delay: a few passes with nothing drawn, counted in
      // the event window's frame counter, which the closing button had just
      // set to 0. It leaves that counter at 6, so the first event window of
      // the next game plays no sound.
      ++gEventFrames;
      if (gEventFrames > 5) gAlive = 1;
      break;
    case SceneBranch::kTitle:
      TitleScene();
      break;
    case SceneBranch::kDeath:
      DeathScene();
      break;
    case SceneBranch::kEnding:
      EndingScene();
      break;
    case SceneBranch::kPrologue:
      PrologueScene();
      break;
    case SceneBranch::kField:
      FieldScene();
      break;
  }
}

// The scenes read the button once a pass, but a tap, a touchpad's
// tap-to-click or a quick click can press and release it between two passes,
// and such a press would never be seen. So a release waits, and every event
// behind it with it, until one pass has run with the button down. A press
// held longer than a pass is untouched by this. While the game is inactive
// no pass will come, so a release is then taken at once (and nothing is read
// while one waits, so the game cannot become inactive meanwhile).
int RunMessageLoop() {
  gQuitPosted = false;
  bool pressUnseen = false;  // the button went down and no pass has run since
  bool releaseHeld = false;  // a release waits for that pass
  platform::Event release;
  for (;;) {
    if (gQuitPosted) return gQuitCode;
    platform::Event event;
    if (!releaseHeld && platform::PeekEvent(event)) {
      // The program's own keys never reach the game; what happened while
      // they held it (the options panel) does, as it ends.
      std::vector<platform::Event> afterwards;
      if (event.type == platform::EventType::kKeyDown && AnswerProgramKey(event.key, afterwards)) {
        for (const platform::Event& e : afterwards) {
          if (e.type == platform::EventType::kLeftUp) pressUnseen = false;
          WindowProc(e);
        }
        continue;
      }
      if (event.type == platform::EventType::kActivate) PlayerFocus(event.active);
      if (event.type == platform::EventType::kLeftUp && pressUnseen && gAppActive != 0) {
        release = event;
        releaseHeld = true;
        continue;
      }
      if (event.type == platform::EventType::kLeftDown) pressUnseen = true;
      if (event.type == platform::EventType::kLeftUp) pressUnseen = false;
      WindowProc(event);
      continue;
    }
    if (gAppActive == 0) {
      platform::WaitEvent();
      continue;
    }
    DispatchScene();
    platform::PassCompleted();
    pressUnseen = false;
    if (releaseHeld) {
      releaseHeld = false;
      WindowProc(release);
    }
  }
}

int WinMain() {
  // Start-up failures end the program with exit code 1: the messages say
  // what went wrong, and the exit code must not claim success.
  gStartFailure = {};
  if (!platform::StartWindowing()) {
    gStartFailure = {StartFault::kNoDisplay};
    return 1;
  }
  gInstance = &gInstanceToken;
  platform::CreateMainWindow("Vedo Zeza1");
  gWindow = platform::HasMainWindow() ? &gWindowToken : nullptr;
  platform::ShowMainWindow();
  if (InitDirectSound(gWindow) == 0) {
    gStartFailure = {StartFault::kNoSound};
    return 1;
  }
  LoadSounds();
  if (InitProgram() == 0) return 1;
  const int exitCode = RunMessageLoop();
  ShutdownProgram();
  platform::StopWindowing();
  return exitCode;
}
