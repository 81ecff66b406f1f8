// The browser's parts of the output: the page's audio worklet as the device,
// and the page's js-synthesizer, in that worklet, as the music synthesizer
// (see synth_bridge.cpp).
//
// The mix is made here, on the page's thread where the game runs, between
// the game's frames (the game yields there): once the first click has
// started the page's audio, the page calls vedo_audio_mix for a block
// whenever the worklet has less than about 70 ms left to play, and posts the
// block to it. The worklet plays the blocks in order, adding the music it
// renders at the frames the sequencer's messages carry; so the sequencer's
// clock is still the frames mixed, and a hidden tab, whose audio the page
// suspends, holds the music where it was. There are no threads here: the
// output's loader thread is not started. The page loads js-synthesizer and
// the soundfont into the worklet after the first frame, since only the
// ending's music needs them; vedo_synth_arrived hands the synthesizer to the
// output when it is ready, and until then the music waits. Under Node (the
// replay tool, when --soundfont asks its headless backend for the platform's
// music) there is no page: music is silent after one warning line.
#include "platform/sound/audio_output.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "formats/load_breath.h"
#include "platform/platform.h"
#include "platform/port.h"
#include "platform/web/synth_bridge.h"

namespace platform {
namespace {

AudioOutput* gPulled = nullptr;  // the output the page's processor pulls

// clang-format off
EM_JS(int, JsHasPage, (), { return Module.vedoPage ? 1 : 0; });
// 1 when the page has given up on the synthesizer (it has said why).
EM_JS(int, JsSynthFailed, (), { return Module.vedoPage.synthFailed ? 1 : 0; });
// 1 when the page's synthesizer has read the soundfont already.
EM_JS(int, JsSynthReady, (), { return Module.vedoPage.synthReady ? 1 : 0; });
EM_JS(void, JsAudioOpened, (), { Module.vedoPage.audioOpened(); });
EM_JS(void, JsAudioClosed, (), { Module.vedoPage.audioClosed(); });
// clang-format on

void Warn(const char* line) {
  std::fputs(line, stderr);
  std::fflush(stderr);
}

}  // namespace

struct AudioDevice {};

bool StartAudioDevice(AudioOutput& out) {
  out.device = new AudioDevice;
  gPulled = &out;
  if (JsHasPage() != 0) JsAudioOpened();
  return true;
}

void StopAudioDevice(AudioOutput& out) {
  if (JsHasPage() != 0) JsAudioClosed();
  gPulled = nullptr;
  delete out.device;
  out.device = nullptr;
}

// The output is open when this is asked, so what is known now is handed
// over at once; the page's synthesizer, when it is still loading, arrives
// later through vedo_synth_arrived.
std::function<MusicSynth*()> MusicSynthMaker(bool) {
  if (JsHasPage() == 0) {
    Warn("Vedo Zeza1: no synthesizer outside the browser; music is silent.\n");
    HandOverSynth(nullptr);
  } else if (JsSynthFailed() != 0) {
    HandOverSynth(nullptr);
  } else if (JsSynthReady() != 0) {
    HandOverSynth(NewPageSynth());
  }
  return {};
}

// The browser has no converter to hand: our own one does the effects.
bool ConvertPcm(const PcmFormat& format, const std::uint8_t* bytes, std::size_t length,
                std::vector<std::int16_t>& out) {
  BreatheDuringLoad();  // between the sounds the game loads
  return ConvertPcmPortable(format, bytes, length, out);
}

unsigned NativeMidiOutputCount() { return JsHasPage() != 0 && JsSynthFailed() == 0 ? 1 : 0; }

}  // namespace platform

// Called by the page.
extern "C" {

// Mixes the next `frames` frames of the effects, interleaved 16-bit stereo,
// into `out` (silence while no output is open), and returns how many of them
// have music, all or none, which the worklet renders.
EMSCRIPTEN_KEEPALIVE int vedo_audio_mix(std::int16_t* out, int frames) {
  using namespace platform;
  if (gPulled == nullptr) {
    std::fill_n(out, static_cast<std::size_t>(frames) * kAudioChannels, std::int16_t{0});
    return 0;
  }
  std::lock_guard<std::mutex> hold(gPulled->lock);
  BeginPageMix();
  MixLocked(*gPulled, out, frames);
  return EndPageMix();
}

// 1 while no effect sounds and no tune plays (or no output is open): the
// page lets its audio rest then.
EMSCRIPTEN_KEEPALIVE int vedo_audio_quiet() {
  using namespace platform;
  if (gPulled == nullptr) return 1;
  std::lock_guard<std::mutex> hold(gPulled->lock);
  return EffectsSounding(*gPulled) || MusicPlaying(*gPulled) ? 0 : 1;
}

// The page's synthesizer has read the soundfont, which took `ms`; a
// negative `ms` says it failed to (the page has said why).
EMSCRIPTEN_KEEPALIVE void vedo_synth_arrived(double ms) {
  using namespace platform;
  if (ms < 0) {
    HandOverSynth(nullptr);
    return;
  }
  SoundfontLoaded(ms);
  HandOverSynth(NewPageSynth());
}

}  // extern "C"
