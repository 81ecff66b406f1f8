// The kit's own readers, the way pack-map and pack-spr meet a modder's
// files: the first byte picks which file of an unpacked folder the rest of
// the input replaces (the ground CSV, a tile or frame PNG, or a description),
// and the folder is packed. The other files stay those of a small good
// folder, so every input reaches the reader it is meant for.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "kit/formats.h"
#include "kit/pack.h"

namespace {

namespace fs = std::filesystem;

struct Folder {
  fs::path root;
  fs::path map;     // unpacked map
  fs::path sprite;  // unpacked sprites
};

const Folder& Scratch() {
  static const Folder folder = [] {
    Folder f;
    f.root = fs::temp_directory_path() / ("vedo-kit-fuzz-" + std::to_string(getpid()));
    f.map = f.root / "map";
    f.sprite = f.root / "spr";
    fs::create_directories(f.root);
    std::atexit([] {
      std::error_code ec;
      fs::remove_all(Scratch().root, ec);
    });
    kit::MapFile m;
    kit::SetMapTag(m);
    m.tileCount = 2;
    m.tileWidth = 2;
    m.tileHeight = 2;
    m.cols = kMapMinCols;
    m.rows = kMapMinRows;
    for (int i = 0; i < m.cols * m.rows; ++i) m.cells.push_back(i % 3 == 2 ? -1 : i % 2);
    m.tiles.assign(2 * 2 * 2 * 3, 0x40);
    kit::SpriteFile s;
    kit::SetSpriteTag(s);
    s.frames.push_back({2, 2, kit::Bytes(12, 0x80)});
    s.frames.push_back({3, 1, kit::Bytes(9, 0x20)});
    std::string error;
    kit::WriteFileBytes((f.root / "in.map").string(), kit::SerializeMap(m), &error);
    kit::WriteFileBytes((f.root / "in.spr").string(), kit::SerializeSprites(s), &error);
    kit::UnpackMap((f.root / "in.map").string(), f.map.string(), true, &error);
    kit::UnpackSprites((f.root / "in.spr").string(), f.sprite.string(), true, &error);
    return f;
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const Folder& f = Scratch();
  const kit::Bytes body(data + 1, data + size);
  const int which = data[0] % 5;
  const fs::path targets[5] = {f.map / "ground.csv", f.map / "tiles" / "tile_0001.png",
                               f.map / "map.txt", f.sprite / "frames" / "frame_000.png",
                               f.sprite / "sprites.txt"};
  const fs::path& target = targets[which];
  kit::Bytes saved;
  std::string error;
  if (!kit::ReadFileBytes(target.string(), saved, &error)) return 0;
  if (!kit::WriteFileBytes(target.string(), body, &error)) return 0;
  if (which < 3) {
    kit::PackMap(f.map.string(), (f.root / "out.map").string(), &error);
  } else {
    kit::PackSprites(f.sprite.string(), (f.root / "out.spr").string(), &error);
  }
  kit::WriteFileBytes(target.string(), saved, &error);
  return 0;
}
