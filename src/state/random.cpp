#include "state/random.h"

#include "platform/platform.h"

namespace {
// Like the C library, an unseeded generator starts from 1.
std::uint32_t gRandomState = 1;
CalendarReader gCalendarReader = nullptr;
}  // namespace

void SeedRandom(std::uint32_t seed) { gRandomState = seed; }

int NextRandom() {
  gRandomState = gRandomState * 214013u + 2531011u;
  return static_cast<int>((gRandomState >> 16) & 0x7FFF);
}

std::uint32_t RandomState() { return gRandomState; }

void SetCalendarReader(CalendarReader reader) { gCalendarReader = reader; }

std::uint32_t CalendarSeconds() {
  if (gCalendarReader != nullptr) return gCalendarReader();
  // time() returns a 64-bit count here; srand took it as a 32-bit unsigned,
  // so the seed keeps only the low 32 bits.
  return static_cast<std::uint32_t>(platform::CalendarTime());
}
