#include "glyphatlas/face.h"

#include <fontconfig/fontconfig.h>

#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <climits>
#include <cstdio>
#include <iterator>

namespace glyphs {
namespace {

using platform::AtlasGlyph;
using platform::GlyphAtlas;

// fontconfig quietly substitutes another face for a family it lacks, so
// each candidate's character set is checked for these syllables, spread
// over the Hangul block.
constexpr char kPreferredFamily[] = "Baekmuk Gulim";
constexpr FcChar32 kHangulSamples[] = {0xAC00, 0xB098, 0xC2A4, 0xC740, 0xD558, 0xD7A3};

int CellOf(FT_Face face) {
  const long ascent = (face->size->metrics.ascender + 63) >> 6;
  const long descent = (-face->size->metrics.descender + 63) >> 6;
  return static_cast<int>(ascent + descent);
}

bool CoversHangul(FcPattern* font) {
  FcCharSet* set = nullptr;
  if (FcPatternGetCharSet(font, FC_CHARSET, 0, &set) != FcResultMatch || set == nullptr) {
    return false;
  }
  return std::all_of(std::begin(kHangulSamples), std::end(kHangulSamples),
                     [set](FcChar32 cp) { return FcCharSetHasChar(set, cp); });
}

}  // namespace

Face::~Face() {
  if (face_ != nullptr) FT_Done_Face(face_);
  if (library_ != nullptr) FT_Done_FreeType(library_);
}

bool Face::Open() {
  if (FT_Init_FreeType(&library_) != 0) return false;
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (config == nullptr) return false;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(kPreferredFamily));
  FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ko"));
  FcPatternAddDouble(pattern, FC_PIXEL_SIZE, kPixelSize);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcFontSet* fonts = FcFontSort(config, pattern, FcFalse, nullptr, &result);
  for (int i = 0; fonts != nullptr && i < fonts->nfont && face_ == nullptr; ++i) {
    if (CoversHangul(fonts->fonts[i])) OpenFace(fonts->fonts[i]);
  }
  if (fonts != nullptr) FcFontSetDestroy(fonts);
  FcPatternDestroy(pattern);
  FcConfigDestroy(config);
  if (face_ == nullptr) return false;
  ascent_ = static_cast<int>((face_->size->metrics.ascender + 63) >> 6);
  lineCell_ = std::min(CellOf(face_), GlyphAtlas::kMaxLineCell);
  const AtlasGlyph space = Render(' ');
  if (space.advance > 0) blank_ = space.advance;
  return true;
}

std::string Face::Source() const {
  FT_Int major = 0, minor = 0, patch = 0;
  FT_Library_Version(library_, &major, &minor, &patch);
  return file_ + ", FreeType " + std::to_string(major) + "." + std::to_string(minor) + "." +
         std::to_string(patch);
}

AtlasGlyph Face::Render(char32_t cp, int pixels, bool hinted) const {
  AtlasGlyph g;
  g.codePoint = cp;
  g.advance = (cp < 0x80 ? 1 : 2) * blank_;
  const FT_UInt index = FT_Get_Char_Index(face_, cp);
  const bool resized = pixels != 0 && pixels != pixels_;
  if (resized) FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(pixels));
  const FT_Int32 flags =
      FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | (hinted ? FT_LOAD_DEFAULT : FT_LOAD_NO_HINTING);
  const bool loaded = index != 0 && FT_Load_Glyph(face_, index, flags) == 0;
  if (resized) FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(pixels_));
  if (!loaded) return g;
  const FT_GlyphSlot slot = face_->glyph;
  const FT_Bitmap& bm = slot->bitmap;
  g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
  const auto set = [&bm](int row, int col) {
    const unsigned char* src = bm.buffer + static_cast<std::ptrdiff_t>(row) * bm.pitch;
    if (bm.pixel_mode == FT_PIXEL_MODE_MONO) return ((src[col >> 3] >> (7 - (col & 7))) & 1) != 0;
    return bm.pixel_mode == FT_PIXEL_MODE_GRAY && src[col] >= 128;  // a grey strike, kept crisp
  };
  // The bounds of the set pixels inside the line cell.
  const int top = ascent_ - slot->bitmap_top;
  int x0 = INT_MAX, x1 = -1, y0 = INT_MAX, y1 = -1;
  for (int row = std::max(0, -top); row < static_cast<int>(bm.rows) && top + row < lineCell_;
       ++row) {
    for (int col = 0; col < static_cast<int>(bm.width); ++col) {
      if (!set(row, col)) continue;
      x0 = std::min(x0, col), x1 = std::max(x1, col), y0 = std::min(y0, row),
      y1 = std::max(y1, row);
    }
  }
  if (x1 < 0) return g;
  g.left = slot->bitmap_left + x0;
  g.top = top + y0;
  g.width = x1 - x0 + 1;
  g.height = y1 - y0 + 1;
  g.ink.resize(static_cast<std::size_t>(g.width) * g.height);
  for (int r = 0; r < g.height; ++r) {
    for (int c = 0; c < g.width; ++c) g.ink[r * g.width + c] = set(y0 + r, x0 + c) ? 1 : 0;
  }
  return g;
}

// 16 pixels, or smaller where the face's line would not fit the game's
// 20-pixel line spacing; a face of bitmap strikes alone is not taken.
void Face::OpenFace(const void* pattern) {
  auto* font = static_cast<FcPattern*>(const_cast<void*>(pattern));
  FcChar8* file = nullptr;
  if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || file == nullptr) return;
  int index = 0;
  FcPatternGetInteger(font, FC_INDEX, 0, &index);
  FT_Face face = nullptr;
  if (FT_New_Face(library_, reinterpret_cast<const char*>(file), index, &face) != 0) return;
  // The character set can claim what the cmap does not deliver.
  bool usable = FT_IS_SCALABLE(face) &&
                std::all_of(std::begin(kHangulSamples), std::end(kHangulSamples),
                            [face](FcChar32 cp) { return FT_Get_Char_Index(face, cp) != 0; });
  int px = kPixelSize;
  for (; usable && px >= 8; --px) {
    usable = FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(px)) == 0;
    if (CellOf(face) <= GlyphAtlas::kMaxLineCell) break;
  }
  if (!usable) {
    FT_Done_Face(face);
    return;
  }
  face_ = face;
  pixels_ = px;
  file_ = reinterpret_cast<const char*>(file);
  FcChar8* family = nullptr;
  FcPatternGetString(font, FC_FAMILY, 0, &family);
  name_ = family != nullptr ? reinterpret_cast<const char*>(family) : "?";
  const auto* head = static_cast<const TT_Header*>(FT_Get_Sfnt_Table(face_, FT_SFNT_HEAD));
  if (head != nullptr) {
    char revision[32];
    std::snprintf(revision, sizeof revision, ", revision %.5f",
                  static_cast<double>(head->Font_Revision) / 65536.0);
    name_ += revision;
  }
}

}  // namespace glyphs
