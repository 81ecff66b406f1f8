// Placeholder until the ending lands: a plain frame.
#include "scenes/ending_scene.h"

#include "gfx/display.h"

void EndingScene() {
  ClearSurface(gBackBuffer, 0x50);
  FlipScreen();
}
