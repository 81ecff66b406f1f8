// The language the game speaks: Korean, built in, or a language pack from
// the data folder's lang/NAME/. A pack holds its text file
// (formats/language_text.h) and, as BMP files, the art with words that differs
// from the built-in art:
//   Title.bmp, warning.bmp, ...   a picture, by the data folder's name, at
//                                 the picture's size
//   tile_NNNN.bmp                 map tile NNNN, at the map's tile size
//   frame_NNN.bmp                 sprite frame NNN (black is clear), at most
//                                 the screen's size
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// The language asked for (--lang): empty or "ko" for the built-in Korean,
// otherwise the name of a pack's folder under lang/.
extern std::string gLanguage;

inline constexpr char kLanguageFolder[] = "lang";
inline constexpr char kBuiltInLanguage[] = "ko";

// Whether --lang takes the name: 1 to 16 lower-case letters, digits and
// '-', starting with a letter, so that it can only name a folder in lang/.
// (Inline, for the kit, which links the game's lines alone.)
inline bool LanguageNameValid(std::string_view name) {
  if (name.empty() || name.size() > 16 || name[0] < 'a' || name[0] > 'z') return false;
  for (char c : name) {
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-')) return false;
  }
  return true;
}

inline std::string LanguageTileName(int tile) {
  char name[32];
  std::snprintf(name, sizeof name, "tile_%04d.bmp", tile);
  return name;
}
inline std::string LanguageFrameName(int frame) {
  char name[32];
  std::snprintf(name, sizeof name, "frame_%03d.bmp", frame);
  return name;
}

// The CP949 bytes of line `id` (lang/game_lines.h) in the language in use;
// "" for an id outside the lines. Valid until the language changes.
const char* GameText(int id);

// Puts Korean in use, then the pack gLanguage names, if it names one. Called
// by InitProgram once the map, the sprites and the pictures are loaded. A
// pack with any problem is not used at all: a message box names the file and
// the line, and the game speaks Korean.
void UseLanguage();
// Forgets the pack in use, at shut-down: the lines are Korean again until
// the next UseLanguage. Pictures, tiles and frames go with the display.
void ReleaseLanguage();
