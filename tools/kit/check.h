// Holds a data folder against what the game needs (kit/game_needs.h).
#pragma once

#include <string>
#include <vector>

#include "kit/formats.h"

namespace kit {

// A frame too large for a place where the game draws it. `text` starts with
// "frame N (what)"; the caller puts the file in front.
struct FrameProblem {
  int frame;
  std::string text;
};
// One problem per frame, at the place where it overflows the screen most.
std::vector<FrameProblem> FramesThatDoNotFit(const SpriteFile& sprites);

// One line per problem, each starting with the file it concerns. Empty when
// the folder has everything the game needs.
std::vector<std::string> CheckDataFolder(const std::string& dir);

}  // namespace kit
