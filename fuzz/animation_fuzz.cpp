// The animation reader on arbitrary bytes.
#include "fuzz_file.h"
#include "gfx/sprite_file.h"
#include "platform/platform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  platform::UseHeadlessBackend(nullptr);
  const char* path = fuzz::WriteScratch(data, size);
  if (path == nullptr) return 0;
  GetNumAction(path);
  Animation animation;
  LoadAnimation(path, &animation);
  return 0;
}
