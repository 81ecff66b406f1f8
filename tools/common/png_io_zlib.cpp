// PNG files on zlib alone, for the Windows build, where Debian has zlib but
// no libpng. Writes 8-bit RGB with no row filter; reads 8-bit pictures that
// are not interlaced (grey, grey and alpha, RGB, RGBA, palette), which covers
// every PNG our tools write. Others are refused with a reason.
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "common/png_io.h"

namespace pngio {
namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

void SetError(std::string* error, const std::string& text) {
  if (error != nullptr) *error = text;
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

std::uint32_t Get32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         p[3];
}

void Chunk(std::vector<std::uint8_t>& out, const char* type,
           const std::vector<std::uint8_t>& data) {
  Put32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  Put32(out, static_cast<std::uint32_t>(
                 crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

int Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = p > a ? p - a : a - p;
  const int pb = p > b ? p - b : b - p;
  const int pc = p > c ? p - c : c - p;
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

}  // namespace

namespace {

// RGB, or RGBA when `alpha` is given (one byte a pixel).
bool Write(const std::string& path, const RgbImage& image, const std::vector<std::uint8_t>* alpha,
           std::string* error) {
  const std::size_t pixels = static_cast<std::size_t>(image.width) * image.height;
  if (image.width <= 0 || image.height <= 0 || image.rgb.size() != pixels * 3 ||
      (alpha != nullptr && alpha->size() != pixels)) {
    SetError(error, path + ": no picture to write");
    return false;
  }
  const std::size_t channels = alpha != nullptr ? 4 : 3;
  const std::size_t row = static_cast<std::size_t>(image.width) * channels;
  std::vector<std::uint8_t> raw;
  raw.reserve((row + 1) * image.height);
  for (std::size_t p = 0; p < pixels; ++p) {
    if (p % static_cast<std::size_t>(image.width) == 0) raw.push_back(0);  // filter: none
    raw.insert(raw.end(), image.rgb.begin() + static_cast<std::ptrdiff_t>(p * 3),
               image.rgb.begin() + static_cast<std::ptrdiff_t>(p * 3 + 3));
    if (alpha != nullptr) raw.push_back((*alpha)[p]);
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<std::uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) !=
      Z_OK) {
    SetError(error, path + ": cannot compress the picture");
    return false;
  }
  packed.resize(packedSize);
  std::vector<std::uint8_t> header;
  Put32(header, static_cast<std::uint32_t>(image.width));
  Put32(header, static_cast<std::uint32_t>(image.height));
  // 8-bit RGB or RGBA, deflate, no interlace
  header.insert(header.end(), {8, static_cast<std::uint8_t>(alpha != nullptr ? 6 : 2), 0, 0, 0});
  std::vector<std::uint8_t> file(std::begin(kSignature), std::end(kSignature));
  Chunk(file, "IHDR", header);
  Chunk(file, "IDAT", packed);
  Chunk(file, "IEND", {});
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  if (!out.good()) {
    SetError(error, "cannot write " + path);
    return false;
  }
  return true;
}

}  // namespace

bool WritePng(const std::string& path, const RgbImage& image, std::string* error) {
  return Write(path, image, nullptr, error);
}

bool WritePngWithAlpha(const std::string& path, const RgbImage& image,
                       const std::vector<std::uint8_t>& alpha, std::string* error) {
  return Write(path, image, &alpha, error);
}

bool ReadPngWithAlpha(const std::string& path, RgbImage& image, std::vector<std::uint8_t>& alpha,
                      std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    SetError(error, "cannot open " + path);
    return false;
  }
  const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
  if (file.size() < 8 || std::memcmp(file.data(), kSignature, 8) != 0) {
    SetError(error, path + " is not a PNG file");
    return false;
  }
  std::uint32_t w = 0, h = 0;
  int colourType = -1;
  std::vector<std::uint8_t> packed, palette, paletteAlpha;
  bool ended = false;
  for (std::size_t at = 8; at + 12 <= file.size() && !ended;) {
    const std::uint32_t length = Get32(&file[at]);
    if (length > file.size() - at - 12) break;
    const std::uint8_t* type = &file[at + 4];
    const std::uint8_t* data = &file[at + 8];
    if (std::memcmp(type, "IHDR", 4) == 0 && length >= 13) {
      w = Get32(data);
      h = Get32(data + 4);
      if (data[8] != 8 || data[12] != 0) {
        SetError(error, path + ": only 8-bit pictures without interlacing are read here");
        return false;
      }
      colourType = data[9];
    } else if (std::memcmp(type, "PLTE", 4) == 0) {
      palette.assign(data, data + length);
    } else if (std::memcmp(type, "tRNS", 4) == 0) {
      paletteAlpha.assign(data, data + length);
    } else if (std::memcmp(type, "IDAT", 4) == 0) {
      packed.insert(packed.end(), data, data + length);
    } else if (std::memcmp(type, "IEND", 4) == 0) {
      ended = true;
    }
    at += 12 + std::size_t{length};
  }
  int channels = 0;
  switch (colourType) {
    case 0:
      channels = 1;
      break;
    case 2:
      channels = 3;
      break;
    case 3:
      channels = 1;
      break;
    case 4:
      channels = 2;
      break;
    case 6:
      channels = 4;
      break;
    default:
      break;
  }
  if (!ended || channels == 0 || w == 0 || h == 0 || w > 16384 || h > 16384) {
    SetError(error, path + " is a broken PNG file");
    return false;
  }
  const std::size_t stride = std::size_t{w} * channels;
  std::vector<std::uint8_t> raw((stride + 1) * h);
  uLongf rawSize = static_cast<uLongf>(raw.size());
  if (uncompress(raw.data(), &rawSize, packed.data(), static_cast<uLong>(packed.size())) != Z_OK ||
      rawSize != raw.size()) {
    SetError(error, path + " is a broken PNG file");
    return false;
  }
  // Undo the row filters.
  std::vector<std::uint8_t> pixels(stride * h);
  for (std::uint32_t y = 0; y < h; ++y) {
    const std::uint8_t filter = raw[(stride + 1) * y];
    const std::uint8_t* src = &raw[(stride + 1) * y + 1];
    std::uint8_t* cur = &pixels[stride * y];
    const std::uint8_t* up = y > 0 ? &pixels[stride * (y - 1)] : nullptr;
    for (std::size_t i = 0; i < stride; ++i) {
      const int a = i >= static_cast<std::size_t>(channels) ? cur[i - channels] : 0;
      const int b = up != nullptr ? up[i] : 0;
      const int c = up != nullptr && i >= static_cast<std::size_t>(channels) ? up[i - channels] : 0;
      int predicted = 0;
      switch (filter) {
        case 0:
          predicted = 0;
          break;
        case 1:
          predicted = a;
          break;
        case 2:
          predicted = b;
          break;
        case 3:
          predicted = (a + b) / 2;
          break;
        case 4:
          predicted = Paeth(a, b, c);
          break;
        default:
          SetError(error, path + " is a broken PNG file");
          return false;
      }
      cur[i] = static_cast<std::uint8_t>(src[i] + predicted);
    }
  }
  image.width = static_cast<int>(w);
  image.height = static_cast<int>(h);
  image.rgb.assign(std::size_t{w} * h * 3, 0);
  alpha.assign(std::size_t{w} * h, 255);
  for (std::size_t p = 0; p < std::size_t{w} * h; ++p) {
    const std::uint8_t* s = &pixels[p * channels];
    std::uint8_t* d = &image.rgb[p * 3];
    if (colourType == 3) {
      if (std::size_t{s[0]} * 3 + 2 >= palette.size()) {
        SetError(error, path + " is a broken PNG file");
        return false;
      }
      std::memcpy(d, &palette[std::size_t{s[0]} * 3], 3);
      if (s[0] < paletteAlpha.size()) alpha[p] = paletteAlpha[s[0]];
    } else if (channels <= 2) {
      d[0] = d[1] = d[2] = s[0];
      if (channels == 2) alpha[p] = s[1];
    } else {
      std::memcpy(d, s, 3);
      if (channels == 4) alpha[p] = s[3];
    }
  }
  return true;
}

bool ReadPng(const std::string& path, RgbImage& image, std::string* error) {
  std::vector<std::uint8_t> alpha;
  return ReadPngWithAlpha(path, image, alpha, error);
}

}  // namespace pngio
