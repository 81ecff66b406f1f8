// The game's command line. It has options only, and without any the game
// starts as it always has: full screen, reading its data from the working
// folder.
#pragma once

#include <string>

#include "app/settings.h"

struct CommandLine {
  bool help = false;
  bool version = false;
  std::string dataDir;  // empty: the working folder
  bool windowed = false;
  int scale = 0;         // with `windowed`: 0 asks for the largest that fits
  std::string language;  // empty: Korean, built in
};

// Reads argv[1] to argv[argc - 1] into `line`. False, with `error` naming the
// option, for an unknown option, a missing value or a bad one.
bool ParseCommandLine(int argc, const char* const* argv, CommandLine& line, std::string& error);

// The usage text, several lines each ending in a line break, for a console
// of 80 columns. `besideProgram`: the platform keeps the data beside the
// program and players start it by double-clicking it (Windows), whose ways
// it then names instead of the Linux launcher's.
std::string UsageText(bool besideProgram);
