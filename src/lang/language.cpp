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
#include "lang/language_pack.h"
#include "platform/draw/text_draw.h"
#include "platform/platform.h"
#include "state/data_contract.h"
#include "state/game_state.h"

std::string gLanguage;

namespace {

std::string gInUse = kBuiltInLanguage;

// Every line in the language in use, by id: CP949 for Korean, UTF-8 for a
// pack.
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

void UseArt(const std::vector<PackArt>& art) {
  for (const PackArt& a : art) {
    const platform::Image& image = a.image;
    switch (a.kind) {
      case PackArt::Kind::kPicture:
        for (const PictureSlot& slot : kPictureSlots) {
          if (slot.file.name == kPictureFiles[a.index].name) {
            platform::Surface* surface = *slot.surface;
            gKept.pictures.emplace_back(
                surface, std::vector<std::uint8_t>(surface->Pixels(),
                                                   surface->Pixels() + surface->ByteSize()));
            CopyBitmap(surface, &image, 0, 0, 0, 0);
          }
        }
        break;
      case PackArt::Kind::kTile: {
        // A new surface: tiles past the end of a short map share one.
        auto surface = std::make_shared<platform::Surface>(image.width, image.height);
        CopyTilePixels(surface.get(), image.pixels.data());
        auto& slot = gTileSurfaces[static_cast<std::size_t>(a.index)];
        gKept.tiles.emplace_back(a.index, std::move(slot));
        slot = std::move(surface);
        break;
      }
      case PackArt::Kind::kFrame: {
        auto surface = std::make_unique<platform::Surface>(image.width, image.height);
        CopyBitmap(surface.get(), &image, 0, 0, 0, 0);
        SetSurfaceColorKey(surface.get(), 0);
        auto& slot = gSpriteSurfaces[static_cast<std::size_t>(a.index)];
        gKept.frames.emplace_back(a.index, std::move(slot));
        slot = std::move(surface);
        if (a.index < static_cast<int>(gSpriteFrames.size())) {
          auto& size = gSpriteFrames[static_cast<std::size_t>(a.index)];
          gKept.frameSizes.emplace_back(a.index, size);
          size = {image.width, image.height};
        }
        break;
      }
    }
  }
}

// The pack's text file in its folder.
std::string PackTextPath(const std::string& name) {
  return std::string(kLanguageFolder) + "/" + name + "/" + PackTextName(name);
}

void UseKorean() {
  gLines.clear();
  for (const GameLine& line : GameLines()) gLines.push_back(platform::Utf8ToCp949(line.korean));
  platform::gTextUtf8 = false;
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
  // In Korean too: the pack that failed was to give the player's words.
  const auto refuse = [&dir](const std::string& why) {
    const std::string text = "언어 팩 " + dir + "을(를) 쓸 수 없어 한국어로 진행합니다.\n" +
                             "The language pack " + dir +
                             " cannot be used, so the game speaks Korean.\n" + why;
    platform::ShowMessageBox(text.c_str(), "Vedo Zeza1");
  };
  if (!LanguageNameValid(gLanguage)) {
    refuse("\"" + gLanguage + "\" is no language name");
    return;
  }
  const PackBase base{gTileWidth, gTileHeight, static_cast<int>(gTileSurfaces.size()),
                      static_cast<int>(gSpriteSurfaces.size())};
  LanguagePack pack = ReadLanguagePack(dir, base);
  if (!pack.Usable()) {
    std::vector<const PackFault*> refusing;
    for (const PackFault& f : pack.faults) {
      if (f.refuses) refusing.push_back(&f);
    }
    const std::size_t more = pack.faultCount - pack.faults.size() + refusing.size() - 1;
    const PackFault& first = *refusing.front();
    std::string why = (first.file == dir ? "" : dir) + first.Describe() +
                      (more > 0 ? " (and " + std::to_string(more) + " more)" : "");
    std::error_code ec;
    if (std::filesystem::is_directory(dir, ec)) {
      // Where the kit finds the pack from anywhere: the data folder's own
      // path, which may have any name (so UTF-8, not the system's code page).
      const std::u8string where = std::filesystem::absolute(dir, ec).u8string();
      why += "\n(vedo-kit check --lang " + std::string(where.begin(), where.end()) +
             " lists every fault.)";
    }
    refuse(why);
    return;
  }
  gLines = std::move(pack.lines);
  platform::gTextUtf8 = true;
  UseArt(pack.art);
  gInUse = gLanguage;
  if (!pack.stayKorean.empty()) {
    std::string said = dir + ": the pack has no ";
    for (std::size_t i = 0; i < pack.stayKorean.size(); ++i) {
      said += (i == 0 ? "" : i + 1 == pack.stayKorean.size() ? " or " : ", ") + pack.stayKorean[i];
    }
    said += "; the game shows that art in Korean.\n";
    platform::DebugOutput(said.c_str());
  }
}

const std::string& LanguageInUse() { return gInUse; }

bool LanguageAtHand(const std::string& name) {
  std::error_code ec;
  return name.empty() || name == kBuiltInLanguage ||
         (LanguageNameValid(name) && std::filesystem::is_regular_file(PackTextPath(name), ec));
}

std::vector<LanguageChoice> LanguageChoices() {
  static const int kNameLine = GameLineId("language.name");
  std::vector<LanguageChoice> choices;
  choices.push_back({kBuiltInLanguage, GameLines()[static_cast<std::size_t>(kNameLine)].korean});
  for (const std::string& folder : LanguagePacksIn(kLanguageFolder)) {
    // The packs the game is shipped with are known by their own names even
    // where their text has not been fetched (the page's).
    LanguageChoice choice{folder, folder};
    for (const ShippedLanguage& shipped : kShippedLanguages) {
      if (folder == shipped.folder) choice.ownName = shipped.name;
    }
    std::vector<std::uint8_t> bytes;
    if (platform::ReadFileBytes(PackTextPath(folder).c_str(), bytes, kLanguageTextMaxBytes) ==
        platform::FileRead::kOk) {
      LanguagePack pack;
      ReadPackText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                   PackTextName(folder), pack);
      const auto at = static_cast<std::size_t>(kNameLine);
      if (at < pack.lines.size() && !pack.lines[at].empty()) choice.ownName = pack.lines[at];
    }
    choices.push_back(std::move(choice));
  }
  return choices;
}

void ReleaseLanguage() {
  gLines.clear();
  gKept = KeptArt{};
  platform::gTextUtf8 = false;
}
