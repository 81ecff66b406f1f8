// The browser backend: a 640 x 480 canvas on a web page, the page's input,
// and a limiter on the page's clock.
//
// The game's loop blocks (it waits for events and paces its own flips), and a
// page must give the browser its thread back to be painted and to receive
// input. The program is built with Asyncify, so the loop runs unchanged and
// every wait here is an emscripten_sleep: the stack is put aside, the browser
// runs its tasks, and the loop resumes where it stopped.
//
// Display: each flip converts the frame's B, G, R rows into the canvas's
// R, G, B, A and puts them on the canvas; the page scales the canvas to the
// window with its aspect kept and sharp pixels. A frame equal to the one on
// the canvas is neither converted nor put there again: a still screen then
// costs the browser no painting, while the passes and their pace stay as
// they are. The limiter's slots are the
// shared ones (FlipSlots) on the page's clock, performance.now(), which is
// what MonotonicNs reads here, whatever the screen's own refresh rate; the
// wait for a slot is a sleep that hands the thread to the browser.
//
// Loading: the game loads its data in one piece before its first pass, a
// tenth of a second and more on a phone, while the title's picture shows.
// Its pieces breathe between them (gLoadBreath: each file read, sound and
// surface, a picture's rows, and the glyph atlas), and once the work has
// held the thread for kBreathNs the backend hands it to the page for a
// moment, so that no task of the page grows long; nothing the game does
// changes.
//
// Input: the page turns its pointer, button, key and visibility events into
// ours (vedo_push_event), positions already in frame pixels and clamped, a
// finger already made a pointer and a button (page.js says how); a hidden
// tab makes the game inactive.
//
// The window options go to the page: full screen through the page's own
// request (a browser grants it only soon after a click or a key, which is
// when the game asks), and sharp pixels as the page's layout of the canvas
// (page.js). The player's settings are kept in the page's local storage,
// and a screenshot is a download.
//
// The rest of the browser's part of the port (port.h): pictures by our own
// reader (the Backend's shared way), the sound in audio_output.cpp and
// synth_bridge.cpp, the clock, the trace file and the program's outputs (the
// console) in ../posix.
//
// For the browser tests, the page can switch on a step mode before the game
// starts (vedo_test_enable): passes then run only as the test grants them,
// and the calendar clock is the replay tool's (ReplayClock), so the page's
// frames can be compared with the Linux replay's. A pass may run without a
// grant: the one that a held button release waits for (the message loop)
// asks for no event, so nothing holds it; the clock counts it, as the
// replay tool's does.
#include <emscripten.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <string>
#include <vector>

#include "formats/load_breath.h"
#include "platform/port.h"
#include "platform/replay_clock.h"

namespace platform {
namespace {

// A wait for a flip's slot ends when less than this is left.
constexpr std::int64_t kSlotMarginNs = 500000;
// Loading hands the page its thread after holding it this long, so that
// even on a phone four times slower than a desktop its pieces stay short
// of the 50 ms that make a task long.
constexpr std::int64_t kBreathNs = 2000000;

std::deque<Event> gQueue;

struct StepMode {
  bool on = false;
  std::int64_t budget = 0;  // passes granted and not yet run
  bool idle = false;        // waiting for the next grant
  ReplayClock clock;
};
StepMode gStep;
std::uint64_t gPasses = 0;
// The time the game spent on its frames, from waking at one flip to the
// next flip (the page's figures).
double gFrameCostMs = 0;
std::uint64_t gFrameCostCount = 0;

// clang-format off
// A null `rgba`: the frame equals the one on the canvas; else its rows from
// `top` up to `bottom` changed.
EM_JS(void, JsPresent, (const std::uint8_t* rgba, int width, int height, int top, int bottom), {
  Module.vedoPage.present(rgba ? HEAPU8.subarray(rgba, rgba + width * height * 4) : null, width,
                          height, top, bottom);
});
EM_JS(void, JsMessageBox, (const char* text, const char* caption), {
  Module.vedoPage.messageBox(UTF8ToString(caption), UTF8ToString(text));
});
EM_JS(int, JsPageVisible, (), { return document.hidden ? 0 : 1; });
// The page keeps the player's last games in its IndexedDB and offers the
// newest for saving.
EM_JS(void, JsKeepRecording, (const std::uint8_t* bytes, int size), {
  Module.vedoPage.keepRecording(HEAPU8.slice(bytes, bytes + size));
});
// Lets the page run what waits, as a sleep does, without a timer's delay of
// a few milliseconds.
EM_ASYNC_JS(void, JsYield, (), {
  await new Promise((resolve) => {
    const channel = new MessageChannel();
    channel.port1.onmessage = resolve;
    channel.port2.postMessage(0);
  });
});
// fullScreen: 1 on, 0 off, -1 as it is (a page starts in the page: full
// screen needs a click).
EM_JS(void, JsDisplay, (int fullScreen, int sharp), {
  Module.vedoPage.display(fullScreen < 0 ? null : fullScreen !== 0, sharp !== 0);
});
EM_JS(int, JsFullScreen, (), { return Module.vedoPage.fullScreen() ? 1 : 0; });
// The kept settings' text (null when none), and whether a write was kept.
EM_JS(char*, JsReadSettings, (), {
  const text = Module.vedoPage.readSettings();
  return text === null ? 0 : allocateUTF8(text);
});
EM_JS(int, JsWriteSettings, (const char* text), {
  return Module.vedoPage.writeSettings(UTF8ToString(text)) ? 1 : 0;
});
EM_JS(void, JsSetSettingsAside, (), { Module.vedoPage.setSettingsAside(); });
EM_JS(void, JsDownload, (const std::uint8_t* bytes, int size, const char* name), {
  Module.vedoPage.download(HEAPU8.slice(bytes, bytes + size), UTF8ToString(name));
});
EM_JS(int, JsPageAround, (), { return Module.vedoPage ? 1 : 0; });
EM_JS(void, JsRestart, (const char* language), {
  Module.vedoPage.restart(UTF8ToString(language));
});
// clang-format on

std::int64_t gAwakeNs = 0;  // when the page last gave the thread back

// Hands the thread to the page for at least `ms`.
void Sleep(unsigned ms) {
  emscripten_sleep(ms);
  gAwakeNs = MonotonicNs();
}

// A breath of the loading: the page's turn once the work has held the
// thread for kBreathNs.
void Breathe() {
  if (MonotonicNs() - gAwakeNs < kBreathNs) return;
  JsYield();
  gAwakeNs = MonotonicNs();
}

class WebBackend final : public Backend {
 public:
  WebBackend() { gLoadBreath = &Breathe; }

  bool PeekEvent(Event& event) override {
    Breathe();  // after the loading, before the first pass
    if (gQueue.empty() && gStep.on && gStep.budget == 0) {
      gStep.idle = true;
      while (gQueue.empty() && gStep.budget == 0) Sleep(1);
      gStep.idle = false;
    }
    if (gQueue.empty()) return false;
    event = gQueue.front();
    gQueue.pop_front();
    return true;
  }

  void WaitEvent() override {
    // Waiting for input is idle for the test too: the options panel waits
    // so, with no pass to grant.
    gStep.idle = gStep.on;
    while (gQueue.empty()) Sleep(gStep.on ? 1 : 20);
    gStep.idle = false;
  }

  void PassCompleted() override {
    ++gPasses;
    gStep.clock.Tick();
    if (gStep.budget > 0) --gStep.budget;
  }

  std::int64_t CalendarTime() override {
    if (gStep.on) return gStep.clock.Now();
    return static_cast<std::int64_t>(std::time(nullptr));
  }

  bool KeepRecording(const std::vector<std::uint8_t>& bytes, std::string&) override {
    JsKeepRecording(bytes.data(), static_cast<int>(bytes.size()));
    return true;
  }

  bool StartWindowing() override { return true; }
  bool CreateMainWindow(const char*) override {
    window_ = true;
    return true;
  }
  void ShowMainWindow() override {
    // As a window shown on a desktop takes the focus; a hidden tab is not
    // active.
    gQueue.push_back({.type = EventType::kActivate, .active = JsPageVisible() != 0});
  }
  void DestroyMainWindow() override { window_ = false; }
  bool HasMainWindow() override { return window_; }
  void ShowMessageBox(const char* text, const char* caption) override {
    JsMessageBox(text, caption);
  }
  void StopWindowing() override {}

  bool VideoOpenDevice() override {
    if (window_ && JsPageAround() != 0) JsDisplay(-1, GetWindowOptions().sharp ? 1 : 0);
    return window_;
  }
  // The canvas fills the page; full screen is the page's to offer, with a
  // button, since a browser allows it only from a click.
  bool VideoTakeScreen() override { return true; }
  bool VideoSetMode(int width, int height) override { return width > 0 && height > 0; }
  bool VideoCreatePresenter(int, int) override {
    shown_.clear();  // the next frame is put on the canvas whatever it holds
    slots_.Restart();
    return true;
  }

  bool VideoPresent(const Surface& frame) override {
    const bool changed = TakeFrame(frame);
    if (gStep.on) {
      Sleep(0);  // as fast as it goes, but the page stays alive
    } else {
      Pace();
    }
    JsPresent(changed ? rgba_.data() : nullptr, frame.Width(), frame.Height(), top_, bottom_);
    TracePresent();
    return true;
  }

  bool VideoRecreatePresenter() override { return true; }
  void VideoRelease() override {
    rgba_.clear();
    shown_.clear();
  }

  void WindowOptionsChanged() override {
    JsDisplay(GetWindowOptions().windowed ? 0 : 1, GetWindowOptions().sharp ? 1 : 0);
  }
  bool ShowsFullScreen() override { return JsFullScreen() != 0; }

  KeptRead ReadSettings(std::string& text, std::string& where, std::size_t maxBytes) override {
    where = "the page's local storage";
    char* kept = JsReadSettings();
    if (kept == nullptr) return KeptRead::kNone;
    text = kept;
    std::free(kept);
    if (text.size() <= maxBytes) return KeptRead::kRead;
    text.clear();
    return KeptRead::kUnreadable;
  }
  bool WriteSettings(const std::string& text, std::string& why) override {
    if (JsWriteSettings(text.c_str()) != 0) return true;
    why = "the page's local storage keeps nothing";
    return false;
  }
  bool RestartInLanguage(const std::string& language) override {
    if (JsPageAround() == 0) return false;
    JsRestart(language.c_str());
    return true;
  }
  std::string SetDamagedSettingsAside() override {
    JsSetSettingsAside();
    return "the page's local storage, as vedo-zeza1-settings.bad";
  }
  bool SavePicture(const std::vector<std::uint8_t>& png, const std::string& name,
                   std::string& where) override {
    if (png.empty()) {
      where = "the picture could not be made";
      return false;
    }
    JsDownload(png.data(), static_cast<int>(png.size()), name.c_str());
    where = "a download, " + name;
    return true;
  }

 private:
  // Keeps the frame and converts it for the canvas, unless it equals the
  // one kept last; true when it changed. Compared eight bytes at a time,
  // which costs a still screen about a tenth of the conversion; only the
  // rows that changed are converted, and put on the canvas (top_ up to
  // bottom_), so a pass that moves a little costs little on a slow phone.
  bool TakeFrame(const Surface& frame) {
    const std::size_t row = static_cast<std::size_t>(frame.Width()) * 3;
    const std::size_t need = row * frame.Height();
    const std::size_t pixels = static_cast<std::size_t>(frame.Width()) * frame.Height();
    const bool whole = shown_.size() != need || rgba_.size() != pixels * 4;
    if (whole) {
      shown_.assign(need, 0);
      rgba_.assign(pixels * 4, 255);  // opaque, once
    }
    top_ = frame.Height();
    bottom_ = 0;
    for (int y = 0; y < frame.Height(); ++y) {
      std::uint8_t* kept = shown_.data() + row * y;
      if (!whole && SameBytes(kept, frame.Row(y), row)) continue;
      top_ = std::min(top_, y);
      bottom_ = y + 1;
      std::memcpy(kept, frame.Row(y), row);
      std::uint8_t* out = rgba_.data() + static_cast<std::size_t>(frame.Width()) * 4 * y;
      for (std::size_t i = 0; i < row; i += 3, out += 4) {
        out[0] = kept[i + 2];
        out[1] = kept[i + 1];
        out[2] = kept[i];
      }
    }
    return bottom_ > top_;
  }

  static bool SameBytes(const std::uint8_t* a, const std::uint8_t* b, std::size_t n) {
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
      std::uint64_t x;
      std::uint64_t y;
      std::memcpy(&x, a + i, 8);
      std::memcpy(&y, b + i, 8);
      if (x != y) return false;
    }
    return std::memcmp(a + i, b + i, n - i) == 0;
  }

  // Waits for the flip's slot. Even a flip that is late, or starts the
  // count, yields once, so that the page is painted and its input arrives.
  void Pace() {
    const std::int64_t now = MonotonicNs();
    if (lastWakeNs_ > 0) {
      gFrameCostMs += static_cast<double>(now - lastWakeNs_) / 1e6;
      ++gFrameCostCount;
    }
    const std::int64_t hold = slots_.Take(now);
    std::int64_t left = hold - now;
    do {
      Sleep(static_cast<unsigned>(std::max<std::int64_t>(left, 0) / 1000000));
      left = hold - MonotonicNs();
    } while (left > kSlotMarginNs);
    lastWakeNs_ = MonotonicNs();
  }

  bool window_ = false;
  std::vector<std::uint8_t> shown_;  // the frame on the canvas, B, G, R rows
  std::vector<std::uint8_t> rgba_;
  int top_ = 0;  // the rows of the last frame that changed
  int bottom_ = 0;
  FlipSlots slots_;
  std::int64_t lastWakeNs_ = 0;
};

}  // namespace

std::unique_ptr<Backend> MakeNativeBackend() { return std::make_unique<WebBackend>(); }

}  // namespace platform

// Called by the page.
extern "C" {

// type: an EventType; x, y in frame pixels; key: 1 Escape, 2 F1, 3 F11,
// 4 F12, 5 M, 6 Alt+Enter, anything else another key.
EMSCRIPTEN_KEEPALIVE void vedo_push_event(int type, int x, int y, int active, int key) {
  using platform::Key;
  constexpr Key kKeys[] = {Key::kOther, Key::kEscape, Key::kF1,      Key::kF11,
                           Key::kF12,   Key::kM,      Key::kAltEnter};
  platform::gQueue.push_back({.type = static_cast<platform::EventType>(type),
                              .x = std::clamp(x, 0, 639),
                              .y = std::clamp(y, 0, 479),
                              .active = active != 0,
                              .key = key >= 1 && key <= 6 ? kKeys[key] : Key::kOther});
}

EMSCRIPTEN_KEEPALIVE void vedo_test_enable() { platform::gStep.on = true; }
// Lets `passes` more passes run.
EMSCRIPTEN_KEEPALIVE void vedo_test_run(int passes) {
  platform::gStep.budget += passes;
  platform::gStep.idle = false;
}
// True while the game waits for the next grant with no input left to take.
EMSCRIPTEN_KEEPALIVE int vedo_test_idle() {
  return platform::gStep.idle && platform::gQueue.empty() ? 1 : 0;
}
// Sets the calendar clock to `seconds`, as the replay tool's `time` does.
EMSCRIPTEN_KEEPALIVE void vedo_test_set_time(double seconds) {
  platform::gStep.clock.Set(static_cast<std::int64_t>(seconds));
}
EMSCRIPTEN_KEEPALIVE double vedo_passes() { return static_cast<double>(platform::gPasses); }
// The mean time the game took for a frame, in milliseconds, outside step
// mode.
EMSCRIPTEN_KEEPALIVE double vedo_frame_cost_ms() {
  return platform::gFrameCostCount == 0
             ? 0
             : platform::gFrameCostMs / static_cast<double>(platform::gFrameCostCount);
}
EMSCRIPTEN_KEEPALIVE double vedo_flips() { return static_cast<double>(platform::VideoFlipCount()); }

}  // extern "C"
