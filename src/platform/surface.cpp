#include "platform/surface.h"

#include <algorithm>
#include <cstring>

#include "platform/port.h"

namespace platform {

Surface::Surface(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pitch_(width_ * 3),
      pixels_(static_cast<std::size_t>(pitch_) * height_, 0) {
  // Surfaces are made while loading, hundreds at a time (the map's tiles).
  BreatheDuringLoad();
}

HRESULT BltFast(Surface& dst, int x, int y, const Surface& src, const Rect& r,
                std::uint32_t flags) {
  if (dst.IsLost() || src.IsLost()) return DDERR_SURFACELOST;
  if ((dst.OnDisplay() || src.OnDisplay()) && DisplayBusy()) {
    return DDERR_WASSTILLDRAWING;
  }
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return DDERR_INVALIDRECT;
  if (r.left < 0 || r.top < 0 || r.right > src.Width() || r.bottom > src.Height()) {
    return DDERR_INVALIDRECT;
  }
  // No clipping: the whole rectangle must fit, or nothing is drawn. The sums
  // are done in 64 bits so that no position can overflow into a fit.
  if (x < 0 || y < 0 || static_cast<long long>(x) + w > dst.Width() ||
      static_cast<long long>(y) + h > dst.Height()) {
    return DDERR_INVALIDRECT;
  }
  const std::size_t rowBytes = static_cast<std::size_t>(w) * 3;
  const bool keyed = (flags & DDBLTFAST_SRCCOLORKEY) != 0 && src.HasColorKey();
  if (!keyed) {
    for (int row = 0; row < h; ++row) {
      std::memcpy(dst.Row(y + row) + static_cast<std::size_t>(x) * 3,
                  src.Row(r.top + row) + static_cast<std::size_t>(r.left) * 3, rowBytes);
    }
    return DD_OK;
  }
  const std::uint8_t k0 = src.ColorKey() & 0xFF;
  const std::uint8_t k1 = (src.ColorKey() >> 8) & 0xFF;
  const std::uint8_t k2 = (src.ColorKey() >> 16) & 0xFF;
  for (int row = 0; row < h; ++row) {
    const std::uint8_t* s = src.Row(r.top + row) + static_cast<std::size_t>(r.left) * 3;
    std::uint8_t* d = dst.Row(y + row) + static_cast<std::size_t>(x) * 3;
    for (int col = 0; col < w; ++col, s += 3, d += 3) {
      if (s[0] == k0 && s[1] == k1 && s[2] == k2) continue;
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
    }
  }
  return DD_OK;
}

}  // namespace platform
