// The sound effect buffers of the browser build.
//
// The shared buffers convert each effect with SDL's converter, which the
// browser build does not have. Until that conversion sits behind its own
// small interface, the browser keeps this copy of the buffers' rules (one
// conversion at creation, shared by the duplicates; one-shot play; a buffer
// that ends stops and goes back to its start) with a converter of its own:
// 8-bit unsigned or 16-bit signed, mono or stereo, to 16-bit stereo at the
// output rate, resampled by linear interpolation.
#include <algorithm>
#include <memory>
#include <vector>

#include "platform/audio.h"
#include "platform/audio_output.h"

namespace platform {

class SoundBuffer {
 public:
  SoundDevice* device = nullptr;
  std::shared_ptr<const std::vector<std::int16_t>> samples;  // left, right, left, ...
  std::size_t frames = 0;
  std::size_t position = 0;
  bool playing = false;
};

class SoundDevice {
 public:
  AudioOutput* output = nullptr;
  std::vector<std::unique_ptr<SoundBuffer>> buffers;
  std::vector<SoundBuffer*> mixing;
};

namespace {

constexpr std::size_t kMaxFrames = std::size_t{120} * kAudioRate;

bool ConvertToOutput(const PcmFormat& f, const void* bytes, std::size_t size,
                     std::vector<std::int16_t>& out) {
  if (f.channels != 1 && f.channels != 2) return false;
  if (f.bitsPerSample != 8 && f.bitsPerSample != 16) return false;
  if (f.blockAlign != f.channels * f.bitsPerSample / 8) return false;
  if (f.samplesPerSecond < kMinBufferRate || f.samplesPerSecond > kMaxBufferRate) return false;
  const std::size_t block = static_cast<std::size_t>(f.blockAlign);
  const std::size_t sourceFrames = size / block;
  if (sourceFrames == 0) return false;
  const std::size_t rate = static_cast<std::size_t>(f.samplesPerSecond);
  if (sourceFrames > kMaxFrames || sourceFrames * kAudioRate / rate > kMaxFrames) return false;
  const auto* in = static_cast<const std::uint8_t*>(bytes);
  auto sample = [&](std::size_t frame, int channel) -> int {
    const std::uint8_t* p =
        in + frame * block + (f.channels == 2 ? channel : 0) * (block / f.channels);
    if (f.bitsPerSample == 8) return (p[0] - 128) * 256;
    return static_cast<std::int16_t>(p[0] | (p[1] << 8));
  };
  const std::size_t frames = std::max<std::size_t>(1, sourceFrames * kAudioRate / rate);
  out.resize(frames * kAudioChannels);
  for (std::size_t i = 0; i < frames; ++i) {
    const double at = static_cast<double>(i) * static_cast<double>(rate) / kAudioRate;
    const std::size_t a = std::min(static_cast<std::size_t>(at), sourceFrames - 1);
    const std::size_t b = std::min(a + 1, sourceFrames - 1);
    const double t = at - static_cast<double>(a);
    for (int c = 0; c < kAudioChannels; ++c) {
      const double v = sample(a, c) * (1.0 - t) + sample(b, c) * t;
      out[i * kAudioChannels + c] = static_cast<std::int16_t>(std::clamp(v, -32768.0, 32767.0));
    }
  }
  return true;
}

SoundBuffer* AddBuffer(SoundDevice* device, std::unique_ptr<SoundBuffer> buffer) {
  device->buffers.push_back(std::move(buffer));
  return device->buffers.back().get();
}

void Unlist(SoundDevice* device, SoundBuffer* buffer) {
  auto& list = device->mixing;
  list.erase(std::remove(list.begin(), list.end(), buffer), list.end());
}

}  // namespace

SoundDevice* OpenSoundDevice() {
  AudioOutput* out = AcquireOutput();
  if (out == nullptr) return nullptr;
  if (out->soundDevice != nullptr) {
    ReleaseOutput();
    return nullptr;
  }
  auto* device = new SoundDevice;
  device->output = out;
  out->soundDevice = device;
  return device;
}

void CloseSoundDevice(SoundDevice* device) {
  if (device == nullptr) return;
  device->output->soundDevice = nullptr;
  delete device;
  ReleaseOutput();
}

SoundBuffer* CreateSoundBuffer(SoundDevice* device, const PcmFormat& format, const void* bytes,
                               std::size_t size) {
  if (device == nullptr || bytes == nullptr) return nullptr;
  auto samples = std::make_shared<std::vector<std::int16_t>>();
  if (!ConvertToOutput(format, bytes, size, *samples)) return nullptr;
  auto buffer = std::make_unique<SoundBuffer>();
  buffer->device = device;
  buffer->frames = samples->size() / kAudioChannels;
  buffer->samples = std::move(samples);
  return AddBuffer(device, std::move(buffer));
}

SoundBuffer* DuplicateSoundBuffer(SoundDevice* device, SoundBuffer* original) {
  if (device == nullptr || original == nullptr || original->device != device) return nullptr;
  auto buffer = std::make_unique<SoundBuffer>();
  buffer->device = device;
  buffer->samples = original->samples;
  buffer->frames = original->frames;
  return AddBuffer(device, std::move(buffer));
}

void PlaySoundBuffer(SoundBuffer* buffer) {
  if (buffer == nullptr || buffer->playing) return;
  buffer->playing = true;
  buffer->device->mixing.push_back(buffer);
}

void StopSoundBuffer(SoundBuffer* buffer) {
  if (buffer == nullptr) return;
  buffer->playing = false;
  Unlist(buffer->device, buffer);
}

void ReleaseSoundBuffer(SoundBuffer* buffer) {
  if (buffer == nullptr) return;
  SoundDevice* device = buffer->device;
  Unlist(device, buffer);
  auto& all = device->buffers;
  all.erase(
      std::remove_if(all.begin(), all.end(),
                     [buffer](const std::unique_ptr<SoundBuffer>& b) { return b.get() == buffer; }),
      all.end());
}

bool SoundBufferPlaying(const SoundBuffer* buffer) { return buffer != nullptr && buffer->playing; }
std::size_t SoundBufferPosition(const SoundBuffer* buffer) {
  return buffer == nullptr ? 0 : buffer->position;
}
std::size_t SoundBufferFrames(const SoundBuffer* buffer) {
  return buffer == nullptr ? 0 : buffer->frames;
}

void MixEffects(AudioOutput& out, std::int32_t* sum, int frames) {
  SoundDevice* device = out.soundDevice;
  if (device == nullptr) return;
  auto& list = device->mixing;
  for (std::size_t i = 0; i < list.size();) {
    SoundBuffer* b = list[i];
    const std::size_t n = std::min(static_cast<std::size_t>(frames), b->frames - b->position);
    const std::int16_t* src = b->samples->data() + b->position * kAudioChannels;
    for (std::size_t k = 0; k < n * kAudioChannels; ++k) sum[k] += src[k];
    b->position += n;
    if (b->position >= b->frames) {
      b->playing = false;
      b->position = 0;
      list[i] = list.back();
      list.pop_back();
      continue;
    }
    ++i;
  }
}

}  // namespace platform
