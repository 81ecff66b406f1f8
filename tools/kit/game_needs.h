// What the game asks of its data folder: the files it loads, the sizes of
// its pictures, the tile and frame numbers it draws and every place where it
// draws a frame. The generator builds to this list and `vedo-kit check`
// holds a folder against it.
#pragma once

#include <string>
#include <vector>

namespace kit {

inline constexpr int kScreenWidth = 640;
inline constexpr int kScreenHeight = 480;
inline constexpr int kTileSide = 40;
inline constexpr int kMapCols = 25;
inline constexpr int kMapRows = 21;
inline constexpr int kFieldRows = 18;      // map rows under the playing field
inline constexpr int kPanelCols = 16;      // panel columns that are shown
inline constexpr int kMinTiles = 568;      // the ending uses tiles up to 567
inline constexpr int kMinFrames = 52;      // the player figure is frame 51
inline constexpr int kMaxDigitWidth = 15;  // ammunition digits sit 15 pixels apart

inline constexpr char kMapName[] = "city.map";
inline constexpr char kSpriteName[] = "WEAPON.SPR";
inline constexpr char kMusicName[] = "Ending.mid";

struct PictureNeed {
  const char* name;
  int width;
  int height;
};
const std::vector<PictureNeed>& Pictures();

// The sixteen sound effects, in sound-number order.
const std::vector<std::string>& SoundNames();

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
