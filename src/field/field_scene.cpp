// Placeholder until field play lands: a plain dark frame.
#include "field/field_scene.h"

#include "gfx/display.h"

void FieldScene() {
  ClearSurface(gBackBuffer, 0x20);
  FlipScreen();
}
