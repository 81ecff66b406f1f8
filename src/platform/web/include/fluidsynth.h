// The part of FluidSynth's C interface our sequencer and mixer use, for the
// browser build. There the synthesizer is libfluidsynth compiled to
// WebAssembly by js-synthesizer and loaded by the page beside the game;
// synth_bridge.cpp forwards each call to it. The declarations follow
// FluidSynth's own header, so the shared code compiles unchanged.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

typedef struct _fluid_synth_t fluid_synth_t;
typedef struct _fluid_hashtable_t fluid_settings_t;

#define FLUID_OK (0)
#define FLUID_FAILED (-1)

int fluid_synth_noteon(fluid_synth_t* synth, int chan, int key, int vel);
int fluid_synth_noteoff(fluid_synth_t* synth, int chan, int key);
int fluid_synth_cc(fluid_synth_t* synth, int chan, int ctrl, int val);
int fluid_synth_key_pressure(fluid_synth_t* synth, int chan, int key, int val);
int fluid_synth_channel_pressure(fluid_synth_t* synth, int chan, int val);
int fluid_synth_program_change(fluid_synth_t* synth, int chan, int program);
int fluid_synth_pitch_bend(fluid_synth_t* synth, int chan, int val);
int fluid_synth_sysex(fluid_synth_t* synth, const char* data, int len, char* response,
                      int* response_len, int* handled, int dryrun);
int fluid_synth_system_reset(fluid_synth_t* synth);
int fluid_synth_all_notes_off(fluid_synth_t* synth, int chan);
int fluid_synth_all_sounds_off(fluid_synth_t* synth, int chan);
int fluid_synth_write_float(fluid_synth_t* synth, int len, void* lout, int loff, int lincr,
                            void* rout, int roff, int rincr);

#ifdef __cplusplus
}
#endif
