// `vedo-kit check --lang DIR`: a language pack against the game. The game
// itself refuses a pack whose text file or pictures it cannot use; this
// check also measures every line with the text route, as the game draws it.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>

#include "formats/bmp_file.h"
#include "formats/language_text.h"
#include "kit/check.h"
#include "kit/formats.h"
#include "kit/game_needs.h"
#include "lang/game_lines.h"
#include "lang/language.h"
#include "platform/draw/text_draw.h"

namespace kit {
namespace {

namespace fs = std::filesystem;

// A pack folder with more entries than this is no pack.
constexpr int kMaxEntries = 4096;

int Width(const std::string& cp949) { return platform::TextWidthCp949(cp949.c_str()); }

// What the pack's tiles and frames are held to: the data folder's own map
// and sprite file (the pack lies in its lang/NAME), or, without them, only
// what the game needs of any.
struct Base {
  int tileWidth = kTileSide;
  int tileHeight = kTileSide;
  int tileCount = -1;  // unknown
  SpriteFile sprites;
  bool haveSprites = false;
};

Base ReadBase(const fs::path& pack) {
  Base base;
  const fs::path data = pack.parent_path().parent_path();
  Bytes bytes;
  MapFile map;
  if (ReadFileBytes((data / kMapFileName).string(), bytes, nullptr) &&
      ReadMap(bytes, map, nullptr)) {
    base.tileWidth = map.tileWidth;
    base.tileHeight = map.tileHeight;
    base.tileCount = map.tileCount;
  }
  if (ReadFileBytes((data / kSpriteFileName).string(), bytes, nullptr) &&
      ReadSprites(bytes, base.sprites, nullptr)) {
    base.haveSprites = true;
  }
  return base;
}

// The pixel spans of the line's runs of blanks.
std::vector<std::pair<int, int>> BlankRuns(const std::string& cp949) {
  std::vector<std::pair<int, int>> runs;
  std::size_t i = 0;
  while (i < cp949.size()) {
    const std::size_t step = static_cast<unsigned char>(cp949[i]) >= 0x80 ? 2 : 1;
    if (cp949[i] == ' ') {
      const int from = Width(cp949.substr(0, i));
      std::size_t end = i;
      while (end < cp949.size() && cp949[end] == ' ') ++end;
      runs.emplace_back(from, Width(cp949.substr(0, end)));
      i = end;
    } else {
      i += step;
    }
  }
  return runs;
}

void CheckLines(const LanguageText& text, std::vector<std::string>& problems) {
  const std::vector<GameLine>& game = GameLines();
  for (std::size_t id = 0; id < game.size(); ++id) {
    if (!text.usable[id]) continue;
    const GameLine& line = game[id];
    const std::string at = std::string(kLanguageTextName) + ": line " +
                           std::to_string(text.fileLines[id]) + ": " + line.key;
    const std::string ours = platform::Utf8ToCp949(text.lines[id]);
    const int width = Width(ours);
    const int box = Width(platform::Utf8ToCp949(line.korean));
    if (width > box) {
      problems.push_back(at + " is " + std::to_string(width) +
                         " pixels wide; its box, the Korean line's, is " + std::to_string(box));
    }
    const NumberOverLine& number = line.number;
    if (number.format == nullptr) continue;
    int end = number.dx;
    for (int v = number.lowest; v <= number.highest; ++v) {
      char digits[32];
      std::snprintf(digits, sizeof digits, number.format, v);
      end = std::max(end, number.dx + Width(digits));
    }
    const auto runs = BlankRuns(ours);
    const bool covered = std::any_of(runs.begin(), runs.end(), [&](const auto& run) {
      return run.first <= number.dx && run.second >= end;
    });
    if (!covered) {
      problems.push_back(at + ": " + number.what + " (\"" + number.format +
                         "\") are written over pixels " + std::to_string(number.dx) + " to " +
                         std::to_string(end - 1) + " of the line, which must all be blanks");
    }
  }
}

// A number in a pack's file name, as LanguageTileName or LanguageFrameName
// writes it; -1 for any other name.
int NumberIn(const std::string& name, const std::string& prefix, int digits,
             std::string (*write)(int)) {
  if (name.size() != prefix.size() + static_cast<std::size_t>(digits) + 4 ||
      name.rfind(prefix, 0) != 0) {
    return -1;
  }
  const int n = std::atoi(name.c_str() + prefix.size());
  return write(n) == name ? n : -1;
}

std::string Size(int width, int height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

void CheckFile(const fs::path& path, const std::string& name, const Base& base,
               std::map<int, SpriteFrameData>& frames, std::vector<std::string>& problems) {
  for (const PictureFile& need : kPictureFiles) {
    if (name != need.name) continue;
    platform::Image image;
    if (!LoadPicture(path.string(), name, image, problems)) return;
    if (image.width != need.width || image.height != need.height) {
      problems.push_back(name + ": " + Size(image.width, image.height) +
                         " pixels; the game shows it at " + Size(need.width, need.height));
    }
    return;
  }
  if (const int tile = NumberIn(name, "tile_", 4, LanguageTileName); tile >= 0) {
    platform::Image image;
    if (!LoadPicture(path.string(), name, image, problems)) return;
    if (base.tileCount >= 0 && tile >= base.tileCount) {
      problems.push_back(name + ": the map has no tile " + std::to_string(tile) +
                         "; its tiles are numbered 0 to " + std::to_string(base.tileCount - 1));
    }
    if (image.width != base.tileWidth || image.height != base.tileHeight) {
      problems.push_back(name + ": " + Size(image.width, image.height) +
                         " pixels; the map's tiles are " + Size(base.tileWidth, base.tileHeight));
    }
    return;
  }
  if (const int frame = NumberIn(name, "frame_", 3, LanguageFrameName); frame >= 0) {
    platform::Image image;
    if (!LoadPicture(path.string(), name, image, problems)) return;
    const int count = base.haveSprites ? static_cast<int>(base.sprites.frames.size()) : -1;
    if (count >= 0 && frame >= count) {
      problems.push_back(name + ": the sprite file has no frame " + std::to_string(frame) +
                         "; its frames are numbered 0 to " + std::to_string(count - 1));
      return;
    }
    frames[frame] = {.width = image.width, .height = image.height, .bgr = {}};
    return;
  }
  problems.push_back(name + ": not a file of a language pack (" + kLanguageTextName +
                     ", the pictures by their names, tile_NNNN.bmp, frame_NNN.bmp)");
}

// Every frame the pack replaces, held to the places the game draws it.
void CheckFrames(const Base& base, const std::map<int, SpriteFrameData>& frames,
                 std::vector<std::string>& problems) {
  if (frames.empty()) return;
  SpriteFile sprites;
  if (base.haveSprites) sprites = base.sprites;
  sprites.frames.resize(
      std::max(sprites.frames.size(), static_cast<std::size_t>(frames.rbegin()->first) + 1));
  for (const auto& [frame, data] : frames) sprites.frames[static_cast<std::size_t>(frame)] = data;
  for (const FrameProblem& p : FramesThatDoNotFit(sprites)) {
    if (frames.count(p.frame) != 0) problems.push_back(LanguageFrameName(p.frame) + ": " + p.text);
  }
}

}  // namespace

std::vector<std::string> CheckLanguagePack(const std::string& dir) {
  std::vector<std::string> problems;
  std::error_code ec;
  const fs::path pack = fs::absolute(fs::path(dir), ec).lexically_normal();
  if (!fs::is_directory(pack, ec)) {
    problems.push_back(dir + ": not a folder");
    return problems;
  }
  const std::string folder = (pack.has_filename() ? pack : pack.parent_path()).filename().string();
  if (folder == kBuiltInLanguage) {
    problems.push_back(dir + ": Korean is built in; the game never reads a pack named " + folder);
  } else if (!LanguageNameValid(folder)) {
    problems.push_back(dir + ": --lang cannot name a folder \"" + folder +
                       "\" (lower-case letters, digits and -, starting with a letter)");
  }
  const fs::path base = pack.has_filename() ? pack : pack.parent_path();

  Bytes bytes;
  std::string error;
  const fs::path textPath = base / kLanguageTextName;
  if (!fs::exists(textPath, ec)) {
    problems.push_back(std::string(kLanguageTextName) + ": missing");
  } else if (fs::file_size(textPath, ec) > kLanguageTextMaxBytes) {
    problems.push_back(std::string(kLanguageTextName) + ": larger than " +
                       std::to_string(kLanguageTextMaxBytes) + " bytes");
  } else if (!ReadFileBytes(textPath.string(), bytes, &error, kLanguageTextMaxBytes)) {
    problems.push_back(std::string(kLanguageTextName) + ": " + error);
  } else {
    const LanguageText text = ReadLanguageText(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
        GameLanguageKeys());
    for (const std::string& p : text.problems) {
      problems.push_back(std::string(kLanguageTextName) + ": " + p);
    }
    CheckLines(text, problems);
  }

  const Base data = ReadBase(base);
  std::vector<fs::path> entries;
  for (const auto& entry : fs::directory_iterator(base, ec)) {
    if (static_cast<int>(entries.size()) == kMaxEntries) {
      problems.push_back(dir + ": more than " + std::to_string(kMaxEntries) +
                         " files; the rest are not looked at");
      break;
    }
    entries.push_back(entry.path());
  }
  std::sort(entries.begin(), entries.end());
  std::map<int, SpriteFrameData> frames;
  for (const fs::path& path : entries) {
    const std::string name = path.filename().string();
    if (name == kLanguageTextName) continue;
    if (!fs::is_regular_file(path, ec)) {
      problems.push_back(name + ": not a file; a language pack holds files only");
      continue;
    }
    CheckFile(path, name, data, frames, problems);
  }
  CheckFrames(data, frames, problems);
  return problems;
}

}  // namespace kit
