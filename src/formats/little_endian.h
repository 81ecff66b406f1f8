// Little-endian numbers in a byte buffer, the order of every file the game
// reads: the map, sprite, BMP, WAV and MIDI files. A reader's caller has
// checked that the bytes are there.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

inline std::uint16_t ReadLe16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t ReadLe32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// The same four bytes as a signed number (two's complement).
inline std::int32_t ReadLeInt32(const std::uint8_t* p) {
  return static_cast<std::int32_t>(ReadLe32(p));
}

// Appends the low `bytes` bytes of v, least significant first.
inline void PutLe(std::vector<std::uint8_t>& out, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i, v >>= 8) out.push_back(static_cast<std::uint8_t>(v & 0xFF));
}
inline void PutLe16(std::vector<std::uint8_t>& out, std::uint16_t v) { PutLe(out, v, 2); }
inline void PutLe32(std::vector<std::uint8_t>& out, std::uint32_t v) { PutLe(out, v, 4); }

}  // namespace platform
