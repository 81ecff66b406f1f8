// Whole games played from replay scripts on the standard test data.
#include <gtest/gtest.h>

#include <string>

#include "state/game_state.h"
#include "support/test_data.h"

namespace {

int Play(const std::string& name) { return testdata::RunReplayFile("tests/field/replays/" + name); }

}  // namespace

TEST(ReplayGames, WonByTakingTheFiveFiles) {
  EXPECT_EQ(Play("won_game.vrs"), 0);
  EXPECT_EQ(gEnding, 1);
  EXPECT_EQ(gScore, 6920);
  EXPECT_EQ(gGrade, 4);
  EXPECT_EQ(CheckStateInvariants(), "");
  ResetGameState();
}

TEST(ReplayGames, LostToAFatalFight) {
  EXPECT_EQ(Play("lost_game.vrs"), 0);
  EXPECT_EQ(gAlive, 0);
  EXPECT_EQ(gHealth, 0);
  EXPECT_EQ(CheckStateInvariants(), "");
  ResetGameState();
}
