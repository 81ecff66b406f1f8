// Assembles city.map: 25 x 21 cells of 40 x 40 tiles.
//
// Tile numbers the game fixes: 18, 36, 54, 72, 366, 367, 374, 375 opened
// cells with counts 0 to 7; 90 a taken file; 370 to 373 a beaten hunter, a
// taken ammunition cache, a taken spray and a beaten Stalker; 376 to 567 the
// ending picture, row by row. Every other tile is free: the city's cells
// (one tile each) and the panel's take the free numbers in order, from 0 up
// and past 567 when the low ones run out.
//
// Roof cells are stored as negative numbers. The game draws the absolute
// value, so this changes nothing on screen; it marks the buildings for
// whoever edits the map.
#include <set>

#include "content/datakit.h"
#include "kit/game_needs.h"

namespace datakit {

kit::MapFile MakeCityMap(Language language) {
  constexpr int kSide = kit::kTileSide;
  const std::set<int> fixed = [] {
    std::set<int> s;
    for (const kit::TileNeed& t : kit::FixedTiles()) s.insert(t.tile);
    return s;
  }();
  std::vector<std::vector<std::uint8_t>> tiles(static_cast<std::size_t>(kit::kMinTiles));
  int nextFree = 0;
  auto takeFree = [&]() {
    while (fixed.count(nextFree) != 0) ++nextFree;
    const int n = nextFree++;
    if (static_cast<std::size_t>(n) >= tiles.size()) tiles.resize(static_cast<std::size_t>(n) + 1);
    return n;
  };

  kit::MapFile map;
  kit::SetMapTag(map);
  map.tileWidth = kSide;
  map.tileHeight = kSide;
  map.cols = kit::kMapCols;
  map.rows = kit::kMapRows;
  map.cells.assign(static_cast<std::size_t>(map.cols) * map.rows, 0);

  std::vector<bool> roofs;
  const Canvas city = PaintCity(&roofs);
  for (int r = 0; r < kit::kFieldRows; ++r) {
    for (int c = 0; c < map.cols; ++c) {
      const int n = takeFree();
      tiles[static_cast<std::size_t>(n)] = city.CropBgr(c * kSide, r * kSide, kSide, kSide);
      const bool roof = roofs[static_cast<std::size_t>(r * map.cols + c)];
      map.cells[static_cast<std::size_t>(r * map.cols + c)] = roof && n > 0 ? -n : n;
    }
  }
  const Canvas panel = PaintPanel(language);
  for (int p = 0; p < 3; ++p) {
    const int row = kit::kFieldRows + p;
    int last = 0;
    for (int c = 0; c < kit::kPanelCols; ++c) {
      last = takeFree();
      tiles[static_cast<std::size_t>(last)] = panel.CropBgr(c * kSide, p * kSide, kSide, kSide);
      map.cells[static_cast<std::size_t>(row * map.cols + c)] = last;
    }
    // The columns right of the screen are never shown; they repeat the
    // panel's last tile so that the row reads whole.
    for (int c = kit::kPanelCols; c < map.cols; ++c) {
      map.cells[static_cast<std::size_t>(row * map.cols + c)] = last;
    }
  }

  const int countTiles[8] = {18, 36, 54, 72, 366, 367, 374, 375};
  for (int n = 0; n < 8; ++n) {
    tiles[static_cast<std::size_t>(countTiles[n])] = PaintOpenedCell(OpenedKind::kCount, n).ToBgr();
  }
  tiles[90] = PaintOpenedCell(OpenedKind::kFileTaken).ToBgr();
  tiles[370] = PaintOpenedCell(OpenedKind::kHunterBeaten).ToBgr();
  tiles[371] = PaintOpenedCell(OpenedKind::kAmmoTaken).ToBgr();
  tiles[372] = PaintOpenedCell(OpenedKind::kSprayTaken).ToBgr();
  tiles[373] = PaintOpenedCell(OpenedKind::kStalkerBeaten).ToBgr();
  const Canvas ending = PaintEnding();
  for (int r = 0; r < 12; ++r) {
    for (int c = 0; c < 16; ++c) {
      tiles[static_cast<std::size_t>(376 + 16 * r + c)] =
          ending.CropBgr(c * kSide, r * kSide, kSide, kSide);
    }
  }

  // Free numbers below 568 that nothing took stay in the set as plain
  // asphalt, so that a modder finds a usable tile there.
  const std::vector<std::uint8_t> spare = city.CropBgr(0, 5 * kSide, kSide, kSide);
  map.tileCount = static_cast<std::int32_t>(tiles.size());
  map.tiles.reserve(tiles.size() * kSide * kSide * 3);
  for (const auto& t : tiles) {
    const auto& bytes = t.empty() ? spare : t;
    map.tiles.insert(map.tiles.end(), bytes.begin(), bytes.end());
  }
  return map;
}

}  // namespace datakit
