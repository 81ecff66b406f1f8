// A whole file read into memory, for the readers of the game's data files,
// which parse bytes rather than streams.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

enum class FileRead { kOk, kMissing, kTooLarge };

// Reads the file at `path` into `out`, at most maxBytes of it, so that a
// file costs at most that much memory: kTooLarge when there is more, with
// the first maxBytes in `out`. A read that fails part way gives the bytes
// before it.
FileRead ReadFileBytes(const char* path, std::vector<std::uint8_t>& out, std::size_t maxBytes);

}  // namespace platform
