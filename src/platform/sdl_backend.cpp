// The SDL2 backend: one desktop full-screen window, its renderer and input.
//
// Pixel pipeline: the game composes each 640 x 480 frame in its back buffer
// (B, G, R bytes). A flip exchanges it with the primary surface, whose bytes
// are uploaded unchanged into a streaming texture of SDL_PIXELFORMAT_BGR24
// (the SDL name for B, G, R in memory). The renderer has a logical size of
// 640 x 480, so SDL scales the texture to the window with its aspect ratio
// kept (black bars where the shapes differ) and nearest-neighbour sampling.
// A limiter then holds the loop to 60 flips a second, since vsync is not
// something every X server (or Xvfb) provides.
//
// Input: SDL reports pointer positions in logical (frame) pixels once the
// logical size is set; a position in a letterbox bar lies outside the frame
// and is clamped to the nearest edge.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "platform/backend.h"

namespace platform {
namespace {

constexpr double kFlipsPerSecond = 60.0;

class SdlBackend final : public Backend {
 public:
  ~SdlBackend() override {
    VideoRelease();
    DestroyMainWindow();
  }

  bool PeekEvent(Event& event) override {
    SDL_Event e;
    while (SDL_PollEvent(&e) != 0) {
      if (Translate(e, event)) return true;
    }
    return false;
  }

  void WaitEvent() override {
    // With no event to fill, SDL waits and leaves the event in the queue for
    // the next PeekEvent. (Taking it and pushing it back would put it behind
    // any event that arrived with it: a quick click could come out as up
    // before down.)
    SDL_WaitEvent(nullptr);
  }

  void PassCompleted() override {}

  std::int64_t CalendarTime() override { return static_cast<std::int64_t>(std::time(nullptr)); }

  bool StartWindowing() override {
    if (started_) return true;
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
      std::fprintf(stderr, "Vedo Zeza1: no display: %s\n", SDL_GetError());
      return false;
    }
    started_ = true;
    return true;
  }

  bool CreateMainWindow(const char* title) override {
    if (!started_) return false;
    // The window covers the desktop from the start, without a border, so
    // that it fills the screen even where no window manager carries out
    // the full-screen request (a bare X server); a window manager then
    // makes it full-screen proper.
    int x = SDL_WINDOWPOS_UNDEFINED;
    int y = SDL_WINDOWPOS_UNDEFINED;
    int w = 640;
    int h = 480;
    Uint32 flags = SDL_WINDOW_HIDDEN;
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w > 0 && desktop.h > 0) {
      SDL_Rect bounds{0, 0, desktop.w, desktop.h};
      SDL_GetDisplayBounds(0, &bounds);
      x = bounds.x;
      y = bounds.y;
      w = desktop.w;
      h = desktop.h;
      flags |= SDL_WINDOW_BORDERLESS;
    }
    window_ = SDL_CreateWindow(title, x, y, w, h, flags);
    return window_ != nullptr;
  }

  void ShowMainWindow() override {
    if (window_ == nullptr) return;
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
  }

  void DestroyMainWindow() override {
    if (window_ != nullptr) {
      SDL_DestroyWindow(window_);
      window_ = nullptr;
    }
  }

  bool HasMainWindow() override { return window_ != nullptr; }

  void ShowMessageBox(const char* text, const char* caption) override {
    if (started_ &&
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption, text, window_) == 0) {
      return;
    }
    std::fprintf(stderr, "%s: %s\n", caption, text);
    std::fflush(stderr);
  }

  void StopWindowing() override {
    VideoRelease();
    DestroyMainWindow();
    if (started_) {
      SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
      started_ = false;
      // With nothing else of SDL in use, let it release what it keeps for
      // the whole process too (its D-Bus connection, for one).
      if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
    }
  }

  bool VideoOpenDevice() override {
    if (window_ == nullptr) return false;
    // The software renderer takes B, G, R rows without a conversion pass.
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, 0);
    return renderer_ != nullptr;
  }

  bool VideoTakeScreen() override {
    if (window_ == nullptr) return false;
    if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return false;
    fullscreen_ = true;
    return true;
  }

  bool VideoSetMode(int width, int height) override {
    if (renderer_ == nullptr) return false;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    if (SDL_RenderSetLogicalSize(renderer_, width, height) != 0) return false;
    width_ = width;
    height_ = height;
    return true;
  }

  bool VideoCreatePresenter(int width, int height) override {
    if (renderer_ == nullptr) return false;
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_BGR24, SDL_TEXTUREACCESS_STREAMING,
                                 width, height);
    next_deadline_ = 0;
    return texture_ != nullptr;
  }

  bool VideoPresent(const Surface& frame) override {
    if (texture_ == nullptr || reset_) return false;
    if (SDL_UpdateTexture(texture_, nullptr, frame.Pixels(), frame.Pitch()) != 0) return false;
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
    Pace();
    return true;
  }

  bool VideoRecreatePresenter() override {
    if (renderer_ == nullptr) return false;
    reset_ = false;
    return VideoCreatePresenter(width_, height_);
  }

  void VideoRelease() override {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    texture_ = nullptr;
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    renderer_ = nullptr;
    if (fullscreen_ && window_ != nullptr) SDL_SetWindowFullscreen(window_, 0);
    fullscreen_ = false;
  }

 private:
  // Holds each flip to its 1/60 s slot: sleep for the bulk of the wait, then
  // spin the last stretch, since SDL_Delay may overshoot by a millisecond.
  void Pace() {
    const Uint64 freq = SDL_GetPerformanceFrequency();
    const Uint64 period = static_cast<Uint64>(freq / kFlipsPerSecond);
    Uint64 now = SDL_GetPerformanceCounter();
    if (next_deadline_ == 0 || now > next_deadline_ + period) {
      // First flip, or far behind (a stall, a debugger): start afresh rather
      // than racing to catch up.
      next_deadline_ = now + period;
      return;
    }
    while (now < next_deadline_) {
      const Uint64 left = next_deadline_ - now;
      const Uint64 ms = left * 1000 / freq;
      if (ms > 2) SDL_Delay(static_cast<Uint32>(ms - 1));
      now = SDL_GetPerformanceCounter();
    }
    next_deadline_ += period;
  }

  static int Clamp(int v, int hi) { return std::clamp(v, 0, hi - 1); }

  bool Translate(const SDL_Event& e, Event& out) {
    switch (e.type) {
      case SDL_QUIT:
        out.type = EventType::kWindowClosed;
        return true;
      case SDL_WINDOWEVENT:
        switch (e.window.event) {
          case SDL_WINDOWEVENT_CLOSE:
            out.type = EventType::kWindowClosed;
            return true;
          case SDL_WINDOWEVENT_SHOWN:
          case SDL_WINDOWEVENT_FOCUS_GAINED:
            // Showing the window activates it, as it would on a desktop
            // where the new window takes the focus; a window manager that
            // gives the focus elsewhere sends FOCUS_LOST next.
            out.type = EventType::kActivate;
            out.active = true;
            return true;
          case SDL_WINDOWEVENT_FOCUS_LOST:
          case SDL_WINDOWEVENT_MINIMIZED:
            out.type = EventType::kActivate;
            out.active = false;
            return true;
          default:
            return false;
        }
      case SDL_RENDER_TARGETS_RESET:
      case SDL_RENDER_DEVICE_RESET:
        reset_ = true;
        gDisplayLost = true;
        return false;
      case SDL_MOUSEMOTION:
        out.type = EventType::kMouseMove;
        out.x = Clamp(e.motion.x, width_ > 0 ? width_ : 640);
        out.y = Clamp(e.motion.y, height_ > 0 ? height_ : 480);
        return true;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        const bool down = e.type == SDL_MOUSEBUTTONDOWN;
        if (e.button.button == SDL_BUTTON_LEFT) {
          out.type = down ? EventType::kLeftDown : EventType::kLeftUp;
        } else if (e.button.button == SDL_BUTTON_RIGHT) {
          out.type = down ? EventType::kRightDown : EventType::kRightUp;
        } else {
          return false;
        }
        out.x = Clamp(e.button.x, width_ > 0 ? width_ : 640);
        out.y = Clamp(e.button.y, height_ > 0 ? height_ : 480);
        return true;
      }
      case SDL_KEYDOWN:
        out.type = EventType::kKeyDown;
        out.key = e.key.keysym.sym == SDLK_ESCAPE ? Key::kEscape : Key::kOther;
        return true;
      default:
        return false;
    }
  }

  bool started_ = false;
  bool fullscreen_ = false;
  bool reset_ = false;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  Uint64 next_deadline_ = 0;
};

}  // namespace

std::unique_ptr<Backend> MakeSdlBackend() { return std::make_unique<SdlBackend>(); }

}  // namespace platform
