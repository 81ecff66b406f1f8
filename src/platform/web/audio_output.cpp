// The browser's parts of the output: the page's Web Audio graph as the
// device, and the page's js-synthesizer as the music synthesizer (see
// synth_bridge.cpp).
//
// Browsers start sound only after a click, so the page resumes its audio
// context on the first click and from then on calls vedo_audio_mix from a
// ScriptProcessor on its own thread, between the game's frames (the game
// yields there), which is the thread the game runs on. There are no threads
// here: the output's loader thread is not started. The page fetches
// js-synthesizer and the soundfont after the first frame, since only the
// ending's music needs them; vedo_synth_arrived hands the synthesizer to the
// output when it is ready, and until then the music waits. Under Node (the
// replay tool, when --soundfont asks its headless backend for the
// platform's music) there is no page: music is silent after one warning
// line.
#include "platform/sound/audio_output.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <string>

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
EM_JS(int, JsSynthReady, (), { return Module.vedoPage.synth ? 1 : 0; });
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
  return ConvertPcmPortable(format, bytes, length, out);
}

unsigned NativeMidiOutputCount() { return JsHasPage() != 0 && JsSynthFailed() == 0 ? 1 : 0; }

}  // namespace platform

// Called by the page.
extern "C" {

// Mixes `frames` frames of interleaved 16-bit stereo into `out`; silence
// while no output is open.
EMSCRIPTEN_KEEPALIVE void vedo_audio_mix(std::int16_t* out, int frames) {
  using namespace platform;
  if (gPulled == nullptr) {
    std::fill_n(out, static_cast<std::size_t>(frames) * kAudioChannels, std::int16_t{0});
    return;
  }
  std::lock_guard<std::mutex> hold(gPulled->lock);
  MixLocked(*gPulled, out, frames);
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
