// The browser has no picture loader of its own to hand: it reads its
// pictures with ours (platform/bitmap.h).
#include "platform/bitmap.h"

namespace platform {

bool LoadBmpFile(const char* path, Image& out) { return ReadBmpFile(path, out); }

}  // namespace platform
