#include "gfx/text.h"

#include "platform/draw/text_draw.h"

platform::HRESULT PrintText(platform::Surface* surface, const char* text, std::uint32_t backColour,
                            std::uint32_t textColour, int x, int y) {
  if (surface == nullptr || text == nullptr) return platform::E_FAIL;
  return platform::DrawTextCp949(*surface, text, backColour, textColour, x, y);
}
