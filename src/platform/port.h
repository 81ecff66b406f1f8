// The port: everything a platform supplies to the platform layer, each with
// its contract. A platform is a folder of src/platform that defines what
// this header declares, and its platform.cmake tells the build its folders
// and libraries (docs/HACKING.md, "Add a platform"). Private to the
// platform layer: the game sees platform.h, which forwards to what is here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/draw/surface.h"
#include "platform/platform.h"
#include "platform/sound/audio.h"

namespace platform {

struct AudioOutput;
class MusicSynth;

// ---- A backend: the window, its input, the display and the pictures --------
// The program runs one backend at a time: the platform's own (MakeNativeBackend
// below), or one that a host (the replay tool, a test) drives and chooses
// instead (UseBackend). Members with a body have a shared way that a backend
// may keep.
class Backend {
 public:
  virtual ~Backend() = default;

  // Takes the next queued input event without waiting; false when none is.
  // Positions are frame pixels, clamped to the frame.
  virtual bool PeekEvent(Event& event) = 0;
  // Blocks until an event is queued; the next PeekEvent takes it.
  virtual void WaitEvent() = 0;
  // Told after every scene pass, drawn or not.
  virtual void PassCompleted() = 0;
  // Calendar time in whole seconds.
  virtual std::int64_t CalendarTime() = 0;

  // Brings up the windowing system; false when there is none.
  virtual bool StartWindowing() = 0;
  // Creates the main window, hidden, as GetWindowOptions() asks; false on failure.
  virtual bool CreateMainWindow(const char* title) = 0;
  // Shows it; its activation arrives as a kActivate event, as on a desktop.
  virtual void ShowMainWindow() = 0;
  virtual void DestroyMainWindow() = 0;
  virtual bool HasMainWindow() = 0;
  // Shows the text under the caption with an OK button and waits for it.
  virtual void ShowMessageBox(const char* text, const char* caption) = 0;
  // Undoes StartWindowing.
  virtual void StopWindowing() = 0;

  // The display's set-up steps, in the game's order; each false on failure.
  virtual bool VideoOpenDevice() = 0;                    // a renderer for the main window
  virtual bool VideoTakeScreen() = 0;                    // the screen, full (or the window)
  virtual bool VideoSetMode(int width, int height) = 0;  // frames of this size, scaled to fit
  // Gets ready to show frames of this size (platform.cpp keeps the surfaces).
  virtual bool VideoCreatePresenter(int width, int height) = 0;
  // Shows the frame at its slot of 60 a second where there is a screen (FlipSlots),
  // then calls TracePresent. False when the device was reset and the frame dropped.
  virtual bool VideoPresent(const Surface& frame) = 0;
  // True while the last flip is not finished, so that this copy or flip is
  // answered DDERR_WASSTILLDRAWING.
  virtual bool VideoBusy() { return false; }
  // Shows the frame at once, outside the flips: not paced, not traced.
  virtual void VideoShowStill(const Surface& frame) { (void)frame; }
  // Brings the display back after a loss; false while it cannot.
  virtual bool VideoRecreatePresenter() = 0;
  // Gives the screen back.
  virtual void VideoRelease() = 0;

  // Keeps a game's recording with the player's last games (platform.h); by
  // default nothing is kept, and nothing fails for it.
  virtual bool KeepRecording(const std::vector<std::uint8_t>& bytes, std::string& why) {
    (void)bytes, (void)why;
    return true;
  }

  // A host's part, where a host drives the backend: whether it pulls the mix
  // itself (PullAudio) rather than a device; whether the music plays through
  // the platform's synthesizer all the same; its recorder, null when none
  // listens.
  virtual bool HostPullsMix() { return false; }
  virtual bool PlatformMusic() { return true; }
  virtual CallRecorder* Recorder() { return nullptr; }

  // The shown window takes GetWindowOptions() as they now are (platform.h,
  // ChangeWindowOptions).
  virtual void WindowOptionsChanged() {}
  // Whether the frame is full screen now.
  virtual bool ShowsFullScreen() { return !GetWindowOptions().windowed; }

  // What the player keeps (platform.h): by default nothing is kept, and
  // nothing fails for it; pictures have nowhere to go.
  virtual KeptRead ReadSettings(std::string& text, std::string& where, std::size_t maxBytes) {
    (void)text, (void)where, (void)maxBytes;
    return KeptRead::kNone;
  }
  virtual bool WriteSettings(const std::string& text, std::string& why) {
    (void)text, (void)why;
    return true;
  }
  virtual std::string SetDamagedSettingsAside() { return {}; }
  virtual bool RestartInLanguage(const std::string& language) {
    (void)language;
    return false;
  }
  // Saves a PNG file's bytes under `name` where pictures are kept.
  virtual bool SavePicture(const std::vector<std::uint8_t>& png, const std::string& name,
                           std::string& where) {
    (void)png, (void)name;
    where = "this game keeps no pictures";
    return false;
  }
};

// ---- Once per program: the platform's own -----------------------------------

// The platform's backend, made when the game first needs one.
std::unique_ptr<Backend> MakeNativeBackend();
// DebugOutput: the text unchanged on stderr, and to a debugger where there is one.
void NativeDebugOutput(const char* text);
// TellPlayer: stdout, or stderr for an error, or a message box where the
// program has neither.
void NativeTellPlayer(const char* text, bool error);
// ProgramFolder: the program file's folder where players start it from
// anywhere with its data beside it, else empty.
std::string NativeProgramFolder();
// The player's recordings kept in `folder` (UTF-8; made when missing) as
// a new file named by the local time, the oldest past kKeptRecordings
// dropped (kept_recordings.cpp, for the platforms that keep files).
bool KeepRecordingIn(const std::string& folder, const std::vector<std::uint8_t>& bytes,
                     std::string& why);
// The folder of the player's recordings under the XDG state home
// ($XDG_STATE_HOME, or ~/.local/state when it is unset or not absolute);
// empty without a home.
std::string XdgRecordingsFolder();
// HandOverToRunningGame: false where games may run side by side.
bool NativeHandOverToRunningGame();

// A monotonic clock in nanoseconds: the flip limiter's and the frame trace's.
std::int64_t MonotonicNs();
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
// (posix/frame_trace.cpp defines these six for a POSIX system.)

// ---- The sound's parts ---------------------------------------------------------
// Functions of the program, not of a backend: the output they serve outlives
// the backends (the music player closes its tune after main returns). A
// backend whose host pulls the mix uses none of them but the synthesizer,
// where its host asks for that: our own converter does its effects.

// Starts the device that pulls the mix (MixLocked) at kAudioRate, or a silent
// stand-in (StartSilentPull) after one warning line; sets `out.device`.
// False only when not even that can be had.
bool StartAudioDevice(AudioOutput& out);
// Stops pulling: no pull runs after it returns.
void StopAudioDevice(AudioOutput& out);
// Converts `length` bytes of whole frames in a checked `format` to the output
// format; false when that fails. ConvertPcmPortable where the platform has
// no converter of its own.
bool ConvertPcm(const PcmFormat& format, const std::uint8_t* bytes, std::size_t length,
                std::vector<std::int16_t>& out);
// The job that makes the music synthesizer, taken on the game's thread when
// the output opens and run on a loader thread of its own, without the lock;
// it returns null, after one warning line, when there is none. A
// host-pulled output has no real time: a synthesizer outside the mix may
// decline it. A platform without threads returns an empty job and hands its
// synthesizer over through HandOverSynth, from here or later.
std::function<MusicSynth*()> MusicSynthMaker(bool pulledByHost);
// MidiOutputCount: the MIDI output ports the music can play through.
unsigned NativeMidiOutputCount();

// ---- Given to every port --------------------------------------------------------

// Records in the frame trace that a frame has just reached the screen.
void TracePresent();

// The frame as a PNG file's bytes (png_encode.cpp).
std::vector<std::uint8_t> EncodePng(const Surface& frame);
// A screenshot's file name from the local time, "vedo-zeza1-YYYYMMDD-HHMMSS"
// with `suffix` (the extension, and a number when the name is taken).
std::string ScreenshotName(const std::string& suffix);

// The flip limiter's slots on MonotonicNs, 1/60 s each. They are counted from
// a first flip, so they do not drift; a flip that comes more than a slot late
// (a stall, a debugger) starts the count afresh rather than racing to catch
// up. Each backend waits for the slot its own way.
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

// ---- The chosen backend, for the backends and the shared code -------------------

// Makes `backend` the one the game's calls go to.
void UseBackend(std::unique_ptr<Backend> backend);
// The chosen backend's host's part (a backend's defaults before one is chosen).
CallRecorder* ActiveRecorder();
bool MixPulledByHost();
bool UsesPlatformMusic();
// The frame last handed to the screen (the primary, its overlaid copy or
// the program's own frame over the game); null before the first flip.
const Surface* FlippedPrimary();

}  // namespace platform
