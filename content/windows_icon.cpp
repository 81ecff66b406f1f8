// The Windows program icon, as an .ico file: the desktop icon drawn at each
// size Windows asks for (16 and 24 for lists and the title bar, 32 and 48
// for the desktop and Alt+Tab, 256 for large views and scaled screens), each
// an uncompressed 32-bit image with its alpha and the 1-bit mask older
// readers want.
#include <algorithm>
#include <cmath>

#include "content/datakit.h"

namespace datakit {
namespace {

constexpr int kSizes[] = {16, 24, 32, 48, 256};

// One image of the file: a BITMAPINFOHEADER of twice the height (the colour
// rows, then the mask's), the B, G, R, A rows bottom-up, and the mask, one
// bit a pixel set where the icon is clear, its rows padded to 32 bits.
kit::Bytes IconImage(const Canvas& c) {
  const int n = c.W();
  kit::Bytes out;
  kit::PutLe32(out, 40);
  kit::PutLe32(out, static_cast<std::uint32_t>(n));
  kit::PutLe32(out, static_cast<std::uint32_t>(2 * n));
  kit::PutLe16(out, 1);
  kit::PutLe16(out, 32);
  for (int i = 0; i < 6; ++i) kit::PutLe32(out, 0);  // no compression; the rest unused
  const auto byte = [](float v) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 255.0f)));
  };
  for (int y = n - 1; y >= 0; --y) {
    for (int x = 0; x < n; ++x) {
      const float a = c.Alpha(x, y);
      // The canvas blends its edges into its black ground; the file keeps
      // the colour and the coverage apart.
      const Rgb p = a > 0 ? c.At(x, y) * (1 / std::min(a, 1.0f)) : Rgb{};
      out.push_back(byte(p.b));
      out.push_back(byte(p.g));
      out.push_back(byte(p.r));
      out.push_back(byte(a * 255));
    }
  }
  const int maskRow = (n + 31) / 32 * 4;
  for (int y = n - 1; y >= 0; --y) {
    kit::Bytes row(static_cast<std::size_t>(maskRow), 0);
    for (int x = 0; x < n; ++x) {
      if (byte(c.Alpha(x, y) * 255) == 0) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

}  // namespace

std::vector<std::uint8_t> MakeWindowsIcon() {
  constexpr std::size_t kCount = sizeof kSizes / sizeof kSizes[0];
  std::vector<kit::Bytes> images;
  for (int size : kSizes) images.push_back(IconImage(PaintIcon(size)));
  kit::Bytes out;
  kit::PutLe16(out, 0);
  kit::PutLe16(out, 1);  // an icon, not a cursor
  kit::PutLe16(out, kCount);
  std::uint32_t offset = 6 + 16 * kCount;
  for (std::size_t i = 0; i < kCount; ++i) {
    const int size = kSizes[i];
    out.push_back(static_cast<std::uint8_t>(size % 256));  // 0 stands for 256
    out.push_back(static_cast<std::uint8_t>(size % 256));
    out.push_back(0);  // no palette
    out.push_back(0);
    kit::PutLe16(out, 1);   // planes
    kit::PutLe16(out, 32);  // bits a pixel
    kit::PutLe32(out, static_cast<std::uint32_t>(images[i].size()));
    kit::PutLe32(out, offset);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const kit::Bytes& image : images) out.insert(out.end(), image.begin(), image.end());
  return out;
}

}  // namespace datakit
