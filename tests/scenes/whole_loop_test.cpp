// The whole loop played through the replay tool on the standard test data,
// in Korean and in English.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "shell/game_state.h"
#include "support/call_probe.h"
#include "support/test_data.h"

TEST(WholeLoop, TitleWarningProloguePlayVictoryEndingAndTitleAgain) {
  EXPECT_EQ(testdata::RunReplayFile("tests/scenes/replays/full_loop_won.vrs"), 0);
  ResetGameState();
}

TEST(WholeLoop, HardGameDeathDelayTitleAndANormalGame) {
  EXPECT_EQ(testdata::RunReplayFile("tests/scenes/replays/full_loop_death.vrs"), 0);
  ResetGameState();
}

// The language changes no rule: every whole-loop script, played in English
// over the data kit's pack, passes its own expects and ends in the very state
// it ends in when played in Korean, having drawn English lines only.
TEST(WholeLoop, EveryScriptEndsInTheSameStateInEnglish) {
  const auto anyKorean = [](const std::vector<testdata::TextCall>& texts) {
    return std::any_of(texts.begin(), texts.end(), [](const testdata::TextCall& t) {
      return std::any_of(t.text.begin(), t.text.end(),
                         [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    });
  };
  for (const char* script :
       {"tests/field/replays/won_game.vrs", "tests/field/replays/lost_game.vrs",
        "tests/scenes/replays/full_loop_won.vrs", "tests/scenes/replays/full_loop_death.vrs"}) {
    testdata::CallProbe probe;
    std::string korean, english;
    EXPECT_EQ(testdata::RunReplayFile(script, "", &korean), 0) << script;
    EXPECT_TRUE(anyKorean(probe.texts)) << script;
    probe.Clear();
    EXPECT_EQ(testdata::RunReplayFile(script, "en", &english), 0) << script;
    EXPECT_FALSE(probe.texts.empty()) << script;
    EXPECT_FALSE(anyKorean(probe.texts)) << script;
    EXPECT_FALSE(english.empty()) << script;
    EXPECT_EQ(english, korean) << script;
  }
  ResetGameState();
}
