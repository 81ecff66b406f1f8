// Runs a replay script against the real game on the headless backend.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/replay_clock.h"
#include "replay/script.h"

namespace replay {

class ReplayHost final : public platform::HeadlessHost {
 public:
  explicit ReplayHost(std::vector<Command> commands);

  bool NextEvent(platform::Event& event, bool waiting) override;
  void OnPass() override;
  std::int64_t Now() override;

  // 0 when the script ran to its end, 1 after a failed expect, 2 after a
  // command could not be carried out (its message is in Message()).
  int ExitCode() const { return exitCode_; }
  const std::string& Message() const { return message_; }
  std::uint64_t Passes() const { return passes_; }
  bool Started() const { return started_; }

 private:
  // Carries out commands until one queues input or asks for passes, or the
  // script ends.
  void Advance();
  void Stop(int code, const std::string& message);

  std::vector<Command> commands_;
  std::size_t next_ = 0;
  std::deque<platform::Event> queue_;
  std::int64_t framesLeft_ = 0;
  std::uint64_t passes_ = 0;
  platform::ReplayClock clock_;
  bool started_ = false;
  bool stopping_ = false;
  int exitCode_ = 0;
  std::string message_;
};

// The game state as JSON, after `passes` passes, and the last frame shown
// as PNG; false when it cannot be written.
bool WriteStateDump(const std::string& path, std::uint64_t passes);
bool WriteLastFrame(const std::string& path);

// Plays each recording headless, as fast as the machine goes (drawing
// nothing unless a shot is asked for), and tells how each ended on stderr. `dumps`, unless empty,
// is a folder for the state at every checkpoint and at the end (NAME-PASSES.json); `shot`, unless
// empty, takes the last frame of the last recording. 0 when each played to its end as recorded, 1
// otherwise (a refused file, another data kit, a game that went its own way), 2 when the game could
// not start.
int RunPlaybacks(const std::vector<std::string>& files, const std::string& dataDir,
                 const std::string& dumps, const std::string& shot);

// Runs the game with the script; `dataDir` is where the game's files are,
// `language` the language the game is asked to speak (as --lang; empty for
// Korean). Returns the tool's exit code and prints any message on stderr.
int RunReplay(const std::string& scriptText, const std::string& dataDir,
              const std::string& language = "");

}  // namespace replay
