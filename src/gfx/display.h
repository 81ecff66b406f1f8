// The display and its surfaces (held in state/assets.h): set-up, the tile
// and sprite copies with their retry loop, the flip, restore after a lost
// display, and shut-down.
#pragma once

#include <cstdint>

#include "platform/draw/surface.h"
#include "state/assets.h"
#include "state/data_contract.h"
#include "state/handles.h"

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
