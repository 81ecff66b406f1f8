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

}  // namespace platform
