// PNG files for the tools and the tests, through stb_image and
// stb_image_write: 8-bit RGB pictures in and out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pngio {

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // height rows of width pixels, R, G, B
};

// Writes an RGB picture. False (with a reason in `error`) on failure.
bool WritePng(const std::string& path, const RgbImage& image, std::string* error = nullptr);
// The same with an opacity byte a pixel.
bool WritePngWithAlpha(const std::string& path, const RgbImage& image,
                       const std::vector<std::uint8_t>& alpha, std::string* error = nullptr);
// A picture larger on a side is refused from its header, before anything is
// allocated for it: nothing the tools and tests read comes near it.
inline constexpr int kMaxPngSide = 4096;

// Reads any PNG as 8-bit RGB (palette, grey, 16-bit and interlaced pictures
// are converted; alpha is dropped). False, with a reason that names the
// file, when it is missing, broken or larger than kMaxPngSide.
bool ReadPng(const std::string& path, RgbImage& image, std::string* error = nullptr);
// The same, keeping each pixel's opacity in `alpha` (one byte a pixel, 255
// where the file has no transparency), and refusing from the header a
// picture larger than maxWidth x maxHeight.
bool ReadPngWithAlpha(const std::string& path, RgbImage& image, std::vector<std::uint8_t>& alpha,
                      std::string* error = nullptr, int maxWidth = kMaxPngSide,
                      int maxHeight = kMaxPngSide);

// Converts rows of B, G, R pixels (pitch bytes apart) to an RGB picture.
RgbImage FromBgr(const std::uint8_t* bgr, int width, int height, int pitch);

}  // namespace pngio
