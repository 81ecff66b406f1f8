// FluidSynth's calls, forwarded to the page's synthesizer: libfluidsynth
// compiled to WebAssembly, as js-synthesizer loads it. It lives in its own
// module beside the game's, so each call crosses into JavaScript; the
// sequencer sends a few events a pass, and the render copies one block of
// samples back into our memory. The game has one synthesizer, so the
// pointer only says whether it has arrived.
#include <emscripten.h>

#include "fluidsynth.h"

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
    case 8: chan < 0 ? s.midiAllNotesOff() : s.midiAllNotesOff(chan); break;
    case 9: chan < 0 ? s.midiAllSoundsOff() : s.midiAllSoundsOff(chan); break;
  }
});

EM_JS(void, JsSynthSysex, (const char* data, int len), {
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

namespace {

int Send(int kind, int chan, int a, int b) {
  JsSynthSend(kind, chan, a, b);
  return FLUID_OK;
}

}  // namespace

extern "C" {

int fluid_synth_noteon(fluid_synth_t*, int chan, int key, int vel) {
  return Send(0, chan, key, vel);
}
int fluid_synth_noteoff(fluid_synth_t*, int chan, int key) { return Send(1, chan, key, 0); }
int fluid_synth_cc(fluid_synth_t*, int chan, int ctrl, int val) { return Send(2, chan, ctrl, val); }
int fluid_synth_key_pressure(fluid_synth_t*, int chan, int key, int val) {
  return Send(3, chan, key, val);
}
int fluid_synth_channel_pressure(fluid_synth_t*, int chan, int val) {
  return Send(4, chan, val, 0);
}
int fluid_synth_program_change(fluid_synth_t*, int chan, int program) {
  return Send(5, chan, program, 0);
}
int fluid_synth_pitch_bend(fluid_synth_t*, int chan, int val) { return Send(6, chan, val, 0); }
int fluid_synth_sysex(fluid_synth_t*, const char* data, int len, char*, int*, int*, int dryrun) {
  if (dryrun == 0 && data != nullptr && len > 0) JsSynthSysex(data, len);
  return FLUID_OK;
}
int fluid_synth_system_reset(fluid_synth_t*) { return Send(7, 0, 0, 0); }
int fluid_synth_all_notes_off(fluid_synth_t*, int chan) { return Send(8, chan, 0, 0); }
int fluid_synth_all_sounds_off(fluid_synth_t*, int chan) { return Send(9, chan, 0, 0); }

// Only the plain layout our mixer asks for: two separate channels, from
// their start, one sample apart.
int fluid_synth_write_float(fluid_synth_t*, int len, void* lout, int loff, int lincr, void* rout,
                            int roff, int rincr) {
  if (len <= 0) return FLUID_OK;
  if (loff != 0 || roff != 0 || lincr != 1 || rincr != 1) return FLUID_FAILED;
  JsSynthRender(len, static_cast<float*>(lout), static_cast<float*>(rout));
  return FLUID_OK;
}

}  // extern "C"
