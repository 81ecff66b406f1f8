// What the real-window tests share: an X screen of their own (Xvfb, at
// 1280 x 720 unless a test asks otherwise, optionally openbox), the real game
// started in a data folder with its frame trace on, xdotool input, xwd
// screenshots, and the frame read back out of a screenshot.
//
// Tests skip only when Xvfb is not installed. Every wait polls for what it
// waits for (a window, a frame, an exit) with a time limit, and every process
// started here is ended here, by its process id.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "common/frame_trace_file.h"
#include "common/png_io.h"
#include "common/x_session.h"
#include "support/test_data.h"

namespace realwindow {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using child::Process;
using xsession::Shot;

constexpr int kScreenW = 1280;
constexpr int kScreenH = 720;
// 640 x 480 scaled by 1.5 to fill the height, centred: bars of 160 pixels.
constexpr int kFrameLeft = 160;
constexpr int kFrameW = 960;

// The screen position that shows frame pixel (x, y), for even x and y, and
// its centre for odd ones: frame pixel 2k covers screen columns 3k and 3k + 1,
// pixel 2k + 1 columns 3k + 1 and 3k + 2, sampled at their centres.
inline int ScreenX(int frameX) { return kFrameLeft + (3 * frameX + 1) / 2; }
inline int ScreenY(int frameY) { return (3 * frameY + 1) / 2; }

using tracefile::ReadTrace;
using tracefile::Trace;

class GameWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!xsession::OnPath("Xvfb")) GTEST_SKIP() << "Xvfb is not installed";
    for (const char* tool : {"xdotool", "xwd"}) {
      ASSERT_TRUE(xsession::OnPath(tool)) << tool << " is needed beside Xvfb";
    }
    dir_ = testdata::MakeTempDir("vedo-window");
    const std::string why = screen_.Start(dir_, screenWidth_, screenHeight_, resizableScreen_);
    ASSERT_EQ(why, "");
    // No sound card here and no sound driver chosen for the game: it looks
    // for one and falls back to silence itself. In a sanitizer build the
    // leak check is mostly left to the in-process tests and the replay tool:
    // the D-Bus library SDL starts keeps a kilobyte to the end of the
    // process, which would turn the game's exit code into the checker's (see
    // CheckTheGameForLeaks for the short runs that check all the same).
    env_ = screen_.Env();
    env_.emplace_back("ASAN_OPTIONS", "detect_leaks=0");
    env_.emplace_back("VEDO_DEBUG_SET", std::nullopt);
    // The player's last games are kept in the test's own folder.
    env_.emplace_back("XDG_STATE_HOME", (dir_ / "state").string());
    trace_ = dir_ / "frames.trace";
    env_.emplace_back("VEDO_FRAME_TRACE", trace_.string());
    // The player's settings and screenshots go to the test's own folder,
    // never the machine's.
    env_.emplace_back("XDG_CONFIG_HOME", (dir_ / "config").string());
    env_.emplace_back("HOME", (dir_ / "home").string());
  }

  void TearDown() override {
    game_.Stop();
    screen_.Stop();
    if (!dir_.empty()) fs::remove_all(dir_);
  }

  // Leak-checks the game in a sanitizer build after all (the game's exit
  // code becomes the checker's on a leak), with the one allocation of the
  // D-Bus library that SDL's start-up leaves behind passed over. Matching
  // it needs whole stacks on every allocation, which is slow: for short
  // runs only.
  void CheckTheGameForLeaks() {
    const fs::path suppressions = dir_ / "lsan.supp";
    testdata::WriteFile(suppressions, [] {
      const std::string text = "leak:libdbus-1.so\n";
      return std::vector<std::uint8_t>(text.begin(), text.end());
    }());
    // Later changes win over earlier ones.
    env_.emplace_back("ASAN_OPTIONS", "detect_leaks=1:fast_unwind_on_malloc=0");
    env_.emplace_back("LSAN_OPTIONS", "suppressions=" + suppressions.string());
  }

  void StartWindowManager() {
    const std::string why = screen_.StartWindowManager();
    ASSERT_EQ(why, "");
  }

  void StartGame(const fs::path& data, const std::vector<std::string>& options = {}) {
    fs::remove(trace_);
    std::vector<std::string> argv = {std::string(VEDO_BINARY_DIR) + "/src/vedo-zeza1"};
    argv.insert(argv.end(), options.begin(), options.end());
    game_ = Process({.argv = argv, .env = env_, .workDir = data, .out = dir_ / "game.log"});
  }

  bool TakeShot(Shot& shot, std::string& why) { return screen_.TakeShot(shot, why); }
  bool Xdotool(const std::vector<std::string>& args) { return screen_.Xdotool(args); }
  Trace GameTrace() const { return ReadTrace(trace_); }

  std::string Log(const std::string& name) const { return screen_.Log(name); }

  // Asks `done` every 20 ms until it holds, `limit` has passed or the game
  // has ended; whether it holds.
  bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
      if (done()) return true;
      if (std::chrono::steady_clock::now() >= end || !game_.Running()) return false;
      std::this_thread::sleep_for(20ms);
    }
  }

  // The waits count the trace's lines rather than compare its times, so
  // that they hold whatever clock the game's platform stamps them with.

  // Waits until the game has presented `n` more frames.
  bool WaitForFrames(int n, std::chrono::milliseconds limit = 3000ms) {
    const std::size_t since = GameTrace().presents.size();
    return WaitUntil([&] { return GameTrace().presents.size() >= since + n; }, limit);
  }

  // Waits until the game has presented nothing for `quiet`.
  bool WaitForQuiet(std::chrono::milliseconds quiet, std::chrono::milliseconds limit = 3000ms) {
    std::size_t seen = GameTrace().presents.size();
    auto lastChange = std::chrono::steady_clock::now();
    return WaitUntil(
        [&] {
          const std::size_t now = GameTrace().presents.size();
          if (now != seen) seen = now, lastChange = std::chrono::steady_clock::now();
          return std::chrono::steady_clock::now() - lastChange >= quiet;
        },
        limit);
  }

  // The frames the game presents from now on, counted for `window` or until
  // there are more than `enough`.
  int FramesWithin(std::chrono::milliseconds window, int enough) {
    const std::size_t since = GameTrace().presents.size();
    WaitUntil([&] { return GameTrace().presents.size() > since + enough; }, window);
    return static_cast<int>(GameTrace().presents.size() - since);
  }

  // Opens another window (xeyes, in the left bar) and gives it the focus;
  // xeyes does not ask for the focus itself. It is looked for once it is
  // shown: a window not yet mapped cannot take the focus, which a loaded
  // machine made plain. The window lives as long as the returned process.
  Process FocusAnotherWindow() {
    Process other(
        {.argv = {"xeyes", "-geometry", "100x100+20+20"}, .env = env_, .out = dir_ / "xeyes.log"});
    EXPECT_EQ(xsession::RunTool({"sh", "-c",
                                 "xdotool search --sync --onlyvisible --name xeyes | head -1 | "
                                 "xargs xdotool windowfocus --sync"},
                                env_),
              0);
    return other;
  }

  // Gives the focus back to the game's window. True when xdotool managed.
  bool FocusTheGame() {
    return xsession::RunTool({"sh", "-c",
                              "xdotool search --sync --onlyvisible --name 'Vedo Zeza1' | head -1 | "
                              "xargs xdotool windowactivate --sync"},
                             env_) == 0;
  }

  // What the window manager and the game's process say, for a failure.
  std::string State() {
    xsession::RunTool({"sh", "-c",
                       "echo active: $(xdotool getactivewindow getwindowname 2>&1); "
                       "xdotool search --name 'Vedo Zeza1' getwindowgeometry 2>&1"},
                      env_, dir_ / "state.log");
    std::string out = Log("state.log");
    const Trace t = GameTrace();
    out += "frames presented: " + std::to_string(t.presents.size()) + "\n";
    return out + "openbox running: " + (screen_.WindowManagerRunning() ? "yes" : "no") + "\n";
  }

  // Escape ends the game with exit code 0 after a full shut-down: the sound
  // device (with every buffer), the display and the windowing system are
  // released, in that order, and the process ends normally.
  void ExpectEscapeQuitsCleanly() { ExpectKeysQuitCleanly("Escape"); }

  // The same for other keys (alt+F4: the window manager closes the window).
  // The keys go to the focused window, so under a window manager the game's
  // is made active first: on a loaded machine it may not have been focused
  // yet. Without one there is no active window to ask for.
  void ExpectKeysQuitCleanly(const std::string& keys) {
    if (screen_.WindowManagerRunning()) {
      EXPECT_TRUE(FocusTheGame()) << State();
    }
    EXPECT_TRUE(Xdotool({"key", keys}));
    // A window manager can lose a key pressed while it still moves the focus
    // (CI once saw alt+F4 leave the game untouched); a player presses again.
    if (screen_.WindowManagerRunning() && game_.Wait(5000ms) == -1) {
      EXPECT_TRUE(FocusTheGame()) << State();
      EXPECT_TRUE(Xdotool({"key", keys}));
    }
    EXPECT_EQ(game_.Wait(10000ms), 0)
        << keys << " should end the game with code 0 (" << game_.HowItEnded() << "):\n"
        << Log("game.log");
    const Trace t = GameTrace();
    const std::int64_t sound = t.Mark("sound-device-closed");
    const std::int64_t display = t.Mark("display-released");
    const std::int64_t windowing = t.Mark("windowing-stopped");
    EXPECT_NE(sound, 0) << "the sound device was not closed";
    EXPECT_NE(display, 0) << "the display was not released";
    EXPECT_NE(windowing, 0) << "the windowing system was not stopped";
    EXPECT_TRUE(sound < display && display < windowing) << "shut-down out of order";
    EXPECT_TRUE(t.exited) << "the process did not reach its normal end";
  }

  // A screenshot of the game's window alone (xwd of its X window); why not.
  std::string ShootTheWindow(Shot& shot) {
    const fs::path file = dir_ / "window.xwd";
    fs::remove(file);
    if (xsession::RunTool({"sh", "-c",
                           "xdotool search --name 'Vedo Zeza1' | head -1 | "
                           "xargs -I{} xwd -id {} -silent -out \"$0\"",
                           file.string()},
                          env_) != 0) {
      return "no window to shoot";
    }
    std::string why;
    return xsession::ReadXwd(file, shot, why) ? "" : why;
  }

  // The file the game's line "screenshot saved as PATH" names (as it names
  // it), or "" before it has said so.
  std::string SavedScreenshot() {
    const std::string log = Log("game.log");
    const std::string said = "screenshot saved as ";
    const std::size_t at = log.rfind(said);
    if (at == std::string::npos) return "";
    const std::size_t end = log.find_first_of("\r\n", at);
    return end == std::string::npos ? "" : log.substr(at + said.size(), end - at - said.size());
  }

  // The X screen's size, and whether it can change (Xephyr's); a test may
  // change them before SetUp.
  int screenWidth_ = kScreenW;
  int screenHeight_ = kScreenH;
  bool resizableScreen_ = false;
  fs::path dir_;
  fs::path trace_;
  child::EnvChanges env_;
  xsession::Screen screen_;
  Process game_;
};

// Keeps a screenshot that failed its check in the build folder.
inline std::string Keep(const Shot& s, const std::string& name) {
  pngio::RgbImage image;
  image.width = s.width;
  image.height = s.height;
  for (std::uint32_t v : s.rgb) {
    image.rgb.push_back(static_cast<std::uint8_t>(v >> 16));
    image.rgb.push_back(static_cast<std::uint8_t>(v >> 8));
    image.rgb.push_back(static_cast<std::uint8_t>(v));
  }
  const std::string path = std::string(VEDO_BINARY_DIR) + "/" + name + ".actual.png";
  pngio::WritePng(path, image);
  return "; the screen is in " + path;
}

}  // namespace realwindow
