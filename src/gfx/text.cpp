#include "gfx/text.h"

#include "platform/text.h"

HRESULT PrintText(Surface* surface, const char* text, std::uint32_t backColour,
                  std::uint32_t textColour, int x, int y) {
  if (surface == nullptr || text == nullptr) return E_FAIL;
  return platform::DrawTextCp949(*surface, text, backColour, textColour, x, y);
}
