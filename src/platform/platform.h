// The platform layer: what the game asks of the machine.
//
// The game sees one window, a queue of input events, a display that presents
// 640 x 480 frames, message boxes, a debugger output, a calendar clock, text,
// bitmaps, a sound device and a MIDI sequencer. Each call goes to one backend
// at a time: the platform's own, for the real program (the build picks its
// folder: sdl/ on Linux, win32/ on Windows, web/ in the browser), or the
// headless one (headless/, in every build), which takes its events and clock
// from a host (the replay tool or a test), keeps the frames it is given in
// memory and needs no platform library. What a platform supplies is declared
// in port.h; the code here and above it never asks which platform it is on.
//
// A backend is chosen once, before the game starts; the platform's own is
// the default.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/draw/surface.h"

namespace platform {

class SoundBuffer;

// ---- Input events ---------------------------------------------------------

enum class EventType {
  kWindowClosed,  // the window was closed or destroyed
  kActivate,      // focus gained (active = true) or lost
  kMouseMove,     // pointer moved; x, y in frame pixels, clamped to the frame
  kLeftDown,
  kLeftUp,
  kRightDown,
  kRightUp,
  kKeyDown,
};

// Escape is the game's; the rest are the program's own keys, which the
// application answers before the game sees the event (F1 the options, M
// mute, F11 and Alt+Enter window or full screen, F12 a screenshot).
// Backends report the program's keys once a press, not for the key's
// repeats.
enum class Key { kEscape, kOther, kF1, kF11, kF12, kM, kAltEnter };

struct Event {
  EventType type = EventType::kMouseMove;
  int x = 0;
  int y = 0;
  bool active = false;
  Key key = Key::kOther;
};

// Takes the next queued event without waiting. False when none is queued.
bool PeekEvent(Event& event);
// Blocks until an event is queued (the event stays queued).
void WaitEvent();
// The loop calls this after every scene pass (drawn or not).
void PassCompleted();
// Calendar time in whole seconds.
std::int64_t CalendarTime();

// ---- Window and messages --------------------------------------------------

// Brings up the windowing system. False when it is not available.
bool StartWindowing();
// Creates the main window, hidden. False on failure.
bool CreateMainWindow(const char* title);
void ShowMainWindow();
void DestroyMainWindow();
bool HasMainWindow();
// A message box with an OK button (a panel on the page); on the headless
// backend a line "caption: text" on stderr.
void ShowMessageBox(const char* text, const char* caption);
// Debugger output: written to stderr unchanged (the browser's console), and
// to the debugger where the platform has one (Windows).
void DebugOutput(const char* text);
// Undoes StartWindowing at program end.
void StopWindowing();

// Text for the player outside the game's screens: the usage, the version,
// why a command line was refused, and the hint at missing data. It goes to
// stdout, or stderr when `error` is set (the browser's console); a Windows
// program started with neither (from Explorer or a shortcut) shows it in a
// message box instead.
void TellPlayer(const char* text, bool error);
// The folder the program file itself is in (UTF-8), where players start the
// game from anywhere and its data sits beside it: Windows, whose game is
// unpacked or installed as one folder and started from Explorer, the Start
// menu or a prompt in another folder. Empty on the other platforms (the
// Linux launcher names the installed data itself; the browser has no
// folders).
std::string ProgramFolder();
// Where players start the game by double-clicking it (Windows), one game
// runs at a time: true when another is running, which this brings to the
// front, and this start should end. False where games may run side by side.
bool HandOverToRunningGame();

// How the main window is shown: full screen (the default), or a normal
// window of 640 x 480 times `scale`; scale 0 asks for the largest whole
// scale that fits the desktop. The frame fills what it is shown in, its
// aspect kept; `sharp` holds it to whole multiples of its pixels instead,
// with black around. Set before the window is created.
struct WindowOptions {
  bool windowed = false;
  int scale = 0;
  bool sharp = false;
  bool operator==(const WindowOptions&) const = default;
};
void SetWindowOptions(const WindowOptions& options);
const WindowOptions& GetWindowOptions();
// Sets the options while the window is shown: it becomes a window or full
// screen, resizes and lays the frame out again at once (as asked, whether
// or not the options differ from the last).
void ChangeWindowOptions(const WindowOptions& options);
// Whether the frame is shown full screen now. The page can leave full
// screen by itself (the browser's Escape); elsewhere it is the options'.
bool ShowsFullScreen();

// ---- Display ---------------------------------------------------------------
// The set-up steps, in the order the game takes them. Each returns false on
// failure; the game names the step that failed.

bool VideoOpenDevice();                    // a renderer for the main window
bool VideoTakeScreen();                    // desktop full-screen
bool VideoSetMode(int width, int height);  // the frame size, scaled to fit
// The primary surface and its back buffer, both width x height, sharing the
// display's loss flag. Null on failure. The display owns both.
Surface* VideoCreatePrimary(int width, int height);
Surface* VideoBackBuffer();
// Copies srcRect of src to (x, y) of dst. With DDBLTFAST_SRCCOLORKEY, source
// pixels equal to src's colour key are left out. Returns DD_OK,
// DDERR_SURFACELOST when either surface is lost, DDERR_WASSTILLDRAWING when
// either is on the display and the display is busy, and DDERR_INVALIDRECT when
// the rectangle is empty or does not fit either surface.
HRESULT BltFast(Surface& dst, int x, int y, const Surface& src, const Rect& srcRect,
                std::uint32_t flags);
// Whether the lines the game writes are a language pack's, UTF-8, rather
// than its own Korean, CP949 (lang/language.h sets it with the language).
extern bool gTextUtf8;
// Draws a string with its top-left corner at (x, y), in textColour on an
// opaque box of backColour (COLORREFs, 0x00BBGGRR), by the text route
// (draw/text_draw.h): CP949, or UTF-8 while gTextUtf8 is set. E_FAIL for a
// null surface or text.
HRESULT PrintText(Surface* surface, const char* text, std::uint32_t backColour,
                  std::uint32_t textColour, int x, int y);
// Exchanges the primary and back buffer pixels and shows the primary, paced
// to 60 flips a second on a real screen. DDERR_SURFACELOST while the display
// is lost; DDERR_WASSTILLDRAWING while the display is busy.
HRESULT VideoFlip();
// Puts the primary surface's pixels on the screen as they are, once. It is
// not a flip: it is not counted, paced or traced, and a headless host never
// sees it. For start-up, which blanks the visible screen before the first
// frame is drawn.
void VideoShowPrimary();
// Restores the primary surface after a loss. DD_OK when the display is back.
HRESULT VideoRestore();
// Releases the primary chain and the renderer, giving the screen back.
void VideoRelease();
// Marks the display as lost; the native backend does this when its renderer
// is reset.
void VideoMarkLost();
// Shows `frame` (of the primary's size) in place of the last flip's, paced
// as a flip is, without exchanging, counting or touching the game's
// surfaces: what the program shows over the game while no pass runs (its
// options panel). A lost display is restored first; false while it cannot
// be.
bool VideoShowOver(const Surface& frame);
// Something the program draws over each flipped frame on its way to the
// screen (a short note for the player), never into the game's surfaces;
// null for nothing. It is given a copy of the primary surface.
using FrameOverlay = void (*)(Surface& frame);
void SetFrameOverlay(FrameOverlay overlay);
// The number of flips shown so far.
std::uint64_t VideoFlipCount();
// Whether anyone looks at the frames. A host that checks only the game state
// (a recording played headless for its digests) says no one does: copies and
// text into the primary surface and the back buffer then keep every check
// and result but move no pixels, which is most of a pass's work. On from the
// start and whenever a backend is chosen: only a headless host turns it off.
void SetFramesSeen(bool seen);

// ---- The player's recordings -------------------------------------------------

// How many of the player's last games are kept.
inline constexpr int kKeptRecordings = 20;
// Keeps a finished game's recording where the platform keeps the player's
// last games (Linux: $XDG_STATE_HOME/vedo-zeza1/recordings; Windows: the
// local application data folder's Vedo Zeza1\recordings; the page: its
// IndexedDB), named by the local time, the oldest past kKeptRecordings
// dropped. A headless game keeps nothing. False, with why, when it cannot.
bool KeepRecording(const std::vector<std::uint8_t>& bytes, std::string& why);

// ---- What the player keeps ---------------------------------------------------
// The native backends keep the player's settings between runs and save
// screenshots where the platform keeps pictures; the headless backend keeps
// nothing, so that a replay or a test never reads or changes them.

enum class KeptRead { kNone, kRead, kUnreadable };
// The settings' text as the program last wrote it (at most `maxBytes`;
// kUnreadable for a longer file or one that cannot be read), and where it
// is kept (a path, or the page's storage).
KeptRead ReadSettingsText(std::string& text, std::string& where, std::size_t maxBytes);
// Keeps `text` as the settings: written whole to a new file that then takes
// the old one's place, so that a crash never leaves half of it. False, with
// why, when it cannot.
bool WriteSettingsText(const std::string& text, std::string& why);
// Moves damaged settings aside, beside the file as settings.ini.bad (over
// an older one); where they went, or empty when nothing was kept.
std::string SetDamagedSettingsAside();
// Where language packs are fetched only for the language played (the
// page), starts the program again in `language`, whose choice the settings
// already keep; false elsewhere, where every pack is at hand.
bool RestartInLanguage(const std::string& language);
// Saves `frame` as a PNG picture where the platform keeps pictures (a
// download on the page). True with where it went (one line for the
// player), or false with why not.
bool SaveScreenshot(const Surface& frame, std::string& where);

// ---- Diagnostics -------------------------------------------------------------
// The frame trace for measurements (frame_trace.cpp): on when the environment
// variable VEDO_FRAME_TRACE names a file at start, or after StartFrameTrace.
// It records every present, the process start and named marks, each with its
// monotonic time. Off, every hook costs one test of a flag.

// Records a named point in the trace (a short name without blanks).
void TraceMark(const char* name);
// Starts a trace into `path` (emptied first); false when it cannot be
// written. StopFrameTrace closes it.
bool StartFrameTrace(const char* path);
void StopFrameTrace();
bool FrameTraceOn();

// ---- Backends ---------------------------------------------------------------

// What a headless run is driven by. (ReplayClock, in replay_clock.h, keeps a
// replay's calendar.)
class HeadlessHost {
 public:
  virtual ~HeadlessHost() = default;
  // The next input event. When `waiting` is true the game is inactive and
  // waits; the host then returns an event if it has one and may also let
  // time pass. False when no event is there.
  virtual bool NextEvent(Event& event, bool waiting) = 0;
  virtual void OnPass() {}
  virtual void OnFlip(const Surface& shown) { (void)shown; }
  virtual std::int64_t Now() = 0;
};

void UseNativeBackend();
void UseHeadlessBackend(HeadlessHost* host);
// What the headless backend offers its hosts beyond this interface is in
// platform/headless/headless.h.

// Hears the calls the game makes to the sound buffers, the text and the
// sequencer, in order, where the backend lets a host listen (the headless
// one: HeadlessSetRecorder). Each is told before the call does its work,
// whatever it then answers.
class CallRecorder {
 public:
  enum class MusicCall { kOpen, kPlay, kStop, kPause, kSeek, kClose };

  virtual ~CallRecorder() = default;
  virtual void SoundPlayed(const SoundBuffer* buffer) { (void)buffer; }
  // `text` is the CP949 string as given (never null).
  virtual void TextDrawn(const char* text, std::uint32_t backColour, std::uint32_t textColour,
                         int x, int y) {
    (void)text, (void)backColour, (void)textColour, (void)x, (void)y;
  }
  // `path` is the file name for kOpen, else null.
  virtual void MusicCalled(MusicCall call, const char* path) { (void)call, (void)path; }
};

}  // namespace platform
