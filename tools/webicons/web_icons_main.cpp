// vedo-web-icons ICON OUT_DIR SIZE...: writes OUT_DIR/icon-SIZE.png for each
// size, the icon scaled to SIZE x SIZE. Smaller sizes average the pixels
// each new pixel covers; larger ones interpolate between the four nearest.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/png_io.h"

namespace {

constexpr int kLargest = 4096;

// The mean of the source over the square [x0, x1) x [y0, y1), each source
// pixel weighted by how much of it lies inside.
void Average(const pngio::RgbImage& in, double x0, double x1, double y0, double y1,
             std::uint8_t* out) {
  double sum[3] = {};
  double area = 0;
  for (int y = static_cast<int>(y0); y < std::ceil(y1) && y < in.height; ++y) {
    const double wy = std::min<double>(y + 1, y1) - std::max<double>(y, y0);
    for (int x = static_cast<int>(x0); x < std::ceil(x1) && x < in.width; ++x) {
      const double w = wy * (std::min<double>(x + 1, x1) - std::max<double>(x, x0));
      const std::uint8_t* p = &in.rgb[(static_cast<std::size_t>(y) * in.width + x) * 3];
      for (int c = 0; c < 3; ++c) sum[c] += w * p[c];
      area += w;
    }
  }
  for (int c = 0; c < 3; ++c) out[c] = static_cast<std::uint8_t>(std::lround(sum[c] / area));
}

// The source at (x, y) in pixel-centre coordinates, between its four
// nearest pixels.
void Interpolate(const pngio::RgbImage& in, double x, double y, std::uint8_t* out) {
  x = std::clamp(x, 0.0, in.width - 1.0);
  y = std::clamp(y, 0.0, in.height - 1.0);
  const int x0 = static_cast<int>(x);
  const int y0 = static_cast<int>(y);
  const int x1 = std::min(x0 + 1, in.width - 1);
  const int y1 = std::min(y0 + 1, in.height - 1);
  const double fx = x - x0;
  const double fy = y - y0;
  auto at = [&](int px, int py, int c) {
    return in.rgb[(static_cast<std::size_t>(py) * in.width + px) * 3 + c];
  };
  for (int c = 0; c < 3; ++c) {
    const double top = at(x0, y0, c) * (1 - fx) + at(x1, y0, c) * fx;
    const double bottom = at(x0, y1, c) * (1 - fx) + at(x1, y1, c) * fx;
    out[c] = static_cast<std::uint8_t>(std::lround(top * (1 - fy) + bottom * fy));
  }
}

pngio::RgbImage Scale(const pngio::RgbImage& in, int size) {
  pngio::RgbImage out;
  out.width = out.height = size;
  out.rgb.resize(static_cast<std::size_t>(size) * size * 3);
  const double sx = static_cast<double>(in.width) / size;
  const double sy = static_cast<double>(in.height) / size;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      std::uint8_t* p = &out.rgb[(static_cast<std::size_t>(y) * size + x) * 3];
      if (sx >= 1 && sy >= 1) {
        Average(in, x * sx, (x + 1) * sx, y * sy, (y + 1) * sy, p);
      } else {
        Interpolate(in, (x + 0.5) * sx - 0.5, (y + 0.5) * sy - 0.5, p);
      }
    }
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: vedo-web-icons ICON OUT_DIR SIZE...\n");
    return 2;
  }
  pngio::RgbImage icon;
  std::string error;
  if (!pngio::ReadPng(argv[1], icon, &error)) {
    std::fprintf(stderr, "vedo-web-icons: %s\n", error.c_str());
    return 1;
  }
  for (int i = 3; i < argc; ++i) {
    const int size = std::atoi(argv[i]);
    if (size < 1 || size > kLargest) {
      std::fprintf(stderr, "vedo-web-icons: %s is not a size from 1 to %d\n", argv[i], kLargest);
      return 2;
    }
    const std::string path = std::string(argv[2]) + "/icon-" + std::to_string(size) + ".png";
    if (!pngio::WritePng(path, Scale(icon, size), &error)) {
      std::fprintf(stderr, "vedo-web-icons: %s\n", error.c_str());
      return 1;
    }
  }
  return 0;
}
