// Mock-ups of the game's screens from a generated data folder, as PNG
// files: the field with its panel and opened cells, an event window, the
// prologue, the rocket's lanes and the ending's reveal and credits.
#pragma once

#include <string>

namespace datakit {

bool WriteMockups(const std::string& dataDir, const std::string& outDir, std::string* error);

}  // namespace datakit
