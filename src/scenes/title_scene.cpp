// Placeholder until the title screens land: a plain frame.
#include "scenes/title_scene.h"

#include "gfx/display.h"

void TitleScene() {
  ClearSurface(gBackBuffer, 0x40);
  FlipScreen();
}
