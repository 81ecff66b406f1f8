// The game state's list, its reset and its invariants.
#include "state/game_state.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "support/test_data.h"

namespace {

// The values as the program starts, taken before any test runs.
const std::map<std::string, int> kAtProgramStart = testdata::StateSnapshot();

}  // namespace

TEST(GameState, TheResetBringsBackEveryStartValueAndLeavesWhatWasLoaded) {
  int count = 0;
  const StateInt* ints = StateInts(&count);
  const auto saved = testdata::StateSnapshot();
  std::map<std::string, int> expected = kAtProgramStart;
  for (int i = 0; i < count; ++i) {
    *ints[i].value = 7001 + i;
    if (ints[i].loaded) expected[ints[i].name] = 7001 + i;
  }
  gObjectLayer[17][24] = CELL_STALKER;
  gCountLayer[0][0] = 7;
  ResetGameState();
  EXPECT_EQ(testdata::StateSnapshot(), expected);
  EXPECT_EQ(gObjectLayer[17][24], 0);
  EXPECT_EQ(gCountLayer[0][0], 0);
  for (int i = 0; i < count; ++i) *ints[i].value = saved.at(ints[i].name);
}

TEST(GameState, TheInvariantsHoldAtTheStartAndNameWhatBreaksThem) {
  ResetGameState();
  EXPECT_EQ(CheckStateInvariants(), "");
  gObjectLayer[2][3] = CELL_HIDDEN + 1;  // between the codes
  gObjectLayer[4][5] = -1;               // only a layer's first is named
  gWeapon = WEAPON_MAGNUM + 1;
  gRocketTimer = kRocketDue + 1;
  gInTitle = 0;
  gEnding = 1;
  EXPECT_EQ(CheckStateInvariants(),
            "gObjectLayer[2][3] holds 10, not a cell code; gWeapon is 4; gRocketTimer is 1001; "
            "the ending runs with files left");
  ResetGameState();
}
