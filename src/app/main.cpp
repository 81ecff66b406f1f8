// vedo-zeza1: the game. It reads its data from the working folder, or from
// the folder given with --data; where the platform has players start it
// from anywhere (Windows), from its own folder when the working folder has
// no map.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/debug_settings.h"
#include "app/options.h"
#include "app/player_settings.h"
#include "app/program.h"
#include "lang/language.h"
#include "platform/platform.h"
#include "state/data_contract.h"

namespace {

namespace fs = std::filesystem;

// The command line and the folders are UTF-8 on every platform; the paths
// take them as such (a plain string would be read in Windows' ANSI code
// page, which has no Hangul on most machines).
fs::path PathFromUtf8(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8FromPath(const fs::path& path) {
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
}

int BadCommandLine(const std::string& why) {
  platform::TellPlayer(("vedo-zeza1: " + why + "\n" + UsageText()).c_str(), true);
  return 2;
}

// Follows the loader's own message when a file the game cannot start
// without is not there: a player who started the game from the wrong folder
// learns where it looked and how to point it at the data.
void HintAtTheDataFolder(const char* file) {
  std::error_code ec;
  const fs::path folder = fs::current_path(ec);
  // Where the game looks beside itself, its files belong together there.
  const char* advice =
      platform::ProgramFolder().empty()
          ? "give the data folder with --data DIR, or start the installed game with its "
            "vedo-zeza1 command, which finds its data."
          : "keep the game's data files beside it (unpack or install the whole folder), or give "
            "the data folder with --data DIR.";
  const std::string text = std::string("Vedo Zeza1: ") + file + " is not in " +
                           (ec ? std::string("the working folder") : Utf8FromPath(folder)) + "; " +
                           advice + "\n";
  platform::TellPlayer(text.c_str(), true);
}

}  // namespace

int main(int argc, char** argv) {
  CommandLine line;
  std::string why;
  if (!ParseCommandLine(argc, argv, line, why)) return BadCommandLine(why);
  if (line.help) {
    platform::TellPlayer(UsageText(), false);
    return 0;
  }
  if (line.version) {
    platform::TellPlayer("vedo-zeza1 " VEDO_VERSION "\n", false);
    return 0;
  }
  std::error_code ec;
  if (!line.dataDir.empty()) {
    fs::current_path(PathFromUtf8(line.dataDir), ec);
    if (ec) {
      return BadCommandLine("cannot use " + line.dataDir + " as the data folder: " + ec.message());
    }
  } else if (!fs::exists(kMapFileName, ec) && !platform::ProgramFolder().empty()) {
    // Started from elsewhere (Explorer, the Start menu, a prompt in another
    // folder): the data sits beside the program. Should it be missing there
    // too, the hint names that folder.
    fs::current_path(PathFromUtf8(platform::ProgramFolder()), ec);
  }
  // The command line's choices hold for this run, over the kept settings.
  RunChoices run;
  if (line.windowed) {
    run.fullScreen = false;
    run.windowScale = line.scale;
  }
  if (!line.language.empty()) run.language = line.language;
  StartWithPlayerSettings(run);
  // A diagnostic for measurements only: it does nothing unless set.
  ApplyDebugSettings(std::getenv("VEDO_DEBUG_SET"));
  const int exitCode = WinMain();
  if (gMissingDataFile != nullptr) HintAtTheDataFolder(gMissingDataFile);
  return exitCode;
}
