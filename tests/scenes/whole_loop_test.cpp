// The whole loop played through the replay tool on the standard test data.
#include <gtest/gtest.h>

#include "state/game_state.h"
#include "support/test_data.h"

TEST(WholeLoop, TitleWarningProloguePlayVictoryEndingAndTitleAgain) {
  EXPECT_EQ(testdata::RunReplayFile("tests/scenes/replays/full_loop_won.vrs"), 0);
  ResetGameState();
}

TEST(WholeLoop, HardGameDeathDelayTitleAndANormalGame) {
  EXPECT_EQ(testdata::RunReplayFile("tests/scenes/replays/full_loop_death.vrs"), 0);
  ResetGameState();
}
