// A whole file read into memory, for the readers of the game's data files,
// which parse bytes rather than streams.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace platform {

// Opens the file at `path` (UTF-8, as every path of the program is) to read
// its bytes; null when it cannot. Every file the game reads is opened here:
// on Windows through the wide API, so that any name and a path longer than
// 260 characters open. Each platform defines it in its folder's files.cpp
// (VEDO_PLATFORM_FILES), which the formats' library takes in.
std::FILE* OpenForReading(const char* path);
// The same, opened emptied to write bytes.
std::FILE* OpenForWriting(const char* path);
// Whether the file at `path` can be opened to read.
bool FileExists(const char* path);

enum class FileRead { kOk, kMissing, kTooLarge };

// Reads the file at `path` into `out`, at most maxBytes of it, so that a
// file costs at most that much memory: kTooLarge when there is more, with
// the first maxBytes in `out`. A read that fails part way gives the bytes
// before it.
FileRead ReadFileBytes(const char* path, std::vector<std::uint8_t>& out, std::size_t maxBytes);

// The same for the tools: false when the file cannot be opened or holds
// more than maxBytes, with a reason naming it in `error`.
bool ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& out, std::string* error,
                   std::uint64_t maxBytes = 512ull << 20);

// Writes `bytes` as the file at `path` (UTF-8), replacing what was there.
// False, with why, when it cannot be written whole.
bool WriteFileBytes(const char* path, const std::vector<std::uint8_t>& bytes, std::string& why);

}  // namespace platform
