// The frame trace, as the measurement tool and the real-window tests read
// it: one line per present, the platform's shut-down steps and the game's
// own marks, in time order; nothing at all when it is off.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/child_process.h"
#include "platform/platform.h"
#include "replay/replay_host.h"
#include "state/game_state.h"
#include "support/test_data.h"

namespace {

namespace fs = std::filesystem;

struct Line {
  std::string kind;
  long long ns = 0;
  std::string name;
};

std::vector<Line> ReadLines(const fs::path& path) {
  std::vector<Line> lines;
  std::ifstream in(path);
  for (std::string text; std::getline(in, text);) {
    if (text.empty() || text[0] == '#') continue;
    std::istringstream words(text);
    Line l;
    words >> l.kind >> l.ns >> l.name;
    lines.push_back(l);
  }
  return lines;
}

int Count(const std::vector<Line>& lines, const std::string& kind) {
  int n = 0;
  for (const Line& l : lines) n += l.kind == kind ? 1 : 0;
  return n;
}

// Where the first line of this kind (and, for marks, name prefix) is; -1
// when there is none.
int Find(const std::vector<Line>& lines, const std::string& kind, const std::string& name = "") {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind == kind && lines[i].name.rfind(name, 0) == 0) return static_cast<int>(i);
  }
  return -1;
}

fs::path GeneratedData() { return fs::path(VEDO_BINARY_DIR) / "data"; }

class FrameTrace : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    dir_ = testdata::MakeTempDir("vedo-trace");
  }
  void TearDown() override {
    platform::StopFrameTrace();
    ResetGameState();
    fs::remove_all(dir_);
  }
  fs::path dir_;
};

TEST_F(FrameTrace, RecordsEveryPresentTheMarksAndTheShutDownInOrder) {
  ASSERT_TRUE(fs::exists(GeneratedData() / "city.map"));
  const fs::path trace = dir_ / "run.trace";
  ASSERT_TRUE(platform::StartFrameTrace(trace.c_str()));
  EXPECT_TRUE(platform::FrameTraceOn());
  platform::TraceMark("before-the-game");
  // 30 title passes, each a flip, then a close of the window.
  ASSERT_EQ(replay::RunReplay("time 1000000000\nframes 30\n", GeneratedData().string()), 0);
  platform::StopFrameTrace();
  EXPECT_FALSE(platform::FrameTraceOn());

  const std::vector<Line> lines = ReadLines(trace);
  EXPECT_EQ(Count(lines, "present"), 30);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    EXPECT_LE(lines[i - 1].ns, lines[i].ns) << "line " << i << " goes back in time";
  }
  const int mark = Find(lines, "mark", "before-the-game");
  const int firstPresent = Find(lines, "present");
  const int sound = Find(lines, "mark", "sound-device-closed");
  const int display = Find(lines, "mark", "display-released");
  const int windowing = Find(lines, "mark", "windowing-stopped");
  EXPECT_EQ(mark, 0);
  EXPECT_GT(firstPresent, mark);
  ASSERT_GT(sound, firstPresent);
  EXPECT_GT(display, sound);
  EXPECT_GT(windowing, display);
  // The device takes every effect's buffers with it: 16 effects of 21
  // copies each.
  EXPECT_EQ(lines[sound].name, "sound-device-closed,buffers=336");

  // Off, nothing more is written.
  const auto size = fs::file_size(trace);
  platform::TraceMark("after-the-trace");
  ResetGameState();
  ASSERT_EQ(replay::RunReplay("time 1000000000\nframes 5\n", GeneratedData().string()), 0);
  EXPECT_EQ(fs::file_size(trace), size);
}

TEST_F(FrameTrace, AnUnwritablePathLeavesTheTraceOff) {
  EXPECT_FALSE(platform::StartFrameTrace((dir_ / "no-such-folder" / "run.trace").c_str()));
  EXPECT_FALSE(platform::FrameTraceOn());
}

// Set in the environment, the trace covers the whole process: its start
// (from the kernel's record, so it comes first), the first of the program's
// own code, the frames and the end.
TEST_F(FrameTrace, TheEnvironmentVariableTracesAWholeProcess) {
  const fs::path trace = dir_ / "env.trace";
  testdata::WriteFile(dir_ / "run.vrs", {'f', 'r', 'a', 'm', 'e', 's', ' ', '1', '2', '\n'});
  const std::string replay = std::string(VEDO_BINARY_DIR) + "/tools/replay/vedo-replay";
  child::Process run({.argv = {replay, "--data", GeneratedData().string(), "run.vrs"},
                      .env = {{"VEDO_FRAME_TRACE", trace.string()}},
                      .workDir = dir_,
                      .out = dir_ / "replay.log"});
  ASSERT_EQ(run.Wait(std::chrono::milliseconds(60000)), 0) << run.HowItEnded();

  const std::vector<Line> lines = ReadLines(trace);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0].kind, "start");
  EXPECT_EQ(lines[1].kind, "init");
  EXPECT_LE(lines[0].ns, lines[1].ns);
  EXPECT_EQ(Count(lines, "present"), 12);
  EXPECT_LT(lines[1].ns, lines[Find(lines, "present")].ns);
  EXPECT_EQ(Count(lines, "exit"), 1);
  EXPECT_GE(Find(lines, "exit"), Find(lines, "mark", "windowing-stopped"));
}

}  // namespace
