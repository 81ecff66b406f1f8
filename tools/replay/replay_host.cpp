#include "replay/replay_host.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/player_settings.h"
#include "app/program.h"
#include "common/png_io.h"
#include "lang/language.h"
#include "platform/headless/headless.h"
#include "state/game_state.h"

namespace replay {

using platform::EventType;

ReplayHost::ReplayHost(std::vector<Command> commands) : commands_(std::move(commands)) {
  // Showing the window activates it, as on a desktop.
  queue_.push_back({.type = EventType::kActivate, .active = true});
}

void ReplayHost::Stop(int code, const std::string& message) {
  if (stopping_) return;
  stopping_ = true;
  exitCode_ = code;
  message_ = message;
  framesLeft_ = 0;
  queue_.clear();
  queue_.push_back({.type = EventType::kWindowClosed});
}

bool ReplayHost::NextEvent(platform::Event& event, bool waiting) {
  started_ = true;
  if (queue_.empty() && framesLeft_ == 0 && !stopping_) Advance();
  if (!queue_.empty()) {
    event = queue_.front();
    queue_.pop_front();
    return true;
  }
  if (waiting && framesLeft_ > 0) {
    // While the game waits for the focus, a pass's worth of time goes by
    // with no pass run, so that `frames` also ends when the window is
    // inactive.
    --framesLeft_;
    clock_.Tick();
  }
  return false;
}

void ReplayHost::OnPass() {
  ++passes_;
  clock_.Tick();
  if (framesLeft_ > 0) --framesLeft_;
}

std::int64_t ReplayHost::Now() { return clock_.Now(); }

void ReplayHost::Advance() {
  while (next_ < commands_.size() && queue_.empty() && framesLeft_ == 0 && !stopping_) {
    const Command& c = commands_[next_++];
    switch (c.op) {
      case Op::kTime:
        clock_.Set(c.a);
        break;
      case Op::kMove:
        queue_.push_back({.type = EventType::kMouseMove,
                          .x = static_cast<int>(c.a),
                          .y = static_cast<int>(c.b)});
        break;
      case Op::kDown:
        queue_.push_back({.type = EventType::kLeftDown});
        break;
      case Op::kUp:
        queue_.push_back({.type = EventType::kLeftUp});
        break;
      case Op::kKey: {
        using platform::Key;
        static const std::pair<const char*, Key> kKeys[] = {
            {"escape", Key::kEscape}, {"f1", Key::kF1},   {"m", Key::kM},
            {"f11", Key::kF11},       {"f12", Key::kF12}, {"alt+enter", Key::kAltEnter}};
        Key key = Key::kOther;
        for (const auto& [name, k] : kKeys) {
          if (c.name == name) key = k;
        }
        queue_.push_back({.type = EventType::kKeyDown, .key = key});
        break;
      }
      case Op::kFocus:
        queue_.push_back({.type = EventType::kActivate, .active = c.a != 0});
        break;
      case Op::kFrames:
        framesLeft_ = c.a;
        break;
      case Op::kLoseDisplay:
        platform::VideoMarkLost();
        break;
      case Op::kSet:
        *c.target = static_cast<int>(c.a);
        break;
      case Op::kExpect: {
        std::ostringstream m;
        m << "line " << c.line << ": ";
        if (*c.target != c.a) {
          m << "expected " << c.name << " = " << c.a << ", found " << *c.target;
        } else if (const std::string broken = CheckStateInvariants(); !broken.empty()) {
          m << "the game state is broken: " << broken;
        } else {
          break;
        }
        m << " after pass " << passes_;
        Stop(1, m.str());
        break;
      }
      case Op::kDump:
        if (!WriteDump(c.name))
          Stop(2, "line " + std::to_string(c.line) + ": cannot write " + c.name);
        break;
      case Op::kShot:
        if (!WriteShot(c.name)) {
          Stop(2, "line " + std::to_string(c.line) + ": cannot write a frame to " + c.name);
        }
        break;
    }
  }
  if (next_ >= commands_.size() && queue_.empty() && framesLeft_ == 0) Stop(exitCode_, message_);
}

bool ReplayHost::WriteDump(const std::string& path) {
  // Binary: the same bytes on every platform (no CR before each newline).
  std::ofstream out(path, std::ios::binary);
  if (!out) return false;
  out << "{\n  \"pass\": " << passes_;
  int count = 0;
  const StateInt* ints = StateInts(&count);
  for (int i = 0; i < count; ++i) out << ",\n  \"" << ints[i].name << "\": " << *ints[i].value;
  auto layer = [&out](const char* name, int(&cells)[kFieldRows][kFieldCols]) {
    out << ",\n  \"" << name << "\": [";
    for (int r = 0; r < kFieldRows; ++r) {
      out << (r ? ",\n    [" : "\n    [");
      for (int c = 0; c < kFieldCols; ++c) out << (c ? ", " : "") << cells[r][c];
      out << "]";
    }
    out << "\n  ]";
  };
  layer("gObjectLayer", gObjectLayer);
  layer("gCountLayer", gCountLayer);
  out << "\n}\n";
  return static_cast<bool>(out);
}

bool ReplayHost::WriteShot(const std::string& path) {
  const platform::Surface* frame = platform::HeadlessShownFrame();
  if (frame == nullptr) return false;
  return pngio::WritePng(
      path, pngio::FromBgr(frame->Pixels(), frame->Width(), frame->Height(), frame->Pitch()));
}

int RunReplay(const std::string& scriptText, const std::string& dataDir,
              const std::string& language) {
  std::vector<Command> commands;
  std::string error;
  if (!ParseScript(scriptText, commands, &error)) {
    std::fprintf(stderr, "vedo-replay: %s\n", error.c_str());
    return 2;
  }
  // Dumps and shots are written where the tool was started, not in the
  // data folder the game runs in.
  std::error_code ec;
  const std::filesystem::path startDir = std::filesystem::current_path(ec);
  for (Command& c : commands) {
    if ((c.op == Op::kDump || c.op == Op::kShot) && !ec &&
        std::filesystem::path(c.name).is_relative()) {
      c.name = (startDir / c.name).string();
    }
  }
  if (!dataDir.empty() && chdir(dataDir.c_str()) != 0) {
    std::fprintf(stderr, "vedo-replay: cannot enter the data folder %s\n", dataDir.c_str());
    return 2;
  }
  ReplayHost host(std::move(commands));
  platform::UseHeadlessBackend(&host);
  const std::string previousLanguage = gLanguage;
  // The game as a player starts it with nothing kept (the headless backend
  // keeps nothing), in the language asked for.
  RunChoices run;
  if (!language.empty()) run.language = language;
  StartWithPlayerSettings(run);
  const int gameCode = WinMain();
  gLanguage = previousLanguage;
  if (!host.Started() || (gameCode != 0 && host.ExitCode() == 0)) {
    std::fprintf(stderr, "vedo-replay: the game could not start (exit code %d); see above\n",
                 gameCode);
    return 2;
  }
  if (!host.Message().empty()) std::fprintf(stderr, "vedo-replay: %s\n", host.Message().c_str());
  return host.ExitCode();
}

}  // namespace replay
