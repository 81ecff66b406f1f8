// Replay scripts: one command a line, blank lines and # comments skipped.
//
//   time T          the game's clock reads T seconds (then +1 s per 60 passes)
//   move X Y        pointer moved to (X, Y)
//   down | up       left button pressed | released
//   key NAME        a key pressed: escape quits the game; f1 (the options
//                   panel), m (mute), f11 or alt+enter (window or full
//                   screen) and f12 (a screenshot) are the program's; any
//                   other name is a key the game ignores
//   focus off|on    the window loses | gains the focus
//   frames N        run until N more scene passes have run
//   lose-display    the next copy or flip reports a lost display
//   set NAME V      set a game-state value before the next pass
//   expect NAME V   stop with exit code 1 unless the value is V and the
//                   whole state keeps its invariants (CheckStateInvariants)
//   dump PATH       write the game state as JSON
//   shot PATH       write the last shown frame as PNG
//
// NAME is a global's exact name, or gObjectLayer[r][c] or gCountLayer[r][c].
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace replay {

enum class Op {
  kTime,
  kMove,
  kDown,
  kUp,
  kKey,
  kFocus,
  kFrames,
  kLoseDisplay,
  kSet,
  kExpect,
  kDump,
  kShot
};

struct Command {
  Op op = Op::kFrames;
  int line = 0;
  std::int64_t a = 0;     // time, x, frame count, value, focus (1 on / 0 off)
  std::int64_t b = 0;     // y
  std::string name;       // state name, key name or path
  int* target = nullptr;  // the game-state value that set/expect name
};

// The longest script the tests play is a few kilobytes; a command costs
// about 80 bytes held, so a larger text is refused before it is parsed.
inline constexpr std::size_t kMaxScriptBytes = 1u << 20;

// Parses a whole script. On the first bad line returns false with a message
// naming the line.
bool ParseScript(const std::string& text, std::vector<Command>& commands, std::string* error);

// The game-state value a NAME denotes, or null.
int* ResolveStateName(const std::string& name);

}  // namespace replay
