// The clock and the frame trace's file on Windows: the performance counter
// in nanoseconds, the process's start from GetProcessTimes, and a file
// opened for appending, written with one WriteFile a line.
#include "platform/port.h"

// After our own headers: their names (E_FAIL, HRESULT) are macros and
// types in the Windows headers.
#include <windows.h>

namespace platform {

std::int64_t MonotonicNs() {
  static const std::int64_t frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<std::int64_t>(f.QuadPart);
  }();
  constexpr std::int64_t kNsPerSecond = 1000000000;
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  const std::int64_t ticks = now.QuadPart;
  return ticks / frequency * kNsPerSecond + ticks % frequency * kNsPerSecond / frequency;
}

const char* MonotonicClockName() { return "performance counter"; }

// The process's creation on the performance counter's scale: its age, read
// off the system clock, taken from the counter's now.
std::int64_t ProcessStartNs() {
  FILETIME created{}, exited{}, kernel{}, user{}, now{};
  if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user) == FALSE) return 0;
  GetSystemTimePreciseAsFileTime(&now);
  const auto ticks = [](const FILETIME& t) {
    return (static_cast<std::int64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return MonotonicNs() - (ticks(now) - ticks(created)) * 100;
}

// INVALID_HANDLE_VALUE is the handle -1, kNoTraceFile as it is.
std::intptr_t OpenTraceFile(const char* path) {
  const HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  return reinterpret_cast<std::intptr_t>(file);
}

void AppendTraceFile(std::intptr_t file, const char* bytes, std::size_t length) {
  DWORD written = 0;
  // A trace that cannot be written is simply incomplete.
  WriteFile(reinterpret_cast<HANDLE>(file), bytes, static_cast<DWORD>(length), &written, nullptr);
}

void CloseTraceFile(std::intptr_t file) { CloseHandle(reinterpret_cast<HANDLE>(file)); }

}  // namespace platform
