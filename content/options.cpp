// The options panel (options.bmp): a plate of the event window's gunmetal
// with a red title band, a row of black plates for each setting and, below
// the panel, the parts the program draws over it for the values. It carries
// no words: the program writes the language's lines on its black plates
// (state/data_contract.h has every place).
#include "common/rng.h"
#include "content/art.h"
#include "content/datakit.h"

namespace datakit {
namespace {

RectShape Area(const PanelBox& b, int dy = 0) {
  return {float(b.left), float(b.top + dy), float(b.right), float(b.bottom + dy)};
}

// A sunken plate with a black floor, its lips outside the box.
void Plate(Canvas& c, const PanelBox& b, int dy = 0) {
  const float x0 = b.left - 2.0f, y0 = b.top + dy - 2.0f, x1 = b.right + 2.0f,
              y1 = b.bottom + dy + 2.0f;
  c.Fill(RectShape{x0, y0, x1, y1}, Hex(0x8A9098));
  c.Fill(RectShape{x0, y0, x1 - 1, y1 - 1}, Hex(0x0E0F11));
  c.Fill(Area(b, dy), Hex(0x000000));
}

// A raised grey button over the box, with a sign drawn by `sign` at its
// centre.
template <class Sign>
void Button(Canvas& c, const PanelBox& b, int dy, Rgb face, Sign sign) {
  c.Fill(Area(b, dy), Hex(0x0A0A0C));
  c.VGradient(b.left + 1, b.top + dy + 1, b.right - 1, b.bottom + dy - 1,
              Mix(face, Hex(0xFFFFFF), 0.2f), Shade(face, 0.6f));
  c.Bevel(b.left + 1, b.top + dy + 1, b.right - 1, b.bottom + dy - 1, 2, 0.35f, 0.45f);
  sign((b.left + b.right) / 2.0f, (b.top + b.bottom) / 2.0f + dy);
}

void Rivet(Canvas& c, float x, float y) {
  c.Fill(Circle(x + 0.8f, y + 1, 2.4f), Hex(0x000000), 0.5f);
  c.Fill(Circle(x, y, 2.2f), Hex(0x8C9098));
  c.Fill(Circle(x - 0.7f, y - 0.7f, 0.9f), Hex(0xD8DCE0));
}

}  // namespace

Canvas PaintOptionsPanel() {
  Canvas c(kOptionsPicture.width, kOptionsPicture.height, Hex(0x000000));
  const int w = kOptionsPicture.width, h = kOptionsPanelHeight;
  // The event window's metal, streaked.
  c.VGradient(0, 0, w, h, Hex(0x50555E), Hex(0x2E3138));
  for (int y = 0; y < h; ++y) {
    const float streak = (Hash2(3, y, 2601) - 0.5f) * 8;
    for (int x = 0; x < w; ++x) c.At(x, y) = c.At(x, y) + Rgb{streak, streak, streak};
  }
  c.Fill(RectShape{0, 0, float(w), 1}, Hex(0x0A0A0C));
  c.Fill(RectShape{0, h - 1.0f, float(w), float(h)}, Hex(0x0A0A0C));
  c.Fill(RectShape{0, 0, 1, float(h)}, Hex(0x0A0A0C));
  c.Fill(RectShape{w - 1.0f, 0, float(w), float(h)}, Hex(0x0A0A0C));
  c.Bevel(1, 1, w - 1, h - 1, 2, 0.35f, 0.5f);
  // The title band, with the title's plate in it.
  c.VGradient(4, 4, w - 4, 34, Hex(0x8A1A14), Hex(0x4A0C0A));
  Plate(c, kOptionsTitle);
  for (const Pt& p : {Pt{12, 19}, Pt{w - 12.0f, 19}, Pt{10, h - 10.0f}, Pt{w - 10.0f, h - 10.0f}}) {
    Rivet(c, p.x, p.y);
  }

  const Rgb grey = Hex(0x6A707A);
  const Rgb sign = Hex(0xF0E8D8);
  const auto minus = [&](float x, float y) {
    c.Fill(RectShape{x - 6, y - 1.5f, x + 6, y + 1.5f}, sign);
  };
  const auto plus = [&](float x, float y) {
    minus(x, y);
    c.Fill(RectShape{x - 1.5f, y - 6, x + 1.5f, y + 6}, sign);
  };
  const auto left = [&](float x, float y) {
    c.Fill(PolyShape{{{x + 4, y - 6}, {x + 4, y + 6}, {x - 5, y}}}, sign);
  };
  const auto right = [&](float x, float y) {
    c.Fill(PolyShape{{{x - 4, y - 6}, {x - 4, y + 6}, {x + 5, y}}}, sign);
  };
  // The rows, in the panel's order: effects, music, mute, display, window
  // size, scaling, language, sound in the background.
  enum Kind { kVolume, kCheck, kChoice, kStepper, kLanguage };
  constexpr Kind kRows[kOptionsRows] = {kVolume,  kVolume, kCheck,    kChoice,
                                        kStepper, kChoice, kLanguage, kCheck};
  for (int r = 0; r < kOptionsRows; ++r) {
    const int dy = kOptionsRowTop + r * kOptionsRowPitch;
    if (r > 0) {  // a groove between rows
      c.Fill(RectShape{8, dy - 2.0f, w - 8.0f, dy - 1.0f}, Hex(0x16171A));
      c.Fill(RectShape{8, dy - 1.0f, w - 8.0f, float(dy)}, Hex(0x7A8088));
    }
    Plate(c, kOptionsLabel, dy);
    switch (kRows[r]) {
      case kVolume:
        Button(c, kOptionsMinus, dy, grey, minus);
        Button(c, kOptionsPlus, dy, grey, plus);
        for (int s = 0; s < kOptionsSegments; ++s) {
          const float x = kOptionsSegment.left + s * kOptionsSegmentPitch;
          c.Fill(RectShape{x - 1, kOptionsSegment.top + dy - 1.0f,
                           x + (kOptionsSegment.right - kOptionsSegment.left) + 1,
                           kOptionsSegment.bottom + dy + 1.0f},
                 Hex(0x0A0A0C));
          c.Fill(RectShape{x, float(kOptionsSegment.top + dy),
                           x + (kOptionsSegment.right - kOptionsSegment.left),
                           float(kOptionsSegment.bottom + dy)},
                 Hex(0x2A1608));
        }
        break;
      case kCheck:
        Plate(c, kOptionsCheck, dy);
        break;
      case kChoice:
        Plate(c, kOptionsChoices[0], dy);
        Plate(c, kOptionsChoices[1], dy);
        break;
      case kStepper:
      case kLanguage:
        if (kRows[r] == kStepper) {
          Button(c, kOptionsMinus, dy, grey, minus);
          Button(c, kOptionsPlus, dy, grey, plus);
        } else {
          Button(c, kOptionsMinus, dy, grey, left);
          Button(c, kOptionsPlus, dy, grey, right);
        }
        Plate(c, kOptionsValue, dy);
        break;
    }
  }
  // The closing button: the event window's red, with a plate for its word.
  c.Fill(Area(kOptionsClose), Hex(0x0A0A0C));
  c.VGradient(kOptionsClose.left + 1, kOptionsClose.top + 1, kOptionsClose.right - 1,
              kOptionsClose.bottom - 1, Hex(0xB03020), Hex(0x6A1410));
  c.Bevel(kOptionsClose.left + 1, kOptionsClose.top + 1, kOptionsClose.right - 1,
          kOptionsClose.bottom - 1, 2, 0.35f, 0.45f);
  c.Fill(Area(kOptionsCloseWord), Hex(0x000000));

  // The parts. A lit segment: amber, brighter at its heart.
  const PanelBox& lit = kOptionsLitSegment;
  c.VGradient(lit.left, lit.top, lit.right, lit.bottom, Hex(0xFFD060), Hex(0xC07010));
  c.Fill(RectShape{lit.left + 3.0f, lit.top + 2.0f, lit.right - 3.0f, lit.bottom - 2.0f},
         Hex(0xFFF0B0), 0.5f);
  // The check mark on black, which is clear.
  const PanelBox& tick = kOptionsCheckMark;
  DrawTick(c, (tick.left + tick.right) / 2.0f, (tick.top + tick.bottom) / 2.0f, 18);
  // The frame around a chosen choice: amber, two pixels, black inside.
  const PanelBox& chosen = kOptionsChosenFrame;
  c.Fill(Area(chosen), Hex(0xF2B030));
  c.Fill(
      RectShape{chosen.left + 2.0f, chosen.top + 2.0f, chosen.right - 2.0f, chosen.bottom - 2.0f},
      Hex(0x000000));
  return c;
}

}  // namespace datakit
