// Whole games played from replay scripts on the standard test data.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "replay/replay_host.h"
#include "shell/game_state.h"
#include "support/test_data.h"

namespace {

std::string ReadScript(const std::string& name) {
  std::ifstream in(std::filesystem::path(VEDO_SOURCE_DIR) / "tests/field/replays" / name);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs a script in a fresh data folder and returns the tool's exit code.
int Play(const std::string& name) {
  const std::string script = ReadScript(name);
  EXPECT_FALSE(script.empty()) << name;
  const auto dir = testdata::MakeTempDir("vedo-replay");
  testdata::WriteStandardData(dir);
  const auto previous = std::filesystem::current_path();
  ResetGameState();
  const int code = replay::RunReplay(script, dir.string());
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(dir);
  return code;
}

TEST(ReplayGames, WonByTakingTheFiveFiles) {
  EXPECT_EQ(Play("won_game.vrs"), 0);
  EXPECT_EQ(gEnding, 1);
  EXPECT_EQ(gScore, 6920);
  EXPECT_EQ(gGrade, 4);
  ResetGameState();
}

TEST(ReplayGames, LostToAFatalFight) {
  EXPECT_EQ(Play("lost_game.vrs"), 0);
  EXPECT_EQ(gAlive, 0);
  EXPECT_EQ(gHealth, 0);
  ResetGameState();
}

}  // namespace
