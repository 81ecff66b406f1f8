// Every line the game writes with its text route, each under a stable key:
// the event window's pages, the prologue's two pages and the hint lines.
// Korean is built in; a language pack gives the same keys in another
// language (lang/language.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formats/language_text.h"

// The event window's three lines start at this x; the numbers of the file
// page and the spray-used page are written over blanks of line 3, at these x.
inline constexpr int kEventTextX = 207;
inline constexpr int kFilesLeftX = kEventTextX;
inline constexpr int kSpraysLeftX = 330;

// A number the game writes over a line, in its own black box: `format`
// filled with a value from `lowest` to `highest`, `dx` pixels right of the
// line's start. It must fall on blanks of the line, or it hides letters.
struct NumberOverLine {
  int dx = 0;
  const char* format = nullptr;  // null: the line carries no number
  int lowest = 0;
  int highest = 0;
  const char* what = "";
};

struct GameLine {
  std::string key;
  const char* korean;  // UTF-8, with its blanks
  std::string where;   // where it shows, for people who translate it
  NumberOverLine number;
};

// Every line, in the order a language pack lists them. A line's index here
// is its id for GameText (lang/language.h).
const std::vector<GameLine>& GameLines();

// The id of the line with this key, or -1.
int GameLineId(std::string_view key);

// The lines as a language pack's text is read against them: their keys,
// where each shows, and the characters the game's text route draws (those
// of CP949 that the glyph atlas holds).
const LanguageKeys& GameLanguageKeys();
