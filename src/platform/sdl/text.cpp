// Text on a surface: CP949 bytes to pixels.
//
// Pipeline: the game's strings are CP949 bytes. iconv turns them into
// Unicode code points (UTF-32LE); each code point is looked up in a glyph
// cache, which FreeType fills on a miss with a monochrome, hinted rendering
// of the face at 16 pixels. The string's box (as wide as the sum of the
// advances, as high as the line cell) is filled with the background colour,
// then every set pixel of every glyph is written in the text colour. Both
// are cut to the box and to the surface; that part, and the box, are the
// drawing every platform shares (text_draw.cpp).
//
// The face: fontconfig is asked for Baekmuk Gulim, the Korean system font
// the game's screens were laid out with (blank 8 pixels, Hangul 16). Since
// fontconfig quietly substitutes another face for a family it lacks, each
// candidate's character set is checked for Hangul syllables; the first
// candidate that has them is taken. When no installed face has Hangul, that
// is said once on stderr and the best face at all is used for what it can
// draw; with no face at all only the boxes are drawn. Characters the face
// lacks take the width of one blank per CP949 byte, so boxes keep their
// size.
//
// Everything is set up on first use and released at exit (or by
// ReleaseText).
#include "platform/text.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "platform/little_endian.h"
#include "platform/text_route.h"

namespace platform {
namespace {

constexpr char kPreferredFamily[] = "Baekmuk Gulim";
constexpr int kPixelSize = 16;
constexpr int kMaxLineCell = 20;  // the game's lines are 20 pixels apart
// Syllables spread over the Hangul block; a face with all of them has it.
constexpr FcChar32 kHangulSamples[] = {0xAC00, 0xB098, 0xC2A4, 0xC740, 0xD558, 0xD7A3};

struct Glyph {
  int advance = 0;
  int left = 0;  // from the pen position to the first column
  int top = 0;   // from the baseline up to the first row
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> ink;  // width * height, 1 where the pixel is set
};

class TextEngine final : public TextRoute {
 public:
  ~TextEngine() override { TearDown(); }

 protected:
  void TearDown() override {
    laid_.clear();
    glyphs_.clear();
    if (face_ != nullptr) FT_Done_Face(face_);
    face_ = nullptr;
    if (library_ != nullptr) FT_Done_FreeType(library_);
    library_ = nullptr;
    if (converter_ != reinterpret_cast<iconv_t>(-1)) iconv_close(converter_);
    converter_ = reinterpret_cast<iconv_t>(-1);
    description_.clear();
    hasHangul_ = false;
  }

  void SetUp() override {
    converter_ = iconv_open("UTF-32LE", "CP949");
    if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
    if (library_ != nullptr) ChooseFace();
    if (!hasHangul_) {
      std::fprintf(stderr,
                   "Vedo Zeza1: no installed font draws Hangul (install fonts-baekmuk); "
                   "Korean text shows as blank boxes\n");
      std::fflush(stderr);
    }
    SetMetrics();
  }

 public:
  int LineCell() const override { return lineCell_; }
  std::string FaceDescription() const override { return description_; }
  std::string Versions() const override {
    if (library_ == nullptr) return "no FreeType";
    FT_Int major = 0, minor = 0, patch = 0;
    FT_Library_Version(library_, &major, &minor, &patch);
    char text[96];
    std::snprintf(text, sizeof text, "FreeType %d.%d.%d; ", major, minor, patch);
    std::string out = text;
    if (face_ == nullptr) return out + "no face";
    out += description_;
    // The face's own revision, from its header table when it has one.
    const auto* head = static_cast<const TT_Header*>(FT_Get_Sfnt_Table(face_, FT_SFNT_HEAD));
    if (head != nullptr) {
      std::snprintf(text, sizeof text, " revision %.5f",
                    static_cast<double>(head->Font_Revision) / 65536.0);
      out += text;
    }
    return out;
  }
  bool HasHangul() const override { return hasHangul_; }

  // Lays the string out: its glyphs in order, placed from the top of the
  // line cell, and its width. (The cache's glyphs stay where they are while
  // others join it.)
  int LayOut(const char* text, std::size_t length) override {
    Decode(text, length);
    laid_.clear();
    int width = 0;
    for (char32_t cp : codepoints_) {
      const Glyph& g = GlyphFor(cp);
      laid_.push_back(GlyphInk{g.advance, g.left, ascent_ - g.top, g.width, g.height,
                               g.ink.empty() ? nullptr : g.ink.data()});
      width += g.advance;
    }
    return width;
  }
  HRESULT DrawLaid(Surface& surface, const Rect& box, int x, int y, std::uint32_t backColour,
                   std::uint32_t textColour) override {
    return DrawGlyphCoverage(surface, box, x, y, laid_, backColour, textColour);
  }

 private:
  // CP949 to code points. A byte iconv cannot take (an invalid or cut-off
  // sequence) shows as '?', one byte wide.
  void Decode(const char* text, std::size_t length) {
    codepoints_.clear();
    if (converter_ == reinterpret_cast<iconv_t>(-1)) {
      // No converter: ASCII passes, every other byte pair is an unknown
      // wide character.
      for (std::size_t i = 0; i < length; ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
          codepoints_.push_back(b);
        } else {
          codepoints_.push_back(0xFFFD);
          if (i + 1 < length) ++i;
        }
      }
      return;
    }
    iconv(converter_, nullptr, nullptr, nullptr, nullptr);
    raw_.resize(length * 4 + 4);
    char* in = const_cast<char*>(text);
    std::size_t inLeft = length;
    char* out = raw_.data();
    std::size_t outLeft = raw_.size();
    while (inLeft > 0) {
      if (iconv(converter_, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1)) break;
      if (errno == E2BIG) break;  // cannot happen: every byte gives at most 4
      // EILSEQ or EINVAL: take the byte as '?' and go on after it.
      std::memcpy(out, "?\0\0\0", 4);
      out += 4;
      outLeft -= 4;
      ++in;
      --inLeft;
      iconv(converter_, nullptr, nullptr, nullptr, nullptr);
    }
    const std::size_t count = static_cast<std::size_t>(out - raw_.data()) / 4;
    const auto* bytes = reinterpret_cast<const unsigned char*>(raw_.data());
    for (std::size_t i = 0; i < count; ++i, bytes += 4) {
      codepoints_.push_back(static_cast<char32_t>(ReadLe32(bytes)));
    }
  }

  const Glyph& GlyphFor(char32_t cp) {
    auto it = glyphs_.find(cp);
    if (it != glyphs_.end()) return it->second;
    return glyphs_.emplace(cp, Render(cp)).first->second;
  }

  // The width of a character the face cannot draw: one blank per CP949
  // byte, and every character beyond ASCII takes two bytes.
  Glyph Missing(char32_t cp) const {
    Glyph g;
    g.advance = cp < 0x80 ? blank_ : 2 * blank_;
    return g;
  }

  Glyph Render(char32_t cp) {
    if (face_ == nullptr) return Missing(cp);
    const FT_UInt index = FT_Get_Char_Index(face_, cp);
    if (index == 0) return Missing(cp);
    if (FT_Load_Glyph(face_, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) return Missing(cp);
    const FT_GlyphSlot slot = face_->glyph;
    Glyph g;
    g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    const FT_Bitmap& bm = slot->bitmap;
    g.width = static_cast<int>(bm.width);
    g.height = static_cast<int>(bm.rows);
    g.ink.assign(static_cast<std::size_t>(g.width) * g.height, 0);
    for (int row = 0; row < g.height; ++row) {
      const unsigned char* src = bm.buffer + static_cast<std::ptrdiff_t>(row) * bm.pitch;
      for (int col = 0; col < g.width; ++col) {
        bool set = false;
        if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
          set = ((src[col >> 3] >> (7 - (col & 7))) & 1) != 0;
        } else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
          set = src[col] >= 128;  // an embedded grey strike: keep it crisp
        }
        g.ink[static_cast<std::size_t>(row) * g.width + col] = set ? 1 : 0;
      }
    }
    return g;
  }

  static bool CoversHangul(FcPattern* font) {
    FcCharSet* set = nullptr;
    if (FcPatternGetCharSet(font, FC_CHARSET, 0, &set) != FcResultMatch || set == nullptr) {
      return false;
    }
    for (FcChar32 cp : kHangulSamples) {
      if (!FcCharSetHasChar(set, cp)) return false;
    }
    return true;
  }

  bool OpenFace(FcPattern* font, bool needHangul) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || file == nullptr) {
      return false;
    }
    int index = 0;
    FcPatternGetInteger(font, FC_INDEX, 0, &index);
    FT_Face face = nullptr;
    if (FT_New_Face(library_, reinterpret_cast<const char*>(file), index, &face) != 0) return false;
    if (needHangul) {
      // The character set can claim what the cmap does not deliver.
      for (FcChar32 cp : kHangulSamples) {
        if (FT_Get_Char_Index(face, cp) == 0) {
          FT_Done_Face(face);
          return false;
        }
      }
    }
    if (!SizeFace(face)) {
      FT_Done_Face(face);
      return false;
    }
    face_ = face;
    FcChar8* family = nullptr;
    FcPatternGetString(font, FC_FAMILY, 0, &family);
    description_ = std::string(family != nullptr ? reinterpret_cast<const char*>(family) : "?") +
                   " (" + reinterpret_cast<const char*>(file) + ")";
    hasHangul_ = needHangul;
    return true;
  }

  // 16 pixels, or smaller where the face's line would not fit the game's
  // 20-pixel line spacing. A face of fixed bitmap sizes takes the largest
  // strike that fits.
  static bool SizeFace(FT_Face face) {
    if (FT_IS_SCALABLE(face)) {
      for (int px = kPixelSize; px >= 8; --px) {
        if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(px)) != 0) return false;
        if (CellOf(face) <= kMaxLineCell) return true;
      }
      return true;  // the cell is cut to 20 pixels
    }
    int best = -1;
    for (int i = 0; i < face->num_fixed_sizes; ++i) {
      const int h = face->available_sizes[i].height;
      if (h <= kMaxLineCell && (best < 0 || h > face->available_sizes[best].height)) best = i;
    }
    return best >= 0 && FT_Select_Size(face, best) == 0;
  }

  static int CellOf(FT_Face face) {
    const long ascent = (face->size->metrics.ascender + 63) >> 6;
    const long descent = (-face->size->metrics.descender + 63) >> 6;
    return static_cast<int>(ascent + descent);
  }

  void ChooseFace() {
    config_ = FcInitLoadConfigAndFonts();
    if (config_ == nullptr) return;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(kPreferredFamily));
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ko"));
    FcPatternAddDouble(pattern, FC_PIXEL_SIZE, kPixelSize);
    FcConfigSubstitute(config_, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcFontSet* fonts = FcFontSort(config_, pattern, FcFalse, nullptr, &result);
    if (fonts != nullptr) {
      // The best candidate that draws Hangul, else the best that loads.
      for (int i = 0; i < fonts->nfont && face_ == nullptr; ++i) {
        if (CoversHangul(fonts->fonts[i])) OpenFace(fonts->fonts[i], true);
      }
      for (int i = 0; i < fonts->nfont && face_ == nullptr; ++i) OpenFace(fonts->fonts[i], false);
      FcFontSetDestroy(fonts);
    }
    FcPatternDestroy(pattern);
    FcConfigDestroy(config_);
    config_ = nullptr;
  }

  void SetMetrics() {
    blank_ = kPixelSize / 2;
    ascent_ = kPixelSize - 2;
    lineCell_ = kPixelSize;
    if (face_ == nullptr) return;
    ascent_ = static_cast<int>((face_->size->metrics.ascender + 63) >> 6);
    lineCell_ = std::min(CellOf(face_), kMaxLineCell);
    const Glyph space = Render(' ');
    if (space.advance > 0) blank_ = space.advance;
  }

  FcConfig* config_ = nullptr;
  FT_Library library_ = nullptr;
  FT_Face face_ = nullptr;
  iconv_t converter_ = reinterpret_cast<iconv_t>(-1);
  std::string description_;
  bool hasHangul_ = false;
  int lineCell_ = kPixelSize;
  int ascent_ = kPixelSize - 2;
  int blank_ = kPixelSize / 2;
  std::unordered_map<char32_t, Glyph> glyphs_;
  std::vector<char> raw_;
  std::vector<char32_t> codepoints_;
  std::vector<GlyphInk> laid_;
};

}  // namespace

TextRoute& NativeTextRoute() {
  static TextEngine engine;
  return engine;
}

}  // namespace platform
