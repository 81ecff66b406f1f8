// The interface every backend implements. Private to the platform layer.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace platform {

class Backend {
 public:
  virtual ~Backend() = default;

  virtual bool PeekEvent(Event& event) = 0;
  virtual void WaitEvent() = 0;
  virtual void PassCompleted() = 0;
  virtual std::int64_t CalendarTime() = 0;

  virtual bool StartWindowing() = 0;
  virtual bool CreateMainWindow(const char* title) = 0;
  virtual void ShowMainWindow() = 0;
  virtual void DestroyMainWindow() = 0;
  virtual bool HasMainWindow() = 0;
  virtual void ShowMessageBox(const char* text, const char* caption) = 0;
  virtual void StopWindowing() = 0;

  virtual bool VideoOpenDevice() = 0;
  virtual bool VideoTakeScreen() = 0;
  virtual bool VideoSetMode(int width, int height) = 0;
  virtual bool VideoCreatePresenter(int width, int height) = 0;
  // Shows the frame. False when the device was reset and the frame dropped.
  virtual bool VideoPresent(const Surface& frame) = 0;
  // True when the display is still busy with the last flip, so that this
  // copy or flip is answered DDERR_WASSTILLDRAWING. A display that finishes
  // every flip before returning is never busy.
  virtual bool VideoBusy() { return false; }
  // Shows the frame at once, outside the flips: not paced, not traced as a
  // present, not handed to a host. Backends without a screen do nothing.
  virtual void VideoShowStill(const Surface& frame) { (void)frame; }
  virtual bool VideoRecreatePresenter() = 0;
  virtual void VideoRelease() = 0;
};

std::unique_ptr<Backend> MakeNativeBackend();
std::unique_ptr<Backend> MakeHeadlessBackend(HeadlessHost* host);

// Debugger output, the platform's way: stderr on Linux; OutputDebugStringA
// and stderr (when there is one) on Windows.
void NativeDebugOutput(const char* text);

// Records in the frame trace that a frame has just reached the screen.
void TracePresent();

// Whether the chosen backend's display is busy (false before one is chosen).
bool DisplayBusy();

class HeadlessRecorder;
// The recorder of the headless backend, while it runs with one; else null.
HeadlessRecorder* ActiveRecorder();

}  // namespace platform
