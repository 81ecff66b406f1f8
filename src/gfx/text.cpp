#include "gfx/text.h"

#include "platform/text.h"

bool gTextUtf8 = false;

platform::HRESULT PrintText(platform::Surface* surface, const char* text, std::uint32_t backColour,
                            std::uint32_t textColour, int x, int y) {
  if (surface == nullptr || text == nullptr) return platform::E_FAIL;
  return gTextUtf8 ? platform::DrawTextUtf8(*surface, text, backColour, textColour, x, y)
                   : platform::DrawTextCp949(*surface, text, backColour, textColour, x, y);
}
