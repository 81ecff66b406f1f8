#include "content/portraits.h"

#include <iterator>
#include <utility>
#include <vector>

#include "common/rng.h"
#include "common/text_art.h"
#include "content/art.h"
#include "state/game_state.h"

namespace datakit {
namespace {

constexpr int kW = 160, kH = 109;

// Paint for a rounded body lit from the upper left, shaded as the front of
// an ellipsoid centred at (cx, cy) with radii rx, ry.
auto Lit(float cx, float cy, float rx, float ry, Rgb base, float ambient = 0.3f) {
  return [=](float x, float y) {
    const float nx = (x - cx) / rx, ny = (y - cy) / ry;
    const float nz = std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny));
    const float l = std::max(0.0f, -0.45f * nx - 0.5f * ny + 0.74f * nz);
    return base * (ambient + (1 - ambient) * 1.15f * l);
  };
}

void Backdrop(Canvas& c, Rgb top, Rgb bottom, std::uint32_t seed) {
  c.VGradient(0, 0, kW, kH, top, bottom);
  c.Mottle(0, 0, kW, kH, 30, 0.3f, seed);
}

// Camera-feed finish: vignette, scan lines, a little grain.
void Finish(Canvas& c, std::uint32_t seed) {
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const float dx = (x - 80) / 90.0f, dy = (y - 54) / 64.0f;
      float k = 1 - 0.45f * std::min(1.0f, dx * dx + dy * dy);
      if (y % 2 == 1) k *= 0.9f;
      c.At(x, y) = c.At(x, y) * k;
    }
  }
  c.Grain(0, 0, kW, kH, 6, seed);
}

void Blur(Canvas& c, const Mask& m, int radius, Rgb colour, float alpha) {
  Mask soft = m;
  soft.Blur(radius);
  c.Apply(soft, 0, 0, colour, alpha);
}

// ---- Zombies -----------------------------------------------------------------------

struct ZombieLook {
  Rgb skin;
  Rgb shirt;
  int hair;  // 0 bald, 1 short and patchy, 2 long
  bool eyeMissing;
  float mouthOpen;  // 0 to 1
  Rgb background;
  std::uint32_t seed;
};

void Zombie(Canvas& c, const ZombieLook& z) {
  Rng rng(z.seed);
  Backdrop(c, Shade(z.background, 1.2f), Shade(z.background, 0.4f), z.seed + 1);
  // Shapes of a ruined street behind.
  for (int i = 0; i < 5; ++i) {
    const float x = rng.Range(-10, 150), w = rng.Range(14, 30), top = rng.Range(10, 50);
    c.Fill(RectShape{x, top, x + w, 109}, Shade(z.background, 0.35f), 0.7f);
  }
  const Rgb skin = z.skin;
  if (z.hair == 2) {
    // Long hair falls behind the shoulders.
    c.Fill(PolyShape{{{48, 30}, {112, 30}, {122, 100}, {38, 100}}}, Hex(0x14100E));
  }
  // Shoulders in a torn shirt.
  const PolyShape torso{{{14, 109}, {28, 88}, {58, 79}, {102, 79}, {132, 88}, {146, 109}}};
  c.FillWith(torso, Lit(80, 110, 70, 35, z.shirt, 0.4f));
  for (int i = 0; i < 4; ++i) {
    c.Fill(EllipseShape{rng.Range(35, 125), rng.Range(90, 106), rng.Range(4, 9), rng.Range(2, 5),
                        rng.Range(0, kPi)},
           Hex(0x1A0C0A), 0.8f);
  }
  DrawBlood(c, rng.Range(60, 100), 96, 9, z.seed + 2, 0.9f);
  // Neck and head.
  c.FillWith(RectShape{67, 66, 93, 86}, Lit(80, 70, 20, 30, Shade(skin, 0.75f)));
  const EllipseShape skull{80, 46, 27, 33, 0};
  const PolyShape jaw{{{55, 50}, {105, 50}, {100, 72}, {88, 84}, {72, 84}, {60, 72}}};
  c.FillWith(EllipseShape{53, 52, 4.5f, 8, 0}, Lit(53, 52, 5, 8, Shade(skin, 0.8f)));
  c.FillWith(EllipseShape{107, 52, 4.5f, 8, 0}, Lit(107, 52, 5, 8, Shade(skin, 0.8f)));
  c.FillWith(skull, Lit(80, 50, 30, 38, skin));
  c.FillWith(jaw, Lit(80, 50, 30, 38, skin));
  // Rot: mottled patches and veins.
  Mask rot = Mask::Around(Box{50, 10, 110, 86}, 2);
  rot.Add(skull);
  rot.Add(jaw);
  c.ApplyWith(
      rot, 0, 0,
      [&](float x, float y) {
        const float n = Fbm(x, y, 9, 3, z.seed + 3);
        return n > 0.55f ? Hex(0x3A2830) : Shade(skin, 0.9f);
      },
      0.35f);
  for (int i = 0; i < 5; ++i) {
    float x = rng.Chance(0.5f) ? rng.Range(56, 64) : rng.Range(96, 104), y = rng.Range(26, 60);
    for (int k = 0; k < 5; ++k) {
      const float nx = x + rng.Range(-3, 3), ny = y + rng.Range(1, 4);
      c.Line(x, y, nx, ny, 0.7f, Hex(0x3A1A3A), 0.6f);
      x = nx;
      y = ny;
    }
  }
  // Hair.
  if (z.hair == 1) {
    // Patchy hair on the crown.
    for (int y = 10; y < 34; ++y) {
      for (int x = 50; x < 110; ++x) {
        if (rot.At(x - rot.OX(), y - rot.OY()) < 0.5f) continue;
        const float n = Fbm(float(x), float(y), 5, 3, z.seed + 4);
        const float edge = 24 + 6 * Fbm(float(x), 0, 8, 2, z.seed + 6);
        if (y < edge && n > 0.42f) c.Blend(x, y, Hex(0x1E1612), 0.95f);
      }
    }
  }
  if (z.hair == 2) {
    c.Fill(
        PolyShape{
            {{52, 40}, {58, 16}, {80, 10}, {104, 16}, {110, 42}, {100, 26}, {82, 20}, {62, 24}}},
        Hex(0x1A1410));
    // Strands down both sides of the face, none across it.
    for (int i = 0; i < 14; ++i) {
      const bool left = i % 2 == 0;
      const float x = left ? rng.Range(50, 58) : rng.Range(102, 110);
      c.Line(x, 24, x + (left ? -6.0f : 6.0f), rng.Range(70, 100), 1.2f, Hex(0x241A14));
    }
  }
  // Sunken eyes.
  Mask sockets = Mask::Around(Box{56, 34, 104, 58}, 6);
  sockets.Add(EllipseShape{69, 46, 9, 7, 0});
  sockets.Add(EllipseShape{91, 46, 9, 7, 0});
  Blur(c, sockets, 2, Hex(0x180A12), 0.95f);
  for (int e = 0; e < 2; ++e) {
    const float ex = e == 0 ? 69 : 91;
    if (z.eyeMissing && e == 1) {
      c.Fill(EllipseShape{ex, 47, 5, 4, 0}, Hex(0x050203));
      c.Fill(CapsuleShape{ex, 50, ex + 1, 64, 1.3f}, Hex(0x7A0A0A));
      continue;
    }
    c.Fill(EllipseShape{ex, 47, 4.5f, 3.2f, 0}, Hex(0xE8E4C8));
    c.Fill(Circle(ex, 47, 1.6f), Hex(0xB8B8A0));
    c.Line(ex - 4, 46, ex - 1, 47, 0.5f, Hex(0xC02020), 0.8f);
    c.Fill(Circle(ex - 1.4f, 46, 0.8f), Hex(0xFFFFFF));
  }
  // Nose: a ruin of it.
  c.Fill(EllipseShape{77, 60, 1.8f, 2.2f, 0}, Hex(0x1A0808));
  c.Fill(EllipseShape{83, 60, 1.8f, 2.2f, 0}, Hex(0x1A0808));
  c.Line(80, 48, 79, 57, 1.2f, Shade(skin, 1.2f), 0.5f);
  // Mouth and teeth.
  const float mh = 3 + z.mouthOpen * 7;
  c.Fill(EllipseShape{80, 71, 12, mh, 0}, Hex(0x2A0606));
  for (int i = -4; i <= 4; ++i) {
    const float x = 80 + i * 2.4f;
    const float len = rng.Range(2.0f, 3.6f);
    c.Fill(RectShape{x - 1, 71 - mh + 0.5f, x + 1, 71 - mh + len}, Hex(0xD8D0A0));
    if (z.mouthOpen > 0.3f)
      c.Fill(RectShape{x - 1, 71 + mh - len, x + 1, 71 + mh - 0.5f}, Hex(0xC8C090));
  }
  // Blood running from the mouth, and a gash.
  for (int i = 0; i < 3; ++i) {
    const float x = 72 + i * 7 + rng.Range(-2, 2);
    c.Fill(CapsuleShape{x, 72, x, 72 + rng.Range(5, 11), 1.0f}, Hex(0x8A0A0A));
  }
  const float gx = rng.Range(66, 94), gy = rng.Range(24, 32);
  c.Fill(EllipseShape{gx, gy, 8, 2.2f, rng.Range(-0.6f, 0.6f)}, Hex(0x6A0808));
  c.Fill(EllipseShape{gx, gy - 0.6f, 6, 0.9f, 0}, Hex(0xC03030), 0.7f);
  Finish(c, z.seed + 5);
}

// ---- The survivor ------------------------------------------------------------------

void Survivor(Canvas& c) {
  // Midday over the burning city.
  Backdrop(c, Hex(0xD8C8A8), Hex(0x8A7A6A), 3001);
  Rng rng(3002);
  for (int i = 0; i < 7; ++i) {
    const float x = rng.Range(-10, 150), w = rng.Range(14, 30), top = rng.Range(20, 60);
    c.Fill(RectShape{x, top, x + w, 109}, Hex(0x5A5048), 0.85f);
  }
  Mask smoke = Mask::Around(Box{100, 0, 160, 60}, 10);
  for (int i = 0; i < 8; ++i) smoke.Add(Circle(120 + i * 4.0f, 50 - i * 6.0f, 8 + i * 2.0f), 0.6f);
  Blur(c, smoke, 3, Hex(0x4A4440), 0.8f);
  const Rgb skin = Hex(0xE0B490), jacket = Hex(0x5A3A22);
  c.FillWith(PolyShape{{{12, 109}, {26, 86}, {60, 78}, {100, 78}, {134, 86}, {148, 109}}},
             Lit(80, 110, 70, 35, jacket, 0.45f));
  c.Fill(PolyShape{{{66, 80}, {94, 80}, {86, 109}, {74, 109}}}, Hex(0x2E3A48));  // shirt
  c.Line(66, 80, 76, 108, 2.5f, Shade(jacket, 0.6f));
  c.Line(94, 80, 84, 108, 2.5f, Shade(jacket, 0.6f));
  c.FillWith(RectShape{69, 64, 91, 82}, Lit(80, 70, 20, 30, Shade(skin, 0.8f)));
  c.FillWith(EllipseShape{80, 46, 24, 30, 0}, Lit(80, 48, 27, 34, skin, 0.45f));
  c.FillWith(PolyShape{{{57, 50}, {103, 50}, {98, 68}, {86, 78}, {74, 78}, {62, 68}}},
             Lit(80, 48, 27, 34, skin, 0.45f));
  c.FillWith(EllipseShape{56, 50, 4, 7, 0}, Lit(56, 50, 4, 7, Shade(skin, 0.85f)));
  c.FillWith(EllipseShape{104, 50, 4, 7, 0}, Lit(104, 50, 4, 7, Shade(skin, 0.85f)));
  // Hair and a red headband.
  c.Fill(PolyShape{{{54, 40},
                    {56, 22},
                    {66, 13},
                    {82, 10},
                    {98, 14},
                    {106, 26},
                    {106, 42},
                    {100, 30},
                    {88, 26},
                    {72, 27},
                    {60, 32}}},
         Hex(0x2E1C10));
  for (int i = 0; i < 8; ++i) {
    const float x = 58 + i * 6.0f;
    c.Fill(PolyShape{{{x, 22}, {x + 8, 22}, {x + 2 + rng.Range(-3, 3), 10}}}, Hex(0x2E1C10));
  }
  c.Fill(PolyShape{{{55, 30}, {105, 27}, {106, 34}, {55, 37}}}, Hex(0xB01C1C));
  c.Fill(PolyShape{{{104, 29}, {116, 38}, {112, 42}, {103, 34}}}, Hex(0x901414));
  // Eyes set on the road ahead.
  for (float ex : {70.0f, 90.0f}) {
    c.Line(ex - 6, 41 + (ex < 80 ? 0.0f : -1.0f), ex + 6, 40 + (ex < 80 ? -1.0f : 1.0f), 2.2f,
           Hex(0x2E1C10));
    c.Fill(EllipseShape{ex, 47, 5, 2.8f, 0}, Hex(0xF4F0E8));
    c.Fill(Circle(ex + 0.5f, 47, 2.4f), Hex(0x5A3A1E));
    c.Fill(Circle(ex + 0.5f, 47, 1.2f), Hex(0x100806));
    c.Fill(Circle(ex - 0.5f, 46.2f, 0.6f), Hex(0xFFFFFF));
  }
  c.Line(80, 48, 78, 58, 1.2f, Shade(skin, 0.7f), 0.7f);
  c.Line(77, 59, 82, 59, 1.2f, Shade(skin, 0.7f), 0.7f);
  c.Line(73, 67, 87, 66.5f, 1.6f, Hex(0x8A4A3A));
  // A plaster on the cheek, dirt on the face.
  c.Fill(Rotate(RectShape{90, 56, 99, 60}, 94.5f, 58, 0.4f), Hex(0xE8D8B8));
  c.Mottle(56, 20, 104, 80, 6, 0.06f, 3003);
  // The pistol held up by the shoulder.
  DrawHandgun(c, Xf{116, 50, 0.36f, true, 100});
  c.FillWith(EllipseShape{143, 67, 6, 7, 0.3f}, Lit(143, 67, 6, 7, skin));
  Finish(c, 3004);
}

// ---- Monsters ----------------------------------------------------------------------

void Cerberus(Canvas& c) {
  Backdrop(c, Hex(0x2A3040), Hex(0x0C0E14), 3101);
  const Rgb fur = Hex(0x3A2C28);
  // Neck and shoulders from the lower right.
  c.FillWith(PolyShape{{{78, 60}, {120, 30}, {160, 50}, {160, 109}, {70, 109}}},
             Lit(130, 80, 50, 50, fur, 0.35f));
  // Open wounds on the neck: raw flesh and ribs.
  c.Fill(EllipseShape{126, 82, 16, 10, -0.5f}, Hex(0x8A1A1A));
  for (int i = 0; i < 4; ++i) {
    c.Line(114.0f + i * 7, 76.0f + i * 3, 120.0f + i * 7, 90.0f + i * 2, 2, Hex(0xE0C8B0));
  }
  // Head: skull, snout, open jaw, ears.
  c.FillWith(EllipseShape{96, 44, 24, 20, 0}, Lit(96, 44, 26, 22, fur, 0.35f));
  c.FillWith(PolyShape{{{80, 34}, {34, 46}, {28, 54}, {32, 60}, {82, 62}}},
             Lit(60, 44, 40, 20, fur, 0.35f));
  c.Fill(PolyShape{{{36, 66}, {80, 64}, {84, 74}, {44, 82}}}, Shade(fur, 0.7f));
  c.Fill(PolyShape{{{34, 60}, {82, 62}, {80, 66}, {36, 67}}}, Hex(0x5A0A10));  // the maw
  c.Fill(PolyShape{{{98, 28}, {104, 2}, {116, 30}}}, Shade(fur, 0.8f));
  c.Fill(PolyShape{{{86, 28}, {88, 6}, {100, 28}}}, Shade(fur, 0.9f));
  c.Fill(PolyShape{{{90, 24}, {91, 12}, {96, 24}}}, Hex(0x6A3A3A));
  // Teeth.
  for (int i = 0; i < 8; ++i) {
    const float x = 38 + i * 5.5f;
    c.Fill(PolyShape{{{x, 59.5f}, {x + 3.2f, 59.5f}, {x + 1.6f, 65.5f}}}, Hex(0xF0E8D0));
    c.Fill(PolyShape{{{x + 2, 67}, {x + 5, 67}, {x + 3.5f, 61.5f}}}, Hex(0xE0D8C0));
  }
  c.Fill(EllipseShape{31, 50, 4, 3.5f, 0}, Hex(0x0A0808));
  c.Fill(Circle(30, 49, 1.2f), Hex(0x6A6A70));
  // The red eye, glowing.
  Mask glow = Mask::Around(Box{74, 30, 94, 46}, 10);
  glow.Add(Circle(84, 39, 5));
  Blur(c, glow, 3, Hex(0xFF2010), 0.9f);
  c.Fill(EllipseShape{84, 39, 4, 2.6f, -0.2f}, Hex(0xFF4030));
  c.Fill(Circle(84, 39, 1.2f), Hex(0xFFE0C0));
  // Drool of blood.
  c.Fill(CapsuleShape{50, 66, 50, 88, 1.3f}, Hex(0x8A0A0A));
  c.Fill(CapsuleShape{62, 66, 63, 80, 1.1f}, Hex(0x8A0A0A));
  c.Mottle(20, 0, 160, 109, 5, 0.08f, 3102);
  Finish(c, 3103);
}

void Hunter(Canvas& c) {
  Backdrop(c, Hex(0x1E3424), Hex(0x060C08), 3201);
  const Rgb skin = Hex(0x4E7A3A);
  // Hunched body.
  c.FillWith(PolyShape{{{20, 109}, {30, 70}, {70, 56}, {110, 66}, {130, 109}}},
             Lit(70, 90, 60, 40, skin, 0.35f));
  // Head thrust forward, jaw open.
  c.FillWith(EllipseShape{66, 42, 24, 18, -0.2f}, Lit(66, 40, 26, 20, skin, 0.35f));
  c.FillWith(PolyShape{{{46, 48}, {90, 46}, {86, 60}, {56, 66}}},
             Lit(66, 52, 26, 20, Shade(skin, 0.9f)));
  c.Fill(PolyShape{{{50, 52}, {88, 50}, {84, 56}, {54, 60}}}, Hex(0x4A0A0A));
  for (int i = 0; i < 7; ++i) {
    const float x = 52 + i * 5.0f;
    c.Fill(PolyShape{{{x, 51.5f}, {x + 3, 51.2f}, {x + 1.5f, 56}}}, Hex(0xF0E8C8));
  }
  // Scales.
  Mask body = Mask::Around(Box{20, 20, 130, 109}, 2);
  body.Add(EllipseShape{66, 42, 24, 18, -0.2f});
  body.Add(PolyShape{{{20, 109}, {30, 70}, {70, 56}, {110, 66}, {130, 109}}});
  c.ApplyWith(
      body, 0, 0,
      [](float x, float y) {
        const float u = std::fmod(x + (static_cast<int>(y / 4) % 2) * 2.0f, 4.0f);
        const float v = std::fmod(y, 4.0f);
        return (u < 0.8f || v < 0.8f) ? Hex(0x1E3016) : Hex(0x6A9A48);
      },
      0.25f);
  // Yellow slit eyes.
  for (const Pt& e : {Pt{62, 36}, Pt{78, 35}}) {
    c.Fill(EllipseShape{e.x, e.y, 4, 3, 0}, Hex(0xF0D020));
    c.Fill(EllipseShape{e.x, e.y, 0.9f, 2.8f, 0}, Hex(0x101008));
  }
  c.Line(56, 31, 68, 33, 2, Hex(0x2A4020));
  c.Line(74, 32, 86, 30, 2, Hex(0x2A4020));
  // The raised arm with its claws.
  c.FillWith(CapsuleShape{112, 80, 128, 40, 7}, Lit(120, 60, 12, 30, skin, 0.35f));
  for (int i = 0; i < 3; ++i) {
    const float bx = 122.0f + i * 6, by = 36.0f - i;
    PolyShape claw{
        {{bx - 2, by}, {bx + 2, by}, {bx + 14.0f + i * 2, by - 28}, {bx + 8.0f + i * 2, by - 22}}};
    c.Fill(claw, Hex(0xE8E0C8));
    c.Line(bx, by, bx + 12.0f + i * 2, by - 26, 0.8f, Hex(0x8A8270));
  }
  DrawBlood(c, 140, 16, 5, 3203);
  Finish(c, 3204);
}

void Stalker(Canvas& c) {
  Backdrop(c, Hex(0x4A1A1C), Hex(0x0C0606), 3301);
  Rng rng(3302);
  for (int i = 0; i < 6; ++i) {
    const float x = rng.Range(-10, 150), w = rng.Range(14, 30), top = rng.Range(50, 80);
    c.Fill(RectShape{x, top, x + w, 109}, Hex(0x140808), 0.9f);
  }
  const Rgb skin = Hex(0x8A7E88), coat = Hex(0x1E1C22);
  // The launcher over the right shoulder, behind the head.
  c.Fill(CapsuleShape{96, 44, 158, 10, 7}, Hex(0x4A5438));
  c.Fill(CapsuleShape{96, 44, 158, 10, 2}, Hex(0x6A7650));
  c.Fill(Circle(156, 11, 6), Hex(0x141410));
  // Coat: broad shoulders filling the frame, high collar.
  c.FillWith(PolyShape{{{0, 109}, {6, 72}, {44, 56}, {116, 56}, {154, 72}, {160, 109}}},
             Lit(80, 100, 80, 50, coat, 0.5f));
  c.Fill(PolyShape{{{58, 56}, {70, 76}, {80, 64}, {90, 76}, {102, 56}}}, Shade(coat, 1.6f));
  c.Line(80, 66, 80, 109, 1.5f, Hex(0x0A0A0C));
  for (float y : {80.0f, 92.0f, 104.0f}) c.Fill(Circle(86, y, 1.8f), Hex(0x6A6A70));
  // Bald head with stitches, one eye red.
  c.FillWith(EllipseShape{78, 34, 19, 23, 0}, Lit(78, 34, 21, 25, skin, 0.35f));
  c.FillWith(PolyShape{{{61, 38}, {95, 38}, {92, 54}, {84, 60}, {72, 60}, {64, 54}}},
             Lit(78, 34, 21, 25, skin, 0.35f));
  c.Line(62, 22, 94, 18, 1.2f, Hex(0x3A2A30));
  for (int i = 0; i < 8; ++i) {
    const float x = 64 + i * 4.0f, y = 21.8f - i * 0.5f;
    c.Line(x, y - 2, x + 0.5f, y + 2, 0.9f, Hex(0x3A2A30));
  }
  Mask sockets = Mask::Around(Box{62, 30, 94, 44}, 6);
  sockets.Add(EllipseShape{71, 37, 6, 4.5f, 0});
  sockets.Add(EllipseShape{86, 37, 6, 4.5f, 0});
  Blur(c, sockets, 2, Hex(0x140A10), 0.95f);
  Mask glow = Mask::Around(Box{62, 30, 80, 44}, 10);
  glow.Add(Circle(71, 37, 3.5f));
  Blur(c, glow, 3, Hex(0xFF2010), 1.0f);
  c.Fill(Circle(71, 37, 2.2f), Hex(0xFF6040));
  c.Fill(Circle(71, 37, 0.9f), Hex(0xFFF0E0));
  c.Fill(EllipseShape{86, 37.5f, 3, 1.2f, 0}, Hex(0x6A5A60));  // the blind eye
  // A lipless mouth of teeth.
  c.Fill(RectShape{70, 50, 87, 55}, Hex(0x2A0A0E));
  for (int i = 0; i < 7; ++i) {
    c.Fill(RectShape{71.0f + i * 2.3f, 50.5f, 72.6f + i * 2.3f, 54.5f}, Hex(0xD8D0B8));
  }
  c.Line(70, 52.5f, 87, 52.5f, 0.6f, Hex(0x2A0A0E));
  Finish(c, 3303);
}

// ---- Sheet 2 subjects ---------------------------------------------------------------

void FileFound(Canvas& c) {
  // Running from a blast with a file under the arm.
  Backdrop(c, Hex(0x3A2A30), Hex(0x120C0E), 3401);
  Mask fire = Mask::Around(Box{80, 0, 160, 100}, 12);
  Rng rng(3402);
  for (int i = 0; i < 12; ++i) {
    const float r = rng.Range(10, 22);
    const float dy = rng.Range(-26, 26);
    const float dx = rng.Range(-24, 24);
    fire.Add(Circle(124 + dx, 46 + dy, r));
  }
  Blur(c, fire, 4, Hex(0xFF8020), 0.9f);
  c.ApplyWith(
      fire, 0, 0,
      [](float x, float y) {
        return Mix(Hex(0xFFF0A0), Hex(0xC03010), std::min(1.0f, std::hypot(x - 124, y - 46) / 34));
      },
      0.9f);
  c.Fill(RectShape{0, 92, 160, 109}, Hex(0x1A1416));
  // The runner in silhouette, with the folder.
  const Rgb body = Hex(0x0E0A0C);
  const Xf xf{34, 14, 0.95f};
  c.Fill(Ell(xf, 40, 10, 7, 8), body);
  c.Fill(Poly(xf, {{30, 18}, {50, 16}, {54, 50}, {32, 52}}), body);
  c.Fill(Cap(xf, 36, 50, 18, 78, 5), body);
  c.Fill(Cap(xf, 18, 78, 8, 96, 4.5f), body);
  c.Fill(Cap(xf, 48, 50, 64, 72, 5), body);
  c.Fill(Cap(xf, 64, 72, 60, 96, 4.5f), body);
  c.Fill(Cap(xf, 34, 22, 16, 40, 3.5f), body);
  c.Fill(Cap(xf, 48, 22, 62, 38, 3.5f), body);
  DrawFolder(c, Xf{80, 38, 0.32f}, false);
  DrawTick(c, 136, 90, 22);
  Finish(c, 3403);
}

void Escape(Canvas& c) {
  // Dawn, and the helicopter leaving the roof.
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      Rgb col = Mix(Hex(0x2A2A60), Hex(0xF0A070), std::clamp(y / 80.0f, 0.0f, 1.0f));
      col = Mix(col, Hex(0xFFE0A0), std::exp(-std::hypot(x - 120.0f, y - 80.0f) / 40) * 0.8f);
      c.At(x, y) = col;
    }
  }
  c.Fill(Circle(120, 82, 14), Hex(0xFFF0C8));
  c.Fill(RectShape{0, 84, 160, 109}, Hex(0x2A2230));
  c.Fill(RectShape{0, 82, 160, 85}, Hex(0x4A3E4A));
  // The helipad's ring, seen flat.
  c.Fill(EllipseShape{56, 97, 32, 8, 0}, Hex(0xD8D0B0), 0.7f);
  c.Fill(EllipseShape{56, 97, 28, 6.2f, 0}, Hex(0x3A3240));
  const Rgb body = Hex(0x1C1826);
  const Xf xf{24, 26, 0.8f};
  c.Fill(Ell(xf, 30, 22, 22, 13), body);
  c.Fill(Poly(xf, {{48, 18}, {100, 14}, {106, 6}, {110, 6}, {108, 22}, {48, 28}}), body);
  c.Fill(Ell(xf, 22, 20, 10, 8), Hex(0x7A6A8A));
  c.Line(xf.P(10, 36).x, xf.P(10, 36).y, xf.P(50, 36).x, xf.P(50, 36).y, 2, body);
  c.Fill(Ell(xf, 31, 4, 58, 3), body, 0.6f);
  // Wind off the rotor.
  for (int i = 0; i < 6; ++i) {
    c.Line(10.0f + i * 14, 88, 4.0f + i * 14, 96, 1, Hex(0xE0D8C8), 0.4f);
  }
  Finish(c, 3501);
}

void Ammunition(Canvas& c) {
  // On a workbench: the open crate and loose rounds.
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const float grain = Fbm(x * 0.2f, y * 3.0f, 6, 3, 3601);
      c.At(x, y) = Mix(Hex(0x3A2414), Hex(0x6A4424), grain);
    }
  }
  DrawAmmoBox(c, Xf{8, 14, 1.1f}, false);
  Rng rng(3602);
  for (int i = 0; i < 9; ++i) {
    const float angle = rng.Range(0, kPi);
    const float y = rng.Range(16, 96);
    const float x = rng.Range(104, 152);
    DrawShell(c, x, y, 18, angle, i % 3 == 0);
  }
  // A carton of magnum rounds.
  c.Fill(RectShape{96, 60, 150, 96}, Hex(0x1E3A6A));
  c.Fill(RectShape{96, 60, 150, 66}, Hex(0x2E5A9A));
  TextStyle s;
  s.colour = Hex(0xF0E8D0);
  DrawTextFit(c, ".357", 123, 80, 16, 40, s);
  Finish(c, 3603);
}

void Spray(Canvas& c) {
  Backdrop(c, Hex(0x1A3A2A), Hex(0x06120C), 3701);
  Mask glow = Mask::Around(Box{40, 0, 120, 109}, 12);
  glow.Add(EllipseShape{72, 60, 30, 44, 0});
  Blur(c, glow, 8, Hex(0x40FF80), 0.35f);
  DrawSprayCan(c, Xf{48, 14, 1.15f}, false);
  // The spray cloud from the nozzle.
  Rng rng(3702);
  for (int i = 0; i < 60; ++i) {
    const float t = rng.Unit();
    const float x = 86 + t * 64, y = 24 + (rng.Unit() - 0.5f) * t * 40;
    c.Fill(Circle(x, y, rng.Range(0.8f, 2.4f) * (0.5f + t)), Hex(0xE8FFF0), 0.5f * (1 - t * 0.6f));
  }
  TextStyle s{.colour = Hex(0xE8FFF0), .outline = 1.5f, .outlineColour = Hex(0x0A2010)};
  DrawTextFit(c, "FIRST AID", 124, 96, 14, 64, s);
  Finish(c, 3703);
}

void Monitor(Canvas& c) {
  // A heart monitor, with the trace jumping back.
  c.VGradient(0, 0, kW, kH, Hex(0x2A0A0C), Hex(0x0A0204));
  c.Fill(RectShape{10, 10, 150, 99}, Hex(0x06100A));
  for (int x = 10; x < 150; x += 10) c.Line(x, 10, x, 99, 0.6f, Hex(0x10301A));
  for (int y = 10; y < 100; y += 10) c.Line(10, y, 150, y, 0.6f, Hex(0x10301A));
  float px = 12, py = 60;
  for (int x = 13; x < 148; ++x) {
    float y = 60;
    const int phase = (x - 13) % 45;
    if (phase == 20)
      y = 60 - 38;
    else if (phase == 22)
      y = 60 + 16;
    else if (phase > 30 && phase < 36)
      y = 56;
    c.Line(px, py, x, y, 3.5f, Hex(0x20A040), 0.35f);
    c.Line(px, py, x, y, 1.5f, Hex(0x80FF90));
    px = static_cast<float>(x);
    py = y;
  }
  // A heart sign and the blood of the hit.
  const float hx = 132, hy = 24;
  c.Fill(Circle(hx - 5, hy, 6), Hex(0xE02030));
  c.Fill(Circle(hx + 5, hy, 6), Hex(0xE02030));
  c.Fill(PolyShape{{{hx - 11, hy + 2}, {hx + 11, hy + 2}, {hx, hy + 14}}}, Hex(0xE02030));
  DrawBlood(c, 20, 96, 10, 3801);
  DrawBlood(c, 150, 90, 8, 3802);
  Finish(c, 3803);
}

using Painter = void (*)(Canvas&);

void ZombieA(Canvas& c) {
  Zombie(c, {Hex(0x8A9A78), Hex(0x3A4A6A), 1, false, 0.5f, Hex(0x4A2020), 2901});
}
void ZombieB(Canvas& c) {
  Zombie(c, {Hex(0xA8AEB8), Hex(0x6A2A3A), 2, true, 0.3f, Hex(0x2A3A4A), 2902});
}
void ZombieC(Canvas& c) {
  Zombie(c, {Hex(0x9A8A70), Hex(0xC8C8C0), 0, false, 1.0f, Hex(0x3A3A20), 2903});
}

// Each event's portrait; the event list (state/event_list.h) says on which
// sheet and in which cell. Events that show one cell name the same art.
struct EventArt {
  int event;
  Painter paint;
};
constexpr EventArt kEventArt[] = {
    {EV_ZOMBIE, ZombieA},  {EV_HUNTER, Hunter},           {EV_CERBERUS, Cerberus},
    {EV_FILE, FileFound},  {EV_AMMO, Ammunition},         {EV_SPRAY_FOUND, Spray},
    {EV_STALKER, Stalker}, {EV_ROCKET_DODGED, FileFound}, {EV_ROCKET_HIT, Monitor},
    {EV_ESCAPED, Escape},  {EV_REVIVED, Monitor},         {EV_SPRAY_USED, Spray},
};

constexpr Painter ArtOf(int event) {
  for (const EventArt& art : kEventArt) {
    if (art.event == event) return art.paint;
  }
  return nullptr;
}
#define EVENT(name, ...) static_assert(ArtOf(name) != nullptr, #name " has no portrait");
#include "state/event_list.h"

struct PlacedArt {
  int sheet, column, row;
  Painter paint;
};
// The cells no event names: the zombie's other looks (gPortraitVariant) and
// the survivor who tells the prologue.
constexpr PlacedArt kOtherArt[] = {{1, 1, 0, ZombieB}, {1, 1, 1, ZombieC}, {1, 0, 1, Survivor}};

}  // namespace

Canvas PortraitSheet(int which) {
  std::vector<PlacedArt> art(std::begin(kOtherArt), std::end(kOtherArt));
#define EVENT(name, number, stem, lines, sheet, column, row, sound) \
  art.push_back({sheet, column, row, ArtOf(name)});
#include "state/event_list.h"
  Canvas out(2 * kW, 3 * kH);
  bool painted[3][2] = {};
  for (const PlacedArt& a : art) {
    // A cell two events share is painted once, by the first.
    if (a.sheet != which || std::exchange(painted[a.row][a.column], true)) continue;
    Canvas cell(kW, kH);
    a.paint(cell);
    out.Paste(cell, a.column * kW, a.row * kH);
  }
  return out;
}

}  // namespace datakit
