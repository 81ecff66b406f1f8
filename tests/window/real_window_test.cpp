// The real program in a real window, on the standard test data with title
// and warning pictures of one-pixel stripes: the frame's scaling and letterbox, clicks in
// the bars, focus loss and return, and Escape. (real_window_walk_test.cpp
// plays the generated data from the title to the first fights.)
#include "window/real_window.h"

#include <set>

namespace realwindow {
namespace {

// One-pixel stripes, so that a scaling that blends neighbours would show
// colours that are not in the picture.
testdata::Bgr Stripe(int x, int y) {
  const bool a = x % 2 == 0;
  const bool b = y % 3 == 0;
  return {static_cast<std::uint8_t>(a ? 0xF0 : 0x30), static_cast<std::uint8_t>(b ? 0xE0 : 0x50),
          0x80};
}

class RealWindow : public GameWindow {
 protected:
  void SetUp() override {
    GameWindow::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    data_ = dir_ / "data";
    fs::create_directory(data_);
    testdata::WriteStandardData(data_);
    testdata::WriteFile(data_ / "Title.bmp", testdata::Bmp24Bytes(640, 480, Stripe));
    // A click leaves the title for the warning screen, which is striped too.
    testdata::WriteFile(data_ / "warning.bmp", testdata::Bmp24Bytes(640, 480, Stripe));
  }

  // Starts the game and waits (20 s at most) until the screen shows its
  // frame; why it does not, or "".
  std::string StartGameAndWaitForTheFrame(Shot& shot) {
    StartGame(data_);
    std::string why = "no screenshot yet";
    const auto end = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < end && game_.Running()) {
      if (TakeShot(shot, why) && (why = CheckFrame(shot)).empty()) return "";
      std::this_thread::sleep_for(100ms);
    }
    if (!game_.Running()) return "the game ended (" + game_.HowItEnded() + ")";
    return why;
  }

  // Why the screen does not show the frame scaled and centred, or "".
  static std::string CheckFrame(const Shot& s) {
    if (s.width != kScreenW || s.height != kScreenH) return "screen size differs";
    for (int y = 0; y < kScreenH; y += 3) {
      for (int x : {0, 80, kFrameLeft - 1, kFrameLeft + kFrameW, kScreenW - 1}) {
        if (s.At(x, y) != 0) {
          return "bar pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is not black";
        }
      }
    }
    std::set<std::uint32_t> allowed;
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 2; ++x) {
        const testdata::Bgr c = Stripe(x, y);
        allowed.insert((std::uint32_t{c.r} << 16) | (c.g << 8) | c.b);
      }
    }
    bool stripes = false;
    for (int y = 0; y < kScreenH; ++y) {
      for (int x = kFrameLeft; x < kFrameLeft + kFrameW; ++x) {
        const std::uint32_t v = s.At(x, y);
        if (allowed.count(v) == 0) {
          // The title scene may draw more than its picture; the frame's
          // edges must still be there.
          if (x != kFrameLeft && x != kFrameLeft + kFrameW - 1 && y != 0 && y != kScreenH - 1) {
            continue;
          }
          if (v == 0) {
            return "frame edge pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                   ") is black";
          }
        }
        stripes = true;
      }
    }
    if (!stripes) return "the title picture is not shown";
    // The title picture is shown: scaled by 1.5 nearest-neighbour, each
    // one-pixel stripe becomes one or two screen pixels wide, never a blend.
    for (int y : {0, 100, 359, 719}) {
      int run = 1;
      for (int x = kFrameLeft + 1; x < kFrameLeft + kFrameW; ++x) {
        const std::uint32_t v = s.At(x, y);
        if (allowed.count(v) == 0)
          return "blended pixel at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
        if (v == s.At(x - 1, y)) {
          if (++run > 2)
            return "stripe wider than 2 at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
        } else {
          run = 1;
        }
      }
    }
    return "";
  }

  fs::path data_;
};

TEST_F(RealWindow, TheFrameIsScaledCentredAndEscapeQuits) {
  if (!xsession::OnPath("openbox")) GTEST_SKIP() << "openbox is not installed";
  CheckTheGameForLeaks();
  StartWindowManager();
  Shot shot;
  const std::string why = StartGameAndWaitForTheFrame(shot);
  ASSERT_EQ(why, "") << Keep(shot, "real_window") << "\n" << State() << Log("game.log");

  // A click in the left bar counts at the frame's edge (it leaves the title);
  // the game goes on.
  EXPECT_TRUE(Xdotool({"mousemove", "--sync", "40", "300", "click", "1"}));
  EXPECT_TRUE(Xdotool({"mousemove", "--sync", "1250", "700", "click", "1"}));
  ASSERT_TRUE(WaitForFrames(10)) << "no frames after the clicks: " << State() << Log("game.log");
  // The screen changes after the clicks; a screenshot taken while a frame
  // reaches the X server may hold parts of two, so one whole frame is waited
  // for.
  std::string frameWhy = "no screenshot";
  WaitUntil(
      [&] {
        std::string shotWhy;
        frameWhy = TakeShot(shot, shotWhy) ? CheckFrame(shot) : shotWhy;
        return frameWhy.empty();
      },
      3000ms);
  EXPECT_EQ(frameWhy, "") << "after the clicks" << Keep(shot, "real_window_clicked");

  ExpectEscapeQuitsCleanly();
}

TEST_F(RealWindow, AWindowWithoutTheFocusWaitsAndTakesItBack) {
  if (!xsession::OnPath("openbox") || !xsession::OnPath("xeyes")) {
    GTEST_SKIP() << "needs openbox and xeyes";
  }
  StartWindowManager();
  Shot shot;
  const std::string why = StartGameAndWaitForTheFrame(shot);
  ASSERT_EQ(why, "") << Keep(shot, "real_window_focus") << "\n" << State() << Log("game.log");

  // Active: a frame every 1/60 s.
  const int active = FramesWithin(1000ms, 30);

  // Another window takes the focus: once the game has seen it go, it waits
  // and draws nothing. (xeyes does not ask for the focus itself, so it is
  // given to it.)
  Process other = FocusAnotherWindow();
  ASSERT_FALSE(HasFailure());
  ASSERT_TRUE(WaitForQuiet(200ms)) << "the game kept drawing without the focus";
  const int inactive = FramesWithin(1000ms, 0);
  EXPECT_TRUE(game_.Running());
  EXPECT_EQ(inactive, 0) << "the game kept drawing without the focus (active: " << active
                         << " frames a second)";
  other.Stop();

  // Back to the game: it runs again and Escape quits.
  ASSERT_TRUE(FocusTheGame());
  ASSERT_TRUE(WaitForFrames(1)) << "no frame with the focus back: " << State();
  const int resumed = FramesWithin(1000ms, 30);
  EXPECT_GT(active, 30);
  EXPECT_GT(resumed, 30) << "active " << active << " frames, inactive " << inactive;
  ExpectEscapeQuitsCleanly();
}

TEST_F(RealWindow, WithoutAWindowManagerTheFrameStillFillsTheScreen) {
  CheckTheGameForLeaks();
  Shot shot;
  const std::string why = StartGameAndWaitForTheFrame(shot);
  ASSERT_EQ(why, "") << Keep(shot, "real_window_bare") << "\n" << State() << Log("game.log");
  ExpectEscapeQuitsCleanly();
}

}  // namespace
}  // namespace realwindow
