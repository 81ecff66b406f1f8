// Text on a surface: what each platform's text route supplies to the calls
// of text.h, which every platform shares (text_draw.cpp), and the drawing a
// route built on glyph coverage uses. Private to the platform layer.
//
// The calls are the same everywhere: the recorder sees each drawing, the
// route is set up on first use, and the string's box, as wide as its layout
// and as high as the line cell, is cut to the surface with 64-bit sums. Only
// the layout and the drawing of the cut box differ: FreeType's and the
// atlas's glyphs are coverage, whose pixels DrawGlyphCoverage sets; GDI
// draws the box itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace platform {

// ---- Each platform's text route ---------------------------------------------

// What DrawTextCp949 and the other calls of text.h ask of the platform.
// Text calls come from the game's thread only.
class TextRoute {
 public:
  virtual ~TextRoute() = default;
  // Sets the route up (the face, the converter) unless it is already.
  void EnsureReady() {
    if (ready_) return;
    ready_ = true;
    SetUp();
  }
  // Frees everything; the next EnsureReady sets the route up anew.
  void Release() {
    TearDown();
    ready_ = false;
  }

  virtual int LineCell() const = 0;
  virtual std::string FaceDescription() const = 0;
  virtual std::string Versions() const = 0;
  virtual bool HasHangul() const = 0;

  // Lays out `length` (at least 1) CP949 bytes and returns the string's
  // width in pixels. The layout is kept for the DrawLaid that follows.
  virtual int LayOut(const char* text, std::size_t length) = 0;
  // Draws the string last laid out, its line cell's top-left corner at
  // (x, y), in `box`: the string's box cut to the surface, never empty.
  // Colours are 0x00BBGGRR.
  virtual HRESULT DrawLaid(Surface& surface, const Rect& box, int x, int y,
                           std::uint32_t backColour, std::uint32_t textColour) = 0;

 protected:
  virtual void SetUp() = 0;
  virtual void TearDown() = 0;

 private:
  bool ready_ = false;
};

// The platform's route, one for the program; set up by EnsureReady.
TextRoute& NativeTextRoute();

// ---- For routes that draw from glyph coverage --------------------------------

// One glyph of a laid-out string.
struct GlyphInk {
  int advance = 0;
  int left = 0;  // from the pen position to the first column
  int top = 0;   // from the top of the line cell to the first row
  int width = 0;
  int height = 0;
  const std::uint8_t* ink = nullptr;  // width * height, non-zero where set; null: nothing to set
};

// Fills the box with the background colour, then sets the glyphs' pixels in
// the text colour, the first glyph's pen at x and the line cell's top at y,
// cut to the box. DD_OK.
HRESULT DrawGlyphCoverage(Surface& surface, const Rect& box, int x, int y,
                          const std::vector<GlyphInk>& glyphs, std::uint32_t backColour,
                          std::uint32_t textColour);

}  // namespace platform
