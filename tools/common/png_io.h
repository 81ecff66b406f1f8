// PNG files through libpng: 8-bit RGB pictures in and out.
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
// Reads any PNG as 8-bit RGB (palette, grey and alpha are converted; alpha
// is dropped). False (with a reason) when the file is missing or broken.
bool ReadPng(const std::string& path, RgbImage& image, std::string* error = nullptr);
// The same, keeping each pixel's opacity in `alpha` (one byte a pixel, 255
// where the file has no transparency).
bool ReadPngWithAlpha(const std::string& path, RgbImage& image, std::vector<std::uint8_t>& alpha,
                      std::string* error = nullptr);

// Converts rows of B, G, R pixels (pitch bytes apart) to an RGB picture.
RgbImage FromBgr(const std::uint8_t* bgr, int width, int height, int pitch);

}  // namespace pngio
