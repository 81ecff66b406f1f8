// Placeholder until the FreeType text route lands: draws the opaque box only.
#include "platform/text.h"

#include <cstring>

namespace platform {

int TextLineHeight() { return 16; }

HRESULT DrawTextCp949(Surface& surface, const char* text, std::uint32_t backColour,
                      std::uint32_t, int x, int y) {
  if (surface.IsLost()) return DDERR_SURFACELOST;
  const int len = static_cast<int>(std::strlen(text));
  if (len == 0) return DD_OK;
  const std::uint8_t b = (backColour >> 16) & 0xFF, g = (backColour >> 8) & 0xFF,
                     r = backColour & 0xFF;
  for (int row = y; row < y + TextLineHeight(); ++row) {
    if (row < 0 || row >= surface.Height()) continue;
    for (int col = x; col < x + len * 8; ++col) {
      if (col < 0 || col >= surface.Width()) continue;
      std::uint8_t* p = surface.Row(row) + col * 3;
      p[0] = b;
      p[1] = g;
      p[2] = r;
    }
  }
  return DD_OK;
}

}  // namespace platform
