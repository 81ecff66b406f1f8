// Contact sheets of a data folder for modders: every tile of the map and
// every sprite frame with its number drawn under or over it.
#pragma once

#include <string>

namespace kit {

// Reads DIR/city.map and DIR/WEAPON.SPR and writes OUTDIR/tiles.png and
// OUTDIR/frames.png (OUTDIR is made if missing). False with a reason.
bool WriteSheets(const std::string& dir, const std::string& outDir, std::string* error);

}  // namespace kit
