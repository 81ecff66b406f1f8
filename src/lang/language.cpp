#include "lang/language.h"

#include <filesystem>
#include <memory>
#include <vector>

#include "gfx/bitmap.h"
#include "gfx/display.h"
#include "gfx/map_file.h"
#include "gfx/text.h"
#include "lang/game_lines.h"
#include "lang/language_pack.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "state/data_contract.h"
#include "state/game_state.h"

std::string gLanguage;

namespace {

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

void UseArt(const std::vector<PackArt>& art) {
  for (const PackArt& a : art) {
    const platform::Image& image = a.image;
    switch (a.kind) {
      case PackArt::Kind::kPicture:
        for (const PictureSlot& slot : kPictureSlots) {
          if (slot.file.name == kPictureFiles[a.index].name) {
            CopyBitmap(*slot.surface, &image, 0, 0, 0, 0);
          }
        }
        break;
      case PackArt::Kind::kTile: {
        // A new surface: tiles past the end of a short map share one.
        auto surface = std::make_shared<platform::Surface>(image.width, image.height);
        CopyTilePixels(surface.get(), image.pixels.data());
        gTileSurfaces[static_cast<std::size_t>(a.index)] = std::move(surface);
        break;
      }
      case PackArt::Kind::kFrame: {
        auto surface = std::make_unique<platform::Surface>(image.width, image.height);
        CopyBitmap(surface.get(), &image, 0, 0, 0, 0);
        SetSurfaceColorKey(surface.get(), 0);
        gSpriteSurfaces[static_cast<std::size_t>(a.index)] = std::move(surface);
        if (a.index < static_cast<int>(gSpriteFrames.size())) {
          gSpriteFrames[static_cast<std::size_t>(a.index)] = {image.width, image.height};
        }
        break;
      }
    }
  }
}

void UseKorean() {
  gLines.clear();
  for (const GameLine& line : GameLines()) gLines.push_back(platform::Utf8ToCp949(line.korean));
  gTextUtf8 = false;
}

}  // namespace

bool LanguageNameValid(std::string_view name) {
  if (name.empty() || name.size() > 16 || name[0] < 'a' || name[0] > 'z') return false;
  for (char c : name) {
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-')) return false;
  }
  return true;
}

const char* GameText(int id) {
  if (gLines.empty()) UseKorean();
  if (id < 0 || id >= static_cast<int>(gLines.size())) return "";
  return gLines[static_cast<std::size_t>(id)].c_str();
}

void UseLanguage() {
  UseKorean();
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
  gTextUtf8 = true;
  UseArt(pack.art);
  if (!pack.stayKorean.empty()) {
    std::string said = dir + ": the pack has no ";
    for (std::size_t i = 0; i < pack.stayKorean.size(); ++i) {
      said += (i == 0 ? "" : i + 1 == pack.stayKorean.size() ? " or " : ", ") + pack.stayKorean[i];
    }
    said += "; the game shows that art in Korean.\n";
    platform::DebugOutput(said.c_str());
  }
}

void ReleaseLanguage() {
  gLines.clear();
  gTextUtf8 = false;
}
