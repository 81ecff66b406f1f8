// A virtual X screen for driving the real game from outside: an Xvfb server
// of its own (or Xephyr in one, for a screen that changes size), the openbox
// window manager, xdotool input and xwd screenshots.
// The real-window tests and vedo-measure use it.
//
// Every process started here is ended here, by its own process id (SIGTERM,
// then SIGKILL), and every wait has a time limit.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "common/child_process.h"

namespace xsession {

bool OnPath(const std::string& tool);

// Runs a short command to its end (10 s at most by default); its exit code,
// or -1 when it did not end in time or was killed.
int RunTool(const std::vector<std::string>& argv, const child::EnvChanges& env,
            const std::filesystem::path& output = {},
            std::chrono::milliseconds limit = std::chrono::milliseconds(10000));

// A screenshot: 0xRRGGBB pixels.
struct Shot {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> rgb;
  std::uint32_t At(int x, int y) const { return rgb[static_cast<std::size_t>(y) * width + x]; }
};

// Reads an xwd file of a 24-bit screen (ZPixmap, 32 or 24 bits a pixel).
bool ReadXwd(const std::filesystem::path& path, Shot& shot, std::string& why);

// One Xvfb screen, optionally with openbox on it.
class Screen {
 public:
  // Starts Xvfb at width x height x 24, its log and scratch files in `dir`;
  // why it failed, or "". A `resizable` screen is Xephyr's, nested in an
  // Xvfb of 1600 x 1200, whose size Resize changes.
  std::string Start(const std::filesystem::path& dir, int width, int height,
                    bool resizable = false);
  // Changes the size of a resizable screen through RandR (xrandr -s), to one
  // Xephyr lists (1280 x 960, 1024 x 768, ...); true when it did.
  bool Resize(int width, int height);
  // Starts openbox and waits until it manages windows; why not, or "".
  std::string StartWindowManager();
  // DISPLAY for the children, and no sound-driver choice inherited, so the
  // game looks for a sound card itself.
  const child::EnvChanges& Env() const { return env_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool WindowManagerRunning() { return wm_.Running(); }
  bool TakeShot(Shot& shot, std::string& why);
  // Runs xdotool with these arguments; true when it succeeded.
  bool Xdotool(const std::vector<std::string>& args);
  std::string Log(const std::string& name) const;
  void Stop();
  ~Screen() { Stop(); }

 private:
  std::filesystem::path dir_;
  child::EnvChanges env_;
  int width_ = 0;
  int height_ = 0;
  child::Process xvfb_;
  child::Process nested_;
  child::Process wm_;
};

// Processor time (user and system, all threads) a process has used, in
// seconds; from /proc, with the clock-tick resolution (10 ms).
double CpuSeconds(pid_t pid);
// Peak resident memory (VmHWM) of a running process in KiB; -1 if unknown.
long PeakResidentKib(pid_t pid);
// CLOCK_MONOTONIC in nanoseconds, the clock of the game's frame trace.
std::int64_t MonotonicNs();
// Writes an ALSA configuration whose default device is the file plugin over
// the null device, writing what is played to `wav`: with ALSA_CONFIG_PATH
// set to `config`, a program (Wine's audio among them) plays as to a card on
// a machine without one, and the sound can be heard afterwards.
void WriteAlsaFileConfig(const std::filesystem::path& config, const std::filesystem::path& wav);

}  // namespace xsession
