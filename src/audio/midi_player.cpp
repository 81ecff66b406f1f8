// Placeholder until the sequencer lands: nothing opens, so the ending runs
// silent, exactly as it does when "Ending.mid" is missing.
#include "audio/midi_player.h"

MidiPlayer gMidi;

MidiPlayer::MidiPlayer() : opened(0), paused(0), playing(0), deviceId(0) {}
MidiPlayer::~MidiPlayer() { Close(); }
unsigned MidiPlayer::GetNumDevices() { return 0; }
int MidiPlayer::Open(const char*) { return 0; }
void MidiPlayer::Close() {}
int MidiPlayer::Play() { return 0; }
void MidiPlayer::Stop() {}
void MidiPlayer::Pause() {}
int MidiPlayer::Seek(int, int) { return 0; }
void MidiPlayer::Forward(int) {}
void MidiPlayer::Rewind(int) {}
void MidiPlayer::GetLength(int* minutes, int* seconds) {
  *minutes = -1;
  *seconds = -1;
}
int MidiPlayer::GetPositionMinutes() { return -1; }
int MidiPlayer::GetPositionSeconds() { return -1; }
int MidiPlayer::IsPlaying(int* wasPaused) {
  *wasPaused = paused;
  return 0;
}
int MidiPlayer::GetDivisionType() { return -1; }
int MidiPlayer::GetTempo() { return -1; }
void MidiPlayer::SetTempo(int) {}
