// Text on a surface, the same on every platform: CP949 bytes or UTF-8 drawn
// from the glyph atlas built into the program (glyph_atlas.h), which holds
// the pixels Baekmuk Gulim sets at 16 pixels, monochrome and hinted, and
// the letters of other languages drawn to match.
//
// CP949 bytes are decoded with the atlas's CP949 table: a byte that does
// not start a character shows as '?', one byte wide, and decoding goes on
// after it; a character the atlas lacks takes one blank per CP949 byte, so
// boxes keep their size. UTF-8 is decoded strictly, each character looked
// up by its code point, the Unicode route's own glyphs first; a byte that
// is not UTF-8 shows as '?', and a character the atlas lacks as one blank.
// The string's box, as wide as the sum of its advances and as high as the
// line cell, is cut to the surface and filled with the background colour;
// then every pixel the glyphs set is written in the text colour, cut to the
// box.
#include "platform/draw/text_draw.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "formats/glyph_atlas.h"

namespace platform {
namespace {

// One character of a laid-out string.
struct Laid {
  const AtlasGlyph* glyph = nullptr;  // null: only the pen moves
  int advance = 0;
};

class AtlasText {
 public:
  AtlasText() {
    std::string error;
    if (!ReadGlyphAtlas(BuiltInGlyphAtlas(), atlas_, error)) {
      std::fprintf(stderr,
                   "Vedo Zeza1: the glyph atlas built into this program is broken (%s); text "
                   "shows as blank boxes\n",
                   error.c_str());
      std::fflush(stderr);
      atlas_ = GlyphAtlas{};
      atlas_.decode.assign(std::size_t{GlyphAtlas::kLeads} * GlyphAtlas::kTrails, 0);
    }
    // Each code point's first byte pair, for the conversion from UTF-8.
    for (std::size_t i = 0; i < atlas_.decode.size(); ++i) {
      if (atlas_.decode[i] != 0) encode_.emplace_back(atlas_.decode[i], i);
    }
    std::stable_sort(encode_.begin(), encode_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
  }

  const GlyphAtlas& Atlas() const { return atlas_; }

  // Lays out `length` bytes, CP949 or UTF-8, and returns the string's
  // width; the layout is kept for Draw.
  long long LayOut(const char* text, std::size_t length, bool utf8) {
    laid_.clear();
    long long width = 0;
    const auto add = [&](const AtlasGlyph* g, int missing) {
      laid_.push_back({g, g != nullptr ? g->advance : missing});
      width += laid_.back().advance;
    };
    if (utf8) {
      const std::string_view all(text, length);
      for (std::size_t i = 0; i < length;) {
        char32_t cp = 0;
        if (!NextUtf8Character(all, i, cp)) {
          add(Find(U'?', false), atlas_.blank);
          ++i;
          continue;
        }
        add(Find(cp, true), atlas_.blank);
      }
      return width;
    }
    for (std::size_t i = 0; i < length; ++i) {
      const auto b = static_cast<unsigned char>(text[i]);
      char32_t cp = b;
      if (b >= 0x80) {
        cp = U'?';
        const auto t = static_cast<unsigned char>(i + 1 < length ? text[i + 1] : 0);
        const int lead = b - GlyphAtlas::kFirstLead;
        const int trail = t - GlyphAtlas::kFirstTrail;
        if (lead >= 0 && lead < GlyphAtlas::kLeads && trail >= 0 && trail < GlyphAtlas::kTrails &&
            atlas_.decode[static_cast<std::size_t>(lead) * GlyphAtlas::kTrails + trail] != 0) {
          cp = atlas_.decode[static_cast<std::size_t>(lead) * GlyphAtlas::kTrails + trail];
          ++i;
        }
      }
      add(Find(cp, false), (cp < 0x80 ? 1 : 2) * atlas_.blank);
    }
    return width;
  }

  // Draws the string last laid out, its line cell's top-left corner at
  // (x, y), in `box`: the string's box cut to the surface.
  void Draw(Surface& surface, const Rect& box, int x, int y, std::uint32_t backColour,
            std::uint32_t textColour) const {
    const std::uint8_t back[3] = {static_cast<std::uint8_t>(backColour >> 16),
                                  static_cast<std::uint8_t>(backColour >> 8),
                                  static_cast<std::uint8_t>(backColour)};
    for (int row = box.top; row < box.bottom; ++row) {
      std::uint8_t* p = surface.Row(row) + static_cast<std::size_t>(box.left) * 3;
      if (back[0] == back[1] && back[1] == back[2]) {
        std::memset(p, back[0], static_cast<std::size_t>(box.right - box.left) * 3);
        continue;
      }
      for (int col = box.left; col < box.right; ++col, p += 3) std::memcpy(p, back, 3);
    }
    const std::uint8_t ink[3] = {static_cast<std::uint8_t>(textColour >> 16),
                                 static_cast<std::uint8_t>(textColour >> 8),
                                 static_cast<std::uint8_t>(textColour)};
    long long pen = x;
    for (const Laid& l : laid_) {
      const AtlasGlyph* g = l.glyph;
      const long long gx = pen + (g != nullptr ? g->left : 0);
      pen += l.advance;
      if (g == nullptr || g->ink.empty()) continue;
      const long long gy = static_cast<long long>(y) + g->top;
      const int r0 = static_cast<int>(std::max<long long>(0, box.top - gy));
      const int r1 = static_cast<int>(std::min<long long>(g->height, box.bottom - gy));
      const int c0 = static_cast<int>(std::max<long long>(0, box.left - gx));
      const int c1 = static_cast<int>(std::min<long long>(g->width, box.right - gx));
      for (int r = r0; r < r1; ++r) {
        const std::uint8_t* src = g->ink.data() + static_cast<std::size_t>(r) * g->width;
        std::uint8_t* dst = surface.Row(static_cast<int>(gy + r));
        for (int c = c0; c < c1; ++c) {
          if (src[c] != 0) std::memcpy(dst + (gx + c) * 3, ink, 3);
        }
      }
    }
  }

  // The CP949 bytes of a code point; empty when CP949 has none.
  std::string Encode(char32_t cp) const {
    if (cp < 0x80) return std::string(1, static_cast<char>(cp));
    const auto it = std::lower_bound(encode_.begin(), encode_.end(), cp,
                                     [](const auto& e, char32_t c) { return e.first < c; });
    if (it == encode_.end() || it->first != cp) return std::string();
    const char bytes[2] = {
        static_cast<char>(GlyphAtlas::kFirstLead + it->second / GlyphAtlas::kTrails),
        static_cast<char>(GlyphAtlas::kFirstTrail + it->second % GlyphAtlas::kTrails)};
    return std::string(bytes, 2);
  }

  // The glyph of a code point: with `unicode`, the Unicode route's own
  // first. Null where the atlas has none.
  const AtlasGlyph* Find(char32_t cp, bool unicode) const {
    const auto in = [cp](const std::vector<AtlasGlyph>& list) -> const AtlasGlyph* {
      const auto it =
          std::lower_bound(list.begin(), list.end(), cp,
                           [](const AtlasGlyph& g, char32_t c) { return g.codePoint < c; });
      return it != list.end() && it->codePoint == cp ? &*it : nullptr;
    };
    const AtlasGlyph* own = unicode ? in(atlas_.unicodeGlyphs) : nullptr;
    return own != nullptr ? own : in(atlas_.glyphs);
  }

 private:
  GlyphAtlas atlas_;
  std::vector<std::pair<char32_t, std::size_t>> encode_;  // by code point
  std::vector<Laid> laid_;
};

// Text calls come from the game's thread only.
AtlasText& Text() {
  static AtlasText text;
  return text;
}

}  // namespace

int TextLineHeight() { return Text().Atlas().lineCell; }

int TextWidthCp949(const char* text) {
  if (text == nullptr) return 0;
  return static_cast<int>(Text().LayOut(text, std::strlen(text), false));
}

int TextWidthUtf8(const char* text) {
  if (text == nullptr) return 0;
  return static_cast<int>(Text().LayOut(text, std::strlen(text), true));
}

bool TextDrawsCharacter(char32_t c) { return c == U' ' || Text().Find(c, true) != nullptr; }

std::string TextFaceDescription() { return Text().Atlas().face; }

namespace {

HRESULT Draw(Surface& surface, const char* text, bool utf8, std::uint32_t backColour,
             std::uint32_t textColour, int x, int y) {
  if (surface.IsLost()) return DDERR_SURFACELOST;
  if (text == nullptr) return DDERR_INVALIDPARAMS;
  const std::size_t length = std::strlen(text);
  if (length == 0) return DD_OK;
  AtlasText& route = Text();
  const long long width = route.LayOut(text, length, utf8);
  const long long cell = route.Atlas().lineCell;
  // The box, cut to the surface. 64-bit sums: no position can wrap into it.
  Rect box;
  box.left = static_cast<int>(std::max<long long>(x, 0));
  box.top = static_cast<int>(std::max<long long>(y, 0));
  box.right = static_cast<int>(std::min<long long>(x + width, surface.Width()));
  box.bottom = static_cast<int>(std::min<long long>(y + cell, surface.Height()));
  if (box.left >= box.right || box.top >= box.bottom) return DD_OK;
  route.Draw(surface, box, x, y, backColour, textColour);
  return DD_OK;
}

}  // namespace

HRESULT DrawTextCp949(Surface& surface, const char* text, std::uint32_t backColour,
                      std::uint32_t textColour, int x, int y) {
  return Draw(surface, text, false, backColour, textColour, x, y);
}

HRESULT DrawTextUtf8(Surface& surface, const char* text, std::uint32_t backColour,
                     std::uint32_t textColour, int x, int y) {
  return Draw(surface, text, true, backColour, textColour, x, y);
}

// Characters CP949 lacks, and broken UTF-8 sequences, become '?'.
std::string Utf8ToCp949(std::string_view utf8) {
  const AtlasText& route = Text();
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    std::size_t next = i;
    char32_t cp = 0;
    const std::string bytes = NextUtf8Character(utf8, next, cp) ? route.Encode(cp) : std::string();
    if (bytes.empty()) {
      // The lead byte and the continuation bytes after it.
      out.push_back('?');
      do {
        ++i;
      } while (i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80);
      continue;
    }
    out += bytes;
    i = next;
  }
  return out;
}

}  // namespace platform
