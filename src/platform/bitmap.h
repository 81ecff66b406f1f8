// Reading BMP pictures into plain B, G, R pixel rows.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

struct Image {
  int width = 0;
  int height = 0;
  // height rows of width pixels, top row first, 3 bytes each: B, G, R.
  std::vector<std::uint8_t> pixels;
};

// Loads a Windows BMP file of any depth SDL reads. False when the file is
// missing or not a picture SDL can read.
bool LoadBmpFile(const char* path, Image& out);

}  // namespace platform
