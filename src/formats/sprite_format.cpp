#include "formats/sprite_format.h"

#include <algorithm>
#include <cstring>

#include "formats/little_endian.h"

namespace {

using platform::ReadLeInt32;

bool Fail(std::string* problem, const std::string& text) {
  if (problem != nullptr) *problem = text;
  return false;
}

// A 32-bit value at `at`; one that the file does not hold whole reads as 0.
std::int32_t ValueAt(const std::uint8_t* data, std::size_t size, std::uint64_t at) {
  return at + 4 <= size ? ReadLeInt32(data + at) : 0;
}

}  // namespace

SpriteHeader ReadSpriteHeader(const std::uint8_t* data, std::size_t size) {
  std::uint8_t raw[kSpriteHeaderBytes] = {};
  if (size > 0) std::memcpy(raw, data, std::min<std::size_t>(size, sizeof raw));
  SpriteHeader h;
  // Compared as a zero-terminated text: the bytes after the tag's zero are
  // free.
  h.tagOk = std::memcmp(raw, kSpriteTag, sizeof kSpriteTag) == 0;
  h.version = ReadLeInt32(raw + 16);
  h.count = ReadLeInt32(raw + 20);
  return h;
}

bool SpriteCountFits(const SpriteHeader& header, std::size_t size) {
  const std::size_t left = size > kSpriteHeaderBytes ? size - kSpriteHeaderBytes : 0;
  return header.count <= 0 || static_cast<std::size_t>(header.count) <= left / 8;
}

bool ParseSprites(const std::uint8_t* data, std::size_t size, SpriteFile& out,
                  std::string* problem) {
  out = SpriteFile{};
  const SpriteHeader h = ReadSpriteHeader(data, size);
  if (!h.tagOk)
    return Fail(problem, std::string("not a sprite file (no \"") + kSpriteTag + "\" tag)");
  if (h.version < 1) return Fail(problem, "version " + std::to_string(h.version) + " is below 1");
  if (h.count < 0) return Fail(problem, "frame count " + std::to_string(h.count) + " is below 0");
  if (!SpriteCountFits(h, size)) {
    return Fail(problem, "the header counts " + std::to_string(h.count) +
                             " frames but the file cannot hold them");
  }
  SpriteFile s;
  std::uint8_t raw[kSpriteHeaderBytes] = {};
  std::memcpy(raw, data, std::min<std::size_t>(size, sizeof raw));
  std::memcpy(s.tag.data(), raw, s.tag.size());
  s.version = h.version;
  std::memcpy(s.unused.data(), raw + 24, s.unused.size());
  s.frames.resize(static_cast<std::size_t>(h.count));
  std::uint64_t at = kSpriteHeaderBytes;
  for (std::size_t i = 0; i < s.frames.size(); ++i) {
    SpriteFrameData& f = s.frames[i];
    f.width = ValueAt(data, size, at);
    f.height = ValueAt(data, size, at + 4);
    at += 8;
    if (f.width < 0 || f.height < 0 || f.width > kSpriteMaxWidth || f.height > kSpriteMaxHeight) {
      return Fail(problem, "frame " + std::to_string(i) + " is " + std::to_string(f.width) + " x " +
                               std::to_string(f.height) + " pixels, out of range (at most " +
                               std::to_string(kSpriteMaxWidth) + " x " +
                               std::to_string(kSpriteMaxHeight) + ")");
    }
    // Only the frame the file ends in can be cut short: every later one
    // reads as 0 x 0.
    const std::size_t bytes = static_cast<std::size_t>(f.width) * f.height * 3;
    f.bgr.assign(bytes, 0);
    if (bytes > 0 && at < size) {
      std::memcpy(f.bgr.data(), data + at, std::min<std::uint64_t>(bytes, size - at));
    }
    at += bytes;
  }
  if (at < size) s.trailing.assign(data + at, data + size);
  s.missingBytes = at > size ? at - size : 0;
  out = std::move(s);
  return true;
}
