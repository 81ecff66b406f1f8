// The music synthesizer of the browser build: libfluidsynth compiled to
// WebAssembly, as js-synthesizer loads it on the page. It lives in its own
// module beside the game's, so each message crosses into JavaScript; the
// sequencer sends a few a pass, and each render copies one block of samples
// back into our memory, where it joins the mix as FluidSynth's does on Linux
// (the page sets the same gain).
#include "platform/web/synth_bridge.h"

#include <emscripten.h>

namespace platform {
namespace {

// clang-format off
EM_JS(void, JsSynthSend, (int kind, int chan, int a, int b), {
  const s = Module.vedoPage && Module.vedoPage.synth;
  if (!s) return;
  switch (kind) {
    case 0: s.midiNoteOn(chan, a, b); break;
    case 1: s.midiNoteOff(chan, a); break;
    case 2: s.midiControl(chan, a, b); break;
    case 3: s.midiKeyPressure(chan, a, b); break;
    case 4: s.midiChannelPressure(chan, a); break;
    case 5: s.midiProgramChange(chan, a); break;
    case 6: s.midiPitchBend(chan, a); break;
    case 7: s.midiSystemReset(); break;
    case 8: s.midiAllNotesOff(); break;
    case 9: s.midiAllSoundsOff(); break;
  }
});

EM_JS(void, JsSynthSysex, (const unsigned char* data, int len), {
  const s = Module.vedoPage && Module.vedoPage.synth;
  if (s) s.midiSysEx(HEAPU8.slice(data, data + len));
});

EM_JS(void, JsSynthRender, (int frames, float* left, float* right), {
  const s = Module.vedoPage && Module.vedoPage.synth;
  const l = HEAPF32.subarray(left >> 2, (left >> 2) + frames);
  const r = HEAPF32.subarray(right >> 2, (right >> 2) + frames);
  if (!s) {
    l.fill(0);
    r.fill(0);
    return;
  }
  let scratch = Module.vedoSynthScratch;
  if (!scratch || scratch[0].length !== frames) {
    scratch = Module.vedoSynthScratch = [new Float32Array(frames), new Float32Array(frames)];
  }
  s.render(scratch);
  l.set(scratch[0]);
  r.set(scratch[1]);
});
// clang-format on

// The calls beyond the channel messages, numbered after ChannelCall's kinds.
enum PageCall { kSystemReset = ChannelCall::kPitchBend + 1, kAllNotesOff, kAllSoundsOff };

class PageSynth final : public FloatMusicSynth {
 public:
  void ChannelMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
    ChannelCall c;
    if (DecodeChannelMessage(status, data1, data2, c)) JsSynthSend(c.kind, c.channel, c.a, c.b);
  }
  void Sysex(const std::uint8_t* bytes, std::size_t length) override {
    if (length > 0) JsSynthSysex(bytes, static_cast<int>(length));
  }
  void AllNotesOff() override { JsSynthSend(kAllNotesOff, -1, 0, 0); }
  void Silence() override { JsSynthSend(kAllNotesOff, -1, 0, 0); }
  void AllSoundsOff() override { JsSynthSend(kAllSoundsOff, -1, 0, 0); }
  void SystemReset() override { JsSynthSend(kSystemReset, 0, 0, 0); }

 protected:
  void RenderFloat(int frames, float* left, float* right) override {
    JsSynthRender(frames, left, right);
  }
};

}  // namespace

MusicSynth* NewPageSynth() { return new PageSynth; }

}  // namespace platform
