// Text on a surface: CP949 byte strings, or UTF-8, drawn from the glyph
// atlas built into the program, the same pixels on every platform
// (glyph_atlas.h). The game's own Korean lines are CP949; a language pack's
// lines are UTF-8, each character drawn by its code point.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "formats/utf8.h"
#include "platform/draw/surface.h"

namespace platform {

// Draws `text` (CP949 bytes, zero-terminated) with its top-left corner at
// (x, y): glyphs in textColour on an opaque box of backColour as high as the
// line cell and as wide as the string. Colours are 0x00BBGGRR. An empty
// string draws nothing. Parts that fall outside the surface are cut off.
// Returns DD_OK, or DDERR_SURFACELOST while the surface is lost.
HRESULT DrawTextCp949(Surface& surface, const char* text, std::uint32_t backColour,
                      std::uint32_t textColour, int x, int y);

// The same for UTF-8 text (a language pack's): each character drawn by its
// code point; a byte that is not UTF-8 shows as '?', a character the atlas
// lacks as a blank.
HRESULT DrawTextUtf8(Surface& surface, const char* text, std::uint32_t backColour,
                     std::uint32_t textColour, int x, int y);

// The height of a line cell in pixels (at most 20: the game's lines are 20
// pixels apart).
int TextLineHeight();
// The width in pixels of the box DrawTextCp949 draws for `text`.
int TextWidthCp949(const char* text);
// The width in pixels of the box DrawTextUtf8 draws for `text`.
int TextWidthUtf8(const char* text);
// Whether the atlas has the character for DrawTextUtf8 (the blank included).
bool TextDrawsCharacter(char32_t c);

// The face the glyph atlas was drawn from, with its revision, e.g.
// "Baekmuk Gulim, revision 3.00000".
std::string TextFaceDescription();

// Converts UTF-8 text to CP949 bytes, with the glyph atlas's table.
// Characters CP949 lacks, and broken UTF-8 sequences, become '?'. The game
// keeps its Korean texts as UTF-8 in the sources and converts them once.
std::string Utf8ToCp949(std::string_view utf8);

}  // namespace platform
