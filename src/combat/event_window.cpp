// Placeholder until the event window lands: the window's background only.
#include "combat/event_window.h"

#include "gfx/display.h"

void DrawEventWindow(int) {
  BltFast(gBackBuffer, 162, 61, gEventWinSurface, Rect{0, 0, 317, 241}, DDBLTFAST_NOCOLORKEY);
  ++gEventFrames;
}
