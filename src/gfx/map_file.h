// The game's map: LoadMap reads the map file (formats/map_format.h) into the
// ground layer and one tile surface per tile image.
#pragma once

#include <cstdint>

#include "formats/map_format.h"
#include "gfx/display.h"

int LoadMap(const char* fileName);
// The ground tile of a map cell: the absolute value of its number; -1 (no
// tile) outside the map, with no map, and for -2^31, which has no absolute
// value.
int GroundTile(int row, int col);
int InitTileData(int count);
void CopyTilePixels(platform::Surface* surface, const std::uint8_t* pixels);
void ReleaseTileData();
// Frees the ground layer (its rows and its row index).
void ReleaseGroundLayer();
