// The Win32 backend: one borderless pop-up window over the whole monitor,
// GDI presentation and the window's messages, on the Windows API alone.
//
// Window: class and title "Vedo Zeza1", the game's icon (ICON 32512 of the
// resources, the system's where it is missing), the arrow cursor and a black
// background brush, so that nothing ever flashes white; WS_POPUP, placed over
// the monitor under the pointer, where the player is. The window procedure
// turns the messages the game listens to into our events: destruction,
// WM_ACTIVATEAPP, Escape, pointer moves and the left and right buttons.
// Everything else goes to DefWindowProcW.
//
// While the game is active: the display stays awake (SetThreadExecutionState)
// and, full screen, the pointer is confined to the game's monitor
// (ClipCursor), so that the scrolling edges stay edges and a stray click
// cannot land on another monitor; both are given back when the focus goes
// and at the end. The click that activates the window (the first press
// after the activation, made no later than it) is eaten, and its button's
// release with it, so that bringing the game back never attacks a cell. A
// second start of the program brings this one to the front and ends.
//
// The process is DPI-aware (per monitor, from its manifest), so the window
// and the frame's scaling are in the screen's real pixels: at 150 % a
// 1920 x 1080 monitor gets 1920 x 1080 pixels of game, not 1280 x 720 that
// Windows would stretch again.
//
// Pixel pipeline: the game composes each 640 x 480 frame in its back buffer
// (B, G, R bytes, rows 1920 bytes apart). That is the layout of a top-down
// 24-bit DIB, so a flip hands the primary surface's pixels straight to
// StretchDIBits, which scales them to the largest rectangle of the frame's
// aspect that fits the window, with nearest-neighbour sampling
// (COLORONCOLOR); the bars around it are filled black.
//
// No exclusive display mode is taken: current drivers have no 24-bit modes,
// and the scaled window looks the same on every monitor. A display change
// (WM_DISPLAYCHANGE, a new DPI, the window resized under it, as Wine does
// when the screen's size changes, or the full-screen window found, at its
// once-a-second check, not to cover its monitor) or a locked session marks
// the display lost; restoring it fits the full-screen window to its monitor
// again and lays the frame out anew, and fails while the session stays
// locked.
//
// A limiter holds the loop to 60 flips a second: it waits on a
// high-resolution waitable timer where Windows has one (10 and later), or
// sleeps with a 1 ms timer period, until just before the frame's slot, then
// spins the rest on the performance counter.
//
// With the window options asking for a normal window, it is one of the
// frame's size times a whole scale instead, with a caption and a border.
// The options may change while the game runs (Alt+Enter, F11, the options
// panel): the same window changes its style and place. Held to whole
// multiples (`sharp`), the frame takes the largest whole scale that fits,
// with black around.
//
// The player's settings and screenshots are kept in kept_files.cpp.
//
// Input: pointer positions come in window pixels and reach the game in frame
// pixels, clamped to the frame.
//
// The rest of Windows' part of the port (port.h): the sound in
// audio_waveout.cpp and midi_out.cpp, the clock and the trace file in
// frame_trace.cpp. Pictures are read by our own reader, as everywhere: the
// system's LoadImageA read past the end of a cut file, and took no path
// longer than 260 characters.
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "platform/port.h"
#include "platform/win32/utf16.h"

// After our own headers: their names (E_FAIL, HRESULT) are macros and
// types in the Windows headers.
#include <windows.h>

#include "platform/win32/system_dll.h"

namespace platform {

// kept_files.cpp
KeptRead ReadWindowsSettings(std::string& text, std::size_t maxBytes);
std::string WindowsSettingsFile();
bool WriteWindowsSettings(const std::string& text, std::string& why);
std::string SetWindowsSettingsAside();
bool SaveWindowsPicture(const std::vector<std::uint8_t>& png, const std::string& name,
                        std::string& where);

namespace {

constexpr wchar_t kClassName[] = L"Vedo Zeza1";
constexpr int kFrameWidth = 640;
constexpr int kFrameHeight = 480;
// The spin before each slot covers the wake-up latency of a timer wait
// (Sleep's can be a whole timer period).
constexpr std::int64_t kSpinNsHighResolution = 300000;
constexpr std::int64_t kSpinNsSleep = 1500000;
// CREATE_WAITABLE_TIMER_HIGH_RESOLUTION (Windows 10 1803), newer than
// MinGW-w64's headers. Older systems refuse the flag.
constexpr DWORD kHighResolutionTimer = 0x00000002;

// Posted by a second start to the running game's window.
constexpr UINT kComeToFront = WM_APP + 1;

// The game's icon in the resources (IDI_APPLICATION's number).
constexpr WORD kIconId = 32512;

// True when the process has somewhere to write stdout or stderr to: a
// console, or the handle a parent (a shell, a test) gave it.
bool HasOutput(DWORD which) {
  const HANDLE h = GetStdHandle(which);
  return h != nullptr && h != INVALID_HANDLE_VALUE;
}
bool HasErrorOutput() { return HasOutput(STD_ERROR_HANDLE); }

// The game's icon at the given size, or the system's program icon.
HICON GameIcon(HINSTANCE instance, int size) {
  auto* icon = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON, size, size, LR_SHARED));
  return icon != nullptr ? icon : LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
}

// The monitor's whole area and its work area (without the taskbar).
struct MonitorRects {
  RECT whole;
  RECT work;
};

MonitorRects RectsOf(HMONITOR monitor) {
  const RECT primary{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  MonitorRects r{primary, primary};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r.work, 0);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (monitor != nullptr && GetMonitorInfoW(monitor, &info) != FALSE) {
    r.whole = info.rcMonitor;
    r.work = info.rcWork;
  }
  if (r.whole.right <= r.whole.left || r.whole.bottom <= r.whole.top)
    r.whole = RECT{0, 0, 640, 480};
  if (r.work.right <= r.work.left || r.work.bottom <= r.work.top) r.work = r.whole;
  return r;
}

// The monitor under the pointer: the one the player is looking at.
MonitorRects MonitorUnderThePointer() {
  POINT at{0, 0};
  GetCursorPos(&at);
  return RectsOf(MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST));
}

// A window's outer rectangle for a client area of `client` with this
// style, at the DPI of the window's monitor where Windows can say
// (AdjustWindowRectExForDpi, Windows 10 1607 and later).
RECT OuterRect(RECT client, DWORD style, UINT dpi) {
  using ForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto forDpi = reinterpret_cast<ForDpi>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
  if (forDpi == nullptr || dpi == 0 || forDpi(&client, style, FALSE, 0, dpi) == FALSE) {
    AdjustWindowRectEx(&client, style, FALSE, 0);
  }
  return client;
}

// stderr takes the bytes it is given, as on Linux: the diagnostics and the
// specified debugger texts end in a bare newline, not CR LF.
[[maybe_unused]] const bool gBinaryErrorOutput = [] {
  return _setmode(_fileno(stderr), _O_BINARY) != -1;
}();

// Text written for an 80-column console, laid out for a message box's
// proportional font: a line that goes on the one before (it starts with a
// blank, or a small letter, as a sentence or an option's description goes
// on) joins it, and an option's name is set off from its description by a
// tab, which the box lays out. Blank lines part paragraphs, as before.
std::string ReflowForBox(std::string_view text) {
  std::string out;
  bool open = false;  // whether the last line may be gone on
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string_view::npos) {
      out += '\n';
      open = false;
      continue;
    }
    std::string_view body = line.substr(start);
    const bool option = start > 0 && body.rfind("--", 0) == 0;
    const bool goesOn = open && !option && (start > 0 || (line[0] >= 'a' && line[0] <= 'z'));
    if (goesOn) {
      out += ' ';
    } else if (!out.empty()) {
      out += '\n';
    }
    const std::size_t gap = option ? body.find("  ") : std::string_view::npos;
    if (gap != std::string_view::npos &&
        body.find_first_not_of(' ', gap) != std::string_view::npos) {
      out.append(body.substr(0, gap)).append("\t");
      body.remove_prefix(body.find_first_not_of(' ', gap));
    }
    out.append(body);
    open = true;
  }
  return out;
}

class Win32Backend;
Win32Backend* gWindowOwner = nullptr;

class Win32Backend final : public Backend {
 public:
  ~Win32Backend() override {
    VideoRelease();
    DestroyMainWindow();
    if (gWindowOwner == this) gWindowOwner = nullptr;
  }

  bool PeekEvent(Event& event) override {
    if (queue_.empty()) Pump();
    if (queue_.empty()) return false;
    event = queue_.front();
    queue_.pop_front();
    return true;
  }

  void WaitEvent() override {
    while (queue_.empty()) {
      if (!Pump()) WaitMessage();
    }
  }

  void PassCompleted() override {}

  std::int64_t CalendarTime() override { return static_cast<std::int64_t>(std::time(nullptr)); }

  // In the local application data folder, as Windows keeps a program's own
  // files that do not roam with the user.
  bool KeepRecording(const std::vector<std::uint8_t>& bytes, std::string& why) override {
    const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
    if (local == nullptr || *local == L'\0') {
      why = "LOCALAPPDATA names no folder";
      return false;
    }
    return KeepRecordingIn(Utf8FromUtf16(local) + "\\Vedo Zeza1\\recordings", bytes, why);
  }

  bool StartWindowing() override {
    if (started_) return true;
    instance_ = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &Win32Backend::WindowProc;
    wc.hInstance = instance_;
    wc.hIcon = GameIcon(instance_, GetSystemMetrics(SM_CXICON));
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    // Black, not the white the game once asked for: the window shows its
    // background before the first frame.
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszMenuName = kClassName;
    wc.lpszClassName = kClassName;
    wc.hIconSm = GameIcon(instance_, GetSystemMetrics(SM_CXSMICON));
    if (RegisterClassExW(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
      std::fprintf(stderr, "Vedo Zeza1: cannot register the window class (error %lu)\n",
                   GetLastError());
      return false;
    }
    gWindowOwner = this;
    started_ = true;
    return true;
  }

  bool CreateMainWindow(const char* title) override {
    if (!started_) return false;
    const std::wstring wideTitle = Utf16FromUtf8(title);
    if (GetWindowOptions().windowed) {
      window_ = CreateNormalWindow(wideTitle.c_str(), GetWindowOptions().scale);
    } else {
      const RECT screen = MonitorUnderThePointer().whole;
      window_ = CreateWindowExW(0, kClassName, wideTitle.c_str(), WS_POPUP, screen.left, screen.top,
                                screen.right - screen.left, screen.bottom - screen.top, nullptr,
                                nullptr, instance_, nullptr);
    }
    if (window_ == nullptr) return false;
    // Locking the session takes the screen away as a display change does.
    const Wtsapi& wts = WtsapiFunctions();
    sessionNotice_ = wts.Loaded() &&
                     wts.WTSRegisterSessionNotification(window_, NOTIFY_FOR_THIS_SESSION) != FALSE;
    return true;
  }

  void ShowMainWindow() override {
    if (window_ == nullptr) return;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 && startup.wShowWindow != SW_HIDE
                         ? startup.wShowWindow
                         : SW_SHOWNORMAL;
    ShowWindow(window_, show);
    UpdateWindow(window_);
    SetForegroundWindow(window_);
  }

  void DestroyMainWindow() override {
    if (window_ == nullptr) return;
    const HWND w = window_;
    SetActive(false);
    if (sessionNotice_) WtsapiFunctions().WTSUnRegisterSessionNotification(w);
    sessionNotice_ = false;
    DestroyWindow(w);  // WM_NCDESTROY clears window_
    window_ = nullptr;
  }

  bool HasMainWindow() override { return window_ != nullptr; }

  // Out of the way of a message box about a start that failed.
  void HideMainWindow() {
    if (window_ != nullptr) ShowWindow(window_, SW_HIDE);
  }

  void ShowMessageBox(const char* text, const char* caption) override {
    if (HasErrorOutput()) {
      std::fprintf(stderr, "%s: %s\n", caption, text);
      std::fflush(stderr);
    }
    MessageBoxW(window_, Utf16FromUtf8(text).c_str(), Utf16FromUtf8(caption).c_str(), MB_OK);
  }

  void StopWindowing() override {
    VideoRelease();
    DestroyMainWindow();
    if (started_) {
      UnregisterClassW(kClassName, instance_);
      started_ = false;
    }
  }

  bool VideoOpenDevice() override {
    if (window_ == nullptr) return false;
    dc_ = GetDC(window_);
    if (dc_ == nullptr) return false;
    SetStretchBltMode(dc_, COLORONCOLOR);
    return true;
  }

  bool VideoTakeScreen() override {
    if (window_ == nullptr) return false;
    if (GetWindowOptions().windowed) return true;  // a normal window keeps its size
    return FitToMonitor();
  }

  bool VideoSetMode(int width, int height) override {
    if (dc_ == nullptr || width <= 0 || height <= 0) return false;
    width_ = width;
    height_ = height;
    return true;
  }

  bool VideoCreatePresenter(int width, int height) override {
    if (dc_ == nullptr || locked_) return false;
    width_ = width;
    height_ = height;
    info_ = BITMAPINFO{};
    info_.bmiHeader.biSize = sizeof info_.bmiHeader;
    info_.bmiHeader.biWidth = width;
    info_.bmiHeader.biHeight = -height;  // top-down: row 0 first, as in our surfaces
    info_.bmiHeader.biPlanes = 1;
    info_.bmiHeader.biBitCount = 24;
    info_.bmiHeader.biCompression = BI_RGB;
    Layout();
    // The blanking of the primary surface shows at once: the whole window
    // black, before the first frame.
    RECT all{0, 0, clientW_, clientH_};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    GdiFlush();
    slots_.Restart();
    reset_ = false;
    return true;
  }

  bool VideoPresent(const Surface& frame) override {
    if (dc_ == nullptr || reset_) return false;
    // Wine can change the screen's size and neither resize the full-screen
    // window nor send WM_DISPLAYCHANGE, so once a second the window is held
    // against its monitor, and refitted as after a display change.
    if (++presents_ % 60 == 0 && !FillsItsMonitor()) {
      LoseDisplay();
      return false;
    }
    const std::uint8_t* pixels = frame.Pixels();
    const int dibPitch = (frame.Width() * 3 + 3) & ~3;
    if (frame.Pitch() != dibPitch) {
      // DIB rows are padded to 4 bytes; the game's 640-pixel rows already are.
      padded_.assign(static_cast<std::size_t>(dibPitch) * frame.Height(), 0);
      for (int y = 0; y < frame.Height(); ++y) {
        std::copy_n(frame.Row(y), frame.Width() * 3,
                    padded_.data() + std::size_t{1} * y * dibPitch);
      }
      pixels = padded_.data();
    }
    Pace();
    PaintBars();
    StretchDIBits(dc_, dstX_, dstY_, dstW_, dstH_, 0, 0, frame.Width(), frame.Height(), pixels,
                  &info_, DIB_RGB_COLORS, SRCCOPY);
    GdiFlush();
    last_ = &frame;
    TracePresent();
    return true;
  }

  bool VideoRecreatePresenter() override {
    if (dc_ == nullptr || locked_) return false;
    // After a display change the monitor may have another size.
    if (!GetWindowOptions().windowed) FitToMonitor();
    return VideoCreatePresenter(width_, height_);
  }

  void VideoRelease() override {
    SetActive(false);
    if (dc_ != nullptr && window_ != nullptr) ReleaseDC(window_, dc_);
    dc_ = nullptr;
    last_ = nullptr;
    if (timer_ != nullptr) CloseHandle(timer_);
    timer_ = nullptr;
    if (timePeriod_) WinmmFunctions().timeEndPeriod(1);
    timePeriod_ = false;
    slots_.Restart();
  }

  void WindowOptionsChanged() override {
    if (window_ == nullptr) return;
    const WindowOptions& o = GetWindowOptions();
    if (o.windowed) {
      SetWindowLongPtrW(window_, GWL_STYLE, kNormalStyle | WS_VISIBLE);
      int scale = o.scale;
      const RECT r = NormalWindowRect(scale);
      SetWindowPos(window_, HWND_NOTOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_FRAMECHANGED | SWP_NOACTIVATE);
      FitClientArea(window_, scale);
    } else {
      SetWindowLongPtrW(window_, GWL_STYLE, WS_POPUP | WS_VISIBLE);
      SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      FitToMonitor();
    }
    Confine();
    if (dc_ != nullptr) {
      Layout();
      RECT all{0, 0, clientW_, clientH_};
      FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      InvalidateRect(window_, nullptr, FALSE);
    }
    slots_.Restart();
  }

  KeptRead ReadSettings(std::string& text, std::string& where, std::size_t maxBytes) override {
    where = WindowsSettingsFile();
    return ReadWindowsSettings(text, maxBytes);
  }
  bool WriteSettings(const std::string& text, std::string& why) override {
    return WriteWindowsSettings(text, why);
  }
  std::string SetDamagedSettingsAside() override { return SetWindowsSettingsAside(); }
  bool SavePicture(const std::vector<std::uint8_t>& png, const std::string& name,
                   std::string& where) override {
    return SaveWindowsPicture(png, name, where);
  }

 private:
  // A normal window's outer rectangle (caption, border, not resizable) for
  // a client area of 640 x 480 times `scale`, centred in the work area of
  // the monitor under the pointer (or the window's own); scale 0 takes the
  // largest whole scale whose window fits the work area, and at least 1.
  RECT NormalWindowRect(int& scale) {
    const RECT work = window_ != nullptr
                          ? RectsOf(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST)).work
                          : MonitorUnderThePointer().work;
    const auto outer = [&](int s) {
      return OuterRect(RECT{0, 0, kFrameWidth * s, kFrameHeight * s}, kNormalStyle, 0);
    };
    if (scale <= 0) {
      scale = 1;
      for (int s = 2;; ++s) {
        const RECT r = outer(s);
        if (r.right - r.left > work.right - work.left ||
            r.bottom - r.top > work.bottom - work.top) {
          break;
        }
        scale = s;
      }
    }
    const RECT r = outer(scale);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    const int x = work.left + std::max(0, static_cast<int>(work.right - work.left - w) / 2);
    const int y = work.top + std::max(0, static_cast<int>(work.bottom - work.top - h) / 2);
    return RECT{x, y, x + w, y + h};
  }

  // On a monitor whose DPI is not the system's the caption and border have
  // other sizes: the client area is made exact again.
  static void FitClientArea(HWND window, int scale) {
    RECT client;
    RECT whole;
    if (window != nullptr && GetClientRect(window, &client) != FALSE &&
        GetWindowRect(window, &whole) != FALSE) {
      const int dw = kFrameWidth * scale - (client.right - client.left);
      const int dh = kFrameHeight * scale - (client.bottom - client.top);
      if (dw != 0 || dh != 0) {
        SetWindowPos(window, nullptr, 0, 0, whole.right - whole.left + dw,
                     whole.bottom - whole.top + dh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
    }
  }

  HWND CreateNormalWindow(const wchar_t* title, int scale) {
    const RECT r = NormalWindowRect(scale);
    const HWND window =
        CreateWindowExW(0, kClassName, title, kNormalStyle, r.left, r.top, r.right - r.left,
                        r.bottom - r.top, nullptr, nullptr, instance_, nullptr);
    FitClientArea(window, scale);
    return window;
  }

  // Whether the full-screen window covers its monitor exactly (a normal or
  // minimized window always passes).
  bool FillsItsMonitor() const {
    RECT area;
    if (GetWindowOptions().windowed || IsIconic(window_) != FALSE ||
        GetWindowRect(window_, &area) == FALSE) {
      return true;
    }
    const RECT monitor = RectsOf(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST)).whole;
    return EqualRect(&area, &monitor) != FALSE;
  }

  // The full-screen window over the whole of its monitor, as it is now.
  bool FitToMonitor() {
    const RECT screen = RectsOf(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST)).whole;
    const bool placed =
        SetWindowPos(window_, HWND_TOP, screen.left, screen.top, screen.right - screen.left,
                     screen.bottom - screen.top, SWP_NOACTIVATE) != FALSE;
    Confine();
    return placed;
  }

  // The pointer held to the full-screen window's monitor while the game is
  // active; free otherwise.
  void Confine() {
    RECT area;
    if (active_ && window_ != nullptr && !GetWindowOptions().windowed &&
        GetWindowRect(window_, &area) != FALSE) {
      ClipCursor(&area);
      confined_ = true;
    } else if (confined_) {
      ClipCursor(nullptr);
      confined_ = false;
    }
  }

  // What the game holds while it is active: the pointer's confinement and
  // the display kept awake.
  void SetActive(bool active) {
    active_ = active;
    Confine();
    SetThreadExecutionState(active ? ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED
                                   : ES_CONTINUOUS);
  }

  // The largest rectangle of the frame's aspect in the client area (of a
  // whole multiple of its size, held sharp), centred.
  void Layout() {
    RECT client{0, 0, width_, height_};
    if (window_ != nullptr) GetClientRect(window_, &client);
    clientW_ = std::max<int>(client.right - client.left, 1);
    clientH_ = std::max<int>(client.bottom - client.top, 1);
    const int whole = std::min(clientW_ / std::max(width_, 1), clientH_ / std::max(height_, 1));
    if (GetWindowOptions().sharp && whole >= 1) {
      dstW_ = width_ * whole;
      dstH_ = height_ * whole;
    } else if (static_cast<long long>(clientW_) * height_ <=
               static_cast<long long>(clientH_) * width_) {
      dstW_ = clientW_;
      dstH_ = static_cast<int>(static_cast<long long>(clientW_) * height_ / width_);
    } else {
      dstH_ = clientH_;
      dstW_ = static_cast<int>(static_cast<long long>(clientH_) * width_ / height_);
    }
    dstX_ = (clientW_ - dstW_) / 2;
    dstY_ = (clientH_ - dstH_) / 2;
  }

  void PaintBars() {
    const auto black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    const RECT bars[] = {{0, 0, clientW_, dstY_},
                         {0, dstY_ + dstH_, clientW_, clientH_},
                         {0, dstY_, dstX_, dstY_ + dstH_},
                         {dstX_ + dstW_, dstY_, clientW_, dstY_ + dstH_}};
    for (const RECT& r : bars) {
      if (r.right > r.left && r.bottom > r.top) FillRect(dc_, &r, black);
    }
  }

  // Holds each flip to its slot (FlipSlots): a timer wait until just
  // before it, then a spin.
  void Pace() {
    const std::int64_t now = MonotonicNs();
    if (!slots_.Counting() && timer_ == nullptr && !timePeriod_) {
      timer_ = CreateWaitableTimerExW(nullptr, nullptr, kHighResolutionTimer, TIMER_ALL_ACCESS);
      const Winmm& mm = WinmmFunctions();
      if (timer_ == nullptr) timePeriod_ = mm.Loaded() && mm.timeBeginPeriod(1) == TIMERR_NOERROR;
    }
    const std::int64_t hold = slots_.Take(now);
    if (hold == 0) return;
    const std::int64_t spin = timer_ != nullptr ? kSpinNsHighResolution : kSpinNsSleep;
    const std::int64_t wait = hold - spin - now;
    if (wait > 0) {
      if (timer_ != nullptr) {
        LARGE_INTEGER due;
        due.QuadPart = -(wait / 100);  // relative, in 100 ns units
        if (SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE) != FALSE) {
          WaitForSingleObject(timer_, INFINITE);
        }
      } else {
        Sleep(static_cast<DWORD>(wait / 1000000));
      }
    }
    while (MonotonicNs() < hold) {
    }
  }

  // Dispatches every waiting message. False when there was none.
  bool Pump() {
    MSG msg;
    bool any = false;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
      any = true;
      if (msg.message == WM_QUIT) {
        Push(EventType::kWindowClosed);
        continue;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    return any;
  }

  void Push(EventType type) { queue_.push_back({.type = type}); }

  static Key KeyOf(WPARAM key) {
    switch (key) {
      case VK_ESCAPE:
        return Key::kEscape;
      case VK_F1:
        return Key::kF1;
      case VK_F11:
        return Key::kF11;
      case VK_F12:
        return Key::kF12;
      case 'M':
        return GetKeyState(VK_CONTROL) < 0 ? Key::kOther : Key::kM;
      default:
        return Key::kOther;
    }
  }

  void PushPointer(EventType type, LPARAM lParam) {
    Event e{.type = type};
    // Window pixels to frame pixels; outside the frame clamps to its edge.
    const int wx = static_cast<short>(LOWORD(lParam));
    const int wy = static_cast<short>(HIWORD(lParam));
    const int w = width_ > 0 ? width_ : 640;
    const int h = height_ > 0 ? height_ : 480;
    const long long fx = dstW_ > 0 ? static_cast<long long>(wx - dstX_) * w / dstW_ : wx;
    const long long fy = dstH_ > 0 ? static_cast<long long>(wy - dstY_) * h / dstH_ : wy;
    e.x = static_cast<int>(std::clamp<long long>(wx < dstX_ ? -1 : fx, 0, w - 1));
    e.y = static_cast<int>(std::clamp<long long>(wy < dstY_ ? -1 : fy, 0, h - 1));
    queue_.push_back(e);
  }

  // Whether the press being handled is the click that activated the window:
  // the first since, and made no later than that (the message's time and
  // the tick count share their clock; a little is allowed for their steps).
  bool ActivatingPress() {
    constexpr LONG kSameMomentMs = 100;
    const bool activating = firstPress_ && static_cast<LONG>(static_cast<DWORD>(GetMessageTime()) -
                                                             activatedAt_) < kSameMomentMs;
    firstPress_ = false;
    return activating;
  }

  void LoseDisplay() {
    reset_ = true;
    VideoMarkLost();
  }

  LRESULT Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_DESTROY:
        Push(EventType::kWindowClosed);
        return 0;
      case WM_NCDESTROY:
        if (hwnd == window_) {
          if (dc_ != nullptr) ReleaseDC(hwnd, dc_);
          dc_ = nullptr;
          window_ = nullptr;
        }
        break;
      case WM_ACTIVATEAPP:
        queue_.push_back({.type = EventType::kActivate, .active = wParam != FALSE});
        SetActive(wParam != FALSE);
        return 0;
      case WM_ACTIVATE:
        // A click that brings the game back is only that: its press and its
        // release do not reach the game. That press was made before the
        // window became active, and is the first to follow this message.
        // (WM_MOUSEACTIVATE cannot tell: Wine sends it, with a hit-test of
        // its own, whenever the window manager hands over the focus, and
        // delivers the press whatever it answers; nor can WA_CLICKACTIVE,
        // which Wine does not always send.)
        activatedAt_ = GetTickCount();
        firstPress_ = LOWORD(wParam) != WA_INACTIVE;
        break;
      case WM_NCLBUTTONDOWN:
      case WM_NCRBUTTONDOWN:
        firstPress_ = false;  // it was on the frame
        break;
      case WM_KEYDOWN: {
        const Key key = KeyOf(wParam);
        // The program's keys act once a press (bit 30: the key was down).
        if ((lParam & (1 << 30)) == 0 || key == Key::kEscape || key == Key::kOther) {
          queue_.push_back({.type = EventType::kKeyDown, .key = key});
        }
        return 0;
      }
      case WM_SYSKEYDOWN:
        // Alt+Enter; every other Alt key (Alt+F4) is the system's.
        if (wParam == VK_RETURN) {
          if ((lParam & (1 << 30)) == 0) {
            queue_.push_back({.type = EventType::kKeyDown, .key = Key::kAltEnter});
          }
          return 0;
        }
        break;
      case WM_SYSCHAR:
        if (wParam == VK_RETURN) return 0;  // no beep for Alt+Enter
        break;
      case WM_MOUSEMOVE:
        PushPointer(EventType::kMouseMove, lParam);
        return 0;
      case WM_LBUTTONDOWN:
        eatLeftUp_ = ActivatingPress();  // else its release went elsewhere
        if (!eatLeftUp_) PushPointer(EventType::kLeftDown, lParam);
        break;
      case WM_LBUTTONUP:
        if (!eatLeftUp_) PushPointer(EventType::kLeftUp, lParam);
        eatLeftUp_ = false;
        break;
      case WM_RBUTTONDOWN:
        eatRightUp_ = ActivatingPress();
        if (!eatRightUp_) PushPointer(EventType::kRightDown, lParam);
        break;
      case WM_RBUTTONUP:
        if (!eatRightUp_) PushPointer(EventType::kRightUp, lParam);
        eatRightUp_ = false;
        break;
      case WM_ERASEBKGND:
        if (dc_ != nullptr) return 1;  // the frame and its bars cover everything
        break;
      case WM_PAINT:
        if (dc_ != nullptr && last_ != nullptr && !reset_) {
          PAINTSTRUCT ps;
          BeginPaint(hwnd, &ps);
          PaintBars();
          StretchDIBits(dc_, dstX_, dstY_, dstW_, dstH_, 0, 0, last_->Width(), last_->Height(),
                        last_->Pixels(), &info_, DIB_RGB_COLORS, SRCCOPY);
          EndPaint(hwnd, &ps);
          return 0;
        }
        break;
      case kComeToFront:
        if (IsIconic(hwnd) != FALSE) ShowWindow(hwnd, SW_RESTORE);
        SetForegroundWindow(hwnd);
        return 0;
      case WM_DISPLAYCHANGE:
        LoseDisplay();
        break;
      case WM_SIZE:
        // A window of a new size is laid out anew, as after a display
        // change: Wine, when the screen's size changes under it, resizes
        // the full-screen window but sends no WM_DISPLAYCHANGE.
        if (wParam != SIZE_MINIMIZED && dc_ != nullptr &&
            (LOWORD(lParam) != clientW_ || HIWORD(lParam) != clientH_)) {
          LoseDisplay();
        }
        break;
      case WM_DPICHANGED:
        if (GetWindowOptions().windowed) {
          // The client area keeps its whole scale of the frame in real
          // pixels; only the caption and border change with the DPI.
          RECT client{0, 0, 0, 0};
          GetClientRect(hwnd, &client);
          const RECT outer = OuterRect(client, kNormalStyle, HIWORD(wParam));
          const auto* suggested = reinterpret_cast<const RECT*>(lParam);
          SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, outer.right - outer.left,
                       outer.bottom - outer.top, SWP_NOZORDER | SWP_NOACTIVATE);
        } else {
          LoseDisplay();  // refitted to its monitor as the display is restored
        }
        return 0;
      case WM_WTSSESSION_CHANGE:
        if (wParam == WTS_SESSION_LOCK) {
          locked_ = true;
          LoseDisplay();
        } else if (wParam == WTS_SESSION_UNLOCK) {
          locked_ = false;
        }
        break;
      default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (gWindowOwner != nullptr) return gWindowOwner->Handle(hwnd, message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

  static constexpr DWORD kNormalStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

  bool started_ = false;
  bool sessionNotice_ = false;
  bool active_ = false;
  bool confined_ = false;
  DWORD activatedAt_ = 0;
  bool firstPress_ = false;
  bool eatLeftUp_ = false;
  bool eatRightUp_ = false;
  bool reset_ = false;
  unsigned presents_ = 0;  // counts to the once-a-second check of the window's fit
  bool locked_ = false;
  HINSTANCE instance_ = nullptr;
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
  BITMAPINFO info_{};
  std::vector<std::uint8_t> padded_;
  const Surface* last_ = nullptr;
  std::deque<Event> queue_;
  int width_ = 0;
  int height_ = 0;
  int clientW_ = 0;
  int clientH_ = 0;
  int dstX_ = 0;
  int dstY_ = 0;
  int dstW_ = 0;
  int dstH_ = 0;
  HANDLE timer_ = nullptr;
  bool timePeriod_ = false;
  FlipSlots slots_;
};

}  // namespace

std::unique_ptr<Backend> MakeNativeBackend() { return std::make_unique<Win32Backend>(); }

void NativeDebugOutput(const char* text) {
  OutputDebugStringA(text);
  if (HasErrorOutput()) {
    std::fputs(text, stderr);
    std::fflush(stderr);
  }
}

void NativeTellPlayer(const char* text, bool error) {
  if (HasOutput(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE)) {
    std::FILE* stream = error ? stderr : stdout;
    std::fputs(text, stream);
    std::fflush(stream);
    return;
  }
  // Started from Explorer or a shortcut: no console to write to. A window
  // that a failed start left black over the screen goes first.
  if (gWindowOwner != nullptr) gWindowOwner->HideMainWindow();
  std::string shown = ReflowForBox(text);
  while (!shown.empty() && shown.back() == '\n') shown.pop_back();
  MessageBoxW(nullptr, Utf16FromUtf8(shown).c_str(), L"Vedo Zeza1",
              MB_OK | (error ? MB_ICONWARNING : MB_ICONINFORMATION));
}

std::string NativeProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return std::string();
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);  // cut short: a longer path
  }
  const std::size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return std::string();
  path.resize(slash == 2 && path[1] == L':' ? 3 : slash);  // "C:\" keeps its backslash
  return Utf8FromUtf16(path);
}

bool NativeHandOverToRunningGame() {
  // Held, unclosed, for as long as the game runs: the second start finds it.
  const HANDLE running = CreateMutexW(nullptr, FALSE, L"Local\\VedoZeza1.Game");
  if (running == nullptr || GetLastError() != ERROR_ALREADY_EXISTS) return false;
  CloseHandle(running);
  // The running game may still be making its window: it is waited for a
  // little, then brought to the front, out of the taskbar if minimized.
  for (int tries = 0; tries < 30; ++tries) {
    if (const HWND window = FindWindowW(kClassName, nullptr)) {
      // This start was the player's, so it may hand the front to the
      // game, which takes it itself.
      DWORD process = 0;
      GetWindowThreadProcessId(window, &process);
      AllowSetForegroundWindow(process);
      PostMessageW(window, kComeToFront, 0, 0);
      break;
    }
    Sleep(100);
  }
  return true;
}

}  // namespace platform
