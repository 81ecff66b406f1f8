// Runs a built program as a child process, the way a player or a desktop
// would start it: in a folder of its own, with a changed environment, its
// stderr and stdout kept, optionally asked to quit with SIGTERM after a while, and
// killed if it runs past a time limit.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace child {

struct Options {
  std::vector<std::string> argv;  // argv[0] is the program, looked up on PATH
  std::filesystem::path workDir;
  // Changes to the test's own environment; a value of nullopt removes the
  // variable.
  std::vector<std::pair<std::string, std::optional<std::string>>> env;
  double terminateAfterSeconds = 0;  // 0: never sent
  // Asked every few milliseconds while the program runs; SIGTERM is sent
  // once it answers true.
  std::function<bool()> terminateWhen;
  double limitSeconds = 120;  // then SIGKILL
};

struct Result {
  bool started = false;
  int exitCode = -1;        // -1 when ended by a signal
  int signal = 0;           // the signal that ended it, or 0
  bool terminated = false;  // SIGTERM was sent while it still ran
  double seconds = 0;       // from the start to its end
  std::string said;         // everything written to stderr
  std::string printed;      // everything written to stdout
};

Result Run(const Options& options);

// What a run looked like, for failure messages.
std::string Describe(const Result& result);

}  // namespace child
