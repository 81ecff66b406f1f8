// The clock and the frame trace's file on Linux and in the browser (POSIX):
// CLOCK_MONOTONIC, the process's start from /proc, and a file written with
// one write(2) a line.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/port.h"

namespace platform {
namespace {

std::int64_t Nanoseconds(clockid_t clock) {
  timespec ts{};
  clock_gettime(clock, &ts);
  return std::int64_t{ts.tv_sec} * 1000000000 + ts.tv_nsec;
}

}  // namespace

std::int64_t MonotonicNs() { return Nanoseconds(CLOCK_MONOTONIC); }

const char* MonotonicClockName() { return "CLOCK_MONOTONIC"; }

// The kernel keeps the start in clock ticks since boot (10 ms steps); the
// boot-time and monotonic clocks differ only by the time spent suspended,
// which is read off both clocks now.
std::int64_t ProcessStartNs() {
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

std::intptr_t OpenTraceFile(const char* path) {
  const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
  return fd < 0 ? kNoTraceFile : fd;
}

void AppendTraceFile(std::intptr_t file, const char* bytes, std::size_t length) {
  const ssize_t written = write(static_cast<int>(file), bytes, length);
  (void)written;  // a trace that cannot be written is simply incomplete
}

void CloseTraceFile(std::intptr_t file) { close(static_cast<int>(file)); }

}  // namespace platform
