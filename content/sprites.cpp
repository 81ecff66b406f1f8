// WEAPON.SPR: every picture drawn with black as the transparent colour.
//
// Frame sizes follow from where the game draws each frame, since a frame
// that would reach past the screen is not drawn at all:
//   0       pointer highlight, on the 40-pixel grid up to (600, 320): 40 x 40
//   1-6     weapon icons at (368, 392): 96 x 40 (5 and 6 spares)
//   7, 8    ammunition marks at (573, 414): 51 x 20
//   9-18    digits at (525..600, 435), 15 apart: 15 x 16
//   19-21   health icons at (368, 454), 26 rows above the bottom: 96 x 22
//   22-28   grades, beside the top credit line at x 400: 230 x 56
//   29-38   credit lines at x 160 (190 or 320 wide) and x 360 (200 wide)
//   39-43   rocket, lanes 1 and 2, lowest at (0, 365): 110 x 110
//   45-49   rocket, lane 3, rightmost at (510, 365): 110 x 110
//   44, 50  spare explosions; 51 the player figure at up to (380, 214)
// Visible pixels are never pure black; see Canvas::SpriteBgr.
#include "common/rng.h"
#include "common/text_art.h"
#include "content/art.h"
#include "content/datakit.h"

namespace datakit {
namespace {

kit::SpriteFrameData Frame(const Canvas& c) {
  return {.width = c.W(), .height = c.H(), .bgr = c.SpriteBgr()};
}

TextStyle Outlined(Rgb colour, float outline = 1.5f) {
  TextStyle s{.colour = colour, .outline = outline, .outlineColour = Hex(0x120E16)};
  return s;
}

Canvas Highlight() {
  Canvas c(40, 40);
  const Rgb gold = Hex(0xFFD440);
  // A thin frame with heavier corner brackets.
  for (float t : {0.5f, 38.5f}) {
    c.Line(4, t, 36, t, 1, Hex(0xC8A030));
    c.Line(t, 4, t, 36, 1, Hex(0xC8A030));
  }
  const float len = 11, w = 3;
  for (int corner = 0; corner < 4; ++corner) {
    const float x = (corner % 2) ? 38.5f : 1.5f, y = (corner / 2) ? 38.5f : 1.5f;
    const float dx = (corner % 2) ? -1 : 1, dy = (corner / 2) ? -1 : 1;
    c.Line(x, y, x + dx * len, y, w, gold);
    c.Line(x, y, x, y + dy * len, w, gold);
  }
  return c;
}

Canvas WeaponIcon(int weapon) {
  Canvas c(96, 40);
  static const char* kNames[4] = {"KNIFE", "HANDGUN", "SHOTGUN", "MAGNUM"};
  static void (*const kDraw[4])(Canvas&, const Xf&) = {DrawKnife, DrawHandgun, DrawShotgun,
                                                       DrawMagnum};
  static const Xf kPlace[4] = {{6, 4, 0.84f}, {22, 1, 0.48f}, {2, 6, 0.46f}, {18, 1, 0.48f}};
  kDraw[weapon](c, kPlace[weapon]);
  TextStyle s = Outlined(Hex(0xF0C860), 1.2f);
  DrawTextFit(c, kNames[weapon], 68, 33.5f, 14, 54, s);
  return c;
}

Canvas SpareIcon(int which) {
  Canvas c(96, 40);
  if (which == 0) {
    // A hand grenade.
    c.Fill(EllipseShape{40, 22, 12, 14, 0}, Hex(0x4E5A34));
    for (int i = -1; i <= 1; ++i) c.Line(29, 22.0f + i * 6, 51, 22.0f + i * 6, 1, Hex(0x2E3620));
    c.Fill(RectShape{35, 4, 45, 10}, Hex(0x70747C));
    c.Line(45, 6, 58, 16, 2, Hex(0x8A8E96));
    c.Fill(RingShape{30, 6, 3, 4.5f}, Hex(0xB0B4BA));
  } else {
    // A crowbar.
    c.Line(10, 30, 78, 12, 4, Hex(0x8A1E1A));
    c.Line(78, 12, 86, 18, 4, Hex(0x8A1E1A));
    c.Line(10, 30, 6, 24, 3.5f, Hex(0x8A1E1A));
  }
  return c;
}

Canvas AmmoMark(bool magnum) {
  Canvas c(51, 20);
  if (magnum) {
    DrawShell(c, 12, 10, 18, 0, false);
    DrawTextFit(c, ".357", 35, 10, 16, 26, Outlined(Hex(0xF0C050), 1));
  } else {
    DrawShell(c, 11, 10, 16, 0, true);
    DrawTextFit(c, "12GA", 35, 10, 16, 26, Outlined(Hex(0xF06040), 1));
  }
  return c;
}

Canvas Digit(int d) {
  Canvas c(15, 16);
  TextStyle s{
      .colour = Hex(0xFFC040), .bold = 0.6f, .gradient = true, .bottomColour = Hex(0xFF8A20)};
  // Ink kept to columns 3 to 12, so that the strokes clear what lies left
  // of the ammunition display.
  const TextMask text = RenderText(std::to_string(d));
  if (text.HasInk()) {
    const float inkH = static_cast<float>(text.inkY1 - text.inkY0);
    const float inkW = static_cast<float>(text.inkX1 - text.inkX0);
    // Ink in rows 2 to 13: the last row stays clear, as it lies on the
    // spray button's lower rim.
    const float scale = std::min(12.0f / inkH, 8.6f / inkW);
    const float h = text.boxH * scale;
    const float x = 7.8f - (text.inkX0 + text.inkX1) * 0.5f * scale;
    const float y = 7.8f - (text.inkY0 + text.inkY1) * 0.5f * scale;
    DrawText(c, text, x, y, h, s);
  }
  return c;
}

Canvas HealthIcon(int level) {
  Canvas c(96, 22);
  static const char* kWords[3] = {"FINE", "CAUTION", "DANGER"};
  const Rgb colours[3] = {Hex(0x40E070), Hex(0xF0C030), Hex(0xF04030)};
  const Rgb col = colours[level];
  // The word ends by x 48 and the trace starts at 56: the two never touch.
  DrawTextFit(c, kWords[level], 25, 11, 15, 44, Outlined(col, 1));
  // A heart trace, calmer when fine, racing in danger.
  const int beats = level + 1;
  const float x0 = 56, x1 = 94, mid = 12;
  float px = x0, py = mid;
  const int steps = 76;
  for (int i = 1; i <= steps; ++i) {
    const float t = static_cast<float>(i) / steps;
    const float x = x0 + (x1 - x0) * t;
    const float phase = std::fmod(t * beats, 1.0f);
    float y = mid;
    if (phase > 0.30f && phase < 0.36f)
      y = mid - 8 * (level == 2 ? 0.7f : 1.0f);
    else if (phase >= 0.36f && phase < 0.42f)
      y = mid + 6;
    else if (phase > 0.55f && phase < 0.7f)
      y = mid - 2;
    c.Line(px, py, x, y, 1.6f, col);
    px = x;
    py = y;
  }
  return c;
}

Canvas Grade(int grade) {
  Canvas c(230, 56);
  static const char* kLetters[8] = {"", "F", "E", "D", "C", "B", "A", "S"};
  TextStyle s = Outlined(Hex(0xFFE9A0), 2);
  s.gradient = true;
  s.bottomColour = Hex(0xE0A030);
  s.bold = 1;
  DrawTextFit(c, kLetters[grade], 26, 28, 64, 46, s);
  for (int i = 0; i < 7; ++i) {
    const float cx = 66 + i * 23.0f, cy = 29;
    c.Fill(Star(cx, cy, 11.5f), Hex(0x1A1410));
    if (i < grade) {
      c.Fill(Star(cx, cy, 9.5f), Hex(0xFFD040));
      c.Fill(Star(cx - 1, cy - 1, 4.5f), Hex(0xFFF0B0), 0.7f);
    } else {
      c.Fill(Star(cx, cy, 9.5f), Hex(0x4A4038));
    }
  }
  return c;
}

// A credit line; align -1 right (ends at the frame's right edge), 0 centre,
// 1 left.
Canvas Credit(const std::string& text, int width, int align, Rgb colour, float height) {
  Canvas c(width, 40);
  TextStyle s = Outlined(colour, 2);
  s.bold = 0.7f;
  const TextMask mask = RenderText(text);
  float h = height;
  if (TextWidth(mask, h) > width - 8) h = HeightForWidth(mask, width - 8.0f);
  const float w = TextWidth(mask, h);
  const float x = align < 0 ? width - 4 - w : align == 0 ? (width - w) / 2 : 4;
  float inkMid = 0.5f;
  if (mask.HasInk()) inkMid = (mask.inkY0 + mask.inkY1) * 0.5f / mask.boxH;
  DrawText(c, mask, x, 20 - inkMid * h, h, s);
  return c;
}

// The rocket at step k, flying toward the frame's upper right; lane 3's
// frames are the mirror image.
Canvas Rocket(int k, bool leftward) {
  Canvas c(110, 110);
  Rng rng(1700u + static_cast<std::uint32_t>(k));
  const float angle = -0.64f;  // up and to the right, between lanes 1 and 2
  const float dx = std::cos(angle), dy = std::sin(angle);
  const float headX = 94, headY = 18;
  const float len = 38 + 2.5f * k;
  const float tailX = headX - dx * len, tailY = headY - dy * len;
  // Smoke trail toward the lower left, longer at later steps, ending well
  // inside the frame (a keyed sprite cannot fade out).
  const int puffs = 3 + 2 * k;
  for (int i = puffs - 1; i >= 0; --i) {
    const float t = 5 + i * 4.5f;
    const float px = tailX - dx * t + rng.Range(-2, 2), py = tailY - dy * t + rng.Range(-2, 2);
    const float r = 4 + i * 0.8f;
    const float shade = rng.Range(0.65f, 0.95f);
    c.Fill(Circle(px, py, r), Hex(0x9A9894) * shade, 0.85f);
    c.Fill(Circle(px - r * 0.3f, py - r * 0.3f, r * 0.5f), Hex(0xC8C6C0) * shade, 0.6f);
  }
  // Exhaust flame, with a launch flash at the first step.
  const float flame = k == 0 ? 16 : 10;
  c.Fill(Rotate(EllipseShape{tailX - dx * flame * 0.5f, tailY - dy * flame * 0.5f, flame * 0.6f,
                             4.5f, 0},
                tailX - dx * flame * 0.5f, tailY - dy * flame * 0.5f, angle),
         Hex(0xFF9020));
  c.Fill(Rotate(EllipseShape{tailX - dx * 3, tailY - dy * 3, flame * 0.3f, 2.5f, 0}, tailX - dx * 3,
                tailY - dy * 3, angle),
         Hex(0xFFF0A0));
  if (k == 0) {
    c.Fill(Star(tailX - dx * 6, tailY - dy * 6, 14, 0.4f), Hex(0xFFC040), 0.9f);
    c.Fill(Circle(tailX - dx * 6, tailY - dy * 6, 6), Hex(0xFFF4C0));
  }
  // The rocket: tube body, warhead cone, fins.
  const float mx = (headX + tailX) / 2, my = (headY + tailY) / 2;
  c.Fill(Rotate(RoundRectShape{mx - len / 2, my - 3.5f, mx + len / 2 - 8, my + 3.5f, 2}, mx, my,
                angle),
         Hex(0x5E6A4A));
  c.Fill(Rotate(RectShape{mx - len / 2, my - 3.5f, mx + len / 2 - 8, my - 1.5f}, mx, my, angle),
         Hex(0x8A9670));
  c.Fill(Rotate(PolyShape{{{mx + len / 2 - 9, my - 5.5f},
                           {mx + len / 2 + 1, my},
                           {mx + len / 2 - 9, my + 5.5f}}},
                mx, my, angle),
         Hex(0x3A3E36));
  c.Fill(Rotate(
             PolyShape{
                 {{mx - len / 2, my - 3}, {mx - len / 2 - 6, my - 8}, {mx - len / 2 + 6, my - 3}}},
             mx, my, angle),
         Hex(0x4A5438));
  c.Fill(Rotate(
             PolyShape{
                 {{mx - len / 2, my + 3}, {mx - len / 2 - 6, my + 8}, {mx - len / 2 + 6, my + 3}}},
             mx, my, angle),
         Hex(0x4A5438));
  c.Fill(Rotate(RectShape{mx + 2, my - 3.5f, mx + 5, my + 3.5f}, mx, my, angle), Hex(0xD8C040));
  if (!leftward) return c;
  Canvas m(110, 110);
  for (int y = 0; y < 110; ++y) {
    for (int x = 0; x < 110; ++x) {
      const float a = c.Alpha(109 - x, y);
      if (a > 0) m.Blend(x, y, c.At(109 - x, y) * (1.0f / a), a);
    }
  }
  return m;
}

Canvas Explosion(std::uint32_t seed) {
  Canvas c(100, 100);
  Rng rng(seed);
  for (int i = 0; i < 14; ++i) {
    const float a = rng.Range(0, 2 * kPi), d = rng.Range(4, 30);
    const float r = rng.Range(10, 20);
    c.Fill(Circle(50 + std::cos(a) * d, 50 + std::sin(a) * d, r),
           Mix(Hex(0x8A3A10), Hex(0xFF8A20), rng.Unit()));
  }
  c.Fill(Star(50, 50, 34, 0.5f), Hex(0xFFC040), 0.9f);
  c.Fill(Circle(50, 50, 14), Hex(0xFFF4D0));
  return c;
}

// The player seen from above, facing up the screen, gun raised. The figure
// stands 2 pixels in from the top and bottom, so that its dark rim is whole
// at the pistol's muzzle and at the feet.
Canvas PlayerFigure() {
  Canvas c(44, 60);
  const Rgb jacket = Hex(0x3A5070), jeans = Hex(0x2A3448), skin = Hex(0xD8A880),
            hair = Hex(0x4A2E1A), outline = Hex(0x0C0C10);
  auto both = [&](auto shape, Rgb colour) {
    // A dark rim first, then the colour: the figure must read on any ground.
    Mask m = Mask::Around(shape.Bounds(), 3);
    m.Add(shape);
    m.Dilate(1.2f);
    c.Apply(m, 0, 0, outline);
    c.Fill(shape, colour);
  };
  const float y = 2;
  both(CapsuleShape{16, y + 40, 14, y + 52, 4}, jeans);
  both(CapsuleShape{28, y + 40, 30, y + 50, 4}, jeans);
  both(EllipseShape{22, y + 32, 15, 9, 0}, jacket);
  // The shoulder seam, under the head.
  c.Fill(RectShape{12, y + 31, 32, y + 33}, Mix(jacket, Hex(0xFFFFFF), 0.15f), 0.8f);
  both(CapsuleShape{10, y + 30, 19, y + 12, 3.2f}, jacket);
  both(CapsuleShape{34, y + 30, 25, y + 12, 3.2f}, jacket);
  both(Circle(22, y + 11, 3.5f), skin);
  both(RectShape{20, y + 1, 24, y + 10}, Hex(0x3A3C42));  // the pistol
  both(Circle(22, y + 29, 7.5f), hair);
  c.Fill(Circle(20, y + 27, 3), Mix(hair, Hex(0xFFFFFF), 0.2f));
  return c;
}

}  // namespace

kit::SpriteFile MakeSprites(Language language) {
  std::vector<Canvas> frames;
  frames.push_back(Highlight());
  for (int w = 0; w < 4; ++w) frames.push_back(WeaponIcon(w));
  frames.push_back(SpareIcon(0));
  frames.push_back(SpareIcon(1));
  frames.push_back(AmmoMark(true));
  frames.push_back(AmmoMark(false));
  for (int d = 0; d < 10; ++d) frames.push_back(Digit(d));
  for (int h = 0; h < 3; ++h) frames.push_back(HealthIcon(h));
  for (int g = 7; g >= 1; --g) frames.push_back(Grade(g));
  const Rgb role = Hex(0xF2C86A), name = Hex(0xF4F4F0);
  frames.push_back(Credit("PROGRAM", 190, -1, role, 30));        // 29
  frames.push_back(Credit("PICTURES", 190, -1, role, 30));       // 30
  frames.push_back(Credit("VEDO TEAM", 200, 1, name, 30));       // 31
  frames.push_back(Credit("SOUND & MUSIC", 190, -1, role, 30));  // 32
  frames.push_back(Credit("MADE BY CODE", 200, 1, name, 30));    // 33
  frames.push_back(
      Credit(language == Language::kKorean ? "살아남은 것을 축하합니다" : "YOU MADE IT OUT ALIVE",
             320, 0, Hex(0xC8E8FF), 28));                          // 34
  frames.push_back(Credit("THANK YOU", 190, -1, role, 30));        // 35
  frames.push_back(Credit("FOR PLAYING", 200, 1, name, 30));       // 36
  frames.push_back(Credit("THE END", 320, 0, Hex(0xFF6A50), 38));  // 37
  frames.push_back(Credit("YOUR GRADE", 230, -1, role, 30));       // 38
  for (int k = 0; k < 5; ++k) frames.push_back(Rocket(k, false));
  frames.push_back(Explosion(1801));
  for (int k = 0; k < 5; ++k) frames.push_back(Rocket(k, true));
  frames.push_back(Explosion(1802));
  frames.push_back(PlayerFigure());

  kit::SpriteFile file;
  kit::SetSpriteTag(file);
  file.version = 1;
  for (const Canvas& c : frames) file.frames.push_back(Frame(c));
  return file;
}

}  // namespace datakit
