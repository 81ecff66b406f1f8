#include "lang/language_pack.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "formats/file_bytes.h"
#include "formats/language_text.h"
#include "lang/game_lines.h"
#include "lang/language.h"
#include "platform/draw/text_draw.h"
#include "state/data_contract.h"

namespace {

namespace fs = std::filesystem;

// Paths are UTF-8 throughout the program; a path's own narrow form would be
// the system's code page on Windows, where a file may have any name.
fs::path PathOf(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}
std::string NameOf(const fs::path& path) {
  const std::u8string name = path.filename().u8string();
  return std::string(name.begin(), name.end());
}

int Width(const std::string& utf8) { return platform::TextWidthUtf8(utf8.c_str()); }

// Every character of the text the route cannot draw, each once, named; and
// the count of its characters.
std::string Undrawable(std::string_view text, int& characters) {
  std::vector<char32_t> bad;
  characters = 0;
  for (std::size_t at = 0; at < text.size(); ++characters) {
    char32_t c = 0;
    if (!platform::NextUtf8Character(text, at, c)) return "";  // the reader said so
    const bool control = c < 0x20 || (c >= 0x7F && c < 0xA0);
    if ((control || !platform::TextDrawsCharacter(c)) &&
        std::find(bad.begin(), bad.end(), c) == bad.end()) {
      bad.push_back(c);
    }
  }
  std::string out;
  for (std::size_t i = 0; i < bad.size(); ++i) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(bad[i]));
    const bool control = bad[i] < 0x20 || (bad[i] >= 0x7F && bad[i] < 0xA0);
    out += (i == 0                ? ""
            : i + 1 == bad.size() ? " and "
                                  : ", ") +
           (control ? std::string("a control character") : "\"" + platform::Utf8Of(bad[i]) + "\"") +
           " (" + code + ")";
  }
  return out;
}

// The pixel spans of the line's runs of blanks.
std::vector<std::pair<int, int>> BlankRuns(const std::string& utf8) {
  std::vector<std::pair<int, int>> runs;
  std::size_t at = 0;
  while (at < utf8.size()) {
    if (utf8[at] != ' ') {
      char32_t c = 0;
      if (!platform::NextUtf8Character(utf8, at, c)) ++at;
      continue;
    }
    std::size_t end = at;
    while (end < utf8.size() && utf8[end] == ' ') ++end;
    runs.emplace_back(Width(utf8.substr(0, at)), Width(utf8.substr(0, end)));
    at = end;
  }
  return runs;
}

// Where a number written over the line hides letters: empty when it falls
// on blanks.
std::string NumberFault(const GameLine& line, const std::string& text) {
  const NumberOverLine& number = line.number;
  if (number.format == nullptr) return "";
  const int end = NumberEnd(line);
  const auto runs = BlankRuns(text);
  if (std::any_of(runs.begin(), runs.end(),
                  [&](const auto& run) { return run.first <= number.dx && run.second >= end; })) {
    return "";
  }
  return std::string(number.what) + " (\"" + number.format + "\") are written over pixels " +
         std::to_string(number.dx) + " to " + std::to_string(end - 1) +
         " of the line, which must all be blanks";
}

// A number in a pack's file name, as LanguageTileName or LanguageFrameName
// writes it; -1 for any other name.
int NumberIn(const std::string& name, const std::string& prefix, int digits,
             std::string (*write)(int)) {
  if (name.size() != prefix.size() + static_cast<std::size_t>(digits) + 4 ||
      name.rfind(prefix, 0) != 0) {
    return -1;
  }
  const int n = std::atoi(name.c_str() + prefix.size());
  return write(n) == name ? n : -1;
}

std::string Size(long long width, long long height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

class PackReader {
 public:
  PackReader(const std::string& dir, const PackBase& base, LanguagePack& pack)
      : dir_(dir), base_(base), pack_(pack) {}

  void Fault(const std::string& file, std::string text, bool refuses) {
    pack_.faults.push_back({file, 0, std::move(text), refuses});
    ++pack_.faultCount;
  }

  // A picture of the pack that must be width x height (or, with `anySize`,
  // at most that). Its size is read from its headers first, so that nothing
  // larger is ever allocated for it.
  void Art(const std::string& name, PackArt::Kind kind, int index, int width, int height,
           bool anySize) {
    const std::string path = dir_ + name;
    long long w = 0;
    long long h = 0;
    if (!platform::BmpFileSize(path.c_str(), w, h)) {
      Fault(name, "not a BMP picture", true);
      return;
    }
    h = h < 0 ? -h : h;
    const bool fits =
        anySize ? w >= 1 && h >= 1 && w <= width && h <= height : w == width && h == height;
    if (!fits) {
      Fault(name,
            Size(w, h) + " pixels; the game needs " + (anySize ? "at most " : "") +
                Size(width, height),
            true);
      return;
    }
    PackArt art{kind, index, {}};
    std::string why = "not a picture the game can read";
    if (!platform::LoadBmpFile(path.c_str(), art.image, &why)) {
      Fault(name, why, true);
      return;
    }
    pack_.art.push_back(std::move(art));
  }

  // Whether the game's map or sprite file (`base`, holding `count` of
  // `what`, or an unknown count when negative) has number n; a fault if not.
  bool InBase(const std::string& name, int n, int count, const char* base, const char* what) {
    if (count < 0 || n < count) return true;
    Fault(name,
          std::string(base) + " has no " + what + " " + std::to_string(n) + "; its " + what +
              "s are numbered 0 to " + std::to_string(count - 1) +
              ", and the game does not look at it",
          false);
    return false;
  }

  void File(const std::string& name) {
    for (std::size_t i = 0; i < std::size(kPictureFiles); ++i) {
      if (name != kPictureFiles[i].name) continue;
      Art(name, PackArt::Kind::kPicture, static_cast<int>(i), kPictureFiles[i].width,
          kPictureFiles[i].height, false);
      return;
    }
    if (const int tile = NumberIn(name, "tile_", 4, LanguageTileName); tile >= 0) {
      if (InBase(name, tile, base_.tileCount, "the map", "tile")) {
        Art(name, PackArt::Kind::kTile, tile, base_.tileWidth, base_.tileHeight, false);
      }
      return;
    }
    if (const int frame = NumberIn(name, "frame_", 3, LanguageFrameName); frame >= 0) {
      if (InBase(name, frame, base_.frameCount, "the sprite file", "frame")) {
        Art(name, PackArt::Kind::kFrame, frame, kScreenWidth, kScreenHeight, true);
      }
      return;
    }
    pack_.otherFiles.push_back(name);
    Fault(name,
          "not a file of a language pack (its .po file, the pictures by their names, "
          "tile_NNNN.bmp, frame_NNN.bmp); the game does not look at it",
          false);
  }

  // The art with words the pack does not hold stays Korean.
  void Missing(const std::vector<std::string>& names) {
    const auto holds = [&](const std::string& name) {
      return std::find(names.begin(), names.end(), name) != names.end();
    };
    std::vector<std::string> wanted(std::begin(kPicturesWithWords), std::end(kPicturesWithWords));
    for (int tile : kTilesWithWords) {
      if (base_.tileCount < 0 || tile < base_.tileCount) wanted.push_back(LanguageTileName(tile));
    }
    for (int frame : kFramesWithWords) {
      if (base_.frameCount < 0 || frame < base_.frameCount) {
        wanted.push_back(LanguageFrameName(frame));
      }
    }
    for (const std::string& name : wanted) {
      if (holds(name)) continue;
      pack_.stayKorean.push_back(name);
      Fault(name, "missing: the game shows this art with its Korean words", false);
    }
  }

 private:
  const std::string& dir_;
  const PackBase& base_;
  LanguagePack& pack_;
};

}  // namespace

int NumberEnd(const GameLine& line) {
  const NumberOverLine& number = line.number;
  int end = number.dx;
  for (int v = number.lowest; number.format != nullptr && v <= number.highest; ++v) {
    char digits[32];
    std::snprintf(digits, sizeof digits, number.format, v);
    end = std::max(end, number.dx + platform::TextWidthCp949(digits));
  }
  return end;
}

std::string PackFault::Describe() const {
  return file + (line > 0 ? ": line " + std::to_string(line) : "") + ": " + text;
}

bool LanguagePack::Usable() const {
  return std::none_of(faults.begin(), faults.end(), [](const PackFault& f) { return f.refuses; });
}

void ReadPackText(std::string_view bytes, const std::string& file, LanguagePack& pack) {
  const std::vector<GameLine>& game = GameLines();
  pack.lines.assign(game.size(), "");
  std::vector<int> given(game.size(), 0);
  const PoFile po = ReadPoFile(bytes);
  const auto fault = [&](int line, std::string text, bool refuses) {
    pack.faults.push_back({file, line, std::move(text), refuses});
    ++pack.faultCount;
  };
  bool whole = true;
  for (const PoFault& f : po.faults) {
    fault(f.line, f.text, true);
    whole = whole && f.line > 0;
  }
  pack.faultCount += po.faultCount - po.faults.size();

  for (const PoEntry& entry : po.entries) {
    if (!entry.hasContext) {
      fault(entry.line,
            "an entry without msgctxt; the game finds its lines by their keys, msgctxt \"KEY\"",
            true);
      continue;
    }
    const int id = GameLineId(entry.context);
    if (id < 0) {
      fault(entry.line, "unknown key " + entry.context, true);
      continue;
    }
    const auto slot = static_cast<std::size_t>(id);
    const GameLine& line = game[slot];
    if (given[slot] != 0) {
      fault(entry.line,
            line.key + " is given again (first on line " + std::to_string(given[slot]) + ")", true);
      continue;
    }
    given[slot] = entry.line;
    if (entry.broken) continue;  // its own fault says why
    if (entry.text.empty()) {
      fault(entry.line, line.key + " is not translated (its msgstr is empty)", true);
      continue;
    }
    int characters = 0;
    if (const std::string bad = Undrawable(entry.text, characters); !bad.empty()) {
      fault(entry.line, line.key + " has " + bad + ", which the glyph atlas cannot draw", true);
      continue;
    }
    if (characters > kLanguageLineMaxCharacters) {
      fault(entry.line,
            line.key + " is longer than " + std::to_string(kLanguageLineMaxCharacters) +
                " characters",
            true);
      continue;
    }
    pack.lines[slot] = entry.text;
    if (entry.fuzzy) {
      fault(entry.line,
            line.key +
                " is flagged fuzzy: the game shows it, but a translator's tool asks for "
                "it to be looked at again",
            false);
    }
    if (entry.id != line.korean) {
      fault(entry.line,
            line.key + " was translated from \"" + entry.id + "\"; the Korean line is now \"" +
                line.korean + "\"",
            false);
    }
    if (const int width = Width(entry.text); width > line.box) {
      fault(entry.line,
            line.key + " is " + std::to_string(width) + " pixels wide; its place (" + line.where +
                ") shows " + std::to_string(line.box),
            false);
    }
    if (const std::string numbers = NumberFault(line, entry.text); !numbers.empty()) {
      fault(entry.line, line.key + ": " + numbers, false);
    }
  }
  // A file that could not be read at all has no missing keys to report.
  if (!whole) return;
  for (std::size_t id = 0; id < game.size(); ++id) {
    if (given[id] == 0) fault(0, game[id].key + " is missing (" + game[id].where + ")", true);
  }
}

LanguagePack ReadLanguagePack(const std::string& dir, const PackBase& base) {
  LanguagePack pack;
  PackReader reader(dir, base, pack);
  std::error_code ec;
  const fs::path folder = PathOf(dir).parent_path();
  const std::string name = NameOf(folder);
  if (!fs::is_directory(folder, ec)) {
    const std::u8string lang = folder.parent_path().u8string();
    const std::vector<std::string> packs = LanguagePacksIn(std::string(lang.begin(), lang.end()));
    std::string here = "the data folder has none";
    for (std::size_t i = 0; i < packs.size(); ++i) {
      here = (i == 0 ? "the packs here: " : here + ", ") + packs[i];
    }
    reader.Fault(dir, "no such language pack; " + here, true);
    return pack;
  }
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    if (static_cast<int>(names.size()) == kLanguagePackMaxEntries) {
      reader.Fault(dir,
                   "more than " + std::to_string(kLanguagePackMaxEntries) +
                       " files; the rest are not looked at",
                   false);
      break;
    }
    const std::string file = NameOf(entry.path());
    if (!entry.is_regular_file(ec)) {
      reader.Fault(file, "not a file; a language pack holds files only", false);
      continue;
    }
    names.push_back(file);
  }
  std::sort(names.begin(), names.end());

  const std::string text = PackTextName(name);
  std::vector<std::uint8_t> bytes;
  if (std::find(names.begin(), names.end(), text) == names.end()) {
    reader.Fault(text, "missing: the pack's text, every line the game writes", true);
  } else if (platform::ReadFileBytes((dir + text).c_str(), bytes, kLanguageTextMaxBytes) !=
             platform::FileRead::kOk) {
    reader.Fault(
        text,
        "cannot be read, or is larger than " + std::to_string(kLanguageTextMaxBytes) + " bytes",
        true);
  } else {
    ReadPackText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), text,
                 pack);
  }
  for (const std::string& file : names) {
    if (file != text) reader.File(file);
  }
  reader.Missing(names);
  return pack;
}

std::vector<std::string> LanguagePacksIn(const std::string& langFolder) {
  std::vector<std::string> packs;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(PathOf(langFolder), ec)) {
    if (static_cast<int>(packs.size()) == kLanguagePackMaxEntries) break;
    const std::string name = NameOf(entry.path());
    if (entry.is_directory(ec) && LanguageNameValid(name) && name != kBuiltInLanguage) {
      packs.push_back(name);
    }
  }
  std::sort(packs.begin(), packs.end());
  return packs;
}
