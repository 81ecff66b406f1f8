// The picture sizes every platform's BMP reader takes, checked before the
// reader allocates for them.
#include <cstdio>
#include <cstdlib>

#include "platform/bitmap.h"
#include "platform/little_endian.h"

namespace platform {

bool BmpSizeAcceptable(long long width, long long height) {
  constexpr long long kMaxPixels = 4096LL * 4096;
  constexpr long long kMaxSide = 16384;
  height = std::llabs(height);  // a negative height marks a top-down picture
  return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
         width * height <= kMaxPixels;
}

bool BmpFileSize(const char* path, long long& width, long long& height) {
  std::FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return false;
  std::uint8_t h[26] = {};
  const std::size_t got = std::fread(h, 1, sizeof h, f);
  std::fclose(f);
  if (got < 18 || h[0] != 'B' || h[1] != 'M') return false;
  const std::uint32_t infoSize = ReadLe32(h + 14);
  if (infoSize == 12) {  // the old core header: 16-bit sizes
    if (got < 22) return false;
    width = ReadLe16(h + 18);
    height = ReadLe16(h + 20);
  } else {
    if (got < 26) return false;
    width = ReadLeInt32(h + 18);
    height = ReadLeInt32(h + 22);
  }
  return true;
}

bool BmpFileSizeAcceptable(const char* path) {
  long long w = 0;
  long long ht = 0;
  return BmpFileSize(path, w, ht) && BmpSizeAcceptable(w, ht);
}

}  // namespace platform
