// vedo-replay [--data DIR] [--lang LANG] [--soundfont FILE] SCRIPT: plays a
// scripted game headless, as fast as the machine allows, without music, in
// the language --lang names (as the game's own option). --soundfont plays the
// music through the platform's own synthesizer with the instruments of FILE
// (a missing FILE plays the game as on a machine without one). Exit codes: 0
// the script ended, 1 an expect failed, 2 a script or data error.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "lang/language.h"
#include "platform/headless/headless.h"
#include "platform/sound/audio.h"
#include "replay/replay_host.h"
#include "replay/script.h"

int main(int argc, char** argv) {
  std::string dataDir;
  std::string language;
  std::string scriptPath;
  const char* usage = "usage: vedo-replay [--data DIR] [--lang LANG] [--soundfont FILE] SCRIPT\n";
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--data") == 0 && i + 1 < argc) {
      dataDir = argv[++i];
    } else if (std::strcmp(argv[i], "--lang") == 0 && i + 1 < argc &&
               LanguageNameValid(argv[i + 1])) {
      language = argv[++i];
    } else if (std::strcmp(argv[i], "--soundfont") == 0 && i + 1 < argc) {
      // Made absolute now: the game reads it from inside the data folder.
      std::error_code ec;
      const std::filesystem::path file = std::filesystem::absolute(argv[++i], ec);
      platform::SetSoundfontPath(ec ? std::string(argv[i]) : file.string());
      platform::HeadlessUseNativeMusic(true);
    } else if (scriptPath.empty() && argv[i][0] != '-') {
      scriptPath = argv[i];
    } else {
      std::fputs(usage, stderr);
      return 2;
    }
  }
  if (scriptPath.empty()) {
    std::fputs(usage, stderr);
    return 2;
  }
  std::ifstream in(scriptPath, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "vedo-replay: cannot read %s\n", scriptPath.c_str());
    return 2;
  }
  std::string text(replay::kMaxScriptBytes + 1, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  if (text.size() > replay::kMaxScriptBytes) {
    std::fprintf(stderr, "vedo-replay: %s is longer than %zu bytes\n", scriptPath.c_str(),
                 replay::kMaxScriptBytes);
    return 2;
  }
  return replay::RunReplay(text, dataDir, language);
}
