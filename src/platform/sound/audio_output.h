// The output shared by the sound device and the sequencer. Private to the
// platform layer.
//
// The output opens with its first user (the sound device or a sequencer) and
// closes with its last, so the music player, which outlives the sound device
// at program exit, keeps it as long as it needs it. Its one instance is
// reached through a plain pointer that needs no destructor: the game's music
// player closes its sequencer from a static destructor, and nothing here may
// have been torn down before that.
//
// The mixer, the buffers, the sequencer and the output's life cycle are the
// same on every platform. Three small parts differ, and each platform
// supplies them (port.h): the converter of effect samples, the music
// synthesizer the sequencer plays into, and the device that pulls the mix.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/sound/audio.h"

namespace platform {

struct Sequencer;
struct AudioDevice;  // each platform's own (port.h)

// Where the sequencer's events go. Every call comes with the output's lock
// held, from the mixer pass or from a game-thread call. Between calls the
// sequencer renders the time up to the next event, so a sink that keeps its
// own clock of rendered frames knows when each message falls.
class MusicSynth {
 public:
  virtual ~MusicSynth() = default;
  // A channel message; `data2` is 0 for the one-byte ones.
  virtual void ChannelMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) = 0;
  // A system exclusive message without its opening F0 and closing F7.
  virtual void Sysex(const std::uint8_t* bytes, std::size_t length) = 0;
  // Releases every note on every channel (they may ring out), in its place
  // among the messages: the end of a tune.
  virtual void AllNotesOff() = 0;
  // Releases every note now, and drops what is still waiting to be sent: a
  // stop, a pause or a move.
  virtual void Silence() = 0;
  // Cuts every voice now, and drops what is waiting: the tune closes.
  virtual void AllSoundsOff() = 0;
  // Back to the power-on state, every channel silent and reset, in its place
  // among the messages.
  virtual void SystemReset() = 0;
  // The next `frames` frames of music added into `sum` (interleaved left,
  // right). A synthesizer outside the mix adds nothing but moves its clock.
  virtual void Render(std::int32_t* sum, int frames) = 0;
  // The player's music volume, 0 to kFullVolume, for a synthesizer outside
  // the mix; the mix scales what the others render.
  virtual void SetLevel(int level) { (void)level; }
};

// A synthesizer that renders floats, full scale at +-1, as FluidSynth does:
// each block is held within +-2 and added, rounded, into the sum.
class FloatMusicSynth : public MusicSynth {
 public:
  void Render(std::int32_t* sum, int frames) final;

 protected:
  // The next `frames` (at most kAudioBlockFrames) frames, one channel each.
  virtual void RenderFloat(int frames, float* left, float* right) = 0;

 private:
  float left_[kAudioBlockFrames] = {};
  float right_[kAudioBlockFrames] = {};
};

// A channel message as the calls of a General MIDI synthesizer's interface
// take it (FluidSynth's, and js-synthesizer's after it).
struct ChannelCall {
  // In this order from 0: the browser's bridge hands the number on to the
  // page's side of it.
  enum Kind { kNoteOn, kNoteOff, kControl, kKeyPressure, kChannelPressure, kProgram, kPitchBend };
  Kind kind = kNoteOn;
  int channel = 0;
  int a = 0;  // the key, controller, program, pressure or 14-bit bend
  int b = 0;  // the velocity, value or key pressure; 0 for the others
};
// False for a status outside the channel messages. A note-on of velocity 0
// is a note-off.
bool DecodeChannelMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                          ChannelCall& call);

struct AudioOutput {
  std::mutex lock;
  int users = 0;
  bool pulledByHost = false;
  AudioDevice* device = nullptr;

  // The synthesizer, set under the lock once it is ready (a soundfont takes
  // a while to read); null until then, or for good when there is none.
  MusicSynth* synth = nullptr;
  std::thread loader;
  bool loaderDone = false;
  std::condition_variable loaderFinished;

  SoundDevice* soundDevice = nullptr;
  Sequencer* sequencer = nullptr;

  // Scratch for one mixer pass.
  std::int32_t sum[kAudioBlockFrames * kAudioChannels] = {};
};

// Opens the output on first use; null when not even a silent one opens.
AudioOutput* AcquireOutput();
void ReleaseOutput();

// Mixes the next `frames` frames (interleaved left, right, saturated) into
// `dst`, with the lock held: what a device's callback calls.
void MixLocked(AudioOutput& out, std::int16_t* dst, int frames);

// The mixer's parts, called with the output's lock held. Each adds its
// frames (interleaved left, right) into `sum`, the effects scaled by
// `level` (0 to kFullVolume).
void MixEffects(AudioOutput& out, std::int32_t* sum, int frames, int level);
void MixMusic(AudioOutput& out, std::int32_t* sum, int frames);
// Whether an effect sounds, and whether a tune plays, with the lock held: a
// host that pulls the mix itself may let its device rest while neither does.
bool EffectsSounding(const AudioOutput& out);
bool MusicPlaying(const AudioOutput& out);
// Called with the lock held when the synthesizer has just arrived.
void SynthArrived(AudioOutput& out);

// A thread that pulls the mix at the output's rate and throws it away, for a
// platform without a device of any kind, so that effects finish and music
// moves on in real time.
struct SilentPull;
SilentPull* StartSilentPull(AudioOutput& out);
void StopSilentPull(SilentPull* pull);

// Our own converter to the output format, for the platforms without one and
// the headless backend: 8-bit unsigned or 16-bit signed samples, one or two
// channels, any rate from kMinBufferRate to kMaxBufferRate, to 44,100 Hz
// signed 16-bit stereo, by linear interpolation. `length` holds whole
// frames. False when there is nothing to convert.
bool ConvertPcmPortable(const PcmFormat& format, const std::uint8_t* bytes, std::size_t length,
                        std::vector<std::int16_t>& out);

// Gives the open output its synthesizer (null: there is none, music stays
// silent), as the loader thread does when its job returns; takes the lock.
// Owned by the output from here on; deleted at once when no output waits
// for one.
void HandOverSynth(MusicSynth* synth);

// The soundfont a platform's synthesizer reads: the file SetSoundfontPath
// named, or empty for the platform's own choice.
const char* SoundfontPath();
// Told by the synthesizer's loader when it has read the soundfont, which
// took `ms` (SoundfontLoadMilliseconds, and a mark in the frame trace).
void SoundfontLoaded(double ms);

}  // namespace platform
