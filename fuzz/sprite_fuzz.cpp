// The sprite reader on arbitrary bytes, the way start-up uses it: count,
// allocate the frame table, load.
#include "fuzz_file.h"
#include "gfx/display.h"
#include "gfx/sprite_file.h"
#include "platform/platform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  platform::UseHeadlessBackend(nullptr);
  const char* path = fuzz::WriteScratch(data, size);
  if (path == nullptr) return 0;
  const int count = GetNumSprite(path);
  if (count > 0) {
    gSpriteFrames.assign(static_cast<std::size_t>(count), SpriteFrame{0, 0});
    LoadSprite(path);
  }
  gSpriteSurfaces.clear();
  gSpriteFrames.clear();
  return 0;
}
