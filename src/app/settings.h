// The player's settings and their file, settings.ini: one setting a line,
// NAME = VALUE, which the game writes whole whenever one changes.
//
//   effects-volume = 100          0 to 100 (per cent)
//   music-volume = 100
//   mute = no                     yes or no
//   display = full-screen         full-screen or window
//   window-scale = auto           auto (the largest that fits) or 1 to 16
//   scaling = fill                fill or sharp (whole multiples)
//   language = ko                 ko, or a language pack's folder name
//   sound-in-background = yes     yes or no
//
// Blank lines and lines starting with # or ; are comments, and a [section]
// line is passed over; names the game does not know (a later version's) are
// left alone. The defaults are the game as it always was.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "lang/language.h"
#include "platform/sound/audio.h"

struct Settings {
  int effectsVolume = platform::kFullVolume;  // 0 to 100
  int musicVolume = platform::kFullVolume;
  bool mute = false;
  bool fullScreen = true;
  int windowScale = 0;  // 0: the largest that fits; else 1 to kMaxWindowScale
  bool sharp = false;
  std::string language = kBuiltInLanguage;
  bool soundInBackground = true;
  bool operator==(const Settings&) const = default;
};

// The largest window scale.
inline constexpr int kMaxWindowScale = 16;
// The reader refuses a longer file before reading it.
inline constexpr std::size_t kSettingsMaxBytes = 4096;

// The file's text for `settings`, with a heading that says how to read it.
std::string SettingsText(const Settings& settings);
// Reads the file's text into `settings` (the defaults for what it does not
// name). False, with the line and what is wrong with it, for a line that is
// neither a comment nor NAME = VALUE, a value a setting does not take, a
// setting given twice, or a text longer than kSettingsMaxBytes.
bool ReadSettings(std::string_view text, Settings& settings, std::string& problem);
