#include "scenes/death_scene.h"

#include <gtest/gtest.h>

#include "combat/event_window.h"
#include "gfx/display.h"
#include "shell/game_state.h"
#include "shell/program.h"
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

TEST_F(DeathSceneTest, ResetTouchesExactlyItsFields) {
  // Everything the reset must leave alone gets a value of its own.
  gWeapon = WEAPON_MAGNUM;
  gAmmoHandgun = 11;
  gAmmoShotgun = 12;
  gAmmoMagnum = 13;
  gAmmoShown = -1;
  gSprays = 2;
  gScore = 345;
  gEncounters = 40;
  gFinds = 9;
  gGrade = 3;
  gPortraitVariant = 2;
  gRocketTimer = 700;
  gRocketActive = 1;
  gRocketFrame = 8;
  gRocketColumn = 2;
  gRocketStep = 3;
  gClickDelay = 77;
  gRetryCount = 1;
  gEventNumber = EV_HUNTER;
  gTitleClickDelay = 1;
  gEndingFrames = 5;
  gEndingScrollY = 600;
  gPrologueClickLatch = 1;
  gPrologueStep = 1;
  gEnding = 0;
  gHardMode = 1;
  gHealth = -12;
  gFilesLeft = 2;
  gViewCol = 4;
  gViewRow = 6;
  gObjectLayer[3][4] = CELL_HUNTER_BEATEN;
  gLeftButton = 1;
  for (int pass = 0; pass < 21; ++pass) DeathScene();

  EXPECT_EQ(gInTitle, 1);
  EXPECT_EQ(gFieldReady, 0);
  EXPECT_EQ(gWarningShown, 0);
  EXPECT_EQ(gHardMode, 0);
  EXPECT_EQ(gProloguePending, 1);
  EXPECT_EQ(gHealth, 100);
  EXPECT_EQ(gFilesLeft, 5);
  EXPECT_EQ(gDeathFrames, 0);
  EXPECT_EQ(gPrologueStep, 0);

  EXPECT_EQ(gAlive, 0);  // the main loop's delay sets it again
  EXPECT_EQ(gWeapon, WEAPON_MAGNUM);
  EXPECT_EQ(gAmmoHandgun, 11);
  EXPECT_EQ(gAmmoShotgun, 12);
  EXPECT_EQ(gAmmoMagnum, 13);
  EXPECT_EQ(gAmmoShown, -1);
  EXPECT_EQ(gSprays, 2);
  EXPECT_EQ(gScore, 345);
  EXPECT_EQ(gEncounters, 40);
  EXPECT_EQ(gFinds, 9);
  EXPECT_EQ(gGrade, 3);
  EXPECT_EQ(gPortraitVariant, 2);
  EXPECT_EQ(gRocketTimer, 700);
  EXPECT_EQ(gRocketActive, 1);
  EXPECT_EQ(gRocketFrame, 8);
  EXPECT_EQ(gRocketColumn, 2);
  EXPECT_EQ(gRocketStep, 3);
  EXPECT_EQ(gClickDelay, 77);
  EXPECT_EQ(gRetryCount, 1);
  EXPECT_EQ(gEventFrames, 0);
  EXPECT_EQ(gEventNumber, EV_HUNTER);
  EXPECT_EQ(gTitleClickDelay, 1);
  EXPECT_EQ(gEndingFrames, 5);
  EXPECT_EQ(gEndingScrollY, 600);
  EXPECT_EQ(gPrologueClickLatch, 1);
  EXPECT_EQ(gEnding, 0);
  EXPECT_EQ(gViewCol, 4);
  EXPECT_EQ(gViewRow, 6);
  EXPECT_EQ(gObjectLayer[3][4], CELL_HUNTER_BEATEN);
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
