// The Windows entry point. The program's own start (shell/main.cpp, whose
// main is renamed for this build) runs from here, as Windows programs begin
// at WinMain; the instance and show command are read back by the backend
// from the process itself.
#include <windows.h>

#include <cstdlib>

int VedoProgramMain(int argc, char** argv);

// The C runtime has split the command line into __argc and __argv already.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return VedoProgramMain(__argc, __argv); }
