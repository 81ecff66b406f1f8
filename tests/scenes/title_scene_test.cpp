#include "scenes/title_scene.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

#include "app/program.h"
#include "audio/sound.h"
#include "gfx/display.h"
#include "platform/headless/headless.h"
#include "state/game_state.h"
#include "support/call_probe.h"
#include "support/test_data.h"

namespace {

class TitleSceneTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(game.ok()); }

  void PointAt(int x, int y) {
    gMouseX = x;
    gMouseY = y;
  }

  // Runs passes of the main loop's dispatch until `done` holds; the number
  // of passes, or -1 when `limit` passes were not enough.
  static int PassesUntil(const std::function<bool()>& done, int limit = 5000) {
    for (int pass = 1; pass <= limit; ++pass) {
      DispatchScene();
      if (done()) return pass;
    }
    return -1;
  }

  testdata::Bgr Shown() const {
    return testdata::PixelAt(*platform::HeadlessShownFrame(), 320, 240);
  }

  testdata::HeadlessGame game;
  testdata::CallProbe probe;
};

TEST_F(TitleSceneTest, HeldClickAtProgramStartIsTakenOnTheTwelfthPass) {
  gLeftButton = 1;
  PointAt(100, 130);  // on the left start button all along
  for (int pass = 1; pass <= 11; ++pass) {
    TitleScene();
    ASSERT_EQ(gWarningShown, 0) << "pass " << pass;
    EXPECT_EQ(Shown(), testdata::PictureColour("Title.bmp"));
  }
  EXPECT_TRUE(probe.sounds.empty());
  TitleScene();
  EXPECT_EQ(gWarningShown, 1);
  EXPECT_EQ(gTitleClickDelay, 1);
  EXPECT_EQ(probe.sounds, std::vector<int>{SND_MAIN});
  // The warning picture shows from the next pass; the start button takes
  // the still-held click 11 passes after the first one.
  for (int pass = 1; pass <= 10; ++pass) {
    TitleScene();
    ASSERT_EQ(gInTitle, 1) << "warning pass " << pass;
    EXPECT_EQ(Shown(), testdata::PictureColour("warning.bmp"));
  }
  TitleScene();
  EXPECT_EQ(gInTitle, 0);
  EXPECT_EQ(gHardMode, 0);
  EXPECT_EQ(gTitleClickDelay, 1);
  EXPECT_EQ(gWarningShown, 1);  // only the death screen and the ending clear it
  EXPECT_EQ(probe.sounds, (std::vector<int>{SND_MAIN, SND_MAIN}));
}

TEST_F(TitleSceneTest, NoClickNoChangeWhileTheDelayGrows) {
  PointAt(100, 130);
  for (int pass = 0; pass < 100; ++pass) TitleScene();
  EXPECT_EQ(gWarningShown, 0);
  EXPECT_EQ(gTitleClickDelay, 100);
  gWarningShown = 1;
  for (int pass = 0; pass < 100; ++pass) TitleScene();
  EXPECT_EQ(gInTitle, 1);
  EXPECT_TRUE(probe.sounds.empty());
  // The delay stops at the top of its range rather than wrapping round.
  gTitleClickDelay = INT_MAX;
  TitleScene();
  EXPECT_EQ(gTitleClickDelay, INT_MAX);
}

TEST_F(TitleSceneTest, TitlePictureTakesAClickAnywhere) {
  for (const auto& [x, y] : {std::pair{0, 0}, {639, 479}, {300, 130}}) {
    gWarningShown = 0;
    gTitleClickDelay = 11;
    gLeftButton = 1;
    PointAt(x, y);
    TitleScene();
    EXPECT_EQ(gWarningShown, 1) << x << "," << y;
  }
}

struct Point {
  int x;
  int y;
};

TEST_F(TitleSceneTest, StartButtonsTakeClicksStrictlyInsideOnly) {
  const auto clickOnWarning = [&](Point p) {
    gInTitle = 1;
    gHardMode = 0;
    gWarningShown = 1;
    gTitleClickDelay = 11;
    gLeftButton = 1;
    PointAt(p.x, p.y);
    probe.Clear();
    TitleScene();
  };
  // The edge lines of both buttons, and the gap between them.
  const Point ignored[] = {{60, 130},  {275, 130}, {320, 130}, {540, 130}, {100, 110},
                           {100, 150}, {400, 110}, {400, 150}, {61, 110},  {274, 150},
                           {300, 130}, {100, 100}, {100, 200}, {600, 130}, {30, 130}};
  for (Point p : ignored) {
    clickOnWarning(p);
    EXPECT_EQ(gInTitle, 1) << p.x << "," << p.y;
    EXPECT_EQ(gTitleClickDelay, 12) << "the delay keeps growing";
    EXPECT_TRUE(probe.sounds.empty());
  }
  const Point normal[] = {{61, 111}, {274, 149}, {61, 149}, {274, 111}};
  for (Point p : normal) {
    clickOnWarning(p);
    EXPECT_EQ(gInTitle, 0) << p.x << "," << p.y;
    EXPECT_EQ(gHardMode, 0) << p.x << "," << p.y;
    EXPECT_EQ(probe.sounds, std::vector<int>{SND_MAIN});
  }
  // The left button leaves hard mode as it finds it.
  clickOnWarning({100, 130});
  gHardMode = 1;
  gInTitle = 1;
  gTitleClickDelay = 11;
  TitleScene();
  EXPECT_EQ(gInTitle, 0);
  EXPECT_EQ(gHardMode, 1);
  const Point hard[] = {{321, 111}, {539, 149}, {321, 149}, {539, 111}};
  for (Point p : hard) {
    clickOnWarning(p);
    EXPECT_EQ(gInTitle, 0) << p.x << "," << p.y;
    EXPECT_EQ(gHardMode, 1) << p.x << "," << p.y;
    EXPECT_EQ(probe.sounds, std::vector<int>{SND_MAIN});
  }
}

// The whole road through the loop: a hard game that ends in death, the
// post-death delay, and a normal game started from the title again.
TEST_F(TitleSceneTest, AfterADeathTheHeldClickIsTakenOnTheEleventhTitlePass) {
  gLeftButton = 1;
  PointAt(400, 130);  // the right start button
  EXPECT_EQ(PassesUntil([] { return gWarningShown == 1; }), 12);
  EXPECT_EQ(PassesUntil([] { return gInTitle == 0; }), 11);
  EXPECT_EQ(gHardMode, 1);

  PointAt(455, 316);  // the prologue's page button
  EXPECT_EQ(PassesUntil([] { return gProloguePending == 0; }), 23);

  // The field: the player dies with the event window just closed.
  gAlive = 0;
  gEventFrames = 0;
  EXPECT_EQ(PassesUntil([] { return gInTitle == 1; }), 21);  // the death screen
  EXPECT_EQ(gHardMode, 0);
  EXPECT_EQ(PassesUntil([] { return gAlive == 1; }), 6);  // the post-death delay
  EXPECT_EQ(gEventFrames, 6);
  EXPECT_EQ(gTitleClickDelay, 1);  // left there by the start button
  EXPECT_EQ(PassesUntil([] { return gWarningShown == 1; }), 11);

  PointAt(100, 130);  // the left start button
  EXPECT_EQ(PassesUntil([] { return gInTitle == 0; }), 11);
  EXPECT_EQ(gHardMode, 0);
  EXPECT_EQ(gProloguePending, 1);
}

TEST_F(TitleSceneTest, AfterTheEndingTheHeldClickIsTakenOnTheEleventhTitlePass) {
  // The last pass of an ending, with the start button's delay left at 1.
  gInTitle = 0;
  gWarningShown = 1;
  gTitleClickDelay = 1;
  gEnding = 1;
  gEndingFrames = 1860;
  gEndingScrollY = -50;
  gLeftButton = 1;
  EXPECT_EQ(PassesUntil([] { return gInTitle == 1; }), 1);
  EXPECT_EQ(gWarningShown, 0);
  EXPECT_EQ(PassesUntil([] { return gWarningShown == 1; }), 11);
}

}  // namespace
