// Byte strings to the UTF-16 the Windows API takes. Private to the Win32
// backend.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>

namespace platform {

// `length` bytes of `text` in `codePage` (CP_UTF8 for ours) as UTF-16;
// empty when there is nothing, or nothing convertible.
std::wstring Widen(const char* text, std::size_t length, unsigned codePage);
// The same for a zero-terminated string; null is empty.
inline std::wstring Widen(const char* text, unsigned codePage) {
  return text == nullptr ? std::wstring() : Widen(text, std::strlen(text), codePage);
}

}  // namespace platform
