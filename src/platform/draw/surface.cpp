#include "platform/draw/surface.h"

#include <algorithm>

namespace platform {

Surface::Surface(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pitch_(width_ * 3),
      pixels_(static_cast<std::size_t>(pitch_) * height_, 0) {}

}  // namespace platform
