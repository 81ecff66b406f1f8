// Subjects drawn in more than one place: the weapons (panel buttons, weapon
// icons, portraits), the items (opened cells, portraits), and the props of
// the city seen from above (cars, trees, rubble, stains).
//
// Each subject is designed in its own nominal box (given beside it) and
// placed with a transform: top-left corner, scale, optional mirror.
#pragma once

#include <initializer_list>
#include <string>

#include "common/canvas.h"

namespace datakit {

inline constexpr float kPi = 3.14159265f;

struct Xf {
  float ox = 0, oy = 0, s = 1;
  bool flip = false;
  float width = 0;  // the nominal width, for mirroring
  Pt P(float x, float y) const { return {ox + (flip ? width - x : x) * s, oy + y * s}; }
  float L(float v) const { return v * s; }
};

PolyShape Poly(const Xf& xf, std::initializer_list<Pt> points);
RectShape Rect(const Xf& xf, float x0, float y0, float x1, float y1);
EllipseShape Ell(const Xf& xf, float cx, float cy, float rx, float ry, float angle = 0);
CapsuleShape Cap(const Xf& xf, float ax, float ay, float bx, float by, float r);

// Weapons, muzzle to the right. Nominal boxes: handgun 100 x 60, shotgun
// 200 x 44, magnum 110 x 60, knife 100 x 28.
void DrawHandgun(Canvas& c, const Xf& xf);
void DrawShotgun(Canvas& c, const Xf& xf);
void DrawMagnum(Canvas& c, const Xf& xf);
void DrawKnife(Canvas& c, const Xf& xf);

// Items. Spray can upright, 40 x 80; a folder of papers, 80 x 64; an
// ammunition crate, 80 x 56.
void DrawSprayCan(Canvas& c, const Xf& xf, bool empty);
void DrawFolder(Canvas& c, const Xf& xf, bool open);
void DrawAmmoBox(Canvas& c, const Xf& xf, bool empty);
void DrawShell(Canvas& c, float x, float y, float len, float angle, bool shotgun);

// A green tick and a red cross, as marks on taken or beaten cells.
void DrawTick(Canvas& c, float cx, float cy, float size);
void DrawCross(Canvas& c, float cx, float cy, float size, Rgb colour);

// Props of the city, seen from above.
void DrawCar(Canvas& c, float cx, float cy, float angle, float length, Rgb colour, int damage,
             std::uint32_t seed);
void DrawTree(Canvas& c, float cx, float cy, float r, std::uint32_t seed);
void DrawBlood(Canvas& c, float cx, float cy, float r, std::uint32_t seed, float alpha = 1.0f);
void DrawOil(Canvas& c, float cx, float cy, float r, std::uint32_t seed);
void DrawRubble(Canvas& c, float cx, float cy, float r, std::uint32_t seed);
void DrawCrack(Canvas& c, float x, float y, float len, float angle, std::uint32_t seed);
// A five-pointed star.
PolyShape Star(float cx, float cy, float r, float inner = 0.45f);

}  // namespace datakit
