// Text on a surface: CP949 byte strings drawn with FreeType.
#pragma once

#include <cstdint>

#include "platform/surface.h"

namespace platform {

// Draws `text` (CP949 bytes, zero-terminated) with its top-left corner at
// (x, y): glyphs in textColour on an opaque box of backColour as high as the
// line cell and as wide as the string. Colours are 0x00BBGGRR. An empty
// string draws nothing. Parts that fall outside the surface are cut off.
// Returns DD_OK, or DDERR_SURFACELOST while the surface is lost.
HRESULT DrawTextCp949(Surface& surface, const char* text, std::uint32_t backColour,
                      std::uint32_t textColour, int x, int y);

// The height of a line cell in pixels.
int TextLineHeight();

}  // namespace platform

#include <string>
#include <string_view>

namespace platform {

// Converts UTF-8 text to CP949 bytes (glibc iconv). Characters CP949 lacks
// become '?'. The game keeps its Korean texts as UTF-8 in the sources and
// converts them once.
std::string Utf8ToCp949(std::string_view utf8);

}  // namespace platform
