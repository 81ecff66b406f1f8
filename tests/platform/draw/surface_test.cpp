#include "platform/draw/surface.h"

#include <gtest/gtest.h>

#include <climits>

#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "support/test_data.h"

namespace {

using platform::BltFast;
using platform::DD_OK;
using platform::DDBLTFAST_NOCOLORKEY;
using platform::DDBLTFAST_SRCCOLORKEY;
using platform::DDERR_INVALIDRECT;
using platform::Rect;
using platform::Surface;
using testdata::Bgr;
using testdata::PixelAt;

void Fill(Surface& s, Bgr c) {
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      std::uint8_t* p = s.Row(y) + x * 3;
      p[0] = c.b;
      p[1] = c.g;
      p[2] = c.r;
    }
  }
}

void Put(Surface& s, int x, int y, Bgr c) {
  std::uint8_t* p = s.Row(y) + x * 3;
  p[0] = c.b;
  p[1] = c.g;
  p[2] = c.r;
}

bool Unchanged(const Surface& s, Bgr c) {
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      if (!(PixelAt(s, x, y) == c)) return false;
    }
  }
  return true;
}

constexpr Bgr kDst{1, 2, 3};
constexpr Bgr kSrc{0x70, 0x80, 0x90};

TEST(BltFast, CopiesThatFitExactlyAreDrawn) {
  Surface dst(64, 48);
  Surface src(10, 8);
  Fill(src, kSrc);
  for (auto [x, y] : {std::pair{0, 0}, std::pair{54, 0}, std::pair{0, 40}, std::pair{54, 40}}) {
    Fill(dst, kDst);
    ASSERT_EQ(BltFast(dst, x, y, src, Rect{0, 0, 10, 8}, DDBLTFAST_NOCOLORKEY), DD_OK);
    EXPECT_EQ(PixelAt(dst, x, y), kSrc);
    EXPECT_EQ(PixelAt(dst, x + 9, y + 7), kSrc);
  }
}

TEST(BltFast, ACopyThatDoesNotFitIsNotDrawnAtAll) {
  Surface dst(64, 48);
  Surface src(10, 8);
  Fill(src, kSrc);
  // One pixel over each edge, far over, and positions whose sums would wrap
  // around in 32 bits.
  for (auto [x, y] :
       {std::pair{-1, 0}, std::pair{0, -1}, std::pair{55, 0}, std::pair{0, 41}, std::pair{-1, -1},
        std::pair{55, 41}, std::pair{-100, 10}, std::pair{INT_MAX, 0}, std::pair{0, INT_MAX},
        std::pair{INT_MAX - 5, 0}, std::pair{INT_MIN, INT_MIN}}) {
    Fill(dst, kDst);
    EXPECT_EQ(BltFast(dst, x, y, src, Rect{0, 0, 10, 8}, DDBLTFAST_NOCOLORKEY), DDERR_INVALIDRECT)
        << x << "," << y;
    EXPECT_TRUE(Unchanged(dst, kDst)) << "drawn in part at " << x << "," << y;
  }
}

TEST(BltFast, EmptyOrOutsideSourceRectanglesAreRefused) {
  Surface dst(64, 48);
  Surface src(10, 8);
  Fill(src, kSrc);
  Fill(dst, kDst);
  for (const Rect& r :
       {Rect{0, 0, 0, 8}, Rect{0, 0, 10, 0}, Rect{5, 5, 5, 5}, Rect{6, 0, 5, 8}, Rect{-1, 0, 9, 8},
        Rect{0, -1, 10, 7}, Rect{1, 0, 11, 8}, Rect{0, 1, 10, 9}}) {
    EXPECT_EQ(BltFast(dst, 3, 3, src, r, DDBLTFAST_NOCOLORKEY), DDERR_INVALIDRECT)
        << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  }
  EXPECT_TRUE(Unchanged(dst, kDst));
}

TEST(BltFast, ASourceRectangleCopiesOnlyItsPixels) {
  Surface dst(20, 20);
  Fill(dst, kDst);
  Surface src(8, 8);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) Put(src, x, y, Bgr{std::uint8_t(x), std::uint8_t(y), 0x33});
  }
  ASSERT_EQ(BltFast(dst, 10, 11, src, Rect{2, 3, 5, 7}, DDBLTFAST_NOCOLORKEY), DD_OK);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      const bool inside = x >= 10 && x < 13 && y >= 11 && y < 15;
      const Bgr want =
          inside ? Bgr{std::uint8_t(x - 10 + 2), std::uint8_t(y - 11 + 3), 0x33} : kDst;
      ASSERT_EQ(PixelAt(dst, x, y), want) << x << "," << y;
    }
  }
}

TEST(BltFast, BlackKeyLeavesOutOnlyTrueBlack) {
  Surface src(4, 1);
  Put(src, 0, 0, Bgr{0, 0, 0});
  Put(src, 1, 0, Bgr{0, 0, 1});  // the faintest red is not black
  Put(src, 2, 0, Bgr{1, 0, 0});
  Put(src, 3, 0, Bgr{0, 1, 0});
  src.SetColorKey(0);
  Surface dst(4, 1);
  Fill(dst, kDst);
  ASSERT_EQ(BltFast(dst, 0, 0, src, Rect{0, 0, 4, 1}, DDBLTFAST_SRCCOLORKEY), DD_OK);
  EXPECT_EQ(PixelAt(dst, 0, 0), kDst);
  EXPECT_EQ(PixelAt(dst, 1, 0), (Bgr{0, 0, 1}));
  EXPECT_EQ(PixelAt(dst, 2, 0), (Bgr{1, 0, 0}));
  EXPECT_EQ(PixelAt(dst, 3, 0), (Bgr{0, 1, 0}));

  // Without the key flag, black is copied like any colour.
  Fill(dst, kDst);
  ASSERT_EQ(BltFast(dst, 0, 0, src, Rect{0, 0, 4, 1}, DDBLTFAST_NOCOLORKEY), DD_OK);
  EXPECT_EQ(PixelAt(dst, 0, 0), (Bgr{0, 0, 0}));
}

TEST(BltFast, AnyKeyValueIsMatchedOnAllThreeBytes) {
  Surface src(3, 1);
  Put(src, 0, 0, Bgr{0x10, 0x20, 0x30});
  Put(src, 1, 0, Bgr{0x10, 0x20, 0x31});
  Put(src, 2, 0, Bgr{0x11, 0x20, 0x30});
  src.SetColorKey(0x302010);  // B | G << 8 | R << 16
  Surface dst(3, 1);
  Fill(dst, kDst);
  ASSERT_EQ(BltFast(dst, 0, 0, src, Rect{0, 0, 3, 1}, DDBLTFAST_SRCCOLORKEY), DD_OK);
  EXPECT_EQ(PixelAt(dst, 0, 0), kDst);
  EXPECT_EQ(PixelAt(dst, 1, 0), (Bgr{0x10, 0x20, 0x31}));
  EXPECT_EQ(PixelAt(dst, 2, 0), (Bgr{0x11, 0x20, 0x30}));
}

TEST(BltFast, AKeyFlagWithoutAKeyCopiesEverything) {
  Surface src(2, 1);  // all black, no key set
  Surface dst(2, 1);
  Fill(dst, kDst);
  ASSERT_EQ(BltFast(dst, 0, 0, src, Rect{0, 0, 2, 1}, DDBLTFAST_SRCCOLORKEY), DD_OK);
  EXPECT_TRUE(Unchanged(dst, Bgr{0, 0, 0}));
}

TEST(BltFast, LostAndBusyDisplaySurfacesAnswerWithTheirCodes) {
  bool lost = false;
  Surface screen(20, 20);
  screen.ShareLossFlag(&lost);
  Surface src(4, 4);
  Fill(src, kSrc);
  Fill(screen, kDst);
  lost = true;
  EXPECT_EQ(BltFast(screen, 0, 0, src, Rect{0, 0, 4, 4}, 0), platform::DDERR_SURFACELOST);
  EXPECT_TRUE(Unchanged(screen, kDst));
  lost = false;

  // The busy answers come from the display, here the headless one.
  platform::UseHeadlessBackend(nullptr);
  platform::HeadlessInjectStillDrawing(2);
  Surface plain(20, 20);
  // Copies between plain surfaces never wait for the display.
  EXPECT_EQ(BltFast(plain, 0, 0, src, Rect{0, 0, 4, 4}, 0), DD_OK);
  EXPECT_EQ(BltFast(screen, 0, 0, src, Rect{0, 0, 4, 4}, 0), platform::DDERR_WASSTILLDRAWING);
  EXPECT_EQ(BltFast(screen, 0, 0, src, Rect{0, 0, 4, 4}, 0), platform::DDERR_WASSTILLDRAWING);
  EXPECT_TRUE(Unchanged(screen, kDst));
  EXPECT_EQ(BltFast(screen, 0, 0, src, Rect{0, 0, 4, 4}, 0), DD_OK);
  EXPECT_EQ(PixelAt(screen, 3, 3), kSrc);
  platform::UseNativeBackend();
}

}  // namespace
