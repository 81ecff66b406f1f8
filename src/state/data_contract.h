// What the game asks of its data folder, said once: the files it loads, the
// sizes of its pictures, and the tiles and sprite frames it draws with the
// places it draws them. (The map and sprite files' headers are the formats'
// own: formats/map_format.h, formats/sprite_format.h.)
//
// The game draws by these names. The data generator (content/) builds
// to them, `vedo-kit check` holds a folder against them, and the build reads
// its list of generated files from the file names below, so that a place
// moved here moves what all of them expect. Only constants live here: the
// tools include this header without linking the game.
#pragma once

#include <string_view>

// ---- The screen -------------------------------------------------------------

inline constexpr int kScreenWidth = 640;
inline constexpr int kScreenHeight = 480;
// 16 x 12 cells: the map view above the panel.
inline constexpr int kCellPixels = 40;
inline constexpr int kViewCols = 16;
inline constexpr int kViewRows = 9;
inline constexpr int kPanelRows = 3;  // the map's last rows, always shown below the view
inline constexpr int kScreenRows = kViewRows + kPanelRows;
inline constexpr int kMapViewHeight = 360;  // the panel starts below

// ---- Files ------------------------------------------------------------------
// The kinds of data file, by their endings. content/CMakeLists.txt reads this
// list, then every quoted file name of this header with one of these endings,
// as the files the generator makes; a file of a new kind is added here, or
// the check at the end of this header stops the build.
inline constexpr const char* kDataFileKinds[] = {"map", "SPR", "bmp", "wav", "mid"};

inline constexpr char kMapFileName[] = "city.map";
inline constexpr char kSpriteFileName[] = "WEAPON.SPR";
inline constexpr char kMusicFileName[] = "Ending.mid";

// A picture is shown at exactly its file's size.
struct PictureFile {
  const char* name;
  int width;
  int height;
};
inline constexpr PictureFile kTitlePicture{"Title.bmp", 640, 480};
inline constexpr PictureFile kWarningPicture{"warning.bmp", 640, 480};
inline constexpr PictureFile kEventWindowPicture{"eventwin.bmp", 317, 241};
// The two portrait sheets: 2 columns by 3 rows of 160 x 109 portraits.
inline constexpr PictureFile kPortraitSheet1{"event1.bmp", 320, 327};
inline constexpr PictureFile kPortraitSheet2{"event2.bmp", 320, 327};
inline constexpr PictureFile kDeathPicture{"died.bmp", 640, 480};
inline constexpr PictureFile kEndingPicture{"Ending.bmp", 640, 480};
inline constexpr PictureFile kPictureFiles[] = {
    kTitlePicture,   kWarningPicture, kEventWindowPicture, kPortraitSheet1,
    kPortraitSheet2, kDeathPicture,   kEndingPicture,
};

// The options panel: the program's own, not one of the game's pictures. The
// panel (kOptionsPanelHeight rows) with its parts below it; without the
// file the panel is drawn plain.
inline constexpr PictureFile kOptionsPicture{"options.bmp", 400, 400};

// The sound effects, in sound-number order (SND_* in audio/sound.h).
inline constexpr int kSoundEffects = 16;
inline constexpr const char* kSoundFiles[kSoundEffects] = {
    "start.wav", "zombi.wav", "kero.wav",  "hunt.wav",  "Stalker.wav", "Stalker2.wav",
    "shot0.wav", "shot1.wav", "shot2.wav", "shot3.wav", "main.wav",    "splay.wav",
    "died.wav",  "file.wav",  "open1.wav", "open2.wav",
};

// ---- Tiles of the map file ----------------------------------------------------

// An opened cell by its count of neighbours, 0 to 7.
inline constexpr int kCountTiles[8] = {18, 36, 54, 72, 366, 367, 374, 375};
inline constexpr int kFileTakenTile = 90;
inline constexpr int kHunterBeatenTile = 370;
inline constexpr int kAmmoTakenTile = 371;
inline constexpr int kSprayTakenTile = 372;
inline constexpr int kStalkerBeatenTile = 373;
// The ending picture: a 16 x 12 grid of tiles from this one on, row by row.
inline constexpr int kEndingFirstTile = 376;
inline constexpr int kEndingTileCols = 16;
inline constexpr int kEndingTileRows = 12;

// ---- Sprite frames and where they are drawn ------------------------------------

// The frame around the screen cell under the pointer, on the cell grid.
inline constexpr int kHighlightFrame = 0;

// The status panel. The weapon icon is this frame plus the weapon code.
inline constexpr int kWeaponIconFrame = 1;
inline constexpr int kWeaponIconX = 368;
inline constexpr int kWeaponIconY = 392;
inline constexpr int kMagnumMarkFrame = 7;
inline constexpr int kShotgunMarkFrame = 8;
inline constexpr int kWeaponMarkX = 573;
inline constexpr int kWeaponMarkY = 414;
// Frames 9 to 18 are the digits 0 to 9.
inline constexpr int kDigitFrame = 9;
inline constexpr int kDigitY = 435;
inline constexpr int kSprayDigitX = 525;
// The ammunition count: hundreds, tens and units.
inline constexpr int kAmmoDigitX[3] = {570, 585, 600};
// Health above 50, above 20, and the rest.
inline constexpr int kHealthFineFrame = 19;
inline constexpr int kHealthCautionFrame = 20;
inline constexpr int kHealthDangerFrame = 21;
inline constexpr int kHealthIconX = 368;
inline constexpr int kHealthIconY = 454;

// The rocket: five steps k = 0 to 4 in one of three lanes, frame
// firstFrame + k at (x0 + dx * k, kRocketY0 + kRocketDy * k).
struct RocketLaneFrames {
  int firstFrame;
  int x0;
  int dx;
};
inline constexpr RocketLaneFrames kRocketLanes[3] = {{39, 0, 40}, {39, 0, 52}, {45, 510, -40}};
inline constexpr int kRocketSteps = 5;
inline constexpr int kRocketY0 = 365;
inline constexpr int kRocketDy = -34;
// The player figure during the rocket, at one of six offsets to the right.
inline constexpr int kFigureFrame = 51;
inline constexpr int kFigureX = 200;
inline constexpr int kFigureY = 214;
inline constexpr int kFigureOffsets[6] = {0, 30, 60, 120, 150, 180};

// ---- The options panel ------------------------------------------------------------
// Places in the panel's picture (kOptionsPicture); the panel is shown with
// its top-left corner at (kOptionsX, kOptionsY). The words are the language's
// lines, drawn white on the black plates these places name; the values are
// the parts below the panel, drawn over it.

inline constexpr int kOptionsX = 120;
inline constexpr int kOptionsY = 60;
inline constexpr int kOptionsPanelHeight = 360;
// A black plate: left, top, right and bottom, right and bottom exclusive.
struct PanelBox {
  int left;
  int top;
  int right;
  int bottom;
};
inline constexpr PanelBox kOptionsTitle{100, 8, 300, 30};
// Eight rows, each kOptionsRowPitch high from kOptionsRowTop; the boxes of a
// row are given from the row's top.
inline constexpr int kOptionsRows = 8;
inline constexpr int kOptionsRowTop = 38;
inline constexpr int kOptionsRowPitch = 36;
inline constexpr PanelBox kOptionsLabel{12, 4, 166, 28};
// A button with its sign (minus, plus, or arrows on the language's row),
// and a check box.
inline constexpr PanelBox kOptionsMinus{176, 4, 200, 28};
inline constexpr PanelBox kOptionsPlus{364, 4, 388, 28};
inline constexpr PanelBox kOptionsCheck{176, 4, 200, 28};
// A volume's ten segments, each kOptionsSegmentPitch right of the last.
inline constexpr PanelBox kOptionsSegment{206, 6, 218, 26};
inline constexpr int kOptionsSegments = 10;
inline constexpr int kOptionsSegmentPitch = 15;
// The plate between the buttons, and the two choices of a row.
inline constexpr PanelBox kOptionsValue{206, 4, 358, 28};
inline constexpr PanelBox kOptionsChoices[2] = {{176, 4, 280, 28}, {284, 4, 388, 28}};
// The closing button, and the plate for its word.
inline constexpr PanelBox kOptionsClose{140, 324, 260, 354};
inline constexpr PanelBox kOptionsCloseWord{146, 328, 254, 350};
// The parts, below the panel: a lit segment, the check mark (black is
// clear) and the frame around a chosen choice (black is clear).
inline constexpr PanelBox kOptionsLitSegment{0, 364, 12, 384};
inline constexpr PanelBox kOptionsCheckMark{16, 364, 40, 388};
inline constexpr PanelBox kOptionsChosenFrame{44, 364, 148, 388};

// The ending's credits, in drawing order: each at y = scroll - yAbove.
struct CreditPlacement {
  int frame;
  int x;
  int yAbove;
};
inline constexpr CreditPlacement kCredits[] = {
    {38, 160, 360}, {29, 160, 300}, {31, 360, 300}, {30, 160, 240}, {31, 360, 240}, {34, 160, 120},
    {32, 160, 180}, {33, 360, 180}, {35, 160, 60},  {36, 360, 60},  {37, 160, 0},
};
// The grade stands beside frame 38: frame 28 for grade 1 down to frame 22
// for grade 7.
inline constexpr int kGradeFrameBase = 29;
inline constexpr int kGrades = 7;
inline constexpr int kGradeX = 400;
inline constexpr int kGradeYAbove = 360;

// ---- Every file name above is of a listed kind ---------------------------------

constexpr bool IsDataFileName(std::string_view name) {
  for (std::string_view kind : kDataFileKinds) {
    if (name.size() > kind.size() + 1 && name.ends_with(kind) &&
        name[name.size() - kind.size() - 1] == '.') {
      return true;
    }
  }
  return false;
}
constexpr bool AllDataFilesOfListedKinds() {
  bool all = IsDataFileName(kMapFileName) && IsDataFileName(kSpriteFileName) &&
             IsDataFileName(kMusicFileName) && IsDataFileName(kOptionsPicture.name);
  for (const PictureFile& p : kPictureFiles) all = all && IsDataFileName(p.name);
  for (const char* s : kSoundFiles) all = all && IsDataFileName(s);
  return all;
}
static_assert(AllDataFilesOfListedKinds(),
              "a data file's ending is not in kDataFileKinds: the build would not generate it");
