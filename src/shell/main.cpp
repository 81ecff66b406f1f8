// vedo-zeza1: the game. It reads its data from the working folder, or from
// the folder given with --data.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/platform.h"
#include "shell/debug_settings.h"
#include "shell/language.h"
#include "shell/options.h"
#include "shell/program.h"

namespace {

int BadCommandLine(const std::string& why) {
  std::fprintf(stderr, "vedo-zeza1: %s\n%s", why.c_str(), UsageText());
  return 2;
}

// Follows the loader's own message when a file the game cannot start
// without is not there: a player who started the game from the wrong folder
// learns where it looked and how to point it at the data.
void HintAtTheDataFolder(const char* file) {
  std::error_code ec;
  const std::string folder = std::filesystem::current_path(ec).string();
  std::fprintf(stderr,
               "Vedo Zeza1: %s is not in %s; give the data folder with --data DIR, or start "
               "the installed game with its vedo-zeza1 command, which finds its data.\n",
               file, ec ? "the working folder" : folder.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  CommandLine line;
  std::string why;
  if (!ParseCommandLine(argc, argv, line, why)) return BadCommandLine(why);
  if (line.help) {
    std::fputs(UsageText(), stdout);
    return 0;
  }
  if (line.version) {
    std::printf("vedo-zeza1 %s\n", VEDO_VERSION);
    return 0;
  }
  if (!line.dataDir.empty()) {
    std::error_code ec;
    std::filesystem::current_path(line.dataDir, ec);
    if (ec) {
      return BadCommandLine("cannot use " + line.dataDir + " as the data folder: " + ec.message());
    }
  }
  platform::SetWindowOptions({line.windowed, line.scale});
  gLanguage = line.language;
  // A diagnostic for measurements only: it does nothing unless set.
  ApplyDebugSettings(std::getenv("VEDO_DEBUG_SET"));
  const int exitCode = WinMain();
  if (gMissingDataFile != nullptr) HintAtTheDataFolder(gMissingDataFile);
  return exitCode;
}
