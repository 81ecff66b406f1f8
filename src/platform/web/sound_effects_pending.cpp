// The sound effect buffers of the browser build, for now without sound.
//
// The shared buffers convert each effect with SDL's converter, which the
// browser build does not have; until that conversion sits behind its own
// small interface, the browser keeps the device and the buffers' bookkeeping
// but mixes no effect. Music is not affected: it comes from the shared
// sequencer.
#include <memory>
#include <vector>

#include "platform/audio.h"
#include "platform/audio_output.h"

namespace platform {

class SoundBuffer {
 public:
  SoundDevice* device = nullptr;
  std::size_t frames = 0;
};

class SoundDevice {
 public:
  std::vector<std::unique_ptr<SoundBuffer>> buffers;
};

SoundDevice* OpenSoundDevice() {
  AudioOutput* out = AcquireOutput();
  if (out == nullptr) return nullptr;
  if (out->soundDevice != nullptr) {
    ReleaseOutput();
    return nullptr;
  }
  out->soundDevice = new SoundDevice;
  return out->soundDevice;
}

void CloseSoundDevice(SoundDevice* device) {
  if (device == nullptr) return;
  delete device;
  ReleaseOutput();
}

SoundBuffer* CreateSoundBuffer(SoundDevice* device, const PcmFormat& f, const void* bytes,
                               std::size_t size) {
  if (device == nullptr || bytes == nullptr) return nullptr;
  if ((f.channels != 1 && f.channels != 2) || (f.bitsPerSample != 8 && f.bitsPerSample != 16) ||
      f.blockAlign != f.channels * f.bitsPerSample / 8 || f.samplesPerSecond < kMinBufferRate ||
      f.samplesPerSecond > kMaxBufferRate || size / static_cast<std::size_t>(f.blockAlign) == 0) {
    return nullptr;
  }
  auto buffer = std::make_unique<SoundBuffer>();
  buffer->device = device;
  buffer->frames = size / static_cast<std::size_t>(f.blockAlign) * kAudioRate /
                   static_cast<std::size_t>(f.samplesPerSecond);
  device->buffers.push_back(std::move(buffer));
  return device->buffers.back().get();
}

SoundBuffer* DuplicateSoundBuffer(SoundDevice* device, SoundBuffer* original) {
  if (device == nullptr || original == nullptr || original->device != device) return nullptr;
  device->buffers.push_back(std::make_unique<SoundBuffer>(*original));
  return device->buffers.back().get();
}

void PlaySoundBuffer(SoundBuffer*) {}
void StopSoundBuffer(SoundBuffer*) {}
void ReleaseSoundBuffer(SoundBuffer* buffer) {
  if (buffer == nullptr) return;
  auto& all = buffer->device->buffers;
  for (auto it = all.begin(); it != all.end(); ++it) {
    if (it->get() == buffer) {
      all.erase(it);
      return;
    }
  }
}
bool SoundBufferPlaying(const SoundBuffer*) { return false; }
std::size_t SoundBufferPosition(const SoundBuffer*) { return 0; }
std::size_t SoundBufferFrames(const SoundBuffer* buffer) {
  return buffer == nullptr ? 0 : buffer->frames;
}

void MixEffects(AudioOutput&, std::int32_t*, int) {}

}  // namespace platform
