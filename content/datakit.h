// The data generator: every file the game loads, made by code.
//
// Each Make function returns finished file bytes (or the parts of a file);
// nothing here touches the disk except WriteDataFolder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/canvas.h"
#include "kit/formats.h"
#include "state/data_contract.h"

namespace datakit {

// The language of the words painted into the art. Korean is the game's
// own; English goes into the English language pack.
enum class Language { kKorean, kEnglish };

struct OutputFile {
  std::string name;
  std::vector<std::uint8_t> bytes;
};

// The city, 1000 x 720 pixels: the 25 x 18 cells under the playing field.
// `roofs` receives, per cell, whether the cell lies on a building's roof.
Canvas PaintCity(std::vector<bool>* roofs);
// The status panel, 640 x 120 pixels, as the screen shows it at y 360.
Canvas PaintPanel(Language language = Language::kKorean);
// Opened cells, 40 x 40: a count from 0 to 7, or a taken or beaten cell.
enum class OpenedKind {
  kCount,
  kFileTaken,
  kHunterBeaten,
  kAmmoTaken,
  kSprayTaken,
  kStalkerBeaten
};
Canvas PaintOpenedCell(OpenedKind kind, int count = 0);
// The ending picture, 640 x 480.
Canvas PaintEnding();
// The options panel's picture, with its parts below the panel.
Canvas PaintOptionsPanel();

kit::MapFile MakeCityMap(Language language = Language::kKorean);
kit::SpriteFile MakeSprites(Language language = Language::kKorean);
std::vector<OutputFile> MakePictures(Language language = Language::kKorean);
std::vector<OutputFile> MakeSounds();
std::vector<std::uint8_t> MakeMusic();
// The desktop icon, 128 x 128 (written as PNG), or the same drawing at
// another size; transparent around its rounded square (the canvas's alpha).
Canvas PaintIcon(int size = 128);
// The Windows program icon: the desktop icon drawn at 16, 24, 32, 48 and
// 256 pixels, as the bytes of an .ico file.
std::vector<std::uint8_t> MakeWindowsIcon();

// A language pack the release ships (kShippedLanguages, lang/language.h),
// its files named as they lie in the data folder (lang/en/en.po, ...): its
// text and the art whose words differ from the Korean. False, with the
// reason, when the kit has no maker for the language or its lines leave out
// a line of the game.
bool MakeLanguagePack(const std::string& folder, std::vector<OutputFile>& files,
                      std::string* error);

// Writes every file into `dir` (made if missing). False with a reason.
bool WriteDataFolder(const std::string& dir, std::string* error);

}  // namespace datakit
