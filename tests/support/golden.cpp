#include "support/golden.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "common/png_io.h"
#include "platform/text.h"
#include "support/test_data.h"

namespace testdata {
namespace {

bool Refreshing() {
  const char* update = std::getenv("VEDO_UPDATE_GOLDEN");
  return update != nullptr && update[0] == '1';
}

}  // namespace

std::string TextGoldenSkipReason() {
  const std::string path = std::string(VEDO_GOLDEN_DIR) + "/text_route.txt";
  const std::string here = platform::TextRouteVersions();
  if (Refreshing()) {
    std::ofstream(path) << here << "\n";
    return {};
  }
  std::string recorded;
  std::ifstream in(path);
  std::getline(in, recorded);
  if (recorded == here) return {};
  return "text golden made with \"" + recorded + "\", this system has \"" + here +
         "\"; refresh the goldens (VEDO_UPDATE_GOLDEN=1) to compare with this one";
}

std::string KitGoldenSkipReason() {
  static const bool kitAsRecorded = [] {
    const std::string command = "cd '" + DataKitDir().string() +
                                "' && sha256sum --check --status '" + VEDO_SOURCE_DIR +
                                "/tests/tools/datakit.sha256'";
    return std::system(command.c_str()) == 0;
  }();
  if (kitAsRecorded || Refreshing()) return {};
  return "the data kit differs from tests/tools/datakit.sha256 (see the kit manifest test), so "
         "the golden images drawn from it cannot be compared";
}

::testing::AssertionResult MatchesGolden(const platform::Surface& frame, const std::string& name) {
  const pngio::RgbImage actual =
      pngio::FromBgr(frame.Pixels(), frame.Width(), frame.Height(), frame.Pitch());
  const std::string goldenPath = std::string(VEDO_GOLDEN_DIR) + "/" + name + ".png";
  if (Refreshing()) {
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
           << "no golden image " << goldenPath << " (" << error << "); this frame was written to "
           << actualPath << "; run with VEDO_UPDATE_GOLDEN=1 to accept it";
  }
  if (golden.width != actual.width || golden.height != actual.height) {
    pngio::WritePng(actualPath, actual);
    return ::testing::AssertionFailure()
           << name << ": size " << actual.width << "x" << actual.height << ", golden "
           << golden.width << "x" << golden.height;
  }
  for (int y = 0; y < actual.height; ++y) {
    for (int x = 0; x < actual.width; ++x) {
      const std::size_t i = (static_cast<std::size_t>(y) * actual.width + x) * 3;
      if (actual.rgb[i] != golden.rgb[i] || actual.rgb[i + 1] != golden.rgb[i + 1] ||
          actual.rgb[i + 2] != golden.rgb[i + 2]) {
        pngio::WritePng(actualPath, actual);
        return ::testing::AssertionFailure()
               << name << ": first difference at (" << x << ", " << y << "): RGB "
               << int(actual.rgb[i]) << "," << int(actual.rgb[i + 1]) << ","
               << int(actual.rgb[i + 2]) << ", golden " << int(golden.rgb[i]) << ","
               << int(golden.rgb[i + 1]) << "," << int(golden.rgb[i + 2]) << "; frame written to "
               << actualPath;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace testdata
