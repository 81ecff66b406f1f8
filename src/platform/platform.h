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

#include <cstdint>
#include <string>

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

enum class Key { kEscape, kOther };

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
// scale that fits the desktop. Set before the window is created.
struct WindowOptions {
  bool windowed = false;
  int scale = 0;
};
void SetWindowOptions(const WindowOptions& options);
const WindowOptions& GetWindowOptions();

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
// Draws a CP949 string with its top-left corner at (x, y), in textColour on
// an opaque box of backColour (COLORREFs, 0x00BBGGRR), by the text route
// (draw/text_draw.h). E_FAIL for a null surface or text.
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
// The number of flips shown so far.
std::uint64_t VideoFlipCount();

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
