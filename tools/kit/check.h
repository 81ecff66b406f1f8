// Holds a data folder against what the game needs (kit/game_needs.h).
#pragma once

#include <string>
#include <vector>

namespace kit {

// One line per problem, each starting with the file it concerns. Empty when
// the folder has everything the game needs.
std::vector<std::string> CheckDataFolder(const std::string& dir);

}  // namespace kit
