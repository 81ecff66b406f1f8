// The picture path on arbitrary bytes: our BMP reader, which Linux and the
// browser load their pictures with, then the game's loading through the
// build's reader, stretched over a surface of each picture size the game
// uses.
#include "formats/bmp_file.h"
#include "fuzz_file.h"
#include "gfx/bitmap.h"
#include "platform/platform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  platform::Image image;
  platform::DecodeBmp(data, size, image);
  const char* path = fuzz::WriteScratch(data, size);
  if (path == nullptr) return 0;
  static platform::Surface full(640, 480);
  static platform::Surface window(317, 241);
  static platform::Surface sheet(320, 327);
  ReloadBitmap(&full, path);
  ReloadBitmap(&window, path);
  ReloadBitmap(&sheet, path);
  static DisplayDevice device;
  delete LoadPalette(&device, path);
  return 0;
}
