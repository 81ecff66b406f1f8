// Watches the calls the game makes to its sound effects, to the music and to
// the text drawing, for tests that check which sound a screen asked for and
// when, what the music was told, and which lines were drawn where (whatever
// font draws them).
//
// It is the headless backend's recorder (platform/headless/headless.h): the
// platform tells it of every sound buffer played, every text drawn and every
// sequencer call. To name sounds by number, the sound table's sixteen slots
// hold stand-in effects while a CallProbe exists, each with one short silent
// buffer of its own (on the open sound device, or one the probe opens).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "audio/sound.h"
#include "platform/headless/headless.h"

namespace testdata {

struct TextCall {
  std::string text;  // the bytes as given (CP949)
  std::uint32_t backColour;
  std::uint32_t textColour;
  int x;
  int y;
};

class CallProbe final : public platform::CallRecorder {
 public:
  CallProbe();
  ~CallProbe() override;
  CallProbe(const CallProbe&) = delete;
  CallProbe& operator=(const CallProbe&) = delete;

  // The sound numbers played, in order. A buffer that is not one of the
  // stand-ins' is recorded as -1.
  std::vector<int> sounds;
  // The sequencer's calls, in order: "Open <file name>", "Play", "Stop",
  // "Pause", "Seek", "Close".
  std::vector<std::string> music;
  // Every text drawn, in order.
  std::vector<TextCall> texts;

  void Clear() {
    sounds.clear();
    music.clear();
    texts.clear();
  }

  void SoundPlayed(const platform::SoundBuffer* buffer) override;
  void TextDrawn(const char* text, std::uint32_t backColour, std::uint32_t textColour, int x,
                 int y) override;
  void MusicCalled(MusicCall call, const char* path) override;

 private:
  bool openedDevice_ = false;
  platform::SoundDevice* device_ = nullptr;
  platform::SoundBuffer* buffer_[kSoundEffects] = {};
  WaveSound* standIn_[kSoundEffects] = {};
  WaveSound* saved_[kSoundEffects] = {};
};

}  // namespace testdata
