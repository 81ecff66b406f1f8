// The whole loop played through the replay tool on the standard test data,
// in Korean and in English.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "app/player_settings.h"
#include "app/recordings.h"
#include "platform/headless/headless.h"
#include "replay/replay_host.h"
#include "state/game_state.h"
#include "support/test_data.h"

TEST(WholeLoop, TitleWarningProloguePlayVictoryEndingAndTitleAgain) {
  EXPECT_EQ(testdata::RunReplayFile("tests/scenes/replays/full_loop_won.vrs"), 0);
  ResetGameState();
}

TEST(WholeLoop, HardGameDeathDelayTitleAndANormalGame) {
  EXPECT_EQ(testdata::RunReplayFile("tests/scenes/replays/full_loop_death.vrs"), 0);
  ResetGameState();
}

// Whether any line drawn while it listens holds a byte beyond ASCII: a
// Korean line. (Only the text is listened to; the game's own sounds play.)
class KoreanSeen final : public platform::CallRecorder {
 public:
  KoreanSeen() { platform::HeadlessSetRecorder(this); }
  ~KoreanSeen() override { platform::HeadlessSetRecorder(nullptr); }
  void TextDrawn(const char* text, std::uint32_t, std::uint32_t, int, int) override {
    ++lines;
    for (const char* c = text; *c != 0; ++c)
      korean = korean || static_cast<unsigned char>(*c) >= 0x80;
  }
  int lines = 0;
  bool korean = false;
};

// The language changes no rule: every whole-loop script, played in English
// over the data kit's pack, passes its own expects and ends in the very state
// it ends in when played in Korean, having drawn English lines only.
TEST(WholeLoop, EveryScriptEndsInTheSameStateInEnglish) {
  for (const char* script :
       {"tests/field/replays/won_game.vrs", "tests/field/replays/lost_game.vrs",
        "tests/scenes/replays/full_loop_won.vrs", "tests/scenes/replays/full_loop_death.vrs"}) {
    std::string korean, english;
    {
      KoreanSeen seen;
      EXPECT_EQ(testdata::RunReplayFile(script, "", &korean), 0) << script;
      EXPECT_TRUE(seen.korean) << script;
    }
    KoreanSeen seen;
    EXPECT_EQ(testdata::RunReplayFile(script, "en", &english), 0) << script;
    EXPECT_GT(seen.lines, 0) << script;
    EXPECT_FALSE(seen.korean) << script;
    EXPECT_FALSE(english.empty()) << script;
    EXPECT_EQ(english, korean) << script;
  }
  ResetGameState();
}

// The options panel stops the game where it stands: every whole-loop script,
// with the panel opened after each of its waits and closed again, the
// volumes, the mute and the scaling changed by its buttons and M, and the
// pointer put back before it closes, passes its own expects and ends in the
// very state it ends in without it.
TEST(WholeLoop, TheOptionsPanelChangesNoPass) {
  for (const char* script :
       {"tests/field/replays/won_game.vrs", "tests/scenes/replays/full_loop_won.vrs",
        "tests/scenes/replays/full_loop_death.vrs"}) {
    std::ifstream in(std::string(VEDO_SOURCE_DIR) + "/" + script);
    std::ostringstream withPanel;
    std::string x = "0", y = "0";
    bool held = false;
    for (std::string line; std::getline(in, line);) {
      withPanel << line << "\n";
      std::istringstream words(line);
      std::string verb;
      words >> verb;
      if (verb == "move") words >> x >> y;
      if (verb == "down" || verb == "up") held = verb == "down";
      if (verb != "frames") continue;
      withPanel << "key f1\nkey m\n";
      // Clicks on the effects' minus, the music's third segment and the
      // sharp scaling; a held button would be released by them.
      if (!held) {
        for (const char* at : {"305 110", "360 146", "450 290"}) {
          withPanel << "move " << at << "\ndown\nup\n";
        }
      }
      withPanel << "move " << x << " " << y << "\nkey f1\n";
    }
    const std::string path = testing::TempDir() + "/with_panel.vrs";
    std::ofstream(path) << withPanel.str();
    std::string plain, paused;
    EXPECT_EQ(testdata::RunReplayFile(script, "", &plain), 0) << script;
    EXPECT_EQ(testdata::RunReplayFile(path, "", &paused), 0) << script;
    EXPECT_FALSE(plain.empty());
    EXPECT_EQ(paused, plain) << script;
  }
  ChangePlayerSettings(Settings{});
  ResetGameState();
}

// A recording holds the player's changes of what is seen and heard: the
// won game's start, recorded with the effects turned down and English chosen
// in the options panel on the field, plays back to its digest with those
// settings in use and the same last frame, the event window's English lines.
TEST(WholeLoop, ARecordingPlaysTheSettingsChangedMidGame) {
  std::ifstream in(std::string(VEDO_SOURCE_DIR) + "/tests/scenes/replays/full_loop_won.vrs");
  std::ostringstream script;
  for (std::string line; std::getline(in, line) && line != "# File 2, view at (0, 0).";) {
    script << line << "\n";
  }
  const auto dir = testdata::MakeTempDir("vedo-recorded-settings");
  testdata::WriteStandardData(dir);
  std::filesystem::copy(testdata::DataKitDir() / "lang", dir / "lang",
                        std::filesystem::copy_options::recursive);
  // The effects' minus and the language's plus, then the file's event.
  script << "key f1\nmove 305 110\ndown\nup\nmove 496 330\ndown\nup\nkey f1\n"
         << "move 300 340\ndown\nframes 1\nup\nmove 450 250\nframes 6\n"
         << "shot " << (dir / "played.png").string() << "\n";
  const auto previous = std::filesystem::current_path();
  ResetGameState();
  RecordGames(nullptr, (dir / "game.vzr").string());
  EXPECT_EQ(replay::RunReplay(script.str(), dir.string(), ""), 0);
  StopRecording();
  EXPECT_EQ(replay::RunPlaybacks({(dir / "game.vzr").string()}, dir.string(), "",
                                 (dir / "back.png").string()),
            0);
  std::filesystem::current_path(previous);
  EXPECT_EQ(CurrentRecordedSettings(), (RecordedSettings{90, 100, false, "en"}));
  const auto bytes = [&dir](const char* name) {
    std::ifstream file(dir / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  };
  EXPECT_TRUE(!bytes("played.png").empty() && bytes("back.png") == bytes("played.png")) << dir;
  ResetGameState();
}
