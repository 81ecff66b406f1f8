#include "content/art.h"

#include "common/rng.h"

namespace datakit {

namespace {

const Rgb kSteel = Hex(0x4A4E56);
const Rgb kSteelDark = Hex(0x33363C);
const Rgb kSteelLight = Hex(0x9AA0AA);
const Rgb kPolymer = Hex(0x26272B);
const Rgb kWood = Hex(0x7A4A24);
const Rgb kWoodDark = Hex(0x4E2E16);

// A bright line along an edge, the sheen that makes dark metal read.
void Sheen(Canvas& c, const Xf& xf, float ax, float ay, float bx, float by, float w, Rgb colour,
           float alpha) {
  const Pt a = xf.P(ax, ay), b = xf.P(bx, by);
  c.Line(a.x, a.y, b.x, b.y, std::max(0.8f, xf.L(w)), colour, alpha);
}

}  // namespace

PolyShape Poly(const Xf& xf, std::initializer_list<Pt> points) {
  PolyShape p;
  for (const Pt& q : points) p.p.push_back(xf.P(q.x, q.y));
  return p;
}

RectShape Rect(const Xf& xf, float x0, float y0, float x1, float y1) {
  const Pt a = xf.P(x0, y0), b = xf.P(x1, y1);
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

EllipseShape Ell(const Xf& xf, float cx, float cy, float rx, float ry, float angle) {
  const Pt c = xf.P(cx, cy);
  return {c.x, c.y, xf.L(rx), xf.L(ry), xf.flip ? -angle : angle};
}

CapsuleShape Cap(const Xf& xf, float ax, float ay, float bx, float by, float r) {
  const Pt a = xf.P(ax, ay), b = xf.P(bx, by);
  return {a.x, a.y, b.x, b.y, xf.L(r)};
}

// ---- Weapons -----------------------------------------------------------------------

void DrawHandgun(Canvas& c, const Xf& xf) {
  // Grip, then frame, then slide on top.
  c.Fill(Poly(xf, {{14, 24}, {42, 24}, {37, 58}, {9, 58}, {11, 40}}), kPolymer);
  for (int i = 0; i < 6; ++i) {
    for (int j = 0; j < 3; ++j) {
      const Pt p = xf.P(16.0f + j * 7 - i * 0.8f, 32.0f + i * 4.2f);
      c.Fill(Circle(p.x, p.y, xf.L(1.1f)), Hex(0x3C3E44));
    }
  }
  Sheen(c, xf, 14, 25, 11, 56, 1.2f, Hex(0x55575E), 0.8f);
  c.Fill(Rect(xf, 30, 23, 90, 32), kSteelDark);
  // Trigger guard and trigger.
  c.Fill(Cap(xf, 43, 31, 45, 42, 1.8f), kSteelDark);
  c.Fill(Cap(xf, 45, 42, 61, 42, 1.8f), kSteelDark);
  c.Fill(Cap(xf, 61, 42, 64, 31, 1.8f), kSteelDark);
  c.Fill(Cap(xf, 53, 31, 51, 38, 1.4f), kSteel);
  // Slide with its cocking serrations.
  c.Fill(Poly(xf, {{10, 9}, {95, 9}, {97, 12}, {97, 24}, {10, 24}}), kSteel);
  for (int i = 0; i < 5; ++i) {
    Sheen(c, xf, 14.0f + i * 3, 12, 14.0f + i * 3, 22, 0.9f, kSteelDark, 0.9f);
  }
  Sheen(c, xf, 11, 10, 95, 10, 1.3f, kSteelLight, 0.9f);
  Sheen(c, xf, 30, 20, 92, 20, 0.8f, kSteelDark, 0.6f);
  c.Fill(Ell(xf, 96, 16, 1.6f, 2.2f), Hex(0x101012));
  // Hammer and sights.
  c.Fill(Rect(xf, 6, 10, 11, 17), kSteelDark);
  c.Fill(Rect(xf, 90, 6, 94, 9), kSteelDark);
  c.Fill(Rect(xf, 12, 6, 17, 9), kSteelDark);
}

void DrawShotgun(Canvas& c, const Xf& xf) {
  // Stock.
  c.Fill(Poly(xf, {{0, 20}, {46, 12}, {64, 11}, {64, 26}, {50, 27}, {30, 30}, {5, 42}, {0, 40}}),
         kWood);
  for (int i = 0; i < 4; ++i) {
    Sheen(c, xf, 4.0f + i * 2, 24.0f + i * 3, 48, 16.0f + i * 2.5f, 0.7f, kWoodDark, 0.6f);
  }
  c.Fill(Rect(xf, 0, 19, 3, 42), Hex(0x1E1C1A));  // butt pad
  Sheen(c, xf, 2, 20, 46, 13, 1.0f, Hex(0xB07A48), 0.7f);
  // Receiver, trigger guard.
  c.Fill(Poly(xf, {{60, 9}, {98, 9}, {98, 27}, {60, 27}}), kSteel);
  Sheen(c, xf, 61, 10, 97, 10, 1.2f, kSteelLight, 0.8f);
  c.Fill(Rect(xf, 70, 13, 88, 19), Hex(0x2A2C30));  // ejection port
  c.Fill(Cap(xf, 68, 27, 70, 34, 1.6f), kSteelDark);
  c.Fill(Cap(xf, 70, 34, 86, 34, 1.6f), kSteelDark);
  c.Fill(Cap(xf, 86, 34, 88, 27, 1.6f), kSteelDark);
  // Barrel over the magazine tube.
  c.Fill(Rect(xf, 96, 11, 199, 18), Hex(0x555A62));
  Sheen(c, xf, 97, 12, 198, 12, 1.1f, kSteelLight, 0.9f);
  c.Fill(Rect(xf, 96, 19, 180, 24), kSteelDark);
  c.Fill(Circle(xf.P(196, 9.5f).x, xf.P(196, 9.5f).y, xf.L(1.5f)), Hex(0xD8D0A0));
  // Pump.
  c.Fill(RoundRectShape{Rect(xf, 112, 16, 158, 28).x0, Rect(xf, 112, 16, 158, 28).y0,
                        Rect(xf, 112, 16, 158, 28).x1, Rect(xf, 112, 16, 158, 28).y1, xf.L(3)},
         Hex(0x6E4222));
  for (int i = 0; i < 7; ++i) {
    Sheen(c, xf, 117.0f + i * 6, 18, 117.0f + i * 6, 26, 0.9f, kWoodDark, 0.8f);
  }
}

void DrawMagnum(Canvas& c, const Xf& xf) {
  const Rgb stainless = Hex(0x8C929C);
  const Rgb stainlessDark = Hex(0x5E636C);
  // Grip: walnut, hanging from the frame's rear and swept back.
  c.Fill(Poly(xf, {{14, 24}, {30, 28}, {29, 56}, {21, 60}, {9, 57}, {9, 42}}), Hex(0x8A4A22));
  for (int i = 0; i < 3; ++i) {
    Sheen(c, xf, 14.0f + i * 5, 33, 13.0f + i * 5, 55, 0.8f, Hex(0x5A2C10), 0.6f);
  }
  Sheen(c, xf, 12, 30, 10, 55, 1.1f, Hex(0xC07A44), 0.8f);
  c.Fill(Circle(xf.P(20, 44).x, xf.P(20, 44).y, xf.L(1.6f)), Hex(0xC8B070));
  // Frame with its rear tang over the grip, hammer, guard, trigger.
  c.Fill(Poly(xf, {{16, 8}, {48, 8}, {48, 30}, {40, 35}, {24, 34}, {14, 28}}), stainlessDark);
  c.Fill(Poly(xf, {{10, 2}, {20, 6}, {19, 11}, {10, 8}}), stainlessDark);
  c.Fill(Cap(xf, 28, 34, 29, 43, 1.7f), stainlessDark);
  c.Fill(Cap(xf, 29, 43, 43, 43, 1.7f), stainlessDark);
  c.Fill(Cap(xf, 43, 43, 46, 33, 1.7f), stainlessDark);
  c.Fill(Cap(xf, 37, 34, 35, 40, 1.3f), stainless);
  // Cylinder with flutes.
  const RectShape cyl = Rect(xf, 25, 8, 51, 30);
  c.Fill(RoundRectShape{cyl.x0, cyl.y0, cyl.x1, cyl.y1, xf.L(4)}, stainless);
  for (int i = 0; i < 3; ++i) {
    Sheen(c, xf, 29, 12.0f + i * 6, 47, 12.0f + i * 6, 1.6f, stainlessDark, 0.8f);
  }
  Sheen(c, xf, 27, 9, 49, 9, 1.0f, Hex(0xE4E8EE), 0.8f);
  // Barrel, rib and ejector shroud.
  c.Fill(Rect(xf, 48, 12, 109, 22), stainless);
  c.Fill(Rect(xf, 48, 8, 109, 12), stainlessDark);
  c.Fill(Rect(xf, 48, 22, 94, 28), stainlessDark);
  Sheen(c, xf, 49, 13, 108, 13, 1.2f, Hex(0xF0F2F6), 0.85f);
  c.Fill(Rect(xf, 104, 4, 108, 8), stainlessDark);
  c.Fill(Ell(xf, 108.5f, 17, 1.4f, 2.4f), Hex(0x101012));
}

void DrawKnife(Canvas& c, const Xf& xf) {
  const RectShape h = Rect(xf, 2, 8, 35, 20);
  c.Fill(RoundRectShape{h.x0, h.y0, h.x1, h.y1, xf.L(5)}, Hex(0x2C2624));
  for (float x : {11.0f, 24.0f}) {
    const Pt p = xf.P(x, 14);
    c.Fill(Circle(p.x, p.y, xf.L(1.8f)), Hex(0xB8B8B0));
  }
  Sheen(c, xf, 6, 9.5f, 31, 9.5f, 1.0f, Hex(0x5A504C), 0.8f);
  c.Fill(Rect(xf, 33, 3, 39, 25), Hex(0x70747C));
  Sheen(c, xf, 34, 4, 34, 24, 1.0f, kSteelLight, 0.8f);
  // Blade: spine, then the bright ground edge below it.
  c.Fill(Poly(xf, {{39, 7}, {80, 7}, {99, 13}, {88, 18}, {39, 21}}), Hex(0xB4BAC4));
  c.Fill(Poly(xf, {{39, 15}, {86, 15.5f}, {99, 13}, {88, 18}, {39, 21}}), Hex(0xE2E6EC));
  Sheen(c, xf, 41, 11, 74, 11, 1.0f, Hex(0x7C828C), 0.8f);
  Sheen(c, xf, 40, 7.5f, 80, 7.5f, 0.8f, Hex(0xF4F6F8), 0.7f);
}

// ---- Items -------------------------------------------------------------------------

void DrawSprayCan(Canvas& c, const Xf& xf, bool empty) {
  const Rgb body = empty ? Hex(0x9A9C9E) : Hex(0xE8ECEE);
  const Rgb green = empty ? Hex(0x5E7A64) : Hex(0x1FAE52);
  const RectShape r = Rect(xf, 6, 16, 34, 78);
  const float x0 = r.x0, x1 = r.x1;
  // A cylinder: lit on the left, darker to the right.
  c.FillWith(RoundRectShape{r.x0, r.y0, r.x1, r.y1, xf.L(4)}, [&](float x, float) {
    const float t = (x - x0) / std::max(x1 - x0, 1.0f);
    const float light =
        0.75f + 0.45f * std::sin(kPi * std::clamp(t * 1.1f + 0.05f, 0.0f, 1.0f)) - 0.25f * t;
    return body * std::min(light, 1.15f);
  });
  c.Fill(Ell(xf, 20, 16, 14, 5), Shade(body, 0.85f));
  c.Fill(Rect(xf, 14, 4, 26, 15), green);
  c.Fill(Rect(xf, 26, 7, 31, 10), Shade(green, 0.7f));
  Sheen(c, xf, 15, 5, 15, 14, 1.2f, Hex(0xFFFFFF), 0.35f);
  // The first-aid cross.
  c.Fill(Rect(xf, 16, 36, 24, 60), green);
  c.Fill(Rect(xf, 9, 44, 31, 52), green);
  c.Fill(Rect(xf, 6, 70, 34, 73), Shade(green, 0.8f));
  if (empty) {
    // Dents.
    c.Darken(Ell(xf, 28, 30, 4, 6, 0.4f), 0.8f);
    c.Darken(Ell(xf, 12, 64, 3, 5, -0.3f), 0.8f);
  }
}

void DrawFolder(Canvas& c, const Xf& xf, bool open) {
  const Rgb manila = Hex(0xD8B46A);
  const Rgb edge = Hex(0x9C7A3A);
  if (!open) {
    c.Fill(Rect(xf, 4, 2, 32, 12), Shade(manila, 0.88f));
    c.Fill(Rect(xf, 8, 6, 74, 16), Hex(0xF2F0EA));  // papers
    c.Fill(Rect(xf, 2, 10, 78, 62), manila);
    c.Fill(Rect(xf, 2, 60, 78, 62), edge);
    c.Fill(Rect(xf, 12, 22, 60, 36), Hex(0xF6F2E6));
    for (int i = 0; i < 3; ++i) {
      c.Fill(Rect(xf, 15, 25.0f + i * 3.5f, 50.0f - i * 6, 26.4f + i * 3.5f), Hex(0x6A6A70));
    }
    // The red "classified" band.
    c.Fill(Poly(xf, {{30, 54}, {74, 40}, {76, 46}, {32, 60}}), Hex(0xC0282A), 0.85f);
  } else {
    // Opened flat and emptied: two leaves and nothing on them.
    c.Fill(Poly(xf, {{2, 14}, {38, 10}, {40, 60}, {4, 62}}), Shade(manila, 0.9f));
    c.Fill(Poly(xf, {{40, 10}, {78, 14}, {76, 62}, {40, 60}}), manila);
    c.Fill(Poly(xf, {{38, 10}, {42, 10}, {42, 60}, {38, 60}}), edge);
    c.Fill(Rect(xf, 60, 6, 76, 14), Shade(manila, 0.85f));
  }
}

void DrawAmmoBox(Canvas& c, const Xf& xf, bool empty) {
  const Rgb olive = Hex(0x56643A);
  const Rgb oliveDark = Hex(0x3A4426);
  if (!empty) {
    c.Fill(Rect(xf, 4, 16, 76, 54), olive);
    c.Fill(Rect(xf, 2, 8, 78, 18), Shade(olive, 1.15f));
    c.Fill(Rect(xf, 2, 17, 78, 19), oliveDark);
    c.Fill(Cap(xf, 28, 6, 52, 6, 2.0f), oliveDark);
    c.Fill(Rect(xf, 34, 24, 46, 34), Hex(0x2E3420));
    c.Fill(Rect(xf, 12, 38, 68, 48), Hex(0xD8C040), 0.9f);  // stencil band
    for (int i = 0; i < 5; ++i) {
      c.Fill(Rect(xf, 15.0f + i * 11, 40, 22.0f + i * 11, 46), Hex(0x3A4426));
    }
  } else {
    // Lid thrown open behind, the inside empty but for two cases.
    c.Fill(Poly(xf, {{4, 2}, {76, 2}, {78, 14}, {2, 14}}), Shade(olive, 1.1f));
    c.Fill(Rect(xf, 4, 16, 76, 54), olive);
    c.Fill(Rect(xf, 9, 19, 71, 48), Hex(0x1C2012));
    c.Fill(Rect(xf, 4, 14, 76, 17), oliveDark);
    const Pt a = xf.P(24, 40), b = xf.P(50, 30);
    DrawShell(c, a.x, a.y, xf.L(14), 0.3f, false);
    DrawShell(c, b.x, b.y, xf.L(14), -0.8f, false);
  }
}

void DrawShell(Canvas& c, float x, float y, float len, float angle, bool shotgun) {
  const float w = len * (shotgun ? 0.36f : 0.26f);
  const RectShape body{x - len / 2, y - w / 2, x + len / 2, y + w / 2};
  if (shotgun) {
    c.Fill(Rotate(RectShape{body.x0, body.y0, body.x1 - len * 0.25f, body.y1}, x, y, angle),
           Hex(0xC02A22));
    c.Fill(Rotate(RectShape{body.x1 - len * 0.27f, body.y0, body.x1, body.y1}, x, y, angle),
           Hex(0xD8B048));
  } else {
    c.Fill(Rotate(RectShape{body.x0 + len * 0.3f, body.y0, body.x1, body.y1}, x, y, angle),
           Hex(0xD0A040));
    c.Fill(Rotate(EllipseShape{body.x0 + len * 0.32f, y, len * 0.3f, w / 2, 0}, x, y, angle),
           Hex(0xB06A3A));
  }
}

void DrawTick(Canvas& c, float cx, float cy, float size) {
  const float s = size;
  const float w = s * 0.2f;
  for (int pass = 0; pass < 2; ++pass) {
    const Rgb colour = pass == 0 ? Hex(0x0C2A10) : Hex(0x3CD060);
    const float ww = pass == 0 ? w + 2.2f : w;
    c.Line(cx - s * 0.42f, cy, cx - s * 0.12f, cy + s * 0.3f, ww, colour);
    c.Line(cx - s * 0.12f, cy + s * 0.3f, cx + s * 0.45f, cy - s * 0.35f, ww, colour);
  }
}

void DrawCross(Canvas& c, float cx, float cy, float size, Rgb colour) {
  const float s = size * 0.4f;
  const float w = size * 0.18f;
  for (int pass = 0; pass < 2; ++pass) {
    const Rgb col = pass == 0 ? Hex(0x200808) : colour;
    const float ww = pass == 0 ? w + 2.2f : w;
    c.Line(cx - s, cy - s, cx + s, cy + s, ww, col);
    c.Line(cx - s, cy + s, cx + s, cy - s, ww, col);
  }
}

// ---- City props --------------------------------------------------------------------

void DrawCar(Canvas& c, float cx, float cy, float angle, float length, Rgb colour, int damage,
             std::uint32_t seed) {
  const float L = length, W = length * 0.46f;
  const float x0 = cx - L / 2, y0 = cy - W / 2, x1 = cx + L / 2, y1 = cy + W / 2;
  auto rot = [&](auto shape) { return Rotate(shape, cx, cy, angle); };
  // Shadow to the lower right, as every prop of the city casts it.
  const auto hull = rot(RoundRectShape{x0, y0, x1, y1, W * 0.28f});
  Mask shadow = Mask::Around(hull.Bounds(), 8);
  shadow.Add(hull);
  c.Shadow(shadow, 4, 5, 2, Hex(0x000000), 0.45f);
  const Rgb body = damage == 2 ? Hex(0x2E2622) : colour;
  c.Fill(rot(RoundRectShape{x0, y0, x1, y1, W * 0.28f}), Shade(body, 0.8f));
  c.Fill(rot(RoundRectShape{x0 + 1.5f, y0 + 1.5f, x1 - 1.5f, y1 - 1.5f, W * 0.24f}), body);
  // Bonnet to the front (+x), boot to the back; glass and roof in between.
  const Rgb glass = damage >= 1 ? Hex(0x5A6670) : Hex(0x24323E);
  if (damage < 2) {
    c.Fill(rot(PolyShape{{{cx + L * 0.08f, y0 + W * 0.12f},
                          {cx + L * 0.22f, y0 + W * 0.2f},
                          {cx + L * 0.22f, y1 - W * 0.2f},
                          {cx + L * 0.08f, y1 - W * 0.12f}}}),
           glass);
    c.Fill(rot(PolyShape{{{cx - L * 0.3f, y0 + W * 0.18f},
                          {cx - L * 0.2f, y0 + W * 0.12f},
                          {cx - L * 0.2f, y1 - W * 0.12f},
                          {cx - L * 0.3f, y1 - W * 0.18f}}}),
           glass);
    c.Fill(rot(RoundRectShape{cx - L * 0.2f, y0 + W * 0.12f, cx + L * 0.08f, y1 - W * 0.12f,
                              W * 0.1f}),
           Mix(body, Hex(0xFFFFFF), 0.12f));
    c.Fill(rot(RectShape{cx - L * 0.2f, y0 + W * 0.12f, cx + L * 0.08f, y0 + W * 0.2f}),
           Mix(body, Hex(0xFFFFFF), 0.3f), 0.6f);
    // Lights.
    c.Fill(rot(EllipseShape{x1 - 2.5f, y0 + W * 0.18f, 1.8f, 2.6f, 0}), Hex(0xF4EEC0));
    c.Fill(rot(EllipseShape{x1 - 2.5f, y1 - W * 0.18f, 1.8f, 2.6f, 0}), Hex(0xF4EEC0));
    c.Fill(rot(RectShape{x0 + 0.8f, y0 + W * 0.12f, x0 + 2.6f, y0 + W * 0.3f}), Hex(0xB01818));
    c.Fill(rot(RectShape{x0 + 0.8f, y1 - W * 0.3f, x0 + 2.6f, y1 - W * 0.12f}), Hex(0xB01818));
    // Mirrors.
    c.Fill(rot(EllipseShape{cx + L * 0.1f, y0 - 1.0f, 2.2f, 1.4f, 0}), Shade(body, 0.7f));
    c.Fill(rot(EllipseShape{cx + L * 0.1f, y1 + 1.0f, 2.2f, 1.4f, 0}), Shade(body, 0.7f));
  }
  if (damage >= 1) {
    Rng rng(seed);
    // Cracked or burnt: streaks of soot and rust.
    for (int i = 0; i < (damage == 2 ? 14 : 5); ++i) {
      const float px = cx + rng.Range(-L * 0.42f, L * 0.42f);
      const float py = cy + rng.Range(-W * 0.38f, W * 0.38f);
      const Rgb col =
          damage == 2 ? (rng.Chance(0.5f) ? Hex(0x6A3A1C) : Hex(0x121010)) : Hex(0xD8E0E6);
      c.Fill(rot(EllipseShape{px, py, rng.Range(1.5f, 4.5f), rng.Range(1.0f, 3.0f),
                              rng.Range(0.0f, kPi)}),
             col, damage == 2 ? 0.7f : 0.5f);
    }
    if (damage == 2) {
      c.Fill(rot(RoundRectShape{cx - L * 0.3f, y0 + W * 0.14f, cx + L * 0.22f, y1 - W * 0.14f,
                                W * 0.1f}),
             Hex(0x0E0C0C), 0.8f);
    }
  }
}

void DrawTree(Canvas& c, float cx, float cy, float r, std::uint32_t seed) {
  Rng rng(seed);
  Mask canopy = Mask::Around(Box{cx - 1.3f * r, cy - 1.3f * r, cx + 1.3f * r, cy + 1.3f * r}, 8);
  for (int i = 0; i < 7; ++i) {
    const float a = i * 2 * kPi / 7 + rng.Range(0, 0.6f);
    const float d = r * rng.Range(0.35f, 0.55f);
    canopy.Add(Circle(cx + std::cos(a) * d, cy + std::sin(a) * d, r * rng.Range(0.45f, 0.6f)));
  }
  canopy.Add(Circle(cx, cy, r * 0.6f));
  c.Shadow(canopy, static_cast<int>(r * 0.35f), static_cast<int>(r * 0.4f), 2, Hex(0x000000), 0.5f);
  const std::uint32_t s = seed * 7u + 3u;
  c.ApplyWith(canopy, 0, 0, [&](float x, float y) {
    const float n = Fbm(x, y, r * 0.35f, 3, s);
    // Lit from the upper left.
    const float lit = std::clamp(0.55f - ((x - cx) + (y - cy)) / (3.2f * r), 0.0f, 1.0f);
    return Mix(Hex(0x1E4A1C), Hex(0x6EA040),
               std::clamp(lit * 0.8f + (n - 0.5f) * 0.9f, 0.0f, 1.0f));
  });
}

void DrawBlood(Canvas& c, float cx, float cy, float r, std::uint32_t seed, float alpha) {
  Rng rng(seed);
  Mask m = Mask::Around(Box{cx - 2 * r, cy - 2 * r, cx + 2 * r, cy + 2 * r}, 2);
  m.Add(EllipseShape{cx, cy, r * rng.Range(0.7f, 1.0f), r * rng.Range(0.5f, 0.8f),
                     rng.Range(0.0f, kPi)});
  for (int i = 0; i < 6; ++i) {
    const float a = rng.Range(0, 2 * kPi), d = r * rng.Range(0.3f, 0.8f);
    m.Add(Circle(cx + std::cos(a) * d, cy + std::sin(a) * d, r * rng.Range(0.2f, 0.45f)));
  }
  for (int i = 0; i < 12; ++i) {
    const float a = rng.Range(0, 2 * kPi), d = r * rng.Range(1.0f, 1.8f);
    m.Add(Circle(cx + std::cos(a) * d, cy + std::sin(a) * d, r * rng.Range(0.04f, 0.12f)));
  }
  c.Apply(m, 0, 0, Hex(0x5A0606), 0.85f * alpha);
  Mask core = Mask::Around(Box{cx - r, cy - r, cx + r, cy + r}, 4);
  core.Add(EllipseShape{cx - r * 0.1f, cy - r * 0.1f, r * 0.45f, r * 0.32f, rng.Range(0, kPi)});
  core.Blur(1);
  c.Apply(core, 0, 0, Hex(0x8A1010), 0.6f * alpha);
}

void DrawOil(Canvas& c, float cx, float cy, float r, std::uint32_t seed) {
  Rng rng(seed);
  Mask m = Mask::Around(Box{cx - 1.3f * r, cy - 1.3f * r, cx + 1.3f * r, cy + 1.3f * r}, 4);
  for (int i = 0; i < 5; ++i) {
    const float a = rng.Range(0, 2 * kPi), d = r * rng.Range(0.0f, 0.5f);
    m.Add(EllipseShape{cx + std::cos(a) * d, cy + std::sin(a) * d, r * rng.Range(0.4f, 0.7f),
                       r * rng.Range(0.3f, 0.5f), rng.Range(0, kPi)});
  }
  m.Blur(1);
  c.Apply(m, 0, 0, Hex(0x101216), 0.6f);
}

void DrawRubble(Canvas& c, float cx, float cy, float r, std::uint32_t seed) {
  Rng rng(seed);
  // A dusty base, then chunks of concrete and brick, larger ones first.
  const int blur = static_cast<int>(r * 0.2f) + 1;
  Mask dust = Mask::Around(Box{cx - r, cy - r, cx + r, cy + r}, 4 * blur);
  dust.Add(EllipseShape{cx, cy, r, r * 0.8f, rng.Range(0, kPi)});
  dust.Blur(blur);
  c.Apply(dust, 0, 0, Hex(0x7A746A), 0.7f);
  const int chunks = static_cast<int>(r * 1.6f);
  for (int i = 0; i < chunks; ++i) {
    const float a = rng.Range(0, 2 * kPi);
    const float d = r * std::sqrt(rng.Unit()) * 0.85f;
    const float px = cx + std::cos(a) * d, py = cy + std::sin(a) * d * 0.85f;
    const float size = r * rng.Range(0.08f, 0.3f) * (1.0f - 0.5f * static_cast<float>(i) / chunks);
    PolyShape chunk;
    const int corners = rng.Int(4, 6);
    const float turn = rng.Range(0, 2 * kPi);
    for (int k = 0; k < corners; ++k) {
      const float t = turn + k * 2 * kPi / corners;
      const float rr = size * rng.Range(0.6f, 1.1f);
      chunk.p.push_back({px + std::cos(t) * rr, py + std::sin(t) * rr});
    }
    const float pick = rng.Unit();
    const Rgb col = pick < 0.55f  ? Mix(Hex(0x8E8A84), Hex(0xB4B0A8), rng.Unit())
                    : pick < 0.8f ? Mix(Hex(0x8A4430), Hex(0xA85A3C), rng.Unit())
                                  : Hex(0x4E4C4A);
    Mask sh = Mask::Around(chunk.Bounds(), 3);
    sh.Add(chunk);
    c.Apply(sh, 2, 2, Hex(0x000000), 0.35f);
    c.Fill(chunk, col);
    // A lit edge on the upper left of each chunk.
    c.Fill(PolyShape{{chunk.p[0], chunk.p[1], {px, py}}}, Mix(col, Hex(0xFFFFFF), 0.2f), 0.6f);
  }
  // Rebar.
  for (int i = 0; i < 3; ++i) {
    const float a = rng.Range(0, 2 * kPi);
    const float px = cx + rng.Range(-r * 0.4f, r * 0.4f), py = cy + rng.Range(-r * 0.3f, r * 0.3f);
    c.Line(px, py, px + std::cos(a) * r * 0.5f, py + std::sin(a) * r * 0.5f, 1.2f, Hex(0x5A3A2A));
  }
}

void DrawCrack(Canvas& c, float x, float y, float len, float angle, std::uint32_t seed) {
  Rng rng(seed);
  float px = x, py = y, a = angle;
  const int steps = static_cast<int>(len / 4) + 1;
  for (int i = 0; i < steps; ++i) {
    a += rng.Range(-0.6f, 0.6f);
    const float nx = px + std::cos(a) * 4, ny = py + std::sin(a) * 4;
    c.Line(px, py, nx, ny, 1.1f, Hex(0x15161A), 0.8f);
    if (rng.Chance(0.15f)) {
      const float b = a + rng.Range(-1.2f, 1.2f);
      c.Line(nx, ny, nx + std::cos(b) * 6, ny + std::sin(b) * 6, 0.8f, Hex(0x15161A), 0.7f);
    }
    px = nx;
    py = ny;
  }
}

PolyShape Star(float cx, float cy, float r, float inner) {
  PolyShape s;
  for (int i = 0; i < 10; ++i) {
    const float a = -kPi / 2 + i * kPi / 5;
    const float rr = (i % 2 == 0) ? r : r * inner;
    s.p.push_back({cx + std::cos(a) * rr, cy + std::sin(a) * rr});
  }
  return s;
}

}  // namespace datakit
