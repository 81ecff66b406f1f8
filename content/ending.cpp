// The ending picture: dawn over the ruined city, the road out of it, a
// helicopter heading for the sun and the survivor walking away with the
// files. Its broad bands of colour (sky, skyline, ground) also read when
// the ending reveals it coarsely, one 40-pixel tile per 160- or 80-pixel
// block.
#include "common/rng.h"
#include "content/art.h"
#include "content/datakit.h"

namespace datakit {
namespace {

constexpr float kHorizon = 300;
constexpr float kSunX = 452;

Rgb SkyAt(float y) {
  struct Stop {
    float y;
    Rgb c;
  };
  static const Stop kStops[] = {{0, Hex(0x0E1438)},   {120, Hex(0x2A2460)}, {190, Hex(0x6A3A7A)},
                                {245, Hex(0xC8607A)}, {280, Hex(0xF09A70)}, {300, Hex(0xFFC880)}};
  for (std::size_t i = 1; i < std::size(kStops); ++i) {
    if (y <= kStops[i].y) {
      const float t = (y - kStops[i - 1].y) / (kStops[i].y - kStops[i - 1].y);
      return Mix(kStops[i - 1].c, kStops[i].c, std::clamp(t, 0.0f, 1.0f));
    }
  }
  return kStops[std::size(kStops) - 1].c;
}

void PaintSky(Canvas& c) {
  for (int y = 0; y < 300; ++y) {
    for (int x = 0; x < 640; ++x) {
      Rgb col = SkyAt(static_cast<float>(y));
      // The sun's glow.
      const float d = std::hypot(x - kSunX, (y - kHorizon) * 1.4f);
      const float glow = std::exp(-d / 130.0f);
      col = Mix(col, Hex(0xFFE0A0), glow * 0.75f);
      c.At(x, y) = col;
    }
  }
  // Stars fading into the dawn.
  Rng rng(1501);
  for (int i = 0; i < 90; ++i) {
    const float x = rng.Range(0, 640), y = rng.Range(0, 150);
    const float a = (1 - y / 150) * rng.Range(0.3f, 1.0f);
    c.Fill(Circle(x, y, rng.Range(0.5f, 1.1f)), Hex(0xF0F0FF), a);
  }
  // Long clouds lit from below.
  for (int i = 0; i < 7; ++i) {
    const float cy = rng.Range(150, 270), cx = rng.Range(40, 600);
    const float w = rng.Range(60, 160);
    Mask m = Mask::Around(Box{cx - w, cy - 12, cx + w, cy + 12}, 10);
    m.Add(EllipseShape{cx, cy, w, rng.Range(3, 7), 0});
    m.Add(EllipseShape{cx + w * 0.3f, cy - 3, w * 0.5f, rng.Range(3, 6), 0});
    m.Blur(2);
    c.ApplyWith(
        m, 0, 0,
        [&](float, float y) {
          return Mix(Hex(0x6A3A6A), Hex(0xFFA878), std::clamp((y - 150) / 130, 0.0f, 1.0f));
        },
        0.75f);
  }
  // The sun, half risen.
  c.Fill(Circle(kSunX, kHorizon + 4, 40), Hex(0xFFE8B8));
  c.Fill(Circle(kSunX, kHorizon + 4, 34), Hex(0xFFF6DC));
}

void PaintSkyline(Canvas& c) {
  Rng rng(1502);
  // Far row, then near row, darker.
  for (int layer = 0; layer < 2; ++layer) {
    const Rgb col = layer == 0 ? Hex(0x4A3458) : Hex(0x24182E);
    float x = layer == 0 ? -10 : 0;
    while (x < (layer == 0 ? 390 : 330)) {
      const float w = rng.Range(18, 44);
      const float height = rng.Range(layer == 0 ? 24 : 14, layer == 0 ? 80 : 60);
      const float extra = x < 200 ? rng.Range(0, 30) : 0;
      const float top = kHorizon - height - extra;
      c.Fill(RectShape{x, top, x + w, kHorizon + 1}, col);
      if (rng.Chance(0.3f)) c.Fill(RectShape{x + w * 0.4f, top - 10, x + w * 0.46f, top}, col);
      if (layer == 1) {
        // A few windows still burning.
        for (float wy = top + 5; wy < kHorizon - 4; wy += 7) {
          for (float wx = x + 4; wx < x + w - 4; wx += 6) {
            if (rng.Chance(0.07f)) c.Fill(RectShape{wx, wy, wx + 2.5f, wy + 3}, Hex(0xFFA040));
          }
        }
        // Broken tops.
        if (rng.Chance(0.4f)) {
          c.Fill(PolyShape{{{x, top}, {x + w * 0.5f, top - 8}, {x + w * 0.6f, top + 2}}}, col);
        }
      }
      x += w + rng.Range(-4, 6);
    }
  }
  // Smoke from the city.
  for (const Pt& base : {Pt{90, 230}, Pt{250, 250}}) {
    Mask m = Mask::Around(Box{base.x - 60, base.y - 200, base.x + 120, base.y + 10}, 16);
    for (int i = 0; i < 12; ++i) {
      const float t = i / 11.0f;
      m.Add(Circle(base.x + t * t * 90 + std::sin(t * 5) * 8, base.y - t * 170, 8 + t * 26), 0.5f);
    }
    m.Blur(5);
    c.Apply(m, 0, 0, Hex(0x3A3040), 0.7f);
  }
  // Low hills to the right of the sun.
  PolyShape hills{
      {{360, kHorizon + 1}, {400, 293}, {520, 297}, {580, 288}, {640, 291}, {640, kHorizon + 1}}};
  c.Fill(hills, Hex(0x3A2A44));
}

void PaintGround(Canvas& c) {
  for (int y = static_cast<int>(kHorizon); y < 480; ++y) {
    const float t = (y - kHorizon) / (480 - kHorizon);
    for (int x = 0; x < 640; ++x) {
      Rgb col = Mix(Hex(0x4A3040), Hex(0x18141C), std::pow(t, 0.6f));
      const float glow = std::exp(-std::abs(x - kSunX) / 180.0f) * (1 - t);
      col = Mix(col, Hex(0xC87858), glow * 0.35f);
      c.At(x, y) = col;
    }
  }
  c.Mottle(0, 300, 640, 480, 20, 0.15f, 1503);
  // The road to the horizon.
  const PolyShape road{{{kSunX - 5, kHorizon}, {kSunX + 5, kHorizon}, {500, 480}, {170, 480}}};
  c.FillWith(road, [](float, float y) {
    const float t = (y - kHorizon) / 180;
    return Mix(Hex(0xB07860), Hex(0x2C2830), std::clamp(std::sqrt(t), 0.0f, 1.0f));
  });
  // Centre dashes shrinking into the distance.
  for (int i = 0; i < 12; ++i) {
    const float t0 = std::pow(i / 12.0f, 1.8f), t1 = std::pow((i + 0.5f) / 12.0f, 1.8f);
    const float ya = kHorizon + t0 * 180, yb = kHorizon + t1 * 180;
    const float xa = kSunX + (335 - kSunX) * t0, xb = kSunX + (335 - kSunX) * t1;
    c.Line(xa, ya, xb, yb, 0.5f + 3 * t1, Hex(0xE8C060), 0.85f);
  }
  // Weeds along the bottom edge.
  Rng rng(1504);
  for (int i = 0; i < 160; ++i) {
    const float x = rng.Range(0, 640);
    if (x > 150 && x < 520) continue;
    const float h = rng.Range(10, 40);
    const float lean = rng.Range(-8, 8);
    c.Line(x, 480, x + lean, 480 - h, rng.Range(1, 2.2f), Hex(0x0C0A10));
  }
}

void PaintHelicopter(Canvas& c, float x, float y, float s) {
  const Rgb body = Hex(0x1A1424);
  const Xf xf{x, y, s};
  c.Fill(Ell(xf, 30, 20, 22, 12), body);
  c.Fill(Poly(xf, {{48, 16}, {100, 14}, {104, 8}, {108, 8}, {106, 22}, {48, 26}}), body);
  c.Fill(Ell(xf, 22, 18, 10, 7), Hex(0x6A4A6A));  // the cockpit glass catching the light
  c.Line(x + 10 * s, y + 34 * s, x + 48 * s, y + 34 * s, 2.2f * s, body);
  c.Line(x + 16 * s, y + 30 * s, x + 16 * s, y + 34 * s, 1.6f * s, body);
  c.Line(x + 40 * s, y + 30 * s, x + 40 * s, y + 34 * s, 1.6f * s, body);
  c.Fill(Rect(xf, 28, 4, 34, 10), body);
  c.Fill(Ell(xf, 31, 4, 56, 3), body, 0.55f);  // rotor blur
  c.Fill(Ell(xf, 106, 12, 2, 9), body, 0.5f);
}

void PaintSurvivor(Canvas& c, float x, float y, float s) {
  // Seen from behind, walking toward the sun, a case of files in hand.
  const Rgb col = Hex(0x0E0A12);
  const Xf xf{x, y, s};
  c.Fill(Ell(xf, 20, 8, 6.5f, 7.5f), col);
  c.Fill(Poly(xf, {{10, 16}, {30, 16}, {33, 50}, {8, 50}}), col);
  c.Fill(Cap(xf, 14, 48, 11, 88, 4.2f), col);
  c.Fill(Cap(xf, 26, 48, 30, 86, 4.2f), col);
  c.Fill(Cap(xf, 10, 18, 4, 46, 3.2f), col);
  c.Fill(Cap(xf, 30, 18, 37, 44, 3.2f), col);
  c.Fill(Rect(xf, 32, 44, 46, 56), col);  // the case
  c.Fill(Rect(xf, 36, 41, 42, 44), col);
  // Rim light from the sun.
  c.Line(x + 26 * s, y + 2 * s, x + 27 * s, y + 12 * s, 1.2f, Hex(0xFFB070), 0.7f);
  c.Line(x + 31 * s, y + 18 * s, x + 33 * s, y + 48 * s, 1.2f, Hex(0xFFB070), 0.6f);
}

}  // namespace

Canvas PaintEnding() {
  Canvas c(640, 480);
  PaintSky(c);
  PaintSkyline(c);
  PaintGround(c);
  PaintHelicopter(c, 250, 96, 0.9f);
  PaintSurvivor(c, 318, 376, 1.05f);
  // A gentle vignette.
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      const float dx = (x - 320) / 400.0f, dy = (y - 240) / 320.0f;
      c.At(x, y) = c.At(x, y) * (1 - 0.35f * std::min(1.0f, dx * dx + dy * dy));
    }
  }
  return c;
}

}  // namespace datakit
