// The glyph atlas: every character the game can show, as the pixels it
// sets, with the CP949 decoding table. vedo-glyph-atlas draws it at build
// time from Baekmuk Gulim, and every build of the game carries it, so text
// has the same pixels on every machine whatever fonts it has. This header is
// the file's format, for the tool that writes it and the text route that
// reads it.
//
// Text reaches the atlas two ways. The game's Korean lines are CP949 bytes,
// decoded with the table; a language pack's lines are Unicode (UTF-8), each
// character looked up by its code point, first among the glyphs of the
// Unicode route and then among the shared ones. The Unicode route's own
// glyphs are the letters of the world's languages drawn to match the face's
// Latin: accented letters, Greek and Cyrillic with proportional spacing,
// the punctuation translators use. The CP949 route never sees them, so the
// Korean lines keep their pixels.
//
// The file, little-endian:
//   "VZGA", u16 version (2), u16 line cell, u16 blank's advance,
//   u16 n and n bytes: the face it was drawn from;
//   u16 × kLeads × kTrails: the code point of each CP949 byte pair, lead
//     byte by lead byte (0 where the pair is no character);
//   u32 glyph count, then each glyph, in rising code point order:
//     u32 code point, s16 advance, s16 left, s16 top, u16 width, u16 height,
//     then `height` rows of (width + 7) / 8 bytes, leftmost pixel in the top
//     bit;
//   u32 count of the Unicode route's own glyphs, then each in the same form
//     and order.
// `left` runs from the pen position to the glyph's first column, `top` from
// the top of the line cell to its first row; the ink lies inside the cell.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace platform {

struct AtlasGlyph {
  char32_t codePoint = 0;
  int advance = 0;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> ink;  // width * height, 1 where the pixel is set
};

struct GlyphAtlas {
  // The CP949 byte pairs of the decoding table: lead bytes 0x81..0xFE,
  // trail bytes 0x41..0xFE.
  static constexpr int kFirstLead = 0x81;
  static constexpr int kLeads = 0xFE - kFirstLead + 1;
  static constexpr int kFirstTrail = 0x41;
  static constexpr int kTrails = 0xFE - kFirstTrail + 1;
  // The game's lines are 20 pixels apart.
  static constexpr int kMaxLineCell = 20;
  // No glyph is wider or higher, nor advances, nor sits further from its
  // pen, than this.
  static constexpr int kMaxGlyphSide = 64;

  int lineCell = 16;
  int blank = 8;  // the advance of a blank; a character the atlas lacks takes one per byte
  std::string face;
  std::vector<char32_t> decode;    // kLeads * kTrails entries
  std::vector<AtlasGlyph> glyphs;  // in rising code point order
  // The Unicode route's own, in rising code point order: drawn in place of
  // a shared glyph of the same code point, or where there is none.
  std::vector<AtlasGlyph> unicodeGlyphs;
};

// The file's bytes.
std::vector<std::uint8_t> WriteGlyphAtlas(const GlyphAtlas& atlas);

// Reads an atlas file. A broken one is refused: false, and `error` says
// what is wrong. Every count and size it claims is checked against the
// bytes there before anything is allocated for it.
bool ReadGlyphAtlas(std::span<const std::uint8_t> bytes, GlyphAtlas& atlas, std::string& error);

// The atlas built into this program (made by the build from the file
// vedo-glyph-atlas wrote).
std::span<const std::uint8_t> BuiltInGlyphAtlas();

}  // namespace platform
