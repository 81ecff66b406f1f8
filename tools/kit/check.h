// Holds a data folder against what the game needs (kit/game_needs.h).
#pragma once

#include <string>
#include <vector>

#include "formats/bmp_file.h"
#include "kit/formats.h"
#include "lang/language_pack.h"

namespace kit {

// A frame too large for a place where the game draws it. `text` starts with
// "frame N (what)"; the caller puts the file in front.
struct FrameProblem {
  int frame;
  std::string text;
};
// One problem per frame, at the place where it overflows the screen most.
std::vector<FrameProblem> FramesThatDoNotFit(const SpriteFile& sprites);

enum class FileKind { kMap, kSprites, kPicture, kSound, kMusic };
// Holds one file against the game's own reader of its kind, adding a line
// per problem, each starting with the file's name. False when the game does
// not load the file; true when it does, though the kit may still ask more of
// it (each such line says what the game does and why the kit asks more).
bool CheckFile(FileKind kind, const std::string& path, std::vector<std::string>& problems);

// Loads a picture as the game does. False with a problem, "name: why", in
// our reader's words where it has them (the game's loader may be the
// system's).
bool LoadPicture(const std::string& path, const std::string& name, platform::Image& image,
                 std::vector<std::string>& problems);

// One line per problem, each starting with the file it concerns. Empty when
// the folder has everything the game needs.
std::vector<std::string> CheckDataFolder(const std::string& dir);

// Holds a language pack (DATA/lang/NAME) against the game: every fault the
// game finds in it (lang/language_pack.h), each marked as refusing the pack
// or cosmetic, and the kit's own, all cosmetic but for the folder's name:
// one --lang cannot name, and frames too large for a place where the game
// draws them. Tiles and frames are held to the data folder's map and sprite
// file when they can be read.
LanguagePack CheckLanguagePack(const std::string& dir);

}  // namespace kit
