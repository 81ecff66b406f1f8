// Text on a surface.
#pragma once

#include <cstdint>

#include "platform/draw/surface.h"

// Draws a CP949 string with its top-left corner at (x, y), in textColour on
// an opaque box of backColour. Colours are COLORREFs (0x00BBGGRR).
platform::HRESULT PrintText(platform::Surface* surface, const char* text, std::uint32_t backColour,
                            std::uint32_t textColour, int x, int y);
