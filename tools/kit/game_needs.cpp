#include "kit/game_needs.h"

namespace kit {

const std::vector<PictureNeed>& Pictures() {
  static const std::vector<PictureNeed> kPictures = {
      {"Title.bmp", 640, 480},  {"warning.bmp", 640, 480}, {"eventwin.bmp", 317, 241},
      {"event1.bmp", 320, 327}, {"event2.bmp", 320, 327},  {"died.bmp", 640, 480},
      {"Ending.bmp", 640, 480},
  };
  return kPictures;
}

const std::vector<std::string>& SoundNames() {
  static const std::vector<std::string> kNames = {
      "start.wav", "zombi.wav", "kero.wav",  "hunt.wav",  "Stalker.wav", "Stalker2.wav",
      "shot0.wav", "shot1.wav", "shot2.wav", "shot3.wav", "main.wav",    "splay.wav",
      "died.wav",  "file.wav",  "open1.wav", "open2.wav",
  };
  return kNames;
}

const std::vector<TileNeed>& FixedTiles() {
  static const std::vector<TileNeed> kTiles = [] {
    std::vector<TileNeed> t;
    const int counts[8] = {18, 36, 54, 72, 366, 367, 374, 375};
    for (int n = 0; n < 8; ++n) {
      t.push_back({counts[n], "opened cell with count " + std::to_string(n)});
    }
    t.push_back({90, "taken file"});
    t.push_back({370, "beaten hunter"});
    t.push_back({371, "taken ammunition"});
    t.push_back({372, "taken spray"});
    t.push_back({373, "beaten Stalker"});
    for (int i = 376; i <= 567; ++i) t.push_back({i, "ending picture"});
    return t;
  }();
  return kTiles;
}

const std::vector<FramePlacement>& FramePlacements() {
  static const std::vector<FramePlacement> kPlaces = [] {
    std::vector<FramePlacement> p;
    // The pointer highlight snaps to the 40-pixel grid of the map view.
    for (int row = 0; row < 9; ++row) {
      for (int col = 0; col < 16; ++col) {
        p.push_back({0, col * 40, row * 40, false, "pointer highlight"});
      }
    }
    const char* weapons[4] = {"knife", "handgun", "shotgun", "magnum"};
    for (int w = 0; w < 4; ++w) {
      p.push_back({w + 1, 368, 392, false, std::string(weapons[w]) + " icon"});
    }
    p.push_back({7, 573, 414, false, "magnum mark"});
    p.push_back({8, 573, 414, false, "shotgun mark"});
    for (int d = 0; d < 10; ++d) {
      const std::string digit = "digit " + std::to_string(d);
      p.push_back({9 + d, 525, 435, false, digit + " (spray count)"});
      p.push_back({9 + d, 570, 435, false, digit + " (ammunition hundreds)"});
      p.push_back({9 + d, 585, 435, false, digit + " (ammunition tens)"});
      p.push_back({9 + d, 600, 435, false, digit + " (ammunition units)"});
    }
    const char* health[3] = {"fine", "caution", "danger"};
    for (int h = 0; h < 3; ++h) {
      p.push_back({19 + h, 368, 454, false, std::string("health icon, ") + health[h]});
    }
    // The rocket: lanes 1 and 2 share frames 39 to 43, lane 3 has 45 to 49.
    for (int k = 0; k < 5; ++k) {
      const std::string step = " step " + std::to_string(k);
      p.push_back({39 + k, 40 * k, 365 - 34 * k, false, "rocket lane 1" + step});
      p.push_back({39 + k, 52 * k, 365 - 34 * k, false, "rocket lane 2" + step});
      p.push_back({45 + k, 510 - 40 * k, 365 - 34 * k, false, "rocket lane 3" + step});
    }
    for (int offset : {0, 30, 60, 120, 150, 180}) {
      p.push_back({51, 200 + offset, 214, false, "player figure"});
    }
    // The ending's credits (y rises with the scroll).
    const int credits[11][2] = {{38, 160}, {29, 160}, {31, 360}, {30, 160}, {31, 360}, {34, 160},
                                {32, 160}, {33, 360}, {35, 160}, {36, 360}, {37, 160}};
    for (const auto& c : credits) p.push_back({c[0], c[1], 0, true, "credit line"});
    for (int grade = 1; grade <= 7; ++grade) {
      p.push_back({29 - grade, 400, 0, true, "grade " + std::to_string(grade)});
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
