#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "common/child_process.h"
#include "common/png_io.h"
#include "replay/replay_host.h"
#include "replay/script.h"
#include "state/game_state.h"
#include "support/test_data.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
  int code = -1;
  std::string said;  // stderr
};

std::string ReadText(const fs::path& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs the real vedo-replay on a script, with a time limit, in its own
// process.
class ReplayTool : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = testdata::MakeTempDir("vedo-replay");
    data_ = dir_ / "data";
    fs::create_directory(data_);
    testdata::WriteStandardData(data_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  Outcome Run(const std::string& script, const fs::path& data) {
    std::ofstream(dir_ / "script.txt") << script;
    const std::string tool = std::string(VEDO_BINARY_DIR) + "/tools/replay/vedo-replay";
    child::Options replay;
    replay.argv = {tool, "--data", data.string(), "script.txt"};
    replay.workDir = dir_;
    const child::Result run = child::Run(replay);
    Outcome out;
    out.code = run.exitCode;
    out.said = run.said;
    return out;
  }
  Outcome Run(const std::string& script) { return Run(script, data_); }

  fs::path dir_;
  fs::path data_;
};

// The value after "\"name\":" in a dump, as text up to the next comma or
// closing bracket (for an array: the whole bracketed text).
std::string JsonValue(const std::string& json, const std::string& name) {
  const std::string key = "\"" + name + "\":";
  const std::size_t at = json.find(key);
  if (at == std::string::npos) return "<missing>";
  std::size_t i = at + key.size();
  while (i < json.size() && json[i] == ' ') ++i;
  if (json[i] != '[') return json.substr(i, json.find_first_of(",\n}", i) - i);
  int depth = 0;
  std::size_t j = i;
  for (; j < json.size(); ++j) {
    if (json[j] == '[') ++depth;
    if (json[j] == ']' && --depth == 0) break;
  }
  return json.substr(i, j - i + 1);
}

// "[[1, 2], [3, 4]]" as rows of numbers.
std::vector<std::vector<long>> Rows(const std::string& array) {
  std::vector<std::vector<long>> rows;
  std::vector<long>* row = nullptr;
  for (std::size_t i = 1; i + 1 < array.size(); ++i) {
    const char c = array[i];
    if (c == '[') {
      rows.emplace_back();
      row = &rows.back();
    } else if (c == '-' || (c >= '0' && c <= '9')) {
      char* end = nullptr;
      const long v = std::strtol(array.c_str() + i, &end, 10);
      if (row != nullptr) row->push_back(v);
      i = static_cast<std::size_t>(end - array.c_str()) - 1;
    }
  }
  return rows;
}

TEST_F(ReplayTool, ScriptErrorsExitWithCodeTwoNamingTheLine) {
  const struct {
    const char* script;
    const char* said;
  } kCases[] = {
      {"frames 3\n\n# comment\nbogus 1\n", "line 4: unknown command bogus"},
      {"frames x\n", "line 1: frames needs a count"},
      {"move 1\n", "line 1: move needs X and Y"},
      {"frames 1\nexpect gNoSuchValue 3\n", "line 2: unknown game-state name gNoSuchValue"},
      {"set gObjectLayer[18][0] 1\n", "line 1: unknown game-state name gObjectLayer[18][0]"},
      {"set gCountLayer[0][25] 1\n", "line 1: unknown game-state name"},
      {"set gHealth 99999999999\n", "line 1: bad value 99999999999"},
      {"focus sideways\n", "line 1: focus needs on or off"},
      {"down now\n", "line 1: down takes nothing"},
      {"dump\n", "line 1: dump needs a path"},
  };
  for (const auto& c : kCases) {
    const Outcome out = Run(c.script);
    EXPECT_EQ(out.code, 2) << c.script;
    EXPECT_NE(out.said.find(c.said), std::string::npos) << c.script << " said: " << out.said;
  }
}

TEST_F(ReplayTool, AFailedExpectOrABrokenStateExitsWithCodeOneNamingValueAndLine) {
  Outcome out = Run("frames 3\nexpect gHealth 99\nframes 5\n");
  EXPECT_EQ(out.code, 1);
  EXPECT_NE(out.said.find("line 2: expected gHealth = 99, found 100 after pass 3"),
            std::string::npos)
      << out.said;
  out = Run("set gCountLayer[0][0] -3\nframes 1\nexpect gCountLayer[0][0] -3\n");
  EXPECT_EQ(out.code, 1);
  EXPECT_NE(out.said.find("line 3: the game state is broken: gCountLayer[0][0] is -3 after pass 1"),
            std::string::npos)
      << out.said;
}

TEST_F(ReplayTool, SetAndExpectReachEveryValueAndCell) {
  const Outcome out =
      Run("set gHealth 42\nframes 1\nexpect gHealth 42\n"
          "set gObjectLayer[17][24] 11\nexpect gObjectLayer[17][24] 11\n"
          "set gCountLayer[0][0] 6\nexpect gCountLayer[0][0] 6\n"
          "expect gMapCols 25\nexpect gSpriteCount 52\n");
  EXPECT_EQ(out.code, 0) << out.said;
}

TEST_F(ReplayTool, ADumpHoldsThePassCountEveryValueAndBothLayers) {
  const Outcome out =
      Run("set gObjectLayer[2][3] 7\nset gCountLayer[17][24] 5\nset gScore -12\n"
          "move 33 44\nframes 4\ndump out.json\n");
  ASSERT_EQ(out.code, 0) << out.said;
  const std::string json = ReadText(dir_ / "out.json");
  EXPECT_EQ(JsonValue(json, "pass"), "4");
  int count = 0;
  const StateInt* ints = StateInts(&count);
  ASSERT_GT(count, 40);
  for (int i = 0; i < count; ++i) {
    EXPECT_NE(JsonValue(json, ints[i].name), "<missing>") << ints[i].name;
  }
  EXPECT_EQ(JsonValue(json, "gScore"), "-12");
  EXPECT_EQ(JsonValue(json, "gMouseX"), "33");
  EXPECT_EQ(JsonValue(json, "gMouseY"), "44");
  EXPECT_EQ(JsonValue(json, "gAppActive"), "1");
  EXPECT_EQ(JsonValue(json, "gTileWidth"), "40");
  for (const char* layer : {"gObjectLayer", "gCountLayer"}) {
    const auto rows = Rows(JsonValue(json, layer));
    ASSERT_EQ(rows.size(), 18u) << layer;
    for (const auto& row : rows) ASSERT_EQ(row.size(), 25u) << layer;
  }
  EXPECT_EQ(Rows(JsonValue(json, "gObjectLayer"))[2][3], 7);
  EXPECT_EQ(Rows(JsonValue(json, "gCountLayer"))[17][24], 5);
  EXPECT_EQ(Rows(JsonValue(json, "gCountLayer"))[0][0], 0);
}

TEST_F(ReplayTool, AShotIsTheLastFrameAsAPng) {
  Outcome out = Run("frames 2\nshot frame.png\n");
  ASSERT_EQ(out.code, 0) << out.said;
  pngio::RgbImage image;
  std::string error;
  ASSERT_TRUE(pngio::ReadPng((dir_ / "frame.png").string(), image, &error)) << error;
  EXPECT_EQ(image.width, 640);
  EXPECT_EQ(image.height, 480);

  out = Run("shot early.png\n");
  EXPECT_EQ(out.code, 2);
  EXPECT_NE(out.said.find("line 1: cannot write a frame to " + (dir_ / "early.png").string()),
            std::string::npos)
      << out.said;
}

TEST_F(ReplayTool, FramesWhileUnfocusedEndWithoutRunningPasses) {
  const Outcome out =
      Run("frames 5\nfocus off\nframes 100\ndump a.json\nfocus on\nframes 3\ndump b.json\n");
  ASSERT_EQ(out.code, 0) << out.said;
  EXPECT_EQ(JsonValue(ReadText(dir_ / "a.json"), "pass"), "5");
  EXPECT_EQ(JsonValue(ReadText(dir_ / "a.json"), "gAppActive"), "0");
  EXPECT_EQ(JsonValue(ReadText(dir_ / "b.json"), "pass"), "8");
}

TEST_F(ReplayTool, ALostDisplayIsRestoredAndTheGameGoesOn) {
  const Outcome out = Run("frames 2\nlose-display\nframes 3\ndump d.json\nshot s.png\n");
  ASSERT_EQ(out.code, 0) << out.said;
  EXPECT_EQ(JsonValue(ReadText(dir_ / "d.json"), "pass"), "5");
  EXPECT_TRUE(fs::exists(dir_ / "s.png"));
}

TEST_F(ReplayTool, EscapeEndsTheGameWithCodeZero) {
  const Outcome out = Run("frames 2\nkey escape\nframes 100\ndump never.json\n");
  EXPECT_EQ(out.code, 0) << out.said;
  EXPECT_FALSE(fs::exists(dir_ / "never.json")) << "the script went on after the game quit";
}

TEST_F(ReplayTool, DataErrorsExitWithCodeTwo) {
  Outcome out = Run("frames 1\n", dir_ / "no-such-folder");
  EXPECT_EQ(out.code, 2);
  EXPECT_NE(out.said.find("cannot enter the data folder"), std::string::npos) << out.said;
  fs::remove(data_ / "city.map");
  out = Run("frames 1\n");
  EXPECT_EQ(out.code, 2);
  EXPECT_NE(out.said.find("LoadMap: File Not Found."), std::string::npos) << out.said;
  EXPECT_NE(out.said.find("could not start"), std::string::npos) << out.said;
}

// ---- The replay clock ------------------------------------------------------------

replay::ReplayHost HostFor(const std::string& script) {
  std::vector<replay::Command> commands;
  std::string error;
  EXPECT_TRUE(replay::ParseScript(script, commands, &error)) << error;
  return replay::ReplayHost(std::move(commands));
}

TEST(ReplayClock, StartsAtTheDefaultAndGainsASecondEverySixtyPasses) {
  replay::ReplayHost host = HostFor("frames 200\n");
  platform::Event e;
  ASSERT_TRUE(host.NextEvent(e, false));  // the window's activation
  EXPECT_EQ(e.type, platform::EventType::kActivate);
  EXPECT_FALSE(host.NextEvent(e, false));  // takes "frames 200"
  EXPECT_EQ(host.Now(), 1000000000);
  for (int i = 0; i < 59; ++i) host.OnPass();
  EXPECT_EQ(host.Now(), 1000000000);
  host.OnPass();
  EXPECT_EQ(host.Now(), 1000000001);
  for (int i = 0; i < 60; ++i) host.OnPass();
  EXPECT_EQ(host.Now(), 1000000002);
}

TEST(ReplayClock, TimeSetsTheClockAndRestartsItsCount) {
  replay::ReplayHost host = HostFor("frames 30\ntime 5000\nframes 120\ntime 7\nframes 1\n");
  platform::Event e;
  host.NextEvent(e, false);
  host.NextEvent(e, false);
  for (int i = 0; i < 30; ++i) host.OnPass();
  EXPECT_FALSE(host.NextEvent(e, false));  // takes "time 5000" and "frames 120"
  EXPECT_EQ(host.Now(), 5000);
  for (int i = 0; i < 119; ++i) host.OnPass();
  EXPECT_EQ(host.Now(), 5001);
  host.OnPass();
  EXPECT_EQ(host.Now(), 5002);
  EXPECT_FALSE(host.NextEvent(e, false));
  EXPECT_EQ(host.Now(), 7);
}

TEST(ReplayClock, TimeGoesOnWhileTheGameWaitsForTheFocus) {
  replay::ReplayHost host = HostFor("frames 60\n");
  platform::Event e;
  host.NextEvent(e, false);
  host.NextEvent(e, false);
  for (int i = 0; i < 60; ++i) EXPECT_FALSE(host.NextEvent(e, true));
  EXPECT_EQ(host.Now(), 1000000001);
  EXPECT_EQ(host.Passes(), 0u);
  // The script then ends: the window is closed.
  ASSERT_TRUE(host.NextEvent(e, true));
  EXPECT_EQ(e.type, platform::EventType::kWindowClosed);
  EXPECT_EQ(host.ExitCode(), 0);
}

}  // namespace
