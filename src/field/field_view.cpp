#include "field/field_view.h"

#include <climits>

#include "gfx/display.h"
#include "shell/game_state.h"

namespace {

constexpr int kDigitFrame = 9;  // frames 9 to 18 are the digits 0 to 9

// The ground tile of a map cell: the absolute value of its number; -1 (no
// tile) outside the map.
int GroundTile(int row, int col) {
  if (gGroundLayer == nullptr || row < 0 || row >= gMapRows || col < 0 || col >= gMapCols) {
    return -1;
  }
  const int v = gGroundLayer[row][col];
  if (v == INT_MIN) return -1;
  return v < 0 ? -v : v;
}

void DrawGround(int x, int y, int row, int col) {
  const int tile = GroundTile(row, col);
  if (tile >= 0) DrawTile(x, y, tile);
}

int HealthFrame() {
  if (gHealth > 50) return 19;
  if (gHealth > 20) return 20;
  return 21;
}

}  // namespace

bool InField(int col, int row) {
  return row >= 0 && row < kFieldRows && col >= 0 && col < kFieldCols;
}

int CellCode(int col, int row) {
  if (!InField(col, row)) return CELL_HIDDEN;
  return gObjectLayer[row][col];
}

int CellCount(int col, int row) {
  if (!InField(col, row)) return 0;
  return gCountLayer[row][col];
}

AmmoDigits TakeAmmoDigits(int ammoShown) {
  const int v = ammoShown > 999 ? 999 : ammoShown;
  return {v / 100, (v % 100) / 10, v % 10};
}

int OpenedCellTile(int code, int count) {
  static constexpr int kCountTiles[8] = {18, 36, 54, 72, 366, 367, 374, 375};
  switch (code) {
    case CELL_OPENED:
      return count >= 0 && count <= 7 ? kCountTiles[count] : -1;
    case CELL_FILE_TAKEN:
      return 90;
    case CELL_AMMO_TAKEN:
      return 371;
    case CELL_SPRAY_TAKEN:
      return 372;
    case CELL_HUNTER_BEATEN:
      return 370;
    case CELL_STALKER_BEATEN:
      return 373;
    default:
      return -1;
  }
}

void ScrollView() {
  if (gEventOpen == 1 || gRocketActive == 1) return;
  if (gMouseX > 638 && gViewCol < gMapCols - kViewCols) ++gViewCol;
  if (gMouseX < 1 && gViewCol > 0) --gViewCol;
  // Down whenever the pointer is in the panel or on the map's last pixel
  // rows, except over the button block.
  if (gMouseY > 358 && (gMouseX < 450 || gMouseY > 460) && gViewRow < gMapRows - 12) ++gViewRow;
  if (gMouseY < 1 && gViewRow > 0) --gViewRow;
}

void DrawMapView() {
  for (int r = 0; r < kViewRows; ++r) {
    for (int c = 0; c < kViewCols; ++c) {
      const int col = c + gViewCol;
      const int row = r + gViewRow;
      const int code = CellCode(col, row);
      const int x = c * gTileWidth;
      const int y = r * gTileHeight;
      if (code != CELL_OPENED && code < 12) {
        DrawGround(x, y, row, col);  // a hidden cell looks like plain ground
      } else {
        const int tile = OpenedCellTile(code, CellCount(col, row));
        if (tile >= 0) DrawTile(x, y, tile);
      }
    }
  }
}

void DrawPanel(const AmmoDigits& digits) {
  for (int p = 0; p < 3; ++p) {
    for (int c = 0; c < kViewCols; ++c) {
      DrawGround(c * gTileWidth, (kViewRows + p) * gTileHeight, gMapRows - 3 + p, c);
    }
  }
  DrawSprite(368, 392, gWeapon + 1);
  const int sprayDigit = gSprays < 0 ? 0 : gSprays > 9 ? 9 : gSprays;
  DrawSprite(525, 435, sprayDigit + kDigitFrame);
  if (gWeapon == WEAPON_SHOTGUN) DrawSprite(573, 414, 8);
  if (gWeapon == WEAPON_MAGNUM) DrawSprite(573, 414, 7);
  DrawSprite(570, 435, digits.hundreds + kDigitFrame);
  DrawSprite(585, 435, digits.tens + kDigitFrame);
  DrawSprite(600, 435, digits.units + kDigitFrame);
  // A negative count (the empty-gun mark) ends in a 0 drawn over its units.
  if (gAmmoShown < 0) DrawSprite(600, 435, kDigitFrame);
  DrawSprite(368, 454, HealthFrame());
}

void DrawPointerHighlight() {
  if (gMouseY < kMapViewHeight && gEventOpen == 0) {
    DrawSprite((gMouseX / kCellPixels) * kCellPixels, (gMouseY / kCellPixels) * kCellPixels, 0);
  }
}
