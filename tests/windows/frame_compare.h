// Frames of the Linux and the Windows builds compared outside the text,
// whose face differs between them.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "common/png_io.h"

namespace wintest {

inline bool Lit(const std::uint8_t* p) { return p[0] != 0 || p[1] != 0 || p[2] != 0; }

// Where two frames of the same pass differ, the difference must be text: one
// of the two pixels is the black of a text box. Differences are grouped into
// boxes (pixels up to 8 apart belong together); a box where the Linux frame
// has text must have lit pixels in the Windows frame too. Returns what is
// wrong, or an empty string.
inline std::string CompareOutsideText(const pngio::RgbImage& onLinux,
                                      const pngio::RgbImage& onWindows) {
  if (onLinux.width != onWindows.width || onLinux.height != onWindows.height) return "sizes differ";
  const int w = onLinux.width;
  const int h = onLinux.height;
  std::vector<std::uint8_t> differs(static_cast<std::size_t>(w) * h, 0);
  for (int i = 0; i < w * h; ++i) {
    const std::uint8_t* a = &onLinux.rgb[static_cast<std::size_t>(i) * 3];
    const std::uint8_t* b = &onWindows.rgb[static_cast<std::size_t>(i) * 3];
    if (a[0] == b[0] && a[1] == b[1] && a[2] == b[2]) continue;
    if (Lit(a) && Lit(b)) {
      return "pixel (" + std::to_string(i % w) + ", " + std::to_string(i / w) +
             ") differs outside any text box";
    }
    differs[static_cast<std::size_t>(i)] = 1;
  }
  std::vector<int> stack;
  for (int start = 0; start < w * h; ++start) {
    if (differs[static_cast<std::size_t>(start)] != 1) continue;
    int x0 = w, y0 = h, x1 = -1, y1 = -1;
    stack.assign(1, start);
    differs[static_cast<std::size_t>(start)] = 2;
    while (!stack.empty()) {
      const int i = stack.back();
      stack.pop_back();
      const int x = i % w;
      const int y = i / w;
      x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
      for (int dy = -8; dy <= 8; ++dy) {
        for (int dx = -8; dx <= 8; ++dx) {
          const int nx = x + dx;
          const int ny = y + dy;
          if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
          auto& d = differs[static_cast<std::size_t>(ny) * w + nx];
          if (d == 1) {
            d = 2;
            stack.push_back(ny * w + nx);
          }
        }
      }
    }
    bool linuxText = false;
    bool windowsLit = false;
    for (int y = y0; y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x) {
        const std::size_t at = (static_cast<std::size_t>(y) * w + x) * 3;
        const std::uint8_t* a = &onLinux.rgb[at];
        const std::uint8_t* b = &onWindows.rgb[at];
        linuxText |= Lit(a) && !Lit(b);
        windowsLit |= Lit(b);
      }
    }
    if (linuxText && !windowsLit) {
      return "the text box at (" + std::to_string(x0) + ", " + std::to_string(y0) + ")-(" +
             std::to_string(x1) + ", " + std::to_string(y1) + ") is empty on Windows";
    }
  }
  return "";
}

}  // namespace wintest
