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

// Every rule broken alone, each message naming the value that breaks it.
TEST(GameState, EveryInvariantIsNamedWhenItAloneBreaks) {
  const struct {
    const char* name;
    int bad;
  } kBroken[] = {
      {"gInTitle", 2},
      {"gAlive", 2},
      {"gProloguePending", 2},
      {"gEnding", 2},
      {"gFieldReady", 2},
      {"gHardMode", 2},
      {"gWarningShown", 2},
      {"gMouseX", 640},
      {"gMouseY", 480},
      {"gLeftButton", 2},
      {"gWeapon", -1},
      {"gHealth", 101},
      {"gFilesLeft", 6},
      {"gAmmoHandgun", -1},
      {"gAmmoShotgun", -1},
      {"gAmmoMagnum", -1},
      {"gAmmoShown", -2},
      {"gSprays", -1},
      {"gGrade", 8},
      {"gPortraitVariant", 3},
      {"gEventOpen", 2},
      {"gEventNumber", 12},
      {"gRocketTimer", -1},
      {"gRocketActive", 2},
      {"gRocketColumn", 4},
      {"gRocketStep", 6},
      {"gViewCol", -1},
      {"gViewRow", -1},
      {"gPrologueClickLatch", 2},
  };
  for (const auto& b : kBroken) {
    ResetGameState();
    int* value = FindStateInt(b.name);
    ASSERT_NE(value, nullptr) << b.name;
    *value = b.bad;
    EXPECT_EQ(CheckStateInvariants(), std::string(b.name) + " is " + std::to_string(b.bad));
  }
  ResetGameState();
  gCountLayer[1][2] = kMaxCount + 1;
  EXPECT_EQ(CheckStateInvariants(), "gCountLayer[1][2] is 8");
  ResetGameState();
  gObjectLayer[0][0] = CELL_STALKER_BEATEN + 1;
  EXPECT_EQ(CheckStateInvariants(), "gObjectLayer[0][0] holds 22, not a cell code");
  ResetGameState();
  gInTitle = 0;
  gEnding = 1;
  EXPECT_EQ(CheckStateInvariants(), "the ending runs with files left");
  ResetGameState();
}
