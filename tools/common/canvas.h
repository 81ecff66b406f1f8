// A small painter for the generated pictures: an RGB canvas of floats
// (0 to 255 a channel) with anti-aliased shapes, gradients, noise, blurred
// masks for shadows and glows, and conversion to the game's B, G, R bytes.
//
// A shape is an inside test over a bounding box; its coverage of a pixel is
// measured with 4 x 4 samples, which gives smooth edges to every shape
// without a rasteriser per kind.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace datakit {

struct Rgb {
  float r = 0, g = 0, b = 0;
};
inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator*(Rgb a, float k) { return {a.r * k, a.g * k, a.b * k}; }
inline Rgb Mix(Rgb a, Rgb b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
// 0xRRGGBB.
constexpr Rgb Hex(std::uint32_t rgb) {
  return {static_cast<float>((rgb >> 16) & 0xFF), static_cast<float>((rgb >> 8) & 0xFF),
          static_cast<float>(rgb & 0xFF)};
}
inline Rgb Shade(Rgb c, float k) { return c * k; }

struct Pt {
  float x = 0, y = 0;
};

// ---- Inside tests --------------------------------------------------------------
// Each is a small value with a bounding box and `bool In(x, y) const`.

struct Box {
  float x0, y0, x1, y1;
};

struct RectShape {
  float x0, y0, x1, y1;
  Box Bounds() const { return {x0, y0, x1, y1}; }
  bool In(float x, float y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

struct RoundRectShape {
  float x0, y0, x1, y1, r;
  Box Bounds() const { return {x0, y0, x1, y1}; }
  bool In(float x, float y) const {
    if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
    const float cx = std::clamp(x, x0 + r, x1 - r), cy = std::clamp(y, y0 + r, y1 - r);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
  }
};

struct EllipseShape {
  float cx, cy, rx, ry, angle = 0;  // angle in radians
  Box Bounds() const {
    const float m = std::max(rx, ry);
    return {cx - m, cy - m, cx + m, cy + m};
  }
  bool In(float x, float y) const {
    const float dx = x - cx, dy = y - cy;
    if (angle == 0) return (dx * dx) / (rx * rx) + (dy * dy) / (ry * ry) <= 1.0f;
    const float c = std::cos(angle), s = std::sin(angle);
    const float u = (dx * c + dy * s) / rx, v = (-dx * s + dy * c) / ry;
    return u * u + v * v <= 1.0f;
  }
};

inline EllipseShape Circle(float cx, float cy, float r) { return {cx, cy, r, r, 0}; }

struct RingShape {
  float cx, cy, r0, r1;
  Box Bounds() const { return {cx - r1, cy - r1, cx + r1, cy + r1}; }
  bool In(float x, float y) const {
    const float d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
    return d <= r1 * r1 && d >= r0 * r0;
  }
};

// A thick segment with round ends.
struct CapsuleShape {
  float ax, ay, bx, by, r;
  Box Bounds() const {
    return {std::min(ax, bx) - r, std::min(ay, by) - r, std::max(ax, bx) + r, std::max(ay, by) + r};
  }
  bool In(float x, float y) const {
    const float vx = bx - ax, vy = by - ay;
    const float len2 = vx * vx + vy * vy;
    float t = len2 > 0 ? ((x - ax) * vx + (y - ay) * vy) / len2 : 0;
    t = std::clamp(t, 0.0f, 1.0f);
    const float dx = x - (ax + t * vx), dy = y - (ay + t * vy);
    return dx * dx + dy * dy <= r * r;
  }
};

// A polygon, filled by the even-odd rule.
struct PolyShape {
  std::vector<Pt> p;
  Box Bounds() const {
    Box b{1e9f, 1e9f, -1e9f, -1e9f};
    for (const Pt& q : p) {
      b.x0 = std::min(b.x0, q.x);
      b.y0 = std::min(b.y0, q.y);
      b.x1 = std::max(b.x1, q.x);
      b.y1 = std::max(b.y1, q.y);
    }
    return b;
  }
  bool In(float x, float y) const {
    bool in = false;
    for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
      if ((p[i].y > y) != (p[j].y > y) &&
          x < (p[j].x - p[i].x) * (y - p[i].y) / (p[j].y - p[i].y) + p[i].x) {
        in = !in;
      }
    }
    return in;
  }
};

// Any shape turned by an angle (radians, clockwise on screen) about (cx, cy).
template <class Shape>
struct Rotated {
  Shape shape;
  float cx, cy, c, s;  // centre, cosine and sine of the angle
  Box Bounds() const {
    const Box b = shape.Bounds();
    Box out{1e9f, 1e9f, -1e9f, -1e9f};
    for (const Pt& p : {Pt{b.x0, b.y0}, Pt{b.x1, b.y0}, Pt{b.x0, b.y1}, Pt{b.x1, b.y1}}) {
      const float dx = p.x - cx, dy = p.y - cy;
      const float x = cx + dx * c - dy * s, y = cy + dx * s + dy * c;
      out = {std::min(out.x0, x), std::min(out.y0, y), std::max(out.x1, x), std::max(out.y1, y)};
    }
    return out;
  }
  bool In(float x, float y) const {
    const float dx = x - cx, dy = y - cy;
    return shape.In(cx + dx * c + dy * s, cy - dx * s + dy * c);
  }
};
template <class Shape>
Rotated<Shape> Rotate(const Shape& shape, float cx, float cy, float angle) {
  return {shape, cx, cy, std::cos(angle), std::sin(angle)};
}

// ---- Coverage ------------------------------------------------------------------------

// Calls visit(x, y, coverage) for every pixel of the area (x0, y0, w, h)
// that the shape touches, coverage in (0, 1].
template <class Shape, class Visit>
void ForCoverage(const Shape& shape, int ax, int ay, int w, int h, Visit visit) {
  const Box b = shape.Bounds();
  const int x0 = std::max(ax, static_cast<int>(std::floor(b.x0)));
  const int y0 = std::max(ay, static_cast<int>(std::floor(b.y0)));
  const int x1 = std::min(ax + w - 1, static_cast<int>(std::ceil(b.x1)));
  const int y1 = std::min(ay + h - 1, static_cast<int>(std::ceil(b.y1)));
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      int hits = 0;
      for (int sy = 0; sy < 4; ++sy) {
        for (int sx = 0; sx < 4; ++sx) {
          if (shape.In(x + (sx + 0.5f) * 0.25f, y + (sy + 0.5f) * 0.25f)) ++hits;
        }
      }
      if (hits > 0) visit(x, y, hits / 16.0f);
    }
  }
}

// ---- Mask ----------------------------------------------------------------------------

// Coverage values over a rectangle of the canvas whose top left is (ox, oy).
// Shapes are given in canvas coordinates; At and Ref take mask coordinates.
class Mask {
 public:
  Mask() = default;
  Mask(int w, int h) : Mask(0, 0, w, h) {}
  Mask(int ox, int oy, int w, int h)
      : ox_(ox),
        oy_(oy),
        w_(std::max(w, 0)),
        h_(std::max(h, 0)),
        a_(static_cast<std::size_t>(w_) * h_, 0.0f) {}
  // A mask around a box, with room for `pad` pixels of blur or growth.
  static Mask Around(const Box& b, int pad) {
    const int x0 = static_cast<int>(std::floor(b.x0)) - pad;
    const int y0 = static_cast<int>(std::floor(b.y0)) - pad;
    const int x1 = static_cast<int>(std::ceil(b.x1)) + pad;
    const int y1 = static_cast<int>(std::ceil(b.y1)) + pad;
    return Mask(x0, y0, x1 - x0 + 1, y1 - y0 + 1);
  }
  int W() const { return w_; }
  int H() const { return h_; }
  int OX() const { return ox_; }
  int OY() const { return oy_; }
  float At(int x, int y) const {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return 0;
    return a_[static_cast<std::size_t>(y) * w_ + x];
  }
  float& Ref(int x, int y) { return a_[static_cast<std::size_t>(y) * w_ + x]; }

  template <class Shape>
  void Add(const Shape& shape, float alpha = 1.0f) {
    ForCoverage(shape, ox_, oy_, w_, h_, [&](int x, int y, float c) {
      float& a = Ref(x - ox_, y - oy_);
      a = a + c * alpha * (1 - a);
    });
  }
  template <class Shape>
  void Cut(const Shape& shape) {
    ForCoverage(shape, ox_, oy_, w_, h_,
                [&](int x, int y, float c) { Ref(x - ox_, y - oy_) *= 1 - c; });
  }
  // Three box blurs of the given radius: close to a Gaussian.
  void Blur(int radius);
  // Grows the mask by `radius` pixels (the largest value within a disc).
  void Dilate(float radius);
  // Bilinear sample at a fractional position, in mask coordinates.
  float Sample(float x, float y) const;

 private:
  int ox_ = 0, oy_ = 0, w_ = 0, h_ = 0;
  std::vector<float> a_;
};

// ---- Canvas --------------------------------------------------------------------------

class Canvas {
 public:
  // A canvas starts transparent (its alpha 0) in the fill colour; pictures
  // ignore the alpha, sprites are keyed by it.
  Canvas(int w, int h, Rgb fill = {})
      : w_(w),
        h_(h),
        px_(static_cast<std::size_t>(w) * h, fill),
        alpha_(static_cast<std::size_t>(w) * h, 0.0f) {}
  int W() const { return w_; }
  int H() const { return h_; }
  Rgb& At(int x, int y) { return px_[static_cast<std::size_t>(y) * w_ + x]; }
  const Rgb& At(int x, int y) const { return px_[static_cast<std::size_t>(y) * w_ + x]; }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }

  void Blend(int x, int y, Rgb c, float a) {
    if (!Inside(x, y) || a <= 0) return;
    a = std::min(a, 1.0f);
    const std::size_t i = static_cast<std::size_t>(y) * w_ + x;
    px_[i] = Mix(px_[i], c, a);
    alpha_[i] += a * (1 - alpha_[i]);
  }
  float Alpha(int x, int y) const { return alpha_[static_cast<std::size_t>(y) * w_ + x]; }

  // Fills a shape with a colour.
  template <class Shape>
  void Fill(const Shape& shape, Rgb colour, float alpha = 1.0f) {
    ForCoverage(shape, 0, 0, w_, h_,
                [&](int x, int y, float c) { Blend(x, y, colour, c * alpha); });
  }
  // Fills a shape with a colour that depends on the position.
  template <class Shape, class Paint>
  void FillWith(const Shape& shape, Paint paint, float alpha = 1.0f) {
    ForCoverage(shape, 0, 0, w_, h_,
                [&](int x, int y, float c) { Blend(x, y, paint(x + 0.5f, y + 0.5f), c * alpha); });
  }
  // Multiplies the colours under a shape by k (darker below 1).
  template <class Shape>
  void Darken(const Shape& shape, float k) {
    ForCoverage(shape, 0, 0, w_, h_, [&](int x, int y, float c) {
      Rgb& p = At(x, y);
      p = Mix(p, p * k, c);
    });
  }

  // Paints `colour` through a mask, moved by (dx, dy) from its place.
  void Apply(const Mask& mask, int dx, int dy, Rgb colour, float alpha = 1.0f);
  template <class Paint>
  void ApplyWith(const Mask& mask, int dx, int dy, Paint paint, float alpha = 1.0f) {
    for (int y = 0; y < mask.H(); ++y) {
      for (int x = 0; x < mask.W(); ++x) {
        const float a = mask.At(x, y) * alpha;
        const int px = x + mask.OX() + dx, py = y + mask.OY() + dy;
        if (a > 0) Blend(px, py, paint(px + 0.5f, py + 0.5f), a);
      }
    }
  }

  // A straight line of the given width (round ends).
  void Line(float ax, float ay, float bx, float by, float width, Rgb colour, float alpha = 1.0f) {
    Fill(CapsuleShape{ax, ay, bx, by, width * 0.5f}, colour, alpha);
  }
  // Vertical gradient over a rectangle.
  void VGradient(int x0, int y0, int x1, int y1, Rgb top, Rgb bottom);
  // Adds grain: each pixel of the rectangle moves by up to +-amount, the same
  // on every channel.
  void Grain(int x0, int y0, int x1, int y1, float amount, std::uint32_t seed);
  // Multiplies the rectangle by 1 - depth + depth * fbm, a mottled texture.
  void Mottle(int x0, int y0, int x1, int y1, float scale, float depth, std::uint32_t seed);
  // A raised (or sunken) bevel along the inner border of a rectangle.
  void Bevel(int x0, int y0, int x1, int y1, int width, float light, float dark);
  // Draws a soft shadow of a mask, moved and blurred (the mask needs room
  // around its shape for the blur).
  void Shadow(const Mask& mask, int dx, int dy, int blur, Rgb colour, float alpha);
  // Copies another canvas with its top left at (dx, dy).
  void Paste(const Canvas& src, int dx, int dy);

  // The game's pixels: rows top first, 3 bytes B, G, R a pixel.
  std::vector<std::uint8_t> ToBgr() const;
  std::vector<std::uint8_t> CropBgr(int x, int y, int w, int h) const;
  // A sprite frame: a canvas drawn over black is its colours premultiplied
  // by its alpha. Pixels under half covered become black, the transparent
  // colour; the others get their full colour back, and never pure black.
  std::vector<std::uint8_t> SpriteBgr() const;

 private:
  int w_, h_;
  std::vector<Rgb> px_;
  std::vector<float> alpha_;
};

inline std::uint8_t ToByte(float v) {
  return static_cast<std::uint8_t>(std::clamp(static_cast<int>(std::lround(v)), 0, 255));
}

}  // namespace datakit
