#include "scenes/ending_scene.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "app/program.h"
#include "audio/midi_player.h"
#include "gfx/display.h"
#include "platform/headless/headless.h"
#include "state/game_state.h"
#include "support/audio_files.h"
#include "support/call_probe.h"
#include "support/test_data.h"

namespace {

using testdata::Bgr;

void EnterEnding() {
  // The final score has run: the field hands over to the ending.
  gInTitle = 0;
  gAlive = 1;
  gProloguePending = 0;
  gEnding = 1;
  gGrade = 4;
}

// Runs the ending until it returns to the title; its passes, with the
// 1-based pass of each music call.
struct EndingRun {
  int passes = 0;
  std::vector<std::pair<int, std::string>> music;
};
EndingRun RunEnding(testdata::CallProbe& probe, int limit = 5000) {
  EndingRun run;
  probe.music.clear();
  for (int pass = 1; pass <= limit && gInTitle == 0; ++pass) {
    const std::size_t before = probe.music.size();
    DispatchScene();
    for (std::size_t i = before; i < probe.music.size(); ++i)
      run.music.push_back({pass, probe.music[i]});
    run.passes = pass;
  }
  return run;
}

class EndingSceneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(game.ok());
    // The music player outlives the games of one test program; each test
    // starts it closed, as the program does, with a tune to open.
    gMidi.Close();
    testdata::WriteFile(
        game.dir / "Ending.mid",
        audiofiles::Midi(0, 480, {audiofiles::Track().NoteOn(0, 0, 60, 100).End(960)}));
    EnterEnding();
  }
  static Bgr Shown(int x, int y) {
    return testdata::PixelAt(*platform::HeadlessShownFrame(), x, y);
  }

  testdata::HeadlessGame game;
  testdata::CallProbe probe;
};

TEST_F(EndingSceneTest, FirstEndingLasts1861PassesAndLaterOnes2102) {
  const EndingRun first = RunEnding(probe);
  EXPECT_EQ(first.passes, 1861);
  // Opened (which puts the tune at its start) and played.
  const std::vector<std::pair<int, std::string>> firstMusic = {
      {43, "Open Ending.mid"}, {43, "Seek"}, {43, "Play"}};
  EXPECT_EQ(first.music, firstMusic);
  EXPECT_EQ(gEndingFrames, 1);  // counted after the reset
  EXPECT_EQ(gEndingScrollY, 1000);

  for (int ending = 2; ending <= 3; ++ending) {
    EnterEnding();
    const EndingRun later = RunEnding(probe);
    EXPECT_EQ(later.passes, 2102) << "ending " << ending;
    // The player, still open, keeps its tune and plays on: it is never
    // opened again, stopped, closed or sought back to the start.
    const std::vector<std::pair<int, std::string>> laterMusic = {{42, "Play"}};
    EXPECT_EQ(later.music, laterMusic) << "ending " << ending;
  }
}

TEST_F(EndingSceneTest, TheNextGameStartsAfreshFromTheTitle) {
  // A hard game won from the warning screen, at the ending's last pass.
  gEndingFrames = 1860;
  gEndingScrollY = -50;
  gHardMode = 1;
  gWarningShown = 1;
  gFieldReady = 1;
  gHealth = 37;
  gFilesLeft = 0;
  gRocketTimer = 950;
  DispatchScene();
  ASSERT_EQ(ChooseScene(), SceneBranch::kTitle);
  DispatchScene();
  EXPECT_EQ(Shown(320, 240), testdata::PictureColour("Title.bmp"));
  // A start button: the prologue runs again, then a new game is laid out.
  gInTitle = 0;
  ASSERT_EQ(ChooseScene(), SceneBranch::kPrologue);
  gProloguePending = 0;
  DispatchScene();
  EXPECT_EQ(gFilesLeft, 5);
  EXPECT_EQ(gHealth, 100);
  EXPECT_EQ(gRocketTimer, 951) << "the rocket count goes on from the last game";
}

TEST_F(EndingSceneTest, PictureIsRevealedInThreeSteps) {
  const Bgr left = {1, 2, 3};
  // Blocks of 4 x 4 tiles: only each block's top-left tile, at its own size;
  // the rest keeps what the screen held.
  for (int frame : {0, 19}) {
    for (int y = 0; y < 480; ++y) {
      for (int x = 0; x < 640; ++x) std::memcpy(gBackBuffer->Row(y) + 3 * x, &left, 3);
    }
    gEndingFrames = frame;
    gEndingScrollY = 2000;  // the credits far below the screen
    EndingScene();
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(Shown(160 * j + 39, 160 * i + 39), testdata::TileColour(376 + 64 * i + 4 * j))
            << "frame " << frame << " block " << i << "," << j;
        EXPECT_EQ(Shown(160 * j + 40, 160 * i + 5), left);
        EXPECT_EQ(Shown(160 * j + 5, 160 * i + 40), left);
      }
    }
  }
  for (int frame : {20, 39}) {
    gEndingFrames = frame;
    EndingScene();
    for (int i = 0; i < 6; ++i) {
      for (int j = 0; j < 8; ++j) {
        EXPECT_EQ(Shown(80 * j + 1, 80 * i + 1), testdata::TileColour(376 + 32 * i + 2 * j))
            << "frame " << frame << " block " << i << "," << j;
      }
    }
  }
  for (int frame : {40, 41, 1000}) {
    gEndingFrames = frame;
    EndingScene();
    for (int i = 0; i < 12; ++i) {
      for (int j = 0; j < 16; ++j) {
        ASSERT_EQ(Shown(40 * j + 20, 40 * i + 20), testdata::TileColour(376 + 16 * i + j))
            << "frame " << frame << " tile " << i << "," << j;
      }
    }
  }
}

TEST_F(EndingSceneTest, CreditsAndGradeStandInTheirPlaces) {
  struct Placed {
    int frame, x, above;
  };
  const Placed credits[] = {{38, 160, 360}, {29, 160, 300}, {31, 360, 300}, {30, 160, 240},
                            {31, 360, 240}, {34, 160, 120}, {32, 160, 180}, {33, 360, 180},
                            {35, 160, 60},  {36, 360, 60},  {37, 160, 0}};
  gEndingFrames = 101;  // odd: the scroll stays for the look afterwards
  gEndingScrollY = 400;
  gGrade = 5;
  EndingScene();
  for (const Placed& c : credits) {
    // The test frames are 20 x 20 with a transparent first pixel.
    EXPECT_EQ(Shown(c.x + 10, 400 - c.above + 10), testdata::FrameColour(c.frame)) << c.frame;
    EXPECT_EQ(Shown(c.x, 400 - c.above),
              testdata::TileColour(376 + 16 * ((400 - c.above) / 40) + c.x / 40))
        << "frame " << c.frame << " is keyed";
  }
  EXPECT_EQ(Shown(410, 50), testdata::FrameColour(29 - 5));
}

TEST_F(EndingSceneTest, GradeSevenShowsFrame22AndGradeOneFrame28) {
  const std::pair<int, int> grades[] = {{7, 22}, {1, 28}, {4, 25}};
  for (const auto& [grade, frame] : grades) {
    gGrade = grade;
    gEndingFrames = 101;
    gEndingScrollY = 400;
    EndingScene();
    EXPECT_EQ(Shown(410, 50), testdata::FrameColour(frame)) << "grade " << grade;
  }
  // No final score gives another grade; none is shown then, and no other
  // frame stands in for it.
  for (int grade : {0, 8, -3, INT_MIN, INT_MAX}) {
    gGrade = grade;
    gEndingFrames = 101;
    gEndingScrollY = 400;
    EndingScene();
    EXPECT_EQ(Shown(410, 50), testdata::TileColour(376 + 16 * 1 + 10)) << "grade " << grade;
  }
}

TEST_F(EndingSceneTest, CreditSpriteShowsOnlyWhileWhollyOnScreen) {
  // Frame 37 stands at y = scroll: its 20 rows fit from scroll 460 down.
  const auto frame37At = [&](int scroll) {
    gEndingFrames = 101;
    gEndingScrollY = scroll;
    EndingScene();
    return Shown(170, 475) == testdata::FrameColour(37);
  };
  EXPECT_FALSE(frame37At(461));
  EXPECT_TRUE(frame37At(460));
  // Frame 38 stands at y = scroll - 360: it vanishes once its top would be
  // above row 0.
  const auto frame38At = [&](int scroll) {
    gEndingFrames = 101;
    gEndingScrollY = scroll;
    EndingScene();
    return Shown(170, 15) == testdata::FrameColour(38);
  };
  EXPECT_TRUE(frame38At(360));
  EXPECT_FALSE(frame38At(359));
}

// A map with fewer than 568 tiles and a sprite file with fewer than 39
// frames: what the ending names but the data lacks is left out, and the
// rest runs as ever.
TEST(EndingSceneShortData, DrawsWhatThereIsAndRunsItsCourse) {
  const auto dir = testdata::MakeTempDir("vedo-short-ending");
  testdata::WriteStandardData(dir);
  testdata::MapSpec map;
  map.tileCount = 530;
  map.cell = [](int r, int c) { return (r * 25 + c) % 530; };
  testdata::WriteFile(dir / "city.map", testdata::MapBytes(map));
  testdata::SpriteSpec sprites;
  sprites.frames = testdata::StandardFrames(30);
  testdata::WriteFile(dir / "WEAPON.SPR", testdata::SpriteBytes(sprites));

  testdata::HeadlessGame game(dir);
  ASSERT_TRUE(game.ok());
  testdata::CallProbe probe;
  EnterEnding();
  gGrade = 7;  // frame 22 is there
  gEndingFrames = 101;
  gEndingScrollY = 400;
  ClearSurface(gBackBuffer, 0);
  EndingScene();
  const platform::Surface& shown = *platform::HeadlessShownFrame();
  EXPECT_EQ(testdata::PixelAt(shown, 20, 20), testdata::TileColour(376));
  EXPECT_EQ(testdata::PixelAt(shown, 40 * 9 + 20, 40 * 9 + 20), testdata::TileColour(376 + 153));
  EXPECT_EQ(testdata::PixelAt(shown, 40 * 10 + 20, 40 * 9 + 20), (Bgr{0, 0, 0}));  // tile 530
  EXPECT_EQ(testdata::PixelAt(shown, 170, 110), testdata::FrameColour(29));
  EXPECT_EQ(testdata::PixelAt(shown, 170, 50), testdata::TileColour(376 + 16 + 4));  // no frame 38
  EXPECT_EQ(testdata::PixelAt(shown, 410, 50), testdata::FrameColour(22));
  EXPECT_NE(testdata::PixelAt(shown, 170, 410), testdata::FrameColour(37));  // frame 37 lacks

  gEndingFrames = 0;
  gEndingScrollY = 880;
  EXPECT_EQ(RunEnding(probe).passes, 1861);
}

}  // namespace
