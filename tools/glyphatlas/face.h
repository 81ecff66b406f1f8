// The face the glyph atlas is drawn from: Baekmuk Gulim, found through
// fontconfig, rendered by FreeType monochrome at 16 pixels (or smaller,
// where a letter must make room for its accents).
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>

#include "formats/glyph_atlas.h"

namespace glyphs {

inline constexpr int kPixelSize = 16;

class Face {
 public:
  Face() = default;
  Face(const Face&) = delete;
  Face& operator=(const Face&) = delete;
  ~Face();

  // Finds the face; false when no installed face draws Hangul.
  bool Open();

  int LineCell() const { return lineCell_; }
  int Blank() const { return blank_; }
  // The family and the face's own revision, which the atlas records.
  const std::string& Name() const { return name_; }
  // The font file and the FreeType version that drew it.
  std::string Source() const;

  // The character as the atlas keeps it: its advance (one blank per CP949
  // byte where the face has no glyph) and the pixels it sets inside the line
  // cell, cut to their bounds. At another pixel size than the face's own it
  // stands on the same baseline; unhinted, it keeps the outline's own shape
  // where the hinting of a small mark loses it.
  platform::AtlasGlyph Render(char32_t cp, int pixels = 0, bool hinted = true) const;

 private:
  void OpenFace(const void* pattern);

  FT_Library library_ = nullptr;
  FT_Face face_ = nullptr;
  std::string name_;
  std::string file_;
  int pixels_ = kPixelSize;
  int ascent_ = kPixelSize - 2;
  int lineCell_ = kPixelSize;
  int blank_ = kPixelSize / 2;
};

}  // namespace glyphs
