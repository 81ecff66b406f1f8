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

// Where the platform keeps the game's data beside it (Windows), players start
// it by double-clicking it, and the usage and the advice say so.
bool BesideProgram() { return !platform::ProgramFolder().empty(); }

int BadCommandLine(const std::string& why) {
  platform::TellPlayer(("vedo-zeza1: " + why + "\n" + UsageText(BesideProgram())).c_str(), true);
  return 2;
}

// Follows the game's own messages when it could not start: a player who
// started it from the wrong folder, or whose data is damaged, learns in
// Korean and in English which file, where it looked, and what to do.
void ExplainTheFailedStart() {
  std::error_code ec;
  const fs::path folder = fs::current_path(ec);
  const std::string text = ExplainStartFailure(
      gStartFailure, ec ? "the working folder" : Utf8FromPath(folder), BesideProgram());
  if (!text.empty()) platform::TellPlayer(text.c_str(), true);
}

}  // namespace

int main(int argc, char** argv) {
  CommandLine line;
  std::string why;
  if (!ParseCommandLine(argc, argv, line, why)) return BadCommandLine(why);
  if (line.help) {
    platform::TellPlayer(UsageText(BesideProgram()).c_str(), false);
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
  } else if (!fs::exists(kMapFileName, ec) && BesideProgram()) {
    // Started from elsewhere (Explorer, the Start menu, a prompt in another
    // folder): the data sits beside the program. Should it be missing there
    // too, the hint names that folder.
    fs::current_path(PathFromUtf8(platform::ProgramFolder()), ec);
  }
  // A second double-click brings the game already running to the front.
  if (platform::HandOverToRunningGame()) return 0;
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
  ExplainTheFailedStart();
  return exitCode;
}
