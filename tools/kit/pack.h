// Unpacking the map and sprite files into editable PNG pictures and text,
// and packing them back. A file that is unpacked and packed again comes back
// byte for byte, header bytes that the game never reads included.
//
// A map folder holds:
//   map.txt          the header: tag field and unused bytes in hex, counts
//   ground.csv       one line per map row, the tile number of each cell
//   tiles/tile_NNNN.png   one picture per tile image
//   trailing.bin     bytes after the last tile, if the file had any
// A sprite folder holds:
//   sprites.txt      the header and one line per frame: "frame N W H"
//   frames/frame_NNN.png  one picture per frame (none for an empty frame)
//   trailing.bin     as above
// Pictures are written as RGB. When packing, a frame's size comes from its
// picture. Pure black (0, 0, 0) is the sprites' clear colour, so (0, 0, 1)
// is the darkest colour that shows; a fully transparent PNG pixel is taken
// as black, and a partly transparent one is refused.
//
// Packing refuses what the game could not use, naming the file and the
// place: ground numbers that name no tile (the CSV line and field), tiles of
// another size than map.txt gives, and frames too large for where the game
// draws them (as `vedo-kit check` words it). Unpacking refuses a folder
// that already holds unpacked files unless `force` is set; then it replaces
// them.
#pragma once

#include <string>

namespace kit {

bool UnpackMap(const std::string& mapPath, const std::string& dir, bool force, std::string* error);
bool PackMap(const std::string& dir, const std::string& mapPath, std::string* error);
bool UnpackSprites(const std::string& spritePath, const std::string& dir, bool force,
                   std::string* error);
bool PackSprites(const std::string& dir, const std::string& spritePath, std::string* error);

}  // namespace kit
