#include "support/golden.h"

#include <cstdlib>
#include <filesystem>

#include "common/png_io.h"

namespace testdata {

::testing::AssertionResult MatchesGolden(const platform::Surface& frame, const std::string& name) {
  const pngio::RgbImage actual =
      pngio::FromBgr(frame.Pixels(), frame.Width(), frame.Height(), frame.Pitch());
  const std::string goldenPath = std::string(VEDO_GOLDEN_DIR) + "/" + name + ".png";
  const char* update = std::getenv("VEDO_UPDATE_GOLDEN");
  if (update != nullptr && update[0] == '1') {
    std::string error;
    if (!pngio::WritePng(goldenPath, actual, &error)) {
      return ::testing::AssertionFailure() << "cannot refresh " << goldenPath << ": " << error;
    }
    return ::testing::AssertionSuccess() << "refreshed " << goldenPath;
  }
  pngio::RgbImage golden;
  std::string error;
  const std::string actualPath = std::string(VEDO_BINARY_DIR) + "/" + name + ".actual.png";
  if (!pngio::ReadPng(goldenPath, golden, &error)) {
    pngio::WritePng(actualPath, actual);
    return ::testing::AssertionFailure()
           << "no golden image " << goldenPath << " (" << error
           << "); this frame was written to " << actualPath
           << "; run with VEDO_UPDATE_GOLDEN=1 to accept it";
  }
  if (golden.width != actual.width || golden.height != actual.height) {
    pngio::WritePng(actualPath, actual);
    return ::testing::AssertionFailure() << name << ": size " << actual.width << "x" << actual.height
                                         << ", golden " << golden.width << "x" << golden.height;
  }
  for (int y = 0; y < actual.height; ++y) {
    for (int x = 0; x < actual.width; ++x) {
      const std::size_t i = (static_cast<std::size_t>(y) * actual.width + x) * 3;
      if (actual.rgb[i] != golden.rgb[i] || actual.rgb[i + 1] != golden.rgb[i + 1] ||
          actual.rgb[i + 2] != golden.rgb[i + 2]) {
        pngio::WritePng(actualPath, actual);
        return ::testing::AssertionFailure()
               << name << ": first difference at (" << x << ", " << y << "): RGB "
               << int(actual.rgb[i]) << "," << int(actual.rgb[i + 1]) << "," << int(actual.rgb[i + 2])
               << ", golden " << int(golden.rgb[i]) << "," << int(golden.rgb[i + 1]) << ","
               << int(golden.rgb[i + 2]) << "; frame written to " << actualPath;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace testdata
