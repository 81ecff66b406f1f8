#include "kit/pack.h"

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>
#include <vector>

#include "common/png_io.h"
#include "kit/check.h"
#include "kit/formats.h"

namespace kit {
namespace {

namespace fs = std::filesystem;

bool FromHex(const std::string& text, std::uint8_t* out, std::size_t n) {
  if (text.size() != 2 * n) return false;
  for (std::size_t i = 0; i < n; ++i) {
    const char* at = text.data() + 2 * i;
    if (std::from_chars(at, at + 2, out[i], 16).ptr != at + 2) return false;
  }
  return true;
}

bool ParseInt(const std::string& text, long long lo, long long hi, std::int32_t& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const long long v = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || end == nullptr || *end != 0 || v < lo || v > hi) return false;
  out = static_cast<std::int32_t>(v);
  return true;
}

// A description file: "key value..." lines, # comments. Keys may repeat
// ("frame"); each occurrence keeps its words.
struct Description {
  std::vector<std::pair<std::string, std::vector<std::string>>> lines;
  // The words of the first line with the key, when there are n of them.
  const std::vector<std::string>* Find(const std::string& key, std::size_t n) const {
    for (const auto& [k, words] : lines) {
      if (k == key) return words.size() == n ? &words : nullptr;
    }
    return nullptr;
  }
};

// The longest description unpacking writes, sprites.txt with a line for
// each of 65,536 frames, is about 1.3 MB; a larger file, or more lines than
// there can be frames, is refused before its words are kept.
constexpr std::uint64_t kMaxDescriptionBytes = 4u << 20;
// The most frames a description may list.
constexpr int kMaxPackedFrames = 65536;
constexpr std::size_t kMaxDescriptionLines = kMaxPackedFrames + 64;

bool ReadDescription(const fs::path& path, Description& out, std::string* error) {
  Bytes bytes;
  if (!ReadFileBytes(path.string(), bytes, error, kMaxDescriptionBytes)) return false;
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t hash = line.find('#');
    if (hash != std::string::npos) line.resize(hash);
    std::istringstream words(line);
    std::string key;
    if (!(words >> key)) continue;
    if (out.lines.size() == kMaxDescriptionLines) {
      return Fail(error, path.string() + ": more than " + std::to_string(kMaxDescriptionLines) +
                             " lines, more than any description needs");
    }
    std::vector<std::string> rest;
    for (std::string w; words >> w;) rest.push_back(w);
    out.lines.emplace_back(key, rest);
  }
  return true;
}

// Reads a PNG of at most maxW x maxH pixels into B, G, R bytes. A fully
// transparent pixel becomes black, the clear colour of sprites; a partly
// transparent one has no meaning in the game's opaque-or-clear pixels and is
// refused, naming the first.
bool ReadPicture(const fs::path& path, int maxW, int maxH, int& width, int& height, Bytes& bgr,
                 std::string* error) {
  pngio::RgbImage image;
  std::vector<std::uint8_t> alpha;
  if (!pngio::ReadPngWithAlpha(path.string(), image, alpha, error, maxW, maxH)) return false;
  width = image.width;
  height = image.height;
  bgr.resize(image.rgb.size());
  for (std::size_t i = 0; i < alpha.size(); ++i) {
    const std::uint8_t a = alpha[i];
    if (a != 0 && a != 255) {
      const int x = static_cast<int>(i % static_cast<std::size_t>(width));
      const int y = static_cast<int>(i / static_cast<std::size_t>(width));
      return Fail(error, path.string() + ": pixel (" + std::to_string(x) + ", " +
                             std::to_string(y) + ") is partly transparent (alpha " +
                             std::to_string(a) +
                             "); a pixel must be opaque, or fully transparent for clear");
    }
    const bool clear = a == 0;
    bgr[3 * i] = clear ? 0 : image.rgb[3 * i + 2];
    bgr[3 * i + 1] = clear ? 0 : image.rgb[3 * i + 1];
    bgr[3 * i + 2] = clear ? 0 : image.rgb[3 * i];
  }
  return true;
}

bool WritePicture(const fs::path& path, int width, int height, const std::uint8_t* bgr,
                  std::string* error) {
  return pngio::WritePng(path.string(), pngio::FromBgr(bgr, width, height, width * 3), error);
}

std::string Numbered(const char* stem, int n, int digits) {
  char name[64];
  std::snprintf(name, sizeof name, "%s_%0*d.png", stem, digits, n);
  return name;
}

bool WriteText(const fs::path& path, const std::string& text, std::string* error) {
  return WriteFileBytes(path.string(), Bytes(text.begin(), text.end()), error);
}

// A header's description, naming the bytes after the file's last record
// when there are any, and those bytes, in trailing.bin beside it.
bool WriteDescription(const fs::path& path, std::ostringstream& desc, const Bytes& trailing,
                      std::string* error) {
  if (!trailing.empty()) desc << "trailing trailing.bin\n";
  return WriteText(path, desc.str(), error) &&
         (trailing.empty() ||
          WriteFileBytes((path.parent_path() / "trailing.bin").string(), trailing, error));
}

// Unpacking over an earlier unpacking would silently replace edited
// pictures: without `force` it is refused, naming the first file found. With
// it, the earlier numbered pictures and trailing bytes go first, so that the
// folder holds exactly the file unpacked. Then the pictures' folder is made.
bool PrepareFolder(const fs::path& root, std::initializer_list<const char*> files,
                   const char* pictures, const char* stem, bool force, std::string* error) {
  std::error_code ec;
  std::vector<fs::path> found;
  for (const char* name : files) {
    if (fs::exists(root / name, ec)) found.push_back(root / name);
  }
  if (fs::is_directory(root / pictures, ec)) {
    for (const auto& entry : fs::directory_iterator(root / pictures, ec)) {
      // Only the names unpacking writes: stem, digits, ".png".
      const std::string name = entry.path().filename().string();
      const std::size_t n = std::strlen(stem);
      if (name.size() > n + 4 && name.compare(0, n, stem) == 0 &&
          name.compare(name.size() - 4, 4, ".png") == 0 &&
          name.find_first_not_of("0123456789", n) == name.size() - 4) {
        found.push_back(entry.path());
      }
    }
  }
  if (!found.empty() && !force) {
    return Fail(error, found.front().string() +
                           " already exists; unpacking would overwrite it (give --force to "
                           "replace the folder's unpacked files)");
  }
  for (const fs::path& path : found) {
    if (path.filename() == "trailing.bin" || path.parent_path() == root / pictures) {
      fs::remove(path, ec);
    }
  }
  fs::create_directories(root / pictures, ec);
  if (ec) return Fail(error, "cannot create " + (root / pictures).string() + ": " + ec.message());
  return true;
}

}  // namespace

bool UnpackMap(const std::string& mapPath, const std::string& dir, bool force, std::string* error) {
  Bytes bytes;
  if (!ReadFileBytes(mapPath, bytes, error)) return false;
  MapFile map;
  std::string why;
  if (!ReadWholeMap(bytes, map, &why)) return Fail(error, mapPath + ": " + why);
  const fs::path root(dir);
  if (!PrepareFolder(root, {"map.txt", "ground.csv", "trailing.bin"}, "tiles", "tile_", force,
                     error)) {
    return false;
  }

  std::ostringstream desc;
  desc << "# Map header. tag and unused are the raw header bytes in hex.\n"
       << "tag " << Hex(map.tag.data(), map.tag.size()) << "\n"
       << "tiles " << map.tileCount << "\n"
       << "tile-size " << map.tileWidth << " " << map.tileHeight << "\n"
       << "cells " << map.cols << " " << map.rows << "\n"
       << "unused " << Hex(map.unused.data(), map.unused.size()) << "\n";
  if (!WriteDescription(root / "map.txt", desc, map.trailing, error)) return false;

  std::ostringstream csv;
  for (int r = 0; r < map.rows; ++r) {
    for (int c = 0; c < map.cols; ++c) csv << (c ? "," : "") << map.Cell(r, c);
    csv << "\n";
  }
  if (!WriteText(root / "ground.csv", csv.str(), error)) return false;

  for (int i = 0; i < map.tileCount; ++i) {
    const std::uint8_t* px = map.tiles.data() + map.TileBytes() * static_cast<std::size_t>(i);
    if (!WritePicture(root / "tiles" / Numbered("tile", i, 4), map.tileWidth, map.tileHeight, px,
                      error)) {
      return false;
    }
  }
  return true;
}

bool PackMap(const std::string& dir, const std::string& mapPath, std::string* error) {
  const fs::path root(dir);
  Description desc;
  if (!ReadDescription(root / "map.txt", desc, error)) return false;
  const std::string txtName = (root / "map.txt").string();
  MapFile map;
  const auto* tag = desc.Find("tag", 1);
  const auto* tiles = desc.Find("tiles", 1);
  const auto* size = desc.Find("tile-size", 2);
  const auto* cells = desc.Find("cells", 2);
  const auto* unused = desc.Find("unused", 1);
  if (tag == nullptr || !FromHex((*tag)[0], map.tag.data(), 16)) {
    return Fail(error, txtName + ": needs \"tag\" with 32 hex digits");
  }
  if (unused == nullptr || !FromHex((*unused)[0], map.unused.data(), 16)) {
    return Fail(error, txtName + ": needs \"unused\" with 32 hex digits");
  }
  // The game's limits (formats/map_format.h), so that what is packed loads.
  if (tiles == nullptr || !ParseInt((*tiles)[0], 0, kMapMaxTiles, map.tileCount)) {
    return Fail(error, txtName + ": needs \"tiles\" with a count of 0 to 65536");
  }
  if (size == nullptr || !ParseInt((*size)[0], 1, kMapMaxTileSide, map.tileWidth) ||
      !ParseInt((*size)[1], 1, kMapMaxTileSide, map.tileHeight)) {
    return Fail(error, txtName + ": needs \"tile-size\" with a width and a height of 1 to 256");
  }
  if (cells == nullptr || !ParseInt((*cells)[0], kMapMinCols, kMapMaxCols, map.cols) ||
      !ParseInt((*cells)[1], kMapMinRows, kMapMaxRows, map.rows)) {
    return Fail(error, txtName + ": needs \"cells\" with 16 to 25 columns and 12 to 21 rows");
  }

  // Messages name the CSV line and field as a spreadsheet counts them, from
  // 1, and the map cell as the game counts it, from 0.
  const std::string csvName = (root / "ground.csv").string();
  // 1024 rows of 1024 numbers of at most 11 characters and a comma each
  // need 12 MB.
  Bytes csvBytes;
  if (!ReadFileBytes(csvName, csvBytes, error, 16u << 20)) return false;
  std::istringstream csv(std::string(csvBytes.begin(), csvBytes.end()));
  std::string line;
  int row = 0;
  int lineNo = 0;
  while (std::getline(csv, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    const std::string at = csvName + ": line " + std::to_string(lineNo);
    if (row >= map.rows) {
      return Fail(error,
                  at + ": more than the " + std::to_string(map.rows) + " rows map.txt gives");
    }
    std::istringstream fields(line);
    std::string field;
    int col = 0;
    while (std::getline(fields, field, ',')) {
      while (!field.empty() && field.front() == ' ') field.erase(field.begin());
      while (!field.empty() && field.back() == ' ') field.pop_back();
      const std::string place = at + ", field " + std::to_string(col + 1) + " (map row " +
                                std::to_string(row) + ", column " + std::to_string(col) + ")";
      std::int32_t v = 0;
      if (!ParseInt(field, INT32_MIN, INT32_MAX, v)) {
        return Fail(error, place + ": \"" + field + "\" is not a number");
      }
      // The game draws the tile named by the number's absolute value.
      if (col < map.cols && (v == INT32_MIN || std::abs(v) >= map.tileCount)) {
        const std::string range =
            map.tileCount == 0 ? "there are no tiles"
                               : "the tiles are numbered 0 to " + std::to_string(map.tileCount - 1);
        return Fail(error, place + ": tile " + field + " does not exist; " + range);
      }
      if (col < map.cols) map.cells.push_back(v);
      ++col;
    }
    if (col != map.cols) {
      return Fail(error, at + ": " + std::to_string(col) + " numbers; map.txt gives " +
                             std::to_string(map.cols) + " columns");
    }
    ++row;
  }
  if (row != map.rows) {
    return Fail(error, csvName + ": " + std::to_string(row) + " rows; map.txt gives " +
                           std::to_string(map.rows));
  }

  // No room is reserved ahead: the count comes from an editable text, and
  // memory should follow the pictures actually there.
  for (int i = 0; i < map.tileCount; ++i) {
    const fs::path path = root / "tiles" / Numbered("tile", i, 4);
    int w = 0, h = 0;
    Bytes bgr;
    if (!ReadPicture(path, map.tileWidth, map.tileHeight, w, h, bgr, error)) return false;
    if (w != map.tileWidth || h != map.tileHeight) {
      return Fail(error, path.string() + ": " + std::to_string(w) + " x " + std::to_string(h) +
                             " pixels; tiles are " + std::to_string(map.tileWidth) + " x " +
                             std::to_string(map.tileHeight));
    }
    map.tiles.insert(map.tiles.end(), bgr.begin(), bgr.end());
  }
  if (const auto* trailing = desc.Find("trailing", 1)) {
    if (!ReadFileBytes((root / (*trailing)[0]).string(), map.trailing, error)) return false;
  }
  return WriteFileBytes(mapPath, SerializeMap(map), error);
}

bool UnpackSprites(const std::string& spritePath, const std::string& dir, bool force,
                   std::string* error) {
  Bytes bytes;
  if (!ReadFileBytes(spritePath, bytes, error)) return false;
  SpriteFile sprites;
  std::string why;
  if (!ReadWholeSprites(bytes, sprites, &why)) return Fail(error, spritePath + ": " + why);
  const fs::path root(dir);
  if (!PrepareFolder(root, {"sprites.txt", "trailing.bin"}, "frames", "frame_", force, error)) {
    return false;
  }
  std::ostringstream desc;
  desc << "# Sprite header. tag and unused are the raw header bytes in hex.\n"
       << "tag " << Hex(sprites.tag.data(), sprites.tag.size()) << "\n"
       << "version " << sprites.version << "\n"
       << "unused " << Hex(sprites.unused.data(), sprites.unused.size()) << "\n"
       << "# One line per frame, in file order: frame NUMBER WIDTH HEIGHT. The size of a\n"
       << "# frame with a picture is taken from the picture when packing.\n"
       << "# In the pictures, black (0, 0, 0) and fully transparent pixels are clear;\n"
       << "# (0, 0, 1) is the darkest colour that shows.\n";
  for (std::size_t i = 0; i < sprites.frames.size(); ++i) {
    desc << "frame " << i << " " << sprites.frames[i].width << " " << sprites.frames[i].height
         << "\n";
  }
  if (!WriteDescription(root / "sprites.txt", desc, sprites.trailing, error)) return false;
  for (std::size_t i = 0; i < sprites.frames.size(); ++i) {
    const SpriteFrameData& f = sprites.frames[i];
    if (f.width == 0 || f.height == 0) continue;
    if (!WritePicture(root / "frames" / Numbered("frame", static_cast<int>(i), 3), f.width,
                      f.height, f.bgr.data(), error)) {
      return false;
    }
  }
  return true;
}

bool PackSprites(const std::string& dir, const std::string& spritePath, std::string* error) {
  const fs::path root(dir);
  const std::string txtName = (root / "sprites.txt").string();
  Description desc;
  if (!ReadDescription(root / "sprites.txt", desc, error)) return false;
  SpriteFile sprites;
  const auto* tag = desc.Find("tag", 1);
  const auto* version = desc.Find("version", 1);
  const auto* unused = desc.Find("unused", 1);
  if (tag == nullptr || !FromHex((*tag)[0], sprites.tag.data(), 16)) {
    return Fail(error, txtName + ": needs \"tag\" with 32 hex digits");
  }
  if (unused == nullptr || !FromHex((*unused)[0], sprites.unused.data(), 8)) {
    return Fail(error, txtName + ": needs \"unused\" with 16 hex digits");
  }
  if (version == nullptr || !ParseInt((*version)[0], 1, INT32_MAX, sprites.version)) {
    return Fail(error, txtName + ": needs \"version\" of 1 or more");
  }
  for (const auto& [key, words] : desc.lines) {
    if (key != "frame") continue;
    const std::string number = std::to_string(sprites.frames.size());
    std::int32_t n = 0, w = 0, h = 0;
    if (words.size() != 3 || !ParseInt(words[0], 0, kMaxPackedFrames - 1, n) ||
        !ParseInt(words[1], 0, kSpriteMaxWidth, w) || !ParseInt(words[2], 0, kSpriteMaxHeight, h)) {
      return Fail(error, txtName + ": frame lines read \"frame NUMBER WIDTH HEIGHT\" (at frame " +
                             number + ")");
    }
    if (n != static_cast<std::int32_t>(sprites.frames.size())) {
      return Fail(error,
                  txtName + ": frame " + words[0] + " is out of order; expected frame " + number);
    }
    SpriteFrameData f{.width = w, .height = h, .bgr = {}};
    if (w > 0 && h > 0) {
      const fs::path path = root / "frames" / Numbered("frame", n, 3);
      if (!ReadPicture(path, kSpriteMaxWidth, kSpriteMaxHeight, f.width, f.height, f.bgr, error)) {
        return false;
      }
    }
    sprites.frames.push_back(std::move(f));
  }
  // A frame that reaches past the screen where the game draws it is never
  // drawn there; the same lines as `vedo-kit check`, naming the picture.
  std::string tooLarge;
  for (const FrameProblem& p : FramesThatDoNotFit(sprites)) {
    if (!tooLarge.empty()) tooLarge += "\n";
    tooLarge += (root / "frames" / Numbered("frame", p.frame, 3)).string() + ": " + p.text;
  }
  if (!tooLarge.empty()) return Fail(error, tooLarge);
  if (const auto* trailing = desc.Find("trailing", 1)) {
    if (!ReadFileBytes((root / (*trailing)[0]).string(), sprites.trailing, error)) return false;
  }
  return WriteFileBytes(spritePath, SerializeSprites(sprites), error);
}

}  // namespace kit
