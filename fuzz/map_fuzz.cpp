// The map reader on arbitrary bytes: it must load or refuse, never read or
// write outside its tables, and never allocate more than the file can hold.
#include "fuzz_file.h"
#include "gfx/map_file.h"
#include "platform/platform.h"
#include "state/game_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  platform::UseHeadlessBackend(nullptr);
  const char* path = fuzz::WriteScratch(data, size);
  if (path == nullptr) return 0;
  if (LoadMap(path) == 1) {
    // What the field view does with every cell: draw the absolute value.
    for (int r = 0; r < gMapRows; ++r) {
      for (int c = 0; c < gMapCols; ++c) {
        const int tile = gGroundLayer[r][c];
        (void)(tile < 0 ? -static_cast<long long>(tile) : tile);
      }
    }
  }
  ReleaseGroundLayer();
  ReleaseTileData();
  return 0;
}
