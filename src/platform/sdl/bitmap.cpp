#include "platform/bitmap.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/little_endian.h"

namespace platform {
namespace {

// Pictures larger than this are refused before SDL allocates for them: a
// broken or hostile header could otherwise ask for gigabytes.
constexpr long long kMaxPixels = 4096LL * 4096;
constexpr long long kMaxSide = 16384;

// Reads the picture size from the BMP headers. False when the file is not a
// BMP of a size we accept.
bool SizeAcceptable(const char* path) {
  std::FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return false;
  std::uint8_t h[26] = {};
  const std::size_t got = std::fread(h, 1, sizeof h, f);
  std::fclose(f);
  if (got < 18 || h[0] != 'B' || h[1] != 'M') return false;
  const std::uint32_t infoSize = ReadLe32(h + 14);
  long long w = 0;
  long long ht = 0;
  if (infoSize == 12) {  // the old core header: 16-bit sizes
    if (got < 22) return false;
    w = ReadLe16(h + 18);
    ht = ReadLe16(h + 20);
  } else {
    if (got < 26) return false;
    w = ReadLeInt32(h + 18);
    ht = ReadLeInt32(h + 22);
  }
  ht = std::llabs(ht);  // a negative height marks a top-down picture
  return w > 0 && ht > 0 && w <= kMaxSide && ht <= kMaxSide && w * ht <= kMaxPixels;
}

}  // namespace

bool LoadBmpFile(const char* path, Image& out) {
  if (!SizeAcceptable(path)) return false;
  SDL_Surface* loaded = SDL_LoadBMP(path);
  if (loaded == nullptr) return false;
  SDL_Surface* bgr = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_BGR24, 0);
  SDL_FreeSurface(loaded);
  if (bgr == nullptr) return false;
  out.width = bgr->w;
  out.height = bgr->h;
  const std::size_t row = static_cast<std::size_t>(bgr->w) * 3;
  out.pixels.assign(row * bgr->h, 0);
  if (SDL_LockSurface(bgr) == 0) {
    const auto* src = static_cast<const std::uint8_t*>(bgr->pixels);
    for (int y = 0; y < bgr->h; ++y) {
      std::memcpy(out.pixels.data() + row * y, src + static_cast<std::size_t>(y) * bgr->pitch, row);
    }
    SDL_UnlockSurface(bgr);
  }
  SDL_FreeSurface(bgr);
  return out.width > 0 && out.height > 0;
}

}  // namespace platform
