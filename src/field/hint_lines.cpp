#include "field/hint_lines.h"

#include <cstdio>
#include <string>

#include "gfx/display.h"
#include "gfx/text.h"
#include "platform/text.h"
#include "state/game_state.h"

namespace {

constexpr int kMaxShown = 7;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

// "There are n of them", one line per count, kept as CP949 bytes.
const std::string& CountLine(int n) {
  static const std::string kLines[kMaxShown] = {
      platform::Utf8ToCp949("1개가 있습니다."), platform::Utf8ToCp949("2개가 있습니다."),
      platform::Utf8ToCp949("3개가 있습니다."), platform::Utf8ToCp949("4개가 있습니다."),
      platform::Utf8ToCp949("5개가 있습니다."), platform::Utf8ToCp949("6개가 있습니다."),
      platform::Utf8ToCp949("7개가 있습니다."),
  };
  return kLines[n - 1];
}

// "X:  a,  b,  c": the label, two blanks, then the numbers separated by a
// comma and two blanks.
void DistanceLine(char (&out)[64], char axis, const int (&list)[kHintListSize], int n) {
  int used = std::snprintf(out, sizeof out, "%c:  %d", axis, list[0]);
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

  const std::string& count = CountLine(n);
  std::snprintf(hint->count, sizeof hint->count, "%s", count.c_str());
  DistanceLine(hint->columns, 'X', columns, n);
  DistanceLine(hint->rows, 'Y', rows, n);
  return true;
}

void ShowNearbyHint(int viewCol, int viewRow) {
  NearbyHint hint;
  if (!BuildNearbyHint(viewCol, viewRow, &hint)) return;
  PrintText(gBackBuffer, hint.count, kBlack, kWhite, 210, 372);
  PrintText(gBackBuffer, hint.columns, kBlack, kWhite, 135, 415);
  PrintText(gBackBuffer, hint.rows, kBlack, kWhite, 135, 435);
}
