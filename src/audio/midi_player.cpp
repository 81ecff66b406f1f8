// The music player over the platform's MIDI sequencer. Positions go to the
// sequencer in milliseconds and come back to callers in whole minutes and
// seconds, so every resume starts from a whole second.
#include "audio/midi_player.h"

#include <algorithm>

#include "platform/sound/audio.h"

// Constructed before the program's entry and destroyed after it returns; the
// sequencer it may still hold is closed then.
MidiPlayer gMidi;

namespace {

constexpr std::uint32_t MsOf(int minutes, int seconds) {
  // Wraps like the 32-bit unsigned milliseconds the sequencer takes; a
  // negative time lands past any tune's end and is refused.
  return static_cast<std::uint32_t>(60 * minutes + seconds) * 1000u;
}

}  // namespace

MidiPlayer::MidiPlayer() : opened(0), paused(0), playing(0), deviceId(0) {}

MidiPlayer::~MidiPlayer() { Close(); }

unsigned MidiPlayer::GetNumDevices() { return platform::MidiOutputCount(); }

int MidiPlayer::Open(const char* fileName) {
  // An open player keeps its file, whatever name is given.
  if (opened == 1) return 1;
  playing = 0;
  paused = 0;
  opened = 0;
  deviceId = 0;
  const platform::SequencerId id = platform::OpenSequencer(fileName);
  if (id == 0) return 0;
  deviceId = static_cast<std::uint16_t>(id);
  opened = 1;
  platform::SequencerSeek(deviceId, 0);
  return 1;
}

void MidiPlayer::Close() {
  if (opened == 0) return;
  if (playing != 0 || paused != 0) platform::SequencerStop(deviceId);
  platform::CloseSequencer(deviceId);
  opened = 0;
  paused = 0;
  playing = 0;
  deviceId = 0;
}

int MidiPlayer::Play() {
  if (opened == 0) return 0;
  const int minutes = GetPositionMinutes();
  const int seconds = GetPositionSeconds();
  // A position that cannot be read plays from the start rather than from
  // a time made of the -1 results.
  const std::uint32_t from = minutes < 0 || seconds < 0 ? 0 : MsOf(minutes, seconds);
  if (!platform::SequencerPlay(deviceId, from)) return 0;
  paused = 0;
  playing = 1;
  return 1;
}

void MidiPlayer::Stop() {
  if (opened == 0 || playing == 0) return;
  platform::SequencerStop(deviceId);
  platform::SequencerSeek(deviceId, 0);
  playing = 0;
  paused = 0;
}

void MidiPlayer::Pause() {
  if (opened == 0 || playing == 0) return;
  if (platform::SequencerPause(deviceId)) paused = 1;
}

int MidiPlayer::Seek(int minutes, int seconds) {
  if (opened == 0) return 0;
  const bool running = playing != 0 && paused == 0;
  if (running) platform::SequencerPause(deviceId);
  if (!platform::SequencerSeek(deviceId, MsOf(minutes, seconds))) return 0;  // stays paused
  if (running) Play();
  return 1;
}

namespace {

// Moves an open player by `deltaMs`, pausing a running tune around the seek.
void MoveBy(MidiPlayer& player, long long deltaMs) {
  std::uint32_t position = 0;
  platform::SequencerPosition(player.deviceId, position);
  // Before the start means the start.
  const long long target = std::clamp<long long>(position + deltaMs, 0, 0xFFFFFFFFLL);
  const bool running = player.playing != 0 && player.paused == 0;
  if (running) platform::SequencerPause(player.deviceId);
  platform::SequencerSeek(player.deviceId, static_cast<std::uint32_t>(target));
  if (running) player.Play();
}

}  // namespace

void MidiPlayer::Forward(int seconds) {
  if (opened != 0) MoveBy(*this, 1000LL * seconds);
}

void MidiPlayer::Rewind(int seconds) {
  if (opened != 0) MoveBy(*this, -1000LL * seconds);
}

void MidiPlayer::GetLength(int* minutes, int* seconds) {
  std::uint32_t ms = 0;
  if (opened == 0 || !platform::SequencerLength(deviceId, ms)) {
    *minutes = -1;
    *seconds = -1;
    return;
  }
  *minutes = static_cast<int>(ms / 1000 / 60);
  *seconds = static_cast<int>(ms / 1000 % 60);
}

int MidiPlayer::GetPositionMinutes() {
  std::uint32_t ms = 0;
  if (opened == 0 || !platform::SequencerPosition(deviceId, ms)) return -1;
  return static_cast<int>(ms / 1000 / 60);
}

int MidiPlayer::GetPositionSeconds() {
  std::uint32_t ms = 0;
  if (opened == 0 || !platform::SequencerPosition(deviceId, ms)) return -1;
  return static_cast<int>(ms / 1000 % 60);
}

int MidiPlayer::IsPlaying(int* wasPaused) {
  *wasPaused = paused;
  if (opened == 0) return 0;
  platform::SequencerMode mode = platform::SequencerMode::kStopped;
  if (!platform::SequencerGetMode(deviceId, mode)) return 0;
  switch (mode) {
    case platform::SequencerMode::kPlaying:
      playing = 1;
      paused = 0;
      return 1;
    case platform::SequencerMode::kPaused:
      playing = 1;
      paused = 1;
      return 1;
    case platform::SequencerMode::kStopped:
      break;
  }
  playing = 0;
  paused = 0;
  return 0;
}

int MidiPlayer::GetDivisionType() {
  platform::MidiTimeDivision division = platform::MidiTimeDivision::kPpqn;
  if (opened == 0 || !platform::SequencerDivision(deviceId, division)) return -1;
  return division == platform::MidiTimeDivision::kPpqn ? 0 : 1;
}

int MidiPlayer::GetTempo() {
  std::uint32_t tempo = 0;
  if (opened == 0 || !platform::SequencerTempo(deviceId, tempo)) return -1;
  return static_cast<int>(tempo);
}

void MidiPlayer::SetTempo(int tempo) {
  if (opened != 0) platform::SequencerSetTempo(deviceId, static_cast<std::uint32_t>(tempo));
}
