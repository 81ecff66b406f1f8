// The game's frame trace (VEDO_FRAME_TRACE) read back: its start, its
// presents and marks with their times, whether the process reached its end,
// and whether the times are on CLOCK_MONOTONIC (the header names the clock).
// The real-window tests and vedo-measure read it while the game runs.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace tracefile {

struct Trace {
  std::int64_t start = 0;
  std::int64_t init = 0;
  std::vector<std::int64_t> presents;
  std::vector<std::pair<std::int64_t, std::string>> marks;
  bool exited = false;
  bool monotonicClock = false;

  // The first mark called `name`, or `name` with details after a comma.
  std::int64_t Mark(const std::string& name) const {
    for (const auto& [ns, n] : marks) {
      if (n == name || n.rfind(name + ",", 0) == 0) return ns;
    }
    return 0;
  }
  int PresentsBetween(std::int64_t from, std::int64_t to) const {
    int n = 0;
    for (std::int64_t p : presents) n += p >= from && p <= to ? 1 : 0;
    return n;
  }
};

inline Trace ReadTrace(const std::filesystem::path& path) {
  Trace t;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("#", 0) == 0) {
      t.monotonicClock |= line.find("CLOCK_MONOTONIC") != std::string::npos;
      continue;
    }
    std::istringstream words(line);
    std::string kind;
    long long ns = 0;
    if (!(words >> kind >> ns)) continue;
    if (kind == "start") t.start = ns;
    if (kind == "init") t.init = ns;
    if (kind == "present") t.presents.push_back(ns);
    if (kind == "exit") t.exited = true;
    if (kind == "mark") {
      std::string name;
      words >> name;
      t.marks.emplace_back(ns, name);
    }
  }
  return t;
}

}  // namespace tracefile
