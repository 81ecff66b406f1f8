// The display and its surfaces: set-up, the tile and sprite copies with
// their retry loop, the flip, restore after a lost display, and shut-down.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "gfx/data_contract.h"
#include "platform/surface.h"
#include "shell/game_state.h"

using platform::BltFast;
using platform::DD_OK;
using platform::DDBLTFAST_NOCOLORKEY;
using platform::DDBLTFAST_SRCCOLORKEY;
using platform::DDERR_SURFACELOST;
using platform::DDERR_WASSTILLDRAWING;
using platform::E_FAIL;
using platform::HRESULT;
using platform::Rect;
using platform::Surface;

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
extern Surface* gPrimarySurface;  // owned by the platform's display
extern Surface* gBackBuffer;      // the target of all drawing
extern Palette* gPalette;
extern Surface* gTitleSurface;
extern Surface* gWarningSurface;
extern Surface* gEventWinSurface;
extern Surface* gEvent1Surface;
extern Surface* gEvent2Surface;
extern Surface* gDiedSurface;
extern Surface* gEndingSurface;

// One surface per tile image of the map file. Tiles that lie wholly past the
// end of a short file share one black surface.
extern std::vector<std::shared_ptr<Surface>> gTileSurfaces;

struct SpriteFrame {
  int width;
  int height;
};
extern std::vector<SpriteFrame> gSpriteFrames;
extern std::vector<std::unique_ptr<Surface>> gSpriteSurfaces;

int InitDirectDraw();
int InitFail(WindowHandle window, const char* text);
void ReleaseDirectDraw();
HRESULT RestoreSurfaces();
HRESULT FlipScreen();
HRESULT DrawTile(int x, int y, int tile);
HRESULT DrawSprite(int x, int y, int frame);
void ClearSurface(Surface* surface, int value);

// The plain copy the scenes use for pictures: once, no retry, result unused.
HRESULT BltFast(Surface* dst, int x, int y, Surface* src, const Rect& srcRect,
                std::uint32_t flags);
