// The status panel: the bottom 120 rows of the field screen, stored as the
// last three map rows. Everything the game draws over it is placed here by
// the screen positions the field uses (state/data_contract.h), so the layout
// below is written in screen coordinates (panel row = screen row - 360):
//   hint lines     (210, 372), (135, 415), (135, 435), white on black
//   weapon icon    kWeaponIconX/Y (368, 392), 96 x 40
//   health icon    kHealthIconX/Y (368, 454), 96 x 22
//   spray digit    kSprayDigitX, kDigitY (525, 435), inside the spray button
//   weapon mark    kWeaponMarkX/Y (573, 414), ammunition digits kAmmoDigitX
//                  (570, 585, 600; 435)
//   buttons        handgun 470-519, shotgun 522-571, magnum 574-623 at
//                  y 377-412; knife 470-519 and spray 522-571 at y 415-450
// The places where the game writes or draws are pure black, so that the
// black boxes of the text and the transparent parts of sprites vanish in
// them.
#include "common/rng.h"
#include "common/text_art.h"
#include "content/art.h"
#include "content/datakit.h"

namespace datakit {
namespace {

constexpr int kTop = kMapViewHeight;  // screen row of the panel's first row

// A sunken well with a black or dark floor; bounds inclusive, screen rows.
void Well(Canvas& c, int x0, int y0, int x1, int y1, Rgb floor) {
  const int py0 = y0 - kTop, py1 = y1 - kTop;
  c.Fill(RectShape{float(x0), float(py0), x1 + 1.0f, py1 + 1.0f}, Hex(0x16171A));
  c.Fill(RectShape{x0 + 2.0f, py0 + 2.0f, x1 - 1.0f, py1 - 1.0f}, floor);
  // Dark upper and left lip, lit lower and right lip.
  c.Fill(RectShape{float(x0), float(py0), x1 + 1.0f, py0 + 2.0f}, Hex(0x0E0F11));
  c.Fill(RectShape{float(x0), float(py0), x0 + 2.0f, py1 + 1.0f}, Hex(0x0E0F11));
  c.Fill(RectShape{float(x0), float(py1), x1 + 1.0f, py1 + 1.0f}, Hex(0x8A9098));
  c.Fill(RectShape{float(x1), float(py0), x1 + 1.0f, py1 + 1.0f}, Hex(0x8A9098));
}

void Rivet(Canvas& c, float x, float y) {
  c.Fill(Circle(x + 0.8f, y + 1.0f, 2.4f), Hex(0x000000), 0.5f);
  c.Fill(Circle(x, y, 2.2f), Hex(0x8C9098));
  c.Fill(Circle(x - 0.7f, y - 0.7f, 0.9f), Hex(0xD8DCE0));
}

TextStyle Label(Rgb colour) {
  TextStyle s{.colour = colour, .shadowDx = 1, .shadowDy = 1, .shadowAlpha = 0.8f};
  return s;
}

// A raised button filling exactly the click rectangle x0..x1, y0..y1.
void Button(Canvas& c, int x0, int y0, int x1, int y1) {
  const int py0 = y0 - kTop, py1 = y1 - kTop;
  c.VGradient(x0, py0, x1 + 1, py1 + 1, Hex(0x7A808A), Hex(0x4C5058));
  c.Grain(x0, py0, x1 + 1, py1 + 1, 3, 900 + static_cast<std::uint32_t>(x0 + y0));
  c.Fill(RectShape{float(x0), float(py0), x1 + 1.0f, py0 + 1.0f}, Hex(0x1A1B1E));
  c.Fill(RectShape{float(x0), float(py1), x1 + 1.0f, py1 + 1.0f}, Hex(0x1A1B1E));
  c.Fill(RectShape{float(x0), float(py0), x0 + 1.0f, py1 + 1.0f}, Hex(0x1A1B1E));
  c.Fill(RectShape{float(x1), float(py0), x1 + 1.0f, py1 + 1.0f}, Hex(0x1A1B1E));
  c.Bevel(x0 + 1, py0 + 1, x1, py1, 2, 0.35f, 0.45f);
}

}  // namespace

Canvas PaintPanel(Language language) {
  Canvas c(640, 120);
  // Brushed gunmetal.
  c.VGradient(0, 0, 640, 120, Hex(0x4A4E56), Hex(0x2E3036));
  for (int y = 0; y < 120; ++y) {
    const float streak = (Hash2(0, y, 801) - 0.5f) * 10;
    for (int x = 0; x < 640; ++x) {
      const float n = streak + (Fbm(x * 0.08f, y * 2.0f, 3, 2, 802) - 0.5f) * 8;
      c.At(x, y) = c.At(x, y) + Rgb{n, n, n};
    }
  }
  // A hazard stripe along the top edge, under the map.
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 640; ++x) {
      c.At(x, y) = ((x + y) / 8) % 2 == 0 ? Hex(0xD4A418) : Hex(0x1C1C1C);
    }
  }
  c.Fill(RectShape{0, 6, 640, 7}, Hex(0x0C0C0E));
  c.Fill(RectShape{0, 7, 640, 8}, Hex(0x70747C));

  // The emblem: a radar scope over the city, and the game's name.
  Well(c, 6, 368, 123, 475, Hex(0x0A140C));
  const float rx = 64, ry = 405 - kTop, rr = 30;
  c.Fill(Circle(rx, ry, rr), Hex(0x06200E));
  for (float r : {10.0f, 20.0f, 29.0f})
    c.Fill(RingShape{rx, ry, r - 0.6f, r + 0.6f}, Hex(0x2E8A44), 0.8f);
  c.Line(rx - rr, ry, rx + rr, ry, 1, Hex(0x2E8A44), 0.6f);
  c.Line(rx, ry - rr, rx, ry + rr, 1, Hex(0x2E8A44), 0.6f);
  for (int i = 0; i < 24; ++i) {
    const float a = -0.9f + i * 0.035f;
    c.Line(rx, ry, rx + std::cos(a) * (rr - 1), ry + std::sin(a) * (rr - 1), 1.4f, Hex(0x5CFF84),
           0.03f + 0.03f * i);
  }
  for (const Pt& p : {Pt{78, 392 - 360.0f}, Pt{52, 418 - 360.0f}, Pt{84, 414 - 360.0f}}) {
    c.Fill(Circle(p.x, p.y, 3.5f), Hex(0xFF5030), 0.35f);
    c.Fill(Circle(p.x, p.y, 1.8f), Hex(0xFF7050));
  }
  TextStyle logo = Label(Hex(0xE8D8B0));
  logo.outline = 1;
  logo.outlineColour = Hex(0x1A0808);
  DrawTextFit(c, "VEDO ZEZA1", 64, 449 - kTop, 18, 104, logo);
  const bool korean = language == Language::kKorean;
  DrawTextFit(c, korean ? "생존자 단말기" : "SURVIVOR TERMINAL", 64, 466 - kTop, 13, 100,
              Label(Hex(0x6EB07E)));

  // The hint screen: its floor pure black, where the lines are written.
  Well(c, 127, 364, 361, 477, Hex(0x000000));
  DrawTextAt(c, "SCAN", 137, 374 - kTop, 13, Label(Hex(0x2E7A42)));
  DrawTextAt(c, korean ? "주변" : "AREA", 137, 390 - kTop, 13, Label(Hex(0x2E7A42)));

  // Frames for the weapon icon and the health icon, 96 pixels wide, with
  // their labels above them.
  DrawTextFit(c, "WEAPON", kWeaponIconX + 48, kWeaponIconY - 12 - kTop, 13, 96,
              Label(Hex(0xC8CCD2)));
  Well(c, kWeaponIconX - 4, kWeaponIconY - 4, kWeaponIconX + 99, kWeaponIconY + 43, Hex(0x000000));
  DrawTextFit(c, "CONDITION", kHealthIconX + 48, kHealthIconY - 11 - kTop, 11, 96,
              Label(Hex(0xC8CCD2)));
  Well(c, kHealthIconX - 4, kHealthIconY - 4, kHealthIconX + 99, kScreenHeight - 1, Hex(0x000000));

  // The five buttons, each exactly on its click rectangle.
  const TextStyle tag = Label(Hex(0xF0F0E8));
  Button(c, 470, 377, 519, 412);
  DrawHandgun(c, Xf{477, 379 - kTop, 0.36f});
  DrawTextFit(c, "HANDGUN", 495, 406 - kTop, 10, 40, tag);
  Button(c, 522, 377, 571, 412);
  DrawShotgun(c, Xf{525, 384 - kTop, 0.22f});
  DrawTextFit(c, "SHOTGUN", 547, 406 - kTop, 10, 40, tag);
  Button(c, 574, 377, 623, 412);
  DrawMagnum(c, Xf{579, 379 - kTop, 0.36f});
  DrawTextFit(c, "MAGNUM", 599, 406 - kTop, 10, 40, tag);
  Button(c, 470, 415, 519, 450);
  DrawKnife(c, Xf{474, 421 - kTop, 0.42f});
  DrawTextFit(c, "KNIFE", 495, 442 - kTop, 10, 40, tag);  // clear of the lower rim
  Button(c, 522, 415, 571, 450);
  DrawSprayCan(c, Xf{554, 419 - kTop, 0.36f}, false);
  DrawTextFit(c, "SPRAY", 539, 424 - kTop, 9, 24, tag);  // clear of the left rim
  // The spray count's black place, one digit wide, down to the button's rim
  // at row 450, which the digits leave free.
  constexpr float kSprayX = kSprayDigitX, kSprayY = kDigitY - kTop;
  c.Fill(RectShape{kSprayX - 2, kSprayY - 2, kSprayX + 17, 450 - kTop}, Hex(0x0E0F11));
  c.Fill(RectShape{kSprayX, kSprayY, kSprayX + 16, 450 - kTop}, Hex(0x000000));
  c.Fill(RectShape{kSprayX + 16, kSprayY - 2, kSprayX + 17, 450 - kTop}, Hex(0x8A9098));

  // The ammunition display: the weapon mark at its top left, the three
  // digits below it.
  Well(c, kWeaponMarkX - 1, kWeaponMarkY, kAmmoDigitX[2] + 25, kDigitY + 17, Hex(0x000000));
  DrawTextFit(c, "AMMO", 598, 462 - kTop, 11, 50, Label(Hex(0xC8CCD2)));

  for (const Pt& p : {Pt{632, 16}, Pt{632, 60}, Pt{632, 108}, Pt{480, 112}, Pt{612, 112}, Pt{3, 12},
                      Pt{3, 112}}) {
    Rivet(c, p.x, p.y);
  }
  return c;
}

}  // namespace datakit
