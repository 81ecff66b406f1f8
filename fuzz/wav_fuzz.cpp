// The sound effect reader on arbitrary bytes: parse, make a buffer with its
// copies, play them and mix a little of the output.
#include <cstdint>
#include <vector>

#include "formats/wave_file.h"
#include "platform/platform.h"
#include "platform/sound/audio.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static platform::SoundDevice* device = [] {
    platform::UseHeadlessBackend(nullptr);
    return platform::OpenSoundDevice();
  }();
  WaveInfo info;
  const char* reason = nullptr;
  if (!ParseWave(data, size, info, &reason) || device == nullptr) return 0;
  platform::SoundBuffer* first =
      platform::CreateSoundBuffer(device, info.format, data + info.dataOffset, info.dataSize);
  if (first == nullptr) return 0;
  platform::SoundBuffer* copy = platform::DuplicateSoundBuffer(device, first);
  platform::PlaySoundBuffer(first);
  platform::PlaySoundBuffer(copy);
  std::vector<std::int16_t> out(2 * 512);
  platform::PullAudio(out.data(), 512);
  platform::ReleaseSoundBuffer(copy);
  platform::ReleaseSoundBuffer(first);
  return 0;
}
