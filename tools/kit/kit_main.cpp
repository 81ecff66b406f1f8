// vedo-kit: format tools for people who make their own data.
//
//   vedo-kit info FILE                 header and figures of a data file
//   vedo-kit unpack-map [--force] city.map DIR   tiles as PNG, ground layer as CSV
//   vedo-kit pack-map DIR city.map               and back
//   vedo-kit unpack-spr [--force] WEAPON.SPR DIR one PNG per frame
//   vedo-kit pack-spr DIR WEAPON.SPR             and back
//   vedo-kit check DIR                 the folder against what the game needs
//   vedo-kit check --lang DIR          a language pack (DATA/lang/NAME) against
//                                      the game
//   vedo-kit sheet DIR OUTDIR          numbered contact sheets of the tiles
//                                      and frames: OUTDIR/tiles.png, frames.png
//
// Exit codes: 0 done (check: no problem), 1 the file or folder has a
// problem, 2 wrong usage.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "kit/check.h"
#include "kit/info.h"
#include "kit/pack.h"
#include "kit/sheet.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: vedo-kit info FILE\n"
               "       vedo-kit unpack-map [--force] MAP DIR | pack-map DIR MAP\n"
               "       vedo-kit unpack-spr [--force] SPR DIR | pack-spr DIR SPR\n"
               "       vedo-kit check DIR | check --lang DIR\n"
               "       vedo-kit sheet DIR OUTDIR\n"
               "--force lets an unpack replace the files of an earlier one in DIR.\n");
  return 2;
}

int Report(bool ok, const std::string& error) {
  if (ok) return 0;
  // Some refusals list several problems, one a line.
  std::size_t start = 0;
  while (start <= error.size()) {
    const std::size_t end = std::min(error.find('\n', start), error.size());
    std::fprintf(stderr, "vedo-kit: %s\n", error.substr(start, end - start).c_str());
    start = end + 1;
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string verb = argv[1];
  std::string error;
  if (verb == "info" && argc == 3) {
    std::string text;
    const bool ok = kit::DescribeFile(argv[2], text, &error);
    if (ok) std::fputs(text.c_str(), stdout);
    return Report(ok, error);
  }
  const bool checkPack = verb == "check" && argc == 4 && std::strcmp(argv[2], "--lang") == 0;
  if ((verb == "check" && argc == 3) || checkPack) {
    const char* dir = argv[argc - 1];
    const std::vector<std::string> problems =
        checkPack ? kit::CheckLanguagePack(dir) : kit::CheckDataFolder(dir);
    for (const std::string& p : problems) std::printf("%s\n", p.c_str());
    if (problems.empty()) {
      std::printf(checkPack ? "%s: the game can use this language pack as it is\n"
                            : "%s: everything the game needs is there\n",
                  dir);
      return 0;
    }
    std::printf("%zu problem%s\n", problems.size(), problems.size() == 1 ? "" : "s");
    return 1;
  }
  if (verb == "unpack-map" || verb == "unpack-spr") {
    const bool force = argc == 5 && std::strcmp(argv[2], "--force") == 0;
    if (argc != 4 + (force ? 1 : 0)) return Usage();
    const char* file = argv[argc - 2];
    const char* dir = argv[argc - 1];
    const bool ok = verb == "unpack-map" ? kit::UnpackMap(file, dir, force, &error)
                                         : kit::UnpackSprites(file, dir, force, &error);
    return Report(ok, error);
  }
  if (argc != 4) return Usage();
  if (verb == "sheet") return Report(kit::WriteSheets(argv[2], argv[3], &error), error);
  if (verb == "pack-map") return Report(kit::PackMap(argv[2], argv[3], &error), error);
  if (verb == "pack-spr") return Report(kit::PackSprites(argv[2], argv[3], &error), error);
  return Usage();
}
