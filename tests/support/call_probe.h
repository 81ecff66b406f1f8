// Watches the calls the game makes to its sound effects, to the music player
// and to the text drawing, for tests that check which sound a screen asked
// for and when, what the music player was told, and which lines were drawn
// where (whatever font draws them).
//
// The test programs that use it are linked with the linker's --wrap for
// PlayWave, PrintText and MidiPlayer's Open, Play, Stop, Close, Seek and
// Rewind (tests/CMakeLists.txt). Every such call from the game passes through
// call_probe.cpp, is recorded while a CallProbe exists, and goes on to the
// real function. The sound table's sixteen slots are filled with stand-in
// effects that hold no buffers, so that each call names its sound number;
// those calls go no further.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "audio/sound.h"

namespace testdata {

struct TextCall {
  std::string text;  // the bytes as given (CP949)
  std::uint32_t backColour;
  std::uint32_t textColour;
  int x;
  int y;
};

class CallProbe {
 public:
  CallProbe();
  ~CallProbe();
  CallProbe(const CallProbe&) = delete;
  CallProbe& operator=(const CallProbe&) = delete;

  // The sound numbers asked for, in order. A call with an effect that is not
  // one of the stand-ins (for instance a null slot) is recorded as -1.
  std::vector<int> sounds;
  // The music player's calls, in order: "Open <file name>", "Play", "Stop",
  // "Close", "Seek", "Rewind".
  std::vector<std::string> music;
  // Every PrintText call, in order.
  std::vector<TextCall> texts;

  void Clear() {
    sounds.clear();
    music.clear();
    texts.clear();
  }

  // For the wrappers: records a PlayWave call; true when the effect is one
  // of the stand-ins (and so is not to be played).
  bool RecordSound(const WaveSound* sound);

 private:
  WaveSound* standIn_[kSoundEffects] = {};
  WaveSound* saved_[kSoundEffects] = {};
};

}  // namespace testdata
