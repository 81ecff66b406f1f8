// The sixteen sound effects (held in state/assets.h): loaded once into sound
// buffers, each held in 21 copies that share their samples, and fired by
// sound number.
#pragma once

#include "platform/sound/audio.h"
#include "state/assets.h"
#include "state/data_contract.h"
#include "state/handles.h"

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

// The file of each effect, by sound number, is kSoundFiles (state/data_contract.h).

// Opens the sound device. 1 on success, 0 when there is no output at all.
int InitDirectSound(WindowHandle window);
// Loads the sixteen effects into gSound[0] to [15]; a file that does not load
// leaves its slot null. 1 when all sixteen loaded.
int LoadSounds();
// A new effect with its 21 copies, or null when the file is missing or
// cannot be used (a debugger line then says why).
WaveSound* LoadWave(const char* fileName);
// Starts the effect's next copy, unless it is still sounding, and moves on.
void PlayWave(WaveSound* sound);
// Stops all 21 copies.
void StopWave(WaveSound* sound);
// Frees the record; its buffers stay with the device.
void FreeWave(WaveSound* sound);
// Releases the device and with it every buffer.
void ReleaseDirectSound();
