// The music synthesizer of the browser build: libfluidsynth compiled to
// WebAssembly, as js-synthesizer loads it on the page. It lives in its own
// module beside the game's, so each message crosses into JavaScript; the
// sequencer sends a few a pass, and each render copies one block of samples
// back into our memory, where it joins the mix as FluidSynth's does on Linux
// (the page sets the same gain).
#include "platform/web/synth_bridge.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>

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

enum Kind {
  kNoteOn,
  kNoteOff,
  kCc,
  kKeyPressure,
  kChannelPressure,
  kProgram,
  kBend,
  kReset,
  kNotesOff,
  kSoundsOff
};

class PageSynth final : public MusicSynth {
 public:
  void ChannelMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
    const int ch = status & 0x0F;
    switch (status & 0xF0) {
      case 0x80:
        JsSynthSend(kNoteOff, ch, data1, 0);
        break;
      case 0x90:
        JsSynthSend(data2 == 0 ? kNoteOff : kNoteOn, ch, data1, data2);
        break;
      case 0xA0:
        JsSynthSend(kKeyPressure, ch, data1, data2);
        break;
      case 0xB0:
        JsSynthSend(kCc, ch, data1, data2);
        break;
      case 0xC0:
        JsSynthSend(kProgram, ch, data1, 0);
        break;
      case 0xD0:
        JsSynthSend(kChannelPressure, ch, data1, 0);
        break;
      case 0xE0:
        JsSynthSend(kBend, ch, data1 | (data2 << 7), 0);
        break;
      default:
        break;
    }
  }
  void Sysex(const std::uint8_t* bytes, std::size_t length) override {
    if (length > 0) JsSynthSysex(bytes, static_cast<int>(length));
  }
  void AllNotesOff() override { JsSynthSend(kNotesOff, -1, 0, 0); }
  void Silence() override { JsSynthSend(kNotesOff, -1, 0, 0); }
  void AllSoundsOff() override { JsSynthSend(kSoundsOff, -1, 0, 0); }
  void SystemReset() override { JsSynthSend(kReset, 0, 0, 0); }
  void Render(std::int32_t* sum, int frames) override {
    JsSynthRender(frames, left_, right_);
    for (int i = 0; i < frames; ++i) {
      sum[2 * i] +=
          static_cast<std::int32_t>(std::lrint(std::clamp(left_[i], -2.0f, 2.0f) * 32767.0f));
      sum[2 * i + 1] +=
          static_cast<std::int32_t>(std::lrint(std::clamp(right_[i], -2.0f, 2.0f) * 32767.0f));
    }
  }

 private:
  float left_[kAudioBlockFrames] = {};
  float right_[kAudioBlockFrames] = {};
};

}  // namespace

MusicSynth* NewPageSynth() { return new PageSynth; }

}  // namespace platform
