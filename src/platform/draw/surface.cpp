#include "platform/draw/surface.h"

#include <algorithm>

#include "formats/load_breath.h"

namespace platform {

Surface::Surface(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pitch_(width_ * 3),
      pixels_(static_cast<std::size_t>(pitch_) * height_, 0) {
  // Surfaces are made while loading, hundreds at a time (the map's tiles).
  BreatheDuringLoad();
}

}  // namespace platform
