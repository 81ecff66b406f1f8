// The interface every backend implements. Private to the platform layer.
#pragma once

#include <cstddef>
#include <cstdint>
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

// ---- Each native platform's clock and the frame trace's file --------------

// The platform's monotonic clock in nanoseconds (CLOCK_MONOTONIC; on
// Windows the performance counter): the frame trace's times and the flip
// limiter's.
std::int64_t MonotonicNs();
// The flip limiter's slots on that clock, 1/60 s each. They are counted from
// a first flip, so they do not drift; a flip that comes more than a slot late
// (a stall, a debugger) starts the count afresh rather than racing to catch
// up.
class FlipSlots {
 public:
  // The next flip starts the count.
  void Restart() { deadline_ = 0; }
  // Whether a count runs (false before the first flip and after Restart).
  bool Counting() const { return deadline_ != 0; }
  // Takes the slot of a flip at `now`: the time to hold the flip until, or 0
  // when the flip starts the count and goes at once.
  std::int64_t Take(std::int64_t now) {
    constexpr std::int64_t kNsPerSecond = 1000000000;
    constexpr std::int64_t kFlipsPerSecond = 60;
    std::int64_t hold = deadline_;
    if (deadline_ == 0 || now > deadline_ + kNsPerSecond / kFlipsPerSecond) {
      base_ = now;
      slot_ = 0;
      hold = 0;
    }
    ++slot_;
    deadline_ = base_ + slot_ * kNsPerSecond / kFlipsPerSecond;
    return hold;
  }

 private:
  std::int64_t deadline_ = 0;
  std::int64_t base_ = 0;
  std::int64_t slot_ = 0;
};
// Its name in the trace file's header line.
const char* MonotonicClockName();
// The process's start on that clock; 0 when it cannot be known.
std::int64_t ProcessStartNs();
// The trace's file: opened emptied, for appending, or kNoTraceFile when it
// cannot be written; each append is written whole at once, unbuffered.
constexpr std::intptr_t kNoTraceFile = -1;
std::intptr_t OpenTraceFile(const char* path);
void AppendTraceFile(std::intptr_t file, const char* bytes, std::size_t length);
void CloseTraceFile(std::intptr_t file);

// Whether the chosen backend's display is busy (false before one is chosen).
bool DisplayBusy();

class HeadlessRecorder;
// The recorder of the headless backend, while it runs with one; else null.
HeadlessRecorder* ActiveRecorder();

}  // namespace platform
