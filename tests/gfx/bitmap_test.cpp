#include "gfx/bitmap.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/platform.h"
#include "state/game_state.h"
#include "support/test_data.h"

namespace {

using platform::DD_OK;
using platform::HRESULT;
using platform::Surface;
using testdata::Bgr;
using testdata::PixelAt;

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<std::uint8_t>& out, int v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

// An 8-bit BMP: `table` colours (B, G, R), used-colours field `used`, and
// pixel (x, y) = index(x, y).
std::vector<std::uint8_t> Bmp8Bytes(int width, int height, const std::vector<Bgr>& table,
                                    std::uint32_t used, int (*index)(int, int)) {
  const int rowBytes = (width + 3) & ~3;
  const std::uint32_t offset = 54 + 4 * static_cast<std::uint32_t>(table.size());
  std::vector<std::uint8_t> out{'B', 'M'};
  Put32(out, offset + rowBytes * height);
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, 40);
  Put32(out, width);
  Put32(out, height);
  Put16(out, 1);
  Put16(out, 8);
  Put32(out, 0);
  Put32(out, rowBytes * height);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, used);
  Put32(out, 0);
  for (const Bgr& c : table) {
    out.push_back(c.b);
    out.push_back(c.g);
    out.push_back(c.r);
    out.push_back(0);
  }
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < rowBytes; ++x) out.push_back(x < width ? index(x, y) : 0);
  }
  return out;
}

class Bitmaps : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(game_.ok());
    dir_ = game_.dir;
  }
  HRESULT Reload(Surface* surface, const char* name) {
    ::testing::internal::CaptureStderr();
    const HRESULT r = ReloadBitmap(surface, name);
    said_ = ::testing::internal::GetCapturedStderr();
    return r;
  }
  testdata::HeadlessGame game_;
  std::filesystem::path dir_;
  std::string said_;
};

TEST_F(Bitmaps, StartUpPutsEachPictureOnItsSurface) {
  const std::pair<Surface*, const char*> kPictures[] = {
      {gTitleSurface, "Title.bmp"},       {gWarningSurface, "warning.bmp"},
      {gEventWinSurface, "eventwin.bmp"}, {gEvent1Surface, "event1.bmp"},
      {gEvent2Surface, "event2.bmp"},     {gDiedSurface, "died.bmp"},
      {gEndingSurface, "Ending.bmp"}};
  for (auto [surface, name] : kPictures) {
    ASSERT_NE(surface, nullptr) << name;
    EXPECT_EQ(PixelAt(*surface, 0, 0), testdata::PictureColour(name)) << name;
    EXPECT_EQ(PixelAt(*surface, surface->Width() - 1, surface->Height() - 1),
              testdata::PictureColour(name))
        << name;
  }
}

TEST_F(Bitmaps, ABitmapTwiceTheSurfaceSizeIsShrunkToHalf) {
  // Each 2 x 2 block of the 634 x 482 picture has one colour of its own.
  auto block = [](int x, int y) {
    return Bgr{static_cast<std::uint8_t>((x / 2) & 0xFF), static_cast<std::uint8_t>((y / 2) & 0xFF),
               static_cast<std::uint8_t>(((x / 2) >> 8) | (((y / 2) >> 8) << 4))};
  };
  testdata::WriteFile(dir_ / "eventwin.bmp", testdata::Bmp24Bytes(634, 482, block));
  ASSERT_EQ(Reload(gEventWinSurface, "eventwin.bmp"), DD_OK);
  EXPECT_EQ(said_, "");
  ASSERT_EQ(gEventWinSurface->Width(), 317);
  ASSERT_EQ(gEventWinSurface->Height(), 241);
  for (int y = 0; y < 241; ++y) {
    for (int x = 0; x < 317; ++x) {
      ASSERT_EQ(PixelAt(*gEventWinSurface, x, y), block(2 * x, 2 * y)) << x << "," << y;
    }
  }
}

TEST_F(Bitmaps, ABitmapOfTheSurfaceSizeIsCopiedPixelForPixel) {
  auto pattern = [](int x, int y) {
    return Bgr{static_cast<std::uint8_t>(x * 7 + y), static_cast<std::uint8_t>(y * 3),
               static_cast<std::uint8_t>(x ^ y)};
  };
  testdata::WriteFile(dir_ / "event1.bmp", testdata::Bmp24Bytes(320, 327, pattern));
  ASSERT_EQ(Reload(gEvent1Surface, "event1.bmp"), DD_OK);
  for (int y = 0; y < 327; ++y) {
    for (int x = 0; x < 320; ++x) {
      ASSERT_EQ(PixelAt(*gEvent1Surface, x, y), pattern(x, y)) << x << "," << y;
    }
  }
}

TEST_F(Bitmaps, ASmallBitmapIsStretchedOverTheWholeSurface) {
  // 2 x 2 quadrants onto 640 x 480: each becomes a 320 x 240 quarter.
  auto quadrant = [](int x, int y) { return Bgr{std::uint8_t(10 + x), std::uint8_t(20 + y), 30}; };
  testdata::WriteFile(dir_ / "q.bmp", testdata::Bmp24Bytes(2, 2, quadrant));
  ASSERT_EQ(Reload(gDiedSurface, "q.bmp"), DD_OK);
  EXPECT_EQ(PixelAt(*gDiedSurface, 0, 0), quadrant(0, 0));
  EXPECT_EQ(PixelAt(*gDiedSurface, 319, 239), quadrant(0, 0));
  EXPECT_EQ(PixelAt(*gDiedSurface, 320, 239), quadrant(1, 0));
  EXPECT_EQ(PixelAt(*gDiedSurface, 319, 240), quadrant(0, 1));
  EXPECT_EQ(PixelAt(*gDiedSurface, 639, 479), quadrant(1, 1));
}

TEST_F(Bitmaps, AnEightBitBitmapTakesItsColoursFromItsTable) {
  const std::vector<Bgr> table = {{0, 0, 0}, {0x10, 0x20, 0x30}, {0xFF, 0x80, 0x01}};
  testdata::WriteFile(dir_ / "p8.bmp",
                      Bmp8Bytes(320, 327, table, 3, [](int x, int y) { return (x + y) % 3; }));
  ASSERT_EQ(Reload(gEvent2Surface, "p8.bmp"), DD_OK);
  EXPECT_EQ(PixelAt(*gEvent2Surface, 0, 0), table[0]);
  EXPECT_EQ(PixelAt(*gEvent2Surface, 1, 0), table[1]);
  EXPECT_EQ(PixelAt(*gEvent2Surface, 1, 1), table[2]);
  EXPECT_EQ(PixelAt(*gEvent2Surface, 319, 326), table[(319 + 326) % 3]);
}

TEST_F(Bitmaps, AMissingOrBrokenPictureLeavesItsSurfaceAndSaysHandleIsNull) {
  ClearSurface(gDiedSurface, 0x5C);
  EXPECT_NE(Reload(gDiedSurface, "nothing.bmp"), DD_OK);
  EXPECT_EQ(said_, "handle is null\n");
  EXPECT_EQ(PixelAt(*gDiedSurface, 10, 10), (Bgr{0x5C, 0x5C, 0x5C}));
  testdata::WriteFile(dir_ / "broken.bmp", {'B', 'M', 1, 2, 3});
  EXPECT_NE(Reload(gDiedSurface, "broken.bmp"), DD_OK);
  EXPECT_EQ(said_, "handle is null\n");
  EXPECT_EQ(PixelAt(*gDiedSurface, 639, 479), (Bgr{0x5C, 0x5C, 0x5C}));
}

TEST(BitmapStartUp, AMissingPictureDoesNotStopTheGame) {
  const std::filesystem::path dir = testdata::MakeTempDir("vedo-bmp");
  testdata::WriteStandardData(dir);
  std::filesystem::remove(dir / "died.bmp");
  std::filesystem::remove(dir / "Ending.bmp");
  {
    ::testing::internal::CaptureStderr();
    testdata::HeadlessGame game(dir);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(game.ok());
    EXPECT_EQ(said, "InitTileData OK.\nhandle is null\nhandle is null\n");
    EXPECT_EQ(PixelAt(*gTitleSurface, 5, 5), testdata::PictureColour("Title.bmp"));
    EXPECT_EQ(PixelAt(*gDiedSurface, 5, 5), (Bgr{0, 0, 0})) << "a missing picture leaves black";
  }
  std::filesystem::remove_all(dir);
}

TEST_F(Bitmaps, ColorMatchGivesTheRawValueAndLeavesPixelZeroAlone) {
  std::uint8_t* p = gTitleSurface->Pixels();
  p[0] = 0x12;
  p[1] = 0x34;
  p[2] = 0x56;
  EXPECT_EQ(ColorMatch(gTitleSurface, 0), 0u);
  EXPECT_EQ(ColorMatch(gTitleSurface, 0x00010203), 0x030201u);  // COLORREF to B, G, R
  EXPECT_EQ(ColorMatch(gTitleSurface, CLR_INVALID), 0x563412u);
  EXPECT_EQ(PixelAt(*gTitleSurface, 0, 0), (Bgr{0x12, 0x34, 0x56}));
  EXPECT_EQ(ColorMatch(nullptr, 0), 0xFFFFFFFFu);
}

TEST_F(Bitmaps, SetSurfaceColorKeyMakesBlackTheRawKeyZero) {
  Surface s(4, 4);
  ClearSurface(&s, 0x7F);
  EXPECT_EQ(SetSurfaceColorKey(&s, 0), DD_OK);
  EXPECT_TRUE(s.HasColorKey());
  EXPECT_EQ(s.ColorKey(), 0u);
  EXPECT_EQ(PixelAt(s, 0, 0), (Bgr{0x7F, 0x7F, 0x7F}));
}

// ---- The palette ---------------------------------------------------------------

struct Rgb {
  int r, g, b;
};
Rgb Entry(const Palette* p, int i) {
  return {p->entries[i].red, p->entries[i].green, p->entries[i].blue};
}

TEST_F(Bitmaps, WithoutAPictureThePaletteIsTheDefaultOne) {
  Palette* p = LoadPalette(gDirectDraw, "nothing.bmp");
  ASSERT_NE(p, nullptr);
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(p->entries[i].red, ((i >> 5) & 7) * 255 / 7) << i;
    EXPECT_EQ(p->entries[i].green, ((i >> 2) & 7) * 255 / 7) << i;
    EXPECT_EQ(p->entries[i].blue, (i & 3) * 255 / 3) << i;
    EXPECT_EQ(p->entries[i].flags, 0) << i;
  }
  EXPECT_EQ(Entry(p, 0).r + Entry(p, 0).g + Entry(p, 0).b, 0);
  EXPECT_EQ(Entry(p, 255).r + Entry(p, 255).g + Entry(p, 255).b, 3 * 255);
  EXPECT_EQ(Entry(p, 0b10110110).r, 5 * 255 / 7);
  delete p;
}

TEST_F(Bitmaps, AnEightBitPicturesUsedColoursAreConverted) {
  const std::vector<Bgr> table = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}};
  testdata::WriteFile(dir_ / "pal.bmp",
                      Bmp8Bytes(8, 2, table, 4, [](int x, int) { return x % 4; }));
  Palette* p = LoadPalette(gDirectDraw, "pal.bmp");
  ASSERT_NE(p, nullptr);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(p->entries[i].red, table[i].r) << i;
    EXPECT_EQ(p->entries[i].green, table[i].g) << i;
    EXPECT_EQ(p->entries[i].blue, table[i].b) << i;
    EXPECT_EQ(p->entries[i].flags, 0) << i;
  }
  // Past the used colours the table is read straight over the entries: the
  // picture's first pixel bytes (0, 1, 2, 3) land unconverted in entry 4.
  EXPECT_EQ(p->entries[4].red, 0);
  EXPECT_EQ(p->entries[4].green, 1);
  EXPECT_EQ(p->entries[4].blue, 2);
  EXPECT_EQ(p->entries[4].flags, 3);
  delete p;
}

TEST_F(Bitmaps, AnEightBitPictureWithoutAUsedCountConvertsAll256) {
  std::vector<Bgr> table;
  for (int i = 0; i < 256; ++i) table.push_back({std::uint8_t(i), std::uint8_t(255 - i), 7});
  testdata::WriteFile(dir_ / "pal.bmp", Bmp8Bytes(4, 1, table, 0, [](int x, int) { return x; }));
  Palette* p = LoadPalette(gDirectDraw, "pal.bmp");
  ASSERT_NE(p, nullptr);
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(p->entries[i].red, 7) << i;
    EXPECT_EQ(p->entries[i].green, 255 - i) << i;
    EXPECT_EQ(p->entries[i].blue, i) << i;
  }
  delete p;
}

TEST_F(Bitmaps, ATwentyFourBitPictureConvertsNoColours) {
  // n = 0: the 1024 bytes after the headers (pixels, here) lie in the
  // entries as read, blue first.
  testdata::WriteFile(dir_ / "pal.bmp", testdata::Bmp24Bytes(16, 32, [](int x, int y) {
                        return Bgr{std::uint8_t(x), std::uint8_t(y), 0xEE};
                      }));
  Palette* p = LoadPalette(gDirectDraw, "pal.bmp");
  ASSERT_NE(p, nullptr);
  // Bottom-up rows: the file's first pixel is (0, 31).
  EXPECT_EQ(p->entries[0].red, 0);     // B of (0, 31)
  EXPECT_EQ(p->entries[0].green, 31);  // G of (0, 31)
  EXPECT_EQ(p->entries[0].blue, 0xEE);
  EXPECT_EQ(p->entries[0].flags, 1);  // B of (1, 31)
  delete p;
}

}  // namespace
