// The output in the browser: the page's Web Audio graph pulls the mix, and
// the music plays on the page's synthesizer (see synth_bridge.cpp).
//
// Browsers start sound only after a click, so the page makes its audio
// context on the first click and from then on calls vedo_audio_mix on its own
// thread, between the game's frames (the game yields there), which is the
// thread the game runs on: nothing here is shared across threads. The
// soundfont is fetched and read by the page while the game runs, and
// vedo_synth_arrived hands the synthesizer over when it is ready. Under Node
// (the replay tool) there is no page: the host pulls the mix, and music is
// silent after the same warning a machine without the soundfont gives.
#include "platform/audio_output.h"

#include <emscripten.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "platform/platform.h"

namespace platform {
namespace {

// The page's synthesizer; the pointer only marks that it has arrived.
char gPageSynth;

AudioOutput* gOutput = nullptr;
char gSoundfontPath[1024] = "/usr/share/sounds/sf2/TimGM6mb.sf2";
double gSoundfontLoadMs = -1.0;
bool gWarned = false;

// clang-format off
EM_JS(int, JsHasPage, (), { return Module.vedoPage ? 1 : 0; });
// 1 when the page has found the soundfont beside it, 0 when not.
EM_JS(int, JsSoundfontPresent, (), { return Module.vedoPage.soundfontPresent ? 1 : 0; });
EM_JS(void, JsAudioOpened, (), { Module.vedoPage.audioOpened(); });
EM_JS(void, JsAudioClosed, (), { Module.vedoPage.audioClosed(); });
// clang-format on

void MixInto(AudioOutput& out, std::int16_t* dst, int frames) {
  while (frames > 0) {
    const int n = std::min(frames, kAudioBlockFrames);
    std::fill_n(out.sum, n * kAudioChannels, 0);
    MixEffects(out, out.sum, n);
    MixMusic(out, out.sum, n);
    for (int i = 0; i < n * kAudioChannels; ++i) {
      dst[i] = static_cast<std::int16_t>(std::clamp(out.sum[i], -32768, 32767));
    }
    dst += n * kAudioChannels;
    frames -= n;
  }
}

void WarnNoSoundfont(const char* where) {
  if (gWarned) return;
  gWarned = true;
  std::fprintf(stderr, "Vedo Zeza1: no soundfont at %s; music is silent.\n", where);
  std::fflush(stderr);
}

}  // namespace

AudioOutput* AcquireOutput() {
  if (gOutput != nullptr) {
    ++gOutput->users;
    return gOutput;
  }
  auto* out = new AudioOutput;
  out->pulledByHost = IsHeadless() || JsHasPage() == 0;
  out->users = 1;
  gOutput = out;
  if (JsHasPage() != 0) {
    // The page reads the soundfont in the background and calls back.
    if (JsSoundfontPresent() == 0) WarnNoSoundfont("TimGM6mb.sf2 beside the page");
    JsAudioOpened();
  } else {
    // No synthesizer outside the browser: music is silent.
    out->loaderDone = true;
    std::fprintf(stderr, "Vedo Zeza1: no synthesizer outside the browser; music is silent.\n");
    std::fflush(stderr);
  }
  return out;
}

void ReleaseOutput() {
  AudioOutput* out = gOutput;
  if (out == nullptr || --out->users > 0) return;
  if (JsHasPage() != 0) JsAudioClosed();
  gOutput = nullptr;
  delete out;
  TraceMark("audio-output-closed");
}

bool AudioPulledByHost() { return gOutput != nullptr && gOutput->pulledByHost; }

bool PullAudio(std::int16_t* out, int frames) {
  if (frames <= 0) return true;
  if (gOutput == nullptr || !gOutput->pulledByHost) {
    std::fill_n(out, static_cast<std::size_t>(frames) * kAudioChannels, std::int16_t{0});
    return false;
  }
  MixInto(*gOutput, out, frames);
  return true;
}

// Nothing can wait on this thread: the answer is whether it is there now.
bool WaitForSoundfont() { return gOutput != nullptr && gOutput->synth != nullptr; }

void SetSoundfontPath(const std::string& path) {
  std::snprintf(gSoundfontPath, sizeof gSoundfontPath, "%s", path.c_str());
}

double SoundfontLoadMilliseconds() { return gSoundfontLoadMs; }

unsigned MidiOutputCount() {
  if (JsHasPage() != 0) return JsSoundfontPresent() != 0 ? 1 : 0;
  std::FILE* f = std::fopen(gSoundfontPath, "rb");
  if (f == nullptr) return 0;
  std::fclose(f);
  return 1;
}

}  // namespace platform

// Called by the page.
extern "C" {

// Mixes `frames` frames of interleaved 16-bit stereo into `out`; silence
// while no output is open.
EMSCRIPTEN_KEEPALIVE void vedo_audio_mix(std::int16_t* out, int frames) {
  using namespace platform;
  if (gOutput == nullptr || gOutput->pulledByHost) {
    std::fill_n(out, static_cast<std::size_t>(frames) * kAudioChannels, std::int16_t{0});
    return;
  }
  MixInto(*gOutput, out, frames);
}

// The page's synthesizer has read the soundfont, which took `ms`.
EMSCRIPTEN_KEEPALIVE void vedo_synth_arrived(double ms) {
  using namespace platform;
  if (gOutput == nullptr || gOutput->synth != nullptr) return;
  gSoundfontLoadMs = ms;
  gOutput->synth = reinterpret_cast<fluid_synth_t*>(&gPageSynth);
  gOutput->loaderDone = true;
  SynthArrived(*gOutput);
  TraceMark("soundfont-loaded");
}

}  // extern "C"
