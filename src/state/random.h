// The game's random numbers: the classic C library generator, kept as our
// own copy so that a seed gives the same field on every platform.
#pragma once

#include <cstdint>

// srand: the state becomes the seed.
void SeedRandom(std::uint32_t seed);
// rand: state = state * 214013 + 2531011 (mod 2^32); the result is bits 16
// to 30 of the new state, 0 to 32767.
int NextRandom();
// The generator's state, which a recording keeps with the game's.
std::uint32_t RandomState();
// The calendar time in whole seconds, as time(NULL); read through the
// platform so that replays and tests can fix it.
std::uint32_t CalendarSeconds();
// What answers CalendarSeconds: the platform's clock, or the program's
// reader in its place (a recording notes every second the game reads; a
// playback answers each from its file). Null puts the platform's back.
using CalendarReader = std::uint32_t (*)();
void SetCalendarReader(CalendarReader reader);
