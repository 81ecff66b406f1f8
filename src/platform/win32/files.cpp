// Files on Windows (formats/file_bytes.h): opened through the wide API, so
// that any name, and a path longer than 260 characters, opens. Built into
// the formats' library with the UTF-16 conversions: no backend.
#include <windows.h>

#include <cstdio>
#include <string>

#include "formats/file_bytes.h"
#include "platform/win32/utf16.h"

namespace platform {

std::FILE* OpenForReading(const char* path) {
  const std::wstring wide = Utf16FromUtf8(path);
  std::FILE* f = _wfopen(wide.c_str(), L"rb");
  if (f != nullptr || wide.empty()) return f;
  // Where Windows does not take paths past 260 characters (its long-path
  // setting off), the whole path in its \\?\ form still opens.
  std::wstring full(GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr), L'\0');
  if (full.size() < MAX_PATH) return nullptr;
  full.resize(
      GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
  if (full.rfind(L"\\\\?\\", 0) == 0) return nullptr;
  full = full.rfind(L"\\\\", 0) == 0 ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
  return _wfopen(full.c_str(), L"rb");
}

}  // namespace platform
