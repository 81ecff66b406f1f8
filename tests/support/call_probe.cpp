#include "support/call_probe.h"

#include "audio/midi_player.h"
#include "gfx/text.h"

namespace testdata {
namespace {

CallProbe* gActiveProbe = nullptr;

}  // namespace

CallProbe::CallProbe() {
  for (int i = 0; i < kSoundEffects; ++i) {
    saved_[i] = gSound[i];
    standIn_[i] = new WaveSound();
    gSound[i] = standIn_[i];
  }
  gActiveProbe = this;
}

CallProbe::~CallProbe() {
  gActiveProbe = nullptr;
  for (int i = 0; i < kSoundEffects; ++i) {
    // A slot that no longer holds the stand-in was freed by someone else.
    if (gSound[i] != standIn_[i]) continue;
    gSound[i] = saved_[i];
    delete standIn_[i];
  }
}

bool CallProbe::RecordSound(const WaveSound* sound) {
  int number = -1;
  for (int i = 0; i < kSoundEffects; ++i) {
    if (sound != nullptr && sound == standIn_[i]) number = i;
  }
  sounds.push_back(number);
  return number >= 0;
}

namespace {

bool RecordSound(const WaveSound* sound) {
  return gActiveProbe != nullptr && gActiveProbe->RecordSound(sound);
}

void RecordMusic(const std::string& call) {
  if (gActiveProbe != nullptr) gActiveProbe->music.push_back(call);
}

void RecordText(const char* text, std::uint32_t back, std::uint32_t colour, int x, int y) {
  if (gActiveProbe == nullptr) return;
  gActiveProbe->texts.push_back({text != nullptr ? text : "(null)", back, colour, x, y});
}

}  // namespace
}  // namespace testdata

// The linker sends the game's calls here (--wrap) and the __real_ names to
// the functions themselves. The names are the functions' mangled names.
extern "C" {
void __real__Z8PlayWaveP9WaveSound(WaveSound* sound);
HRESULT __real__Z9PrintTextPN8platform7SurfaceEPKcjjii(Surface* surface, const char* text,
                                                       std::uint32_t back, std::uint32_t colour,
                                                       int x, int y);
int __real__ZN10MidiPlayer4OpenEPKc(MidiPlayer* player, const char* fileName);
int __real__ZN10MidiPlayer4PlayEv(MidiPlayer* player);
void __real__ZN10MidiPlayer4StopEv(MidiPlayer* player);
void __real__ZN10MidiPlayer5CloseEv(MidiPlayer* player);
int __real__ZN10MidiPlayer4SeekEii(MidiPlayer* player, int minutes, int seconds);
void __real__ZN10MidiPlayer6RewindEi(MidiPlayer* player, int seconds);

void __wrap__Z8PlayWaveP9WaveSound(WaveSound* sound) {
  if (testdata::RecordSound(sound)) return;  // a stand-in: nothing to play
  __real__Z8PlayWaveP9WaveSound(sound);
}

HRESULT __wrap__Z9PrintTextPN8platform7SurfaceEPKcjjii(Surface* surface, const char* text,
                                                       std::uint32_t back, std::uint32_t colour,
                                                       int x, int y) {
  testdata::RecordText(text, back, colour, x, y);
  return __real__Z9PrintTextPN8platform7SurfaceEPKcjjii(surface, text, back, colour, x, y);
}

int __wrap__ZN10MidiPlayer4OpenEPKc(MidiPlayer* player, const char* fileName) {
  testdata::RecordMusic(std::string("Open ") + (fileName != nullptr ? fileName : "(null)"));
  return __real__ZN10MidiPlayer4OpenEPKc(player, fileName);
}
int __wrap__ZN10MidiPlayer4PlayEv(MidiPlayer* player) {
  testdata::RecordMusic("Play");
  return __real__ZN10MidiPlayer4PlayEv(player);
}
void __wrap__ZN10MidiPlayer4StopEv(MidiPlayer* player) {
  testdata::RecordMusic("Stop");
  __real__ZN10MidiPlayer4StopEv(player);
}
void __wrap__ZN10MidiPlayer5CloseEv(MidiPlayer* player) {
  testdata::RecordMusic("Close");
  __real__ZN10MidiPlayer5CloseEv(player);
}
int __wrap__ZN10MidiPlayer4SeekEii(MidiPlayer* player, int minutes, int seconds) {
  testdata::RecordMusic("Seek");
  return __real__ZN10MidiPlayer4SeekEii(player, minutes, seconds);
}
void __wrap__ZN10MidiPlayer6RewindEi(MidiPlayer* player, int seconds) {
  testdata::RecordMusic("Rewind");
  __real__ZN10MidiPlayer6RewindEi(player, seconds);
}
}
