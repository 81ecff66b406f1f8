// The event window: a framed portrait and three lines that tell the outcome
// of an attack, a find, the rocket, a spray, a revival or the escape.
#pragma once

inline constexpr int EV_FILE = 1;
inline constexpr int EV_AMMO = 6;
inline constexpr int EV_SPRAY_FOUND = 7;
inline constexpr int EV_HUNTER = 8;
inline constexpr int EV_ZOMBIE = 9;
inline constexpr int EV_CERBERUS = 10;
inline constexpr int EV_STALKER = 11;
inline constexpr int EV_ROCKET_DODGED = 55;
inline constexpr int EV_ROCKET_HIT = 66;
inline constexpr int EV_ESCAPED = 77;
inline constexpr int EV_REVIVED = 94;
inline constexpr int EV_SPRAY_USED = 99;

// The three lines start at this x; the numbers of the file page and the
// spray-used page are written over blanks of line 3, at these x.
inline constexpr int kEventTextX = 207;
inline constexpr int kFilesLeftX = kEventTextX;
inline constexpr int kSpraysLeftX = 330;

// Draws one frame of the window for the event number onto the back buffer
// and counts gEventFrames.
void DrawEventWindow(int eventNumber);
