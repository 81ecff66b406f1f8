// The drawing half of a field frame: scrolling, the 16 x 9 map view, the
// status panel with its indicators, and the highlight under the pointer.
#pragma once

#include "state/data_contract.h"

// The screen's cells, kViewCols by kScreenRows, are in state/data_contract.h.

// The three ammunition digits as the frame begins.
struct AmmoDigits {
  int hundreds;
  int tens;
  int units;
};
// Splits a shown ammunition count into its digits, truncating toward zero,
// so a negative count gives negative digits. Counts above 999 show 999.
AmmoDigits TakeAmmoDigits(int ammoShown);

// The tile drawn for an opened cell: by its count for CELL_OPENED, by its
// code for the taken and beaten cells; -1 when the cell draws nothing.
int OpenedCellTile(int code, int count);

// Moves the view by at most one cell toward an edge the pointer touches.
void ScrollView();
// The map cells under the view.
void DrawMapView();
// The panel picture from the map's last three rows, the weapon icon, the
// spray digit, the weapon mark, the ammunition digits and the health icon.
void DrawPanel(const AmmoDigits& digits);
// The frame around the screen cell under the pointer.
void DrawPointerHighlight();

// Whether (col, row) lies on the field's 18 x 25 layers.
bool InField(int col, int row);
// The object-layer code of a cell, or CELL_HIDDEN for a cell outside the
// field's layers, where nothing lies.
int CellCode(int col, int row);
// The cell's count, or 0 outside the field.
int CellCount(int col, int row);
