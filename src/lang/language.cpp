#include "lang/language.h"

#include <algorithm>
#include <filesystem>
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

std::string gInUse = kBuiltInLanguage;

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

// The built-in art a pack has put something in place of, kept so that
// another language can be put in use while the game runs.
struct KeptArt {
  std::vector<std::pair<platform::Surface*, std::vector<std::uint8_t>>> pictures;
  std::vector<std::pair<int, std::shared_ptr<platform::Surface>>> tiles;
  std::vector<std::pair<int, std::unique_ptr<platform::Surface>>> frames;
  std::vector<std::pair<int, SpriteFrame>> frameSizes;
};
KeptArt gKept;

// Puts the built-in art back where a pack had replaced it.
void RestoreBuiltInArt() {
  for (auto& [surface, pixels] : gKept.pictures) {
    std::copy(pixels.begin(), pixels.end(), surface->Pixels());
  }
  for (auto& [tile, surface] : gKept.tiles) {
    gTileSurfaces[static_cast<std::size_t>(tile)] = std::move(surface);
  }
  for (auto& [frame, surface] : gKept.frames) {
    gSpriteSurfaces[static_cast<std::size_t>(frame)] = std::move(surface);
  }
  for (const auto& [frame, size] : gKept.frameSizes) {
    gSpriteFrames[static_cast<std::size_t>(frame)] = size;
  }
  gKept = KeptArt{};
}

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
  for (const auto& [surface, image] : art.pictures) {
    gKept.pictures.emplace_back(
        surface,
        std::vector<std::uint8_t>(surface->Pixels(), surface->Pixels() + surface->ByteSize()));
    CopyBitmap(surface, &image, 0, 0, 0, 0);
  }
  for (const auto& [tile, image] : art.tiles) {
    // A new surface: tiles past the end of a short map share one.
    auto surface = std::make_shared<platform::Surface>(image.width, image.height);
    CopyTilePixels(surface.get(), image.pixels.data());
    auto& slot = gTileSurfaces[static_cast<std::size_t>(tile)];
    gKept.tiles.emplace_back(tile, std::move(slot));
    slot = std::move(surface);
  }
  for (const auto& [frame, image] : art.frames) {
    auto surface = std::make_unique<platform::Surface>(image.width, image.height);
    CopyBitmap(surface.get(), &image, 0, 0, 0, 0);
    SetSurfaceColorKey(surface.get(), 0);
    auto& slot = gSpriteSurfaces[static_cast<std::size_t>(frame)];
    gKept.frames.emplace_back(frame, std::move(slot));
    slot = std::move(surface);
    if (frame < static_cast<int>(gSpriteFrames.size())) {
      auto& size = gSpriteFrames[static_cast<std::size_t>(frame)];
      gKept.frameSizes.emplace_back(frame, size);
      size = {image.width, image.height};
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
  RestoreBuiltInArt();
  UseKorean();
  gInUse = kBuiltInLanguage;
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
  gInUse = gLanguage;
}

const std::string& LanguageInUse() { return gInUse; }

bool LanguageAtHand(const std::string& name) {
  return name.empty() || name == kBuiltInLanguage ||
         (LanguageNameValid(name) &&
          Exists(std::string(kLanguageFolder) + "/" + name + "/" + kLanguageTextName));
}

std::vector<LanguageChoice> LanguageChoices() {
  static const int kNameLine = GameLineId("language.name");
  std::vector<LanguageChoice> choices;
  for (const GameLine& line : GameLines()) {
    if (line.key == "language.name") choices.push_back({kBuiltInLanguage, line.korean});
  }
  std::vector<std::string> folders;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(kLanguageFolder, ec)) {
    const std::string name = entry.path().filename().string();
    if (LanguageNameValid(name) && name != kBuiltInLanguage && entry.is_directory(ec)) {
      folders.push_back(name);
    }
  }
  std::sort(folders.begin(), folders.end());
  for (const std::string& folder : folders) {
    // The packs the game is shipped with are known by their own names even
    // where their text has not been fetched (the page's).
    LanguageChoice choice{folder, folder == "en" ? "English" : folder};
    std::vector<std::uint8_t> bytes;
    const std::string path = std::string(kLanguageFolder) + "/" + folder + "/" + kLanguageTextName;
    if (platform::ReadFileBytes(path.c_str(), bytes, kLanguageTextMaxBytes) ==
        platform::FileRead::kOk) {
      const LanguageText text = ReadLanguageText(
          std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
          GameLanguageKeys());
      const auto at = static_cast<std::size_t>(kNameLine);
      if (at < text.usable.size() && text.usable[at] && !text.lines[at].empty()) {
        choice.ownName = text.lines[at];
      }
    }
    choices.push_back(std::move(choice));
  }
  return choices;
}

void ReleaseLanguage() {
  gLines.clear();
  gKept = KeptArt{};
}
