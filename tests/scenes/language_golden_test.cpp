// The game in English over the generated data kit and its English pack: the
// replay tests/scenes/english_screens.vrs writes a shot of every
// screen with words, and each is compared, cut to the part that shows the
// English, with tests/golden/english_NAME.png. And in French, from the
// tests' own pack (tests/lang/fr), whose lines hold every letter of French,
// Spanish and German, a Greek and a Cyrillic line: its goldens show them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/png_io.h"
#include "lang/language_pack.h"
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

// Plays `script` over `data` in `language` and compares each shot, cut to
// its part, with tests/golden/PREFIX_NAME.png.
void CompareShots(const std::string& script, const std::filesystem::path& data,
                  const std::string& language, const std::vector<Shot>& wanted) {
  const std::filesystem::path shots = testdata::MakeTempDir("vedo-" + language);
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(shots);
  ResetGameState();
  const int code = replay::RunReplay(script, data.string(), language);
  std::filesystem::current_path(previous);
  ResetGameState();
  ASSERT_EQ(code, 0);

  const std::string prefix = language == "en" ? "english_" : "french_";
  for (const Shot& shot : wanted) {
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
    EXPECT_TRUE(testdata::MatchesGolden(part, prefix + shot.name));
  }
  std::filesystem::remove_all(shots);
}

bool Skipped() {
  for (const std::string& skip :
       {testdata::KitGoldenSkipReason(), testdata::TextGoldenSkipReason()}) {
    if (!skip.empty()) {
      GTEST_LOG_(INFO) << skip;
      return true;
    }
  }
  return false;
}

TEST(EnglishGolden, EveryScreenWithWords) {
  if (Skipped()) GTEST_SKIP();
  std::ifstream in(std::filesystem::path(VEDO_SOURCE_DIR) / "tests/scenes/english_screens.vrs");
  std::ostringstream script;
  script << in.rdbuf();
  CompareShots(script.str(), testdata::DataKitDir(), "en",
               std::vector<Shot>(std::begin(kShots), std::end(kShots)));
}

// The French pack beside the data kit's files, with the English art, which
// it needs to leave no screen in Korean: the game uses it as it is, and draws
// the prologue, and the pages that hold every letter, as their goldens show.
TEST(FrenchGolden, TheTestsPackDrawsItsAccentsGreekAndCyrillic) {
  if (Skipped()) GTEST_SKIP();
  namespace fs = std::filesystem;
  const fs::path data = testdata::MakeTempDir("vedo-french-data");
  for (const fs::directory_entry& e : fs::directory_iterator(testdata::DataKitDir())) {
    if (e.path().filename() != "lang") fs::copy(e.path(), data / e.path().filename());
  }
  const fs::path pack = data / "lang/fr";
  fs::create_directories(pack);
  fs::copy(fs::path(VEDO_SOURCE_DIR) / "tests/lang/fr/fr.po", pack);
  for (const fs::directory_entry& e : fs::directory_iterator(testdata::DataKitDir() / "lang/en")) {
    if (e.path().extension() == ".bmp") fs::copy(e.path(), pack / e.path().filename());
  }
  for (const PackFault& f : ReadLanguagePack(pack.string() + "/", PackBase{}).faults) {
    ADD_FAILURE() << f.Describe();
  }
  CompareShots(
      "time 1000000000\nset gInTitle 0\nset gProloguePending 1\nframes 3\nshot prologue.png\n"
      "set gProloguePending 0\nmove 300 200\nframes 3\nset gEventOpen 1\n"
      "set gEventNumber 77\nframes 2\nshot escaped.png\nset gEventNumber 94\nframes 2\n"
      "shot revived.png\n",
      data, "fr",
      {{"prologue", 162, 121, 317, 241},
       {"escaped", 200, 222, 250, 68},
       {"revived", 200, 222, 250, 68}});
  fs::remove_all(data);
}

}  // namespace
