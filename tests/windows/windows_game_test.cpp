// The real Windows game under Wine, on an X screen of its own with a window
// manager: it shows the frames the Linux replay renders (outside the text),
// freezes while another window has the focus and resumes when it returns,
// ends with exit code 0 after the full shut-down on Escape, and with exit
// code 1 and the loader's line when the map is missing.
#include <chrono>
#include <thread>

#include "window/real_window.h"
#include "windows/frame_compare.h"

namespace realwindow {
namespace {

const fs::path kWindowsBuild = VEDO_WINDOWS_BUILD_DIR;

class WindowsGame : public GameWindow {
 protected:
  void SetUp() override {
    if (!fs::exists(kWindowsBuild / "src/vedo-zeza1.exe")) {
      GTEST_SKIP() << "needs the Windows build in " << kWindowsBuild << " (./run.sh windows)";
    }
    if (!fs::exists("/usr/lib/wine/wine64")) GTEST_SKIP() << "needs Wine (wine64)";
    GameWindow::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    env_.push_back({"VEDO_WINDOWS_BUILD", kWindowsBuild.string()});
    StartWindowManager();
  }

  void StartWindowsGame(const fs::path& data) {
    fs::remove(trace_);
    game_ = Process({.argv = {std::string(VEDO_SOURCE_DIR) + "/tests/windows/wine_run.sh",
                              (kWindowsBuild / "src/vedo-zeza1.exe").string()},
                     .env = env_,
                     .workDir = data,
                     .out = dir_ / "game.log"});
  }

  // The frame a screenshot shows: frame pixel 2k sampled at screen column
  // 3k, 2k + 1 at 3k + 2, where every nearest-neighbour scaler by 1.5 puts
  // them.
  static pngio::RgbImage FrameOf(const Shot& s) {
    pngio::RgbImage f;
    f.width = 640;
    f.height = 480;
    f.rgb.resize(640 * 480 * 3);
    for (int y = 0; y < 480; ++y) {
      for (int x = 0; x < 640; ++x) {
        const std::uint32_t v = s.At(kFrameLeft + (3 * x + (x & 1)) / 2, (3 * y + (y & 1)) / 2);
        std::uint8_t* p = &f.rgb[(static_cast<std::size_t>(y) * 640 + x) * 3];
        p[0] = static_cast<std::uint8_t>(v >> 16);
        p[1] = static_cast<std::uint8_t>(v >> 8);
        p[2] = static_cast<std::uint8_t>(v);
      }
    }
    return f;
  }

  // The title as the Linux replay renders it.
  pngio::RgbImage LinuxTitle() {
    const fs::path out = dir_ / "replay";
    fs::create_directories(out);
    std::ofstream(out / "title.vrs") << "move 320 400\nframes 20\nshot title.png\n";
    Process run({.argv = {std::string(VEDO_BINARY_DIR) + "/tools/replay/vedo-replay", "--data",
                          Data().string(), "title.vrs"},
                 .env = {{"SDL_AUDIODRIVER", "dummy"}},
                 .workDir = out,
                 .out = out / "replay.log"});
    EXPECT_EQ(run.Wait(60000ms), 0) << run.HowItEnded();
    pngio::RgbImage title;
    std::string error;
    EXPECT_TRUE(pngio::ReadPng((out / "title.png").string(), title, &error)) << error;
    return title;
  }

  // Takes screenshots until one shows `want` outside the text; "" or the
  // last difference.
  std::string WaitFor(const pngio::RgbImage& want, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    std::string why = "no screenshot";
    do {
      Shot shot;
      if (!TakeShot(shot, why)) continue;
      if (shot.width != kScreenW || shot.height != kScreenH) return "screen size differs";
      if (shot.At(kFrameLeft / 2, kScreenH / 2) != 0) {
        why = "the left bar is not black";
      } else if ((why = wintest::CompareOutsideText(want, FrameOf(shot))).empty()) {
        return "";
      }
      if (!game_.Running()) return "the game ended (" + game_.HowItEnded() + ")";
      std::this_thread::sleep_for(100ms);
    } while (std::chrono::steady_clock::now() < end);
    return why;
  }

  static fs::path Data() { return fs::path(VEDO_BINARY_DIR) / "data"; }
};

TEST_F(WindowsGame, ShowsTheTitleFreezesWithoutFocusAndQuitsOnEscape) {
  const pngio::RgbImage title = LinuxTitle();
  ASSERT_EQ(title.width, 640);
  StartWindowsGame(Data());
  // Wine needs a few seconds to start; the window manager may not hand the
  // new window the focus, so the test gives it.
  const auto end = std::chrono::steady_clock::now() + 60s;
  while (GameTrace().presents.empty() && std::chrono::steady_clock::now() < end &&
         game_.Running()) {
    std::this_thread::sleep_for(200ms);
  }
  ASSERT_TRUE(FocusTheGame()) << State();
  EXPECT_EQ(WaitFor(title, 30s), "") << State() << Log("game.log");

  {
    Process other = FocusAnotherWindow();
    std::this_thread::sleep_for(1s);  // the loss reaches the game
    const std::size_t before = GameTrace().presents.size();
    std::this_thread::sleep_for(1s);
    EXPECT_LE(GameTrace().presents.size(), before + 1) << "frames went on without the focus";
    ASSERT_TRUE(FocusTheGame()) << State();
    std::this_thread::sleep_for(1s);
    EXPECT_GT(GameTrace().presents.size(), before + 20) << "frames did not resume";
  }
  ExpectEscapeQuitsCleanly();
}

TEST_F(WindowsGame, MissingMapEndsWithCodeOne) {
  const fs::path data = dir_ / "data";
  fs::copy(Data(), data);
  fs::remove(data / "city.map");
  StartWindowsGame(data);
  EXPECT_EQ(game_.Wait(60000ms), 1) << game_.HowItEnded() << "\n" << Log("game.log");
  EXPECT_NE(Log("game.log").find("LoadMap: File Not Found.\n"), std::string::npos)
      << Log("game.log");
}

}  // namespace
}  // namespace realwindow
