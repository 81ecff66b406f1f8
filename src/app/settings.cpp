#include "app/settings.h"

#include <algorithm>
#include <charconv>
#include <iterator>

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

// A whole number from `lowest` to `highest`, in at most three digits.
bool Number(std::string_view v, int lowest, int highest, int& out) {
  int n = 0;
  if (v.empty() || v.size() > 3) return false;
  const auto [end, error] = std::from_chars(v.data(), v.data() + v.size(), n);
  if (error != std::errc() || end != v.data() + v.size() || n < lowest || n > highest) return false;
  out = n;
  return true;
}

// One of two words.
bool Either(std::string_view v, const char* yes, const char* no, bool& out) {
  if (v != yes && v != no) return false;
  out = v == yes;
  return true;
}

// The settings that take one of two words, the first setting them true.
struct TwoWords {
  const char* name;
  const char* yes;
  const char* no;
  bool Settings::*setting;
};
constexpr TwoWords kWords[] = {
    {"mute", "yes", "no", &Settings::mute},
    {"sound-in-background", "yes", "no", &Settings::soundInBackground},
    {"display", "full-screen", "window", &Settings::fullScreen},
    {"scaling", "sharp", "fill", &Settings::sharp},
};

}  // namespace

std::string SettingsText(const Settings& s) {
  const auto yesNo = [](bool b) { return b ? "yes" : "no"; };
  return "# Vedo Zeza1: the player's settings, written by the game whenever one changes.\n"
         "# One a line, NAME = VALUE; a damaged file is kept as settings.ini.bad and the\n"
         "# game starts with its defaults. The options panel (F1) changes them all.\n"
         "effects-volume = " +
         std::to_string(s.effectsVolume) + "\nmusic-volume = " + std::to_string(s.musicVolume) +
         "\nmute = " + yesNo(s.mute) + "\ndisplay = " + (s.fullScreen ? "full-screen" : "window") +
         "\nwindow-scale = " + (s.windowScale == 0 ? "auto" : std::to_string(s.windowScale)) +
         "\nscaling = " + (s.sharp ? "sharp" : "fill") + "\nlanguage = " + s.language +
         "\nsound-in-background = " + yesNo(s.soundInBackground) + "\n";
}

bool ReadSettings(std::string_view text, Settings& settings, std::string& problem) {
  if (text.size() > kSettingsMaxBytes) {
    problem = "longer than " + std::to_string(kSettingsMaxBytes) + " bytes";
    return false;
  }
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  Settings read;
  std::string seen;  // the names read so far, each between slashes
  int lineNumber = 0;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    ++lineNumber;
    if (line.empty() || line[0] == '#' || line[0] == ';' ||
        (line.front() == '[' && line.back() == ']')) {
      continue;
    }
    const std::string at = "line " + std::to_string(lineNumber) + ": ";
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
      problem = at + "not NAME = VALUE";
      return false;
    }
    const std::string_view name = Trim(line.substr(0, eq));
    const std::string_view value = Trim(line.substr(eq + 1));
    const std::string key = "/" + std::string(name) + "/";
    if (seen.find(key) != std::string::npos) {
      problem = at + std::string(name) + " is given twice";
      return false;
    }
    seen += key;
    bool ok = true;
    std::string takes;
    const auto word = std::find_if(std::begin(kWords), std::end(kWords),
                                   [&](const TwoWords& w) { return name == w.name; });
    if (word != std::end(kWords)) {
      ok = Either(value, word->yes, word->no, read.*(word->setting));
      takes = std::string(word->yes) + " or " + word->no;
    } else if (name == "effects-volume" || name == "music-volume") {
      ok = Number(value, 0, platform::kFullVolume,
                  name == "effects-volume" ? read.effectsVolume : read.musicVolume);
      takes = "a whole number from 0 to 100";
    } else if (name == "window-scale") {
      ok = value == "auto" ? (read.windowScale = 0, true)
                           : Number(value, 1, kMaxWindowScale, read.windowScale);
      takes = "auto or a whole number from 1 to 16";
    } else if (name == "language") {
      ok = value == kBuiltInLanguage || LanguageNameValid(value);
      if (ok) read.language = value;
      takes = "ko or a language pack's name";
    }
    if (!ok) {
      problem = at + std::string(name) + " takes " + takes;
      return false;
    }
  }
  settings = read;
  return true;
}
