#include "gfx/map_file.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/little_endian.h"
#include "platform/platform.h"
#include "state/game_state.h"

namespace {

using platform::ReadLeInt32;

// Refuses a header the game cannot use safely, naming the problem in a box
// and on the debugger output.
int Refuse(const std::string& problem) {
  platform::ShowMessageBox(problem.c_str(), "LoadMap()");
  platform::DebugOutput(("LoadMap: " + problem + "\n").c_str());
  return 0;
}

// Why a header cannot be used, or an empty string when it can.
std::string CheckHeader(int count, int width, int height, int cols, int rows) {
  char text[160];
  if (count < 0) {
    std::snprintf(text, sizeof text, "Bad tile count %d", count);
  } else if (count > kMapMaxTiles) {
    std::snprintf(text, sizeof text, "Too many tiles: %d (at most %d)", count, kMapMaxTiles);
  } else if (width < 1 || width > kMapMaxTileSide || height < 1 || height > kMapMaxTileSide) {
    std::snprintf(text, sizeof text, "Bad tile size %d x %d (1 to %d each)", width, height,
                  kMapMaxTileSide);
  } else if (cols < kMapMinCols || rows < kMapMinRows) {
    std::snprintf(text, sizeof text, "Map too small: %d x %d (at least %d x %d)", cols, rows,
                  kMapMinCols, kMapMinRows);
  } else if (cols > kMapMaxCols || rows > kMapMaxRows) {
    std::snprintf(text, sizeof text, "Map too large: %d x %d (at most %d x %d)", cols, rows,
                  kMapMaxCols, kMapMaxRows);
  } else {
    return {};
  }
  return text;
}

}  // namespace

int LoadMap(const char* fileName) {
  std::FILE* f = std::fopen(fileName, "rb");
  if (f == nullptr) {
    platform::DebugOutput("LoadMap: File Not Found.\n");
    return 0;
  }
  std::uint8_t header[kMapHeaderBytes] = {};
  const std::size_t got = std::fread(header, 1, sizeof header, f);
  (void)got;  // a short header reads as zeros
  // The tag is compared as a zero-terminated text, so bytes after its zero
  // are free; the 16-byte field has no room for a longer tag to run on.
  if (std::memchr(header, 0, kTagFieldBytes) == nullptr ||
      std::strcmp(reinterpret_cast<const char*>(header), kMapTag) != 0) {
    platform::ShowMessageBox("k4", "No - Mapfileheard.logo");
    platform::DebugOutput("LoadMap: Invalidate Format\n");
    std::fclose(f);
    return 0;
  }
  const int count = ReadLeInt32(header + 16);
  const int width = ReadLeInt32(header + 20);
  const int height = ReadLeInt32(header + 24);
  const int cols = ReadLeInt32(header + 28);
  const int rows = ReadLeInt32(header + 32);
  const std::string problem = CheckHeader(count, width, height, cols, rows);
  if (!problem.empty()) {
    std::fclose(f);
    return Refuse(problem);
  }
  ReleaseGroundLayer();
  ReleaseTileData();
  gTileCount = count;
  gTileWidth = width;
  gTileHeight = height;
  gMapCols = cols;
  gMapRows = rows;

  gGroundLayer = new int*[rows];
  for (int r = 0; r < rows; ++r) gGroundLayer[r] = new int[cols]();
  bool fileEnded = false;
  for (int r = 0; r < rows && !fileEnded; ++r) {
    for (int c = 0; c < cols; ++c) {
      std::uint8_t cell[4];
      if (std::fread(cell, 1, 4, f) != 4) {
        fileEnded = true;  // unread cells stay 0
        break;
      }
      gGroundLayer[r][c] = ReadLeInt32(cell);
    }
  }

  if (InitTileData(count) == 0) {
    std::fclose(f);
    return 0;
  }
  const std::size_t tileBytes = static_cast<std::size_t>(width) * height * 3;
  std::vector<std::uint8_t> buffer(tileBytes);
  std::shared_ptr<platform::Surface> blackTile;
  for (int i = 0; i < count; ++i) {
    std::size_t read = 0;
    if (!fileEnded) {
      std::memset(buffer.data(), 0, tileBytes);
      read = std::fread(buffer.data(), 1, tileBytes, f);
      if (read < tileBytes) fileEnded = true;
    }
    if (read == 0) {
      // Past the end of the file every tile is black; they share one
      // surface so that a large count in a short file costs no memory.
      if (!blackTile) blackTile = std::make_shared<platform::Surface>(width, height);
      gTileSurfaces[i] = blackTile;
      continue;
    }
    gTileSurfaces[i] = std::make_shared<platform::Surface>(width, height);
    CopyTilePixels(gTileSurfaces[i].get(), buffer.data());
  }
  std::fclose(f);
  return 1;
}

int InitTileData(int count) {
  if (count < 0) return 0;
  gTileSurfaces.assign(static_cast<std::size_t>(count), nullptr);
  platform::DebugOutput("InitTileData OK.\n");
  return 1;
}

void CopyTilePixels(platform::Surface* surface, const std::uint8_t* pixels) {
  if (surface == nullptr || pixels == nullptr) return;
  const std::size_t row = static_cast<std::size_t>(gTileWidth) * 3;
  for (int y = 0; y < gTileHeight && y < surface->Height(); ++y) {
    std::memcpy(surface->Row(y), pixels + row * y, row);
  }
}

void ReleaseTileData() { gTileSurfaces.clear(); }

int GroundTile(int row, int col) {
  if (gGroundLayer == nullptr || row < 0 || row >= gMapRows || col < 0 || col >= gMapCols) {
    return -1;
  }
  const int v = gGroundLayer[row][col];
  if (v == INT_MIN) return -1;
  return v < 0 ? -v : v;
}

void ReleaseGroundLayer() {
  if (gGroundLayer == nullptr) return;
  for (int r = 0; r < gMapRows; ++r) delete[] gGroundLayer[r];
  delete[] gGroundLayer;
  gGroundLayer = nullptr;
}
