// The frame trace: a diagnostic record of when frames reach the screen.
//
// Off unless the environment variable VEDO_FRAME_TRACE names a file when the
// program starts. Then one text line per entry is appended to that file as
// it happens, each with a time in nanoseconds on the platform's monotonic
// clock (MonotonicNs):
//
//   start NS     the process's start, as the system recorded it
//   init NS      the first of the program's own code (before main)
//   present NS   a frame was handed to the screen
//   mark NS NAME a named point: the game's own (TraceMark) and the
//                platform's shut-down steps
//   exit NS      the process ends normally
//
// Lines are written whole with one write each and nothing is buffered, so a
// reader may follow the file while the program runs, and a crash loses
// nothing. When the trace is off each hook costs one test of a flag. Each
// platform supplies the clock, the process's start and the file
// (port.h); the lines and when they are written are the same everywhere.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/platform.h"
#include "platform/port.h"

namespace platform {
namespace {

// Read by every hook, from any thread (the soundfont loader marks its end);
// written only when the trace starts or stops.
std::atomic<std::intptr_t> gTraceFile{kNoTraceFile};

void WriteLine(const char* kind, std::int64_t ns, const char* name) {
  const std::intptr_t file = gTraceFile.load(std::memory_order_relaxed);
  if (file == kNoTraceFile) return;
  char line[160];
  const int n = name != nullptr ? std::snprintf(line, sizeof line, "%s %lld %.100s\n", kind,
                                                static_cast<long long>(ns), name)
                                : std::snprintf(line, sizeof line, "%s %lld\n", kind,
                                                static_cast<long long>(ns));
  // A trace that cannot be written is simply incomplete.
  if (n > 0) AppendTraceFile(file, line, static_cast<std::size_t>(n));
}

void TraceExit() { WriteLine("exit", MonotonicNs(), nullptr); }

// Started before main, so that `init` is as early as our code can see.
struct TraceFromEnvironment {
  TraceFromEnvironment() {
    const char* path = std::getenv("VEDO_FRAME_TRACE");
    if (path == nullptr || path[0] == '\0') return;
    const std::int64_t init = MonotonicNs();
    if (!StartFrameTrace(path)) return;
    WriteLine("start", ProcessStartNs(), nullptr);
    WriteLine("init", init, nullptr);
    std::atexit(TraceExit);
  }
};
const TraceFromEnvironment gTraceFromEnvironment;

}  // namespace

bool StartFrameTrace(const char* path) {
  StopFrameTrace();
  const std::intptr_t file = OpenTraceFile(path);
  if (file == kNoTraceFile) {
    std::fprintf(stderr, "Vedo Zeza1: cannot write the frame trace %s\n", path);
    return false;
  }
  const std::string header =
      std::string("# vedo-zeza1 frame trace; times in ") + MonotonicClockName() + " ns\n";
  AppendTraceFile(file, header.data(), header.size());
  gTraceFile.store(file);
  return true;
}

void StopFrameTrace() {
  const std::intptr_t file = gTraceFile.exchange(kNoTraceFile);
  if (file != kNoTraceFile) CloseTraceFile(file);
}

bool FrameTraceOn() { return gTraceFile.load(std::memory_order_relaxed) != kNoTraceFile; }

void TraceMark(const char* name) {
  if (!FrameTraceOn()) return;
  WriteLine("mark", MonotonicNs(), name);
}

void TracePresent() {
  if (!FrameTraceOn()) return;
  WriteLine("present", MonotonicNs(), nullptr);
}

}  // namespace platform
