// The game in English over the generated data kit and its English pack: the
// replay tests/scenes/english_screens.vrs writes a shot of every
// screen with words, and each is compared, cut to the part that shows the
// English, with tests/golden/english_NAME.png.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/png_io.h"
#include "replay/replay_host.h"
#include "state/game_state.h"
#include "support/golden.h"
#include "support/test_data.h"

namespace {

struct Shot {
  const char* name;
  int x, y, width, height;
};

// Whole screens for the pictures; the window for the prologue and one fight
// page; the text lines for the other pages; the hint screen of the panel;
// the credit line that is in English.
constexpr Shot kShots[] = {
    {"title", 0, 0, 640, 480},
    {"warning", 0, 0, 640, 480},
    {"prologue", 162, 121, 317, 241},
    {"hint", 127, 364, 235, 114},
    {"zombie", 162, 61, 317, 241},
    {"hunter", 200, 222, 250, 68},
    {"cerberus", 200, 222, 250, 68},
    {"stalker", 200, 222, 250, 68},
    {"empty_gun", 200, 222, 250, 68},
    {"file", 200, 222, 250, 68},
    {"ammo", 200, 222, 250, 68},
    {"spray_found", 200, 222, 250, 68},
    {"rocket_dodged", 200, 222, 250, 68},
    {"rocket_hit", 200, 222, 250, 68},
    {"escaped", 200, 222, 250, 68},
    {"revived", 200, 222, 250, 68},
    {"spray_used", 200, 222, 250, 68},
    {"death", 0, 0, 640, 480},
    {"ending", 160, 290, 320, 60},
};

TEST(EnglishGolden, EveryScreenWithWords) {
  for (const std::string& skip :
       {testdata::KitGoldenSkipReason(), testdata::TextGoldenSkipReason()}) {
    if (!skip.empty()) GTEST_SKIP() << skip;
  }
  std::ifstream in(std::filesystem::path(VEDO_SOURCE_DIR) / "tests/scenes/english_screens.vrs");
  std::ostringstream script;
  script << in.rdbuf();
  const std::filesystem::path shots = testdata::MakeTempDir("vedo-english");
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(shots);
  ResetGameState();
  const int code = replay::RunReplay(script.str(), testdata::DataKitDir().string(), "en");
  std::filesystem::current_path(previous);
  ResetGameState();
  ASSERT_EQ(code, 0);

  for (const Shot& shot : kShots) {
    pngio::RgbImage image;
    std::string error;
    ASSERT_TRUE(pngio::ReadPng((shots / (std::string(shot.name) + ".png")).string(), image, &error))
        << error;
    platform::Surface part(shot.width, shot.height);
    for (int y = 0; y < shot.height; ++y) {
      for (int x = 0; x < shot.width; ++x) {
        const std::uint8_t* rgb =
            &image.rgb[(static_cast<std::size_t>(shot.y + y) * image.width + shot.x + x) * 3];
        std::uint8_t* bgr = part.Row(y) + 3 * x;
        bgr[0] = rgb[2];
        bgr[1] = rgb[1];
        bgr[2] = rgb[0];
      }
    }
    EXPECT_TRUE(testdata::MatchesGolden(part, std::string("english_") + shot.name));
  }
  std::filesystem::remove_all(shots);
}

}  // namespace
