// The reader of the sound effect files: RIFF WAVE, PCM. The game's loader
// (audio/sound.h) and vedo-kit read them with it.
//
// The chunks are walked one by one, so "fmt " and "data" are found wherever
// they stand and other chunks (LIST, fact, cue ...) are skipped; the plain
// 44-byte layout is the simplest case of that.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// The sample rates a sound may have.
inline constexpr int kMinBufferRate = 1000;
inline constexpr int kMaxBufferRate = 192000;

struct PcmFormat {
  int channels = 0;  // 1 or 2
  int samplesPerSecond = 0;
  int blockAlign = 0;     // channels * bitsPerSample / 8
  int bitsPerSample = 0;  // 8 (unsigned) or 16 (signed, little-endian)
};

}  // namespace platform

// Files larger than this are not read.
inline constexpr std::size_t kMaxWaveFileBytes = std::size_t{64} << 20;

struct WaveInfo {
  platform::PcmFormat format;
  std::size_t dataOffset = 0;       // of the samples, in the file
  std::size_t dataSize = 0;         // whole frames only
  std::uint32_t dataChunkSize = 0;  // as the data chunk's header says
};

// Reads the format and finds the samples of a whole file in memory. On
// failure returns false and sets `reason` to a short lower-case phrase.
bool ParseWave(const std::uint8_t* data, std::size_t size, WaveInfo& info, const char** reason);
