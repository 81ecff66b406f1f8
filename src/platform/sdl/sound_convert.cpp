// Effect samples to the output format (port.h's ConvertPcm) with
// SDL_AudioCVT: Linux plays its effects through SDL's resampler rather than
// our linear one.
// (SDL_AudioStream is not used: in this SDL version it holds back the last
// 512 frames of a one-shot conversion.)
#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/sound/audio_output.h"

namespace platform {
namespace {

// Largest scratch area a conversion may ask for.
constexpr std::size_t kMaxConversionBytes = std::size_t{512} << 20;

}  // namespace

bool ConvertPcm(const PcmFormat& f, const std::uint8_t* bytes, std::size_t length,
                std::vector<std::int16_t>& out) {
  SDL_AudioCVT cvt;
  const int built = SDL_BuildAudioCVT(&cvt, f.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB,
                                      static_cast<Uint8>(f.channels), f.samplesPerSecond,
                                      AUDIO_S16SYS, kAudioChannels, kAudioRate);
  if (built < 0) return false;
  const std::size_t mult = static_cast<std::size_t>(std::max(cvt.len_mult, 1));
  if (length > kMaxConversionBytes / mult) return false;
  std::vector<Uint8> work(length * mult);
  std::memcpy(work.data(), bytes, length);
  std::size_t converted = length;
  if (built == 1) {
    cvt.buf = work.data();
    cvt.len = static_cast<int>(length);
    if (SDL_ConvertAudio(&cvt) != 0 || cvt.len_cvt <= 0) return false;
    converted = static_cast<std::size_t>(cvt.len_cvt);
  }
  const std::size_t frameBytes = sizeof(std::int16_t) * kAudioChannels;
  const std::size_t frames = converted / frameBytes;
  if (frames == 0) return false;
  out.resize(frames * kAudioChannels);
  std::memcpy(out.data(), work.data(), frames * frameBytes);
  return true;
}

}  // namespace platform
