// Opened cells: what a cell shows once it has been attacked. They sit on a
// cool blue-grey plate with a dark rim, a colour found nowhere in the city,
// so an opened cell never passes for ground. Counts use one colour each,
// as on a mine-sweeping board; taken items carry a green tick, beaten
// enemies a red cross.
#include "common/rng.h"
#include "common/text_art.h"
#include "content/art.h"
#include "content/datakit.h"

namespace datakit {
namespace {

constexpr int kSide = 40;

void Plate(Canvas& c, std::uint32_t seed) {
  c.VGradient(0, 0, kSide, kSide, Hex(0xC6D0DC), Hex(0xA8B4C4));
  c.Grain(0, 0, kSide, kSide, 4, seed);
  c.Bevel(1, 1, kSide - 1, kSide - 1, 2, 0.5f, 0.3f);
}

// The dark rim, drawn last so that nothing on the plate runs over it.
void Rim(Canvas& c) {
  c.Fill(RectShape{0, 0, kSide, 1}, Hex(0x222A3A));
  c.Fill(RectShape{0, kSide - 1, kSide, kSide}, Hex(0x222A3A));
  c.Fill(RectShape{0, 0, 1, kSide}, Hex(0x222A3A));
  c.Fill(RectShape{kSide - 1, 0, kSide, kSide}, Hex(0x222A3A));
}

Rgb CountColour(int n) {
  static const Rgb kColours[8] = {Hex(0x000000), Hex(0x1E48D0), Hex(0x1A8A2A), Hex(0xC82020),
                                  Hex(0x1A1A80), Hex(0x801818), Hex(0x10807C), Hex(0x202020)};
  return kColours[std::clamp(n, 0, 7)];
}

void DrawHunterBody(Canvas& c) {
  DrawBlood(c, 21, 22, 12, 1301);
  const Rgb skin = Hex(0x4E7A34), dark = Hex(0x2E4A1E);
  // Sprawled on its back: torso, head, four clawed limbs.
  c.Line(14, 14, 6, 8, 3.2f, dark);
  c.Line(26, 14, 34, 7, 3.2f, dark);
  c.Line(15, 28, 8, 35, 3.2f, dark);
  c.Line(25, 28, 33, 35, 3.2f, dark);
  for (const Pt& p : {Pt{6, 8}, Pt{34, 7}, Pt{8, 35}, Pt{33, 35}}) {
    for (int k = -1; k <= 1; ++k) {
      c.Line(p.x, p.y, p.x + (p.x < 20 ? -3.0f : 3.0f) + k, p.y + (p.y < 20 ? -3.0f : 3.0f) - k,
             1.0f, Hex(0xE8E0C8));
    }
  }
  c.Fill(EllipseShape{20, 21, 7, 10, 0}, skin);
  c.Fill(EllipseShape{18, 18, 3, 5, 0}, Mix(skin, Hex(0xFFFFFF), 0.2f));
  c.Fill(EllipseShape{20, 9, 4.5f, 4, 0}, skin);
  c.Fill(Circle(18.3f, 8.5f, 1.1f), Hex(0xF0E030));
  c.Fill(Circle(21.7f, 8.5f, 1.1f), Hex(0xF0E030));
}

void DrawStalkerBody(Canvas& c) {
  DrawBlood(c, 20, 20, 15, 1302);
  const Rgb coat = Hex(0x2C2630), skin = Hex(0x8A7A80);
  c.Line(10, 12, 3, 24, 4.5f, coat);
  c.Line(30, 12, 37, 22, 4.5f, coat);
  c.Fill(RoundRectShape{10, 9, 30, 33, 5}, coat);
  c.Line(15, 33, 13, 39, 4, coat);
  c.Line(25, 33, 27, 39, 4, coat);
  c.Fill(Circle(20, 8, 5.5f), skin);
  c.Fill(RectShape{16.5f, 9, 23.5f, 11}, Hex(0x3A2A2E));
  c.Fill(Circle(22, 21, 3.5f), Hex(0xB01828));  // the exposed heart
  c.Fill(Circle(21, 20, 1.3f), Hex(0xE05060));
  c.Line(30, 20, 38, 16, 3, Hex(0x4A4E56));  // the launcher, dropped
}

}  // namespace

Canvas PaintOpenedCell(OpenedKind kind, int count) {
  Canvas c(kSide, kSide);
  Plate(c, 1200u + static_cast<std::uint32_t>(kind) * 10u + static_cast<std::uint32_t>(count));
  switch (kind) {
    case OpenedKind::kCount:
      if (count > 0) {
        TextStyle s{.colour = CountColour(count),
                    .bold = 1.6f,
                    .outline = 1.0f,
                    .outlineColour = Hex(0xF4F8FC),
                    .shadowDx = 1,
                    .shadowDy = 1,
                    .shadowAlpha = 0.5f};
        DrawTextFit(c, std::to_string(count), 20, 20.5f, 44, 26, s);
      } else {
        // Nothing here: a faint swept circle says so.
        c.Fill(RingShape{20, 20, 7, 8.2f}, Hex(0x8A98AC), 0.6f);
      }
      break;
    case OpenedKind::kFileTaken:
      DrawFolder(c, Xf{5, 7, 0.38f}, true);
      DrawTick(c, 30, 29, 12);
      break;
    case OpenedKind::kAmmoTaken:
      DrawAmmoBox(c, Xf{4, 6, 0.4f}, true);
      DrawTick(c, 30, 30, 12);
      break;
    case OpenedKind::kSprayTaken: {
      Canvas can(40, 80);
      DrawSprayCan(can, Xf{0, 0, 1}, true);
      // Lying on its side.
      for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 28; ++x) {
          const int sx = static_cast<int>(y * 40 / 14.0f),
                    sy = 79 - static_cast<int>(x * 80 / 28.0f);
          if (can.Alpha(sx, sy) > 0.5f)
            c.Blend(x + 6, y + 12, can.At(sx, sy) * (1.0f / can.Alpha(sx, sy)), 1);
        }
      }
      DrawTick(c, 30, 30, 12);
      break;
    }
    case OpenedKind::kHunterBeaten:
      DrawHunterBody(c);
      DrawCross(c, 32, 32, 10, Hex(0xE02828));
      break;
    case OpenedKind::kStalkerBeaten:
      DrawStalkerBody(c);
      DrawCross(c, 32, 32, 10, Hex(0xE02828));
      break;
  }
  Rim(c);
  return c;
}

}  // namespace datakit
