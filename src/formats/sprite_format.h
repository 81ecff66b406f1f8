// The sprite file and the animation file of the same family.
//
// Header, 32 bytes: tag "DidArid v1.0\0" in 16 bytes, version (1 or more),
// count, 8 bytes unused. A sprite file then holds count frames, each a width
// and a height and width x height pixels of 3 bytes, rows top first. An
// animation file holds count actions (see LoadAnimation in
// gfx/sprite_file.h).
//
// Read from bytes, for the game's loaders and for vedo-kit, which adds its
// own rules on top.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/map_format.h"

// The tag, in the map file's 16-byte tag field.
inline constexpr char kSpriteTag[] = "DidArid v1.0";
inline constexpr int kSpriteHeaderBytes = 32;
// No frame is larger than the screen, 640 x 480: it could never be drawn.
inline constexpr int kSpriteMaxWidth = 640;
inline constexpr int kSpriteMaxHeight = 480;

struct SpriteHeader {
  bool tagOk = false;
  std::int32_t version = 0;
  std::int32_t count = 0;
};
// The 32-byte header; one cut short reads as zeros.
SpriteHeader ReadSpriteHeader(const std::uint8_t* data, std::size_t size);
// Whether a file of `size` bytes can hold the header's count of frames: each
// takes at least its 8-byte size.
bool SpriteCountFits(const SpriteHeader& header, std::size_t size);

struct SpriteFrameData {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint8_t> bgr;  // width x height x 3
};

struct SpriteFile {
  std::array<std::uint8_t, kTagFieldBytes> tag{};  // the tag field, bytes after the zero included
  std::int32_t version = 1;
  std::array<std::uint8_t, 8> unused{};  // header bytes 24 to 31
  std::vector<SpriteFrameData> frames;   // the header's count is frames.size()
  std::vector<std::uint8_t> trailing;    // anything after the last frame
  // What the frames take past the end of the file. The game reads a size
  // there as 0 and pixels as black, and so does ParseSprites.
  std::uint64_t missingBytes = 0;
};

// Reads a sprite file held in memory. False, with the problem in words, when
// the header is refused (tag, version, a count below 0 or more than the file
// can hold) or a frame's size is below 0 or larger than the screen.
bool ParseSprites(const std::uint8_t* data, std::size_t size, SpriteFile& out,
                  std::string* problem = nullptr);
