// Writes the generated files into the data folder.
#include <filesystem>

#include "common/png_io.h"
#include "content/datakit.h"

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
  std::vector<OutputFile> pack;
  if (!MakeEnglishPack(pack, error)) return false;
  fs::create_directories(fs::path(dir) / kEnglishPackDir, ec);
  if (ec) {
    if (error != nullptr)
      *error = "cannot create " + dir + "/" + kEnglishPackDir + ": " + ec.message();
    return false;
  }
  // An earlier pack may hold files this one no longer differs in.
  for (const auto& entry : fs::directory_iterator(fs::path(dir) / kEnglishPackDir, ec)) {
    fs::remove(entry.path(), ec);
  }
  for (const OutputFile& f : pack) {
    if (!put(f.name, f.bytes)) return false;
  }
  const Canvas icon = PaintIcon();
  const std::vector<std::uint8_t> bgr = icon.ToBgr();
  return pngio::WritePng((fs::path(dir) / "icon.png").string(),
                         pngio::FromBgr(bgr.data(), icon.W(), icon.H(), icon.W() * 3), error);
}

}  // namespace datakit
