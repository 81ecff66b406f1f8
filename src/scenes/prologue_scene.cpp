// Placeholder until the prologue lands: a plain frame.
#include "scenes/prologue_scene.h"

#include "gfx/display.h"

void PrologueScene() {
  ClearSurface(gBackBuffer, 0x30);
  FlipScreen();
}
