// vedo-datakit OUTDIR: writes every data file the game loads into OUTDIR.
//
//   vedo-datakit OUTDIR            the data folder
//   vedo-datakit --sheets OUTDIR   the data folder in OUTDIR/data and PNG
//                                  pictures of the city, the panel, the
//                                  ending, the opened cells and all sprite
//                                  frames
//   vedo-datakit --windows-icon FILE  the Windows program's icon (.ico),
//                                  which its resources take
//
// The screens themselves, drawn by the game's own scenes over the data, come
// from content/screenshots.sh.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "common/png_io.h"
#include "content/datakit.h"

namespace {

bool WriteSheet(const std::string& dir, const char* name, const datakit::Canvas& canvas) {
  const std::vector<std::uint8_t> bgr = canvas.ToBgr();
  std::string error;
  const std::string path = (std::filesystem::path(dir) / name).string();
  if (!pngio::WritePng(path, pngio::FromBgr(bgr.data(), canvas.W(), canvas.H(), canvas.W() * 3),
                       &error)) {
    std::fprintf(stderr, "vedo-datakit: %s\n", error.c_str());
    return false;
  }
  return true;
}

int Sheets(const std::string& dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  bool ok = WriteSheet(dir, "city.png", datakit::PaintCity(nullptr));
  ok = WriteSheet(dir, "panel.png", datakit::PaintPanel()) && ok;
  ok = WriteSheet(dir, "ending.png", datakit::PaintEnding()) && ok;
  datakit::Canvas cells(13 * 44, 44, datakit::Hex(0x303030));
  for (int n = 0; n < 8; ++n) {
    cells.Paste(datakit::PaintOpenedCell(datakit::OpenedKind::kCount, n), 2 + 44 * n, 2);
  }
  const datakit::OpenedKind kinds[5] = {
      datakit::OpenedKind::kFileTaken, datakit::OpenedKind::kHunterBeaten,
      datakit::OpenedKind::kAmmoTaken, datakit::OpenedKind::kSprayTaken,
      datakit::OpenedKind::kStalkerBeaten};
  for (int k = 0; k < 5; ++k) cells.Paste(datakit::PaintOpenedCell(kinds[k]), 2 + 44 * (8 + k), 2);
  ok = WriteSheet(dir, "cells.png", cells) && ok;
  // Every sprite frame over a grey ground (black is transparent), in rows
  // of frames in file order.
  const kit::SpriteFile sprites = datakit::MakeSprites();
  datakit::Canvas sheet(1000, 620, datakit::Hex(0x506070));
  int x = 4, y = 4, rowH = 0;
  for (const kit::SpriteFrameData& f : sprites.frames) {
    if (x + f.width > 996) {
      x = 4;
      y += rowH + 6;
      rowH = 0;
    }
    for (int py = 0; py < f.height; ++py) {
      for (int px = 0; px < f.width; ++px) {
        const std::uint8_t* p = f.bgr.data() + 3 * (py * f.width + px);
        if ((p[0] | p[1] | p[2]) == 0 || !sheet.Inside(x + px, y + py)) continue;
        sheet.At(x + px, y + py) = {float(p[2]), float(p[1]), float(p[0])};
      }
    }
    x += f.width + 6;
    rowH = std::max(rowH, f.height);
  }
  ok = WriteSheet(dir, "sprites.png", sheet) && ok;
  std::string error;
  const std::string data = (std::filesystem::path(dir) / "data").string();
  if (!datakit::WriteDataFolder(data, &error)) {
    std::fprintf(stderr, "vedo-datakit: %s\n", error.c_str());
    return 1;
  }
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--sheets") == 0) return Sheets(argv[2]);
  std::string error;
  if (argc == 3 && std::strcmp(argv[1], "--windows-icon") == 0) {
    if (!kit::WriteFileBytes(argv[2], datakit::MakeWindowsIcon(), &error)) {
      std::fprintf(stderr, "vedo-datakit: %s\n", error.c_str());
      return 1;
    }
    return 0;
  }
  if (argc != 2 || argv[1][0] == '-') {
    std::fprintf(stderr, "usage: vedo-datakit OUTDIR | --sheets OUTDIR | --windows-icon FILE\n");
    return 2;
  }
  if (!datakit::WriteDataFolder(argv[1], &error)) {
    std::fprintf(stderr, "vedo-datakit: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
