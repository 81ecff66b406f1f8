// The English language pack (lang/en): every line of the game in English,
// and the art whose English words differ from the Korean, painted by the
// same painters.
//
// The English is written to the places the lines show in: each line fits
// the part of its place that can be seen, as the text route draws it, and
// the numbers the window writes over a line land on its blanks. The fight
// pages tell the fight as it happens; the other pages report, in few words,
// what happened. The monsters and weapons keep the names of the
// how-to-play. A rocket's hit costs 70 health and the player usually lives
// through it: its damage is critical, not deadly.
#include <map>

#include "content/datakit.h"
#include "kit/language_template.h"
#include "lang/game_lines.h"
#include "lang/language.h"
#include "lang/language_pack.h"

namespace datakit {
namespace {

// The fight pages share their weapon lines; the damage lines grow from
// slight to deadly as the Korean ones do.
constexpr const char* kKnife = "You use the knife.";
constexpr const char* kHandgun = "You use the handgun.";
constexpr const char* kShotgun = "You use the shotgun.";
constexpr const char* kMagnum = "You use the magnum.";
constexpr const char* kEmpty = "Your gun is out of rounds.";
constexpr const char* kSlight = "You take slight damage.";
constexpr const char* kALot = "You take a lot of damage.";

const std::map<std::string, const char*>& EnglishLines() {
  static const std::map<std::string, const char*> lines = {
      {"zombie.title", "A zombie strikes."},
      {"zombie.knife.2", kKnife},
      {"zombie.knife.3", kSlight},
      {"zombie.handgun.2", kHandgun},
      {"zombie.handgun.3", "5 rounds spent."},
      {"zombie.shotgun.2", kShotgun},
      {"zombie.shotgun.3", "1 round spent."},
      {"zombie.magnum.2", kMagnum},
      {"zombie.magnum.3", "1 round spent."},
      {"zombie.empty.2", kEmpty},
      {"zombie.empty.3", kALot},

      {"hunter.title", "A hunter attacks."},
      {"hunter.knife.2", kKnife},
      {"hunter.knife.3", kALot},
      {"hunter.handgun.2", kHandgun},
      {"hunter.handgun.3", "8 rounds. Slight damage."},
      {"hunter.shotgun.2", kShotgun},
      {"hunter.shotgun.3", "3 rounds spent."},
      {"hunter.magnum.2", kMagnum},
      {"hunter.magnum.3", "1 round spent."},
      {"hunter.empty.2", kEmpty},
      {"hunter.empty.3", "You take heavy damage."},

      {"cerberus.title", "A Cerberus attacks."},
      {"cerberus.knife.2", kKnife},
      {"cerberus.knife.3", kSlight},
      {"cerberus.handgun.2", kHandgun},
      {"cerberus.handgun.3", "6 rounds spent."},
      {"cerberus.shotgun.2", kShotgun},
      {"cerberus.shotgun.3", "2 rounds spent."},
      {"cerberus.magnum.2", kMagnum},
      {"cerberus.magnum.3", "1 round spent."},
      {"cerberus.empty.2", kEmpty},
      {"cerberus.empty.3", kALot},

      {"stalker.title", "Enter the Stalker."},
      {"stalker.knife.2", kKnife},
      {"stalker.knife.3", "You take extreme damage."},
      {"stalker.handgun.2", kHandgun},
      {"stalker.handgun.3", kALot},
      {"stalker.shotgun.2", kShotgun},
      {"stalker.shotgun.3", "5 rounds. Slight damage."},
      {"stalker.magnum.2", kMagnum},
      {"stalker.magnum.3", "3 rounds. You get away."},
      {"stalker.empty.2", kEmpty},
      {"stalker.empty.3", "You take critical damage."},

      {"ammo.1", "Ammo resupply."},
      {"ammo.2", "36 handgun, 14 shotgun,"},
      {"ammo.3", "and 6 magnum rounds."},
      {"ammo.hard.1", "Ammo resupply."},
      {"ammo.hard.2", "24 handgun, 7 shotgun,"},
      {"ammo.hard.3", "and 3 magnum rounds."},

      // The number of files left is written over the first two blanks.
      {"file.1", "  Well done.    "},
      {"file.2", "You found a file."},
      {"file.3", "   left to find."},
      {"spray_found.1", "While searching, you"},
      {"spray_found.2", "found a first-aid spray."},
      {"spray_found.3", "Using it restores full health."},
      {"rocket_dodged.1", "A rocket came in."},
      {"rocket_dodged.2", "It barely missed."},
      {"rocket_dodged.3", "Unhurt. You are safe."},
      {"rocket_hit.1", "An enemy rocket"},
      {"rocket_hit.2", "hit you directly."},
      {"rocket_hit.3", "The damage is critical."},
      {"escaped.1", "   Congratulations."},
      {"escaped.2", "You collected all the files "},
      {"escaped.3", "and got out of here alive."},
      {"revived.1", "By rights you are dead."},
      {"revived.2", "You will be revived."},
      {"revived.3", "1 spray used; half health."},
      {"spray_used.1", "You use 1 spray."},
      {"spray_used.2", "Health is back to FULL."},
      // The number of sprays left is written over the run of blanks.
      {"spray_used.3", "Sprays left:     "},

      {"prologue1.1", " Sept. 28, noon "},
      {"prologue1.2", "Zombies fill the city."},
      {"prologue1.3", "No survivors at all."},
      {"prologue2.1", "But I am still alive."},
      {"prologue2.2", "My last chance to run."},
      {"prologue2.3", "I must find the 5 files."},

      {"hint.count.1", "There is 1."},
      {"hint.count.2", "There are 2."},
      {"hint.count.3", "There are 3."},
      {"hint.count.4", "There are 4."},
      {"hint.count.5", "There are 5."},
      {"hint.count.6", "There are 6."},
      {"hint.count.7", "There are 7."},
      {"hint.x", "X:"},
      {"hint.y", "Y:"},

      {"language.name", "English"},
      {"options.title", "Options"},
      {"options.effects", "Effects"},
      {"options.music", "Music"},
      {"options.mute", "Mute all (M)"},
      {"options.display", "Display"},
      {"options.display.full", "Full screen"},
      {"options.display.window", "Window"},
      {"options.window_size", "Window size"},
      {"options.window_size.auto", "Largest that fits"},
      {"options.scaling", "Scaling"},
      {"options.scaling.fill", "Fill"},
      {"options.scaling.sharp", "Sharp"},
      {"options.language", "Language"},
      {"options.background", "Background sound"},
      {"options.close", "Close (F1)"},
      {"note.screenshot", "Screenshot saved."},
      {"note.screenshot_failed", "The screenshot could not be saved."},
      {"note.settings_damaged", "The settings file was damaged; starting with the defaults."},
      {"note.muted", "Sound off (M)"},
      {"note.unmuted", "Sound on (M)"},
  };
  return lines;
}

// The pack's text: the PO file, a heading that says how to read and check
// it, and each line under its notes.
bool TextFile(std::string& out, std::string* error) {
  const std::map<std::string, const char*>& english = EnglishLines();
  std::string missing;
  out = kit::WritePackText(
      {.comment = "Vedo Zeza1 in English: every line the game writes, for --lang en.\n\n"
                  "Above each line, the notes (#.) say where it shows, how wide it may be in\n"
                  "the text route's pixels and where the game writes a number over it.\n"
                  "`vedo-kit check --lang lang/en` checks the pack; docs/modding.md says more.",
       .language = "en",
       .team = "English",
       .translator = "Vedo Zeza1 developers <vedo-zeza1@developers.invalid>",
       .revised = "2026-01-01 00:00+0000"},
      [&](const GameLine& line) -> std::string {
        const auto it = english.find(line.key);
        if (it != english.end()) return it->second;
        if (missing.empty()) missing = line.key;
        return "";
      });
  if (!missing.empty() && error != nullptr) *error = "the English pack has no line " + missing;
  return missing.empty();
}

kit::Bytes BmpOf(int width, int height, const kit::Bytes& bgr) {
  return kit::MakeBmp24(width, height, bgr);
}

std::string InPack(const std::string& name) { return std::string(kLanguageFolder) + "/en/" + name; }

}  // namespace

bool MakeLanguagePack(const std::string& folder, std::vector<OutputFile>& files,
                      std::string* error) {
  // English is the one language whose words the painters know.
  if (folder != "en") {
    if (error != nullptr) *error = "the data kit has no maker for the language pack " + folder;
    return false;
  }
  std::string text;
  if (!TextFile(text, error)) return false;
  files.push_back({InPack(PackTextName("en")), kit::Bytes(text.begin(), text.end())});

  const std::vector<OutputFile> korean = MakePictures(Language::kKorean);
  const std::vector<OutputFile> english = MakePictures(Language::kEnglish);
  for (std::size_t i = 0; i < korean.size(); ++i) {
    if (english[i].bytes != korean[i].bytes)
      files.push_back({InPack(english[i].name), english[i].bytes});
  }

  const kit::MapFile koMap = MakeCityMap(Language::kKorean);
  const kit::MapFile enMap = MakeCityMap(Language::kEnglish);
  const std::size_t tileBytes = koMap.TileBytes();
  for (int t = 0; t < koMap.tileCount; ++t) {
    const auto from = static_cast<std::ptrdiff_t>(tileBytes * static_cast<std::size_t>(t));
    const kit::Bytes ko(koMap.tiles.begin() + from,
                        koMap.tiles.begin() + from + static_cast<std::ptrdiff_t>(tileBytes));
    const kit::Bytes en(enMap.tiles.begin() + from,
                        enMap.tiles.begin() + from + static_cast<std::ptrdiff_t>(tileBytes));
    if (en != ko) {
      files.push_back({InPack(LanguageTileName(t)), BmpOf(enMap.tileWidth, enMap.tileHeight, en)});
    }
  }

  const kit::SpriteFile koSprites = MakeSprites(Language::kKorean);
  const kit::SpriteFile enSprites = MakeSprites(Language::kEnglish);
  for (std::size_t f = 0; f < koSprites.frames.size(); ++f) {
    const kit::SpriteFrameData& ko = koSprites.frames[f];
    const kit::SpriteFrameData& en = enSprites.frames[f];
    if (en.width == ko.width && en.height == ko.height && en.bgr == ko.bgr) continue;
    files.push_back(
        {InPack(LanguageFrameName(static_cast<int>(f))), BmpOf(en.width, en.height, en.bgr)});
  }
  return true;
}

}  // namespace datakit
