// The output shared by the sound device and the sequencer. Private to the
// platform layer.
//
// The output opens with its first user (the sound device or a sequencer) and
// closes with its last, so the music player, which outlives the sound device
// at program exit, keeps it as long as it needs it. Its one instance is
// reached through a plain pointer that needs no destructor: the game's music
// player closes its sequencer from a static destructor, and nothing here may
// have been torn down before that.
#pragma once

#include <fluidsynth.h>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "platform/audio.h"

namespace platform {

struct Sequencer;

struct AudioOutput {
  std::mutex lock;
  int users = 0;
  bool pulledByHost = false;
  std::uint32_t sdlDevice = 0;

  // The synthesizer, set under the lock once the soundfont has loaded; null
  // until then, or for good when there is no soundfont.
  fluid_synth_t* synth = nullptr;
  fluid_settings_t* settings = nullptr;
  std::thread loader;
  bool loaderDone = false;
  std::condition_variable loaderFinished;

  SoundDevice* soundDevice = nullptr;
  Sequencer* sequencer = nullptr;

  // Scratch for one mixer pass.
  std::int32_t sum[kAudioBlockFrames * kAudioChannels] = {};
  float left[kAudioBlockFrames] = {};
  float right[kAudioBlockFrames] = {};
};

// Opens the output on first use; null when not even a silent one opens.
AudioOutput* AcquireOutput();
void ReleaseOutput();

// The mixer's parts, called with the output's lock held. Each adds its
// frames (interleaved left, right) into `sum`.
void MixEffects(AudioOutput& out, std::int32_t* sum, int frames);
void MixMusic(AudioOutput& out, std::int32_t* sum, int frames);
// Called with the lock held when the synthesizer has just arrived.
void SynthArrived(AudioOutput& out);

}  // namespace platform
