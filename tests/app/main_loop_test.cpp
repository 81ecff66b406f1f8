#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <optional>
#include <string>

#include "app/program.h"
#include "audio/sound.h"
#include "gfx/display.h"
#include "gfx/map_file.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "state/game_state.h"
#include "support/test_data.h"

namespace {

using platform::Event;
using platform::EventType;

Event Ev(EventType type) {
  Event e;
  e.type = type;
  return e;
}
Event Activate(bool on) {
  Event e = Ev(EventType::kActivate);
  e.active = on;
  return e;
}
Event Move(int x, int y) {
  Event e = Ev(EventType::kMouseMove);
  e.x = x;
  e.y = y;
  return e;
}
Event Key(platform::Key k) {
  Event e = Ev(EventType::kKeyDown);
  e.key = k;
  return e;
}

// Feeds the loop a fixed run of steps: an event, or an idle moment in which
// no event is there. When the steps run out, the window is closed. Every
// pass is recorded with the state it left.
class LoopHost final : public platform::HeadlessHost {
 public:
  void Idle(int n = 1) {
    for (int i = 0; i < n; ++i) steps.push_back(std::nullopt);
  }
  void Send(const Event& e) { steps.push_back(e); }

  bool NextEvent(Event& event, bool waiting) override {
    if (waiting) ++waits;
    if (steps.empty()) {
      event = Ev(EventType::kWindowClosed);
      return true;
    }
    const std::optional<Event> step = steps.front();
    steps.pop_front();
    if (!step) return false;
    event = *step;
    return true;
  }
  void OnPass() override {
    ++passes;
    flipsAtPass.push_back(platform::VideoFlipCount());
    mouseAtPass.push_back({gMouseX, gMouseY, gLeftButton});
  }
  std::int64_t Now() override { return 1000000000; }

  std::deque<std::optional<Event>> steps;
  int passes = 0;
  int waits = 0;
  std::vector<std::uint64_t> flipsAtPass;
  std::vector<std::array<int, 3>> mouseAtPass;
};

// The standard data loaded, with the loop driven by a LoopHost.
class Loop : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(game_.ok());
    platform::UseHeadlessBackend(&host_);
  }
  int Run() { return RunMessageLoop(); }
  testdata::HeadlessGame game_;
  LoopHost host_;
};

TEST(SceneChoice, TheFlagsAreTestedInTheirOrder) {
  struct Case {
    int inTitle, alive, ending, prologue;
    SceneBranch want;
  };
  const Case kCases[] = {
      {1, 0, 1, 1, SceneBranch::kPostDeathDelay},
      {1, 0, 0, 0, SceneBranch::kPostDeathDelay},
      {1, 1, 1, 1, SceneBranch::kTitle},
      {1, 2, 0, 0, SceneBranch::kTitle},  // alive only has to be non-zero here
      {1, -1, 0, 0, SceneBranch::kTitle},
      {2, 0, 0, 0, SceneBranch::kDeath},  // the title flag is tested against 1
      {0, 0, 1, 1, SceneBranch::kDeath},
      {0, 2, 0, 0, SceneBranch::kDeath},  // and alive against 1
      {0, 1, 1, 1, SceneBranch::kEnding},
      {0, 1, -3, 0, SceneBranch::kEnding},
      {0, 1, 0, 1, SceneBranch::kPrologue},
      {0, 1, 0, 7, SceneBranch::kPrologue},
      {0, 1, 0, 0, SceneBranch::kField},
  };
  for (const Case& c : kCases) {
    gInTitle = c.inTitle;
    gAlive = c.alive;
    gEnding = c.ending;
    gProloguePending = c.prologue;
    EXPECT_EQ(ChooseScene(), c.want)
        << c.inTitle << " " << c.alive << " " << c.ending << " " << c.prologue;
  }
  ResetGameState();
  EXPECT_EQ(ChooseScene(), SceneBranch::kTitle) << "the program starts on the title";
}

TEST_F(Loop, EveryBranchButThePostDeathDelayShowsAFrame) {
  const struct {
    int inTitle, alive, ending, prologue;
  } kScenes[] = {{1, 1, 0, 1}, {0, 0, 0, 1}, {0, 1, 1, 1}, {0, 1, 0, 1}, {0, 1, 0, 0}};
  for (const auto& s : kScenes) {
    gInTitle = s.inTitle;
    gAlive = s.alive;
    gEnding = s.ending;
    gProloguePending = s.prologue;
    const std::uint64_t flips = platform::VideoFlipCount();
    DispatchScene();
    EXPECT_GT(platform::VideoFlipCount(), flips)
        << s.inTitle << " " << s.alive << " " << s.ending << " " << s.prologue;
  }
}

TEST_F(Loop, ThePostDeathDelayRunsSixBlankPassesAndLeavesTheCounterAtSix) {
  gInTitle = 1;
  gAlive = 0;
  gEventFrames = 0;
  host_.Send(Activate(true));
  host_.Idle(7);
  EXPECT_EQ(Run(), 0);
  ASSERT_EQ(host_.passes, 7);
  const std::uint64_t before = host_.flipsAtPass[0];
  for (int i = 0; i < 6; ++i) EXPECT_EQ(host_.flipsAtPass[i], before) << "pass " << i;
  EXPECT_GT(host_.flipsAtPass[6], before) << "the seventh pass shows the title";
  EXPECT_EQ(gEventFrames, 6);
  EXPECT_EQ(gAlive, 1);
}

TEST_F(Loop, WhileInactiveTheLoopOnlyWaits) {
  // The program starts inactive: no pass runs until the focus comes.
  host_.Idle(5);
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(host_.passes, 0);
  EXPECT_GE(host_.waits, 2);
}

TEST_F(Loop, WhileActiveEveryIdleMomentRunsExactlyOnePass) {
  host_.Send(Activate(true));
  host_.Idle(9);
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(host_.passes, 9);
  EXPECT_EQ(host_.waits, 0);
}

TEST_F(Loop, LosingTheFocusFreezesTheGameAndRegainingItResumes) {
  host_.Send(Activate(true));
  host_.Idle(3);
  host_.Send(Activate(false));
  host_.Idle(6);
  host_.Send(Activate(true));
  host_.Idle(2);
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(host_.passes, 5);
  EXPECT_GT(host_.waits, 0);
  EXPECT_EQ(gAppActive, 1);
}

TEST_F(Loop, AllWaitingEventsAreTakenBeforeTheNextPass) {
  host_.Send(Activate(true));
  host_.Send(Move(100, 200));
  host_.Send(Ev(EventType::kLeftDown));
  host_.Send(Move(101, 201));
  host_.Idle();
  host_.Send(Ev(EventType::kLeftUp));
  host_.Idle();
  EXPECT_EQ(Run(), 0);
  ASSERT_EQ(host_.passes, 2);
  EXPECT_EQ(host_.mouseAtPass[0], (std::array<int, 3>{101, 201, 1}));
  EXPECT_EQ(host_.mouseAtPass[1], (std::array<int, 3>{101, 201, 0}));
}

// A tap sends the press and the release together: the release, and what
// follows it, waits for one pass to have seen the button down. A second
// quick click in the same burst is not merged into the first.
TEST_F(Loop, APressReleasedBeforeAnyPassIsSeenByOnePass) {
  host_.Send(Activate(true));
  host_.Send(Move(10, 20));
  host_.Send(Ev(EventType::kLeftDown));
  host_.Send(Ev(EventType::kLeftUp));
  host_.Send(Move(30, 40));
  host_.Send(Ev(EventType::kLeftDown));
  host_.Send(Ev(EventType::kLeftUp));
  host_.Idle(2);
  EXPECT_EQ(Run(), 0);
  ASSERT_EQ(host_.passes, 4);
  EXPECT_EQ(host_.mouseAtPass[0], (std::array<int, 3>{10, 20, 1}));
  EXPECT_EQ(host_.mouseAtPass[1], (std::array<int, 3>{30, 40, 1}));
  EXPECT_EQ(host_.mouseAtPass[2], (std::array<int, 3>{30, 40, 0}));
}

TEST_F(Loop, EscapeQuitsFromEveryScene) {
  const struct {
    const char* name;
    int inTitle, alive, ending, prologue, eventOpen, rocket;
  } kScenes[] = {
      {"title", 1, 1, 0, 1, 0, 0},        {"post-death delay", 1, 0, 0, 1, 0, 0},
      {"death", 0, 0, 0, 1, 0, 0},        {"ending", 0, 1, 1, 1, 0, 0},
      {"prologue", 0, 1, 0, 1, 0, 0},     {"field", 0, 1, 0, 0, 0, 0},
      {"event window", 0, 1, 0, 0, 1, 0}, {"rocket", 0, 1, 0, 0, 0, 1},
  };
  for (const auto& s : kScenes) {
    gInTitle = s.inTitle;
    gAlive = s.alive;
    gEnding = s.ending;
    gProloguePending = s.prologue;
    gFieldReady = 1;
    gEventOpen = s.eventOpen;
    gEventNumber = s.eventOpen ? 9 : 0;
    gRocketActive = s.rocket;
    host_.passes = 0;
    host_.Send(Activate(true));
    host_.Idle(2);
    host_.Send(Key(platform::Key::kEscape));
    host_.Idle(5);
    EXPECT_EQ(Run(), 0) << s.name;
    EXPECT_EQ(host_.passes, 2) << s.name << ": passes ran after Escape";
    host_.steps.clear();
    ResetGameState();
  }
}

TEST_F(Loop, ClosingTheWindowQuits) {
  host_.Send(Activate(true));
  host_.Idle();
  host_.Send(Ev(EventType::kWindowClosed));
  host_.Idle(4);
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(host_.passes, 1);
}

TEST_F(Loop, OtherKeysAndTheRightButtonChangeNothing) {
  const auto before = testdata::StateSnapshot();
  WindowProc(Key(platform::Key::kOther));
  WindowProc(Ev(EventType::kRightDown));
  WindowProc(Ev(EventType::kRightUp));
  EXPECT_EQ(testdata::StateSnapshot(), before);
  host_.Send(Activate(true));
  host_.Send(Key(platform::Key::kOther));
  host_.Send(Ev(EventType::kRightDown));
  host_.Idle(3);
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(host_.passes, 3) << "no key but Escape quits";
}

TEST(WindowProc, InputReachesTheGameState) {
  ResetGameState();
  EXPECT_EQ(gMouseX, 0);
  EXPECT_EQ(gMouseY, 0);
  EXPECT_EQ(gLeftButton, 0);
  WindowProc(Move(639, 479));
  EXPECT_EQ(gMouseX, 639);
  EXPECT_EQ(gMouseY, 479);
  WindowProc(Ev(EventType::kLeftDown));
  EXPECT_EQ(gLeftButton, 1);
  WindowProc(Ev(EventType::kLeftDown));
  EXPECT_EQ(gLeftButton, 1);
  WindowProc(Ev(EventType::kLeftUp));
  EXPECT_EQ(gLeftButton, 0);
  WindowProc(Activate(true));
  EXPECT_EQ(gAppActive, 1);
  WindowProc(Activate(false));
  EXPECT_EQ(gAppActive, 0);
  ResetGameState();
}

TEST(WindowProc, PositionsAreTakenAsSigned16BitHalves) {
  WindowProc(Move(0xFFFF, 0x8000));
  EXPECT_EQ(gMouseX, -1);
  EXPECT_EQ(gMouseY, -32768);
  WindowProc(Move(0x12345, -2));
  EXPECT_EQ(gMouseX, 0x2345);
  EXPECT_EQ(gMouseY, -2);
  WindowProc(Move(0x7FFF, 0x10000));
  EXPECT_EQ(gMouseX, 32767);
  EXPECT_EQ(gMouseY, 0);
  ResetGameState();
}

// ---- The whole program: start-up, loop and shut-down ------------------------

class Program : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = testdata::MakeTempDir("vedo-prog");
    testdata::WriteStandardData(dir_);
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
    ResetGameState();
    platform::UseHeadlessBackend(&host_);
  }
  void TearDown() override {
    // A failed start-up leaves what it made; free it here.
    ShutdownProgram();
    platform::StopWindowing();
    platform::HeadlessFailVideoStep(0);
    platform::UseHeadlessBackend(nullptr);
    ResetGameState();
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(dir_);
  }
  int Run() {
    ::testing::internal::CaptureStderr();
    const int code = WinMain();
    said_ = ::testing::internal::GetCapturedStderr();
    return code;
  }
  LoopHost host_;
  std::filesystem::path dir_;
  std::filesystem::path previous_;
  std::string said_;
};

TEST_F(Program, EscapeEndsTheProgramWithCodeZeroAfterAFullShutDown) {
  host_.Send(Activate(true));
  host_.Idle(3);
  host_.Send(Key(platform::Key::kEscape));
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(host_.passes, 3);
  EXPECT_EQ(gGroundLayer, nullptr);
  EXPECT_TRUE(gTileSurfaces.empty());
  EXPECT_TRUE(gSpriteSurfaces.empty());
  EXPECT_EQ(gDirectDraw, nullptr);
  EXPECT_EQ(gPrimarySurface, nullptr);
  EXPECT_EQ(gBackBuffer, nullptr);
  EXPECT_EQ(gPalette, nullptr);
  EXPECT_EQ(gTitleSurface, nullptr);
  for (WaveSound* slot : gSound) EXPECT_EQ(slot, nullptr);
}

TEST_F(Program, AMissingMapEndsStartUpWithCodeOneAndOnlyTheDebuggerLine) {
  std::filesystem::remove(dir_ / "city.map");
  host_.Send(Activate(true));
  host_.Idle(3);
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(host_.passes, 0);
  EXPECT_NE(said_.find("LoadMap: File Not Found.\n"), std::string::npos) << said_;
  EXPECT_EQ(said_.find("Mapfileheard"), std::string::npos) << said_;
  EXPECT_EQ(said_.find("InitProgram()"), std::string::npos) << said_;
}

TEST_F(Program, AMissingSpriteFileEndsStartUpWithCodeOneAndItsBox) {
  std::filesystem::remove(dir_ / "WEAPON.SPR");
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(host_.passes, 0);
  EXPECT_NE(said_.find("InitTileData OK.\nInitProgram(): Fail Get Sprite Num\n"), std::string::npos)
      << said_;
  EXPECT_EQ(said_.find("Fail Loading Sprite"), std::string::npos) << said_;
}

TEST_F(Program, ADisplayThatCannotBeSetUpEndsStartUpWithCodeOne) {
  platform::HeadlessFailVideoStep(3);
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(host_.passes, 0);
  // One box, the same text to the debugger, then start-up's own line.
  EXPECT_NE(said_.find("Vedo Zeza1: SDM Fail\nSDM FailFail DirectDraw Init.\n"), std::string::npos)
      << said_;
  EXPECT_EQ(said_.find("Vedo Zeza1: SDM Fail"), said_.rfind("Vedo Zeza1: SDM Fail")) << said_;
  EXPECT_EQ(said_.find("city.map"), std::string::npos);
  EXPECT_EQ(gDirectDraw, nullptr) << "the display was given back";
  EXPECT_FALSE(platform::HasMainWindow());
}

}  // namespace
