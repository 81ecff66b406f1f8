// A language pack's text reader on arbitrary bytes: every line of it read
// as the game and `vedo-kit check --lang` read it, characters checked
// against CP949 and the glyph atlas.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "formats/language_text.h"
#include "lang/game_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const LanguageText text = ReadLanguageText(
      std::string_view(reinterpret_cast<const char*>(data), size), GameLanguageKeys());
  // A usable line is never longer than its room.
  for (std::size_t id = 0; id < text.lines.size(); ++id) {
    if (text.usable[id] && text.lines[id].size() > 4 * kLanguageLineMaxCharacters) __builtin_trap();
  }
  return 0;
}
