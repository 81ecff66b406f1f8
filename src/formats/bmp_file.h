// Reading BMP pictures into plain B, G, R pixel rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct Image {
  int width = 0;
  int height = 0;
  // height rows of width pixels, top row first, 3 bytes each: B, G, R.
  std::vector<std::uint8_t> pixels;
};

// Loads a Windows BMP file for the game and the kit, with our own reader
// (below) on every platform, so that a damaged picture is refused the same way
// everywhere. False, with the reason, when the file is missing or not a
// picture it reads.
bool LoadBmpFile(const char* path, Image& out, std::string* why = nullptr);

// ---- Our reader -------------------------------------------------------------
//
// The core, info and later headers; 1, 2, 4 and 8 bits with a colour table,
// uncompressed or run-length encoded; 16 and 32 bits plain or with bit
// fields; 24 bits; rows bottom-up or, with a negative height, top-down. It
// reads every well-formed picture SDL_LoadBMP reads, to the same pixels.
// Nothing is allocated for the pixels before the headers are known to
// describe a picture of an accepted size whose rows are in the file.

struct BmpHeader {
  std::uint32_t fileSize = 0;  // as the file header says
  std::uint32_t pixelOffset = 0;
  std::uint32_t infoSize = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;  // negative: rows stored top first
  int bitsPerPixel = 0;
  std::uint32_t compression = 0;  // 0 none, 1 and 2 run-length, 3 bit fields
  std::uint32_t coloursUsed = 0;
};

// The headers of a BMP file held in memory. False, with a reason, when the
// picture is not one the reader takes.
bool ParseBmpHeader(const std::uint8_t* data, std::size_t size, BmpHeader& out,
                    std::string* why = nullptr);
bool DecodeBmp(const std::uint8_t* data, std::size_t size, Image& out, std::string* why = nullptr);

// Whether every platform's reader takes a picture of this size: at most
// 16384 a side and 4096 x 4096 pixels in all, so that a broken or hostile
// header cannot ask for gigabytes. A negative height (a top-down picture)
// counts by its size.
bool BmpSizeAcceptable(long long width, long long height);
// The width and height the BMP file's headers give (a negative height for a
// top-down picture), read without reading the picture; false when the file
// is missing or not a BMP.
bool BmpFileSize(const char* path, long long& width, long long& height);

}  // namespace platform
