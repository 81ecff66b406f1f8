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
// Pictures are RGB; black is the sprites' transparent colour. When packing,
// a frame's size comes from its picture.
#pragma once

#include <string>

namespace kit {

bool UnpackMap(const std::string& mapPath, const std::string& dir, std::string* error);
bool PackMap(const std::string& dir, const std::string& mapPath, std::string* error);
bool UnpackSprites(const std::string& spritePath, const std::string& dir, std::string* error);
bool PackSprites(const std::string& dir, const std::string& spritePath, std::string* error);

}  // namespace kit
