#include <gtest/gtest.h>

#include <filesystem>

#include "formats/bmp_file.h"
#include "support/test_data.h"

namespace {

std::filesystem::path Regression(const char* name) {
  return std::filesystem::path(VEDO_SOURCE_DIR) / "fuzz" / "regressions" / name;
}

}  // namespace

TEST(BmpLoader, ReadsTwentyFourBitPicturesAsBgrRowsTopFirst) {
  const auto dir = testdata::MakeTempDir("vedo-bmp");
  testdata::WriteFile(
      dir / "p.bmp", testdata::Bmp24Bytes(3, 2, [](int x, int y) {
        return testdata::Bgr{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 7};
      }));
  platform::Image image;
  ASSERT_TRUE(platform::LoadBmpFile((dir / "p.bmp").string().c_str(), image));
  EXPECT_EQ(image.width, 3);
  EXPECT_EQ(image.height, 2);
  // Pixel (2, 1): B = x, G = y, R = 7.
  const std::uint8_t* p = image.pixels.data() + (1 * 3 + 2) * 3;
  EXPECT_EQ(p[0], 2);
  EXPECT_EQ(p[1], 1);
  EXPECT_EQ(p[2], 7);
  std::filesystem::remove_all(dir);
}

TEST(BmpLoader, RefusesMissingFilesAndHugeSizesWithoutAllocating) {
  platform::Image image;
  EXPECT_FALSE(platform::LoadBmpFile("/nonexistent/picture.bmp", image));
  // Found by fuzzing: a header claiming 132,000 x 132,000 pixels made SDL try
  // to allocate gigabytes before noticing the file holds 8 bytes of pixels.
  EXPECT_FALSE(platform::LoadBmpFile(Regression("bmp-huge-size.bmp").string().c_str(), image));
}

namespace {

// A BMP file with an info header, a colour table of the three colours below
// (or, for bit fields, the red, green and blue masks) and these pixel bytes.
std::vector<std::uint8_t> Bmp(int width, int height, int bits, int compression,
                              std::vector<std::uint8_t> pixels) {
  std::vector<std::uint8_t> table;
  if (compression == 3) {
    for (std::uint32_t mask : {0xF800u, 0x07E0u, 0x001Fu}) {
      for (int i = 0; i < 4; ++i) table.push_back(static_cast<std::uint8_t>(mask >> (8 * i)));
    }
  } else {
    table = {10, 20, 30, 0, 40, 50, 60, 0, 70, 80, 90, 0};
  }
  std::vector<std::uint8_t> f;
  auto put = [&f](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) f.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  const std::uint32_t offset = 14 + 40 + static_cast<std::uint32_t>(table.size());
  f = {'B', 'M'};
  put(offset + static_cast<std::uint32_t>(pixels.size()), 4);
  put(0, 4);
  put(offset, 4);
  put(40, 4);
  put(static_cast<std::uint32_t>(width), 4);
  put(static_cast<std::uint32_t>(height), 4);
  put(1, 2);
  put(static_cast<std::uint32_t>(bits), 2);
  put(static_cast<std::uint32_t>(compression), 4);
  put(static_cast<std::uint32_t>(pixels.size()), 4);
  put(0, 4);
  put(0, 4);
  put(compression == 3 ? 0 : 3, 4);  // colours used
  put(0, 4);
  f.insert(f.end(), table.begin(), table.end());
  f.insert(f.end(), pixels.begin(), pixels.end());
  return f;
}

// The picture's pixels as colour numbers: 0 to 2 for the table's colours,
// or B + G * 256 + R * 65536 for any other.
std::vector<int> Pixels(const std::vector<std::uint8_t>& file) {
  platform::Image image;
  std::string why;
  EXPECT_TRUE(platform::DecodeBmp(file.data(), file.size(), image, &why)) << why;
  std::vector<int> out;
  for (std::size_t i = 0; i + 2 < image.pixels.size(); i += 3) {
    const int bgr = image.pixels[i] | image.pixels[i + 1] << 8 | image.pixels[i + 2] << 16;
    const int known[3] = {10 | 20 << 8 | 30 << 16, 40 | 50 << 8 | 60 << 16,
                          70 | 80 << 8 | 90 << 16};
    int n = bgr;
    for (int k = 0; k < 3; ++k) n = bgr == known[k] ? k : n;
    out.push_back(n);
  }
  return out;
}

}  // namespace

// The pixels of the inputs beyond plain 8 and 24 bits, top row first: rows
// are stored bottom first, run-length codes give runs, absolute runs, line
// and picture ends, and bit fields give masks.
TEST(BmpLoader, DecodesRunLengthBitFieldAndFewBitPixels) {
  using V = std::vector<int>;
  // RLE8: bottom row two 1s and two 2s; top row an absolute run 0 1 2 0.
  EXPECT_EQ(Pixels(Bmp(4, 2, 8, 1, {2, 1, 2, 2, 0, 0, 0, 4, 0, 1, 2, 0, 0, 0, 0, 1})),
            (V{0, 1, 2, 0, 1, 1, 2, 2}));
  // RLE4: a run of alternating nibbles 1 2 1, then an absolute run 2 0 1.
  EXPECT_EQ(Pixels(Bmp(6, 1, 4, 2, {3, 0x12, 0, 3, 0x20, 0x10, 0, 1})), (V{1, 2, 1, 2, 0, 1}));
  // 16 bits with 5-6-5 masks: pure red, then pure blue (rows of 4 bytes).
  EXPECT_EQ(Pixels(Bmp(2, 1, 16, 3, {0x00, 0xF8, 0x1F, 0x00})), (V{0xFF0000, 0x0000FF}));
  // 1 bit, rows padded to 4 bytes: bottom 1 0 1, top 0 1 0.
  EXPECT_EQ(Pixels(Bmp(3, 2, 1, 0, {0xA0, 0, 0, 0, 0x40, 0, 0, 0})), (V{0, 1, 0, 1, 0, 1}));
  // 4 bits: 2 0 1.
  EXPECT_EQ(Pixels(Bmp(3, 1, 4, 0, {0x20, 0x10, 0, 0})), (V{2, 0, 1}));
}
