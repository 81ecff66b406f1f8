// The program's own outputs on Linux and in the browser (port.h): the
// debugger's text and the player's on the standard streams (the browser's
// console), and no program folder: the installed Linux game's launcher names
// its data, the build's game is started in its data folder or given it, and
// the page's data comes with it; games may run side by side.
#include <cstdio>
#include <string>

#include "platform/port.h"

namespace platform {

void NativeDebugOutput(const char* text) {
  std::fputs(text, stderr);
  std::fflush(stderr);
}

void NativeTellPlayer(const char* text, bool error) {
  std::FILE* stream = error ? stderr : stdout;
  std::fputs(text, stream);
  std::fflush(stream);
}

std::string NativeProgramFolder() { return std::string(); }

bool NativeHandOverToRunningGame() { return false; }

}  // namespace platform
