// What every PNG writer of the tree shares: our surfaces' B, G, R rows turned
// into a PNG's R, G, B picture.
#include "common/png_io.h"

namespace pngio {

RgbImage FromBgr(const std::uint8_t* bgr, int width, int height, int pitch) {
  RgbImage image;
  image.width = width;
  image.height = height;
  image.rgb.resize(static_cast<std::size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* s = bgr + static_cast<std::size_t>(y) * pitch;
    std::uint8_t* d = image.rgb.data() + static_cast<std::size_t>(y) * width * 3;
    for (int x = 0; x < width; ++x, s += 3, d += 3) {
      d[0] = s[2];
      d[1] = s[1];
      d[2] = s[0];
    }
  }
  return image;
}

}  // namespace pngio
