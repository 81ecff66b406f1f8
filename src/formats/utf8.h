// UTF-8, as every text file of the game and its packs is written: one
// character read strictly, one written.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Decodes the UTF-8 character at text[at], strictly: no overlong forms, no
// surrogates, nothing past U+10FFFF. Moves `at` past it; false, with `at`
// unchanged, where the bytes there are not UTF-8.
bool NextUtf8Character(std::string_view text, std::size_t& at, char32_t& c);

// The UTF-8 bytes of a character.
std::string Utf8Of(char32_t c);

}  // namespace platform
