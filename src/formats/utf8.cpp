#include "formats/utf8.h"

namespace platform {

bool NextUtf8Character(std::string_view text, std::size_t& at, char32_t& c) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char b0 = byte(at);
  int extra = 0;
  char32_t least = 0;
  if (b0 < 0x80) {
    c = b0;
    ++at;
    return true;
  } else if ((b0 & 0xE0) == 0xC0) {
    extra = 1, c = b0 & 0x1F, least = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2, c = b0 & 0x0F, least = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3, c = b0 & 0x07, least = 0x10000;
  } else {
    return false;
  }
  if (text.size() - at <= static_cast<std::size_t>(extra)) return false;
  for (int i = 1; i <= extra; ++i) {
    const unsigned char b = byte(at + static_cast<std::size_t>(i));
    if ((b & 0xC0) != 0x80) return false;
    c = (c << 6) | (b & 0x3F);
  }
  // Overlong forms, surrogates and what lies past Unicode are broken too.
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
  at += static_cast<std::size_t>(extra) + 1;
  return true;
}

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

}  // namespace platform
