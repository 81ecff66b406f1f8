// The sixteen sound effects on the platform's sound device.
#include "audio/sound.h"

#include <string>
#include <vector>

#include "formats/file_bytes.h"
#include "formats/wave_file.h"
#include "platform/platform.h"

namespace {

WaveSound* Refuse(const char* fileName, const char* reason) {
  const std::string line = std::string("LoadWave: ") + fileName + ": " + reason + ".\n";
  platform::DebugOutput(line.c_str());
  return nullptr;
}

}  // namespace

int InitDirectSound(WindowHandle) {
  // The device is the program's, not the window's: no window is needed.
  if (gDirectSound != nullptr) return 1;
  gDirectSound = platform::OpenSoundDevice();
  return gDirectSound != nullptr ? 1 : 0;
}

int LoadSounds() {
  int all = 1;
  for (int i = 0; i < kSoundEffects; ++i) {
    gSound[i] = LoadWave(kSoundFiles[i]);
    if (gSound[i] == nullptr) all = 0;
  }
  return all;
}

WaveSound* LoadWave(const char* fileName) {
  std::vector<std::uint8_t> bytes;
  switch (platform::ReadFileBytes(fileName, bytes, kMaxWaveFileBytes)) {
    case platform::FileRead::kMissing:
      return nullptr;  // a missing effect is simply silent
    case platform::FileRead::kTooLarge:
      return Refuse(fileName, "file too large");
    case platform::FileRead::kOk:
      break;
  }

  WaveInfo info;
  const char* reason = nullptr;
  if (!ParseWave(bytes.data(), bytes.size(), info, &reason)) return Refuse(fileName, reason);
  platform::SoundBuffer* first = platform::CreateSoundBuffer(
      gDirectSound, info.format, bytes.data() + info.dataOffset, info.dataSize);
  if (first == nullptr) return Refuse(fileName, "no sound buffer for it");

  auto* sound = new WaveSound;
  sound->buffer[0] = first;
  sound->next = 0;
  // A copy that cannot be made stays null; its turn plays nothing.
  for (int i = 1; i < kSoundCopies; ++i) {
    sound->buffer[i] = platform::DuplicateSoundBuffer(gDirectSound, first);
  }
  return sound;
}

void PlayWave(WaveSound* sound) {
  if (sound == nullptr) return;
  // A copy still sounding from its last turn is left alone, so the request
  // adds nothing; an idle one starts from the beginning.
  platform::PlaySoundBuffer(sound->buffer[sound->next]);
  sound->next = sound->next < kSoundCopies - 1 ? sound->next + 1 : 0;
}

void StopWave(WaveSound* sound) {
  if (sound == nullptr) return;
  for (platform::SoundBuffer* copy : sound->buffer) platform::StopSoundBuffer(copy);
}

void FreeWave(WaveSound* sound) { delete sound; }

void ReleaseDirectSound() {
  if (gDirectSound == nullptr) return;
  platform::CloseSoundDevice(gDirectSound);
  gDirectSound = nullptr;
}
