// The settings file: what the game writes it reads back the same; a file
// edited by hand, or by a later version, is read; a damaged one is refused
// naming its line.
#include "app/settings.h"

#include <gtest/gtest.h>

#include <string>

TEST(SettingsFile, ReadsWhatItWritesAndWhatAHandOrALaterVersionWrote) {
  const Settings changed{.effectsVolume = 0,
                         .musicVolume = 50,
                         .mute = true,
                         .fullScreen = false,
                         .windowScale = 3,
                         .sharp = true,
                         .language = "en",
                         .soundInBackground = false};
  Settings read;
  std::string problem;
  ASSERT_TRUE(ReadSettings(SettingsText(changed), read, problem)) << problem;
  EXPECT_EQ(read, changed);
  ASSERT_TRUE(ReadSettings(SettingsText(Settings{}), read, problem)) << problem;
  EXPECT_EQ(read, Settings{});

  ASSERT_TRUE(
      ReadSettings("\xEF\xBB\xBF[vedo]\r\n; by hand\r\n  mute=yes \r\nzoom = 4\n", read, problem))
      << problem;
  EXPECT_TRUE(read.mute);
  EXPECT_EQ(read.effectsVolume, 100) << "what the file does not name keeps its default";
}

TEST(SettingsFile, ADamagedFileIsRefusedNamingItsLine) {
  const std::pair<const char*, const char*> damaged[] = {
      {"mute = no\nmusic-volume = 101\n", "line 2: music-volume takes"},
      {"mute = no\nmute = yes\n", "line 2: mute is given twice"},
      {"# fine\nwindow-scale 2\n", "line 2: not NAME = VALUE"},
      {"language = ../../etc\n", "line 1: language takes"},
      {"display = fullscreen\n", "line 1: display takes"},
  };
  for (const auto& [text, why] : damaged) {
    Settings read;
    std::string problem;
    EXPECT_FALSE(ReadSettings(text, read, problem)) << text;
    EXPECT_EQ(problem.rfind(why, 0), 0u) << problem;
  }
  Settings read;
  std::string problem;
  EXPECT_FALSE(ReadSettings(std::string(kSettingsMaxBytes + 1, '#'), read, problem));
}
