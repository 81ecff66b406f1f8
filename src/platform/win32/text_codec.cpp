#include <string>

#include "platform/text.h"
#include "platform/win32/wide.h"

// After our own headers: their names (E_FAIL, HRESULT) are macros and
// types in the Windows headers.
#include <windows.h>

namespace platform {

std::wstring Widen(const char* text, std::size_t length, unsigned codePage) {
  if (length == 0) return std::wstring();
  const int size = static_cast<int>(length);
  const int n = MultiByteToWideChar(codePage, 0, text, size, nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text, size, wide.data(), n);
  return wide;
}

// UTF-8 to UTF-16 to code page 949, whatever the system's own code page is.
// Characters CP949 lacks become '?'.
std::string Utf8ToCp949(std::string_view utf8) {
  if (utf8.empty()) return std::string();
  std::wstring wide = Widen(utf8.data(), utf8.size(), CP_UTF8);
  if (wide.empty()) return std::string(utf8);
  // A character beyond the 16-bit range (two UTF-16 units) is one '?', as
  // on Linux, not two.
  std::wstring units;
  units.reserve(wide.size());
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const bool pair = wide[i] >= 0xD800 && wide[i] < 0xDC00 && i + 1 < wide.size() &&
                      wide[i + 1] >= 0xDC00 && wide[i + 1] < 0xE000;
    units.push_back(pair ? L'?' : wide[i]);
    if (pair) ++i;
  }
  wide.swap(units);
  const int wideLength = static_cast<int>(wide.size());
  const int count = WideCharToMultiByte(949, 0, wide.data(), wideLength, nullptr, 0, "?", nullptr);
  if (count <= 0) return std::string(utf8);
  std::string out(static_cast<std::size_t>(count), '\0');
  WideCharToMultiByte(949, 0, wide.data(), wideLength, out.data(), count, "?", nullptr);
  return out;
}

}  // namespace platform
