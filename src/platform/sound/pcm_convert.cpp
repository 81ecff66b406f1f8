// Our own conversion of effect samples to the output format, for platforms
// without a converter of their own. Effects are short and converted once, at
// load time, so plain linear interpolation is enough: the game's sounds are
// recorded at 11,025 or 22,050 Hz, where a straight line between two samples
// adds less than a recording's own noise.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "formats/load_breath.h"
#include "platform/sound/audio_output.h"

namespace platform {

bool ConvertPcmPortable(const PcmFormat& f, const std::uint8_t* bytes, std::size_t length,
                        std::vector<std::int16_t>& out) {
  const std::size_t block = static_cast<std::size_t>(f.blockAlign);
  if (block == 0 || f.samplesPerSecond <= 0) return false;
  const std::size_t sourceFrames = length / block;
  if (sourceFrames == 0) return false;

  // First the source's own rate in signed 16-bit stereo.
  std::vector<std::int16_t> stereo(sourceFrames * 2);
  for (std::size_t i = 0; i < sourceFrames; ++i) {
    const std::uint8_t* frame = bytes + i * block;
    std::int16_t s[2] = {0, 0};
    for (int c = 0; c < f.channels; ++c) {
      if (f.bitsPerSample == 8) {
        s[c] = static_cast<std::int16_t>((frame[c] - 128) * 256);
      } else {
        s[c] = static_cast<std::int16_t>(frame[2 * c] | (frame[2 * c + 1] << 8));
      }
    }
    stereo[2 * i] = s[0];
    stereo[2 * i + 1] = f.channels == 2 ? s[1] : s[0];
  }
  if (f.samplesPerSecond == kAudioRate) {
    out = std::move(stereo);
    return true;
  }

  // Then to the output's rate: output frame k lies at source frame
  // k * rate / 44100. The length scales by the ratio of the rates.
  const std::uint64_t rate = static_cast<std::uint64_t>(f.samplesPerSecond);
  const std::size_t frames =
      static_cast<std::size_t>(std::uint64_t{sourceFrames} * kAudioRate / rate);
  if (frames == 0) return false;
  out.resize(frames * kAudioChannels);
  for (std::size_t k = 0; k < frames; ++k) {
    // A long effect is several pieces of the loading on a slow phone.
    if (k % 16384 == 0) BreatheDuringLoad();
    const std::uint64_t at = std::uint64_t{k} * rate;  // in 1/44100ths of a source frame
    const std::size_t i = static_cast<std::size_t>(at / kAudioRate);
    const std::size_t j = std::min(i + 1, sourceFrames - 1);
    const std::int64_t w = static_cast<std::int64_t>(at % kAudioRate);
    for (int c = 0; c < kAudioChannels; ++c) {
      const std::int64_t a = stereo[2 * i + c];
      const std::int64_t b = stereo[2 * j + c];
      out[2 * k + c] = static_cast<std::int16_t>(a + (b - a) * w / kAudioRate);
    }
  }
  return true;
}

}  // namespace platform
