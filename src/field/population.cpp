#include "field/population.h"

#include "state/game_state.h"
#include "state/random.h"

namespace {

// Placement blocks: 5 columns by 6 rows.
constexpr int kBlockCols = 5;
constexpr int kBlockRows = 6;

bool HoldsFile(int code) { return code >= CELL_FILE && code < CELL_FILE + kFiles; }

void SetSupplies() {
  const bool hard = gHardMode == 1;
  gWeapon = WEAPON_HANDGUN;
  gAmmoHandgun = hard ? 60 : 120;
  gAmmoShotgun = hard ? 12 : 24;
  gAmmoMagnum = hard ? 4 : 8;
  gSprays = hard ? 1 : 2;
  gAmmoShown = gAmmoHandgun;
}

void PlaceFiles() {
  for (int n = 1; n <= kFiles; ++n) {
    int row = NextRandom() % 16 + 1;
    int col = NextRandom() % 23 + 1;
    // Two files on one cell would leave four to find while the game waits
    // for five: a file that lands on another draws its cell again.
    while (HoldsFile(gObjectLayer[row][col])) {
      row = NextRandom() % 16 + 1;
      col = NextRandom() % 23 + 1;
    }
    gObjectLayer[row][col] = CELL_FILE + n - 1;
  }
}

void PlaceEnemy(int col, int row, int kind) {
  if (gObjectLayer[row][col] != CELL_HIDDEN) return;  // dropped, no new draw
  gObjectLayer[row][col] = kind < 2 ? CELL_STALKER : CELL_HUNTER;
}

void PlaceEnemies() {
  for (int b = 0; b < 3; ++b) {
    for (int k = 0; k < 5; ++k) {
      const int col1 = NextRandom() % kBlockCols + kBlockCols * k;
      const int row1 = NextRandom() % kBlockRows + kBlockRows * b;
      const int col2 = NextRandom() % kBlockCols + kBlockCols * k;
      const int row2 = NextRandom() % kBlockRows + kBlockRows * b;
      const int kind1 = NextRandom() % 8;
      const int kind2 = NextRandom() % 8;
      PlaceEnemy(col1, row1, kind1);
      PlaceEnemy(col2, row2, kind2);
    }
  }
}

void PlaceItems() {
  int placed = 0;
  for (int b = 0; b < 2; ++b) {
    for (int k = 0; k < 5; ++k) {
      const int col = NextRandom() % kBlockCols + kBlockCols * k;
      const int row = NextRandom() % kBlockRows + kBlockRows * b;
      if (gObjectLayer[row][col] != CELL_HIDDEN) continue;
      gObjectLayer[row][col] = CELL_AMMO + placed % 2;
      ++placed;
    }
  }
}

}  // namespace

void CountNearbyObjects() {
  for (int row = 0; row < kFieldRows; ++row) {
    for (int col = 0; col < kFieldCols; ++col) {
      int count = 0;
      for (int r = row - 2; r <= row + 2; ++r) {
        for (int c = col - 2; c <= col + 2; ++c) {
          if (r < 0 || r >= kFieldRows || c < 0 || c >= kFieldCols) continue;
          if (r == row && c == col) continue;
          if (gObjectLayer[r][c] != CELL_HIDDEN) ++count;
        }
      }
      gCountLayer[row][col] = count > kMaxCount ? kMaxCount : count;
    }
  }
}

void PopulateFieldFromSeed(std::uint32_t seed) {
  SeedRandom(seed);
  gEncounters = 0;
  gFinds = 0;
  gScore = 100;
  SetSupplies();
  for (auto& row : gObjectLayer) {
    for (int& cell : row) cell = CELL_HIDDEN;
  }
  PlaceFiles();
  PlaceEnemies();
  PlaceItems();
  CountNearbyObjects();
}

void PopulateField() { PopulateFieldFromSeed(CalendarSeconds()); }
