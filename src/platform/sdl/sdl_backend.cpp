// The SDL2 backend: one desktop full-screen window, its renderer and input.
//
// Window: borderless and as large as the desktop from the start, so that it
// fills the screen even without a window manager; on X11 the full-screen
// request goes to the window manager directly, without SDL's wait for an
// answer (see AskWindowManagerForFullscreen).
//
// Pixel pipeline: the game composes each 640 x 480 frame in its back buffer
// (B, G, R bytes). A flip exchanges it with the primary surface, whose rows
// are converted into a streaming texture in the window's own 32-bit pixel
// format (where the window has one; otherwise SDL_PIXELFORMAT_BGR24, the SDL
// name for B, G, R in memory, and SDL converts). The software renderer has a
// logical size of 640 x 480, so SDL scales the texture to the window with its
// aspect ratio kept (black bars where the shapes differ) and nearest-neighbour
// sampling, and puts the result straight into the window's own X image: no
// OpenGL is involved (SDL would otherwise route the window surface through an
// OpenGL texture, which on a machine without a graphics card means Mesa's
// software rasteriser, at several times the cost of the game). With the
// texture in the window's format the scaling is a plain nearest-neighbour
// copy; a BGR24 texture would take SDL's per-pixel conversion path.
//
// A limiter holds the loop to 60 flips a second, since vsync is not
// something every X server (or Xvfb) provides: the frame is scaled first,
// then the limiter sleeps on the absolute monotonic clock until just before
// the frame's slot and spins only the last fraction of a millisecond, and
// only then is the frame handed to the X server, so that frames reach the
// screen at even intervals whatever each took to draw.
//
// When the window options ask for a normal window, it is one of the frame's size
// times a whole scale instead, so every frame pixel is a square of screen pixels.
// The options may change while the game runs (Alt+Enter, the options panel):
// the same window then becomes a normal one or covers the desktop again. Held
// to whole multiples (`sharp`), the renderer scales by the largest whole
// factor that fits, with black around.
//
// The player's settings are kept in $XDG_CONFIG_HOME/vedo-zeza1 and the
// screenshots in the user's pictures folder (posix/kept_files.cpp).
//
// Either opens on the monitor under the pointer, where the player is. Full
// screen, the pointer is held to the window (SDL's mouse grab, which SDL
// keeps only while the window has the focus), so that the scrolling edges
// stay edges on a desktop of several monitors. The click that gives the
// window the focus does not reach the game (SDL drops the press; we drop
// the release that would come without it).
//
// Input: SDL reports pointer positions in logical (frame) pixels once the
// logical size is set; a position in a letterbox bar lies outside the frame
// and is clamped to the nearest edge.
//
// The rest of Linux's part of the port (port.h): pictures by our own reader
// (the Backend's shared way), the sound in audio_output.cpp and
// sound_convert.cpp, the clock, the trace file and the program's outputs
// in ../posix.
#include <SDL.h>
#include <SDL_syswm.h>
#include <sys/prctl.h>
#include <time.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "platform/port.h"
#include "platform/posix/kept_files.h"

namespace platform {
namespace {

constexpr int kFrameWidth = 640;
constexpr int kFrameHeight = 480;
constexpr std::int64_t kNsPerSecond = 1000000000;
// The limiter's spin before each slot: covers the usual wake-up latency of
// a sleep (tens of microseconds; a busy machine's longer delays are beyond
// any spin).
constexpr std::int64_t kSpinNs = 150000;

// On X11, asks the window manager to make the window full-screen (or to stop)
// and returns without waiting for an answer; false elsewhere. This is the
// request SDL_SetWindowFullscreen sends, but SDL then waits up to 100 ms for
// the window's geometry to change, and ours never does: it covers the screen
// from the start. Without a window manager nobody answers, and the borderless
// desktop-sized window is full-screen as it is.
bool AskWindowManagerForFullscreen(SDL_Window* window, bool on) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
    return false;
  }
  Display* display = info.info.x11.display;
  const Window xwindow = info.info.x11.window;
  XWindowAttributes attributes;
  if (display == nullptr || XGetWindowAttributes(display, xwindow, &attributes) == 0) return false;
  XEvent e;
  std::memset(&e, 0, sizeof e);
  e.xclient.type = ClientMessage;
  e.xclient.window = xwindow;
  e.xclient.message_type = XInternAtom(display, "_NET_WM_STATE", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = on ? 1 : 0;  // _NET_WM_STATE_ADD or _REMOVE
  e.xclient.data.l[1] = static_cast<long>(XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False));
  e.xclient.data.l[3] = 1;  // the request comes from an application
  XSendEvent(display, attributes.root, False, SubstructureNotifyMask | SubstructureRedirectMask,
             &e);
  XFlush(display);
  return true;
}

// B, G, R rows into 32-bit pixels whose red, green and blue sit at the given
// bit shifts; the fourth byte is unused.
void ConvertRows(const Surface& frame, std::uint8_t* dst, int dstPitch, int rShift, int gShift,
                 int bShift) {
  const int w = frame.Width();
  for (int y = 0; y < frame.Height(); ++y) {
    const std::uint8_t* in = frame.Pixels() + static_cast<std::ptrdiff_t>(y) * frame.Pitch();
    auto* out = reinterpret_cast<std::uint32_t*>(dst + static_cast<std::ptrdiff_t>(y) * dstPitch);
    for (int x = 0; x < w; ++x, in += 3) {
      out[x] = (std::uint32_t{in[2]} << rShift) | (std::uint32_t{in[1]} << gShift) |
               (std::uint32_t{in[0]} << bShift);
    }
  }
}

// The display under the pointer; the first when that cannot be told.
int DisplayUnderThePointer() {
  SDL_Point at{0, 0};
  SDL_GetGlobalMouseState(&at.x, &at.y);
  for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i) {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(i, &bounds) == 0 && SDL_PointInRect(&at, &bounds) == SDL_TRUE) {
      return i;
    }
  }
  return 0;
}

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

  bool KeepRecording(const std::vector<std::uint8_t>& bytes, std::string& why) override {
    return KeepRecordingIn(XdgRecordingsFolder(), bytes, why);
  }

  bool StartWindowing() override {
    if (started_) return true;
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // The click that focuses the window is not a click in the game.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "0");
    // The software renderer draws into the window's own image; see above.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
      std::fprintf(stderr, "Vedo Zeza1: no display: %s\n", SDL_GetError());
      return false;
    }
    started_ = true;
    return true;
  }

  bool CreateMainWindow(const char* title) override {
    if (!started_) return false;
    if (GetWindowOptions().windowed) return CreateNormalWindow(title, GetWindowOptions().scale);
    // The window covers the desktop from the start, without a border, so
    // that it fills the screen even where no window manager carries out
    // the full-screen request (a bare X server); a window manager then
    // makes it full-screen proper.
    const int display = DisplayUnderThePointer();
    int x = SDL_WINDOWPOS_UNDEFINED_DISPLAY(display);
    int y = SDL_WINDOWPOS_UNDEFINED_DISPLAY(display);
    int w = 640;
    int h = 480;
    Uint32 flags = SDL_WINDOW_HIDDEN;
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(display, &desktop) == 0 && desktop.w > 0 && desktop.h > 0) {
      SDL_Rect bounds{0, 0, desktop.w, desktop.h};
      SDL_GetDisplayBounds(display, &bounds);
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
    if (started_ && DriverShowsBoxes() &&
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption, text, window_) == 0) {
      return;
    }
    std::fprintf(stderr, "%s: %s\n", caption, text);
    std::fflush(stderr);
  }

  // Only a window system shows a box. On any other driver SDL still tries
  // its X11 and zenity boxes, in forked children of this many-threaded
  // process, and the child can hang on a lock some other thread held at the
  // fork while we wait for it; the line on stderr is all such a driver has.
  static bool DriverShowsBoxes() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr &&
           (std::strcmp(driver, "x11") == 0 || std::strcmp(driver, "wayland") == 0);
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
    if (GetWindowOptions().windowed) return true;  // a normal window keeps its size
    return TakeScreen();
  }

  void WindowOptionsChanged() override {
    if (window_ == nullptr) return;
    const WindowOptions& o = GetWindowOptions();
    if (renderer_ != nullptr) SDL_RenderSetIntegerScale(renderer_, o.sharp ? SDL_TRUE : SDL_FALSE);
    const int display = std::max(SDL_GetWindowDisplayIndex(window_), 0);
    if (o.windowed) {
      GiveScreenBack();
      SDL_SetWindowBordered(window_, SDL_TRUE);
      const int scale = WindowScale(o.scale, display);
      SDL_SetWindowSize(window_, kFrameWidth * scale, kFrameHeight * scale);
      SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                            SDL_WINDOWPOS_CENTERED_DISPLAY(display));
    } else if (!fullscreen_) {
      SDL_SetWindowBordered(window_, SDL_FALSE);
      SDL_Rect bounds{0, 0, kFrameWidth, kFrameHeight};
      if (SDL_GetDisplayBounds(display, &bounds) == 0) {
        SDL_SetWindowPosition(window_, bounds.x, bounds.y);
        SDL_SetWindowSize(window_, bounds.w, bounds.h);
      }
      TakeScreen();
    }
    slots_.Restart();
  }

  KeptRead ReadSettings(std::string& text, std::string& where, std::size_t maxBytes) override {
    where = XdgSettingsFile();
    return where.empty() ? KeptRead::kNone : ReadKeptFile(where, text, maxBytes);
  }
  bool WriteSettings(const std::string& text, std::string& why) override {
    const std::string path = XdgSettingsFile();
    if (path.empty()) why = "there is no home folder to keep them in";
    return !path.empty() && WriteFileReplacing(path, text, why);
  }
  std::string SetDamagedSettingsAside() override {
    const std::string path = XdgSettingsFile();
    const std::string aside = path + ".bad";
    return !path.empty() && std::rename(path.c_str(), aside.c_str()) == 0 ? aside : "";
  }
  bool SavePicture(const std::vector<std::uint8_t>& png, const std::string& name,
                   std::string& where) override {
    const std::string folder = XdgPicturesFolder();
    if (folder.empty()) where = "there is no home folder for pictures";
    return !folder.empty() && WriteNewFile(folder, name, png, where);
  }

  bool VideoSetMode(int width, int height) override {
    if (renderer_ == nullptr) return false;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    if (SDL_RenderSetLogicalSize(renderer_, width, height) != 0) return false;
    SDL_RenderSetIntegerScale(renderer_, GetWindowOptions().sharp ? SDL_TRUE : SDL_FALSE);
    width_ = width;
    height_ = height;
    return true;
  }

  bool VideoCreatePresenter(int width, int height) override {
    if (renderer_ == nullptr) return false;
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    texture_ = nullptr;
    format_ = SDL_PIXELFORMAT_BGR24;
    switch (SDL_GetWindowPixelFormat(window_)) {
      case SDL_PIXELFORMAT_RGB888:
      case SDL_PIXELFORMAT_ARGB8888:
      case SDL_PIXELFORMAT_BGR888:
      case SDL_PIXELFORMAT_ABGR8888:
        // Opaque: the texture is not blended onto the window.
        format_ = SDL_GetWindowPixelFormat(window_) == SDL_PIXELFORMAT_ABGR8888 ||
                          SDL_GetWindowPixelFormat(window_) == SDL_PIXELFORMAT_BGR888
                      ? SDL_PIXELFORMAT_BGR888
                      : SDL_PIXELFORMAT_RGB888;
        texture_ =
            SDL_CreateTexture(renderer_, format_, SDL_TEXTUREACCESS_STREAMING, width, height);
        break;
      default:
        break;
    }
    if (texture_ == nullptr) {
      format_ = SDL_PIXELFORMAT_BGR24;
      texture_ = SDL_CreateTexture(renderer_, format_, SDL_TEXTUREACCESS_STREAMING, width, height);
    }
    if (texture_ != nullptr) SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
    slots_.Restart();
    return texture_ != nullptr;
  }

  bool VideoPresent(const Surface& frame) override {
    if (texture_ == nullptr || reset_) return false;
    if (!Upload(frame)) return false;
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    // Scaled now; handed over at the frame's slot.
    SDL_RenderFlush(renderer_);
    Pace();
    SDL_RenderPresent(renderer_);
    TracePresent();
    return true;
  }

  void VideoShowStill(const Surface& frame) override {
    if (texture_ == nullptr || reset_ || !Upload(frame)) return;
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
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
    GiveScreenBack();
  }

 private:
  // Full screen: asked of the window manager, or of SDL where there is
  // none to ask; the pointer is held to the window.
  bool TakeScreen() {
    if (!AskWindowManagerForFullscreen(window_, true)) {
      if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return false;
      sdl_fullscreen_ = true;
    }
    fullscreen_ = true;
    SDL_SetWindowGrab(window_, SDL_TRUE);
    return true;
  }

  void GiveScreenBack() {
    if (fullscreen_ && window_ != nullptr) {
      SDL_SetWindowGrab(window_, SDL_FALSE);
      if (sdl_fullscreen_) {
        SDL_SetWindowFullscreen(window_, 0);
      } else {
        AskWindowManagerForFullscreen(window_, false);
      }
    }
    fullscreen_ = false;
    sdl_fullscreen_ = false;
  }

  // `scale`, or for 0 the largest whole scale whose window fits the
  // display's usable area (what panels and docks leave), and at least 1.
  static int WindowScale(int scale, int display) {
    if (scale > 0) return scale;
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(display, &usable) != 0) return 1;
    return std::max(1, std::min(usable.w / kFrameWidth, usable.h / kFrameHeight));
  }

  // A normal window of 640 x 480 times the scale, centred.
  bool CreateNormalWindow(const char* title, int scale) {
    const int display = DisplayUnderThePointer();
    scale = WindowScale(scale, display);
    window_ = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                               SDL_WINDOWPOS_CENTERED_DISPLAY(display), kFrameWidth * scale,
                               kFrameHeight * scale, SDL_WINDOW_HIDDEN);
    return window_ != nullptr;
  }

  bool Upload(const Surface& frame) {
    if (format_ == SDL_PIXELFORMAT_BGR24) {
      return SDL_UpdateTexture(texture_, nullptr, frame.Pixels(), frame.Pitch()) == 0;
    }
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture_, nullptr, &pixels, &pitch) != 0) return false;
    if (format_ == SDL_PIXELFORMAT_RGB888) {
      ConvertRows(frame, static_cast<std::uint8_t*>(pixels), pitch, 16, 8, 0);
    } else {
      ConvertRows(frame, static_cast<std::uint8_t*>(pixels), pitch, 0, 8, 16);
    }
    SDL_UnlockTexture(texture_);
    return true;
  }

  // Holds each flip to its slot (FlipSlots): a sleep on the absolute
  // monotonic clock until just before it, then a spin.
  void Pace() {
    const std::int64_t now = MonotonicNs();
    if (!slots_.Counting()) {
      // Sleeps of this thread end when asked, not up to 50 us later.
      prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    }
    const std::int64_t hold = slots_.Take(now);
    if (hold == 0) return;
    if (hold - now > kSpinNs) {
      const std::int64_t wake = hold - kSpinNs;
      timespec until{static_cast<time_t>(wake / kNsPerSecond),
                     static_cast<long>(wake % kNsPerSecond)};
      while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
      }
    }
    while (MonotonicNs() < hold) {
    }
  }

  static int Clamp(int v, int hi) { return std::clamp(v, 0, hi - 1); }

  static Key KeyOf(const SDL_Keysym& k) {
    const bool alt = (k.mod & KMOD_ALT) != 0;
    const bool other = (k.mod & (KMOD_CTRL | KMOD_GUI)) != 0;
    switch (k.sym) {
      case SDLK_ESCAPE:
        return Key::kEscape;
      case SDLK_F1:
        return Key::kF1;
      case SDLK_F11:
        return Key::kF11;
      case SDLK_F12:
        return Key::kF12;
      case SDLK_RETURN:
      case SDLK_KP_ENTER:
        return alt && !other ? Key::kAltEnter : Key::kOther;
      default:
        // M where the keyboard has it, whatever the layout or the input
        // method make of it.
        return k.scancode == SDL_SCANCODE_M && !alt && !other ? Key::kM : Key::kOther;
    }
  }

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
        VideoMarkLost();
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
        // A release whose press the game never had (the focusing click's,
        // or a press outside the window) is dropped with it.
        bool& pressed = e.button.button == SDL_BUTTON_LEFT ? leftPressed_ : rightPressed_;
        if (!down && !pressed) return false;
        pressed = down;
        out.x = Clamp(e.button.x, width_ > 0 ? width_ : 640);
        out.y = Clamp(e.button.y, height_ > 0 ? height_ : 480);
        return true;
      }
      case SDL_KEYDOWN:
        out.type = EventType::kKeyDown;
        out.key = KeyOf(e.key.keysym);
        // The program's keys act once a press.
        return e.key.repeat == 0 || out.key == Key::kEscape || out.key == Key::kOther;
      default:
        return false;
    }
  }

  bool started_ = false;
  bool fullscreen_ = false;
  bool sdl_fullscreen_ = false;  // taken through SDL rather than asked of X directly
  bool reset_ = false;
  bool leftPressed_ = false;  // the game has had the press and not its release
  bool rightPressed_ = false;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  Uint32 format_ = SDL_PIXELFORMAT_BGR24;
  FlipSlots slots_;
};

}  // namespace

std::unique_ptr<Backend> MakeNativeBackend() { return std::make_unique<SdlBackend>(); }

}  // namespace platform
