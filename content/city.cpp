// The city under the playing field: a grid of streets with pavements,
// blocks of roofs seen from above, a park, a car park and a collapsed
// building, cars left where they stopped, rubble, blood and oil.
//
// The light comes from the upper left, so everything casts its shadow to
// the lower right. Streets run on cell boundaries, so that the cells along
// them read as road or as pavement.
#include <array>

#include "common/rng.h"
#include "common/text_art.h"
#include "content/art.h"
#include "content/datakit.h"

namespace datakit {
namespace {

constexpr int kW = 1000, kH = 720;
constexpr int kSidewalk = 14;

// Street bands, in pixels.
constexpr int kRoadRows[2][2] = {{200, 280}, {480, 560}};
constexpr int kRoadCols[2][2] = {{240, 320}, {680, 760}};

const Rgb kAsphalt = Hex(0x3E3F43);
const Rgb kPavement = Hex(0x8F8D87);
const Rgb kAlley = Hex(0x4A4844);

struct Block {
  int x0, y0, x1, y1;
};

struct Building {
  int x0, y0, x1, y1;
  int style;  // 0 tar, 1 tiles, 2 hospital, 3 metal, 4 gravel
  Rgb roof;
  bool damaged;
};

bool OnRoad(float x, float y) {
  for (const auto& r : kRoadRows) {
    if (y >= r[0] && y < r[1]) return true;
  }
  for (const auto& c : kRoadCols) {
    if (x >= c[0] && x < c[1]) return true;
  }
  return false;
}

bool InIntersection(float x, float y) {
  bool row = false, col = false;
  for (const auto& r : kRoadRows) row = row || (y >= r[0] && y < r[1]);
  for (const auto& c : kRoadCols) col = col || (x >= c[0] && x < c[1]);
  return row && col;
}

void PaintRoads(Canvas& c) {
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) c.At(x, y) = kAsphalt;
  }
  c.Mottle(0, 0, kW, kH, 60, 0.12f, 11);
  c.Grain(0, 0, kW, kH, 7, 12);
  // Tyre tracks: slightly darker bands along each lane.
  for (const auto& r : kRoadRows) {
    for (int lane : {r[0] + 18, r[0] + 30, r[1] - 30, r[1] - 18}) {
      c.Darken(RectShape{0, static_cast<float>(lane), kW, lane + 5.0f}, 0.9f);
    }
  }
  for (const auto& col : kRoadCols) {
    for (int lane : {col[0] + 18, col[0] + 30, col[1] - 30, col[1] - 18}) {
      c.Darken(RectShape{static_cast<float>(lane), 0, lane + 5.0f, kH}, 0.9f);
    }
  }
  // Centre lines, broken at the crossings.
  const Rgb yellow = Hex(0xC8A432);
  for (const auto& r : kRoadRows) {
    const float mid = (r[0] + r[1]) / 2.0f;
    for (int x = 4; x < kW; x += 40) {
      if (InIntersection(x + 12.0f, mid) || InIntersection(x - 16.0f, mid) ||
          InIntersection(x + 40.0f, mid)) {
        continue;
      }
      c.Fill(RectShape{static_cast<float>(x), mid - 1.5f, x + 24.0f, mid + 1.5f}, yellow, 0.85f);
    }
  }
  for (const auto& col : kRoadCols) {
    const float mid = (col[0] + col[1]) / 2.0f;
    for (int y = 4; y < kH; y += 40) {
      if (InIntersection(mid, y + 12.0f) || InIntersection(mid, y - 16.0f) ||
          InIntersection(mid, y + 40.0f)) {
        continue;
      }
      c.Fill(RectShape{mid - 1.5f, static_cast<float>(y), mid + 1.5f, y + 24.0f}, yellow, 0.85f);
    }
  }
  // Zebra crossings on the four arms of every crossing.
  const Rgb paint = Hex(0xD4D2CA);
  for (const auto& r : kRoadRows) {
    for (const auto& col : kRoadCols) {
      for (int yy = r[0] + 6; yy < r[1] - 6; yy += 11) {
        c.Fill(RectShape{col[0] - 20.0f, static_cast<float>(yy), col[0] - 6.0f, yy + 6.0f}, paint,
               0.75f);
        c.Fill(RectShape{col[1] + 6.0f, static_cast<float>(yy), col[1] + 20.0f, yy + 6.0f}, paint,
               0.75f);
      }
      for (int xx = col[0] + 6; xx < col[1] - 6; xx += 11) {
        c.Fill(RectShape{static_cast<float>(xx), r[0] - 20.0f, xx + 6.0f, r[0] - 6.0f}, paint,
               0.75f);
        c.Fill(RectShape{static_cast<float>(xx), r[1] + 6.0f, xx + 6.0f, r[1] + 20.0f}, paint,
               0.75f);
      }
    }
  }
  // Wear on the paint.
  c.Mottle(0, 0, kW, kH, 9, 0.08f, 13);
}

void PaintBlockGround(Canvas& c, const Block& b, Rgb lot) {
  // Pavement over the whole block, a paved lot inside it.
  for (int y = b.y0; y < b.y1; ++y) {
    for (int x = b.x0; x < b.x1; ++x) c.At(x, y) = kPavement;
  }
  for (int y = b.y0; y < b.y1; ++y) {
    for (int x = b.x0; x < b.x1; ++x) {
      if ((x - b.x0) % 20 == 0 || (y - b.y0) % 20 == 0) c.At(x, y) = Shade(kPavement, 0.82f);
    }
  }
  c.Mottle(b.x0, b.y0, b.x1, b.y1, 25, 0.1f, 21);
  c.Grain(b.x0, b.y0, b.x1, b.y1, 6, 22);
  // Kerbs where the pavement meets a street.
  const Rgb kerb = Hex(0xB2B0A8);
  if (b.x0 > 0) c.Fill(RectShape{float(b.x0), float(b.y0), b.x0 + 3.0f, float(b.y1)}, kerb);
  if (b.x1 < kW) c.Fill(RectShape{b.x1 - 3.0f, float(b.y0), float(b.x1), float(b.y1)}, kerb);
  if (b.y0 > 0) c.Fill(RectShape{float(b.x0), float(b.y0), float(b.x1), b.y0 + 3.0f}, kerb);
  if (b.y1 < kH) c.Fill(RectShape{float(b.x0), b.y1 - 3.0f, float(b.x1), float(b.y1)}, kerb);
  const int ix0 = b.x0 > 0 ? b.x0 + kSidewalk : b.x0;
  const int iy0 = b.y0 > 0 ? b.y0 + kSidewalk : b.y0;
  const int ix1 = b.x1 < kW ? b.x1 - kSidewalk : b.x1;
  const int iy1 = b.y1 < kH ? b.y1 - kSidewalk : b.y1;
  for (int y = iy0; y < iy1; ++y) {
    for (int x = ix0; x < ix1; ++x) c.At(x, y) = lot;
  }
  c.Mottle(ix0, iy0, ix1, iy1, 30, 0.14f, 23);
  c.Grain(ix0, iy0, ix1, iy1, 6, 24);
}

void PaintBuilding(Canvas& c, const Building& b, std::uint32_t seed) {
  Rng rng(seed);
  const float x0 = b.x0, y0 = b.y0, x1 = b.x1, y1 = b.y1;
  // Cast shadow.
  Mask shape = Mask::Around(Box{x0, y0, x1, y1}, 20);
  shape.Add(RectShape{x0, y0, x1, y1});
  c.Shadow(shape, 9, 11, 2, Hex(0x000000), 0.55f);
  // Parapet, then the roof inside it.
  c.Fill(RectShape{x0, y0, x1, y1}, Shade(b.roof, 1.25f));
  c.Bevel(b.x0, b.y0, b.x1, b.y1, 2, 0.25f, 0.35f);
  const float in = 5;
  const int rx0 = b.x0 + 5, ry0 = b.y0 + 5, rx1 = b.x1 - 5, ry1 = b.y1 - 5;
  c.Fill(RectShape{x0 + in, y0 + in, x1 - in, y1 - in}, b.roof);
  switch (b.style) {
    case 1: {  // pitched tiles: a ridge along the long side
      const bool wide = (x1 - x0) >= (y1 - y0);
      for (int y = ry0; y < ry1; ++y) {
        for (int x = rx0; x < rx1; ++x) {
          const float t = wide ? (y - ry0) / float(ry1 - ry0) : (x - rx0) / float(rx1 - rx0);
          const float side = t < 0.5f ? 1.12f : 0.8f;
          const int along = wide ? y - ry0 : x - rx0;
          const int across = wide ? x - rx0 : y - ry0;
          float k = side;
          if (along % 6 == 0) k *= 0.72f;
          if (across % 9 == (along / 6 % 2) * 4) k *= 0.85f;
          c.At(x, y) = c.At(x, y) * k;
        }
      }
      if (wide) {
        c.Fill(RectShape{x0 + in, (y0 + y1) / 2 - 1.5f, x1 - in, (y0 + y1) / 2 + 1.5f},
               Shade(b.roof, 0.6f));
      } else {
        c.Fill(RectShape{(x0 + x1) / 2 - 1.5f, y0 + in, (x0 + x1) / 2 + 1.5f, y1 - in},
               Shade(b.roof, 0.6f));
      }
      break;
    }
    case 3: {  // corrugated metal with skylights
      for (int y = ry0; y < ry1; ++y) {
        for (int x = rx0; x < rx1; ++x) c.At(x, y) = c.At(x, y) * ((x % 4 < 2) ? 1.08f : 0.9f);
      }
      for (float sy = y0 + 18; sy + 16 < y1 - 8; sy += 34) {
        for (float sx = x0 + 16; sx + 26 < x1 - 10; sx += 44) {
          c.Fill(RectShape{sx, sy, sx + 26, sy + 14}, Hex(0x3C5060));
          c.Fill(RectShape{sx + 2, sy + 2, sx + 12, sy + 12}, Hex(0x6E8494), 0.6f);
        }
      }
      break;
    }
    default:
      c.Mottle(rx0, ry0, rx1, ry1, 14, 0.12f, seed);
      c.Grain(rx0, ry0, rx1, ry1, 8, seed + 1);
      break;
  }
  // The parapet's shadow on the roof (top and left inner edges).
  c.Fill(RectShape{x0 + in, y0 + in, x1 - in, y0 + in + 3}, Hex(0x000000), 0.25f);
  c.Fill(RectShape{x0 + in, y0 + in + 3, x0 + in + 3, y1 - in}, Hex(0x000000), 0.25f);

  auto box = [&](float bx, float by, float w, float h, Rgb col) {
    Mask m = Mask::Around(Box{bx, by, bx + w, by + h}, 10);
    m.Add(RectShape{bx, by, bx + w, by + h});
    c.Shadow(m, 4, 5, 1, Hex(0x000000), 0.5f);
    c.Fill(RectShape{bx, by, bx + w, by + h}, col);
    c.Bevel(static_cast<int>(bx), static_cast<int>(by), static_cast<int>(bx + w),
            static_cast<int>(by + h), 1, 0.3f, 0.3f);
  };
  if (b.style == 0 || b.style == 4) {
    // Air conditioners, vents and the stair hut.
    const int units = rng.Int(2, 4);
    for (int i = 0; i < units; ++i) {
      const float ux = rng.Range(x0 + 14, x1 - 34), uy = rng.Range(y0 + 14, y1 - 30);
      box(ux, uy, 20, 16, Hex(0xA4A6A8));
      c.Fill(Circle(ux + 10, uy + 8, 5.5f), Hex(0x4A4C50));
      c.Line(ux + 5, uy + 8, ux + 15, uy + 8, 1, Hex(0x8A8C90));
      c.Line(ux + 10, uy + 3, ux + 10, uy + 13, 1, Hex(0x8A8C90));
    }
    for (int i = 0; i < 4; ++i) {
      const float vx = rng.Range(x0 + 12, x1 - 12), vy = rng.Range(y0 + 12, y1 - 12);
      c.Fill(Circle(vx + 1.5f, vy + 2, 3.2f), Hex(0x000000), 0.4f);
      c.Fill(Circle(vx, vy, 3), Hex(0x6A6C70));
      c.Fill(Circle(vx, vy, 1.5f), Hex(0x222226));
    }
    const float hx = rng.Range(x0 + 12, x1 - 50), hy = rng.Range(y0 + 12, y1 - 40);
    box(hx, hy, 34, 26, Shade(b.roof, 1.35f));
    c.Fill(RectShape{hx + 2, hy + 8, hx + 32, hy + 10}, Shade(b.roof, 0.9f));
    if (b.style == 4) {
      const float tx = rng.Range(x0 + 30, x1 - 30), ty = rng.Range(y0 + 30, y1 - 30);
      Mask m = Mask::Around(Box{tx - 16, ty - 16, tx + 16, ty + 16}, 12);
      m.Add(Circle(tx, ty, 15));
      c.Shadow(m, 6, 7, 2, Hex(0x000000), 0.5f);
      c.Fill(Circle(tx, ty, 15), Hex(0x6A4C36));
      c.Fill(RingShape{tx, ty, 11, 13}, Hex(0x4A3424));
      c.Fill(Circle(tx - 4, ty - 4, 5), Hex(0x8A6A50), 0.6f);
    }
  }
  if (b.style == 2) {
    // A hospital: helipad and red cross.
    const float cx = (x0 + x1) / 2 - 20, cy = (y0 + y1) / 2;
    c.Fill(Circle(cx, cy, 44), Hex(0x5A5C5E));
    c.Fill(RingShape{cx, cy, 38, 41}, Hex(0xE0D8C0));
    const TextStyle h{.colour = Hex(0xE8E0C8)};
    DrawTextFit(c, "H", cx, cy, 80, 60, h);
    const float rx = x1 - 36, ry = y0 + 30;
    c.Fill(RectShape{rx - 14, ry - 14, rx + 14, ry + 14}, Hex(0xEEEEEA));
    c.Fill(RectShape{rx - 4, ry - 11, rx + 4, ry + 11}, Hex(0xC0201E));
    c.Fill(RectShape{rx - 11, ry - 4, rx + 11, ry + 4}, Hex(0xC0201E));
  }
  if (b.damaged) {
    // A hole burnt through the roof.
    const float hx = rng.Range(x0 + 30, x1 - 30), hy = rng.Range(y0 + 30, y1 - 30);
    Mask scorch = Mask::Around(Box{hx - 40, hy - 40, hx + 40, hy + 40}, 12);
    scorch.Add(EllipseShape{hx, hy, 34, 26, rng.Range(0, 3)});
    scorch.Blur(6);
    c.Apply(scorch, 0, 0, Hex(0x141210), 0.8f);
    PolyShape hole;
    for (int k = 0; k < 9; ++k) {
      const float a = k * 6.2832f / 9;
      const float r = rng.Range(9, 17);
      hole.p.push_back({hx + std::cos(a) * r, hy + std::sin(a) * r * 0.8f});
    }
    c.Fill(hole, Hex(0x0A0808));
    DrawRubble(c, hx + 8, hy + 6, 10, seed + 7);
  }
}

void PaintPark(Canvas& c, int x0, int y0, int x1, int y1) {
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      const float n = Fbm(float(x), float(y), 30, 4, 31);
      const float m = Fbm(float(x), float(y), 5, 2, 32);
      c.At(x, y) = Mix(Hex(0x3C6428), Hex(0x6E9440),
                       std::clamp(n * 1.3f - 0.15f + (m - 0.5f) * 0.3f, 0.0f, 1.0f));
    }
  }
  c.Grain(x0, y0, x1, y1, 9, 33);
  // Two crossing footpaths and a fountain where they meet.
  const float cx = (x0 + x1) / 2.0f, cy = (y0 + y1) / 2.0f;
  const Rgb sand = Hex(0xB0A27A);
  Mask paths = Mask::Around(Box{float(x0), float(y0), float(x1), float(y1)}, 2);
  paths.Add(CapsuleShape{float(x0), float(y0) + 8, float(x1), float(y1) - 8, 7});
  paths.Add(CapsuleShape{float(x0), float(y1) - 8, float(x1), float(y0) + 8, 7});
  paths.Add(RectShape{cx - 7, float(y0), cx + 7, float(y1)});
  c.Apply(paths, 0, 0, sand);
  c.Mottle(x0, y0, x1, y1, 8, 0.05f, 34);
  c.Fill(Circle(cx, cy, 30), Hex(0x9C9890));
  c.Fill(Circle(cx, cy, 25), Hex(0x2C4A5E));
  c.Fill(Circle(cx - 6, cy - 7, 9), Hex(0x56788C), 0.6f);
  c.Fill(Circle(cx, cy, 6), Hex(0xA8A49C));
  c.Fill(RingShape{cx, cy, 12, 13}, Hex(0x7EA0B4), 0.6f);
  // Benches along the paths.
  for (const auto& p : {Pt{cx - 60, cy - 40}, Pt{cx + 50, cy + 34}, Pt{cx + 30, cy - 64}}) {
    c.Fill(RectShape{p.x + 2, p.y + 3, p.x + 26, p.y + 11}, Hex(0x000000), 0.35f);
    c.Fill(RectShape{p.x, p.y, p.x + 24, p.y + 8}, Hex(0x7A5230));
    for (int i = 1; i < 3; ++i)
      c.Line(p.x, p.y + i * 2.7f, p.x + 24, p.y + i * 2.7f, 0.7f, Hex(0x4E3218));
  }
  // Trees, kept off the paths.
  Rng rng(35);
  int placed = 0;
  for (int tries = 0; tries < 400 && placed < 16; ++tries) {
    const float tx = rng.Range(x0 + 14, x1 - 14), ty = rng.Range(y0 + 14, y1 - 14);
    const float r = rng.Range(12, 19);
    bool clear = std::hypot(tx - cx, ty - cy) > 30 + r;
    for (int k = -1; k <= 1 && clear; ++k) {
      for (int j = -1; j <= 1; ++j) {
        if (paths.At(static_cast<int>(tx) + k * int(r) - paths.OX(),
                     static_cast<int>(ty) + j * int(r) - paths.OY()) > 0.1f) {
          clear = false;
        }
      }
    }
    if (!clear) continue;
    DrawTree(c, tx, ty, r, 40u + static_cast<std::uint32_t>(placed));
    ++placed;
  }
  DrawBlood(c, cx + 70, cy + 10, 9, 36);
  DrawBlood(c, cx - 90, cy + 40, 6, 37);
}

void PaintCarPark(Canvas& c, int x0, int y0, int x1, int y1) {
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) c.At(x, y) = Hex(0x55565A);
  }
  c.Mottle(x0, y0, x1, y1, 40, 0.12f, 51);
  c.Grain(x0, y0, x1, y1, 7, 52);
  const Rgb line = Hex(0xCFCDC4);
  // Two rows of bays facing a driving lane.
  const int rowsY[2] = {y0 + 4, y1 - 52};
  Rng rng(53);
  const Rgb colours[] = {Hex(0x8E1E1E), Hex(0x1E3E7A), Hex(0xC8C8C4), Hex(0x2A2A2E),
                         Hex(0x4E6A3A), Hex(0xB89A34), Hex(0x6A6E74)};
  int car = 0;
  for (int row = 0; row < 2; ++row) {
    const float top = static_cast<float>(rowsY[row]);
    for (float x = x0 + 8; x + 28 <= x1 - 4; x += 30) {
      c.Line(x, top, x, top + 48, 2, line, 0.8f);
      if (x + 58 > x1 - 4) c.Line(x + 30, top, x + 30, top + 48, 2, line, 0.8f);
      if (rng.Chance(0.62f)) {
        const int damage = rng.Chance(0.15f) ? 2 : (rng.Chance(0.2f) ? 1 : 0);
        const Rgb colour = colours[rng.Int(0, 6)];
        const float angle = 1.5708f + rng.Range(-0.08f, 0.08f);
        DrawCar(c, x + 15, top + 24, angle, 44, colour, damage,
                60u + static_cast<std::uint32_t>(car++));
      }
    }
  }
  DrawOil(c, x0 + 120, y0 + 70, 12, 54);
  DrawRubble(c, x1 - 40, y0 + 76, 16, 55);
  DrawBlood(c, x0 + 60, y0 + 80, 8, 56);
}

void PaintCollapse(Canvas& c, int x0, int y0, int x1, int y1) {
  // What is left of a building: broken walls round a heap.
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) c.At(x, y) = Hex(0x5E5850);
  }
  c.Mottle(x0, y0, x1, y1, 12, 0.2f, 71);
  c.Grain(x0, y0, x1, y1, 10, 72);
  const Rgb wall = Hex(0x9A948A);
  const float fx0 = x0 + 6, fy0 = y0 + 6, fx1 = x1 - 6, fy1 = y1 - 6;
  c.Line(fx0, fy0, fx0 + 50, fy0, 5, wall);
  c.Line(fx0, fy0, fx0, fy1 - 20, 5, wall);
  c.Line(fx1 - 30, fy1, fx1, fy1, 5, wall);
  c.Line(fx1, fy1, fx1, fy0 + 40, 5, wall);
  DrawRubble(c, (x0 + x1) / 2.0f, (y0 + y1) / 2.0f, 30, 73);
  DrawRubble(c, x0 + 26.0f, y1 - 22.0f, 16, 74);
  DrawRubble(c, x1 - 24.0f, y0 + 24.0f, 14, 75);
}

}  // namespace

Canvas PaintCity(std::vector<bool>* roofs) {
  Canvas c(kW, kH, kAsphalt);
  PaintRoads(c);

  const Block blocks[9] = {
      {0, 0, 240, 200},   {320, 0, 680, 200},   {760, 0, 1000, 200},
      {0, 280, 240, 480}, {320, 280, 680, 480}, {760, 280, 1000, 480},
      {0, 560, 240, 720}, {320, 560, 680, 720}, {760, 560, 1000, 720},
  };
  for (const Block& b : blocks) PaintBlockGround(c, b, kAlley);

  // Special lots first: the park, the car park, the collapsed building.
  PaintPark(c, 334, 294, 666, 466);
  PaintCarPark(c, 334, 574, 666, 720);
  PaintCollapse(c, 120, 392, 226, 466);
  // A lawn with a hedge in the corner block.
  for (int y = 574; y < 720; ++y) {
    for (int x = 880; x < 1000; ++x) {
      c.At(x, y) = Mix(Hex(0x40682C), Hex(0x5E8A3A), Fbm(float(x), float(y), 14, 3, 81));
    }
  }
  c.Grain(880, 574, 1000, 720, 8, 82);
  DrawTree(c, 920, 620, 18, 83);
  DrawTree(c, 966, 690, 15, 84);

  const std::vector<Building> buildings = {
      {0, 0, 130, 186, 0, Hex(0x5E5C5A), false},     {142, 0, 226, 118, 1, Hex(0x7E3A2C), false},
      {334, 0, 524, 186, 2, Hex(0x8A8A86), false},   {538, 16, 666, 186, 4, Hex(0x6E6660), true},
      {774, 0, 1000, 108, 3, Hex(0x4E5E5A), false},  {774, 122, 880, 186, 1, Hex(0x5A4A3A), false},
      {0, 294, 108, 466, 4, Hex(0x6A6258), false},   {120, 294, 226, 380, 0, Hex(0x545456), false},
      {774, 294, 1000, 398, 0, Hex(0x626068), true}, {774, 410, 870, 466, 1, Hex(0x6E3A30), false},
      {0, 574, 226, 720, 3, Hex(0x5A5E64), false},   {774, 574, 868, 720, 4, Hex(0x706A5E), false},
  };
  std::uint32_t seed = 100;
  for (const Building& b : buildings) PaintBuilding(c, b, seed += 17);

  // A yard behind the tiled house: grass, bins and a stain.
  for (int y = 128; y < 186; ++y) {
    for (int x = 142; x < 226; ++x) {
      c.At(x, y) = Mix(Hex(0x3E5E2A), Hex(0x5A7E38), Fbm(float(x), float(y), 10, 3, 91));
    }
  }
  c.Grain(142, 128, 226, 186, 8, 92);
  DrawTree(c, 200, 160, 14, 93);
  c.Fill(RectShape{152, 136, 164, 150}, Hex(0x2E5A3A));
  c.Fill(RectShape{166, 136, 178, 150}, Hex(0x2E4A6A));
  // A lawn beside the small house on the east side.
  for (int y = 410; y < 466; ++y) {
    for (int x = 880; x < 1000; ++x) {
      c.At(x, y) = Mix(Hex(0x40682C), Hex(0x5E8A3A), Fbm(float(x), float(y), 12, 3, 94));
    }
  }
  c.Grain(880, 410, 1000, 466, 8, 95);
  DrawTree(c, 930, 438, 16, 96);

  // Street life after the end: cars where they stopped, rubble, stains.
  struct CarPlace {
    float x, y, angle;
    std::uint32_t colour;
    int damage;
  };
  const CarPlace cars[] = {
      {70, 222, 0.05f, 0x8E1E1E, 0},   {150, 262, 3.2f, 0x1E3E7A, 1},
      {420, 226, -0.35f, 0xD0D0CC, 0}, {470, 254, 0.6f, 0x2A2A2E, 2},
      {610, 220, 3.05f, 0xB89A34, 0},  {266, 120, 1.62f, 0x4E6A3A, 0},
      {296, 380, -1.45f, 0x6A6E74, 1}, {706, 90, 1.5f, 0xEEEEEA, 0},
      {740, 330, 1.2f, 0x1E1E22, 2},   {860, 238, 0.02f, 0x7A2A5A, 0},
      {950, 262, 3.1f, 0x3A5A8A, 0},   {560, 508, 0.25f, 0x8A8A84, 0},
      {120, 528, 3.3f, 0xB03A1E, 1},   {846, 500, -0.1f, 0x2E4E2E, 0},
      {720, 640, 1.65f, 0xC8C8C4, 2},  {262, 650, -1.5f, 0x8E1E1E, 0},
  };
  std::uint32_t carSeed = 200;
  for (const CarPlace& p : cars) {
    DrawCar(c, p.x, p.y, p.angle, 46, Hex(p.colour), p.damage, carSeed++);
  }
  // A police car across the crossing, its light bar still on the roof.
  DrawCar(c, 708, 514, 0.9f, 48, Hex(0xE8E8E4), 0, 230);
  c.Fill(Rotate(RectShape{704, 508, 712, 520}, 708, 514, 0.9f), Hex(0x2040C0));
  c.Fill(Rotate(RectShape{704, 508, 712, 514}, 708, 514, 0.9f), Hex(0xC02020));

  const struct {
    float x, y, r;
  } rubble[] = {{300, 470, 14}, {520, 276, 12}, {42, 540, 16}, {800, 236, 11},
                {640, 470, 10}, {980, 520, 14}, {246, 30, 12}};
  std::uint32_t rubbleSeed = 300;
  for (const auto& r : rubble) DrawRubble(c, r.x, r.y, r.r, rubbleSeed++);

  const struct {
    float x, y, r;
  } blood[] = {{100, 246, 10}, {380, 264, 7},  {294, 172, 9}, {520, 210, 6},
               {910, 224, 11}, {180, 500, 8},  {636, 538, 7}, {724, 420, 9},
               {30, 206, 5},   {450, 545, 10}, {820, 668, 6}, {304, 600, 8}};
  std::uint32_t bloodSeed = 400;
  for (const auto& b : blood) DrawBlood(c, b.x, b.y, b.r, bloodSeed++);
  const struct {
    float x, y, r;
  } oil[] = {{200, 236, 10}, {660, 250, 9}, {268, 430, 8}, {880, 530, 11}, {720, 160, 8}};
  std::uint32_t oilSeed = 500;
  for (const auto& o : oil) DrawOil(c, o.x, o.y, o.r, oilSeed++);
  // Cracks and manholes in the asphalt.
  Rng rng(600);
  for (int i = 0; i < 22; ++i) {
    float x, y;
    do {
      x = rng.Range(0, kW);
      y = rng.Range(0, kH);
    } while (!OnRoad(x, y) || InIntersection(x, y));
    const float angle = rng.Range(0, 6.28f);
    const float length = rng.Range(14, 40);
    DrawCrack(c, x, y, length, angle, 700u + static_cast<std::uint32_t>(i));
  }
  for (const Pt& m : {Pt{180, 248}, Pt{540, 520}, Pt{292, 610}, Pt{728, 70}}) {
    c.Fill(Circle(m.x, m.y, 8), Hex(0x2A2A2C));
    c.Fill(RingShape{m.x, m.y, 6.5f, 8}, Hex(0x5A5A5C));
    for (int k = -2; k <= 2; ++k)
      c.Line(m.x - 5, m.y + k * 2.2f, m.x + 5, m.y + k * 2.2f, 0.7f, Hex(0x48484A));
  }

  if (roofs != nullptr) {
    roofs->assign(static_cast<std::size_t>(25 * 18), false);
    for (int r = 0; r < 18; ++r) {
      for (int col = 0; col < 25; ++col) {
        const float cx = col * 40 + 20.0f, cy = r * 40 + 20.0f;
        for (const Building& b : buildings) {
          if (cx >= b.x0 && cx < b.x1 && cy >= b.y0 && cy < b.y1) {
            (*roofs)[static_cast<std::size_t>(r * 25 + col)] = true;
          }
        }
      }
    }
  }
  return c;
}

}  // namespace datakit
