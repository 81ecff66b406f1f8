// vedo-glyph-atlas OUT: draws the glyph atlas that every build of the game
// carries (platform/glyph_atlas.h), with FreeType and the system's fonts, at
// build time. Only this tool needs FreeType, fontconfig and iconv; the game
// draws its text from the atlas alone.
//
// The face: Baekmuk Gulim (face.h), the Korean face the game's screens were
// laid out with (blank 8 pixels, Hangul 16). Each character is rendered
// monochrome and hinted at 16 pixels, and kept as its advance and the
// pixels it sets inside the line cell.
//
// The characters: ASCII and KS X 1001's symbols and Hangul (the rows from
// 0xA1 to 0xC8), every character the game's Korean can show. CP949's Hanja
// and extended Hangul are in the decoding table, iconv's CP949, but have no
// glyphs: the game draws them as blanks of their width. Beside them, the
// Unicode route's own letters for language packs (world_letters.h).
#include <iconv.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "formats/file_bytes.h"
#include "formats/glyph_atlas.h"
#include "glyphatlas/face.h"
#include "glyphatlas/world_letters.h"

namespace {

using platform::AtlasGlyph;
using platform::GlyphAtlas;

// The code point iconv makes of each two-byte CP949 sequence of the atlas's
// table (0 where the two bytes are not one character); empty when iconv has
// no CP949.
std::vector<char32_t> Cp949Table() {
  iconv_t cd = iconv_open("UTF-32LE", "CP949");
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::vector<char32_t> table(std::size_t{GlyphAtlas::kLeads} * GlyphAtlas::kTrails, 0);
  for (std::size_t i = 0; i < table.size(); ++i) {
    char in[2] = {static_cast<char>(GlyphAtlas::kFirstLead + i / GlyphAtlas::kTrails),
                  static_cast<char>(GlyphAtlas::kFirstTrail + i % GlyphAtlas::kTrails)};
    unsigned char out[8] = {};
    char* ip = in;
    std::size_t inLeft = 2;
    char* op = reinterpret_cast<char*>(out);
    std::size_t outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &ip, &inLeft, &op, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0 ||
        sizeof out - outLeft != 4) {
      continue;
    }
    table[i] = out[0] | (out[1] << 8) | (out[2] << 16) | (static_cast<char32_t>(out[3]) << 24);
  }
  iconv_close(cd);
  return table;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vedo-glyph-atlas OUT\n");
    return 2;
  }
  GlyphAtlas atlas;
  atlas.decode = Cp949Table();
  if (atlas.decode.empty()) {
    std::fprintf(stderr, "vedo-glyph-atlas: iconv has no CP949\n");
    return 1;
  }
  glyphs::Face face;
  if (!face.Open()) {
    std::fprintf(stderr,
                 "vedo-glyph-atlas: no installed font draws Hangul (install fonts-baekmuk)\n");
    return 1;
  }
  atlas.lineCell = face.LineCell();
  atlas.blank = face.Blank();
  atlas.face = face.Name();

  // Each character once, in code point order.
  std::set<char32_t> characters;
  for (char32_t b = 1; b < 0x80; ++b) characters.insert(b);
  for (std::size_t i = 0; i < atlas.decode.size(); ++i) {
    const std::size_t lead = GlyphAtlas::kFirstLead + i / GlyphAtlas::kTrails;
    const std::size_t trail = GlyphAtlas::kFirstTrail + i % GlyphAtlas::kTrails;
    if (atlas.decode[i] > 0xFFFF) {
      std::fprintf(stderr, "vedo-glyph-atlas: CP949 decodes beyond 16 bits\n");
      return 1;
    }
    if (atlas.decode[i] != 0 && lead >= 0xA1 && lead <= 0xC8 && trail >= 0xA1) {
      characters.insert(atlas.decode[i]);
    }
  }
  for (char32_t cp : characters) {
    AtlasGlyph g = face.Render(cp);
    // Drawn the same as a character the atlas lacks: left out.
    if (g.ink.empty() && g.advance == (cp < 0x80 ? 1 : 2) * atlas.blank) continue;
    atlas.glyphs.push_back(std::move(g));
  }
  atlas.unicodeGlyphs = glyphs::WorldLetters(face, atlas.glyphs);

  // Read back as the game reads it, which holds every glyph to the format's
  // limits.
  const std::vector<std::uint8_t> bytes = platform::WriteGlyphAtlas(atlas);
  GlyphAtlas check;
  std::string error;
  if (!platform::ReadGlyphAtlas(bytes, check, error)) {
    std::fprintf(stderr, "vedo-glyph-atlas: %s draws an atlas the game cannot read: %s\n",
                 face.Source().c_str(), error.c_str());
    return 1;
  }
  if (!platform::WriteFileBytes(argv[1], bytes, error)) {
    std::fprintf(stderr, "vedo-glyph-atlas: cannot write %s: %s\n", argv[1], error.c_str());
    return 1;
  }
  std::printf(
      "vedo-glyph-atlas: %zu glyphs of %s (%s) and %zu of the Unicode route's own, %zu "
      "bytes\n",
      atlas.glyphs.size(), atlas.face.c_str(), face.Source().c_str(), atlas.unicodeGlyphs.size(),
      bytes.size());
  return 0;
}
