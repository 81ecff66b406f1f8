#include "gfx/map_file.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>

#include "formats/file_bytes.h"
#include "formats/load_breath.h"
#include "platform/platform.h"
#include "state/game_state.h"

int LoadMap(const char* fileName) {
  std::vector<std::uint8_t> bytes;
  if (platform::ReadFileBytes(fileName, bytes, kMapHeaderBytes) == platform::FileRead::kMissing) {
    platform::DebugOutput("LoadMap: File Not Found.\n");
    return 0;
  }
  MapFile map;
  std::string problem;
  MapParse parsed = ParseMap(bytes.data(), bytes.size(), map, &problem);
  if (parsed == MapParse::kOk) {
    // Then the rest, and no more of the file than its header promises.
    platform::ReadFileBytes(
        fileName, bytes,
        static_cast<std::size_t>(std::min<std::uint64_t>(map.FileBytes(), SIZE_MAX)));
    // The whole map is megabytes: reading it and parsing it are a piece each.
    platform::BreatheDuringLoad();
    parsed = ParseMap(bytes.data(), bytes.size(), map, &problem);
  }
  switch (parsed) {
    case MapParse::kBadTag:
      platform::ShowMessageBox("k4", "No - Mapfileheard.logo");
      platform::DebugOutput("LoadMap: Invalidate Format\n");
      return 0;
    case MapParse::kBadHeader:
      // Refused in a box and on the debugger output, both naming the problem.
      platform::ShowMessageBox(problem.c_str(), "LoadMap()");
      platform::DebugOutput(("LoadMap: " + problem + "\n").c_str());
      return 0;
    case MapParse::kOk:
      break;
  }
  bytes = {};
  ReleaseGroundLayer();
  ReleaseTileData();
  gTileCount = map.tileCount;
  gTileWidth = map.tileWidth;
  gTileHeight = map.tileHeight;
  gMapCols = map.cols;
  gMapRows = map.rows;
  gGroundLayer = new int*[gMapRows];
  for (int r = 0; r < gMapRows; ++r) {
    gGroundLayer[r] = new int[gMapCols];
    for (int c = 0; c < gMapCols; ++c) gGroundLayer[r][c] = map.Cell(r, c);
  }

  if (InitTileData(gTileCount) == 0) return 0;
  const std::size_t tileBytes = map.TileBytes();
  std::vector<std::uint8_t> buffer(tileBytes);
  std::shared_ptr<platform::Surface> blackTile;
  for (std::size_t i = 0; i < gTileSurfaces.size(); ++i) {
    const std::size_t at = i * tileBytes;
    if (at >= map.tiles.size()) {
      // Past the end of the file every tile is black; they share one
      // surface so that a large count in a short file costs no memory.
      if (!blackTile) blackTile = std::make_shared<platform::Surface>(gTileWidth, gTileHeight);
      gTileSurfaces[i] = blackTile;
      continue;
    }
    // A tile cut short by the end of the file is black where it is missing.
    const std::size_t here = std::min(tileBytes, map.tiles.size() - at);
    std::memcpy(buffer.data(), map.tiles.data() + at, here);
    std::memset(buffer.data() + here, 0, tileBytes - here);
    gTileSurfaces[i] = std::make_shared<platform::Surface>(gTileWidth, gTileHeight);
    CopyTilePixels(gTileSurfaces[i].get(), buffer.data());
  }
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
