// A language pack's text on arbitrary bytes: taken apart as a PO file and
// held to the game's lines, as the game and `vedo-kit check --lang` read
// it, every character checked against the glyph atlas and every line
// measured with the text route.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "lang/language_pack.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  LanguagePack pack;
  ReadPackText(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.po", pack);
  // A line the game takes is never longer than its room, and the faults
  // kept are never more than those counted.
  for (const std::string& line : pack.lines) {
    if (line.size() > 4 * kLanguageLineMaxCharacters) __builtin_trap();
  }
  if (pack.faults.size() > pack.faultCount) __builtin_trap();
  return 0;
}
