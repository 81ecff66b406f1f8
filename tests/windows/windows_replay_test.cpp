// The Windows build seen from the Linux one: its replay tool, under Wine,
// plays the whole-loop scripts the Linux suite plays, to the same game states
// and the same frames, byte for byte.
//
// The Windows programs come from the cross build (build-win, made by
// `./run.sh windows`); the tests skip, saying so, when it or Wine is missing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/child_process.h"
#include "common/png_io.h"
#include "support/test_data.h"

namespace {

namespace fs = std::filesystem;

const fs::path kWindowsBuild = VEDO_WINDOWS_BUILD_DIR;
const fs::path kWineRun = fs::path(VEDO_SOURCE_DIR) / "tests/windows/wine_run.sh";

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The script with a state dump and a frame shot after every run of frames,
// named by their order.
std::string WithCheckpoints(const std::string& script, int& count) {
  std::istringstream in(script);
  std::string out;
  count = 0;
  for (std::string line; std::getline(in, line);) {
    out += line + "\n";
    if (line.rfind("frames ", 0) == 0) {
      const std::string n = std::to_string(count++);
      out += "dump state" + n + ".json\nshot frame" + n + ".png\n";
    }
  }
  return out;
}

// Skips, saying so, where the Windows build or Wine is missing.
class WithWindowsBuild : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(kWindowsBuild / "tools/replay/vedo-replay.exe")) {
      GTEST_SKIP() << "needs the Windows build in " << kWindowsBuild << " (./run.sh windows)";
    }
    if (!fs::exists("/usr/lib/wine/wine64")) GTEST_SKIP() << "needs Wine (wine64)";
  }
};

class WindowsReplay : public WithWindowsBuild, public ::testing::WithParamInterface<const char*> {};

TEST_P(WindowsReplay, StatesAndFramesMatchLinux) {
  const fs::path script = fs::path(VEDO_SOURCE_DIR) / "tests" / GetParam();
  const fs::path scratch = testdata::MakeTempDir("vedo-windows-replay");
  int checkpoints = 0;
  const fs::path variant = scratch / "script.vrs";
  std::ofstream(variant) << WithCheckpoints(ReadAll(script), checkpoints);
  ASSERT_GT(checkpoints, 0);
  const fs::path data = fs::path(VEDO_BINARY_DIR) / "data";
  fs::create_directories(scratch / "linux");
  fs::create_directories(scratch / "windows");

  child::Options linuxRun;
  linuxRun.argv = {(fs::path(VEDO_BINARY_DIR) / "tools/replay/vedo-replay").string(), "--data",
                   data.string(), variant.string()};
  linuxRun.workDir = scratch / "linux";
  const child::Result linuxResult = child::Run(linuxRun);
  ASSERT_EQ(linuxResult.exitCode, 0) << child::Describe(linuxResult);

  child::Options windowsRun;
  windowsRun.argv = {kWineRun.string(), (kWindowsBuild / "tools/replay/vedo-replay.exe").string(),
                     "--data", data.string(), variant.string()};
  windowsRun.workDir = scratch / "windows";
  windowsRun.env = {{"VEDO_WINDOWS_BUILD", kWindowsBuild.string()}};
  windowsRun.limitSeconds = 300;
  const child::Result windowsResult = child::Run(windowsRun);
  ASSERT_EQ(windowsResult.exitCode, 0) << child::Describe(windowsResult);

  for (int i = 0; i < checkpoints; ++i) {
    const std::string n = std::to_string(i);
    const std::string linuxState = ReadAll(scratch / "linux" / ("state" + n + ".json"));
    ASSERT_FALSE(linuxState.empty()) << "checkpoint " << n;
    ASSERT_EQ(ReadAll(scratch / "windows" / ("state" + n + ".json")), linuxState)
        << "checkpoint " << n;
    pngio::RgbImage linuxFrame, windowsFrame;
    std::string error;
    ASSERT_TRUE(
        pngio::ReadPng((scratch / "linux" / ("frame" + n + ".png")).string(), linuxFrame, &error))
        << error;
    ASSERT_TRUE(pngio::ReadPng((scratch / "windows" / ("frame" + n + ".png")).string(),
                               windowsFrame, &error))
        << error;
    EXPECT_TRUE(windowsFrame.width == linuxFrame.width && windowsFrame.rgb == linuxFrame.rgb)
        << "checkpoint " << n << ": the Windows frame differs from the Linux one";
  }
  fs::remove_all(scratch);
}

// The games recorded in the real programs (tests/recordings/) play to their
// digests under Wine too, as they do on Linux and under Node.
using WindowsRecordings = WithWindowsBuild;

TEST_F(WindowsRecordings, PlayToTheirDigests) {
  const fs::path scratch = testdata::MakeTempDir("vedo-windows-recordings");
  child::Options run;
  run.argv = {kWineRun.string(), (kWindowsBuild / "tools/replay/vedo-replay.exe").string(),
              "--data", (fs::path(VEDO_BINARY_DIR) / "data").string(), "--play"};
  for (const auto& entry : fs::directory_iterator(fs::path(VEDO_SOURCE_DIR) / "tests/recordings")) {
    if (entry.path().extension() == ".vzr") run.argv.push_back(entry.path().string());
  }
  ASSERT_GT(run.argv.size(), 5u) << "no recordings in tests/recordings";
  run.workDir = scratch;
  run.env = {{"VEDO_WINDOWS_BUILD", kWindowsBuild.string()}};
  run.limitSeconds = 300;
  const child::Result result = child::Run(run);
  EXPECT_EQ(result.exitCode, 0) << child::Describe(result);
}

INSTANTIATE_TEST_SUITE_P(WholeLoop, WindowsReplay,
                         ::testing::Values("scenes/replays/full_loop_death.vrs",
                                           "scenes/replays/full_loop_won.vrs",
                                           "field/replays/lost_game.vrs",
                                           "field/replays/won_game.vrs"));

}  // namespace
