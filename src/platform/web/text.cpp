// Text on a surface in the browser: CP949 bytes drawn from a glyph atlas.
//
// The browser has neither FreeType nor fontconfig nor iconv. So that its
// text is the Linux build's pixel for pixel, the atlas is made at build time
// by the Linux platform layer itself (vedo-glyph-atlas): every character
// CP949 can encode, drawn with the same face at the same size, each kept as
// its advance and the pixels it sets around its pen position, together with
// the CP949 decoding table iconv uses. Drawing is then the Linux route with
// the lookups replaced: the box in the background colour, then every glyph's
// pixels in the text colour, cut to the box and to the surface (the drawing
// every platform shares, text_draw.cpp). A character
// the atlas lacks (the face has no glyph for it) takes one blank per CP949
// byte, as on Linux.
//
// The atlas is built into the program (kGlyphAtlas, made by the build from
// the file vedo-glyph-atlas wrote).
#include "platform/text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "platform/text_route.h"

namespace platform {

extern const unsigned char kGlyphAtlas[];
extern const unsigned long kGlyphAtlasSize;

namespace {

constexpr int kFirstLead = 0x81;
constexpr int kLeads = 0xFE - kFirstLead + 1;
constexpr int kFirstTrail = 0x41;
constexpr int kTrails = 0xFE - kFirstTrail + 1;

// A character of the atlas: where it sits on the line (its ink pointer is
// set as it is laid out), and its pixels.
struct Glyph {
  GlyphInk placed;
  std::vector<std::uint8_t> ink;  // width * height, 1 where the pixel is set
};

class Atlas final : public TextRoute {
 protected:
  void SetUp() override {
    if (!Load()) {
      std::fprintf(stderr, "Vedo Zeza1: the glyph atlas is broken; text is blank\n");
      std::fflush(stderr);
      glyphs_.clear();
      std::fill(std::begin(decode_), std::end(decode_), 0);
      description_.clear();
    }
  }

  void TearDown() override {
    laid_.clear();
    glyphs_.clear();
    encode_.clear();
    description_.clear();
  }

 public:
  int LineCell() const override { return lineCell_; }
  std::string FaceDescription() const override { return description_; }
  // The atlas holds the pixels the Linux text route drew when it was made.
  std::string Versions() const override { return "glyph atlas; " + description_; }
  bool HasHangul() const override { return glyphs_.count(0xAC00) != 0; }

  // CP949 to code points, as iconv does it: a byte that does not start a
  // valid character shows as '?', one byte wide, and decoding goes on after
  // it.
  void Decode(const char* text, std::size_t length, std::vector<char32_t>& out) const {
    out.clear();
    for (std::size_t i = 0; i < length; ++i) {
      const auto b = static_cast<unsigned char>(text[i]);
      if (b < 0x80) {
        out.push_back(b);
        continue;
      }
      char32_t cp = 0;
      if (b >= kFirstLead && b < kFirstLead + kLeads && i + 1 < length) {
        const auto t = static_cast<unsigned char>(text[i + 1]);
        if (t >= kFirstTrail && t < kFirstTrail + kTrails) {
          cp = decode_[(b - kFirstLead) * kTrails + (t - kFirstTrail)];
        }
      }
      if (cp == 0) {
        out.push_back(U'?');
      } else {
        out.push_back(cp);
        ++i;
      }
    }
  }

  // The CP949 bytes of a code point; empty when CP949 has none.
  std::string Encode(char32_t cp) {
    if (cp < 0x80) return std::string(1, static_cast<char>(cp));
    if (encode_.empty()) {
      for (int i = kLeads * kTrails - 1; i >= 0; --i) {
        if (decode_[i] != 0) encode_[decode_[i]] = static_cast<std::uint16_t>(i);
      }
    }
    auto it = encode_.find(cp);
    if (it == encode_.end()) return std::string();
    const char bytes[2] = {static_cast<char>(kFirstLead + it->second / kTrails),
                           static_cast<char>(kFirstTrail + it->second % kTrails)};
    return std::string(bytes, 2);
  }

  // Lays the string out: its glyphs in order, and its width. A character
  // the atlas lacks only moves the pen.
  int LayOut(const char* text, std::size_t length) override {
    Decode(text, length, codepoints_);
    laid_.clear();
    int width = 0;
    for (char32_t cp : codepoints_) {
      const Glyph* g = Find(cp);
      if (g == nullptr) {
        GlyphInk missing;
        missing.advance = MissingAdvance(cp);
        laid_.push_back(missing);
      } else {
        laid_.push_back(g->placed);
        laid_.back().ink = g->ink.empty() ? nullptr : g->ink.data();
      }
      width += laid_.back().advance;
    }
    return width;
  }
  HRESULT DrawLaid(Surface& surface, const Rect& box, int x, int y, std::uint32_t backColour,
                   std::uint32_t textColour) override {
    return DrawGlyphCoverage(surface, box, x, y, laid_, backColour, textColour);
  }

  const Glyph* Find(char32_t cp) const {
    auto it = glyphs_.find(cp);
    return it == glyphs_.end() ? nullptr : &it->second;
  }
  int MissingAdvance(char32_t cp) const { return cp < 0x80 ? blank_ : 2 * blank_; }

 private:
  bool Load() {
    const std::vector<std::uint8_t> data(kGlyphAtlas, kGlyphAtlas + kGlyphAtlasSize);
    std::size_t at = 0;
    auto need = [&](std::size_t n) { return at + n <= data.size(); };
    auto u16 = [&]() {
      const int v = data[at] | (data[at + 1] << 8);
      at += 2;
      return v;
    };
    auto s16 = [&]() { return static_cast<int>(static_cast<std::int16_t>(u16())); };
    auto u32 = [&]() {
      const std::uint32_t v = data[at] | (data[at + 1] << 8) | (data[at + 2] << 16) |
                              (static_cast<std::uint32_t>(data[at + 3]) << 24);
      at += 4;
      return v;
    };
    if (!need(14) || std::memcmp(data.data(), "VZGA", 4) != 0) return false;
    at = 4;
    if (u16() != 1) return false;
    lineCell_ = u16();
    blank_ = u16();
    const int descLength = u16();
    if (!need(static_cast<std::size_t>(descLength))) return false;
    description_.assign(reinterpret_cast<const char*>(data.data() + at), descLength);
    at += descLength;
    if (!need(kLeads * kTrails * 2 + 4)) return false;
    for (int i = 0; i < kLeads * kTrails; ++i) decode_[i] = static_cast<char32_t>(u16());
    const std::uint32_t count = u32();
    for (std::uint32_t n = 0; n < count; ++n) {
      if (!need(14)) return false;
      const char32_t cp = u32();
      Glyph g;
      GlyphInk& p = g.placed;
      p.advance = s16();
      p.left = s16();
      p.top = s16();
      p.width = u16();
      p.height = u16();
      const std::size_t rowBytes = (static_cast<std::size_t>(p.width) + 7) / 8;
      if (!need(rowBytes * p.height)) return false;
      g.ink.assign(static_cast<std::size_t>(p.width) * p.height, 0);
      for (int r = 0; r < p.height; ++r) {
        for (int c = 0; c < p.width; ++c) {
          g.ink[static_cast<std::size_t>(r) * p.width + c] =
              (data[at + rowBytes * r + c / 8] >> (7 - c % 8)) & 1;
        }
      }
      at += rowBytes * p.height;
      glyphs_.emplace(cp, std::move(g));
    }
    return true;
  }

  int lineCell_ = 16;
  int blank_ = 8;
  std::string description_;
  char32_t decode_[kLeads * kTrails] = {};
  std::unordered_map<char32_t, std::uint16_t> encode_;
  std::unordered_map<char32_t, Glyph> glyphs_;
  std::vector<char32_t> codepoints_;
  std::vector<GlyphInk> laid_;
};

Atlas& Storage() {
  static Atlas atlas;
  return atlas;
}

}  // namespace

TextRoute& NativeTextRoute() { return Storage(); }

// UTF-8 to CP949 with the atlas's table. Characters CP949 lacks, and broken
// UTF-8 sequences, become '?', as with iconv on Linux.
std::string Utf8ToCp949(std::string_view utf8) {
  Atlas& atlas = Storage();
  atlas.EnsureReady();
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    // The bytes that follow a lead byte; -1 for a byte that cannot start one.
    const int extra = b < 0x80   ? 0
                      : b < 0xC0 ? -1
                      : b < 0xE0 ? 1
                      : b < 0xF0 ? 2
                      : b < 0xF8 ? 3
                                 : -1;
    char32_t cp = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
    bool valid = extra >= 0 && i + static_cast<std::size_t>(extra) < utf8.size();
    for (int k = 1; valid && k <= extra; ++k) {
      const auto c = static_cast<unsigned char>(utf8[i + k]);
      if ((c & 0xC0) != 0x80) valid = false;
      cp = (cp << 6) | (c & 0x3F);
    }
    std::string bytes = valid ? atlas.Encode(cp) : std::string();
    if (bytes.empty()) {
      out.push_back('?');
      std::size_t skip = 1;
      while (i + skip < utf8.size() &&
             (static_cast<unsigned char>(utf8[i + skip]) & 0xC0) == 0x80) {
        ++skip;
      }
      i += skip;
      continue;
    }
    out += bytes;
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

}  // namespace platform
