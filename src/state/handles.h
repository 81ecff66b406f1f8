// The program's window and instance handles. The display and the sound
// device take the window as an argument without needing the rest of the game
// state, so the handle types stand on their own.
#pragma once

using WindowHandle = void*;
using InstanceHandle = void*;
