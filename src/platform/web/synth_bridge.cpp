// The music synthesizer of the browser build: libfluidsynth compiled to
// WebAssembly, as js-synthesizer loads it, in the page's audio worklet beside
// the output, so that neither its start, nor reading the soundfont, nor its
// rendering holds the page's thread. The game's thread cannot call it there:
// each message goes to the page stamped with its frame in the mix being made
// (vedo_audio_mix), and the worklet renders the music as it plays that mix,
// sending each message at its frame. So every note falls where the
// sequencer placed it, as on Linux (the page sets the same gain); only a
// message from outside a mix (a stop, a close) goes with the next frame.
#include "platform/web/synth_bridge.h"

#include <emscripten.h>

namespace platform {
namespace {

// Frames of music rendered in the mix being made; -1 outside one.
int gMixAt = -1;

// clang-format off
EM_JS(void, JsSynthSend, (int kind, int chan, int a, int b, int at), {
  Module.vedoPage.music.send(kind, chan, a, b, at);
});

EM_JS(void, JsSynthSysex, (const unsigned char* data, int len, int at), {
  Module.vedoPage.music.sysex(HEAPU8.slice(data, data + len), at);
});
// clang-format on

// The calls beyond the channel messages, numbered after ChannelCall's kinds.
enum PageCall { kSystemReset = ChannelCall::kPitchBend + 1, kAllNotesOff, kAllSoundsOff };

class PageSynth final : public MusicSynth {
 public:
  void ChannelMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
    ChannelCall c;
    if (DecodeChannelMessage(status, data1, data2, c)) {
      JsSynthSend(c.kind, c.channel, c.a, c.b, gMixAt);
    }
  }
  void Sysex(const std::uint8_t* bytes, std::size_t length) override {
    if (length > 0) JsSynthSysex(bytes, static_cast<int>(length), gMixAt);
  }
  void AllNotesOff() override { JsSynthSend(kAllNotesOff, -1, 0, 0, gMixAt); }
  void Silence() override { JsSynthSend(kAllNotesOff, -1, 0, 0, gMixAt); }
  void AllSoundsOff() override { JsSynthSend(kAllSoundsOff, -1, 0, 0, gMixAt); }
  void SystemReset() override { JsSynthSend(kSystemReset, 0, 0, 0, gMixAt); }
  // The worklet renders; here the frames only move the stamp on.
  void Render(std::int32_t*, int frames) override {
    if (gMixAt >= 0) gMixAt += frames;
  }
};

}  // namespace

MusicSynth* NewPageSynth() { return new PageSynth; }

void BeginPageMix() { gMixAt = 0; }

int EndPageMix() {
  const int rendered = gMixAt;
  gMixAt = -1;
  return rendered;
}

}  // namespace platform
