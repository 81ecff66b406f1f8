#include "scenes/death_scene.h"

#include <gtest/gtest.h>

#include "app/program.h"
#include "combat/event_window.h"
#include "gfx/display.h"
#include "platform/headless/headless.h"
#include "state/game_state.h"
#include "support/call_probe.h"
#include "support/test_data.h"

namespace {

class DeathSceneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(game.ok());
    // The field has just found the player dead, with the event window
    // closed by its button.
    gInTitle = 0;
    gAlive = 0;
    gProloguePending = 0;
    gFieldReady = 1;
    gWarningShown = 1;
    gEventFrames = 0;
  }
  testdata::HeadlessGame game;
  testdata::CallProbe probe;
};

TEST_F(DeathSceneTest, ClickIsTakenFromTheTwentyFirstPassOn) {
  // A click held while the player died, and let go before the 21st pass,
  // does nothing.
  gLeftButton = 1;
  for (int pass = 1; pass <= 20; ++pass) {
    DeathScene();
    ASSERT_EQ(gInTitle, 0) << "pass " << pass;
    EXPECT_EQ(testdata::PixelAt(*platform::HeadlessShownFrame(), 320, 240),
              testdata::PictureColour("died.bmp"));
  }
  gLeftButton = 0;
  for (int pass = 0; pass < 50; ++pass) DeathScene();
  EXPECT_EQ(gInTitle, 0);
  EXPECT_EQ(gDeathFrames, 70);
  gLeftButton = 1;
  DeathScene();
  EXPECT_EQ(gInTitle, 1);
  EXPECT_EQ(gDeathFrames, 0);
}

int FilesOnTheField() {
  int files = 0;
  for (const auto& row : gObjectLayer) {
    for (int cell : row) files += cell >= CELL_FILE && cell < CELL_FILE + 5 ? 1 : 0;
  }
  return files;
}

TEST_F(DeathSceneTest, TheNextGameStartsAfreshButARocketThatWasDueComesAtOnce) {
  // A hard game lost with two files left, the rocket due on the next frame.
  gHardMode = 1;
  gHealth = -12;
  gFilesLeft = 2;
  gViewCol = 4;
  gRocketTimer = 1000;
  gLeftButton = 1;
  for (int pass = 0; pass < 21; ++pass) DispatchScene();
  gLeftButton = 0;
  ASSERT_EQ(ChooseScene(), SceneBranch::kPostDeathDelay);
  for (int pass = 0; pass < 7; ++pass) DispatchScene();
  EXPECT_EQ(testdata::PixelAt(*platform::HeadlessShownFrame(), 320, 240),
            testdata::PictureColour("Title.bmp"))
      << "the title, not the warning screen the last game started from";
  // A start button, and the prologue read to its end.
  gInTitle = 0;
  ASSERT_EQ(ChooseScene(), SceneBranch::kPrologue);
  gProloguePending = 0;
  DispatchScene();
  EXPECT_EQ(gFilesLeft, 5);
  EXPECT_EQ(FilesOnTheField(), 5);
  EXPECT_EQ(gHealth, 100);
  EXPECT_EQ(gViewCol, 0);
  EXPECT_EQ(gRocketActive, 1) << "the rocket count carried over";
}

TEST_F(DeathSceneTest, SixSilentPassesThenTheTitleAndASilentFirstWindow) {
  gLeftButton = 1;
  for (int pass = 0; pass < 21; ++pass) DispatchScene();
  ASSERT_EQ(gInTitle, 1);
  const std::uint64_t flips = platform::VideoFlipCount();
  for (int pass = 1; pass <= 6; ++pass) {
    DispatchScene();
    EXPECT_EQ(platform::VideoFlipCount(), flips) << "pass " << pass << " drew a frame";
    EXPECT_EQ(gEventFrames, pass);
    EXPECT_EQ(gAlive, pass == 6 ? 1 : 0);
  }
  // The death picture stayed on the screen; the title follows.
  EXPECT_EQ(testdata::PixelAt(*platform::HeadlessShownFrame(), 320, 240),
            testdata::PictureColour("died.bmp"));
  DispatchScene();
  EXPECT_EQ(platform::VideoFlipCount(), flips + 1);
  EXPECT_EQ(testdata::PixelAt(*platform::HeadlessShownFrame(), 320, 240),
            testdata::PictureColour("Title.bmp"));

  // The next game's first event window starts counting from 6.
  probe.Clear();
  for (int frame = 0; frame < 20; ++frame) DrawEventWindow(EV_ZOMBIE);
  EXPECT_TRUE(probe.sounds.empty());
  EXPECT_EQ(gEventFrames, 26);
}

}  // namespace
