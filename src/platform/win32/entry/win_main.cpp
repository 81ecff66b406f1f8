// The Windows entry point. The program's own start (app/main.cpp, whose
// main is renamed for this build) runs from here, as Windows programs begin
// at WinMain; the instance and show command are read back by the backend
// from the process itself. Before it runs:
//
// - DLLs that anything loads later come from System32 alone, never from the
//   program's folder (see system_dll.h for the ones we load ourselves);
// - a program started from a console (cmd, PowerShell) without its output
//   redirected has no standard handles, being a window program: it attaches
//   to that console, so that --help, --version, a refused command line and
//   the warning lines appear there;
// - the command line is read as UTF-16 and handed on as UTF-8, so that
//   --data takes any folder name, whatever the system's code page.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/utf16.h"
// (windows.h first: shellapi.h needs its types.)
#include <shellapi.h>

int VedoProgramMain(int argc, char** argv);

namespace {

bool HasHandle(DWORD which) {
  const HANDLE h = GetStdHandle(which);
  return h != nullptr && h != INVALID_HANDLE_VALUE;
}

// Points stdout and stderr, where they go nowhere, at the console of the
// process that started us, if it has one. Output redirected to a file or a
// pipe keeps going there.
void AttachToTheStartingConsole() {
  const bool out = HasHandle(STD_OUTPUT_HANDLE);
  const bool err = HasHandle(STD_ERROR_HANDLE);
  if ((out && err) || AttachConsole(ATTACH_PARENT_PROCESS) == FALSE) return;
  const auto reopen = [](FILE* stream, DWORD which) {
    if (std::freopen("CONOUT$", "w", stream) == nullptr) return;
    // Our lines end in a bare line feed, as on Linux; the console takes them
    // so.
    _setmode(_fileno(stream), _O_BINARY);
    SetStdHandle(which, reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))));
  };
  if (!out) reopen(stdout, STD_OUTPUT_HANDLE);
  if (!err) reopen(stderr, STD_ERROR_HANDLE);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  AttachToTheStartingConsole();
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 0; wide != nullptr && i < count; ++i)
    args.push_back(platform::Utf8FromUtf16(wide[i]));
  if (wide != nullptr) LocalFree(wide);
  if (args.empty()) args.emplace_back("vedo-zeza1");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  return VedoProgramMain(static_cast<int>(args.size()), argv.data());
}
