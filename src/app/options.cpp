#include "app/options.h"

#include "lang/language.h"

namespace {

// A whole number from 1 to kMaxWindowScale, written in digits only.
bool ReadScale(const std::string& text, int& scale) {
  if (text.empty() || text.size() > 2) return false;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > kMaxWindowScale) return false;
  scale = value;
  return true;
}

}  // namespace

bool ParseCommandLine(int argc, const char* const* argv, CommandLine& line, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    // "--name=value" is taken as "--name value".
    std::string value;
    bool hasValue = false;
    const std::size_t eq = arg.find('=');
    if (arg.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = arg.substr(eq + 1);
      arg.resize(eq);
      hasValue = true;
    }
    // Without "=value", the next argument is the value; an optional one
    // (--window's scale) is never another option.
    const auto takeNext = [&](bool optional) {
      if (!hasValue && i + 1 < argc && !(optional && argv[i + 1][0] == '-')) {
        value = argv[++i];
        hasValue = true;
      }
    };
    if ((arg == "--help" || arg == "--version") && !hasValue) {
      (arg == "--help" ? line.help : line.version) = true;
    } else if (arg == "--data") {
      takeNext(false);
      if (!hasValue || value.empty()) {
        error = "--data needs the data folder";
        return false;
      }
      line.dataDir = value;
    } else if (arg == "--lang") {
      takeNext(false);
      if (!hasValue || !LanguageNameValid(value)) {
        error = hasValue ? "--lang takes a language such as en or ko, not \"" + value + "\""
                         : "--lang needs a language such as en or ko";
        return false;
      }
      line.language = value;
    } else if (arg == "--record" || arg == "--play") {
      takeNext(false);
      if (!hasValue || value.empty()) {
        error = arg + " needs a file";
        return false;
      }
      (arg == "--record" ? line.recordTo : line.play) = value;
    } else if (arg == "--window") {
      // SCALE is optional: the next argument is taken as it unless it is
      // another option. The game takes no other words, so a word there is
      // a scale or a mistake.
      takeNext(true);
      line.windowed = true;
      line.scale = 0;
      if (hasValue && !ReadScale(value, line.scale)) {
        error = "--window takes a whole scale from 1 to " + std::to_string(kMaxWindowScale) +
                ", not \"" + value + "\"";
        return false;
      }
    } else {
      error = arg.rfind('-', 0) == 0 ? "unknown option " + std::string(argv[i])
                                     : "unexpected argument \"" + arg + "\"";
      return false;
    }
  }
  if (!line.play.empty() && (!line.recordTo.empty() || !line.language.empty())) {
    error = "--play plays a recording as it was made, in its own language, and records nothing";
    return false;
  }
  return true;
}

std::string UsageText(bool besideProgram) {
  return std::string(
             "Usage: vedo-zeza1 [OPTION]...\n"
             "Vedo Zeza1: find the five files in the zombie city and escape. Played with\n"
             "the mouse.\n") +
         (besideProgram
              ? "Double-click vedo-zeza1.exe in the game's folder, or use the Start menu's\n"
                "shortcuts. To give options, put them after the program's path in a\n"
                "shortcut's Target, or start it from a command prompt.\n"
                "\n"
                "  --data DIR        read the game's data from DIR (by default, the working\n"
                "                    folder, or the game's own folder when the working folder\n"
                "                    has no data)\n"
              : "\n"
                "  --data DIR        read the game's data from DIR (by default, the working\n"
                "                    folder; the vedo-zeza1 launcher gives the installed one)\n") +
         "  --window [SCALE]  play in a window of 640 x 480 times SCALE (1 to 16)\n"
         "                    instead of full screen; without SCALE, the largest that\n"
         "                    fits the desktop\n"
         "  --lang LANG       the game's language: ko, Korean (the default), or a\n"
         "                    language pack of the data folder's lang/ (en, English)\n"
         "  --record FILE     also write the recording of each game to FILE (the second\n"
         "                    to FILE-2, and so on); the last 20 games are kept anyway\n"
         "  --play FILE       play the recording FILE back; Escape stops it\n"
         "  --help            print this help and exit\n"
         "  --version         print the version and exit\n"
         "\n"
         "Keys: F1 the options (volumes, mute, window or full screen, scaling,\n"
         "language, sound in the background), M mute, F11 or Alt+Enter window or\n"
         "full screen, F12 a screenshot (in the pictures folder, Vedo Zeza1/),\n"
         "Escape quits. The options are kept for the next game (Linux:\n"
         "$XDG_CONFIG_HOME/vedo-zeza1/settings.ini; Windows: %APPDATA%\\Vedo\n"
         "Zeza1\\settings.ini); an option given here holds for this game only.\n";
}
