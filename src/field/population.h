// A new game's field: starting supplies, the five files, the enemies, the
// items and the count of occupied cells around every cell.
#pragma once

#include <cstdint>

// Seeds the generator from the clock and lays out a new game.
void PopulateField();
// The same from a given seed; the draws come in a fixed order, so a seed
// always gives the same field.
void PopulateFieldFromSeed(std::uint32_t seed);
// Recomputes gCountLayer from gObjectLayer: for every cell, the occupied
// cells (any code but CELL_HIDDEN) in the 5 x 5 block around it, capped at 7.
void CountNearbyObjects();
