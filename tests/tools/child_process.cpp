#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

extern char** environ;

namespace child {

Result Run(const Options& options) {
  Result result;
  // The child's environment, made before it starts: ours with the changes.
  std::map<std::string, std::string> vars;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    const std::size_t eq = entry.find('=');
    if (eq != std::string::npos) vars[entry.substr(0, eq)] = entry.substr(eq + 1);
  }
  for (const auto& [name, value] : options.env) {
    if (value) {
      vars[name] = *value;
    } else {
      vars.erase(name);
    }
  }
  std::vector<std::string> envText;
  for (const auto& [name, value] : vars) envText.push_back(name + "=" + value);
  std::vector<char*> envp;
  for (std::string& s : envText) envp.push_back(s.data());
  envp.push_back(nullptr);
  std::vector<std::string> args = options.argv;
  std::vector<char*> argv;
  for (std::string& s : args) argv.push_back(s.data());
  argv.push_back(nullptr);

  char errPath[] = "/tmp/vedo-child-stderr-XXXXXX";
  char outPath[] = "/tmp/vedo-child-stdout-XXXXXX";
  const int errFd = mkstemp(errPath);
  const int outFd = mkstemp(outPath);
  if (errFd < 0 || outFd < 0 || argv.size() < 2) return result;

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, errFd, STDERR_FILENO);
  if (!options.workDir.empty()) {
    posix_spawn_file_actions_addchdir_np(&actions, options.workDir.c_str());
  }
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(errFd);
  close(outFd);
  if (spawned != 0) {
    unlink(errPath);
    unlink(outPath);
    return result;
  }
  result.started = true;

  int status = 0;
  bool killed = false;
  for (;;) {
    const pid_t done = waitpid(pid, &status, WNOHANG);
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (done == pid) {
      result.seconds = elapsed;
      break;
    }
    const bool timeUp =
        options.terminateAfterSeconds > 0 && elapsed >= options.terminateAfterSeconds;
    if (!result.terminated && (timeUp || (options.terminateWhen && options.terminateWhen()))) {
      kill(pid, SIGTERM);
      result.terminated = true;
    }
    if (!killed && elapsed >= options.limitSeconds) {
      kill(pid, SIGKILL);
      killed = true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);

  auto take = [](const char* path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    unlink(path);
    return text.str();
  };
  result.said = take(errPath);
  result.printed = take(outPath);
  return result;
}

std::string Describe(const Result& result) {
  std::ostringstream d;
  if (!result.started) return "the program did not start";
  d << "exit code " << result.exitCode;
  if (result.signal != 0) d << ", ended by signal " << result.signal;
  if (result.terminated) d << ", SIGTERM sent";
  d << ", ran " << result.seconds << " s, stderr:\n" << result.said;
  return d.str();
}

}  // namespace child
