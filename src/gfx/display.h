// The display and its surfaces: set-up, the tile and sprite copies with
// their retry loop, the flip, restore after a lost display, and shut-down.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "gfx/data_contract.h"
#include "platform/surface.h"
#include "shell/handles.h"

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

int InitDirectDraw();
int InitFail(WindowHandle window, const char* text);
void ReleaseDirectDraw();
platform::HRESULT RestoreSurfaces();
platform::HRESULT FlipScreen();
platform::HRESULT DrawTile(int x, int y, int tile);
platform::HRESULT DrawSprite(int x, int y, int frame);
void ClearSurface(platform::Surface* surface, int value);

// The plain copy the scenes use for pictures: once, no retry, result unused.
platform::HRESULT BltFast(platform::Surface* dst, int x, int y, platform::Surface* src,
                          const platform::Rect& srcRect, std::uint32_t flags);
