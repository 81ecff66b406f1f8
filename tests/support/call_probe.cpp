#include "support/call_probe.h"

namespace testdata {

CallProbe::CallProbe() {
  if (gDirectSound == nullptr) {
    openedDevice_ = InitDirectSound(nullptr) == 1;
  }
  // One frame of silence, 8-bit mono.
  const std::uint8_t silence[1] = {128};
  const platform::PcmFormat format{1, 11025, 1, 8};
  device_ = gDirectSound;
  for (int i = 0; i < kSoundEffects; ++i) {
    saved_[i] = gSound[i];
    standIn_[i] = new WaveSound();
    buffer_[i] = platform::CreateSoundBuffer(device_, format, silence, sizeof silence);
    for (platform::SoundBuffer*& copy : standIn_[i]->buffer) copy = buffer_[i];
    gSound[i] = standIn_[i];
  }
  platform::HeadlessSetRecorder(this);
}

CallProbe::~CallProbe() {
  platform::HeadlessSetRecorder(nullptr);
  // Buffers of a device that has since been closed went with it.
  const bool deviceOpen = device_ != nullptr && gDirectSound == device_;
  for (int i = 0; i < kSoundEffects; ++i) {
    if (deviceOpen) platform::ReleaseSoundBuffer(buffer_[i]);
    // A slot that no longer holds the stand-in was freed by someone else.
    if (gSound[i] != standIn_[i]) continue;
    gSound[i] = saved_[i];
    delete standIn_[i];
  }
  if (openedDevice_) ReleaseDirectSound();
}

void CallProbe::SoundPlayed(const platform::SoundBuffer* buffer) {
  int number = -1;
  for (int i = 0; i < kSoundEffects; ++i) {
    if (buffer != nullptr && buffer == buffer_[i]) number = i;
  }
  sounds.push_back(number);
}

void CallProbe::TextDrawn(const char* text, std::uint32_t backColour, std::uint32_t textColour,
                          int x, int y) {
  texts.push_back({text, backColour, textColour, x, y});
}

void CallProbe::MusicCalled(MusicCall call, const char* path) {
  switch (call) {
    case MusicCall::kOpen:
      music.push_back(std::string("Open ") + path);
      break;
    case MusicCall::kPlay:
      music.push_back("Play");
      break;
    case MusicCall::kStop:
      music.push_back("Stop");
      break;
    case MusicCall::kPause:
      music.push_back("Pause");
      break;
    case MusicCall::kSeek:
      music.push_back("Seek");
      break;
    case MusicCall::kClose:
      music.push_back("Close");
      break;
  }
}

}  // namespace testdata
