// The headless backend, the null port: no window, no screen, no platform
// library. Input and the clock come from a HeadlessHost; frames are kept in
// the primary surface, where the host and the tests read them; message boxes
// go to stderr. It keeps every shared way of port.h: pictures through our
// own BMP reader, the text of the glyph atlas, the effects through our own
// converter, no music, and a mix that only its host pulls (the host's part
// of the Backend). What it offers its hosts besides (headless.h) is kept
// here too.
#include <cstdio>
#include <ctime>

#include "platform/headless/headless.h"
#include "platform/port.h"

namespace platform {
namespace {

int gFailingVideoStep = 0;
int gStillDrawingLeft = 0;
bool gNativeMusic = false;
CallRecorder* gRecorder = nullptr;

class HeadlessBackend;
// The headless backend while it is the chosen one.
HeadlessBackend* gChosen = nullptr;

class HeadlessBackend final : public Backend {
 public:
  explicit HeadlessBackend(HeadlessHost* host) : host_(host) { gChosen = this; }
  ~HeadlessBackend() override {
    if (gChosen == this) gChosen = nullptr;
  }

  bool PeekEvent(Event& event) override {
    if (has_pending_) {
      event = pending_;
      has_pending_ = false;
      return true;
    }
    return host_ != nullptr && host_->NextEvent(event, false);
  }

  void WaitEvent() override {
    if (has_pending_ || host_ == nullptr) return;
    has_pending_ = host_->NextEvent(pending_, true);
  }

  void PassCompleted() override {
    if (host_ != nullptr) host_->OnPass();
  }

  std::int64_t CalendarTime() override {
    return host_ != nullptr ? host_->Now() : static_cast<std::int64_t>(std::time(nullptr));
  }

  bool StartWindowing() override { return true; }
  bool CreateMainWindow(const char*) override {
    window_ = true;
    return true;
  }
  void ShowMainWindow() override {}
  void DestroyMainWindow() override { window_ = false; }
  bool HasMainWindow() override { return window_; }
  void ShowMessageBox(const char* text, const char* caption) override {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    std::fflush(stderr);
  }
  void StopWindowing() override {}

  bool VideoOpenDevice() override { return window_ && gFailingVideoStep != 1; }
  bool VideoTakeScreen() override { return gFailingVideoStep != 2; }
  bool VideoSetMode(int width, int height) override {
    return width > 0 && height > 0 && gFailingVideoStep != 3;
  }
  bool VideoCreatePresenter(int, int) override { return gFailingVideoStep != 4; }
  bool VideoPresent(const Surface& frame) override {
    if (host_ != nullptr) host_->OnFlip(frame);
    TracePresent();
    return true;
  }
  bool VideoBusy() override {
    if (gStillDrawingLeft <= 0) return false;
    --gStillDrawingLeft;
    return true;
  }
  bool VideoRecreatePresenter() override { return gFailingVideoStep != 5; }
  void VideoRelease() override {}

  bool HostPullsMix() override { return true; }
  bool PlatformMusic() override { return gNativeMusic; }
  CallRecorder* Recorder() override { return gRecorder; }

 private:
  HeadlessHost* host_;
  bool window_ = false;
  bool has_pending_ = false;
  Event pending_;
};

}  // namespace

void HeadlessFailVideoStep(int step) { gFailingVideoStep = step; }

void HeadlessInjectStillDrawing(int count) { gStillDrawingLeft = count > 0 ? count : 0; }

void HeadlessSetRecorder(CallRecorder* recorder) { gRecorder = recorder; }

void HeadlessUseNativeMusic(bool on) { gNativeMusic = on; }

const Surface* HeadlessShownFrame() { return gChosen != nullptr ? FlippedPrimary() : nullptr; }

void UseHeadlessBackend(HeadlessHost* host) { UseBackend(std::make_unique<HeadlessBackend>(host)); }

}  // namespace platform
