// A stand-in for a system DLL (winmm.dll, wtsapi32.dll) dropped beside the
// game: loaded into a process, it ends it at once with exit code 86, which
// the game itself never returns. Built by the test with MinGW-w64, without
// Windows' headers.
__declspec(dllimport) void __stdcall ExitProcess(unsigned code);

int __stdcall DllMain(void* module, unsigned long reason, void* reserved) {
  (void)module;
  (void)reserved;
  if (reason == 1) ExitProcess(86);  // DLL_PROCESS_ATTACH
  return 1;
}
