// `vedo-kit check --lang DIR`: a language pack against the game, read as
// the game reads it (lang/language_pack.h), with what the kit knows beside:
// whether --lang can name the folder, and where the game draws the frames
// the pack replaces.
#include <algorithm>
#include <filesystem>
#include <map>

#include "kit/check.h"
#include "kit/formats.h"
#include "kit/game_needs.h"
#include "lang/language.h"

namespace kit {
namespace {

namespace fs = std::filesystem;

// The data folder's own map and sprite file (the pack lies in its
// lang/NAME), which its tiles and frames are held to, as the game holds
// them to what it loaded; without them, only what the game needs of any.
PackBase ReadBase(const fs::path& pack, SpriteFile& sprites) {
  PackBase base{kTileSide, kTileSide, -1, -1};
  const fs::path data = pack.parent_path().parent_path();
  Bytes bytes;
  MapFile map;
  if (ReadFileBytes((data / kMapFileName).string(), bytes, nullptr) &&
      ReadMap(bytes, map, nullptr)) {
    base = {map.tileWidth, map.tileHeight, map.tileCount, -1};
  }
  if (ReadFileBytes((data / kSpriteFileName).string(), bytes, nullptr) &&
      ReadSprites(bytes, sprites, nullptr)) {
    base.frameCount = static_cast<int>(sprites.frames.size());
  }
  return base;
}

}  // namespace

LanguagePack CheckLanguagePack(const std::string& dir) {
  std::error_code ec;
  fs::path pack = fs::absolute(fs::path(dir), ec).lexically_normal();
  if (!pack.has_filename()) pack = pack.parent_path();
  SpriteFile sprites;
  const PackBase base = ReadBase(pack, sprites);
  // The game's reading takes UTF-8 paths.
  const std::u8string path = pack.u8string();
  LanguagePack read = ReadLanguagePack(std::string(path.begin(), path.end()) + "/", base);
  if (!fs::is_directory(pack, ec)) return read;

  const std::string folder = pack.filename().string();
  std::string unnamed;
  if (folder == kBuiltInLanguage) {
    unnamed = "Korean is built in; the game never reads a pack named " + folder;
  } else if (!LanguageNameValid(folder)) {
    unnamed = "--lang cannot name a folder \"" + folder +
              "\" (lower-case letters, digits and -, starting with a letter)";
  }
  if (!unnamed.empty()) {
    read.faults.insert(read.faults.begin(), {dir, 0, unnamed, true});
    ++read.faultCount;
  }

  // Every frame the pack replaces, held to the places the game draws it: a
  // frame that overflows the screen there is not drawn.
  std::map<int, SpriteFrameData> frames;
  for (const PackArt& art : read.art) {
    if (art.kind != PackArt::Kind::kFrame) continue;
    frames[art.index] = {.width = art.image.width, .height = art.image.height, .bgr = {}};
  }
  if (!frames.empty()) {
    sprites.frames.resize(
        std::max(sprites.frames.size(), static_cast<std::size_t>(frames.rbegin()->first) + 1));
    for (const auto& [frame, data] : frames) {
      sprites.frames[static_cast<std::size_t>(frame)] = data;
    }
    for (const FrameProblem& p : FramesThatDoNotFit(sprites)) {
      if (frames.count(p.frame) == 0) continue;
      read.faults.push_back({LanguageFrameName(p.frame), 0, p.text, false});
      ++read.faultCount;
    }
  }
  return read;
}

}  // namespace kit
