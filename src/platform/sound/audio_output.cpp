// The output's life cycle, the mixer pass and the host's pulls: the same on
// every platform. The device, the synthesizer and the converter come from the
// platform (port.h), except where a host pulls the mix.
#include "platform/sound/audio_output.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "platform/port.h"

namespace platform {
namespace {

AudioOutput* gOutput = nullptr;
// Plain storage, so that nothing here needs a destructor at program exit.
char gSoundfontPath[1024] = "";
std::atomic<double> gSoundfontLoadMs{-1.0};
std::atomic<int> gEffectsLevel{kFullVolume};
std::atomic<int> gMusicLevel{kFullVolume};

void Deliver(AudioOutput* out, MusicSynth* synth) {
  std::lock_guard<std::mutex> hold(out->lock);
  out->synth = synth;
  out->loaderDone = true;
  if (synth != nullptr) {
    synth->SetLevel(gMusicLevel);
    SynthArrived(*out);
  }
  out->loaderFinished.notify_all();
}

void LoadSynth(AudioOutput* out, std::function<MusicSynth*()> make) { Deliver(out, make()); }

}  // namespace

void HandOverSynth(MusicSynth* synth) {
  if (gOutput == nullptr || gOutput->loaderDone) {
    delete synth;
    return;
  }
  Deliver(gOutput, synth);
}

void MixLocked(AudioOutput& out, std::int16_t* dst, int frames) {
  const int effects = gEffectsLevel;
  const int music = gMusicLevel;
  while (frames > 0) {
    const int n = std::min(frames, kAudioBlockFrames);
    std::fill_n(out.sum, n * kAudioChannels, 0);
    // The music first, so that its volume scales it alone; the sums are
    // whole numbers, so the order changes nothing at full volume.
    MixMusic(out, out.sum, n);
    if (music != kFullVolume) {
      for (int i = 0; i < n * kAudioChannels; ++i) out.sum[i] = out.sum[i] * music / kFullVolume;
    }
    MixEffects(out, out.sum, n, effects);
    for (int i = 0; i < n * kAudioChannels; ++i) {
      dst[i] = static_cast<std::int16_t>(std::clamp(out.sum[i], -32768, 32767));
    }
    dst += n * kAudioChannels;
    frames -= n;
  }
}

void FloatMusicSynth::Render(std::int32_t* sum, int frames) {
  RenderFloat(frames, left_, right_);
  for (int i = 0; i < frames; ++i) {
    sum[2 * i] +=
        static_cast<std::int32_t>(std::lrint(std::clamp(left_[i], -2.0f, 2.0f) * 32767.0f));
    sum[2 * i + 1] +=
        static_cast<std::int32_t>(std::lrint(std::clamp(right_[i], -2.0f, 2.0f) * 32767.0f));
  }
}

bool DecodeChannelMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                          ChannelCall& call) {
  call.channel = status & 0x0F;
  call.a = data1;
  call.b = data2;
  switch (status & 0xF0) {
    case 0x80:
      call.kind = ChannelCall::kNoteOff;
      call.b = 0;
      return true;
    case 0x90:
      call.kind = data2 == 0 ? ChannelCall::kNoteOff : ChannelCall::kNoteOn;
      return true;
    case 0xA0:
      call.kind = ChannelCall::kKeyPressure;
      return true;
    case 0xB0:
      call.kind = ChannelCall::kControl;
      return true;
    case 0xC0:
      call.kind = ChannelCall::kProgram;
      call.b = 0;
      return true;
    case 0xD0:
      call.kind = ChannelCall::kChannelPressure;
      call.b = 0;
      return true;
    case 0xE0:
      call.kind = ChannelCall::kPitchBend;
      call.a = data1 | (data2 << 7);
      call.b = 0;
      return true;
    default:
      return false;
  }
}

AudioOutput* AcquireOutput() {
  if (gOutput != nullptr) {
    ++gOutput->users;
    return gOutput;
  }
  auto* out = new AudioOutput;
  out->pulledByHost = MixPulledByHost();
  if (!out->pulledByHost && !StartAudioDevice(*out)) {
    delete out;
    return nullptr;
  }
  out->users = 1;
  gOutput = out;
  if (out->pulledByHost && !UsesPlatformMusic()) {
    HandOverSynth(nullptr);  // a host-pulled mix has no music of its own
  } else if (auto make = MusicSynthMaker(out->pulledByHost)) {
    out->loader = std::thread(&LoadSynth, out, std::move(make));
  }
  return out;
}

void ReleaseOutput() {
  AudioOutput* out = gOutput;
  if (out == nullptr || --out->users > 0) return;
  if (!out->pulledByHost) StopAudioDevice(*out);
  if (out->loader.joinable()) out->loader.join();
  delete out->synth;
  gOutput = nullptr;
  delete out;
  TraceMark("audio-output-closed");
}

void SetSoundLevels(int effects, int music) {
  gEffectsLevel = std::clamp(effects, 0, kFullVolume);
  gMusicLevel = std::clamp(music, 0, kFullVolume);
  if (gOutput == nullptr) return;
  std::lock_guard<std::mutex> hold(gOutput->lock);
  if (gOutput->synth != nullptr) gOutput->synth->SetLevel(gMusicLevel);
}

bool AudioPulledByHost() { return gOutput != nullptr && gOutput->pulledByHost; }

bool PullAudio(std::int16_t* out, int frames) {
  if (frames <= 0) return true;
  if (gOutput == nullptr || !gOutput->pulledByHost) {
    std::fill_n(out, static_cast<std::size_t>(frames) * kAudioChannels, std::int16_t{0});
    return false;
  }
  std::lock_guard<std::mutex> hold(gOutput->lock);
  MixLocked(*gOutput, out, frames);
  return true;
}

unsigned MidiOutputCount() { return UsesPlatformMusic() ? NativeMidiOutputCount() : 0; }

void SetSoundfontPath(const std::string& path) {
  std::snprintf(gSoundfontPath, sizeof gSoundfontPath, "%s", path.c_str());
}

const char* SoundfontPath() { return gSoundfontPath; }

void SoundfontLoaded(double ms) {
  gSoundfontLoadMs = ms;
  TraceMark("soundfont-loaded");
}

double SoundfontLoadMilliseconds() { return gSoundfontLoadMs; }

bool WaitForSoundfont() {
  if (gOutput == nullptr) return false;
  std::unique_lock<std::mutex> hold(gOutput->lock);
  gOutput->loaderFinished.wait(hold, [] { return gOutput->loaderDone; });
  return gOutput->synth != nullptr;
}

// ---- The silent pull -----------------------------------------------------------

struct SilentPull {
  std::thread thread;
  std::mutex lock;
  std::condition_variable wake;
  bool stop = false;
};

namespace {

// One block of the mix at a time, on the wall clock's schedule: the effects
// end and the music moves on as if a device were playing.
void PullSilently(AudioOutput* out, SilentPull* pull) {
  using Clock = std::chrono::steady_clock;
  const auto block = std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double>(static_cast<double>(kAudioBlockFrames) / kAudioRate));
  std::vector<std::int16_t> scratch(kAudioBlockFrames * kAudioChannels);
  auto next = Clock::now();
  std::unique_lock<std::mutex> hold(pull->lock);
  while (!pull->stop) {
    {
      std::lock_guard<std::mutex> mixing(out->lock);
      MixLocked(*out, scratch.data(), kAudioBlockFrames);
    }
    next += block;
    pull->wake.wait_until(hold, next, [pull] { return pull->stop; });
  }
}

}  // namespace

SilentPull* StartSilentPull(AudioOutput& out) {
  auto* pull = new SilentPull;
  pull->thread = std::thread(&PullSilently, &out, pull);
  return pull;
}

void StopSilentPull(SilentPull* pull) {
  if (pull == nullptr) return;
  {
    std::lock_guard<std::mutex> hold(pull->lock);
    pull->stop = true;
  }
  pull->wake.notify_all();
  pull->thread.join();
  delete pull;
}

}  // namespace platform
