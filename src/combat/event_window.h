// The event window: a framed portrait and three lines that tell the outcome
// of an attack, a find, the rocket, a spray, a revival or the escape.
#pragma once

// The event numbers, EV_*, are in state/game_state.h; the x of the lines and
// of the numbers over them, in lang/game_lines.h.
// Draws one frame of the window for the event number onto the back buffer
// and counts gEventFrames.
void DrawEventWindow(int eventNumber);
