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

// Whether every platform's reader takes a picture of this size: at most
// 16384 a side and 4096 x 4096 pixels in all, so that a broken or hostile
// header cannot ask for gigabytes. A negative height (a top-down picture)
// counts by its size.
bool BmpSizeAcceptable(long long width, long long height);
// The same for the size the BMP file's headers give; false when the file is
// missing or not a BMP.
bool BmpFileSizeAcceptable(const char* path);
// The width and height the BMP file's headers give (a negative height for a
// top-down picture), read without reading the picture; false when the file
// is missing or not a BMP.
bool BmpFileSize(const char* path, long long& width, long long& height);

}  // namespace platform
