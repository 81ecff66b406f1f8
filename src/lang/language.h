// The language the game speaks: Korean, built in, or a language pack from
// the data folder's lang/NAME/: its text, a PO file, and the art with words
// that differs from the built-in art (lang/language_pack.h).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// The language asked for (--lang): empty or "ko" for the built-in Korean,
// otherwise the name of a pack's folder under lang/.
extern std::string gLanguage;

inline constexpr char kLanguageFolder[] = "lang";
inline constexpr char kBuiltInLanguage[] = "ko";

// The language packs the data kit makes and every release ships, each by its
// folder under lang/ and the name the language calls itself. The build reads
// this list (cmake/shipped_languages.cmake) for the desktop entry's actions,
// the Windows installer's shortcuts and the browser page's language switch:
// shipping a pack is an entry here and its maker in the data kit.
struct ShippedLanguage {
  const char* folder;
  const char* name;
};
inline constexpr ShippedLanguage kShippedLanguages[] = {
    {"en", "English"},
};

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

// Line `id` (lang/game_lines.h) in the language in use, as the text route
// takes it (platform.h's PrintText): the game's own Korean as CP949 bytes, a pack's
// line as UTF-8. "" for an id outside the lines. Valid until the language
// changes.
const char* GameText(int id);

// Puts Korean in use, then the pack gLanguage names, if it names one. Called
// by InitProgram once the map, the sprites and the pictures are loaded, and
// again whenever the player chooses another language: the built-in art a
// pack replaced is put back first. A pack with a fault that refuses it is
// not used at all: a message box names the file and the line, and the game
// speaks Korean. Of a pack in use, the debugger output names the art with
// words it lacks, which stays Korean.
void UseLanguage();
// The language in use: kBuiltInLanguage, or the pack's name once it has
// been put in use.
const std::string& LanguageInUse();

// A language the player can choose: Korean, built in, and each pack of the
// data folder's lang/, by its folder's name and its own (its line
// "language.name"; where the pack's text cannot be read, the shipped
// packs' list's name or the folder's).
struct LanguageChoice {
  std::string folder;
  std::string ownName;  // UTF-8
};
// Korean first, then the packs in the order of their folders' names.
std::vector<LanguageChoice> LanguageChoices();
// Whether the language's lines are here to be put in use: Korean always, a
// pack when its text file is in its folder. (The page fetches a pack only
// for the language it plays in; another's folder is there, empty.)
bool LanguageAtHand(const std::string& name);

// Forgets the pack in use, at shut-down: the lines are Korean again until
// the next UseLanguage. Pictures, tiles and frames go with the display.
void ReleaseLanguage();
