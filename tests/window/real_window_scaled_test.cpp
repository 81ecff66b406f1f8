// The real game in a normal window (--window 2) on a screen larger than it,
// under openbox: the window is 1280 x 960 and shows the title frame that
// vedo-replay renders from the same data, every pixel doubled; closing the
// window through the window manager quits as Escape does. With --lang en it
// shows the English pack's title, as vedo-replay --lang en renders it.
#include "window/real_window.h"

namespace realwindow {
namespace {

class ScaledWindow : public GameWindow {
 protected:
  ScaledWindow() {
    screenWidth_ = 1600;
    screenHeight_ = 1200;
  }

  static fs::path Data() { return fs::path(VEDO_BINARY_DIR) / "data"; }

  // The title frame, rendered headless in the language asked for; empty on
  // failure.
  pngio::RgbImage RenderedTitle(const std::string& language = "ko") {
    std::ofstream(dir_ / "title.vrs") << "frames 20\nshot title.png\n";
    const std::string replay = std::string(VEDO_BINARY_DIR) + "/tools/replay/vedo-replay";
    Process run({.argv = {replay, "--data", Data().string(), "--lang", language, "title.vrs"},
                 .env = {{"SDL_AUDIODRIVER", "dummy"}},
                 .workDir = dir_,
                 .out = dir_ / "replay.log"});
    EXPECT_EQ(run.Wait(60000ms), 0) << Log("replay.log");
    pngio::RgbImage title;
    std::string error;
    pngio::ReadPng((dir_ / "title.png").string(), title, &error);
    return title;
  }

  // Waits up to 20 s, while the game runs, for its window to show `frame`
  // scaled by 2; "" when it does, else why not.
  std::string WaitForTwice(const pngio::RgbImage& frame, Shot& shot) {
    std::string why = "no screenshot yet";
    const auto end = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < end && game_.Running()) {
      if ((why = ShootTheWindow(shot)).empty() && (why = Differences(shot, frame)).empty()) break;
      std::this_thread::sleep_for(100ms);
    }
    return why;
  }

  // Where the window differs from `frame` scaled by 2, or "".
  static std::string Differences(const Shot& s, const pngio::RgbImage& frame) {
    if (s.width != 1280 || s.height != 960) {
      return "the window is " + std::to_string(s.width) + " x " + std::to_string(s.height);
    }
    int count = 0;
    std::string first;
    for (int y = 0; y < 960; ++y) {
      for (int x = 0; x < 1280; ++x) {
        const std::uint8_t* p = &frame.rgb[(static_cast<std::size_t>(y / 2) * 640 + x / 2) * 3];
        const std::uint32_t want = (std::uint32_t{p[0]} << 16) | (p[1] << 8) | p[2];
        if (s.At(x, y) != want && count++ == 0) {
          first = "first at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
        }
      }
    }
    return count == 0 ? "" : std::to_string(count) + " pixels differ, " + first;
  }
};

TEST_F(ScaledWindow, TwiceTheFramePixelForPixelAndClosingTheWindowQuits) {
  if (!xsession::OnPath("openbox")) GTEST_SKIP() << "openbox is not installed";
  StartWindowManager();
  const pngio::RgbImage title = RenderedTitle();
  ASSERT_EQ(title.width, 640) << "no title frame from vedo-replay";
  StartGame(Data(), {"--window", "2"});
  Shot shot;
  const std::string why = WaitForTwice(title, shot);
  ASSERT_EQ(why, "") << Keep(shot, "real_window_scaled") << "\n" << State() << Log("game.log");
  // openbox's Close (alt+F4) asks the window to close, as its title bar's
  // button does.
  ExpectKeysQuitCleanly("alt+F4");
}

TEST_F(ScaledWindow, InEnglishTheTitleIsTheEnglishPacks) {
  if (!xsession::OnPath("openbox")) GTEST_SKIP() << "openbox is not installed";
  StartWindowManager();
  const pngio::RgbImage title = RenderedTitle("en");
  ASSERT_EQ(title.width, 640) << "no title frame from vedo-replay";
  ASSERT_NE(title.rgb, RenderedTitle().rgb) << "the English title is the Korean one";
  StartGame(Data(), {"--window", "2", "--lang", "en"});
  Shot shot;
  const std::string why = WaitForTwice(title, shot);
  ASSERT_EQ(why, "") << Keep(shot, "real_window_english") << "\n" << State() << Log("game.log");
  ExpectEscapeQuitsCleanly();
}

}  // namespace
}  // namespace realwindow
