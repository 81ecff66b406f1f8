#include "formats/map_format.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "formats/little_endian.h"

namespace {

// Why a header cannot be used, or an empty string when it can.
std::string HeaderProblem(const MapFile& m) {
  char text[160];
  if (m.tileCount < 0) {
    std::snprintf(text, sizeof text, "Bad tile count %d", m.tileCount);
  } else if (m.tileCount > kMapMaxTiles) {
    std::snprintf(text, sizeof text, "Too many tiles: %d (at most %d)", m.tileCount, kMapMaxTiles);
  } else if (m.tileWidth < 1 || m.tileWidth > kMapMaxTileSide || m.tileHeight < 1 ||
             m.tileHeight > kMapMaxTileSide) {
    std::snprintf(text, sizeof text, "Bad tile size %d x %d (1 to %d each)", m.tileWidth,
                  m.tileHeight, kMapMaxTileSide);
  } else if (m.cols < kMapMinCols || m.rows < kMapMinRows) {
    std::snprintf(text, sizeof text, "Map too small: %d x %d (at least %d x %d)", m.cols, m.rows,
                  kMapMinCols, kMapMinRows);
  } else if (m.cols > kMapMaxCols || m.rows > kMapMaxRows) {
    std::snprintf(text, sizeof text, "Map too large: %d x %d (at most %d x %d)", m.cols, m.rows,
                  kMapMaxCols, kMapMaxRows);
  } else {
    return {};
  }
  return text;
}

}  // namespace

MapParse ParseMap(const std::uint8_t* data, std::size_t size, MapFile& out, std::string* problem) {
  using platform::ReadLeInt32;
  out = MapFile{};
  std::uint8_t header[kMapHeaderBytes] = {};  // a short header reads as zeros
  std::size_t at = std::min<std::size_t>(size, sizeof header);
  if (at > 0) std::memcpy(header, data, at);
  // The tag is compared as a zero-terminated text, so bytes after its zero
  // are free; the 16-byte field has no room for a longer tag to run on.
  if (std::memcmp(header, kMapTag, sizeof kMapTag) != 0) return MapParse::kBadTag;
  MapFile m;
  std::memcpy(m.tag.data(), header, kTagFieldBytes);
  m.tileCount = ReadLeInt32(header + 16);
  m.tileWidth = ReadLeInt32(header + 20);
  m.tileHeight = ReadLeInt32(header + 24);
  m.cols = ReadLeInt32(header + 28);
  m.rows = ReadLeInt32(header + 32);
  std::memcpy(m.unused.data(), header + 36, m.unused.size());
  const std::string why = HeaderProblem(m);
  if (!why.empty()) {
    if (problem != nullptr) *problem = why;
    return MapParse::kBadHeader;
  }
  // A cell cut short reads as 0, and no tile follows it.
  m.cells.assign(static_cast<std::size_t>(m.cols) * static_cast<std::size_t>(m.rows), 0);
  const std::size_t wholeCells = std::min(m.cells.size(), (size - at) / 4);
  for (std::size_t i = 0; i < wholeCells; ++i) m.cells[i] = ReadLeInt32(data + at + 4 * i);
  at = wholeCells == m.cells.size() ? at + 4 * wholeCells : size;
  const std::uint64_t tileBytes = static_cast<std::uint64_t>(m.TileBytes()) * m.tileCount;
  const std::size_t tilesHere =
      static_cast<std::size_t>(std::min<std::uint64_t>(size - at, tileBytes));
  m.tiles.assign(data + at, data + at + tilesHere);
  m.trailing.assign(data + at + tilesHere, data + size);
  m.missingBytes = m.FileBytes() > size ? m.FileBytes() - size : 0;
  out = std::move(m);
  return MapParse::kOk;
}
