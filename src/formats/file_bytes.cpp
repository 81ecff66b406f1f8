#include "formats/file_bytes.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

#include "formats/load_breath.h"

namespace platform {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

bool FileExists(const char* path) {
  const std::unique_ptr<std::FILE, FileCloser> file(OpenForReading(path));
  return file != nullptr;
}

FileRead ReadFileBytes(const char* path, std::vector<std::uint8_t>& out, std::size_t maxBytes) {
  BreatheDuringLoad();  // each file read is a piece of the game's loading
  out.clear();
  const std::unique_ptr<std::FILE, FileCloser> file(OpenForReading(path));
  std::FILE* f = file.get();
  if (f == nullptr) return FileRead::kMissing;
  // The size the file says it has now, when that is within the limit, is
  // read in one go; then, in chunks, whatever it has grown by, the reading
  // holding to the limit whatever the size said.
  if (std::fseek(f, 0, SEEK_END) == 0) {
    const long size = std::ftell(f);
    if (size > 0 && static_cast<unsigned long>(size) <= maxBytes) {
      out.resize(static_cast<std::size_t>(size));
      std::rewind(f);
      out.resize(std::fread(out.data(), 1, out.size(), f));
    }
  }
  if (out.empty()) std::rewind(f);
  std::uint8_t chunk[65536];
  std::size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
    if (got > maxBytes - out.size()) {
      out.insert(out.end(), chunk, chunk + (maxBytes - out.size()));
      return FileRead::kTooLarge;
    }
    out.insert(out.end(), chunk, chunk + got);
  }
  return FileRead::kOk;
}

bool ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& out, std::string* error,
                   std::uint64_t maxBytes) {
  const auto limit = static_cast<std::size_t>(
      std::min<std::uint64_t>(maxBytes, std::numeric_limits<std::size_t>::max()));
  const FileRead read = ReadFileBytes(path.c_str(), out, limit);
  if (read == FileRead::kOk) return true;
  if (error != nullptr) {
    *error = read == FileRead::kMissing
                 ? "cannot open " + path
                 : path + " is larger than " + std::to_string(maxBytes) + " bytes";
  }
  out.clear();
  return false;
}

bool WriteFileBytes(const char* path, const std::vector<std::uint8_t>& bytes, std::string& why) {
  std::FILE* f = OpenForWriting(path);
  if (f == nullptr) {
    why = std::strerror(errno);
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const int error = errno;
  if (std::fclose(f) != 0 || !written) {
    why = std::strerror(written ? errno : error);
    return false;
  }
  return true;
}

}  // namespace platform
