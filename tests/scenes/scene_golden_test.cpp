// Golden images of the screens around play, made by the scene functions on
// the standard test data (solid-coloured pictures, numbered tile and frame
// colours). Each test names the image it compares with in tests/golden:
//   title_picture, warning_picture      TitleScene
//   prologue_page1, prologue_page2      PrologueScene
//   death_screen                        DeathScene
//   ending_reveal_blocks                EndingScene, pass 26 of the first ending
//   ending_credits_grade7               EndingScene, credits in mid-screen
// The lines of the prologue are drawn by the text route; these images are
// refreshed whenever it changes.
#include <gtest/gtest.h>

#include "gfx/display.h"
#include "scenes/death_scene.h"
#include "scenes/ending_scene.h"
#include "scenes/prologue_scene.h"
#include "scenes/title_scene.h"
#include "shell/game_state.h"
#include "support/golden.h"
#include "support/test_data.h"

namespace {

class SceneGolden : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(game.ok()); }
  static const platform::Surface& Shown() { return *platform::HeadlessShownFrame(); }

  // What the field leaves on the screen: the map's top-left corner.
  static void DrawFieldCorner() {
    for (int row = 0; row < 12; ++row) {
      for (int col = 0; col < 16; ++col) DrawTile(col * 40, row * 40, row * gMapCols + col);
    }
  }

  testdata::HeadlessGame game;
};

TEST_F(SceneGolden, TitleAndWarningPictures) {
  TitleScene();
  EXPECT_TRUE(testdata::MatchesGolden(Shown(), "title_picture"));
  gWarningShown = 1;
  TitleScene();
  EXPECT_TRUE(testdata::MatchesGolden(Shown(), "warning_picture"));
}

TEST_F(SceneGolden, BothProloguePages) {
  gInTitle = 0;
  PrologueScene();
  PrologueScene();
  EXPECT_TRUE(testdata::MatchesGolden(Shown(), "prologue_page1"));
  gPrologueClickLatch = 1;
  PrologueScene();
  PrologueScene();
  EXPECT_TRUE(testdata::MatchesGolden(Shown(), "prologue_page2"));
}

TEST_F(SceneGolden, DeathScreen) {
  gInTitle = 0;
  gAlive = 0;
  DeathScene();
  EXPECT_TRUE(testdata::MatchesGolden(Shown(), "death_screen"));
}

TEST_F(SceneGolden, TwoMomentsOfTheEnding) {
  gInTitle = 0;
  gEnding = 1;
  gGrade = 7;
  DrawFieldCorner();
  gEndingFrames = 25;
  gEndingScrollY = 868;
  EndingScene();
  EXPECT_TRUE(testdata::MatchesGolden(Shown(), "ending_reveal_blocks"));

  gEndingFrames = 1200;
  gEndingScrollY = 400;
  EndingScene();
  EXPECT_TRUE(testdata::MatchesGolden(Shown(), "ending_credits_grade7"));
}

}  // namespace
