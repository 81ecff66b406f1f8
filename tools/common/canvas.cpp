#include "common/canvas.h"

#include "common/rng.h"

namespace datakit {

namespace {

// One box blur pass along rows (horizontal) or columns.
void BoxPass(std::vector<float>& a, int w, int h, int r, bool horizontal) {
  std::vector<float> out(a.size());
  const int n = horizontal ? w : h;
  const int lines = horizontal ? h : w;
  std::vector<float> line(static_cast<std::size_t>(n));
  for (int l = 0; l < lines; ++l) {
    auto at = [&](int i) -> float& {
      return horizontal ? a[static_cast<std::size_t>(l) * w + i]
                        : a[static_cast<std::size_t>(i) * w + l];
    };
    for (int i = 0; i < n; ++i) line[static_cast<std::size_t>(i)] = at(i);
    float sum = 0;
    for (int i = -r; i <= r; ++i) sum += (i >= 0 && i < n) ? line[static_cast<std::size_t>(i)] : 0;
    for (int i = 0; i < n; ++i) {
      const std::size_t o =
          horizontal ? static_cast<std::size_t>(l) * w + i : static_cast<std::size_t>(i) * w + l;
      out[o] = sum / (2 * r + 1);
      const int add = i + r + 1, drop = i - r;
      if (add < n) sum += line[static_cast<std::size_t>(add)];
      if (drop >= 0) sum -= line[static_cast<std::size_t>(drop)];
    }
  }
  a.swap(out);
}

}  // namespace

void Mask::Blur(int radius) {
  if (radius <= 0 || a_.empty()) return;
  for (int pass = 0; pass < 3; ++pass) {
    BoxPass(a_, w_, h_, radius, true);
    BoxPass(a_, w_, h_, radius, false);
  }
}

void Mask::Dilate(float radius) {
  if (radius <= 0 || a_.empty()) return;
  const int r = static_cast<int>(std::ceil(radius));
  std::vector<float> out(a_.size(), 0.0f);
  for (int y = 0; y < h_; ++y) {
    for (int x = 0; x < w_; ++x) {
      float best = 0;
      for (int dy = -r; dy <= r; ++dy) {
        for (int dx = -r; dx <= r; ++dx) {
          const float d = std::sqrt(static_cast<float>(dx * dx + dy * dy));
          if (d > radius + 0.5f) continue;
          // Soft rim: the outermost half pixel counts partly.
          const float weight = std::clamp(radius + 0.5f - d, 0.0f, 1.0f);
          best = std::max(best, At(x + dx, y + dy) * weight);
        }
      }
      out[static_cast<std::size_t>(y) * w_ + x] = best;
    }
  }
  a_.swap(out);
}

float Mask::Sample(float x, float y) const {
  const float fx = std::floor(x), fy = std::floor(y);
  const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  const float tx = x - fx, ty = y - fy;
  const float a = At(ix, iy), b = At(ix + 1, iy), c = At(ix, iy + 1), d = At(ix + 1, iy + 1);
  return (a + (b - a) * tx) * (1 - ty) + (c + (d - c) * tx) * ty;
}

void Canvas::Apply(const Mask& mask, int dx, int dy, Rgb colour, float alpha) {
  for (int y = 0; y < mask.H(); ++y) {
    for (int x = 0; x < mask.W(); ++x) {
      const float a = mask.At(x, y) * alpha;
      if (a > 0) Blend(x + mask.OX() + dx, y + mask.OY() + dy, colour, a);
    }
  }
}

void Canvas::VGradient(int x0, int y0, int x1, int y1, Rgb top, Rgb bottom) {
  for (int y = std::max(0, y0); y < std::min(h_, y1); ++y) {
    const float t = y1 - y0 > 1 ? static_cast<float>(y - y0) / (y1 - y0 - 1) : 0;
    const Rgb c = Mix(top, bottom, t);
    for (int x = std::max(0, x0); x < std::min(w_, x1); ++x) {
      At(x, y) = c;
      alpha_[static_cast<std::size_t>(y) * w_ + x] = 1;
    }
  }
}

void Canvas::Grain(int x0, int y0, int x1, int y1, float amount, std::uint32_t seed) {
  for (int y = std::max(0, y0); y < std::min(h_, y1); ++y) {
    for (int x = std::max(0, x0); x < std::min(w_, x1); ++x) {
      const float n = (Hash2(x, y, seed) * 2 - 1) * amount;
      Rgb& p = At(x, y);
      p = {p.r + n, p.g + n, p.b + n};
    }
  }
}

void Canvas::Mottle(int x0, int y0, int x1, int y1, float scale, float depth, std::uint32_t seed) {
  for (int y = std::max(0, y0); y < std::min(h_, y1); ++y) {
    for (int x = std::max(0, x0); x < std::min(w_, x1); ++x) {
      const float n = Fbm(static_cast<float>(x), static_cast<float>(y), scale, 4, seed);
      At(x, y) = At(x, y) * (1 - depth + depth * 2 * n);
    }
  }
}

void Canvas::Bevel(int x0, int y0, int x1, int y1, int width, float light, float dark) {
  for (int i = 0; i < width; ++i) {
    const float fade = 1.0f - static_cast<float>(i) / width * 0.5f;
    for (int x = x0 + i; x < x1 - i; ++x) {
      if (Inside(x, y0 + i)) At(x, y0 + i) = Mix(At(x, y0 + i), Hex(0xFFFFFF), light * fade);
      if (Inside(x, y1 - 1 - i)) At(x, y1 - 1 - i) = At(x, y1 - 1 - i) * (1 - dark * fade);
    }
    for (int y = y0 + i + 1; y < y1 - i - 1; ++y) {
      if (Inside(x0 + i, y)) At(x0 + i, y) = Mix(At(x0 + i, y), Hex(0xFFFFFF), light * fade);
      if (Inside(x1 - 1 - i, y)) At(x1 - 1 - i, y) = At(x1 - 1 - i, y) * (1 - dark * fade);
    }
  }
}

void Canvas::Shadow(const Mask& mask, int dx, int dy, int blur, Rgb colour, float alpha) {
  Mask soft = mask;
  soft.Blur(blur);
  Apply(soft, dx, dy, colour, alpha);
}

void Canvas::Paste(const Canvas& src, int dx, int dy) {
  for (int y = 0; y < src.H(); ++y) {
    for (int x = 0; x < src.W(); ++x) {
      if (!Inside(x + dx, y + dy)) continue;
      At(x + dx, y + dy) = src.At(x, y);
      alpha_[static_cast<std::size_t>(y + dy) * w_ + x + dx] = src.Alpha(x, y);
    }
  }
}

std::vector<std::uint8_t> Canvas::SpriteBgr() const {
  std::vector<std::uint8_t> out;
  out.reserve(px_.size() * 3);
  for (std::size_t i = 0; i < px_.size(); ++i) {
    const float a = alpha_[i];
    if (a < 0.5f) {
      out.insert(out.end(), {0, 0, 0});
      continue;
    }
    const Rgb p = px_[i] * (1.0f / a);
    std::uint8_t b = ToByte(p.b), g = ToByte(p.g), r = ToByte(p.r);
    if (b == 0 && g == 0 && r == 0) b = g = r = 1;
    out.insert(out.end(), {b, g, r});
  }
  return out;
}

std::vector<std::uint8_t> Canvas::ToBgr() const { return CropBgr(0, 0, w_, h_); }

std::vector<std::uint8_t> Canvas::CropBgr(int x0, int y0, int w, int h) const {
  std::vector<std::uint8_t> out;
  out.reserve(static_cast<std::size_t>(w) * h * 3);
  for (int y = y0; y < y0 + h; ++y) {
    for (int x = x0; x < x0 + w; ++x) {
      const Rgb p = Inside(x, y) ? At(x, y) : Rgb{};
      out.push_back(ToByte(p.b));
      out.push_back(ToByte(p.g));
      out.push_back(ToByte(p.r));
    }
  }
  return out;
}

}  // namespace datakit
