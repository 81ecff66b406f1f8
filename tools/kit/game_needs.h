// What the game asks of its data folder, in the shape the tools want it:
// the files it loads, the sizes of its pictures, the tile and frame numbers
// it draws and every place where it draws a frame. All of it is taken from
// the game's own headers (state/data_contract.h above all), never restated, so
// the generator builds to the game and `vedo-kit check` holds a folder
// against the game.
#pragma once

#include <string>
#include <vector>

#include "state/data_contract.h"
#include "state/game_state.h"

namespace kit {

inline constexpr int kTileSide = kCellPixels;
inline constexpr int kMapCols = kFieldCols;
inline constexpr int kMapRows = kFieldRows + kPanelRows;
using ::kFieldRows;                           // map rows under the playing field
inline constexpr int kPanelCols = kViewCols;  // panel columns that are shown
// The ending uses the highest tile numbers, the player figure the highest
// frame number.
inline constexpr int kMinTiles = kEndingFirstTile + kEndingTileCols * kEndingTileRows;
inline constexpr int kMinFrames = kFigureFrame + 1;
// The ammunition digits stand this far apart.
inline constexpr int kMaxDigitWidth = kAmmoDigitX[1] - kAmmoDigitX[0];

struct TileNeed {
  int tile;
  std::string what;
};
// Tile numbers the game draws besides the ground layer: the opened cells
// and the ending picture.
const std::vector<TileNeed>& FixedTiles();

// A place where the game draws a sprite frame. When `scrolls` is set the
// frame rises with the ending's credits: only x is fixed, and the frame must
// be able to lie wholly on the screen at some height.
struct FramePlacement {
  int frame;
  int x;
  int y;
  bool scrolls;
  std::string what;
};
const std::vector<FramePlacement>& FramePlacements();

// The ground cells the game draws: rows 0 to 17 of every column (the view
// scrolls over the whole field) and the panel rows 18 to 20 of columns 0 to
// 15.
bool CellIsDrawn(int row, int col);

}  // namespace kit
