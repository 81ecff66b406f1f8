#include "gfx/display.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "state/game_state.h"
#include "support/test_data.h"

namespace {

using platform::DD_OK;
using platform::DDERR_SURFACELOST;
using platform::DDERR_WASSTILLDRAWING;
using platform::Rect;
using platform::Surface;
using testdata::Bgr;
using testdata::FrameColour;
using testdata::PixelAt;
using testdata::TileColour;

constexpr Bgr kPaper{0x01, 0x02, 0x03};

void Paper(Surface* s) {
  for (int y = 0; y < s->Height(); ++y) {
    for (int x = 0; x < s->Width(); ++x) {
      std::uint8_t* p = s->Row(y) + x * 3;
      p[0] = kPaper.b;
      p[1] = kPaper.g;
      p[2] = kPaper.r;
    }
  }
}

bool AllPaper(const Surface& s) {
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      if (!(PixelAt(s, x, y) == kPaper)) return false;
    }
  }
  return true;
}

class Display : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(game_.ok());
    Paper(gBackBuffer);
  }
  void TearDown() override {
    platform::HeadlessInjectStillDrawing(0);
    platform::HeadlessFailVideoStep(0);
  }
  testdata::HeadlessGame game_;
};

TEST_F(Display, TileAndFrameZeroAreValid) {
  EXPECT_EQ(DrawTile(0, 0, 0), DD_OK);
  EXPECT_EQ(PixelAt(*gBackBuffer, 0, 0), TileColour(0));
  EXPECT_EQ(PixelAt(*gBackBuffer, 39, 39), TileColour(0));
  EXPECT_EQ(PixelAt(*gBackBuffer, 40, 0), kPaper);
  EXPECT_EQ(DrawSprite(100, 100, 0), DD_OK);
  EXPECT_EQ(PixelAt(*gBackBuffer, 101, 100), FrameColour(0));
  EXPECT_EQ(PixelAt(*gBackBuffer, 139, 139), FrameColour(0));
}

TEST_F(Display, TheLastTileAndFrameAreDrawnAndNumbersBeyondAreIgnored) {
  const int lastTile = static_cast<int>(gTileSurfaces.size()) - 1;
  const int lastFrame = gSpriteCount - 1;
  EXPECT_EQ(DrawTile(0, 0, lastTile), DD_OK);
  EXPECT_EQ(PixelAt(*gBackBuffer, 5, 5), TileColour(lastTile));
  EXPECT_EQ(DrawSprite(200, 200, lastFrame), DD_OK);
  EXPECT_EQ(PixelAt(*gBackBuffer, 205, 205), FrameColour(lastFrame));
  Paper(gBackBuffer);
  for (int n : {-1, lastTile + 1, 100000, INT_MAX, INT_MIN}) DrawTile(0, 0, n);
  for (int n : {-1, lastFrame + 1, 100000, INT_MAX, INT_MIN}) DrawSprite(0, 0, n);
  EXPECT_TRUE(AllPaper(*gBackBuffer));
}

TEST_F(Display, TilesAndFramesOverAnyEdgeAreNotDrawn) {
  // A 40 x 40 tile fits at (600, 440) and at no position beyond.
  EXPECT_EQ(DrawTile(600, 440, 3), DD_OK);
  EXPECT_EQ(PixelAt(*gBackBuffer, 639, 479), TileColour(3));
  Paper(gBackBuffer);
  for (auto [x, y] : {std::pair{0, -1}, std::pair{-1, 0}, std::pair{601, 0}, std::pair{0, 441},
                      std::pair{-40, -40}, std::pair{640, 480}}) {
    EXPECT_NE(DrawTile(x, y, 3), DD_OK) << x << "," << y;
    EXPECT_NE(DrawSprite(x, y, 0), DD_OK) << x << "," << y;
  }
  // Frame 1 is 20 x 20: it fits at (620, 460), not at (621, 460).
  EXPECT_NE(DrawSprite(621, 460, 1), DD_OK);
  EXPECT_TRUE(AllPaper(*gBackBuffer));
  EXPECT_EQ(DrawSprite(620, 460, 1), DD_OK);
  EXPECT_EQ(PixelAt(*gBackBuffer, 639, 479), FrameColour(1));
}

TEST_F(Display, SpritesLeaveTheirBlackPixelsOut) {
  // Every standard frame has a black first pixel.
  EXPECT_EQ(DrawSprite(10, 10, 2), DD_OK);
  EXPECT_EQ(PixelAt(*gBackBuffer, 10, 10), kPaper);
  EXPECT_EQ(PixelAt(*gBackBuffer, 11, 10), FrameColour(2));
  EXPECT_TRUE(gSpriteSurfaces[2]->HasColorKey());
  EXPECT_EQ(gSpriteSurfaces[2]->ColorKey(), 0u);
}

TEST_F(Display, ALostDisplayIsRestoredByTheFirstCopyWhichDrawsNothing) {
  platform::VideoMarkLost();
  EXPECT_EQ(DrawTile(0, 0, 5), DD_OK) << "the restore's answer";
  EXPECT_TRUE(AllPaper(*gBackBuffer)) << "the copy that noticed the loss is dropped";
  EXPECT_EQ(DrawTile(40, 0, 6), DD_OK);
  EXPECT_EQ(DrawSprite(100, 100, 1), DD_OK);
  EXPECT_EQ(PixelAt(*gBackBuffer, 40, 0), TileColour(6));
  EXPECT_EQ(PixelAt(*gBackBuffer, 105, 105), FrameColour(1));
  EXPECT_EQ(PixelAt(*gBackBuffer, 0, 0), kPaper);

  platform::VideoMarkLost();
  EXPECT_EQ(DrawSprite(0, 0, 1), DD_OK);
  EXPECT_EQ(PixelAt(*gBackBuffer, 5, 5), kPaper);
}

TEST_F(Display, ADisplayThatCannotBeRestoredDropsEveryCopy) {
  platform::HeadlessFailVideoStep(5);
  platform::VideoMarkLost();
  EXPECT_EQ(DrawTile(0, 0, 5), DDERR_SURFACELOST);
  EXPECT_EQ(DrawSprite(100, 100, 1), DDERR_SURFACELOST);
  EXPECT_EQ(FlipScreen(), DDERR_SURFACELOST);
  EXPECT_TRUE(AllPaper(*gBackBuffer));
  platform::HeadlessFailVideoStep(0);
  EXPECT_EQ(DrawTile(0, 0, 5), DD_OK);  // restores, drops
  EXPECT_EQ(DrawTile(0, 0, 5), DD_OK);
  EXPECT_EQ(PixelAt(*gBackBuffer, 0, 0), TileColour(5));
}

TEST_F(Display, AStillDrawingAnswerIsRepeatedUntilTheCopyIsDone) {
  platform::HeadlessInjectStillDrawing(3);
  EXPECT_EQ(DrawTile(0, 0, 7), DD_OK);
  EXPECT_EQ(PixelAt(*gBackBuffer, 0, 0), TileColour(7));
  EXPECT_EQ(BltFast(gBackBuffer, 0, 0, gTitleSurface, Rect{0, 0, 1, 1}, 0), DD_OK)
      << "all three busy answers were taken";
  platform::HeadlessInjectStillDrawing(2);
  EXPECT_EQ(DrawSprite(50, 50, 3), DD_OK);
  EXPECT_EQ(PixelAt(*gBackBuffer, 55, 55), FrameColour(3));
  const std::uint64_t flips = platform::VideoFlipCount();
  platform::HeadlessInjectStillDrawing(4);
  EXPECT_EQ(FlipScreen(), DD_OK);
  EXPECT_EQ(platform::VideoFlipCount(), flips + 1);
}

TEST_F(Display, FlipExchangesTheFrontAndBackBuffers) {
  ClearSurface(gPrimarySurface, 0x66);
  ClearSurface(gBackBuffer, 0x99);
  const std::uint64_t flips = platform::VideoFlipCount();
  EXPECT_EQ(FlipScreen(), DD_OK);
  EXPECT_EQ(platform::VideoFlipCount(), flips + 1);
  EXPECT_EQ(PixelAt(*gPrimarySurface, 320, 240), (Bgr{0x99, 0x99, 0x99}));
  EXPECT_EQ(PixelAt(*gBackBuffer, 320, 240), (Bgr{0x66, 0x66, 0x66}));
  const platform::Surface* shown = platform::HeadlessShownFrame();
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(PixelAt(*shown, 0, 0), (Bgr{0x99, 0x99, 0x99}));
}

TEST_F(Display, FlipOnALostDisplayRestoresItAndDropsTheFlip) {
  ClearSurface(gPrimarySurface, 0x66);
  ClearSurface(gBackBuffer, 0x99);
  const std::uint64_t flips = platform::VideoFlipCount();
  platform::VideoMarkLost();
  EXPECT_EQ(FlipScreen(), DD_OK);
  EXPECT_EQ(platform::VideoFlipCount(), flips) << "the flip was dropped";
  EXPECT_EQ(PixelAt(*gPrimarySurface, 0, 0), (Bgr{0x66, 0x66, 0x66}));
  EXPECT_EQ(PixelAt(*gBackBuffer, 0, 0), (Bgr{0x99, 0x99, 0x99}));
  EXPECT_EQ(FlipScreen(), DD_OK);
  EXPECT_EQ(platform::VideoFlipCount(), flips + 1);
  EXPECT_EQ(PixelAt(*gPrimarySurface, 0, 0), (Bgr{0x99, 0x99, 0x99}));
}

TEST_F(Display, PictureCopiesAreNotRetriedAndDoNotClip) {
  // The scenes' own picture copies: once, with whatever answer comes back.
  platform::HeadlessInjectStillDrawing(1);
  EXPECT_EQ(BltFast(gBackBuffer, 0, 0, gTitleSurface, Rect{0, 0, 640, 480}, 0),
            DDERR_WASSTILLDRAWING);
  EXPECT_TRUE(AllPaper(*gBackBuffer));
  EXPECT_NE(BltFast(gBackBuffer, 162, 300, gEventWinSurface, Rect{0, 0, 317, 241}, 0), DD_OK);
  EXPECT_TRUE(AllPaper(*gBackBuffer));
  EXPECT_EQ(BltFast(gBackBuffer, 162, 61, gEventWinSurface, Rect{0, 0, 317, 241}, 0), DD_OK);
  EXPECT_EQ(PixelAt(*gBackBuffer, 162, 61), testdata::PictureColour("eventwin.bmp"));
  EXPECT_EQ(BltFast(nullptr, 0, 0, gTitleSurface, Rect{0, 0, 1, 1}, 0),
            platform::DDERR_INVALIDPARAMS);
}

TEST_F(Display, ClearSurfaceFillsEveryByte) {
  ClearSurface(gBackBuffer, 0x1AB);  // only the low byte counts
  const std::uint8_t* p = gBackBuffer->Pixels();
  for (std::size_t i = 0; i < gBackBuffer->ByteSize(); ++i) ASSERT_EQ(p[i], 0xAB) << i;
}

// Each display set-up step that fails shows one box with its own text, sends
// it to the debugger, gives the display back and closes the window.
TEST(DisplaySetUp, EachFailingStepIsReportedOnceAndReleasesTheDisplay) {
  const struct {
    int step;
    const char* text;
  } kSteps[] = {{1, "DDCreate Fail"}, {2, "SCL Fail"}, {3, "SDM Fail"}, {4, "Create Primary Fail"}};
  for (const auto& s : kSteps) {
    testdata::TestHost host;
    platform::UseHeadlessBackend(&host);
    platform::StartWindowing();
    platform::CreateMainWindow("Vedo Zeza1");
    static int window = 0;
    gWindow = &window;
    platform::HeadlessFailVideoStep(s.step);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(InitDirectDraw(), 0);
    const std::string err = ::testing::internal::GetCapturedStderr();
    platform::HeadlessFailVideoStep(0);
    EXPECT_EQ(err, std::string("Vedo Zeza1: ") + s.text + "\n" + s.text) << "step " << s.step;
    EXPECT_EQ(gDirectDraw, nullptr);
    EXPECT_EQ(gPrimarySurface, nullptr);
    EXPECT_EQ(gBackBuffer, nullptr);
    EXPECT_EQ(gTitleSurface, nullptr);
    EXPECT_FALSE(platform::HasMainWindow());
    ReleaseDirectDraw();  // safe after a half-done set-up
    gWindow = nullptr;
    platform::UseHeadlessBackend(nullptr);
  }
}

}  // namespace
