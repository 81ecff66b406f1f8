// Forwards the game's platform calls to the chosen backend (port.h) and
// keeps what every backend shares: the primary chain, the loss flag and the
// flip count.
#include "platform/platform.h"

#include <cstdio>
#include <memory>

#include "platform/headless/headless.h"
#include "platform/port.h"

namespace platform {
namespace {

// The display's loss flag, shared by the primary chain.
bool gDisplayLost = false;

std::unique_ptr<Backend> gBackend;
bool gHeadless = false;
std::unique_ptr<Surface> gPrimary;
std::unique_ptr<Surface> gBack;
std::uint64_t gFlips = 0;
WindowOptions gWindowOptions;

Backend& B() {
  if (!gBackend) gBackend = MakeNativeBackend();
  return *gBackend;
}

}  // namespace

void UseNativeBackend() {
  gBackend = MakeNativeBackend();
  gHeadless = false;
}

void UseHeadlessBackend(HeadlessHost* host) {
  gBackend = MakeHeadlessBackend(host);
  gHeadless = true;
}

bool IsHeadless() { return gHeadless; }

void BreatheDuringLoad() {
  if (gBackend) gBackend->Breathe();
}

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

void DebugOutput(const char* text) { NativeDebugOutput(text); }
void TellPlayer(const char* text, bool error) { NativeTellPlayer(text, error); }
std::string ProgramFolder() { return NativeProgramFolder(); }

bool LoadBmpFile(const char* path, Image& out) { return B().LoadBmpFile(path, out); }

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

HRESULT VideoFlip() {
  if (!gPrimary || !gBack) return DDERR_INVALIDPARAMS;
  if (gDisplayLost) return DDERR_SURFACELOST;
  if (B().VideoBusy()) return DDERR_WASSTILLDRAWING;
  gPrimary->SwapPixels(*gBack);
  if (!B().VideoPresent(*gPrimary)) {
    // The renderer was reset under us: swap back, so the frame is dropped
    // whole, and report the loss.
    gPrimary->SwapPixels(*gBack);
    gDisplayLost = true;
    return DDERR_SURFACELOST;
  }
  ++gFlips;
  return DD_OK;
}

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
  if (gBackend) gBackend->VideoRelease();
  gPrimary.reset();
  gBack.reset();
  gDisplayLost = false;
  TraceMark("display-released");
}

void VideoMarkLost() { gDisplayLost = true; }

std::uint64_t VideoFlipCount() { return gFlips; }

bool DisplayBusy() { return gBackend && gBackend->VideoBusy(); }

const Surface* HeadlessShownFrame() {
  if (!gHeadless || !gPrimary || gFlips == 0) return nullptr;
  return gPrimary.get();
}

}  // namespace platform
