// The sixteen sound effects: loaded once into sound buffers, each held in 21
// copies that share their samples, and fired by sound number.
#pragma once

#include "shell/game_state.h"

namespace platform {
class SoundBuffer;
}

inline constexpr int SND_START = 0;
inline constexpr int SND_ZOMBIE = 1;
inline constexpr int SND_KERO = 2;
inline constexpr int SND_HUNTER = 3;
inline constexpr int SND_STALKER = 4;
inline constexpr int SND_STALKER2 = 5;
inline constexpr int SND_SHOT0 = 6;
inline constexpr int SND_SHOT1 = 7;
inline constexpr int SND_SHOT2 = 8;
inline constexpr int SND_SHOT3 = 9;
inline constexpr int SND_MAIN = 10;
inline constexpr int SND_SPRAY = 11;
inline constexpr int SND_DIED = 12;
inline constexpr int SND_FILE = 13;
inline constexpr int SND_OPEN1 = 14;
inline constexpr int SND_OPEN2 = 15;

inline constexpr int kSoundSlots = 50;
inline constexpr int kSoundEffects = 16;
inline constexpr int kSoundCopies = 21;

struct WaveSound {
  platform::SoundBuffer* buffer[kSoundCopies] = {};
  int next = 0;
};

extern WaveSound* gSound[kSoundSlots];

// The file of each effect, by sound number.
extern const char* const kSoundFiles[kSoundEffects];

int InitDirectSound(WindowHandle window);
int LoadSounds();
WaveSound* LoadWave(const char* fileName);
void PlayWave(WaveSound* sound);
void StopWave(WaveSound* sound);
void FreeWave(WaveSound* sound);
void ReleaseDirectSound();
