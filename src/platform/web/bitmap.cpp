// BMP pictures in the browser, read by our own code (the Linux build has
// SDL's reader): the core, info and later headers; 1, 4 and 8 bits with a
// colour table, 16 and 32 bits plain or with bit fields, and 24 bits; rows
// bottom-up or, with a negative height, top-down. Compressed pictures are
// refused. The size limits are the Linux build's.
#include "platform/bitmap.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/little_endian.h"

namespace platform {
namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

// A channel of a bit-field pixel, scaled to 8 bits.
std::uint8_t Channel(std::uint32_t pixel, std::uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1) == 0) ++shift;
  int bits = 0;
  while (shift + bits < 32 && ((mask >> (shift + bits)) & 1) != 0) ++bits;
  const std::uint32_t v = (pixel & mask) >> shift;
  if (bits >= 8) return static_cast<std::uint8_t>(v >> (bits - 8));
  // Widen by repeating the top bits, as scaling to 255 does.
  std::uint32_t wide = v << (8 - bits);
  for (int have = bits; have < 8; have += bits) wide |= wide >> bits;
  return static_cast<std::uint8_t>(wide);
}

}  // namespace

bool LoadBmpFile(const char* path, Image& out) {
  std::FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return false;
  // The largest picture BmpSizeAcceptable takes, 4096 x 4096 pixels of 32
  // bits, with room for the headers and the colour table.
  constexpr std::size_t kMaxFileBytes = std::size_t{4096} * 4096 * 4 + 65536;
  std::vector<std::uint8_t> d;
  std::uint8_t chunk[65536];
  std::size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0 && d.size() <= kMaxFileBytes) {
    d.insert(d.end(), chunk, chunk + got);
  }
  std::fclose(f);
  if (d.size() > kMaxFileBytes || d.size() < 26 || d[0] != 'B' || d[1] != 'M') return false;
  const std::uint32_t pixelOffset = ReadLe32(&d[10]);
  const std::uint32_t infoSize = ReadLe32(&d[14]);
  long long w = 0;
  long long h = 0;
  int bpp = 0;
  std::uint32_t compression = kBiRgb;
  std::uint32_t colours = 0;
  int entryBytes = 4;
  if (infoSize == 12) {
    w = ReadLe16(&d[18]);
    h = static_cast<std::int16_t>(ReadLe16(&d[20]));
    bpp = static_cast<int>(ReadLe16(&d[24]));
    entryBytes = 3;
  } else if (infoSize >= 40 && d.size() >= 14 + 40) {
    w = static_cast<std::int32_t>(ReadLe32(&d[18]));
    h = static_cast<std::int32_t>(ReadLe32(&d[22]));
    bpp = static_cast<int>(ReadLe16(&d[28]));
    compression = ReadLe32(&d[30]);
    colours = ReadLe32(&d[46]);
  } else {
    return false;
  }
  const bool topDown = h < 0;
  if (!BmpSizeAcceptable(w, h)) return false;
  h = std::llabs(h);

  std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};  // 16 bits: 5, 5, 5
  if (bpp == 32) {
    masks[0] = 0x00FF0000;
    masks[1] = 0x0000FF00;
    masks[2] = 0x000000FF;
  }
  if (compression == kBiBitfields && (bpp == 16 || bpp == 32)) {
    // The masks follow the info header (they are part of the later ones).
    if (d.size() < 14 + 40 + 12) return false;
    for (int i = 0; i < 3; ++i) masks[i] = ReadLe32(&d[54 + 4 * i]);
  } else if (compression != kBiRgb) {
    return false;
  }

  std::vector<std::uint8_t> table;
  if (bpp == 1 || bpp == 4 || bpp == 8) {
    const std::uint32_t entries = colours != 0 ? colours : 1u << bpp;
    if (entries > 256u) return false;
    const std::size_t at = 14 + infoSize;
    if (at + entries * entryBytes > d.size()) return false;
    table.assign(256 * 3, 0);
    for (std::uint32_t i = 0; i < entries; ++i) {
      for (int c = 0; c < 3; ++c) table[i * 3 + c] = d[at + i * entryBytes + c];
    }
  } else if (bpp != 16 && bpp != 24 && bpp != 32) {
    return false;
  }

  const std::size_t stride = (static_cast<std::size_t>(w) * bpp + 31) / 32 * 4;
  if (pixelOffset > d.size() || stride * h > d.size() - pixelOffset) return false;
  out.width = static_cast<int>(w);
  out.height = static_cast<int>(h);
  out.pixels.assign(static_cast<std::size_t>(w) * h * 3, 0);
  for (long long y = 0; y < h; ++y) {
    const std::uint8_t* row = d.data() + pixelOffset + stride * (topDown ? y : h - 1 - y);
    std::uint8_t* dst = out.pixels.data() + static_cast<std::size_t>(y) * w * 3;
    for (long long x = 0; x < w; ++x, dst += 3) {
      switch (bpp) {
        case 1:
        case 4:
        case 8: {
          const long long bit = x * bpp;
          const int index = (row[bit / 8] >> (8 - bpp - bit % 8)) & ((1 << bpp) - 1);
          for (int c = 0; c < 3; ++c) dst[c] = table[index * 3 + c];
          break;
        }
        case 24:
          for (int c = 0; c < 3; ++c) dst[c] = row[x * 3 + c];
          break;
        default: {
          const std::uint32_t p = bpp == 16 ? ReadLe16(row + x * 2) : ReadLe32(row + x * 4);
          dst[0] = Channel(p, masks[2]);
          dst[1] = Channel(p, masks[1]);
          dst[2] = Channel(p, masks[0]);
        }
      }
    }
  }
  return true;
}

}  // namespace platform
