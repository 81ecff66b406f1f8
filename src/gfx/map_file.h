// The map file: the map's size, one tile number per cell, and the tile
// images. Layout (all integers 32-bit signed little-endian):
//   header, 52 bytes: tag "RevUdav v1\0" in 16 bytes, tile count, tile
//     width, tile height, columns, rows, 16 bytes unused;
//   cells: rows x columns tile numbers, row-major;
//   tiles: count images of height rows of width pixels, 3 bytes a pixel.
#pragma once

#include <cstdint>

#include "gfx/display.h"
#include "state/data_contract.h"

// The header's size and tag are kMapHeaderBytes and kMapTag
// (state/data_contract.h).

// Limits on what the game can show. The field's layers are 18 x 25 and the
// panel takes three more rows; the screen shows 16 x 12 tiles.
inline constexpr int kMapMinCols = 16;
inline constexpr int kMapMinRows = 12;
inline constexpr int kMapMaxCols = 25;
inline constexpr int kMapMaxRows = 21;
inline constexpr int kMapMaxTileSide = 256;
inline constexpr int kMapMaxTiles = 65536;

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
