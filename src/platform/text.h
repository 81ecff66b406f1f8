// Text on a surface: CP949 byte strings drawn with FreeType.
#pragma once

#include <cstdint>
#include <string>

#include "platform/surface.h"

namespace platform {

// Draws `text` (CP949 bytes, zero-terminated) with its top-left corner at
// (x, y): glyphs in textColour on an opaque box of backColour as high as the
// line cell and as wide as the string. Colours are 0x00BBGGRR. An empty
// string draws nothing. Parts that fall outside the surface are cut off.
// Returns DD_OK, or DDERR_SURFACELOST while the surface is lost.
HRESULT DrawTextCp949(Surface& surface, const char* text, std::uint32_t backColour,
                      std::uint32_t textColour, int x, int y);

// The height of a line cell in pixels (at most 20: the game's lines are 20
// pixels apart).
int TextLineHeight();
// The width in pixels of the box DrawTextCp949 draws for `text`.
int TextWidthCp949(const char* text);

// The face text is drawn with, as "Family (file)", or an empty string when
// no face could be found. Sets the text route up if it is not yet.
std::string TextFaceDescription();
// The FreeType version and the face with its revision, as one line, e.g.
// "FreeType 2.12.1; Baekmuk Gulim (/path/gulim.ttf) revision 2.20000". Text
// pixels depend on both. Sets the text route up if it is not yet.
std::string TextRouteVersions();
// True when the face draws Hangul syllables.
bool TextFaceHasHangul();
// Frees the face, the glyph cache and the converter. The next call that
// needs them sets them up again (and looks for a face anew). Also done at
// program exit.
void ReleaseText();

}  // namespace platform

#include <string>
#include <string_view>

namespace platform {

// Converts UTF-8 text to CP949 bytes (glibc iconv). Characters CP949 lacks
// become '?'. The game keeps its Korean texts as UTF-8 in the sources and
// converts them once.
std::string Utf8ToCp949(std::string_view utf8);

}  // namespace platform
