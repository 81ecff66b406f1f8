#include "field/field_view.h"

#include "gfx/display.h"
#include "gfx/map_file.h"
#include "state/data_contract.h"
#include "state/game_state.h"

namespace {

// Object codes below this are hidden cells (CELL_OPENED aside): they look
// like plain ground.
constexpr int kFirstShownCode = 12;

// The view scrolls down while the pointer is below this screen row (on the
// map's last pixel row or in the panel), except over the panel's button
// block: from kButtonBlockLeft rightwards, down to kButtonBlockBottom.
constexpr int kScrollDownBelowY = 358;
constexpr int kButtonBlockLeft = 450;
constexpr int kButtonBlockBottom = 460;

void DrawGround(int x, int y, int row, int col) {
  const int tile = GroundTile(row, col);
  if (tile >= 0) DrawTile(x, y, tile);
}

int HealthFrame() {
  if (gHealth > 50) return kHealthFineFrame;
  if (gHealth > 20) return kHealthCautionFrame;
  return kHealthDangerFrame;
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
  switch (code) {
    case CELL_OPENED:
      return count >= 0 && count <= 7 ? kCountTiles[count] : -1;
    case CELL_FILE_TAKEN:
      return kFileTakenTile;
    case CELL_AMMO_TAKEN:
      return kAmmoTakenTile;
    case CELL_SPRAY_TAKEN:
      return kSprayTakenTile;
    case CELL_HUNTER_BEATEN:
      return kHunterBeatenTile;
    case CELL_STALKER_BEATEN:
      return kStalkerBeatenTile;
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
  if (gMouseY > kScrollDownBelowY && (gMouseX < kButtonBlockLeft || gMouseY > kButtonBlockBottom) &&
      gViewRow < gMapRows - kScreenRows) {
    ++gViewRow;
  }
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
      if (code != CELL_OPENED && code < kFirstShownCode) {
        DrawGround(x, y, row, col);  // a hidden cell looks like plain ground
      } else {
        const int tile = OpenedCellTile(code, CellCount(col, row));
        if (tile >= 0) DrawTile(x, y, tile);
      }
    }
  }
}

void DrawPanel(const AmmoDigits& digits) {
  for (int p = 0; p < kPanelRows; ++p) {
    for (int c = 0; c < kViewCols; ++c) {
      DrawGround(c * gTileWidth, (kViewRows + p) * gTileHeight, gMapRows - kPanelRows + p, c);
    }
  }
  DrawSprite(kWeaponIconX, kWeaponIconY, kWeaponIconFrame + gWeapon);
  const int sprayDigit = gSprays < 0 ? 0 : gSprays > 9 ? 9 : gSprays;
  DrawSprite(kSprayDigitX, kDigitY, sprayDigit + kDigitFrame);
  if (gWeapon == WEAPON_SHOTGUN) DrawSprite(kWeaponMarkX, kWeaponMarkY, kShotgunMarkFrame);
  if (gWeapon == WEAPON_MAGNUM) DrawSprite(kWeaponMarkX, kWeaponMarkY, kMagnumMarkFrame);
  DrawSprite(kAmmoDigitX[0], kDigitY, digits.hundreds + kDigitFrame);
  DrawSprite(kAmmoDigitX[1], kDigitY, digits.tens + kDigitFrame);
  DrawSprite(kAmmoDigitX[2], kDigitY, digits.units + kDigitFrame);
  // A negative count (the empty-gun mark) ends in a 0 drawn over its units.
  if (gAmmoShown < 0) DrawSprite(kAmmoDigitX[2], kDigitY, kDigitFrame);
  DrawSprite(kHealthIconX, kHealthIconY, HealthFrame());
}

void DrawPointerHighlight() {
  if (gMouseY < kMapViewHeight && gEventOpen == 0) {
    DrawSprite((gMouseX / kCellPixels) * kCellPixels, (gMouseY / kCellPixels) * kCellPixels,
               kHighlightFrame);
  }
}
