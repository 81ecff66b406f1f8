// Lettering for the generated pictures, through the game's own text route.
//
// A string is converted to CP949 and drawn once with the platform's
// DrawTextCp949, white on its black box, onto a scratch surface filled with
// a marker colour. The marker shows where the line box lies; the white
// shows the ink. That ink mask is then scaled to any size, sharpened, and
// painted with outlines, shadows and glows. So every letter in the data
// files comes from the same font route as the game's event texts.
#pragma once

#include <string>

#include "common/canvas.h"

namespace datakit {

struct TextMask {
  Mask ink;      // the scratch surface's ink, box-relative
  int boxW = 0;  // the line box the route drew
  int boxH = 0;
  // Ink bounds inside the box (for centring on the letters themselves);
  // all zero when the route drew no ink.
  int inkX0 = 0, inkY0 = 0, inkX1 = 0, inkY1 = 0;
  bool HasInk() const { return inkX1 > inkX0 && inkY1 > inkY0; }
};

TextMask RenderText(const std::string& utf8);

struct TextStyle {
  Rgb colour = Hex(0xFFFFFF);
  float bold = 0;     // pixels the letters themselves grow by
  float outline = 0;  // pixels around the letters
  Rgb outlineColour = Hex(0x000000);
  int shadowDx = 0, shadowDy = 0, shadowBlur = 0;
  float shadowAlpha = 0;
  Rgb shadowColour = Hex(0x000000);
  int glowBlur = 0;
  float glowAlpha = 0;
  Rgb glowColour = Hex(0xFF0000);
  // Optional vertical gradient of the letters: colour at the top, this at
  // the bottom.
  bool gradient = false;
  Rgb bottomColour = Hex(0xFFFFFF);
};

// The drawn width of a text whose line box is `height` pixels tall.
float TextWidth(const TextMask& text, float height);
// The line-box height at which the text is `width` pixels wide.
float HeightForWidth(const TextMask& text, float width);

// Draws the text with the top-left corner of its line box at (x, y), scaled
// so that the box is `height` pixels tall.
void DrawText(Canvas& canvas, const TextMask& text, float x, float y, float height,
              const TextStyle& style);
// The same, centred on x; returns the drawn width.
float DrawTextCentred(Canvas& canvas, const std::string& utf8, float cx, float y, float height,
                      const TextStyle& style);
// Left-aligned at x; returns the drawn width.
float DrawTextAt(Canvas& canvas, const std::string& utf8, float x, float y, float height,
                 const TextStyle& style);
// Centred in a box; the height shrinks when the text is wider than maxWidth.
void DrawTextFit(Canvas& canvas, const std::string& utf8, float cx, float cy, float height,
                 float maxWidth, const TextStyle& style);

}  // namespace datakit
