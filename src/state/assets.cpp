#include "state/assets.h"

DisplayDevice* gDirectDraw = nullptr;
platform::Surface* gPrimarySurface = nullptr;
platform::Surface* gBackBuffer = nullptr;
Palette* gPalette = nullptr;
platform::Surface* gTitleSurface = nullptr;
platform::Surface* gWarningSurface = nullptr;
platform::Surface* gEventWinSurface = nullptr;
platform::Surface* gEvent1Surface = nullptr;
platform::Surface* gEvent2Surface = nullptr;
platform::Surface* gDiedSurface = nullptr;
platform::Surface* gEndingSurface = nullptr;
std::vector<std::shared_ptr<platform::Surface>> gTileSurfaces;
std::vector<SpriteFrame> gSpriteFrames;
std::vector<std::unique_ptr<platform::Surface>> gSpriteSurfaces;

WaveSound* gSound[kSoundSlots] = {};
platform::SoundDevice* gDirectSound = nullptr;
