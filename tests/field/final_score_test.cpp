// The final score's bonuses, their boundaries and the grade.
#include "field/final_score.h"

#include <gtest/gtest.h>

#include "state/game_state.h"

namespace {

class FinalScore : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    gAmmoHandgun = gAmmoShotgun = gAmmoMagnum = 0;
  }
  void TearDown() override { ResetGameState(); }

  // The score added for a game with `encounters` opened cells, `finds` of
  // them finds, and no ammunition left.
  int Added(int encounters, int finds) {
    gScore = 0;
    gEncounters = encounters;
    gFinds = finds;
    ComputeFinalScore();
    return gScore;
  }
};

TEST_F(FinalScore, WorkedExample) {
  gScore = 0;
  gEncounters = 30;
  gFinds = 10;  // ratio 0.5
  gAmmoHandgun = 80;
  gAmmoShotgun = 10;
  gAmmoMagnum = 2;
  ComputeFinalScore();
  EXPECT_EQ(gScore, 80 + 50 + 20 - 100 + 1000);
  EXPECT_EQ(gEnding, 1);
  EXPECT_EQ(gGrade, 1);
}

// Speed +1000 for fewer than 50 cells, so what is left is the ratio bonus.
TEST_F(FinalScore, RatioBandsAreStrict) {
  EXPECT_EQ(Added(40, 25), 1000 + 2000);  // 25 / 15 = 1.67
  EXPECT_EQ(Added(25, 15), 1000 + 1000);  // exactly 1.5
  EXPECT_EQ(Added(21, 11), 1000 + 1000);  // 1.1
  EXPECT_EQ(Added(20, 10), 1000 + 500);   // exactly 1.0
  EXPECT_EQ(Added(37, 17), 1000 + 500);   // 17 / 20 = 0.85
  EXPECT_EQ(Added(34, 14), 1000 - 100);   // 14 / 20 = exactly 0.7
  EXPECT_EQ(Added(17, 7), 1000 - 100);    // 7 / 10 = exactly 0.7
  EXPECT_EQ(Added(29, 12), 1000 + 500);   // 12 / 17 = 0.706
  EXPECT_EQ(Added(44, 18), 1000 - 100);   // 18 / 26 = 0.692
}

// No plain cell opened: no ratio to take, and the top band is given.
TEST_F(FinalScore, NoPlainCellCountsAsTheTopBand) {
  EXPECT_EQ(Added(5, 5), 1000 + 2000);
  EXPECT_EQ(Added(0, 0), 1000 + 2000);
}

TEST_F(FinalScore, SpeedBands) {
  // All finds and no plain fights would blur the ratio; use ratio 0.5.
  const int encounters[] = {48, 51, 99, 102, 147, 150, 198, 201, 300};
  const int speed[] = {1000, 900, 900, 800, 800, 700, 700, 500, 500};
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(Added(encounters[i], encounters[i] / 3), speed[i] - 100) << encounters[i] << " cells";
  }
  EXPECT_EQ(Added(49, 0), 1000 - 100);
  EXPECT_EQ(Added(50, 0), 900 - 100);
  EXPECT_EQ(Added(100, 0), 800 - 100);
  EXPECT_EQ(Added(149, 0), 800 - 100);
  EXPECT_EQ(Added(199, 0), 700 - 100);
  EXPECT_EQ(Added(200, 0), 500 - 100);
}

TEST_F(FinalScore, GradeBoundaries) {
  // A game adding exactly 1000 - 100 = 900 (49 cells, no finds).
  const int finalScore[] = {10001, 10000, 8001, 8000, 7001, 7000, 6001,
                            6000,  5001,  5000, 4001, 4000, -500};
  const int grade[] = {7, 6, 6, 5, 5, 4, 4, 3, 3, 2, 2, 1, 1};
  for (int i = 0; i < 13; ++i) {
    gScore = finalScore[i] - 900;
    gEncounters = 49;
    gFinds = 0;
    ComputeFinalScore();
    EXPECT_EQ(gScore, finalScore[i]);
    EXPECT_EQ(gGrade, grade[i]) << "score " << finalScore[i];
  }
}

}  // namespace
