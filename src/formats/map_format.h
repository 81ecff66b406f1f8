// The map file: the map's size, one tile number per cell, and the tile
// images. Layout (all integers 32-bit signed little-endian):
//   header, 52 bytes: tag "RevUdav v1\0" in 16 bytes, tile count, tile
//     width, tile height, columns, rows, 16 bytes unused;
//   cells: rows x columns tile numbers, row-major;
//   tiles: count images of height rows of width pixels, 3 bytes a pixel.
//
// ParseMap reads it from bytes, for the game's loader (gfx/map_file.h) and
// for vedo-kit, which adds its own rules on top.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The tag, zero-terminated in a 16-byte field (the sprite file's too).
inline constexpr char kMapTag[] = "RevUdav v1";
inline constexpr int kMapHeaderBytes = 52;
inline constexpr int kTagFieldBytes = 16;

// Limits on what the game can show. The field's layers are 18 x 25 and the
// panel takes three more rows; the screen shows 16 x 12 tiles.
inline constexpr int kMapMinCols = 16;
inline constexpr int kMapMinRows = 12;
inline constexpr int kMapMaxCols = 25;
inline constexpr int kMapMaxRows = 21;
inline constexpr int kMapMaxTileSide = 256;
inline constexpr int kMapMaxTiles = 65536;

struct MapFile {
  std::array<std::uint8_t, kTagFieldBytes> tag{};  // the tag field, bytes after the zero included
  std::int32_t tileCount = 0;
  std::int32_t tileWidth = 0;
  std::int32_t tileHeight = 0;
  std::int32_t cols = 0;
  std::int32_t rows = 0;
  std::array<std::uint8_t, 16> unused{};  // header bytes 36 to 51, kept as found
  std::vector<std::int32_t> cells;        // rows x cols, row-major
  std::vector<std::uint8_t> tiles;        // tileCount images of w x h x 3 bytes
  std::vector<std::uint8_t> trailing;     // anything after the last tile
  // What the header promises past the end of the file. The game reads the
  // cells there as 0 and the tiles as black: `cells` is whole, `tiles` holds
  // what the file has.
  std::uint64_t missingBytes = 0;

  std::size_t TileBytes() const {
    return static_cast<std::size_t>(tileWidth) * static_cast<std::size_t>(tileHeight) * 3;
  }
  // The size of the file the header describes.
  std::uint64_t FileBytes() const {
    return kMapHeaderBytes + 4ull * cells.size() +
           static_cast<std::uint64_t>(TileBytes()) * tileCount;
  }
  std::int32_t Cell(int row, int col) const {
    return cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(cols) +
                 static_cast<std::size_t>(col)];
  }
};

enum class MapParse { kOk, kBadTag, kBadHeader };

// Reads a map file held in memory. kBadTag when the tag differs (a header
// cut short reads as zeros); kBadHeader, with the problem in words, when the
// header's figures are beyond what the game can use safely.
MapParse ParseMap(const std::uint8_t* data, std::size_t size, MapFile& out,
                  std::string* problem = nullptr);
