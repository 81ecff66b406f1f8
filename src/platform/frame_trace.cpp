// The frame trace: a diagnostic record of when frames reach the screen.
//
// Off unless the environment variable VEDO_FRAME_TRACE names a file when the
// program starts. Then one text line per entry is appended to that file as
// it happens, each with a CLOCK_MONOTONIC time in nanoseconds:
//
//   start NS     the process's start (the kernel's record, 10 ms steps)
//   init NS      the first of the program's own code (before main)
//   present NS   a frame was handed to the screen
//   mark NS NAME a named point: the game's own (TraceMark) and the
//                platform's shut-down steps
//   exit NS      the process ends normally
//
// Lines are written whole with one write(2) each and nothing is buffered,
// so a reader may follow the file while the program runs, and a crash loses
// nothing. When the trace is off each hook costs one test of a flag.
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "platform/backend.h"
#include "platform/platform.h"

namespace platform {
namespace {

// Read by every hook, from any thread (the soundfont loader marks its end);
// written only when the trace starts or stops.
std::atomic<int> gTraceFd{-1};

std::int64_t Nanoseconds(clockid_t clock) {
  timespec ts{};
  clock_gettime(clock, &ts);
  return std::int64_t{ts.tv_sec} * 1000000000 + ts.tv_nsec;
}

void WriteLine(const char* kind, std::int64_t ns, const char* name) {
  const int fd = gTraceFd.load(std::memory_order_relaxed);
  if (fd < 0) return;
  char line[160];
  const int n = name != nullptr ? std::snprintf(line, sizeof line, "%s %lld %.100s\n", kind,
                                                static_cast<long long>(ns), name)
                                : std::snprintf(line, sizeof line, "%s %lld\n", kind,
                                                static_cast<long long>(ns));
  if (n > 0) {
    const ssize_t written = write(fd, line, static_cast<std::size_t>(n));
    (void)written;  // a trace that cannot be written is simply incomplete
  }
}

// The process's start on the monotonic clock. The kernel keeps it in clock
// ticks since boot; the boot-time and monotonic clocks differ only by the
// time spent suspended, which is read off both clocks now.
std::int64_t ProcessStart() {
  std::FILE* f = std::fopen("/proc/self/stat", "r");
  if (f == nullptr) return 0;
  char text[1024] = {};
  const std::size_t got = std::fread(text, 1, sizeof text - 1, f);
  std::fclose(f);
  text[got] = '\0';
  // Field 22 (starttime); the command name in field 2 may hold blanks, so
  // counting starts after its closing parenthesis (field 3 onwards).
  const char* p = std::strrchr(text, ')');
  if (p == nullptr) return 0;
  ++p;
  for (int field = 3; field <= 22; ++field) {
    while (*p == ' ') ++p;
    if (field == 22) break;
    while (*p != ' ' && *p != '\0') ++p;
  }
  const long long ticks = std::strtoll(p, nullptr, 10);
  const long hz = sysconf(_SC_CLK_TCK);
  if (ticks <= 0 || hz <= 0) return 0;
  const std::int64_t startBoot = ticks * (1000000000 / hz);
  const std::int64_t bootNow = Nanoseconds(CLOCK_BOOTTIME);
  const std::int64_t monoNow = Nanoseconds(CLOCK_MONOTONIC);
  return monoNow - (bootNow - startBoot);
}

void TraceExit() { WriteLine("exit", Nanoseconds(CLOCK_MONOTONIC), nullptr); }

// Started before main, so that `init` is as early as our code can see.
struct TraceFromEnvironment {
  TraceFromEnvironment() {
    const char* path = std::getenv("VEDO_FRAME_TRACE");
    if (path == nullptr || path[0] == '\0') return;
    const std::int64_t init = Nanoseconds(CLOCK_MONOTONIC);
    if (!StartFrameTrace(path)) return;
    WriteLine("start", ProcessStart(), nullptr);
    WriteLine("init", init, nullptr);
    std::atexit(TraceExit);
  }
};
const TraceFromEnvironment gTraceFromEnvironment;

}  // namespace

bool StartFrameTrace(const char* path) {
  StopFrameTrace();
  const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) {
    std::fprintf(stderr, "Vedo Zeza1: cannot write the frame trace %s\n", path);
    return false;
  }
  static const char kHeader[] = "# vedo-zeza1 frame trace; times in CLOCK_MONOTONIC ns\n";
  const ssize_t written = write(fd, kHeader, sizeof kHeader - 1);
  (void)written;
  gTraceFd.store(fd);
  return true;
}

void StopFrameTrace() {
  const int fd = gTraceFd.exchange(-1);
  if (fd >= 0) close(fd);
}

bool FrameTraceOn() { return gTraceFd.load(std::memory_order_relaxed) >= 0; }

void TraceMark(const char* name) {
  if (!FrameTraceOn()) return;
  WriteLine("mark", Nanoseconds(CLOCK_MONOTONIC), name);
}

void TracePresent() {
  if (!FrameTraceOn()) return;
  WriteLine("present", Nanoseconds(CLOCK_MONOTONIC), nullptr);
}

}  // namespace platform
