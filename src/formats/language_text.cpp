#include "formats/language_text.h"

#include <algorithm>
#include <cctype>

#include "formats/utf8.h"

namespace {

bool ValidUtf8(std::string_view line) {
  for (std::size_t at = 0; at < line.size();) {
    char32_t c = 0;
    if (!platform::NextUtf8Character(line, at, c)) return false;
  }
  return true;
}

std::string_view Trimmed(std::string_view s) {
  const std::size_t start = s.find_first_not_of(" \t");
  if (start == std::string_view::npos) return {};
  return s.substr(start, s.find_last_not_of(" \t") - start + 1);
}

// The string a quoted PO string stands for; false with the reason.
bool Unquote(std::string_view quoted, std::string& out, std::string& why) {
  quoted = Trimmed(quoted);
  if (quoted.empty() || quoted.front() != '"') {
    why = "a string must follow, in double quotes";
    return false;
  }
  for (std::size_t i = 1; i < quoted.size(); ++i) {
    const char c = quoted[i];
    if (c == '"') {
      if (i + 1 != quoted.size()) {
        why = "something follows the string's closing quote";
        return false;
      }
      return true;
    }
    if (c != '\\') {
      out += c;
      continue;
    }
    if (++i == quoted.size()) break;
    const char e = quoted[i];
    constexpr std::string_view kFrom = "ntr\"\\abfv'?";
    constexpr std::string_view kTo = "\n\t\r\"\\\a\b\f\v'?";
    if (const std::size_t k = kFrom.find(e); k != std::string_view::npos) {
      out += kTo[k];
    } else if (e >= '0' && e <= '7') {
      int value = 0;
      for (int n = 0; n < 3 && i < quoted.size() && quoted[i] >= '0' && quoted[i] <= '7'; ++n) {
        value = value * 8 + (quoted[i++] - '0');
      }
      --i;
      out += static_cast<char>(value & 0xFF);
    } else {
      why = std::string("\\") + e + " is no escape a PO file has";
      return false;
    }
  }
  why = "the string is not closed with a double quote";
  return false;
}

// The charset the header's Content-Type names, or "" where it names none.
std::string HeaderCharset(const std::string& header) {
  const std::size_t type = header.find("Content-Type:");
  if (type == std::string::npos) return "";
  const std::size_t end = header.find('\n', type);
  const std::string field = header.substr(type, end == std::string::npos ? end : end - type);
  const std::size_t at = field.find("charset=");
  if (at == std::string::npos) return "";
  std::string charset(Trimmed(field.substr(at + 8)));
  return charset.substr(0, charset.find_first_of("; "));
}

class Reader {
 public:
  explicit Reader(PoFile& out) : out_(out) {}

  void Fault(int line, std::string text) {
    ++out_.faultCount;
    if (out_.faults.size() < kLanguageTextMaxFaults) out_.faults.push_back({line, std::move(text)});
    if (started_) entry_.broken = true;
  }

  void Line(int number, std::string_view line) {
    // A line that is not UTF-8 is taken apart all the same, so that its
    // entry's key is known and no fault follows from this one.
    Parse(number, line);
    if (!ValidUtf8(line)) Fault(number, "not UTF-8");
  }

  void Parse(int number, std::string_view line) {
    line = Trimmed(line);
    if (line.empty()) {
      if (hasStr_) Finish();
      return;
    }
    if (line.front() == '#') {
      if (line.substr(0, 2) == "#~") return;  // an obsolete entry
      if (hasStr_) Finish();
      if (line.substr(0, 2) == "#,") Flags(line.substr(2));
      return;
    }
    if (line.front() == '"') {
      if (last_ == nullptr) {
        Fault(number, "a string that continues no msgctxt, msgid or msgstr");
        return;
      }
      Take(number, line, *last_);
      return;
    }
    const std::size_t space = line.find_first_of(" \t\"");
    const std::string_view keyword = line.substr(0, space);
    const std::string_view rest = space == std::string_view::npos ? "" : line.substr(space);
    if (keyword == "msgctxt") {
      if (hasId_ || hasStr_ || entry_.hasContext) Finish();
      Start(number);
      entry_.hasContext = true;
      Take(number, rest, entry_.context);
    } else if (keyword == "msgid") {
      if (hasStr_) Finish();
      if (hasId_) {
        Fault(number, "a second msgid before the first one's msgstr");
        Finish();
      }
      if (!started_ || entry_.line == 0) Start(number);
      hasId_ = true;
      Take(number, rest, entry_.id);
    } else if (keyword == "msgstr") {
      if (!hasId_) Fault(number, "msgstr without a msgid before it");
      hasStr_ = true;
      Take(number, rest, entry_.text);
    } else if (keyword == "msgid_plural" || keyword.substr(0, 7) == "msgstr[") {
      if (!plural_) Fault(number, "plural forms: the game's lines have none");
      plural_ = true;
      hasStr_ = hasStr_ || keyword != "msgid_plural";
      last_ = &scratch_;
    } else {
      Fault(number, "not a line of a PO file (msgctxt, msgid, msgstr, a comment or a string)");
    }
  }

  void Finish() {
    if (started_) {
      if (!hasId_) {
        Fault(entry_.line, "an entry without msgid");
      } else if (!hasStr_) {
        Fault(entry_.line, "an entry without msgstr");
      }
      if (hasId_ && entry_.id.empty() && !entry_.hasContext) {
        // The header: only what it says of the file's characters matters.
        const std::string charset = HeaderCharset(entry_.text);
        std::string lower = charset;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (!charset.empty() && lower != "utf-8") {
          Fault(entry_.line, "the header says charset=" + charset +
                                 "; the game reads UTF-8 (save the file as UTF-8, charset=UTF-8)");
        }
      } else {
        out_.entries.push_back(std::move(entry_));
      }
    }
    entry_ = PoEntry{};
    started_ = hasId_ = hasStr_ = plural_ = false;
    fuzzy_ = false;
    last_ = nullptr;
  }

 private:
  void Start(int number) {
    started_ = true;
    entry_.line = number;
    entry_.fuzzy = fuzzy_;
  }

  void Flags(std::string_view flags) {
    // "#, fuzzy, c-format": only fuzzy matters to the game's check.
    while (!flags.empty()) {
      const std::size_t comma = flags.find(',');
      if (Trimmed(flags.substr(0, comma)) == "fuzzy") fuzzy_ = true;
      flags.remove_prefix(comma == std::string_view::npos ? flags.size() : comma + 1);
    }
    if (started_) entry_.fuzzy = entry_.fuzzy || fuzzy_;
  }

  void Take(int number, std::string_view quoted, std::string& into) {
    last_ = &into;
    std::string why;
    if (!Unquote(quoted, into, why)) Fault(number, why);
  }

  PoFile& out_;
  PoEntry entry_;
  bool started_ = false;
  bool hasId_ = false;
  bool hasStr_ = false;
  bool plural_ = false;
  bool fuzzy_ = false;
  std::string* last_ = nullptr;
  std::string scratch_;  // the strings of plural forms, read past
};

}  // namespace

PoFile ReadPoFile(std::string_view bytes) {
  PoFile out;
  Reader reader(out);
  if (bytes.size() > kLanguageTextMaxBytes) {
    reader.Fault(0, "larger than " + std::to_string(kLanguageTextMaxBytes) + " bytes");
    return out;
  }
  // A UTF-16 file is NUL bytes between its letters: one fault, not one a line.
  if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF" ||
      bytes.find('\0') != std::string_view::npos) {
    reader.Fault(0, "saved as UTF-16 (it holds NUL bytes); the game reads UTF-8: save it as UTF-8");
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
    reader.Line(number, line);
  }
  reader.Finish();
  return out;
}

std::string PoQuoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out + "\"";
}
