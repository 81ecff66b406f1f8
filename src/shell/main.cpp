// vedo-zeza1: the game. It reads its data from the working folder.
#include <cstdlib>

#include "shell/debug_settings.h"
#include "shell/program.h"

int main() {
  // A diagnostic for measurements only: it does nothing unless set.
  ApplyDebugSettings(std::getenv("VEDO_DEBUG_SET"));
  return WinMain();
}
