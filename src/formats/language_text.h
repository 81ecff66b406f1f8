// The text of a language pack: a gettext PO file, the translators' own
// format, which their tools (Poedit, Lokalize, Weblate, msgfmt) read and
// write. Each entry gives one line of the game:
//
//   #. event window, zombie page, line 1; its box is 231 pixels wide
//   msgctxt "zombie.title"
//   msgid "좀비의 습격입니다."
//   msgstr "A zombie strikes."
//
// msgctxt is the line's key (lang/game_lines.h), msgid the Korean line and
// msgstr the translation. The file is UTF-8 (its header says so); strings
// may be split over lines, as tools wrap them, and use the C escapes. The
// header (msgid ""), comments, flags (#, fuzzy), previous strings (#|) and
// obsolete entries (#~) are read past. This reader only takes the file
// apart; lang/language_pack.h holds the entries to the game's lines.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The reader refuses a larger file before reading it.
inline constexpr std::size_t kLanguageTextMaxBytes = 256 * 1024;
// Beyond this many, faults are counted but not kept.
inline constexpr std::size_t kLanguageTextMaxFaults = 200;

struct PoEntry {
  int line = 0;  // the file's line of its msgctxt or msgid
  bool hasContext = false;
  std::string context;  // msgctxt
  std::string id;       // msgid
  std::string text;     // msgstr
  bool fuzzy = false;   // flagged for a translator to look at again
  bool broken = false;  // a fault of its own was reported; its strings are not whole
};

struct PoFault {
  int line = 0;  // 0: the file as a whole
  std::string text;
};

struct PoFile {
  std::vector<PoEntry> entries;  // in the file's order, the header not among them
  std::vector<PoFault> faults;   // at most kLanguageTextMaxFaults
  std::size_t faultCount = 0;    // all of them
};

// Takes the file's bytes apart. A fault names what is wrong: a file in
// UTF-16, or larger than the limit (the only fault then); bytes that are
// not UTF-8; a line that is no part of an entry; a string that is not
// closed, or an escape the format does not have; an entry without msgid or
// msgstr, or with plural forms; a header that names another charset.
PoFile ReadPoFile(std::string_view bytes);

// The PO form of a string: quoted, with its backslashes, quotes and control
// characters escaped.
std::string PoQuoted(std::string_view text);
