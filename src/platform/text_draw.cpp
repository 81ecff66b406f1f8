// Text on a surface, the part every platform shares: the call as the game
// makes it, down to the box cut to the surface; then the platform's route
// draws the box (text_route.h). For the routes that lay out glyph coverage,
// the opaque box and the glyphs' pixels are set here too.
#include <algorithm>
#include <cstring>

#include "platform/backend.h"
#include "platform/headless/headless.h"
#include "platform/text.h"
#include "platform/text_route.h"

namespace platform {
namespace {

TextRoute& Ready() {
  TextRoute& route = NativeTextRoute();
  route.EnsureReady();
  return route;
}

}  // namespace

int TextLineHeight() { return Ready().LineCell(); }

int TextWidthCp949(const char* text) {
  if (text == nullptr || text[0] == 0) return 0;
  return Ready().LayOut(text, std::strlen(text));
}

std::string TextFaceDescription() { return Ready().FaceDescription(); }
std::string TextRouteVersions() { return Ready().Versions(); }
bool TextFaceHasHangul() { return Ready().HasHangul(); }
void ReleaseText() { NativeTextRoute().Release(); }

HRESULT DrawTextCp949(Surface& surface, const char* text, std::uint32_t backColour,
                      std::uint32_t textColour, int x, int y) {
  if (HeadlessRecorder* r = ActiveRecorder(); r != nullptr && text != nullptr) {
    r->TextDrawn(text, backColour, textColour, x, y);
  }
  if (surface.IsLost()) return DDERR_SURFACELOST;
  if (text == nullptr) return DDERR_INVALIDPARAMS;
  const std::size_t length = std::strlen(text);
  if (length == 0) return DD_OK;
  TextRoute& route = Ready();
  const long long width = route.LayOut(text, length);
  const long long cell = route.LineCell();
  // The box, cut to the surface. 64-bit sums: no position can wrap into it.
  Rect box;
  box.left = static_cast<int>(std::max<long long>(x, 0));
  box.top = static_cast<int>(std::max<long long>(y, 0));
  box.right = static_cast<int>(std::min<long long>(x + width, surface.Width()));
  box.bottom = static_cast<int>(std::min<long long>(y + cell, surface.Height()));
  if (box.left >= box.right || box.top >= box.bottom) return DD_OK;
  return route.DrawLaid(surface, box, x, y, backColour, textColour);
}

HRESULT DrawGlyphCoverage(Surface& surface, const Rect& box, int x, int y,
                          const std::vector<GlyphInk>& glyphs, std::uint32_t backColour,
                          std::uint32_t textColour) {
  const std::uint8_t back[3] = {static_cast<std::uint8_t>(backColour >> 16),
                                static_cast<std::uint8_t>(backColour >> 8),
                                static_cast<std::uint8_t>(backColour)};
  for (int row = box.top; row < box.bottom; ++row) {
    std::uint8_t* p = surface.Row(row) + static_cast<std::size_t>(box.left) * 3;
    if (back[0] == back[1] && back[1] == back[2]) {
      std::memset(p, back[0], static_cast<std::size_t>(box.right - box.left) * 3);
      continue;
    }
    for (int col = box.left; col < box.right; ++col, p += 3) std::memcpy(p, back, 3);
  }

  const std::uint8_t ink[3] = {static_cast<std::uint8_t>(textColour >> 16),
                               static_cast<std::uint8_t>(textColour >> 8),
                               static_cast<std::uint8_t>(textColour)};
  long long pen = x;
  for (const GlyphInk& g : glyphs) {
    const long long gx = pen + g.left;
    const long long gy = static_cast<long long>(y) + g.top;
    pen += g.advance;
    if (g.ink == nullptr) continue;
    const int r0 = static_cast<int>(std::max<long long>(0, box.top - gy));
    const int r1 = static_cast<int>(std::min<long long>(g.height, box.bottom - gy));
    const int c0 = static_cast<int>(std::max<long long>(0, box.left - gx));
    const int c1 = static_cast<int>(std::min<long long>(g.width, box.right - gx));
    for (int r = r0; r < r1; ++r) {
      const std::uint8_t* src = g.ink + static_cast<std::size_t>(r) * g.width;
      std::uint8_t* dst = surface.Row(static_cast<int>(gy + r));
      for (int c = c0; c < c1; ++c) {
        if (src[c] != 0) std::memcpy(dst + (gx + c) * 3, ink, 3);
      }
    }
  }
  return DD_OK;
}

}  // namespace platform
