// Linux reads its pictures with our own reader (platform/bitmap.h), as its
// headless runs do, rather than SDL's: one reader, fuzzed, for the window,
// the tests and the replays.
#include "platform/bitmap.h"

namespace platform {

bool LoadBmpFile(const char* path, Image& out) { return ReadBmpFile(path, out); }

}  // namespace platform
