#include "common/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <sstream>
#include <thread>

extern char** environ;

namespace child {

using namespace std::chrono_literals;

Process::Process(const Spawn& spawn) {
  if (spawn.argv.empty()) return;
  // The child's environment: ours with the changes.
  std::map<std::string, std::string> vars;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    const std::size_t eq = entry.find('=');
    if (eq != std::string::npos) vars[entry.substr(0, eq)] = entry.substr(eq + 1);
  }
  for (const auto& [name, value] : spawn.env) {
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
  std::vector<std::string> args = spawn.argv;
  std::vector<char*> argv;
  for (std::string& s : args) argv.push_back(s.data());
  argv.push_back(nullptr);

  const std::string out = spawn.out.empty() ? "/dev/null" : spawn.out.string();
  const std::string err = spawn.err.string();
  const std::string dir = spawn.workDir.string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  // The files first, so that relative names are ours, then the folder.
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (err.empty()) {
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
  }
  if (spawn.passFd >= 0 && spawn.passFd != 3) {
    posix_spawn_file_actions_adddup2(&actions, spawn.passFd, 3);
  }
  posix_spawn_file_actions_addclosefrom_np(&actions, spawn.passFd >= 0 ? 4 : 3);
  if (!dir.empty()) posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) pid_ = pid;
  posix_spawn_file_actions_destroy(&actions);
}

Process& Process::operator=(Process&& other) noexcept {
  std::swap(pid_, other.pid_);
  std::swap(status_, other.status_);
  return *this;
}

bool Process::Running() {
  if (pid_ <= 0 || status_ >= 0) return false;
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) == pid_) {
    status_ = status;
    return false;
  }
  return true;
}

int Process::Wait(std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (Running() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(5ms);
  return Running() ? -1 : ExitCode();
}

void Process::Signal(int signal) {
  if (Running()) kill(pid_, signal);
}

int Process::ExitCode() const {
  return status_ >= 0 && WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
}

int Process::EndingSignal() const {
  return status_ >= 0 && WIFSIGNALED(status_) ? WTERMSIG(status_) : 0;
}

std::string Process::HowItEnded() const {
  if (status_ < 0) return pid_ > 0 ? "still running" : "not started";
  if (WIFEXITED(status_)) return "exit code " + std::to_string(WEXITSTATUS(status_));
  if (WIFSIGNALED(status_)) return "signal " + std::to_string(WTERMSIG(status_));
  return "status " + std::to_string(status_);
}

void Process::Stop() {
  if (!Running()) return;
  kill(pid_, SIGTERM);
  if (Wait(3000ms) == -1 && Running()) {
    kill(pid_, SIGKILL);
    Wait(3000ms);
  }
}

Result Run(const Options& options) {
  Result result;
  char errPath[] = "/tmp/vedo-child-stderr-XXXXXX";
  char outPath[] = "/tmp/vedo-child-stdout-XXXXXX";
  const int errFd = mkstemp(errPath);
  const int outFd = mkstemp(outPath);
  if (errFd >= 0) close(errFd);
  if (outFd >= 0) close(outFd);
  if (errFd < 0 || outFd < 0) {
    if (errFd >= 0) unlink(errPath);
    if (outFd >= 0) unlink(outPath);
    return result;
  }
  const auto start = std::chrono::steady_clock::now();
  Process p({.argv = options.argv,
             .env = options.env,
             .workDir = options.workDir,
             .out = outPath,
             .err = errPath});
  result.started = p.Started();
  bool killed = false;
  while (p.Running()) {
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const bool timeUp =
        options.terminateAfterSeconds > 0 && elapsed >= options.terminateAfterSeconds;
    if (!result.terminated && (timeUp || (options.terminateWhen && options.terminateWhen()))) {
      p.Signal(SIGTERM);
      result.terminated = true;
    }
    if (!killed && elapsed >= options.limitSeconds) {
      p.Signal(SIGKILL);
      killed = true;
    }
    std::this_thread::sleep_for(5ms);
  }
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  result.exitCode = p.ExitCode();
  result.signal = p.EndingSignal();

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
