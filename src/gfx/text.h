// Text on a surface.
#pragma once

#include <cstdint>

#include "platform/surface.h"

// Whether the lines the game writes are a language pack's, UTF-8, rather
// than its own Korean, CP949 (lang/language.h sets it with the language).
extern bool gTextUtf8;

// Draws a string with its top-left corner at (x, y), in textColour on an
// opaque box of backColour: CP949, or UTF-8 while gTextUtf8 is set. Colours
// are COLORREFs (0x00BBGGRR).
platform::HRESULT PrintText(platform::Surface* surface, const char* text, std::uint32_t backColour,
                            std::uint32_t textColour, int x, int y);
