#include "field/hint_lines.h"

#include <cstdio>

#include "gfx/display.h"
#include "lang/game_lines.h"
#include "lang/language.h"
#include "platform/draw/text_draw.h"
#include "platform/platform.h"
#include "state/game_state.h"

namespace {

constexpr int kMaxShown = 7;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

// "There are n of them", one line per count, and the labels of the two
// distance lines, in the language in use.
const char* CountLine(int n) {
  static const int kIds[kMaxShown] = {
      GameLineId("hint.count.1"), GameLineId("hint.count.2"), GameLineId("hint.count.3"),
      GameLineId("hint.count.4"), GameLineId("hint.count.5"), GameLineId("hint.count.6"),
      GameLineId("hint.count.7"),
  };
  return GameText(kIds[n - 1]);
}

// "X:  a,  b,  c": the label, two blanks, then the numbers separated by a
// comma and two blanks.
void DistanceLine(char (&out)[kHintLineBytes], const char* label, const int (&list)[kHintListSize],
                  int n) {
  int used = std::snprintf(out, sizeof out, "%s  %d", label, list[0]);
  for (int i = 1; i < n && used > 0 && used < static_cast<int>(sizeof out); ++i) {
    used +=
        std::snprintf(out + used, sizeof out - static_cast<std::size_t>(used), ",  %d", list[i]);
  }
}

bool Occupied(int code) { return (code >= 1 && code <= 8) || code >= 11; }

}  // namespace

bool BuildNearbyHint(int viewCol, int viewRow, NearbyHint* hint) {
  const int col = gMouseX / 40 + viewCol;
  const int row = gMouseY / 40 + viewRow;
  if (row < 0 || row >= kFieldRows || col < 0 || col >= kFieldCols) return false;
  const int n = gCountLayer[row][col];
  if (n < 1 || n > kMaxShown) return false;

  int columns[kHintListSize] = {};
  int rows[kHintListSize] = {};
  int found = 0;
  for (int r = row - 2; r <= row + 2; ++r) {
    for (int c = col - 2; c <= col + 2; ++c) {
      if (r == row && c == col) continue;
      if (r < 0 || r > kFieldRows - 1 || c < 0 || c > kFieldCols - 1) continue;
      if (!Occupied(gObjectLayer[r][c])) continue;
      // Only the first seven are ever shown; further cells are left out
      // rather than written past the lists.
      if (found == kHintListSize) continue;
      columns[found] = c > col ? c - col : col - c;
      rows[found] = r > row ? r - row : row - r;
      ++found;
    }
  }

  static const int kColumnsLabel = GameLineId("hint.x");
  static const int kRowsLabel = GameLineId("hint.y");
  std::snprintf(hint->count, sizeof hint->count, "%s", CountLine(n));
  DistanceLine(hint->columns, GameText(kColumnsLabel), columns, n);
  DistanceLine(hint->rows, GameText(kRowsLabel), rows, n);
  return true;
}

void ShowNearbyHint(int viewCol, int viewRow) {
  NearbyHint hint;
  if (!BuildNearbyHint(viewCol, viewRow, &hint)) return;
  PrintText(gBackBuffer, hint.count, kBlack, kWhite, 210, 372);
  PrintText(gBackBuffer, hint.columns, kBlack, kWhite, 135, 415);
  PrintText(gBackBuffer, hint.rows, kBlack, kWhite, 135, 435);
}
