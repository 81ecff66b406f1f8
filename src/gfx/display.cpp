#include "gfx/display.h"

#include <cstring>

#include "platform/platform.h"
#include "state/game_state.h"

namespace {

DisplayDevice gDevice;

// A still-drawing answer repeats the operation; a lost display is restored
// and the operation dropped for this call; any other error drops it.
template <typename Operation>
platform::HRESULT WithRetry(Operation op) {
  for (;;) {
    platform::HRESULT r = op();
    if (r == platform::DD_OK) return r;
    if (r == platform::DDERR_SURFACELOST) {
      r = RestoreSurfaces();
      if (r != platform::DD_OK) return r;
    }
    if (r != platform::DDERR_WASSTILLDRAWING) return r;
  }
}

struct PictureSurface {
  platform::Surface** slot;
  int width;
  int height;
  const char* failText;
};

const PictureSurface kPictures[] = {
    {&gTitleSurface, kTitlePicture.width, kTitlePicture.height, "DrawTitle Fail"},
    {&gWarningSurface, kWarningPicture.width, kWarningPicture.height, "DrawWarning Fail"},
    {&gEventWinSurface, kEventWindowPicture.width, kEventWindowPicture.height, "DrawEventWin Fail"},
    {&gEvent1Surface, kPortraitSheet1.width, kPortraitSheet1.height, "DrawEvent1 Fail"},
    {&gEvent2Surface, kPortraitSheet2.width, kPortraitSheet2.height, "DrawEvent2 Fail"},
    {&gDiedSurface, kDeathPicture.width, kDeathPicture.height, "DrawDied Fail"},
    {&gEndingSurface, kEndingPicture.width, kEndingPicture.height, "DrawEnding Fail"},
};

}  // namespace

int InitFail(WindowHandle window, const char* text) {
  ReleaseDirectDraw();
  platform::ShowMessageBox(text, "Vedo Zeza1");
  platform::DebugOutput(text);
  if (window != nullptr) platform::DestroyMainWindow();
  return 0;
}

int InitDirectDraw() {
  if (!platform::VideoOpenDevice()) return InitFail(gWindow, "DDCreate Fail");
  gDirectDraw = &gDevice;
  if (!platform::VideoTakeScreen()) return InitFail(gWindow, "SCL Fail");
  if (!platform::VideoSetMode(kScreenWidth, kScreenHeight)) return InitFail(gWindow, "SDM Fail");
  gPrimarySurface = platform::VideoCreatePrimary(kScreenWidth, kScreenHeight);
  if (gPrimarySurface == nullptr) return InitFail(gWindow, "Create Primary Fail");
  gBackBuffer = platform::VideoBackBuffer();
  if (gBackBuffer == nullptr) return InitFail(gWindow, "GAS Fail");
  for (const PictureSurface& p : kPictures) {
    *p.slot = new platform::Surface(p.width, p.height);
  }
  return 1;
}

void ReleaseDirectDraw() {
  if (gDirectDraw == nullptr) return;
  platform::VideoRelease();
  gPrimarySurface = nullptr;
  gBackBuffer = nullptr;
  delete gPalette;
  gPalette = nullptr;
  // The pictures and sprite frames go with the display.
  for (const PictureSurface& p : kPictures) {
    delete *p.slot;
    *p.slot = nullptr;
  }
  gSpriteSurfaces.clear();
  gSpriteFrames.clear();
  gDirectDraw = nullptr;
}

platform::HRESULT RestoreSurfaces() {
  if (gPrimarySurface == nullptr) return platform::E_FAIL;
  return platform::VideoRestore();
}

platform::HRESULT FlipScreen() {
  return WithRetry([] { return platform::VideoFlip(); });
}

platform::HRESULT DrawTile(int x, int y, int tile) {
  if (gBackBuffer == nullptr || tile < 0 || tile >= static_cast<int>(gTileSurfaces.size()) ||
      !gTileSurfaces[tile]) {
    return platform::E_FAIL;
  }
  const platform::Surface& src = *gTileSurfaces[tile];
  const platform::Rect r{0, 0, gTileWidth, gTileHeight};
  return WithRetry([&] {
    return platform::BltFast(*gBackBuffer, x, y, src, r, platform::DDBLTFAST_NOCOLORKEY);
  });
}

platform::HRESULT DrawSprite(int x, int y, int frame) {
  if (gBackBuffer == nullptr || frame < 0 || frame >= static_cast<int>(gSpriteSurfaces.size()) ||
      frame >= static_cast<int>(gSpriteFrames.size()) || !gSpriteSurfaces[frame]) {
    return platform::E_FAIL;
  }
  const platform::Surface& src = *gSpriteSurfaces[frame];
  const platform::Rect r{0, 0, gSpriteFrames[frame].width, gSpriteFrames[frame].height};
  return WithRetry([&] {
    return platform::BltFast(*gBackBuffer, x, y, src, r, platform::DDBLTFAST_SRCCOLORKEY);
  });
}

void ClearSurface(platform::Surface* surface, int value) {
  if (surface == nullptr || surface->ByteSize() == 0) return;
  std::memset(surface->Pixels(), value & 0xFF, surface->ByteSize());
  // The primary surface is the screen: what is written to it shows at once.
  // Start-up blanks it, so the window is black from then on, not whatever
  // the window system showed before the title's first frame.
  if (surface == gPrimarySurface) platform::VideoShowPrimary();
}

platform::HRESULT BltFast(platform::Surface* dst, int x, int y, platform::Surface* src,
                          const platform::Rect& srcRect, std::uint32_t flags) {
  if (dst == nullptr || src == nullptr) return platform::DDERR_INVALIDPARAMS;
  return platform::BltFast(*dst, x, y, *src, srcRect, flags);
}
