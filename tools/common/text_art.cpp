#include "common/text_art.h"

#include <cstring>

#include "platform/draw/surface.h"
#include "platform/draw/text_draw.h"

namespace datakit {
namespace {

// The scratch surface's fill: magenta, which the route never draws when it
// paints white on black.
constexpr std::uint8_t kMarkerB = 255, kMarkerG = 0, kMarkerR = 255;
constexpr int kMargin = 8;

bool IsMarker(const std::uint8_t* p) {
  return p[0] == kMarkerB && p[1] == kMarkerG && p[2] == kMarkerR;
}

// The scaled ink of a text, as a mask `pad` pixels larger on every side.
Mask ScaledInk(const TextMask& text, float height, int pad, int& outW, int& outH) {
  const float s = height / static_cast<float>(text.boxH);
  outW = static_cast<int>(std::ceil(text.boxW * s));
  outH = static_cast<int>(std::ceil(text.boxH * s));
  Mask m(outW + 2 * pad, outH + 2 * pad);
  // Each output pixel averages 3 x 3 bilinear samples of the ink, which
  // serves both growing and shrinking.
  for (int y = 0; y < outH; ++y) {
    for (int x = 0; x < outW; ++x) {
      float sum = 0;
      for (int sy = 0; sy < 3; ++sy) {
        for (int sx = 0; sx < 3; ++sx) {
          const float ux = (x + (sx + 0.5f) / 3.0f) / s - 0.5f;
          const float uy = (y + (sy + 0.5f) / 3.0f) / s - 0.5f;
          sum += text.ink.Sample(ux, uy);
        }
      }
      float a = sum / 9.0f;
      // Blown-up glyphs go soft; a contrast curve brings the edges back.
      // The middle sits low so that thin strokes stay whole.
      if (s > 1.4f) {
        const float lo = 0.3f - 0.5f / s, hi = 0.3f + 0.5f / s;
        a = std::clamp((a - std::max(lo, 0.02f)) / (hi - std::max(lo, 0.02f)), 0.0f, 1.0f);
        a = a * a * (3 - 2 * a);
      }
      m.Ref(x + pad, y + pad) = a;
    }
  }
  return m;
}

}  // namespace

TextMask RenderText(const std::string& utf8) {
  TextMask out;
  const std::string cp949 = platform::Utf8ToCp949(utf8);
  if (cp949.empty()) return out;
  const int line = std::max(platform::TextLineHeight(), 8);
  const int w = static_cast<int>(cp949.size()) * line + 2 * kMargin;
  const int h = 2 * line + 2 * kMargin;
  platform::Surface scratch(w, h);
  for (int y = 0; y < h; ++y) {
    std::uint8_t* row = scratch.Row(y);
    for (int x = 0; x < w; ++x) {
      row[3 * x] = kMarkerB;
      row[3 * x + 1] = kMarkerG;
      row[3 * x + 2] = kMarkerR;
    }
  }
  platform::DrawTextCp949(scratch, cp949.c_str(), 0x000000, 0xFFFFFF, kMargin, kMargin);
  int bx0 = w, by0 = h, bx1 = -1, by1 = -1;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (IsMarker(scratch.Row(y) + 3 * x)) continue;
      bx0 = std::min(bx0, x);
      by0 = std::min(by0, y);
      bx1 = std::max(bx1, x);
      by1 = std::max(by1, y);
    }
  }
  if (bx1 < bx0) return out;
  out.boxW = bx1 - bx0 + 1;
  out.boxH = by1 - by0 + 1;
  out.ink = Mask(out.boxW, out.boxH);
  int ix0 = out.boxW, iy0 = out.boxH, ix1 = -1, iy1 = -1;
  for (int y = 0; y < out.boxH; ++y) {
    for (int x = 0; x < out.boxW; ++x) {
      const std::uint8_t* p = scratch.Row(y + by0) + 3 * (x + bx0);
      if (IsMarker(p)) continue;
      // White ink on black: every channel carries the coverage.
      const float a = (p[0] + p[1] + p[2]) / (3.0f * 255.0f);
      out.ink.Ref(x, y) = a;
      if (a > 0.2f) {
        ix0 = std::min(ix0, x);
        iy0 = std::min(iy0, y);
        ix1 = std::max(ix1, x + 1);
        iy1 = std::max(iy1, y + 1);
      }
    }
  }
  if (ix1 > ix0) {
    out.inkX0 = ix0;
    out.inkY0 = iy0;
    out.inkX1 = ix1;
    out.inkY1 = iy1;
  }
  return out;
}

float TextWidth(const TextMask& text, float height) {
  if (text.boxH == 0) return 0;
  return text.boxW * height / text.boxH;
}

float HeightForWidth(const TextMask& text, float width) {
  if (text.boxW == 0) return 0;
  return width * text.boxH / text.boxW;
}

void DrawText(Canvas& canvas, const TextMask& text, float x, float y, float height,
              const TextStyle& style) {
  if (text.boxH == 0 || !text.HasInk() || height <= 0) return;
  const int pad = static_cast<int>(std::ceil(style.outline + style.bold)) + 2 +
                  3 * std::max(style.shadowBlur, style.glowBlur) +
                  std::max(std::abs(style.shadowDx), std::abs(style.shadowDy));
  int w = 0, h = 0;
  Mask ink = ScaledInk(text, height, pad, w, h);
  if (style.bold > 0) ink.Dilate(style.bold);
  const int ox = static_cast<int>(std::lround(x)) - pad;
  const int oy = static_cast<int>(std::lround(y)) - pad;
  Mask body = ink;
  if (style.outline > 0) body.Dilate(style.outline);
  if (style.glowAlpha > 0)
    canvas.Shadow(body, ox, oy, style.glowBlur, style.glowColour, style.glowAlpha);
  if (style.shadowAlpha > 0) {
    canvas.Shadow(body, ox + style.shadowDx, oy + style.shadowDy, style.shadowBlur,
                  style.shadowColour, style.shadowAlpha);
  }
  if (style.outline > 0) canvas.Apply(body, ox, oy, style.outlineColour);
  if (style.gradient) {
    const float top = y + text.inkY0 * height / text.boxH;
    const float bottom = y + text.inkY1 * height / text.boxH;
    canvas.ApplyWith(ink, ox, oy, [&](float, float py) {
      const float t = std::clamp((py - top) / std::max(bottom - top, 1.0f), 0.0f, 1.0f);
      return Mix(style.colour, style.bottomColour, t);
    });
  } else {
    canvas.Apply(ink, ox, oy, style.colour);
  }
}

float DrawTextCentred(Canvas& canvas, const std::string& utf8, float cx, float y, float height,
                      const TextStyle& style) {
  const TextMask text = RenderText(utf8);
  const float width = TextWidth(text, height);
  DrawText(canvas, text, cx - width / 2, y, height, style);
  return width;
}

float DrawTextAt(Canvas& canvas, const std::string& utf8, float x, float y, float height,
                 const TextStyle& style) {
  const TextMask text = RenderText(utf8);
  DrawText(canvas, text, x, y, height, style);
  return TextWidth(text, height);
}

void DrawTextFit(Canvas& canvas, const std::string& utf8, float cx, float cy, float height,
                 float maxWidth, const TextStyle& style) {
  const TextMask text = RenderText(utf8);
  if (text.boxH == 0) return;
  float h = height;
  if (TextWidth(text, h) > maxWidth) h = HeightForWidth(text, maxWidth);
  const float w = TextWidth(text, h);
  // Centre on the ink, not on the box: boxes carry blank space above and
  // below the letters.
  float inkMid = 0.5f;
  if (text.HasInk()) inkMid = (text.inkY0 + text.inkY1) * 0.5f / text.boxH;
  DrawText(canvas, text, cx - w / 2, cy - inkMid * h, h, style);
}

}  // namespace datakit
