// The reader of the sound effect files: RIFF WAVE, PCM. The game's loader
// (audio/sound.h) and vedo-kit read them with it.
//
// The chunks are walked one by one, so "fmt " and "data" are found wherever
// they stand and other chunks (LIST, fact, cue ...) are skipped; the plain
// 44-byte layout is the simplest case of that.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/sound/audio.h"

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
