// Static sound buffers, their duplicates, and their part of the mix.
//
// A buffer's samples are converted once, when it is created, from the file's
// PCM format to the output's (44100 Hz, signed 16-bit, stereo) by the
// platform's converter (our own where a host pulls the mix), and then shared by
// every duplicate. Each buffer keeps its own position and state. The mixer
// adds the sounding buffers into the pass's sum; one that reaches its end
// stops and goes back to its start.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/port.h"
#include "platform/sound/audio.h"
#include "platform/sound/audio_output.h"

namespace platform {

class SoundBuffer {
 public:
  SoundDevice* device = nullptr;
  std::shared_ptr<const std::vector<std::int16_t>> samples;  // left, right, left, ...
  std::size_t frames = 0;
  std::size_t position = 0;
  bool playing = false;
  bool mixing = false;  // listed in the device's mixing list
};

class SoundDevice {
 public:
  AudioOutput* output = nullptr;
  std::vector<std::unique_ptr<SoundBuffer>> buffers;
  // The buffers the mixer looks at. Its capacity is kept at the number of
  // buffers, so adding to it never allocates while the mixer waits.
  std::vector<SoundBuffer*> mixing;
};

namespace {

bool ConvertToOutput(const AudioOutput& output, const PcmFormat& f, const void* bytes,
                     std::size_t size, std::vector<std::int16_t>& out) {
  if (f.channels != 1 && f.channels != 2) return false;
  if (f.bitsPerSample != 8 && f.bitsPerSample != 16) return false;
  if (f.blockAlign != f.channels * f.bitsPerSample / 8) return false;
  if (f.samplesPerSecond < kMinBufferRate || f.samplesPerSecond > kMaxBufferRate) return false;
  const std::size_t block = static_cast<std::size_t>(f.blockAlign);
  const std::size_t sourceFrames = size / block;
  if (sourceFrames == 0 || !SoundFitsBuffer(f, size)) return false;
  const auto* first = static_cast<const std::uint8_t*>(bytes);
  const bool converted = output.pulledByHost
                             ? ConvertPcmPortable(f, first, sourceFrames * block, out)
                             : ConvertPcm(f, first, sourceFrames * block, out);
  if (!converted) return false;
  return out.size() >= kAudioChannels;
}

SoundBuffer* AddBuffer(SoundDevice* device, std::unique_ptr<SoundBuffer> buffer) {
  SoundBuffer* raw = buffer.get();
  std::lock_guard<std::mutex> hold(device->output->lock);
  device->buffers.push_back(std::move(buffer));
  device->mixing.reserve(device->buffers.size());
  return raw;
}

void Unlist(SoundDevice* device, SoundBuffer* buffer) {
  if (!buffer->mixing) return;
  auto& list = device->mixing;
  list.erase(std::find(list.begin(), list.end(), buffer));
  buffer->mixing = false;
}

}  // namespace

SoundDevice* OpenSoundDevice() {
  AudioOutput* out = AcquireOutput();
  if (out == nullptr) return nullptr;
  {
    std::lock_guard<std::mutex> hold(out->lock);
    if (out->soundDevice == nullptr) {
      auto* device = new SoundDevice;
      device->output = out;
      out->soundDevice = device;
      return device;
    }
  }
  // There is one sound device.
  ReleaseOutput();
  return nullptr;
}

void CloseSoundDevice(SoundDevice* device) {
  if (device == nullptr) return;
  AudioOutput* out = device->output;
  {
    std::lock_guard<std::mutex> hold(out->lock);
    out->soundDevice = nullptr;
  }
  if (FrameTraceOn()) {
    // The buffers go with the device: every effect and its copies.
    const std::string mark =
        "sound-device-closed,buffers=" + std::to_string(device->buffers.size());
    TraceMark(mark.c_str());
  }
  delete device;
  ReleaseOutput();
}

SoundBuffer* CreateSoundBuffer(SoundDevice* device, const PcmFormat& format, const void* bytes,
                               std::size_t size) {
  if (device == nullptr || bytes == nullptr) return nullptr;
  auto samples = std::make_shared<std::vector<std::int16_t>>();
  if (!ConvertToOutput(*device->output, format, bytes, size, *samples)) return nullptr;
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
  if (buffer == nullptr) return;
  if (CallRecorder* r = ActiveRecorder()) r->SoundPlayed(buffer);
  SoundDevice* device = buffer->device;
  std::lock_guard<std::mutex> hold(device->output->lock);
  if (buffer->playing) return;
  buffer->playing = true;
  if (!buffer->mixing) {
    device->mixing.push_back(buffer);
    buffer->mixing = true;
  }
}

void StopSoundBuffer(SoundBuffer* buffer) {
  if (buffer == nullptr) return;
  std::lock_guard<std::mutex> hold(buffer->device->output->lock);
  buffer->playing = false;
  Unlist(buffer->device, buffer);
}

void ReleaseSoundBuffer(SoundBuffer* buffer) {
  if (buffer == nullptr) return;
  SoundDevice* device = buffer->device;
  std::lock_guard<std::mutex> hold(device->output->lock);
  auto& all = device->buffers;
  auto it = std::find_if(all.begin(), all.end(), [buffer](const std::unique_ptr<SoundBuffer>& b) {
    return b.get() == buffer;
  });
  if (it == all.end()) return;
  Unlist(device, buffer);
  all.erase(it);
}

bool SoundBufferPlaying(const SoundBuffer* buffer) {
  if (buffer == nullptr) return false;
  std::lock_guard<std::mutex> hold(buffer->device->output->lock);
  return buffer->playing;
}

std::size_t SoundBufferPosition(const SoundBuffer* buffer) {
  if (buffer == nullptr) return 0;
  std::lock_guard<std::mutex> hold(buffer->device->output->lock);
  return buffer->position;
}

std::size_t SoundBufferFrames(const SoundBuffer* buffer) {
  return buffer == nullptr ? 0 : buffer->frames;
}

bool EffectsSounding(const AudioOutput& out) {
  return out.soundDevice != nullptr && !out.soundDevice->mixing.empty();
}

void MixEffects(AudioOutput& out, std::int32_t* sum, int frames, int level) {
  SoundDevice* device = out.soundDevice;
  if (device == nullptr) return;
  auto& list = device->mixing;
  for (std::size_t i = 0; i < list.size();) {
    SoundBuffer* b = list[i];
    const std::size_t n = std::min(static_cast<std::size_t>(frames), b->frames - b->position);
    const std::int16_t* src = b->samples->data() + b->position * kAudioChannels;
    if (level == kFullVolume) {
      for (std::size_t k = 0; k < n * kAudioChannels; ++k) sum[k] += src[k];
    } else {
      for (std::size_t k = 0; k < n * kAudioChannels; ++k) sum[k] += src[k] * level / kFullVolume;
    }
    b->position += n;
    if (b->position >= b->frames) {
      // A one-shot buffer stops at its end, ready to play again from its
      // start.
      b->playing = false;
      b->position = 0;
      b->mixing = false;
      list[i] = list.back();
      list.pop_back();
      continue;
    }
    ++i;
  }
}

}  // namespace platform
