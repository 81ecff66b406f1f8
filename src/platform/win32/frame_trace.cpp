// The frame trace on Windows: the same lines as the Linux trace
// (platform/frame_trace.cpp), with times from the performance counter in
// nanoseconds and the process's start from GetProcessTimes.
//
// Lines are written whole with one WriteFile each to a file opened for
// appending, and nothing is buffered, so a reader may follow the file while
// the program runs, and a crash loses nothing.
#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "platform/backend.h"
#include "platform/platform.h"

// After our own headers: their names (E_FAIL, HRESULT) are macros and
// types in the Windows headers.
#include <windows.h>

namespace platform {
namespace {

std::atomic<HANDLE> gTraceFile{INVALID_HANDLE_VALUE};

std::int64_t Nanoseconds() {
  static const std::int64_t frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<std::int64_t>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  const std::int64_t ticks = now.QuadPart;
  return ticks / frequency * 1000000000 + ticks % frequency * 1000000000 / frequency;
}

void WriteLine(const char* kind, std::int64_t ns, const char* name) {
  const HANDLE file = gTraceFile.load(std::memory_order_relaxed);
  if (file == INVALID_HANDLE_VALUE) return;
  char line[160];
  const int n = name != nullptr ? std::snprintf(line, sizeof line, "%s %lld %.100s\n", kind,
                                                static_cast<long long>(ns), name)
                                : std::snprintf(line, sizeof line, "%s %lld\n", kind,
                                                static_cast<long long>(ns));
  DWORD written = 0;
  // A trace that cannot be written is simply incomplete.
  if (n > 0) WriteFile(file, line, static_cast<DWORD>(n), &written, nullptr);
}

// The process's creation on the performance counter's scale: its age, read
// off the system clock, taken from the counter's now.
std::int64_t ProcessStart() {
  FILETIME created{}, exited{}, kernel{}, user{}, now{};
  if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user) == FALSE) return 0;
  GetSystemTimePreciseAsFileTime(&now);
  const auto ticks = [](const FILETIME& t) {
    return (static_cast<std::int64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return Nanoseconds() - (ticks(now) - ticks(created)) * 100;
}

void TraceExit() { WriteLine("exit", Nanoseconds(), nullptr); }

// Started before main, so that `init` is as early as our code can see.
struct TraceFromEnvironment {
  TraceFromEnvironment() {
    const char* path = std::getenv("VEDO_FRAME_TRACE");
    if (path == nullptr || path[0] == '\0') return;
    const std::int64_t init = Nanoseconds();
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
  const HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "Vedo Zeza1: cannot write the frame trace %s\n", path);
    return false;
  }
  static const char kHeader[] = "# vedo-zeza1 frame trace; times in performance counter ns\n";
  DWORD written = 0;
  WriteFile(file, kHeader, sizeof kHeader - 1, &written, nullptr);
  gTraceFile.store(file);
  return true;
}

void StopFrameTrace() {
  const HANDLE file = gTraceFile.exchange(INVALID_HANDLE_VALUE);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

bool FrameTraceOn() { return gTraceFile.load(std::memory_order_relaxed) != INVALID_HANDLE_VALUE; }

void TraceMark(const char* name) {
  if (!FrameTraceOn()) return;
  WriteLine("mark", Nanoseconds(), name);
}

void TracePresent() {
  if (!FrameTraceOn()) return;
  WriteLine("present", Nanoseconds(), nullptr);
}

}  // namespace platform
