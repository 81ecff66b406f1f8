// The hint lines of an opened plain cell: how many occupied cells lie in the
// 5 x 5 block around it, and how many columns and rows away each one is.
#pragma once

inline constexpr int kHintListSize = 10;

// The three lines as CP949 bytes, zero-terminated; a line longer than its
// room is cut.
struct NearbyHint {
  char count[128];
  char columns[160];
  char rows[160];
};

// Builds the lines for the cell under the pointer (column gMouseX / 40 +
// viewCol, row gMouseY / 40 + viewRow). False, with nothing built, when the
// cell lies outside the field or its count is not 1 to 7.
bool BuildNearbyHint(int viewCol, int viewRow, NearbyHint* hint);

// Draws the three lines over the left of the status panel.
void ShowNearbyHint(int viewCol, int viewRow);
