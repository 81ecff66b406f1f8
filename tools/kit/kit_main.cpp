// vedo-kit: format tools for people who make their own data.
//
//   vedo-kit info FILE                 header and figures of a data file
//   vedo-kit unpack-map [--force] city.map DIR   tiles as PNG, ground layer as CSV
//   vedo-kit pack-map DIR city.map               and back
//   vedo-kit unpack-spr [--force] WEAPON.SPR DIR one PNG per frame
//   vedo-kit pack-spr DIR WEAPON.SPR             and back
//   vedo-kit check DIR                 the folder against what the game needs
//   vedo-kit check --lang DIR          a language pack (DATA/lang/NAME) against
//                                      the game, each fault marked as refusing
//                                      the pack or cosmetic
//   vedo-kit template [FILE]           the template of a language pack's text,
//                                      vedo-zeza1.pot unless FILE is named
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
#include "kit/language_template.h"
#include "kit/pack.h"
#include "kit/sheet.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: vedo-kit info FILE\n"
               "       vedo-kit unpack-map [--force] MAP DIR | pack-map DIR MAP\n"
               "       vedo-kit unpack-spr [--force] SPR DIR | pack-spr DIR SPR\n"
               "       vedo-kit check DIR | check --lang DIR\n"
               "       vedo-kit template [FILE]\n"
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

// Every fault, marked; then what the game does with the pack.
int CheckPack(const char* dir) {
  const LanguagePack pack = kit::CheckLanguagePack(dir);
  std::size_t refusing = pack.faultCount - pack.faults.size();
  for (const PackFault& f : pack.faults) {
    std::printf("%s: %s\n", f.refuses ? "refuses the pack" : "cosmetic", f.Describe().c_str());
    refusing += f.refuses ? 1 : 0;
  }
  if (pack.faultCount > pack.faults.size()) {
    std::printf("refuses the pack: and %zu more faults of the text, not listed\n",
                pack.faultCount - pack.faults.size());
  }
  const std::size_t cosmetic = pack.faultCount - refusing;
  const auto faults = [](std::size_t n) {
    return std::to_string(n) + (n == 1 ? " fault" : " faults");
  };
  if (refusing > 0) {
    std::printf("%s: %zu refus%s the pack, %zu cosmetic; the game speaks Korean with it\n",
                faults(pack.faultCount).c_str(), refusing, refusing == 1 ? "es" : "e", cosmetic);
  } else if (cosmetic > 0) {
    std::printf("%s, all cosmetic: the game uses the pack, and they show\n",
                faults(cosmetic).c_str());
  } else {
    std::printf("%s: the game uses this language pack as it is\n", dir);
  }
  return pack.faultCount == 0 ? 0 : 1;
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
  if (verb == "check" && argc == 4 && std::strcmp(argv[2], "--lang") == 0) {
    return CheckPack(argv[3]);
  }
  if (verb == "check" && argc == 3) {
    const std::vector<std::string> problems = kit::CheckDataFolder(argv[2]);
    for (const std::string& p : problems) std::printf("%s\n", p.c_str());
    if (problems.empty()) {
      std::printf("%s: everything the game needs is there\n", argv[2]);
      return 0;
    }
    std::printf("%zu problem%s\n", problems.size(), problems.size() == 1 ? "" : "s");
    return 1;
  }
  if (verb == "template" && argc <= 3) {
    const std::string file = argc == 3 ? argv[2] : kit::kTemplateName;
    const std::string text = kit::WritePackText(
        {.comment = "The lines of Vedo Zeza1, for a translation: a language pack's text.\n"
                    "docs/modding.md, \"Adding a language\", says how to make one.",
         .language = {},
         .team = {},
         .translator = {},
         .revised = {}},
        [](const GameLine&) { return std::string(); });
    const bool ok = kit::WriteFileBytes(file, kit::Bytes(text.begin(), text.end()), &error);
    if (ok) std::printf("%s: the template of a language pack's text\n", file.c_str());
    return Report(ok, error);
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
