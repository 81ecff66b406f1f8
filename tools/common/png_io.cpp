// PNG files through stb_image and stb_image_write, the same code in every
// build (Linux, MinGW-w64 and Emscripten).
//
// What a PNG says of its sizes is a claim. stb_image allocates what an IDAT
// chunk claims before reading it and keeps growing its inflate buffer while
// the data inflates, so the reader bounds it: the file is read whole, up to
// kMaxFileBytes; every chunk must fit in what is left of the file; the
// header's size is held to the caller's limit before anything is decoded;
// and each allocation of stb_image is held to what a picture of that size
// can need (allocationLimit below).
#include "common/png_io.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "formats/file_bytes.h"

namespace {

thread_local std::size_t allocationLimit = 0;

void* LimitedMalloc(std::size_t n) { return n <= allocationLimit ? std::malloc(n) : nullptr; }
void* LimitedRealloc(void* p, std::size_t n) {
  return n <= allocationLimit ? std::realloc(p, n) : nullptr;
}

}  // namespace

#define STBI_MALLOC LimitedMalloc
#define STBI_REALLOC LimitedRealloc
#define STBI_FREE std::free
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_MAX_DIMENSIONS pngio::kMaxPngSide
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace pngio {
namespace {

// The largest file read: a picture of kMaxPngSide a side in 8-bit RGBA,
// stored without compression, with room for its other chunks.
constexpr long kMaxFileBytes = 4L * kMaxPngSide * kMaxPngSide + (1L << 20);

bool Fail(std::string* error, const std::string& text) {
  if (error != nullptr) *error = text;
  return false;
}

std::uint32_t Be32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         p[3];
}

// Whether every chunk up to IEND lies inside the file, its length, type and
// check value included.
bool ChunksFit(const std::vector<std::uint8_t>& bytes) {
  for (std::size_t at = 8; bytes.size() - at >= 12;) {
    const std::uint32_t length = Be32(&bytes[at]);
    if (length > bytes.size() - at - 12) return false;
    if (std::memcmp(&bytes[at + 4], "IEND", 4) == 0) return true;
    at += 12 + std::size_t{length};
  }
  return false;
}

bool Write(const std::string& path, int width, int height, int channels, const std::uint8_t* pixels,
           std::string* error) {
  return stbi_write_png(path.c_str(), width, height, channels, pixels, width * channels) != 0 ||
         Fail(error, "cannot write " + path);
}

}  // namespace

bool WritePng(const std::string& path, const RgbImage& image, std::string* error) {
  if (image.width <= 0 || image.height <= 0 ||
      image.rgb.size() != static_cast<std::size_t>(image.width) * image.height * 3) {
    return Fail(error, path + ": no picture to write");
  }
  return Write(path, image.width, image.height, 3, image.rgb.data(), error);
}

bool WritePngWithAlpha(const std::string& path, const RgbImage& image,
                       const std::vector<std::uint8_t>& alpha, std::string* error) {
  const std::size_t n = static_cast<std::size_t>(image.width) * image.height;
  if (image.width <= 0 || image.height <= 0 || image.rgb.size() != n * 3 || alpha.size() != n) {
    return Fail(error, path + ": no picture to write");
  }
  std::vector<std::uint8_t> rgba(n * 4);
  for (std::size_t i = 0; i < n; ++i) {
    std::memcpy(&rgba[4 * i], &image.rgb[3 * i], 3);
    rgba[4 * i + 3] = alpha[i];
  }
  return Write(path, image.width, image.height, 4, rgba.data(), error);
}

bool ReadPngWithAlpha(const std::string& path, RgbImage& image, std::vector<std::uint8_t>& alpha,
                      std::string* error, int maxWidth, int maxHeight) {
  std::vector<std::uint8_t> bytes;
  if (!platform::ReadFileBytes(path, bytes, error, kMaxFileBytes)) return false;
  const int size = static_cast<int>(bytes.size());
  allocationLimit = 0;  // reading the header allocates nothing
  int w = 0, h = 0, channels = 0;
  if (!stbi_info_from_memory(bytes.data(), size, &w, &h, &channels)) {
    if (size < 8 || std::memcmp(bytes.data(), "\x89PNG\r\n\x1a\n", 8) != 0) {
      return Fail(error, path + " is not a PNG file");
    }
    return Fail(error, path + " is a broken PNG file (" + stbi_failure_reason() + ")");
  }
  if (w > maxWidth || h > maxHeight) {
    return Fail(error, path + ": " + std::to_string(w) + " x " + std::to_string(h) +
                           " pixels, more than " + std::to_string(maxWidth) + " x " +
                           std::to_string(maxHeight));
  }
  if (!ChunksFit(bytes)) return Fail(error, path + " is a broken PNG file (a chunk is cut short)");
  // The inflated rows at 16 bits a channel, four channels and a filter byte
  // a row, twice over for an interlaced picture's passes; the packed data,
  // at most the file, likewise; and the 4 KB stb_image starts with.
  const std::size_t raw = (8 * static_cast<std::size_t>(w) + 1) * h;
  allocationLimit = 2 * (raw + bytes.size()) + 4096;
  stbi_uc* rgba = stbi_load_from_memory(bytes.data(), size, &w, &h, &channels, 4);
  allocationLimit = 0;
  if (rgba == nullptr) {
    return Fail(error, path + " is a broken PNG file (" + stbi_failure_reason() + ")");
  }
  const std::size_t n = static_cast<std::size_t>(w) * h;
  image.width = w;
  image.height = h;
  image.rgb.resize(n * 3);
  alpha.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    std::memcpy(&image.rgb[3 * i], &rgba[4 * i], 3);
    alpha[i] = rgba[4 * i + 3];
  }
  stbi_image_free(rgba);
  return true;
}

bool ReadPng(const std::string& path, RgbImage& image, std::string* error) {
  std::vector<std::uint8_t> alpha;
  return ReadPngWithAlpha(path, image, alpha, error);
}

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
