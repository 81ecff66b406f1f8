// Placeholder until the sound device lands: effects are not loaded and play
// nothing, but the table and the call sites are real.
#include "audio/sound.h"

WaveSound* gSound[kSoundSlots] = {};

const char* const kSoundFiles[kSoundEffects] = {
    "start.wav", "zombi.wav", "kero.wav",  "hunt.wav",  "Stalker.wav", "Stalker2.wav",
    "shot0.wav", "shot1.wav", "shot2.wav", "shot3.wav", "main.wav",    "splay.wav",
    "died.wav",  "file.wav",  "open1.wav", "open2.wav",
};

int InitDirectSound(WindowHandle) { return 1; }
int LoadSounds() { return 1; }
WaveSound* LoadWave(const char*) { return nullptr; }
void PlayWave(WaveSound*) {}
void StopWave(WaveSound*) {}
void FreeWave(WaveSound* sound) { delete sound; }
void ReleaseDirectSound() {}
