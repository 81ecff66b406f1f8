// Child processes, for the tests and the tools that drive the built programs
// from outside: started in a folder of their own with a changed environment
// and their output in files, waited for with a time limit, and ended by
// their own process id (SIGTERM, then SIGKILL).
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace child {

// Changes to the environment the child inherits, applied in order: a value
// sets the variable, nullopt removes it.
using EnvChanges = std::vector<std::pair<std::string, std::optional<std::string>>>;

// Each member has an initializer, so that a designated initializer may
// leave out any of them.
struct Spawn {
  std::vector<std::string> argv{};  // argv[0] is the program, looked up on PATH
  EnvChanges env{};
  std::filesystem::path workDir{};  // empty: ours
  std::filesystem::path out{};      // stdout, made empty first; empty: /dev/null
  std::filesystem::path err{};      // stderr; empty: wherever stdout goes
  // An open descriptor handed on as the child's descriptor 3; every other
  // descriptor above stderr is closed in the child.
  int passFd = -1;
};

// A started program; stopped when dropped.
class Process {
 public:
  Process() = default;
  explicit Process(const Spawn& spawn);
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  Process(Process&& other) noexcept { *this = std::move(other); }
  Process& operator=(Process&& other) noexcept;
  ~Process() { Stop(); }

  bool Started() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }
  bool Running();
  // Waits for the end, `limit` at most; the exit code, or -1 when it was
  // ended by a signal or still runs.
  int Wait(std::chrono::milliseconds limit);
  void Signal(int signal);
  // The exit code once it has ended normally, else -1; the signal that ended
  // it, else 0.
  int ExitCode() const;
  int EndingSignal() const;
  // "exit code N", "signal N" or "still running".
  std::string HowItEnded() const;
  // SIGTERM, then SIGKILL if it has not ended within 3 s.
  void Stop();

 private:
  pid_t pid_ = -1;
  int status_ = -1;  // waitpid's status once it has ended
};

// A program run to its end, as a player or a desktop would start it: stdin
// on /dev/null, stdout and stderr kept, optionally asked to quit with
// SIGTERM, and killed if it runs past a time limit.
struct Options {
  std::vector<std::string> argv;
  std::filesystem::path workDir;
  EnvChanges env;
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
