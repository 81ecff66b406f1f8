#include "app/debug_settings.h"

#include <gtest/gtest.h>

#include "state/game_state.h"

namespace {

class DebugSettings : public ::testing::Test {
 protected:
  void SetUp() override { ResetGameState(); }
  void TearDown() override { ResetGameState(); }
};

TEST_F(DebugSettings, SetsTheNamedValuesInOrder) {
  EXPECT_TRUE(ApplyDebugSettings("gInTitle=0,gProloguePending=0,gEnding=1,gEndingFrames=-258"));
  EXPECT_EQ(gInTitle, 0);
  EXPECT_EQ(gProloguePending, 0);
  EXPECT_EQ(gEnding, 1);
  EXPECT_EQ(gEndingFrames, -258);
  // A name given twice takes its last value; empty entries are passed over.
  EXPECT_TRUE(ApplyDebugSettings("gHealth=5,,gHealth=7,"));
  EXPECT_EQ(gHealth, 7);
}

TEST_F(DebugSettings, NothingSetChangesNothing) {
  const int title = gInTitle;
  EXPECT_TRUE(ApplyDebugSettings(nullptr));
  EXPECT_TRUE(ApplyDebugSettings(""));
  EXPECT_EQ(gInTitle, title);
}

TEST_F(DebugSettings, StopsAtTheFirstEntryItCannotApply) {
  const int health = gHealth;
  for (const char* bad : {"gNoSuchValue=1", "gHealth", "gHealth=", "gHealth=12x", "gHealth=0x10",
                          "gHealth=99999999999", "=3"}) {
    EXPECT_FALSE(ApplyDebugSettings(bad)) << bad;
    EXPECT_EQ(gHealth, health) << bad;
  }
  // What came before the bad entry stays applied; what follows is not.
  EXPECT_FALSE(ApplyDebugSettings("gEnding=1,gBogus=2,gFilesLeft=0"));
  EXPECT_EQ(gEnding, 1);
  EXPECT_EQ(gFilesLeft, 5);
}

}  // namespace
