// What the program loads and holds for its whole run: the display and its
// surfaces, the pictures, the map's tiles, the sprite frames, the sound
// device and the effects. The readers fill them (gfx/, audio/), start-up and
// shut-down make and free them (app/program.cpp), and the scenes draw and
// play from them. (The ending's music player, gMidi, is an object with its
// own behaviour and stays with its class in audio/midi_player.h.)
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/draw/surface.h"
#include "platform/sound/audio.h"

// ---- The display ------------------------------------------------------------

// The display device; its existence means the display is set up.
struct DisplayDevice {};

struct PaletteEntry {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
  std::uint8_t flags;
};
struct Palette {
  PaletteEntry entries[256];
};

extern DisplayDevice* gDirectDraw;
extern platform::Surface* gPrimarySurface;  // owned by the platform's display
extern platform::Surface* gBackBuffer;      // the target of all drawing
extern Palette* gPalette;
extern platform::Surface* gTitleSurface;
extern platform::Surface* gWarningSurface;
extern platform::Surface* gEventWinSurface;
extern platform::Surface* gEvent1Surface;
extern platform::Surface* gEvent2Surface;
extern platform::Surface* gDiedSurface;
extern platform::Surface* gEndingSurface;

// One surface per tile image of the map file. Tiles that lie wholly past the
// end of a short file share one black surface.
extern std::vector<std::shared_ptr<platform::Surface>> gTileSurfaces;

struct SpriteFrame {
  int width;
  int height;
};
extern std::vector<SpriteFrame> gSpriteFrames;
extern std::vector<std::unique_ptr<platform::Surface>> gSpriteSurfaces;

// ---- The sound --------------------------------------------------------------

inline constexpr int kSoundSlots = 50;
inline constexpr int kSoundCopies = 21;

// An effect: its buffer in 21 copies that share their samples, and the copy
// to start next.
struct WaveSound {
  platform::SoundBuffer* buffer[kSoundCopies] = {};
  int next = 0;
};

// By sound number (SND_* in audio/sound.h); a slot whose file did not load
// stays null.
extern WaveSound* gSound[kSoundSlots];

// The one sound device; null before start-up and after shut-down. Every
// buffer belongs to it and goes when it is released.
extern platform::SoundDevice* gDirectSound;
