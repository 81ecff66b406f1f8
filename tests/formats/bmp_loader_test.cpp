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
