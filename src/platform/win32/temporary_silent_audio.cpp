// TEMPORARY: a silent sound device and no MIDI output, only so that the
// Windows build links and runs until the shared audio code no longer needs
// SDL and FluidSynth. The Windows sound and music replace this file.
#include <cstdio>
#include <string>

#include "platform/audio.h"
#include "platform/platform.h"

namespace platform {

class SoundDevice {};
class SoundBuffer {
 public:
  std::size_t frames = 0;
};

namespace {
SoundDevice gDevice;
bool gOpen = false;
}  // namespace

SoundDevice* OpenSoundDevice() {
  if (gOpen) return nullptr;
  gOpen = true;
  std::fprintf(stderr, "Vedo Zeza1: no sound output in this Windows build yet; sound is silent\n");
  return &gDevice;
}
void CloseSoundDevice(SoundDevice*) {
  gOpen = false;
  TraceMark("sound-device-closed");
}
SoundBuffer* CreateSoundBuffer(SoundDevice*, const PcmFormat& format, const void*,
                               std::size_t size) {
  if (format.blockAlign <= 0 || size < static_cast<std::size_t>(format.blockAlign)) return nullptr;
  auto* b = new SoundBuffer;
  b->frames = size / static_cast<std::size_t>(format.blockAlign);
  return b;
}
SoundBuffer* DuplicateSoundBuffer(SoundDevice*, SoundBuffer* original) {
  if (original == nullptr) return nullptr;
  return new SoundBuffer(*original);
}
void PlaySoundBuffer(SoundBuffer*) {}
void StopSoundBuffer(SoundBuffer*) {}
void ReleaseSoundBuffer(SoundBuffer* buffer) { delete buffer; }
bool SoundBufferPlaying(const SoundBuffer*) { return false; }
std::size_t SoundBufferPosition(const SoundBuffer*) { return 0; }
std::size_t SoundBufferFrames(const SoundBuffer* b) { return b != nullptr ? b->frames : 0; }

SequencerId OpenSequencer(const char*) { return 0; }
void CloseSequencer(SequencerId) {}
bool SequencerPlay(SequencerId, std::uint32_t) { return false; }
bool SequencerStop(SequencerId) { return false; }
bool SequencerPause(SequencerId) { return false; }
bool SequencerSeek(SequencerId, std::uint32_t) { return false; }
bool SequencerLength(SequencerId, std::uint32_t&) { return false; }
bool SequencerPosition(SequencerId, std::uint32_t&) { return false; }
bool SequencerGetMode(SequencerId, SequencerMode&) { return false; }
bool SequencerDivision(SequencerId, MidiTimeDivision&) { return false; }
bool SequencerTempo(SequencerId, std::uint32_t&) { return false; }
bool SequencerSetTempo(SequencerId, std::uint32_t) { return false; }
unsigned MidiOutputCount() { return 0; }

bool AudioPulledByHost() { return false; }
bool PullAudio(std::int16_t*, int) { return false; }
bool WaitForSoundfont() { return false; }
void SetSoundfontPath(const std::string&) {}
double SoundfontLoadMilliseconds() { return -1; }

}  // namespace platform
