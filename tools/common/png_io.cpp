#include "common/png_io.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace pngio {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f != nullptr) std::fclose(f);
  }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

void SetError(std::string* error, const std::string& text) {
  if (error != nullptr) *error = text;
}

}  // namespace

namespace {

// Writes rows of 3 (RGB) or 4 (RGBA) bytes a pixel.
bool WritePixels(const std::string& path, int width, int height, int channels,
                 const std::uint8_t* pixels, std::string* error) {
  File f(std::fopen(path.c_str(), "wb"));
  if (!f) {
    SetError(error, "cannot write " + path);
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (png == nullptr || info == nullptr) {
    png_destroy_write_struct(&png, &info);
    SetError(error, "libpng failed");
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    SetError(error, "libpng failed writing " + path);
    return false;
  }
  png_init_io(png, f.get());
  png_set_IHDR(png, info, width, height, 8,
               channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    png_write_row(png, const_cast<png_bytep>(pixels + static_cast<std::size_t>(y) * width *
                                                          static_cast<std::size_t>(channels)));
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

bool Empty(const RgbImage& image) {
  return image.width <= 0 || image.height <= 0 ||
         image.rgb.size() < static_cast<std::size_t>(image.width) * image.height * 3;
}

}  // namespace

bool WritePng(const std::string& path, const RgbImage& image, std::string* error) {
  if (Empty(image)) {
    SetError(error, "empty picture");
    return false;
  }
  return WritePixels(path, image.width, image.height, 3, image.rgb.data(), error);
}

bool WritePngWithAlpha(const std::string& path, const RgbImage& image,
                       const std::vector<std::uint8_t>& alpha, std::string* error) {
  const std::size_t n = static_cast<std::size_t>(std::max(image.width, 0)) *
                        static_cast<std::size_t>(std::max(image.height, 0));
  if (Empty(image) || alpha.size() < n) {
    SetError(error, "empty picture");
    return false;
  }
  std::vector<std::uint8_t> rgba(n * 4);
  for (std::size_t i = 0; i < n; ++i) {
    rgba[4 * i] = image.rgb[3 * i];
    rgba[4 * i + 1] = image.rgb[3 * i + 1];
    rgba[4 * i + 2] = image.rgb[3 * i + 2];
    rgba[4 * i + 3] = alpha[i];
  }
  return WritePixels(path, image.width, image.height, 4, rgba.data(), error);
}

namespace {

// The two steps that libpng may leave by a long jump, each in a function of
// its own whose frame holds nothing to clean up: what must be freed lives
// in the caller, untouched by the jump.
bool ReadHeader(png_structp png, png_infop info, std::FILE* f, png_uint_32& w, png_uint_32& h) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, f);
  png_set_sig_bytes(png, 8);
  png_read_info(png, info);
  w = png_get_image_width(png, info);
  h = png_get_image_height(png, info);
  if (w == 0 || h == 0 || w > 16384 || h > 16384) return true;  // the caller refuses it
  const int colorType = png_get_color_type(png, info);
  if (png_get_bit_depth(png, info) == 16) png_set_strip_16(png);
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    png_set_expand_gray_1_2_4_to_8(png);
    png_set_gray_to_rgb(png);
  }
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);  // only where the file has none
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  return true;
}

bool ReadRows(png_structp png, png_infop info, png_bytep* rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  png_read_end(png, info);
  return true;
}

// Reads the file as 8-bit RGBA into `rgba` (alpha 255 where the file has no
// transparency).
bool ReadRgba(const std::string& path, int& width, int& height, std::vector<std::uint8_t>& rgba,
              std::string* error) {
  File f(std::fopen(path.c_str(), "rb"));
  if (!f) {
    SetError(error, "cannot open " + path);
    return false;
  }
  png_byte sig[8];
  if (std::fread(sig, 1, 8, f.get()) != 8 || png_sig_cmp(sig, 0, 8) != 0) {
    SetError(error, path + " is not a PNG file");
    return false;
  }
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (png == nullptr || info == nullptr) {
    png_destroy_read_struct(&png, &info, nullptr);
    SetError(error, "libpng failed");
    return false;
  }
  png_uint_32 w = 0, h = 0;
  std::string problem;
  std::vector<png_bytep> rows;
  if (!ReadHeader(png, info, f.get(), w, h)) {
    problem = " is a broken PNG file";
  } else if (w == 0 || h == 0 || w > 16384 || h > 16384) {
    problem = ": picture size out of range";
  } else if (png_get_rowbytes(png, info) != static_cast<std::size_t>(w) * 4) {
    problem = ": unexpected pixel layout";
  } else {
    rgba.assign(static_cast<std::size_t>(w) * h * 4, 0);
    rows.resize(h);
    for (png_uint_32 y = 0; y < h; ++y) rows[y] = rgba.data() + static_cast<std::size_t>(y) * w * 4;
    if (!ReadRows(png, info, rows.data())) problem = " is a broken PNG file";
  }
  png_destroy_read_struct(&png, &info, nullptr);
  if (!problem.empty()) {
    SetError(error, path + problem);
    return false;
  }
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

bool Split(const std::string& path, RgbImage& image, std::vector<std::uint8_t>* alpha,
           std::string* error) {
  std::vector<std::uint8_t> rgba;
  int w = 0, h = 0;
  if (!ReadRgba(path, w, h, rgba, error)) return false;
  const std::size_t n = static_cast<std::size_t>(w) * h;
  image.width = w;
  image.height = h;
  image.rgb.resize(n * 3);
  if (alpha != nullptr) alpha->resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    image.rgb[3 * i] = rgba[4 * i];
    image.rgb[3 * i + 1] = rgba[4 * i + 1];
    image.rgb[3 * i + 2] = rgba[4 * i + 2];
    if (alpha != nullptr) (*alpha)[i] = rgba[4 * i + 3];
  }
  return true;
}

}  // namespace

bool ReadPng(const std::string& path, RgbImage& image, std::string* error) {
  return Split(path, image, nullptr, error);
}

bool ReadPngWithAlpha(const std::string& path, RgbImage& image, std::vector<std::uint8_t>& alpha,
                      std::string* error) {
  return Split(path, image, &alpha, error);
}

}  // namespace pngio
