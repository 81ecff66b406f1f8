#include "formats/language_text.h"

#include <algorithm>
#include <cstdio>
#include <map>

std::string Utf8Of(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

namespace {

// Beyond this many, the rest of a hopeless file is summed up in one line.
constexpr std::size_t kMaxProblems = 100;

// Decodes one UTF-8 character at `text[at]`, strictly (no overlong forms, no
// surrogates, nothing past U+10FFFF). Advances `at`; false on a bad byte.
bool NextCharacter(std::string_view text, std::size_t& at, char32_t& c) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char b0 = byte(at);
  int extra = 0;
  char32_t min = 0;
  if (b0 < 0x80) {
    c = b0;
    ++at;
    return true;
  } else if ((b0 & 0xE0) == 0xC0) {
    extra = 1, c = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2, c = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3, c = b0 & 0x07, min = 0x10000;
  } else {
    return false;
  }
  if (text.size() - at <= static_cast<std::size_t>(extra)) return false;
  for (int i = 1; i <= extra; ++i) {
    const unsigned char b = byte(at + static_cast<std::size_t>(i));
    if ((b & 0xC0) != 0x80) return false;
    c = (c << 6) | (b & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
  at += static_cast<std::size_t>(extra) + 1;
  return true;
}

bool KeyCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_';
}

class Reader {
 public:
  Reader(LanguageText& out, const LanguageKeys& game) : out_(out), game_(game) {}

  void Problem(const std::string& text) {
    ++problems_;
    if (out_.problems.size() < kMaxProblems) out_.problems.push_back(text);
  }
  void Finish() {
    if (problems_ > kMaxProblems) {
      out_.problems.push_back("and " + std::to_string(problems_ - kMaxProblems) + " more problems");
    }
  }

  // Why the text cannot be drawn, or an empty string.
  std::string Undrawable(std::string_view text) {
    int characters = 0;
    for (std::size_t at = 0; at < text.size(); ++characters) {
      char32_t c = 0;
      NextCharacter(text, at, c);  // the line was found to be UTF-8
      if (c < 0x20 || c == 0x7F) return "holds a control character";
      if (c < 0x7F) continue;
      auto known = drawable_.find(c);
      if (known == drawable_.end()) known = drawable_.emplace(c, game_.undrawable(c)).first;
      if (!known->second.empty()) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
        return "has \"" + Utf8Of(c) + "\" (" + code + "), which is " + known->second;
      }
    }
    if (characters > kLanguageLineMaxCharacters) {
      return "is longer than " + std::to_string(kLanguageLineMaxCharacters) + " characters";
    }
    return "";
  }

 private:
  LanguageText& out_;
  const LanguageKeys& game_;
  std::size_t problems_ = 0;
  std::map<char32_t, std::string> drawable_;
};

}  // namespace

LanguageText ReadLanguageText(std::string_view bytes, const LanguageKeys& game) {
  LanguageText out;
  const std::size_t count = game.keys.size();
  out.lines.assign(count, "");
  out.fileLines.assign(count, 0);
  out.usable.assign(count, false);
  Reader reader(out, game);
  if (bytes.size() > kLanguageTextMaxBytes) {
    reader.Problem("larger than " + std::to_string(kLanguageTextMaxBytes) + " bytes");
    return out;
  }
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);

  int number = 0;
  while (!bytes.empty()) {
    ++number;
    const std::size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string at = "line " + std::to_string(number) + ": ";

    bool utf8 = true;
    for (std::size_t i = 0; i < line.size() && utf8;) {
      char32_t c = 0;
      utf8 = NextCharacter(line, i, c);
    }
    if (!utf8) {
      reader.Problem(at + "not UTF-8");
      continue;
    }
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos || line[start] == '#') continue;
    line.remove_prefix(start);

    std::size_t keyEnd = 0;
    while (keyEnd < line.size() && KeyCharacter(line[keyEnd])) ++keyEnd;
    const std::string_view key = line.substr(0, keyEnd);
    const std::size_t open = line.find('"');
    const std::size_t close = line.rfind('"');
    const bool shaped = keyEnd > 0 && open != std::string_view::npos && close > open &&
                        line.find_first_not_of(" \t", keyEnd) == open && keyEnd < open &&
                        line.find_first_not_of(" \t", close + 1) == std::string_view::npos;
    if (!shaped) {
      reader.Problem(at + "not a key and a quoted text (KEY \"TEXT\")");
      continue;
    }
    const std::string name(key);
    const auto slot = static_cast<std::size_t>(std::find(game.keys.begin(), game.keys.end(), name) -
                                               game.keys.begin());
    if (slot == count) {
      reader.Problem(at + "unknown key " + name);
      continue;
    }
    if (out.fileLines[slot] != 0) {
      reader.Problem(at + name + " is given again (first on line " +
                     std::to_string(out.fileLines[slot]) + ")");
      continue;
    }
    const std::string_view text = line.substr(open + 1, close - open - 1);
    out.fileLines[slot] = number;
    const std::string why = reader.Undrawable(text);
    if (!why.empty()) {
      reader.Problem(at + name + " " + why);
      continue;
    }
    out.lines[slot] = std::string(text);
    out.usable[slot] = true;
  }
  for (std::size_t id = 0; id < count; ++id) {
    if (out.fileLines[id] == 0) {
      reader.Problem(game.keys[id] + " is missing (" + game.where[id] + ")");
    }
  }
  reader.Finish();
  return out;
}
