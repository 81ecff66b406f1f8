// A diagnostic for measurements: game-state values set before the first
// pass, so that a scene can be timed without playing up to it.
#pragma once

// Applies "name=value,name=value" (names as the game state's integers, see
// FindStateInt). Returns false, after a line on stderr, at the first entry
// that does not name a value or does not hold a whole number; the entries
// before it stay applied. A null or empty text does nothing.
bool ApplyDebugSettings(const char* text);
