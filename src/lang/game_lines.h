// Every line the game writes with its text route, each under a stable key:
// the event window's pages, the prologue's two pages and the hint lines.
// Korean is built in; a language pack gives the same keys in another
// language (lang/language.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The event window's three lines start at this x; the numbers of the file
// page and the spray-used page are written over blanks of line 3, at these x.
inline constexpr int kEventTextX = 207;
inline constexpr int kFilesLeftX = kEventTextX;
inline constexpr int kSpraysLeftX = 330;
// Where the lines can be seen. The event window's text area, which the
// prologue's window shares, is black up to the frame beside its button, at
// x 438 (the window picture, at x 162, is black to its column 275). The
// hint lines' screen on the panel is black up to x 359; its first line
// starts at x 210.
inline constexpr int kEventTextRight = 438;
inline constexpr int kHintCountX = 210;
inline constexpr int kHintScreenRight = 360;

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
  int box = 0;  // how wide it may be, in pixels: the part of its place that can be seen
};

// Every line, in the order a language pack lists them. A line's index here
// is its id for GameText (lang/language.h).
const std::vector<GameLine>& GameLines();

// The id of the line with this key, or -1.
int GameLineId(std::string_view key);
