// A language pack held to the game: what the game takes from it, and every
// fault it has, each marked as refusing the pack or as cosmetic. The game
// (lang/language.h) and `vedo-kit check --lang` read a pack with the same
// ReadLanguagePack, so that they refuse the same packs for the same reasons.
//
// A pack is a folder lang/NAME of the data folder holding
//   NAME.po                       its text (formats/language_text.h)
//   Title.bmp, warning.bmp, ...   a picture, by the data folder's name, at
//                                 the picture's size
//   tile_NNNN.bmp                 map tile NNNN, at the map's tile size
//   frame_NNN.bmp                 sprite frame NNN (black is clear), at most
//                                 the screen's size
//
// Refusing: the text or a picture the game cannot read; a key missing,
// unknown, given twice or left untranslated; a character the text route
// cannot draw; a picture, tile or frame of the wrong size. Cosmetic: a line
// wider than the place it shows in; a number written where the line has no
// blanks; an entry flagged fuzzy, or translated from another Korean line;
// art with words the pack lacks, which stays Korean; a file the game does
// not look at.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "formats/bmp_file.h"

// The art of the data kit that carries words: a pack without one of these
// shows it in Korean. (Ending.bmp carries words too, but the game never
// shows it.)
inline constexpr const char* kPicturesWithWords[] = {"Title.bmp", "warning.bmp", "eventwin.bmp",
                                                     "died.bmp"};
inline constexpr int kTilesWithWords[] = {658, 659, 674, 675, 687, 688, 689};
inline constexpr int kFramesWithWords[] = {34};

// The longest text of a key, in characters; the places the lines are drawn
// in hold fewer.
inline constexpr int kLanguageLineMaxCharacters = 60;
// A pack folder with more entries than this is no pack.
inline constexpr int kLanguagePackMaxEntries = 4096;

struct PackFault {
  std::string file;  // the pack's file, or the pack's folder
  int line = 0;      // the file's line; 0 for none
  std::string text;
  bool refuses = true;

  // "fr.po: line 12: text"
  std::string Describe() const;
};

// What the pack's tiles and frames are held to: the data's map and sprite
// file; -1 where they are not known.
struct PackBase {
  int tileWidth = 40;
  int tileHeight = 40;
  int tileCount = -1;
  int frameCount = -1;
};

struct PackArt {
  enum class Kind { kPicture, kTile, kFrame } kind;
  int index;  // the picture's in kPictureFiles, the tile's or the frame's number
  platform::Image image;
};

struct LanguagePack {
  std::vector<std::string> lines;  // UTF-8, by line id
  std::vector<PackArt> art;
  std::vector<PackFault> faults;
  std::size_t faultCount = 0;           // all of them: a hopeless file's are not all kept
  std::vector<std::string> stayKorean;  // the art with words the pack lacks
  std::vector<std::string> otherFiles;  // the folder's files no part of a pack

  bool Usable() const;
};

// Reads the pack in `dir` (a path ending in '/', whose last folder is its
// name), its text and its art, and finds every fault.
LanguagePack ReadLanguagePack(const std::string& dir, const PackBase& base);

// The text part alone: the PO file's bytes held to the game's lines, the
// faults named for `file`.
void ReadPackText(std::string_view bytes, const std::string& file, LanguagePack& pack);

struct GameLine;
// The pixel just past the widest number the game writes over the line.
int NumberEnd(const GameLine& line);

// The pack's text file in its folder: NAME.po.
inline std::string PackTextName(const std::string& name) { return name + ".po"; }

// The names of the packs in a data folder's lang/, sorted.
std::vector<std::string> LanguagePacksIn(const std::string& langFolder);
