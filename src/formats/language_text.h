// The text file of a language pack: every line of lang/game_lines.h under
// its key, one a line, in UTF-8 (with or without a byte-order mark; lines
// end in LF or CR LF):
//
//   # The event window, zombie page
//   zombie.title "A zombie strikes."
//
// The text is everything between the first and the last double quote of its
// line, blanks included. Blank lines and lines whose first mark is # are
// comments. The game and `vedo-kit check --lang` read it with the same
// reader, so they refuse the same files.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr char kLanguageTextName[] = "text.txt";
// The reader refuses a larger file before reading it.
inline constexpr std::size_t kLanguageTextMaxBytes = 64 * 1024;
// The longest text of a key, in characters; the boxes the lines are drawn
// in hold fewer.
inline constexpr int kLanguageLineMaxCharacters = 60;

struct LanguageText {
  std::vector<std::string> lines;     // UTF-8, by line id; empty where not given
  std::vector<int> fileLines;         // the file's line of each id; 0 where not given
  std::vector<bool> usable;           // whether the id's text was read without a problem
  std::vector<std::string> problems;  // one a line; none when the file is usable
};

// What a file is read against: the game's lines in id order, each its key
// and where it shows, and what keeps the game's text route from drawing a
// character ("" when it draws it).
struct LanguageKeys {
  std::vector<std::string> keys;
  std::vector<std::string> where;
  std::function<std::string(char32_t)> undrawable;
};

// Reads the file's bytes. Every problem names the file's line and the key:
// a line that is no key and quoted text, bytes that are not UTF-8, an
// unknown key or one given twice, a text too long or holding a character the
// game's text route cannot draw, and each key the file does not give.
LanguageText ReadLanguageText(std::string_view bytes, const LanguageKeys& game);

// The UTF-8 bytes of a character.
std::string Utf8Of(char32_t c);
