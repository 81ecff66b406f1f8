// Sound output: the effects and the music, through one stereo stream.
//
// Pipeline. The game creates static sound buffers from PCM bytes; each is
// converted once, at creation, to the output format (44100 Hz, signed 16-bit,
// stereo). Duplicates share those samples and keep their own position and
// state. The sequencer reads a standard MIDI file into one list of timed
// events and, while it plays, hands each event to the platform's music
// synthesizer at its own output frame. The mixer sums, frame by frame, every
// sounding buffer and the synthesizer's output and saturates the sum to 16
// bits. The platform's device pulls the mix; when no device opens, a silent
// stand-in does, after one warning line. On the headless backend nothing
// pulls it until a host calls PullAudio, so tests and the replay tool hear
// exactly the frames they ask for.
//
// The synthesizer is the platform's: FluidSynth with its soundfont on Linux,
// the system's MIDI output on Windows, js-synthesizer on the page in the
// browser; the headless backend has none (headless.h). It is made when the
// output opens, on a background thread where there are threads and by the
// page in the browser, so that music never waits for it on the game's frame
// path.
//
// One lock guards everything the game thread and the mixer share; the mixer
// holds it for one pass. All calls come from the game's thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/midi_file.h"
#include "formats/wave_file.h"

namespace platform {

inline constexpr int kAudioRate = 44100;
inline constexpr int kAudioChannels = 2;
// Frames the mixer produces per pass of the audio device.
inline constexpr int kAudioBlockFrames = 1024;

// ---- Sound device and buffers ----------------------------------------------

// A buffer's sample rates and samples are those of a sound file
// (kMinBufferRate, kMaxBufferRate and PcmFormat in formats/wave_file.h).

class SoundDevice;
class SoundBuffer;

// Opens the one sound device. Null when one is open already, or when no
// output, not even a silent one, can be had (a line on stderr says why).
SoundDevice* OpenSoundDevice();
// Releases every buffer of the device, then the device.
void CloseSoundDevice(SoundDevice* device);

// Whether a sound of `size` bytes in `format` is short enough for a buffer:
// at most two minutes. (Inline, for the kit, which links no sound.)
inline bool SoundFitsBuffer(const PcmFormat& f, std::size_t size) {
  constexpr std::size_t kMaxFrames = std::size_t{120} * kAudioRate;  // output frames
  if (f.blockAlign <= 0 || f.samplesPerSecond <= 0) return false;
  const std::size_t sourceFrames = size / static_cast<std::size_t>(f.blockAlign);
  return sourceFrames <= kMaxFrames &&
         sourceFrames * kAudioRate / static_cast<std::size_t>(f.samplesPerSecond) <= kMaxFrames;
}
// A buffer holding `size` bytes of samples in `format`. Null when the format
// is not one of the above, there are no whole frames, or the sound does not
// fit.
SoundBuffer* CreateSoundBuffer(SoundDevice* device, const PcmFormat& format, const void* bytes,
                               std::size_t size);
// A copy sharing the samples of `original`, idle, at the start.
SoundBuffer* DuplicateSoundBuffer(SoundDevice* device, SoundBuffer* original);
// One-shot play. A buffer that is sounding goes on unchanged; one that was
// stopped goes on from where it stopped; one that has played to its end was
// put back to its start when it finished.
void PlaySoundBuffer(SoundBuffer* buffer);
// Stops the buffer where it is.
void StopSoundBuffer(SoundBuffer* buffer);
void ReleaseSoundBuffer(SoundBuffer* buffer);

bool SoundBufferPlaying(const SoundBuffer* buffer);
// The buffer's play position and length, in output frames.
std::size_t SoundBufferPosition(const SoundBuffer* buffer);
std::size_t SoundBufferFrames(const SoundBuffer* buffer);

// ---- MIDI sequencer ----------------------------------------------------------

enum class SequencerMode { kStopped, kPlaying, kPaused };

// A sequencer's identifier; 0 is none. One sequencer can be open at a time,
// as the synthesizer is one output port.
using SequencerId = std::uint32_t;

// Opens a standard MIDI file, stopped at its start. 0 when the file cannot be
// read or another sequencer is open.
SequencerId OpenSequencer(const char* path);
// Stops the tune and closes the sequencer. Unknown identifiers are ignored.
void CloseSequencer(SequencerId id);

// Every operation below fails (false) on an identifier that is not open.
// Positions are milliseconds of the tune's own time.

// Plays from `fromMs` on, to the end, where the sequencer stops by itself.
// False when `fromMs` lies past the end.
bool SequencerPlay(SequencerId id, std::uint32_t fromMs);
// Stops where it is; sounding notes are released.
bool SequencerStop(SequencerId id);
// Holds a playing tune where it is; a stopped one stays stopped.
bool SequencerPause(SequencerId id);
// Moves to `ms`, stopping a playing tune. False when `ms` lies past the end.
bool SequencerSeek(SequencerId id, std::uint32_t ms);
bool SequencerLength(SequencerId id, std::uint32_t& ms);
bool SequencerPosition(SequencerId id, std::uint32_t& ms);
bool SequencerGetMode(SequencerId id, SequencerMode& mode);
bool SequencerDivision(SequencerId id, MidiTimeDivision& division);
// The tempo at the current position, in beats per minute (frames per second
// for SMPTE files), rounded.
bool SequencerTempo(SequencerId id, std::uint32_t& tempo);
// Plays on at `tempo` (same unit): the tune runs faster or slower by the
// ratio of `tempo` to the file's own tempo here. Positions stay in the
// tune's own time. False for 0.
bool SequencerSetTempo(SequencerId id, std::uint32_t tempo);

// The MIDI output ports the music can play through: on Linux 1 when the
// soundfont can be read, on Windows the system's count, in the browser 1
// unless the page's synthesizer failed; on the headless backend 0.
unsigned MidiOutputCount();

// ---- The player's volumes -----------------------------------------------------

inline constexpr int kFullVolume = 100;
// Scales the effects and the music in the mix, each from 0 (silent) to
// kFullVolume, the samples as they are: at full volume the mix is the plain
// sum, bit for bit. Music that plays outside the mix (Windows' MIDI port)
// takes its volume from the port. Applies from the next mixed block.
void SetSoundLevels(int effects, int music);

// ---- Hosts and tests -----------------------------------------------------------

// True while an output is open and nothing but PullAudio drives it (the
// headless backend).
bool AudioPulledByHost();
// Mixes the next `frames` frames (interleaved left, right) into `out`. Only
// for a host-driven output; false otherwise.
bool PullAudio(std::int16_t* out, int frames);
// Waits for the music synthesizer of the open output (a soundfont read, a
// MIDI port opened, the page's synthesizer arrived); true when it is there.
bool WaitForSoundfont();
// The soundfont file of a synthesizer that reads one (FluidSynth on Linux).
// By default the first of TimGM6mb, the system's default-GM.sf2 and
// FluidR3_GM.sf2 (in /usr/share/sounds/sf2) that can be read; a path set
// here is the only one tried (an empty one brings the list back).
void SetSoundfontPath(const std::string& path);
// How long the last soundfont load took, in milliseconds (negative before
// any, and where no soundfont is read).
double SoundfontLoadMilliseconds();

}  // namespace platform
