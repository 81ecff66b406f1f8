// vedo-zeza1: the game. It reads its data from the working folder.
#include "shell/program.h"

int main() { return WinMain(); }
