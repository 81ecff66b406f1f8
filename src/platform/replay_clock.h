// The calendar clock of a replayed run: a set second, then one second for
// every 60 passes, so that a run reads the same times however fast it goes.
// The replay tool's host, the soak tool's and the browser page's step mode
// keep one each.
#pragma once

#include <cstdint>

namespace platform {

struct ReplayClock {
  std::int64_t base = 1000000000;  // the second last set
  std::uint64_t passes = 0;        // passes since then
  // The clock reads `seconds` from here on.
  void Set(std::int64_t seconds) { *this = {seconds, 0}; }
  // A pass's worth of time has gone by: a pass ran (whether a test granted
  // it or not), or the replay tool let one go by while the game waited.
  void Tick() { ++passes; }
  std::int64_t Now() const { return base + static_cast<std::int64_t>(passes / 60); }
};

}  // namespace platform
