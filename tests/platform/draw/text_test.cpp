#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "platform/draw/text_draw.h"
#include "support/golden.h"
#include "support/test_data.h"

namespace {

using platform::DrawTextCp949;
using platform::Surface;
using testdata::Bgr;
using testdata::PixelAt;

constexpr std::uint32_t kBlack = 0;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr Bgr kGrey{0x40, 0x40, 0x40};

std::string K(const char* utf8) { return platform::Utf8ToCp949(utf8); }

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

// Pixels of the given colour inside a rectangle (right, bottom exclusive).
int Count(const Surface& s, int left, int top, int right, int bottom, Bgr c) {
  int n = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) n += PixelAt(s, x, y) == c;
  }
  return n;
}

bool SamePixels(const Surface& a, const Surface& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() &&
         std::equal(a.Pixels(), a.Pixels() + a.ByteSize(), b.Pixels());
}

TEST(Text, FaceIsBaekmukGulimWithHangulInA20PixelLine) {
  EXPECT_NE(platform::TextFaceDescription().find("Baekmuk Gulim"), std::string::npos)
      << platform::TextFaceDescription();
  EXPECT_GE(platform::TextLineHeight(), 14);
  EXPECT_LE(platform::TextLineHeight(), 20);
  EXPECT_EQ(platform::TextWidthCp949(" "), 8);
  EXPECT_EQ(platform::TextWidthCp949(K("가").c_str()), 16);
  EXPECT_EQ(platform::TextWidthCp949(K("힣").c_str()), 16);
  EXPECT_EQ(platform::TextWidthCp949(""), 0);
}

TEST(Text, NumbersFallInsideTheirRunsOfBlanks) {
  // The event window writes " %d" at x 207 over the three leading blanks of
  // a line that starts at x 207, and "%d" at x 330 over the five blanks of
  // "남은 스프레이는     개.".
  const int lead = platform::TextWidthCp949("   ");
  EXPECT_EQ(lead, 24);
  for (const char* n : {" 0", " 4", " 5"}) EXPECT_LE(platform::TextWidthCp949(n), lead) << n;

  const int runStart = 207 + platform::TextWidthCp949(K("남은 스프레이는").c_str());
  const int runEnd = runStart + platform::TextWidthCp949("     ");
  EXPECT_EQ(runStart, 327);
  EXPECT_EQ(runEnd, 367);
  EXPECT_GT(330, runStart);
  for (const char* n : {"0", "9", "10", "99"}) {
    EXPECT_LE(330 + platform::TextWidthCp949(n), runEnd) << n;
  }
}

TEST(Text, EmptyStringDrawsNothing) {
  Surface s(64, 32);
  Fill(s, kGrey);
  Surface before = s;
  EXPECT_EQ(DrawTextCp949(s, "", kBlack, kWhite, 5, 5), platform::DD_OK);
  EXPECT_TRUE(SamePixels(s, before));
}

TEST(Text, BlanksDrawAnOpaqueBlackBoxOfTheLineCell) {
  Surface s(80, 40);
  Fill(s, kGrey);
  const int cell = platform::TextLineHeight();
  EXPECT_EQ(DrawTextCp949(s, "   ", kBlack, kWhite, 10, 7), platform::DD_OK);
  EXPECT_EQ(Count(s, 10, 7, 34, 7 + cell, Bgr{0, 0, 0}), 24 * cell);
  EXPECT_EQ(Count(s, 0, 0, 80, 40, Bgr{0, 0, 0}), 24 * cell) << "the box reaches past the blanks";
  EXPECT_EQ(PixelAt(s, 9, 7), kGrey);
  EXPECT_EQ(PixelAt(s, 34, 7), kGrey);
  EXPECT_EQ(PixelAt(s, 10, 6), kGrey);
  EXPECT_EQ(PixelAt(s, 10, 7 + cell), kGrey);
}

TEST(Text, ColoursAreColourRefsOnBgrPixels) {
  Surface s(40, 24);
  // COLORREF 0x00BBGGRR: back red 0x33 green 0x22 blue 0x11.
  DrawTextCp949(s, "A", 0x00112233, 0x00445566, 0, 0);
  const int width = platform::TextWidthCp949("A");
  const int back = Count(s, 0, 0, width, platform::TextLineHeight(), Bgr{0x11, 0x22, 0x33});
  const int ink = Count(s, 0, 0, width, platform::TextLineHeight(), Bgr{0x44, 0x55, 0x66});
  EXPECT_GT(ink, 10);
  EXPECT_EQ(back + ink, width * platform::TextLineHeight());
}

TEST(Text, KoreanIsDrawnAsHangulGlyphs) {
  const std::string ga = K("가");
  ASSERT_EQ(ga, std::string("\xB0\xA1"));
  Surface a(16, 20);
  Surface b(16, 20);
  DrawTextCp949(a, ga.c_str(), kBlack, kWhite, 0, 0);
  DrawTextCp949(b, K("나").c_str(), kBlack, kWhite, 0, 0);
  const int inkA = Count(a, 0, 0, 16, 20, Bgr{0xFF, 0xFF, 0xFF});
  EXPECT_GT(inkA, 20) << "a Hangul syllable leaves a real glyph";
  EXPECT_LT(inkA, 16 * platform::TextLineHeight() / 2);
  EXPECT_FALSE(SamePixels(a, b)) << "different syllables, different glyphs";
  // Only white and black: monochrome rendering, no grey edges.
  EXPECT_EQ(inkA + Count(a, 0, 0, 16, 20, Bgr{0, 0, 0}), 16 * 20);
}

TEST(Text, EventWindowLinesMatchTheGoldenImage) {
  const std::string skip = testdata::TextGoldenSkipReason();
  if (!skip.empty()) GTEST_SKIP() << skip;
  // Three lines 20 pixels apart, as the event window sets them, with the
  // number of sprays written over the run of blanks of the third.
  Surface s(320, 64);
  Fill(s, Bgr{0x30, 0x50, 0x20});
  const int x = 8;
  DrawTextCp949(s, K("치료용 스프레이를 사용했다.").c_str(), kBlack, kWhite, x, 2);
  DrawTextCp949(s, K("HP 100%, Score -50").c_str(), kBlack, kWhite, x, 22);
  DrawTextCp949(s, K("남은 스프레이는     개.").c_str(), kBlack, kWhite, x, 42);
  DrawTextCp949(s, "2", kBlack, kWhite, x + 330 - 207, 42);
  EXPECT_TRUE(testdata::MatchesGolden(s, "text_event_lines"));
}

TEST(Text, ALaterStringCoversAnEarlierOneWhereTheyOverlap) {
  const int cell = platform::TextLineHeight();
  Surface s(100, 24);
  DrawTextCp949(s, K("가나다").c_str(), kBlack, kWhite, 0, 0);
  Surface firstOnly = s;
  DrawTextCp949(s, "  ", kBlack, kWhite, 0, 0);  // 16 pixels of blanks over "가"
  EXPECT_EQ(Count(s, 0, 0, 16, cell, Bgr{0xFF, 0xFF, 0xFF}), 0) << "the blanks' box hides 가";
  for (int y = 0; y < 24; ++y) {
    for (int x = 16; x < 100; ++x) {
      ASSERT_EQ(PixelAt(s, x, y), PixelAt(firstOnly, x, y)) << x << "," << y;
    }
  }
  // Writing a digit over the box shows the digit, not a mix of both.
  Surface digit(100, 24);
  DrawTextCp949(digit, "7", kBlack, kWhite, 0, 0);
  DrawTextCp949(s, "7", kBlack, kWhite, 0, 0);
  const int w = platform::TextWidthCp949("7");
  for (int y = 0; y < cell; ++y) {
    for (int x = 0; x < w; ++x) ASSERT_EQ(PixelAt(s, x, y), PixelAt(digit, x, y)) << x << "," << y;
  }
}

TEST(Text, DrawingIsCutAtEverySurfaceEdge) {
  // A string drawn partly off a small surface shows exactly the part of the
  // same string drawn whole on a larger one.
  const std::string line = K("남은 스프레이 12개");
  const int width = platform::TextWidthCp949(line.c_str());
  const int margin = 40;
  Surface big(width + 2 * margin, 20 + 2 * margin);
  Fill(big, kGrey);
  DrawTextCp949(big, line.c_str(), kBlack, kWhite, margin, margin);
  for (auto [x, y] : {std::pair{-7, -5}, std::pair{-width + 3, 2}, std::pair{30, -15},
                      std::pair{50, 12}, std::pair{width - 60, 10}}) {
    Surface small(width - 50, 20);
    Fill(small, kGrey);
    EXPECT_EQ(DrawTextCp949(small, line.c_str(), kBlack, kWhite, x, y), platform::DD_OK);
    for (int sy = 0; sy < small.Height(); ++sy) {
      for (int sx = 0; sx < small.Width(); ++sx) {
        const int bx = sx - x + margin;
        const int by = sy - y + margin;
        const bool inBig = bx >= 0 && by >= 0 && bx < big.Width() && by < big.Height();
        ASSERT_EQ(PixelAt(small, sx, sy), inBig ? PixelAt(big, bx, by) : kGrey)
            << "drawn at " << x << "," << y << ", pixel " << sx << "," << sy;
      }
    }
  }
  Surface s(50, 30);
  Fill(s, kGrey);
  const Surface before = s;
  for (auto [x, y] :
       {std::pair{INT_MAX, 0}, std::pair{INT_MIN, 0}, std::pair{0, INT_MAX}, std::pair{0, INT_MIN},
        std::pair{50, 0}, std::pair{0, 30}, std::pair{-width, 0}, std::pair{0, -20}}) {
    EXPECT_EQ(DrawTextCp949(s, line.c_str(), kBlack, kWhite, x, y), platform::DD_OK);
  }
  EXPECT_TRUE(SamePixels(s, before));
}

TEST(Text, BrokenCp949BytesShowAsQuestionMarks) {
  const int q = platform::TextWidthCp949("?");
  EXPECT_EQ(platform::TextWidthCp949("\xFF"), q);
  EXPECT_EQ(platform::TextWidthCp949("A\xB0"), platform::TextWidthCp949("A?"));  // cut off
  EXPECT_EQ(platform::TextWidthCp949("\xFF\xB0\xA1"), q + 16);
  Surface a(40, 20);
  Surface b(40, 20);
  DrawTextCp949(a, "\xFF", kBlack, kWhite, 0, 0);
  DrawTextCp949(b, "?", kBlack, kWhite, 0, 0);
  EXPECT_TRUE(SamePixels(a, b));
}

TEST(Text, ACharacterTheAtlasLacksIsABlankPerByte) {
  // 똠 is CP949's extended Hangul and 漢 a Hanja: both convert, neither has a
  // glyph in the atlas.
  const int cell = platform::TextLineHeight();
  for (const char* utf8 : {"똠", "漢"}) {
    const std::string bytes = K(utf8);
    ASSERT_EQ(bytes.size(), 2u) << utf8;
    EXPECT_EQ(platform::TextWidthCp949(bytes.c_str()), 2 * platform::TextWidthCp949(" "));
    Surface s(24, 20);
    Fill(s, kGrey);
    DrawTextCp949(s, bytes.c_str(), kBlack, kWhite, 0, 0);
    EXPECT_EQ(Count(s, 0, 0, 16, cell, Bgr{0, 0, 0}), 16 * cell) << utf8;
    EXPECT_EQ(Count(s, 16, 0, 24, 20, kGrey), 8 * 20) << utf8;
  }
}

TEST(Text, ALostSurfaceIsNotDrawn) {
  Surface s(40, 20);
  Fill(s, kGrey);
  bool lost = true;
  s.ShareLossFlag(&lost);
  EXPECT_EQ(DrawTextCp949(s, "AB", kBlack, kWhite, 0, 0), platform::DDERR_SURFACELOST);
  lost = false;
  EXPECT_EQ(Count(s, 0, 0, 40, 20, kGrey), 40 * 20);
  EXPECT_EQ(DrawTextCp949(s, "AB", kBlack, kWhite, 0, 0), platform::DD_OK);
  EXPECT_LT(Count(s, 0, 0, 40, 20, kGrey), 40 * 20);
}

}  // namespace
