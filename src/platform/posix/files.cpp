// Files on Linux and in the browser (formats/file_bytes.h): the C library
// takes UTF-8 paths as they are.
#include <cstdio>

#include "formats/file_bytes.h"

namespace platform {

std::FILE* OpenForReading(const char* path) { return std::fopen(path, "rb"); }

}  // namespace platform
