// The hint lines of an opened plain cell, compared as CP949 bytes.
#include "field/hint_lines.h"

#include <gtest/gtest.h>

#include <string>

#include "gfx/display.h"
#include "state/game_state.h"
#include "support/test_data.h"

namespace {

// "개가 있습니다." in CP949.
const std::string kThereAre = "\xB0\xB3\xB0\xA1\x20\xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9\x2E";

class HintLines : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    for (auto& row : gObjectLayer) {
      for (int& cell : row) cell = CELL_HIDDEN;
    }
  }
  void TearDown() override { ResetGameState(); }

  // Points at an opened cell with the given count, the view at the origin.
  void PointAt(int col, int row, int count) {
    gObjectLayer[row][col] = CELL_OPENED;
    gCountLayer[row][col] = count;
    gMouseX = col * 40 + 17;
    gMouseY = row * 40 + 39;
  }
  NearbyHint Build() {
    NearbyHint hint{};
    EXPECT_TRUE(BuildNearbyHint(0, 0, &hint));
    return hint;
  }
};

TEST_F(HintLines, KnownNeighbourhood) {
  PointAt(5, 5, 2);
  gObjectLayer[5][3] = CELL_HUNTER;  // two columns to the left
  gObjectLayer[7][6] = 3;            // one to the right, two rows down
  const NearbyHint hint = Build();
  EXPECT_EQ(std::string(hint.count), "2" + kThereAre);
  EXPECT_EQ(std::string(hint.columns), "X:  2,  1");
  EXPECT_EQ(std::string(hint.rows), "Y:  0,  2");
}

TEST_F(HintLines, EveryCountLine) {
  for (int n = 1; n <= 7; ++n) {
    PointAt(10, 8, n);
    EXPECT_EQ(std::string(Build().count), std::to_string(n) + kThereAre);
  }
}

// Row by row, left to right; taken files and items and beaten enemies still
// count, opened plain cells, hidden plain cells and code 10 do not.
TEST_F(HintLines, TakenAndBeatenCellsAreListed) {
  PointAt(10, 8, 6);
  gObjectLayer[6][8] = CELL_FILE_TAKEN;
  gObjectLayer[6][9] = CELL_OPENED;
  gObjectLayer[7][12] = CELL_AMMO_TAKEN;
  gObjectLayer[8][9] = 10;
  gObjectLayer[8][11] = CELL_SPRAY_TAKEN;
  gObjectLayer[9][10] = CELL_HUNTER_BEATEN;
  gObjectLayer[10][8] = CELL_STALKER_BEATEN;
  gObjectLayer[10][12] = CELL_SPRAY;
  const NearbyHint hint = Build();
  EXPECT_EQ(std::string(hint.columns), "X:  2,  2,  1,  0,  2,  2");
  EXPECT_EQ(std::string(hint.rows), "Y:  2,  1,  0,  1,  2,  2");
}

TEST_F(HintLines, SevenEntriesAtMost) {
  // Every cell around (10, 8) occupied: 24 cells, more than the lists hold.
  for (int r = 6; r <= 10; ++r) {
    for (int c = 8; c <= 12; ++c) gObjectLayer[r][c] = CELL_HUNTER;
  }
  PointAt(10, 8, 7);
  const NearbyHint hint = Build();
  EXPECT_EQ(std::string(hint.count), "7" + kThereAre);
  EXPECT_EQ(std::string(hint.columns), "X:  2,  1,  0,  1,  2,  2,  1");
  EXPECT_EQ(std::string(hint.rows), "Y:  2,  2,  2,  2,  2,  1,  1");
}

// Cells past the field's edge are skipped; a count larger than the cells
// found shows zeros for the missing ones.
TEST_F(HintLines, FieldEdgeAndMissingEntries) {
  PointAt(0, 0, 3);
  gObjectLayer[1][2] = 4;
  const NearbyHint hint = Build();
  EXPECT_EQ(std::string(hint.columns), "X:  2,  0,  0");
  EXPECT_EQ(std::string(hint.rows), "Y:  1,  0,  0");
}

TEST_F(HintLines, NothingOutsideTheFieldOrWithoutACount) {
  NearbyHint hint{};
  PointAt(3, 3, 0);
  EXPECT_FALSE(BuildNearbyHint(0, 0, &hint));
  PointAt(3, 3, 8);
  EXPECT_FALSE(BuildNearbyHint(0, 0, &hint));
  PointAt(3, 3, 2);
  EXPECT_FALSE(BuildNearbyHint(0, 15, &hint));  // row 18
  EXPECT_FALSE(BuildNearbyHint(22, 0, &hint));  // column 25
  EXPECT_TRUE(BuildNearbyHint(0, 0, &hint));
}

// Drawn white on black at (210, 372), (135, 415) and (135, 435).
TEST_F(HintLines, DrawnOnTheBackBuffer) {
  testdata::HeadlessGame game;
  ASSERT_TRUE(game.ok());
  for (auto& row : gObjectLayer) {
    for (int& cell : row) cell = CELL_HIDDEN;
  }
  PointAt(5, 5, 1);
  gObjectLayer[4][4] = CELL_AMMO;
  ClearSurface(gBackBuffer, 0x77);
  ShowNearbyHint(0, 0);
  const testdata::Bgr black{0, 0, 0};
  const testdata::Bgr untouched{0x77, 0x77, 0x77};
  EXPECT_EQ(testdata::PixelAt(*gBackBuffer, 210, 372), black);
  EXPECT_EQ(testdata::PixelAt(*gBackBuffer, 209, 372), untouched);
  EXPECT_EQ(testdata::PixelAt(*gBackBuffer, 135, 415), black);
  EXPECT_EQ(testdata::PixelAt(*gBackBuffer, 134, 415), untouched);
  EXPECT_EQ(testdata::PixelAt(*gBackBuffer, 135, 435), black);
  EXPECT_EQ(testdata::PixelAt(*gBackBuffer, 135, 414), untouched);
}

}  // namespace
