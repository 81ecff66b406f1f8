#include "lang/language.h"

#include <memory>
#include <vector>

#include "formats/file_bytes.h"
#include "formats/language_text.h"
#include "gfx/bitmap.h"
#include "gfx/display.h"
#include "gfx/map_file.h"
#include "lang/game_lines.h"
#include "platform/draw/text_draw.h"
#include "platform/platform.h"
#include "state/data_contract.h"
#include "state/game_state.h"

std::string gLanguage;

namespace {

// The CP949 form of every line in the language in use, by id.
std::vector<std::string> gLines;

struct PictureSlot {
  const PictureFile& file;
  platform::Surface** surface;
};
const PictureSlot kPictureSlots[] = {
    {kTitlePicture, &gTitleSurface},          {kWarningPicture, &gWarningSurface},
    {kEventWindowPicture, &gEventWinSurface}, {kPortraitSheet1, &gEvent1Surface},
    {kPortraitSheet2, &gEvent2Surface},       {kDeathPicture, &gDiedSurface},
    {kEndingPicture, &gEndingSurface},
};

// What a pack puts in place of the built-in art, read whole before any of
// it is used.
struct PackArt {
  std::vector<std::pair<platform::Surface*, platform::Image>> pictures;
  std::vector<std::pair<int, platform::Image>> tiles;
  std::vector<std::pair<int, platform::Image>> frames;
};

bool Exists(const std::string& path) { return platform::FileExists(path.c_str()); }

// Loads a picture of the pack that must be width x height (or, with
// `anySize`, at most that). Its size is read from the file's headers first,
// so that nothing larger is ever allocated for it. False with the reason.
bool LoadPackPicture(const std::string& path, int width, int height, bool anySize,
                     platform::Image& image, std::string& why) {
  long long w = 0;
  long long h = 0;
  if (!platform::BmpFileSize(path.c_str(), w, h)) {
    why = "not a BMP picture";
    return false;
  }
  h = h < 0 ? -h : h;
  const bool fits =
      anySize ? w >= 1 && h >= 1 && w <= width && h <= height : w == width && h == height;
  if (!fits) {
    why = std::to_string(w) + " x " + std::to_string(h) + " pixels; the game needs " +
          (anySize ? "at most " : "") + std::to_string(width) + " x " + std::to_string(height);
    return false;
  }
  if (!platform::LoadBmpFile(path.c_str(), image) || image.width != w || image.height != h) {
    why = "not a picture the game can read";
    return false;
  }
  return true;
}

// Reads the pack in `dir` (ending in '/'): its lines into `lines` and its
// art into `art`. False with the first problem, naming the file.
bool ReadPack(const std::string& dir, std::vector<std::string>& lines, PackArt& art,
              std::string& problem) {
  std::string why;
  const std::string textPath = dir + kLanguageTextName;
  std::vector<std::uint8_t> bytes;
  switch (platform::ReadFileBytes(textPath.c_str(), bytes, kLanguageTextMaxBytes)) {
    case platform::FileRead::kMissing:
      problem = textPath + ": missing";
      return false;
    case platform::FileRead::kTooLarge:
      problem = textPath + ": larger than " + std::to_string(kLanguageTextMaxBytes) + " bytes";
      return false;
    case platform::FileRead::kOk:
      break;
  }
  const LanguageText text =
      ReadLanguageText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                       GameLanguageKeys());
  if (!text.problems.empty()) {
    problem = textPath + ": " + text.problems.front();
    if (text.problems.size() > 1) {
      problem += " (and " + std::to_string(text.problems.size() - 1) + " more)";
    }
    return false;
  }
  lines.clear();
  for (const std::string& line : text.lines) lines.push_back(platform::Utf8ToCp949(line));

  auto load = [&](const std::string& path, int width, int height, bool anySize,
                  platform::Image& image) {
    if (LoadPackPicture(path, width, height, anySize, image, why)) return true;
    problem = path + ": " + why;
    return false;
  };
  for (const PictureSlot& slot : kPictureSlots) {
    const std::string path = dir + slot.file.name;
    if (!Exists(path)) continue;
    platform::Image image;
    if (!load(path, slot.file.width, slot.file.height, false, image)) return false;
    art.pictures.emplace_back(*slot.surface, std::move(image));
  }
  // Only the tiles and frames the loaded files have are looked for.
  for (int tile = 0; tile < static_cast<int>(gTileSurfaces.size()); ++tile) {
    const std::string path = dir + LanguageTileName(tile);
    if (!Exists(path)) continue;
    platform::Image image;
    if (!load(path, gTileWidth, gTileHeight, false, image)) return false;
    art.tiles.emplace_back(tile, std::move(image));
  }
  for (int frame = 0; frame < static_cast<int>(gSpriteSurfaces.size()); ++frame) {
    const std::string path = dir + LanguageFrameName(frame);
    if (!Exists(path)) continue;
    platform::Image image;
    if (!load(path, kScreenWidth, kScreenHeight, true, image)) return false;
    art.frames.emplace_back(frame, std::move(image));
  }
  return true;
}

void UseArt(const PackArt& art) {
  for (const auto& [surface, image] : art.pictures) CopyBitmap(surface, &image, 0, 0, 0, 0);
  for (const auto& [tile, image] : art.tiles) {
    // A new surface: tiles past the end of a short map share one.
    auto surface = std::make_shared<platform::Surface>(image.width, image.height);
    CopyTilePixels(surface.get(), image.pixels.data());
    gTileSurfaces[static_cast<std::size_t>(tile)] = std::move(surface);
  }
  for (const auto& [frame, image] : art.frames) {
    auto surface = std::make_unique<platform::Surface>(image.width, image.height);
    CopyBitmap(surface.get(), &image, 0, 0, 0, 0);
    SetSurfaceColorKey(surface.get(), 0);
    gSpriteSurfaces[static_cast<std::size_t>(frame)] = std::move(surface);
    if (frame < static_cast<int>(gSpriteFrames.size())) {
      gSpriteFrames[static_cast<std::size_t>(frame)] = {image.width, image.height};
    }
  }
}

void UseKorean() {
  gLines.clear();
  for (const GameLine& line : GameLines()) gLines.push_back(platform::Utf8ToCp949(line.korean));
}

}  // namespace

const char* GameText(int id) {
  if (gLines.empty()) UseKorean();
  if (id < 0 || id >= static_cast<int>(gLines.size())) return "";
  return gLines[static_cast<std::size_t>(id)].c_str();
}

void UseLanguage() {
  UseKorean();
  if (gLanguage.empty() || gLanguage == kBuiltInLanguage) return;
  const std::string dir = std::string(kLanguageFolder) + "/" + gLanguage + "/";
  std::vector<std::string> lines;
  PackArt art;
  std::string problem;
  if (!LanguageNameValid(gLanguage) || !ReadPack(dir, lines, art, problem)) {
    if (problem.empty()) problem = "\"" + gLanguage + "\" is no language name";
    // In Korean too: the pack that failed was to give the player's words.
    const std::string text = "언어 팩 " + dir + "을(를) 쓸 수 없어 한국어로 진행합니다.\n" +
                             "The language pack " + dir +
                             " cannot be used, so the game speaks Korean.\n" + problem +
                             "\n(vedo-kit check --lang " + dir + " lists every problem.)";
    platform::ShowMessageBox(text.c_str(), "Vedo Zeza1");
    return;
  }
  gLines = std::move(lines);
  UseArt(art);
}

void ReleaseLanguage() { gLines.clear(); }
