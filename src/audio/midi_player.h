// The music player: one MIDI sequencer, positioned in whole seconds.
#pragma once

#include <cstdint>

class MidiPlayer {
 public:
  MidiPlayer();
  virtual ~MidiPlayer();

  unsigned GetNumDevices();
  int Open(const char* fileName);
  void Close();
  int Play();
  void Stop();
  void Pause();
  int Seek(int minutes, int seconds);
  void Forward(int seconds);
  void Rewind(int seconds);
  void GetLength(int* minutes, int* seconds);
  int GetPositionMinutes();
  int GetPositionSeconds();
  int IsPlaying(int* wasPaused);
  int GetDivisionType();
  int GetTempo();
  void SetTempo(int tempo);

  int opened;
  int paused;
  int playing;
  std::uint16_t deviceId;
};

extern MidiPlayer gMidi;
