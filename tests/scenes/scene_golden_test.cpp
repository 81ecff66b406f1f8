// Golden images of the screens around play, made by the scene functions.
// Each test names the image it compares with in tests/golden:
//   title_picture, warning_picture      TitleScene            data kit
//   prologue_page1, prologue_page2      PrologueScene         data kit, text
//   death_screen                        DeathScene            data kit
//   ending_reveal_blocks                EndingScene, pass 26 of the first
//                                       ending                test data
//   ending_credits_grade7               EndingScene, credits in mid-screen
//                                                             test data
// The pictures of the data kit are checked as art; where what matters is
// which tile or frame lands where, the small test data of solid colours
// shows it plainly. The images change with the data kit's pictures and with
// the text route; refresh them (VEDO_UPDATE_GOLDEN=1) when either changes on
// purpose.
#include <gtest/gtest.h>

#include "gfx/display.h"
#include "platform/headless/headless.h"
#include "scenes/death_scene.h"
#include "scenes/ending_scene.h"
#include "scenes/prologue_scene.h"
#include "scenes/title_scene.h"
#include "state/game_state.h"
#include "support/golden.h"
#include "support/test_data.h"

namespace {

const platform::Surface& Shown() { return *platform::HeadlessShownFrame(); }

class SceneGolden : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string skip = testdata::KitGoldenSkipReason();
    if (!skip.empty()) GTEST_SKIP() << skip;
    ASSERT_TRUE(game.ok());
  }

  testdata::HeadlessGame game{testdata::DataKitDir()};
};

TEST_F(SceneGolden, TitleAndWarningPictures) {
  TitleScene();
  EXPECT_TRUE(testdata::MatchesGolden(Shown(), "title_picture"));
  gWarningShown = 1;
  TitleScene();
  EXPECT_TRUE(testdata::MatchesGolden(Shown(), "warning_picture"));
}

TEST_F(SceneGolden, BothProloguePages) {
  const std::string skip = testdata::TextGoldenSkipReason();
  if (!skip.empty()) GTEST_SKIP() << skip;
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

TEST(SceneGoldenOnTestData, TwoMomentsOfTheEnding) {
  testdata::HeadlessGame game;
  ASSERT_TRUE(game.ok());
  gInTitle = 0;
  gEnding = 1;
  gGrade = 7;
  testdata::DrawMapCorner();
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
