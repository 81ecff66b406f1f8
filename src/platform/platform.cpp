// Forwards the game's platform calls to the chosen backend (port.h) and
// keeps what every backend shares: the primary chain, the loss flag, the
// flip count and the copies and text that the display and a host's recorder
// must know of.
#include "platform/platform.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

#include "platform/draw/text_draw.h"
#include "platform/port.h"

namespace platform {
namespace {

// The display's loss flag, shared by the primary chain.
bool gDisplayLost = false;

// The chosen backend. The sound outlives it (the music player closes its
// tune after main returns) and may ask for its host's part then, so it is a
// plain pointer, emptied before the backend goes at exit.
Backend* gBackend = nullptr;
struct BackendAtExit {
  ~BackendAtExit() { delete std::exchange(gBackend, nullptr); }
} gBackendAtExit;
std::unique_ptr<Surface> gPrimary;
std::unique_ptr<Surface> gBack;
// What a flip shows when an overlay draws over it: a copy of the primary.
std::unique_ptr<Surface> gOverlaid;
FrameOverlay gOverlay = nullptr;
// The last frame handed to the screen: the primary, the overlaid copy or
// the program's own frame over the game.
const Surface* gLastShown = nullptr;
std::uint64_t gFlips = 0;
bool gFramesSeen = true;
WindowOptions gWindowOptions;

Backend& B() {
  if (!gBackend) UseBackend(MakeNativeBackend());
  return *gBackend;
}

// Whether the chosen backend's display is busy (false before one is chosen).
bool DisplayBusy() { return gBackend && gBackend->VideoBusy(); }

}  // namespace

void UseBackend(std::unique_ptr<Backend> backend) {
  delete std::exchange(gBackend, backend.release());
  gFramesSeen = true;
}
void UseNativeBackend() { UseBackend(MakeNativeBackend()); }

CallRecorder* ActiveRecorder() { return gBackend ? gBackend->Recorder() : nullptr; }
bool MixPulledByHost() { return gBackend && gBackend->HostPullsMix(); }
bool UsesPlatformMusic() { return !gBackend || gBackend->PlatformMusic(); }

bool PeekEvent(Event& event) { return B().PeekEvent(event); }
void WaitEvent() { B().WaitEvent(); }
void PassCompleted() { B().PassCompleted(); }
std::int64_t CalendarTime() { return B().CalendarTime(); }

bool StartWindowing() { return B().StartWindowing(); }
bool CreateMainWindow(const char* title) { return B().CreateMainWindow(title); }
void ShowMainWindow() { B().ShowMainWindow(); }
void DestroyMainWindow() { B().DestroyMainWindow(); }
bool HasMainWindow() { return B().HasMainWindow(); }
void ShowMessageBox(const char* text, const char* caption) { B().ShowMessageBox(text, caption); }
void StopWindowing() {
  B().StopWindowing();
  TraceMark("windowing-stopped");
}

void SetWindowOptions(const WindowOptions& options) { gWindowOptions = options; }
const WindowOptions& GetWindowOptions() { return gWindowOptions; }

void ChangeWindowOptions(const WindowOptions& options) {
  gWindowOptions = options;
  if (gBackend && gBackend->HasMainWindow()) gBackend->WindowOptionsChanged();
}

bool ShowsFullScreen() { return B().ShowsFullScreen(); }

KeptRead ReadSettingsText(std::string& text, std::string& where, std::size_t maxBytes) {
  text.clear();
  where.clear();
  return B().ReadSettings(text, where, maxBytes);
}
bool WriteSettingsText(const std::string& text, std::string& why) {
  return B().WriteSettings(text, why);
}
std::string SetDamagedSettingsAside() { return B().SetDamagedSettingsAside(); }
bool RestartInLanguage(const std::string& language) { return B().RestartInLanguage(language); }

bool SaveScreenshot(const Surface& frame, std::string& where) {
  return B().SavePicture(EncodePng(frame), ScreenshotName(".png"), where);
}

void DebugOutput(const char* text) { NativeDebugOutput(text); }
void TellPlayer(const char* text, bool error) { NativeTellPlayer(text, error); }
std::string ProgramFolder() { return NativeProgramFolder(); }
bool HandOverToRunningGame() { return NativeHandOverToRunningGame(); }

bool VideoOpenDevice() { return B().VideoOpenDevice(); }
bool VideoTakeScreen() { return B().VideoTakeScreen(); }
bool VideoSetMode(int width, int height) { return B().VideoSetMode(width, height); }

Surface* VideoCreatePrimary(int width, int height) {
  if (!B().VideoCreatePresenter(width, height)) return nullptr;
  gDisplayLost = false;
  gPrimary = std::make_unique<Surface>(width, height);
  gBack = std::make_unique<Surface>(width, height);
  gPrimary->ShareLossFlag(&gDisplayLost);
  gBack->ShareLossFlag(&gDisplayLost);
  return gPrimary.get();
}

Surface* VideoBackBuffer() { return gBack.get(); }

HRESULT BltFast(Surface& dst, int x, int y, const Surface& src, const Rect& r,
                std::uint32_t flags) {
  if (dst.IsLost() || src.IsLost()) return DDERR_SURFACELOST;
  if ((dst.OnDisplay() || src.OnDisplay()) && DisplayBusy()) {
    return DDERR_WASSTILLDRAWING;
  }
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return DDERR_INVALIDRECT;
  if (r.left < 0 || r.top < 0 || r.right > src.Width() || r.bottom > src.Height()) {
    return DDERR_INVALIDRECT;
  }
  // No clipping: the whole rectangle must fit, or nothing is drawn. The sums
  // are done in 64 bits so that no position can overflow into a fit.
  if (x < 0 || y < 0 || static_cast<long long>(x) + w > dst.Width() ||
      static_cast<long long>(y) + h > dst.Height()) {
    return DDERR_INVALIDRECT;
  }
  if (dst.OnDisplay() && !gFramesSeen) return DD_OK;
  const std::size_t rowBytes = static_cast<std::size_t>(w) * 3;
  const bool keyed = (flags & DDBLTFAST_SRCCOLORKEY) != 0 && src.HasColorKey();
  if (!keyed) {
    for (int row = 0; row < h; ++row) {
      std::memcpy(dst.Row(y + row) + static_cast<std::size_t>(x) * 3,
                  src.Row(r.top + row) + static_cast<std::size_t>(r.left) * 3, rowBytes);
    }
    return DD_OK;
  }
  const std::uint8_t k0 = src.ColorKey() & 0xFF;
  const std::uint8_t k1 = (src.ColorKey() >> 8) & 0xFF;
  const std::uint8_t k2 = (src.ColorKey() >> 16) & 0xFF;
  for (int row = 0; row < h; ++row) {
    const std::uint8_t* s = src.Row(r.top + row) + static_cast<std::size_t>(r.left) * 3;
    std::uint8_t* d = dst.Row(y + row) + static_cast<std::size_t>(x) * 3;
    for (int col = 0; col < w; ++col, s += 3, d += 3) {
      if (s[0] == k0 && s[1] == k1 && s[2] == k2) continue;
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
    }
  }
  return DD_OK;
}

bool gTextUtf8 = false;

HRESULT PrintText(Surface* surface, const char* text, std::uint32_t backColour,
                  std::uint32_t textColour, int x, int y) {
  if (surface == nullptr || text == nullptr) return E_FAIL;
  if (CallRecorder* r = ActiveRecorder()) r->TextDrawn(text, backColour, textColour, x, y);
  if (surface->OnDisplay() && !gFramesSeen && !surface->IsLost()) return DD_OK;
  return gTextUtf8 ? DrawTextUtf8(*surface, text, backColour, textColour, x, y)
                   : DrawTextCp949(*surface, text, backColour, textColour, x, y);
}

HRESULT VideoFlip() {
  if (!gPrimary || !gBack) return DDERR_INVALIDPARAMS;
  if (gDisplayLost) return DDERR_SURFACELOST;
  if (B().VideoBusy()) return DDERR_WASSTILLDRAWING;
  gPrimary->SwapPixels(*gBack);
  const Surface* shown = gPrimary.get();
  if (gOverlay != nullptr) {
    if (!gOverlaid) gOverlaid = std::make_unique<Surface>(gPrimary->Width(), gPrimary->Height());
    std::copy_n(gPrimary->Pixels(), gPrimary->ByteSize(), gOverlaid->Pixels());
    gOverlay(*gOverlaid);
    shown = gOverlaid.get();
  }
  if (!B().VideoPresent(*shown)) {
    // The renderer was reset under us: swap back, so the frame is dropped
    // whole, and report the loss.
    gPrimary->SwapPixels(*gBack);
    gDisplayLost = true;
    return DDERR_SURFACELOST;
  }
  gLastShown = shown;
  ++gFlips;
  return DD_OK;
}

bool VideoShowOver(const Surface& frame) {
  if (!gPrimary || VideoRestore() != DD_OK || B().VideoBusy()) return false;
  if (!B().VideoPresent(frame)) {
    gDisplayLost = true;
    return false;
  }
  gLastShown = &frame;
  return true;
}

void SetFrameOverlay(FrameOverlay overlay) { gOverlay = overlay; }

void VideoShowPrimary() {
  if (!gPrimary || gDisplayLost) return;
  B().VideoShowStill(*gPrimary);
  TraceMark("primary-shown");
}

HRESULT VideoRestore() {
  if (!gPrimary) return DDERR_INVALIDPARAMS;
  if (!gDisplayLost) return DD_OK;
  if (!B().VideoRecreatePresenter()) return DDERR_SURFACELOST;
  gDisplayLost = false;
  return DD_OK;
}

void VideoRelease() {
  if (gBackend != nullptr) gBackend->VideoRelease();
  gPrimary.reset();
  gBack.reset();
  gOverlaid.reset();
  gLastShown = nullptr;
  gDisplayLost = false;
  TraceMark("display-released");
}

void VideoMarkLost() { gDisplayLost = true; }

std::uint64_t VideoFlipCount() { return gFlips; }

void SetFramesSeen(bool seen) { gFramesSeen = seen; }

bool KeepRecording(const std::vector<std::uint8_t>& bytes, std::string& why) {
  return B().KeepRecording(bytes, why);
}

bool DisplayBusy() { return gBackend != nullptr && gBackend->VideoBusy(); }

const Surface* FlippedPrimary() { return gPrimary ? gLastShown : nullptr; }

}  // namespace platform
