// Writes the generated files into the data folder.
#include <filesystem>

#include "common/png_io.h"
#include "content/datakit.h"
#include "lang/language.h"

namespace datakit {

bool WriteDataFolder(const std::string& dir, std::string* error) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec) {
    if (error != nullptr) *error = "cannot create " + dir + ": " + ec.message();
    return false;
  }
  auto put = [&](const std::string& name, const std::vector<std::uint8_t>& bytes) {
    return kit::WriteFileBytes((fs::path(dir) / name).string(), bytes, error);
  };
  if (!put(kMapFileName, kit::SerializeMap(MakeCityMap()))) return false;
  if (!put(kSpriteFileName, kit::SerializeSprites(MakeSprites()))) return false;
  for (const OutputFile& f : MakePictures()) {
    if (!put(f.name, f.bytes)) return false;
  }
  for (const OutputFile& f : MakeSounds()) {
    if (!put(f.name, f.bytes)) return false;
  }
  if (!put(kMusicFileName, MakeMusic())) return false;
  for (const ShippedLanguage& language : kShippedLanguages) {
    std::vector<OutputFile> pack;
    if (!MakeLanguagePack(language.folder, pack, error)) return false;
    const fs::path folder = fs::path(dir) / kLanguageFolder / language.folder;
    fs::create_directories(folder, ec);
    if (ec) {
      if (error != nullptr) *error = "cannot create " + folder.string() + ": " + ec.message();
      return false;
    }
    // An earlier pack may hold files this one no longer differs in.
    for (const auto& entry : fs::directory_iterator(folder, ec)) fs::remove(entry.path(), ec);
    for (const OutputFile& f : pack) {
      if (!put(f.name, f.bytes)) return false;
    }
  }
  const Canvas icon = PaintIcon();
  const std::vector<std::uint8_t> bgr = icon.ToBgr();
  return pngio::WritePng((fs::path(dir) / "icon.png").string(),
                         pngio::FromBgr(bgr.data(), icon.W(), icon.H(), icon.W() * 3), error);
}

}  // namespace datakit
