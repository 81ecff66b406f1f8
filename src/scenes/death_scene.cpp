// Placeholder until the death screen lands: a plain frame.
#include "scenes/death_scene.h"

#include "gfx/display.h"

void DeathScene() {
  ClearSurface(gBackBuffer, 0x10);
  FlipScreen();
}
