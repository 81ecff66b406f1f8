// Pictures onto their surfaces, colour keys, and the palette built from the
// title picture.
#pragma once

#include <cstdint>

#include "formats/bmp_file.h"
#include "gfx/display.h"

inline constexpr std::uint32_t CLR_INVALID = 0xFFFFFFFFu;

// Loads a BMP file and stretches it over the whole surface.
platform::HRESULT ReloadBitmap(platform::Surface* surface, const char* fileName);
// Stretches the region (x, y, width, height) of a loaded bitmap over the
// whole surface, nearest-neighbour; a width or height of 0 stands for the
// bitmap's own.
platform::HRESULT CopyBitmap(platform::Surface* surface, const platform::Image* bitmap, int x,
                             int y, int width, int height);
// The raw pixel value of a COLORREF (0x00BBGGRR) on a surface, or
// 0xFFFFFFFF when it cannot be found. With CLR_INVALID, the raw value of the
// surface's first pixel.
std::uint32_t ColorMatch(platform::Surface* surface, std::uint32_t rgb);
platform::HRESULT SetSurfaceColorKey(platform::Surface* surface, std::uint32_t rgb);
Palette* LoadPalette(DisplayDevice* directDraw, const char* bitmapName);
