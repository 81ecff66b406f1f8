#include "platform/bitmap.h"

#include <SDL.h>

#include <cstring>

namespace platform {

bool LoadBmpFile(const char* path, Image& out) {
  if (!BmpFileSizeAcceptable(path)) return false;
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
