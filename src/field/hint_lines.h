// The hint lines of an opened plain cell: how many occupied cells lie in the
// 5 x 5 block around it, and how many columns and rows away each one is.
#pragma once

inline constexpr int kHintListSize = 10;

// The three lines as the text route takes them (platform.h's PrintText), zero-
// terminated: room for the longest line a language pack may give, 60
// characters of up to three bytes, and the distances after a label.
inline constexpr int kHintLineBytes = 256;
struct NearbyHint {
  char count[kHintLineBytes];
  char columns[kHintLineBytes];
  char rows[kHintLineBytes];
};

// Builds the lines for the cell under the pointer (column gMouseX / 40 +
// viewCol, row gMouseY / 40 + viewRow). False, with nothing built, when the
// cell lies outside the field or its count is not 1 to 7.
bool BuildNearbyHint(int viewCol, int viewRow, NearbyHint* hint);

// Draws the three lines over the left of the status panel.
void ShowNearbyHint(int viewCol, int viewRow);
