#include "kit/game_needs.h"

namespace kit {

const std::vector<TileNeed>& FixedTiles() {
  static const std::vector<TileNeed> kTiles = [] {
    std::vector<TileNeed> t;
    for (int n = 0; n < 8; ++n) {
      t.push_back({kCountTiles[n], "opened cell with count " + std::to_string(n)});
    }
    t.push_back({kFileTakenTile, "taken file"});
    t.push_back({kHunterBeatenTile, "beaten hunter"});
    t.push_back({kAmmoTakenTile, "taken ammunition"});
    t.push_back({kSprayTakenTile, "taken spray"});
    t.push_back({kStalkerBeatenTile, "beaten Stalker"});
    for (int i = kEndingFirstTile; i < kMinTiles; ++i) t.push_back({i, "ending picture"});
    return t;
  }();
  return kTiles;
}

const std::vector<FramePlacement>& FramePlacements() {
  static const std::vector<FramePlacement> kPlaces = [] {
    std::vector<FramePlacement> p;
    // The pointer highlight snaps to the cell grid of the map view.
    for (int row = 0; row < kViewRows; ++row) {
      for (int col = 0; col < kViewCols; ++col) {
        p.push_back(
            {kHighlightFrame, col * kCellPixels, row * kCellPixels, false, "pointer highlight"});
      }
    }
    const char* weapons[4] = {"knife", "handgun", "shotgun", "magnum"};
    for (int w = 0; w < 4; ++w) {
      p.push_back({kWeaponIconFrame + w, kWeaponIconX, kWeaponIconY, false,
                   std::string(weapons[w]) + " icon"});
    }
    p.push_back({kMagnumMarkFrame, kWeaponMarkX, kWeaponMarkY, false, "magnum mark"});
    p.push_back({kShotgunMarkFrame, kWeaponMarkX, kWeaponMarkY, false, "shotgun mark"});
    const char* places[3] = {"hundreds", "tens", "units"};
    for (int d = 0; d < 10; ++d) {
      const std::string digit = "digit " + std::to_string(d);
      p.push_back({kDigitFrame + d, kSprayDigitX, kDigitY, false, digit + " (spray count)"});
      for (int i = 0; i < 3; ++i) {
        p.push_back({kDigitFrame + d, kAmmoDigitX[i], kDigitY, false,
                     digit + " (ammunition " + places[i] + ")"});
      }
    }
    const char* health[3] = {"fine", "caution", "danger"};
    for (int h = 0; h < 3; ++h) {
      p.push_back({kHealthFineFrame + h, kHealthIconX, kHealthIconY, false,
                   std::string("health icon, ") + health[h]});
    }
    // The rocket: lanes 1 and 2 share their frames.
    for (int k = 0; k < kRocketSteps; ++k) {
      const std::string step = " step " + std::to_string(k);
      for (int lane = 0; lane < 3; ++lane) {
        const RocketLaneFrames& l = kRocketLanes[lane];
        p.push_back({l.firstFrame + k, l.x0 + l.dx * k, kRocketY0 + kRocketDy * k, false,
                     "rocket lane " + std::to_string(lane + 1) + step});
      }
    }
    for (int offset : kFigureOffsets) {
      p.push_back({kFigureFrame, kFigureX + offset, kFigureY, false, "player figure"});
    }
    // The ending's credits (y rises with the scroll).
    for (const CreditPlacement& c : kCredits) p.push_back({c.frame, c.x, 0, true, "credit line"});
    for (int grade = 1; grade <= kGrades; ++grade) {
      p.push_back({kGradeFrameBase - grade, kGradeX, 0, true, "grade " + std::to_string(grade)});
    }
    return p;
  }();
  return kPlaces;
}

bool CellIsDrawn(int row, int col) {
  if (row < 0 || col < 0 || col >= kMapCols || row >= kMapRows) return false;
  return row < kFieldRows || col < kPanelCols;
}

}  // namespace kit
