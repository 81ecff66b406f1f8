#include "gfx/display.h"

#include <cstring>

#include "platform/platform.h"

DisplayDevice* gDirectDraw = nullptr;
Surface* gPrimarySurface = nullptr;
Surface* gBackBuffer = nullptr;
Palette* gPalette = nullptr;
Surface* gTitleSurface = nullptr;
Surface* gWarningSurface = nullptr;
Surface* gEventWinSurface = nullptr;
Surface* gEvent1Surface = nullptr;
Surface* gEvent2Surface = nullptr;
Surface* gDiedSurface = nullptr;
Surface* gEndingSurface = nullptr;
std::vector<std::shared_ptr<Surface>> gTileSurfaces;
std::vector<SpriteFrame> gSpriteFrames;
std::vector<std::unique_ptr<Surface>> gSpriteSurfaces;

namespace {

DisplayDevice gDevice;

// A still-drawing answer repeats the operation; a lost display is restored
// and the operation dropped for this call; any other error drops it.
template <typename Operation>
HRESULT WithRetry(Operation op) {
  for (;;) {
    HRESULT r = op();
    if (r == DD_OK) return r;
    if (r == DDERR_SURFACELOST) {
      r = RestoreSurfaces();
      if (r != DD_OK) return r;
    }
    if (r != DDERR_WASSTILLDRAWING) return r;
  }
}

struct PictureSurface {
  Surface** slot;
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
    *p.slot = new Surface(p.width, p.height);
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

HRESULT RestoreSurfaces() {
  if (gPrimarySurface == nullptr) return E_FAIL;
  return platform::VideoRestore();
}

HRESULT FlipScreen() {
  return WithRetry([] { return platform::VideoFlip(); });
}

HRESULT DrawTile(int x, int y, int tile) {
  if (gBackBuffer == nullptr || tile < 0 || tile >= static_cast<int>(gTileSurfaces.size()) ||
      !gTileSurfaces[tile]) {
    return E_FAIL;
  }
  const Surface& src = *gTileSurfaces[tile];
  const Rect r{0, 0, gTileWidth, gTileHeight};
  return WithRetry([&] { return platform::BltFast(*gBackBuffer, x, y, src, r, DDBLTFAST_NOCOLORKEY); });
}

HRESULT DrawSprite(int x, int y, int frame) {
  if (gBackBuffer == nullptr || frame < 0 || frame >= static_cast<int>(gSpriteSurfaces.size()) ||
      frame >= static_cast<int>(gSpriteFrames.size()) || !gSpriteSurfaces[frame]) {
    return E_FAIL;
  }
  const Surface& src = *gSpriteSurfaces[frame];
  const Rect r{0, 0, gSpriteFrames[frame].width, gSpriteFrames[frame].height};
  return WithRetry(
      [&] { return platform::BltFast(*gBackBuffer, x, y, src, r, DDBLTFAST_SRCCOLORKEY); });
}

void ClearSurface(Surface* surface, int value) {
  if (surface == nullptr || surface->ByteSize() == 0) return;
  std::memset(surface->Pixels(), value & 0xFF, surface->ByteSize());
}

HRESULT BltFast(Surface* dst, int x, int y, Surface* src, const Rect& srcRect,
                std::uint32_t flags) {
  if (dst == nullptr || src == nullptr) return platform::DDERR_INVALIDPARAMS;
  return platform::BltFast(*dst, x, y, *src, srcRect, flags);
}
