// The player's last games: each kept as a new file, however many end in the
// same second, and only the newest 20 left, other files untouched.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "formats/file_bytes.h"
#include "platform/port.h"
#include "support/test_data.h"

namespace {

namespace fs = std::filesystem;

TEST(KeptRecordings, TheNewestTwentyStayAndOtherFilesAreLeftAlone) {
  const fs::path dir = testdata::MakeTempDir("vedo-kept") / "state" / "recordings";
  fs::create_directories(dir);
  std::ofstream(dir / "notes.txt") << "mine";
  std::string why;
  for (std::uint8_t game = 1; game <= 23; ++game) {
    ASSERT_TRUE(platform::KeepRecordingIn(dir.string(), {game}, why)) << why;
  }
  std::vector<int> games;
  for (const fs::directory_entry& e : fs::directory_iterator(dir)) {
    if (e.path().extension() != ".vzr") continue;
    std::vector<std::uint8_t> bytes;
    platform::ReadFileBytes(e.path().string().c_str(), bytes, 16);
    ASSERT_EQ(bytes.size(), 1u) << e.path();
    games.push_back(bytes[0]);
  }
  std::sort(games.begin(), games.end());
  ASSERT_EQ(games.size(), 20u);
  EXPECT_EQ(games.front(), 4);
  EXPECT_EQ(games.back(), 23);
  EXPECT_TRUE(fs::exists(dir / "notes.txt"));
}

}  // namespace
