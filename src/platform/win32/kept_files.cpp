// The player's files on Windows: the settings in the roaming application
// data folder (%APPDATA%\Vedo Zeza1\settings.ini), the screenshots in the
// Pictures known folder, both by their wide paths, so that a user name in
// Hangul is no problem. The Win32 backend calls these.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/utf16.h"

// After our own headers: their names are macros in the Windows headers.
#include <shlobj.h>
#include <windows.h>

namespace platform {
namespace {

// The known folders' identifiers, as the Windows SDK defines them (spelled
// out, so that no import library of GUIDs is needed).
constexpr GUID kRoamingAppData = {
    0x3EB685DB, 0x65F9, 0x4CF6, {0xA0, 0x3A, 0xE3, 0xEF, 0x65, 0x72, 0x9F, 0x3D}};
constexpr GUID kPictures = {
    0x33E28130, 0x4E1E, 0x4676, {0x83, 0x5A, 0x98, 0x39, 0x5C, 0x3B, 0xC3, 0xBB}};

// A known folder's path, or the environment variable's where Windows does
// not say; empty without either.
std::wstring KnownFolder(const GUID& id, const wchar_t* variable) {
  std::wstring folder;
  PWSTR path = nullptr;
  if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_CREATE, nullptr, &path)) && path != nullptr) {
    folder = path;
  }
  CoTaskMemFree(path);
  if (folder.empty() && variable != nullptr) {
    wchar_t value[MAX_PATH] = L"";
    const DWORD n = GetEnvironmentVariableW(variable, value, MAX_PATH);
    if (n > 0 && n < MAX_PATH) folder = value;
  }
  return folder;
}

std::wstring SettingsFolder() {
  const std::wstring appData = KnownFolder(kRoamingAppData, L"APPDATA");
  return appData.empty() ? L"" : appData + L"\\Vedo Zeza1";
}

std::string LastError(const std::string& what) {
  return what + " (error " + std::to_string(GetLastError()) + ")";
}

bool MakeFolder(const std::wstring& folder, std::string& why) {
  if (CreateDirectoryW(folder.c_str(), nullptr) != FALSE ||
      GetLastError() == ERROR_ALREADY_EXISTS) {
    return true;
  }
  why = LastError("cannot make " + Utf8FromUtf16(folder));
  return false;
}

bool WriteAll(HANDLE file, const void* data, std::size_t size) {
  const auto* p = static_cast<const char*>(data);
  while (size > 0) {
    DWORD wrote = 0;
    const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    if (WriteFile(file, p, chunk, &wrote, nullptr) == FALSE || wrote == 0) return false;
    p += wrote;
    size -= wrote;
  }
  return true;
}

}  // namespace

std::string WindowsSettingsFile() {
  const std::wstring folder = SettingsFolder();
  return folder.empty() ? "" : Utf8FromUtf16(folder + L"\\settings.ini");
}

KeptRead ReadWindowsSettings(std::string& text, std::size_t maxBytes) {
  const std::wstring path = Utf16FromUtf8(WindowsSettingsFile());
  if (path.empty()) return KeptRead::kNone;
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? KeptRead::kNone
                                                                          : KeptRead::kUnreadable;
  }
  LARGE_INTEGER size{};
  KeptRead result = KeptRead::kUnreadable;
  // The size is checked before anything is allocated for it.
  if (GetFileSizeEx(file, &size) != FALSE && size.QuadPart >= 0 &&
      static_cast<unsigned long long>(size.QuadPart) <= maxBytes) {
    text.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (text.empty() ||
        (ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &got, nullptr) != FALSE &&
         got == text.size())) {
      result = KeptRead::kRead;
    }
  }
  CloseHandle(file);
  if (result != KeptRead::kRead) text.clear();
  return result;
}

bool WriteWindowsSettings(const std::string& text, std::string& why) {
  const std::wstring folder = SettingsFolder();
  if (folder.empty()) {
    why = "Windows names no application data folder";
    return false;
  }
  if (!MakeFolder(folder, why)) return false;
  const std::wstring path = folder + L"\\settings.ini";
  const std::wstring fresh = path + L".new";
  const HANDLE file = CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    why = LastError("cannot write " + Utf8FromUtf16(fresh));
    return false;
  }
  const bool written = WriteAll(file, text.data(), text.size()) && FlushFileBuffers(file) != FALSE;
  CloseHandle(file);
  if (!written || MoveFileExW(fresh.c_str(), path.c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == FALSE) {
    why = LastError("cannot write " + Utf8FromUtf16(path));
    DeleteFileW(fresh.c_str());
    return false;
  }
  return true;
}

std::string SetWindowsSettingsAside() {
  const std::wstring folder = SettingsFolder();
  if (folder.empty()) return "";
  const std::wstring path = folder + L"\\settings.ini";
  const std::wstring aside = path + L".bad";
  return MoveFileExW(path.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE
             ? Utf8FromUtf16(aside)
             : "";
}

bool SaveWindowsPicture(const std::vector<std::uint8_t>& png, const std::string& name,
                        std::string& where) {
  const std::wstring pictures = KnownFolder(kPictures, nullptr);
  if (pictures.empty()) {
    where = "Windows names no Pictures folder";
    return false;
  }
  const std::wstring folder = pictures + L"\\Vedo Zeza1";
  if (!MakeFolder(folder, where)) return false;
  const std::wstring wide = Utf16FromUtf8(name);
  const std::size_t dot = wide.rfind(L'.');
  const std::wstring stem = wide.substr(0, dot);
  const std::wstring extension = dot == std::wstring::npos ? L"" : wide.substr(dot);
  for (int n = 1; n < 100; ++n) {
    const std::wstring path =
        folder + L"\\" + stem + (n > 1 ? L"-" + std::to_wstring(n) : L"") + extension;
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS) continue;
    where = Utf8FromUtf16(path);
    if (file == INVALID_HANDLE_VALUE) {
      where = LastError("cannot write " + where);
      return false;
    }
    const bool written = WriteAll(file, png.data(), png.size());
    CloseHandle(file);
    if (!written) {
      DeleteFileW(path.c_str());
      where = LastError("cannot write " + where);
    }
    return written;
  }
  where = "every name for " + name + " is taken";
  return false;
}

}  // namespace platform
