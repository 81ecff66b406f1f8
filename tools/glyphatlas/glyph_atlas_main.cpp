// vedo-glyph-atlas OUT: draws the glyph atlas that every build of the game
// carries (formats/glyph_atlas.h), with FreeType and the system's fonts, at
// build time. Only this tool needs FreeType, fontconfig and iconv; the game
// draws its text from the atlas alone.
//
// The face: fontconfig is asked for Baekmuk Gulim, the Korean face the
// game's screens were laid out with (blank 8 pixels, Hangul 16). Since
// fontconfig quietly substitutes another face for a family it lacks, each
// candidate's character set is checked for Hangul syllables; the first that
// has them is taken, and without one the tool fails. Each character is
// rendered monochrome and hinted at 16 pixels (smaller only where the face's
// line would not fit the game's 20-pixel spacing), and kept as its advance
// and the pixels it sets inside the line cell.
//
// The characters: ASCII and KS X 1001's symbols and Hangul (the rows from
// 0xA1 to 0xC8), every character the game can show. CP949's Hanja and
// extended Hangul are in the decoding table, iconv's CP949, but have no
// glyphs: the game draws them as blanks of their width.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include <iconv.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "formats/glyph_atlas.h"

namespace {

using platform::AtlasGlyph;
using platform::GlyphAtlas;

constexpr char kPreferredFamily[] = "Baekmuk Gulim";
constexpr int kPixelSize = 16;
// Syllables spread over the Hangul block; a face with all of them has it.
constexpr FcChar32 kHangulSamples[] = {0xAC00, 0xB098, 0xC2A4, 0xC740, 0xD558, 0xD7A3};

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

class Face {
 public:
  ~Face() {
    if (face_ != nullptr) FT_Done_Face(face_);
    if (library_ != nullptr) FT_Done_FreeType(library_);
  }

  // Finds the face; false when no installed face draws Hangul.
  bool Open() {
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

  int LineCell() const { return lineCell_; }
  int Blank() const { return blank_; }
  // The family and the face's own revision, which the atlas records.
  const std::string& Name() const { return name_; }
  // The font file and the FreeType version that drew it.
  std::string Source() const {
    FT_Int major = 0, minor = 0, patch = 0;
    FT_Library_Version(library_, &major, &minor, &patch);
    return file_ + ", FreeType " + std::to_string(major) + "." + std::to_string(minor) + "." +
           std::to_string(patch);
  }

  // The character as the atlas keeps it: its advance (one blank per CP949
  // byte where the face has no glyph) and the pixels it sets inside the line
  // cell, cut to their bounds.
  AtlasGlyph Render(char32_t cp) const {
    AtlasGlyph g;
    g.codePoint = cp;
    g.advance = (cp < 0x80 ? 1 : 2) * blank_;
    const FT_UInt index = FT_Get_Char_Index(face_, cp);
    if (index == 0 || FT_Load_Glyph(face_, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) {
      return g;
    }
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

 private:
  static bool CoversHangul(FcPattern* font) {
    FcCharSet* set = nullptr;
    if (FcPatternGetCharSet(font, FC_CHARSET, 0, &set) != FcResultMatch || set == nullptr) {
      return false;
    }
    return std::all_of(std::begin(kHangulSamples), std::end(kHangulSamples),
                       [set](FcChar32 cp) { return FcCharSetHasChar(set, cp); });
  }

  static int CellOf(FT_Face face) {
    const long ascent = (face->size->metrics.ascender + 63) >> 6;
    const long descent = (-face->size->metrics.descender + 63) >> 6;
    return static_cast<int>(ascent + descent);
  }

  // 16 pixels, or smaller where the face's line would not fit the game's
  // 20-pixel line spacing; a face of bitmap strikes alone is not taken.
  void OpenFace(FcPattern* font) {
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
    for (int px = kPixelSize; usable && px >= 8; --px) {
      usable = FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(px)) == 0;
      if (CellOf(face) <= GlyphAtlas::kMaxLineCell) break;
    }
    if (!usable) {
      FT_Done_Face(face);
      return;
    }
    face_ = face;
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

  FT_Library library_ = nullptr;
  FT_Face face_ = nullptr;
  std::string name_;
  std::string file_;
  int ascent_ = kPixelSize - 2;
  int lineCell_ = kPixelSize;
  int blank_ = kPixelSize / 2;
};

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
  Face face;
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
  std::FILE* f = std::fopen(argv[1], "wb");
  bool written = f != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (f != nullptr && std::fclose(f) != 0) written = false;
  if (!written) {
    std::fprintf(stderr, "vedo-glyph-atlas: cannot write %s\n", argv[1]);
    return 1;
  }
  std::printf("vedo-glyph-atlas: %zu glyphs of %s (%s), %zu bytes\n", atlas.glyphs.size(),
              atlas.face.c_str(), face.Source().c_str(), bytes.size());
  return 0;
}
