// Helpers for fuzz targets whose readers take a file name: the input is
// written to a scratch file first. (fuzz/run.sh passes -close_fd_mask=2 so
// that the readers' messages do not drown the fuzzer's own output.)
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace fuzz {

inline const std::string& ScratchPath() {
  static const std::string path = "/tmp/vedo-fuzz-" + std::to_string(getpid()) + ".bin";
  return path;
}

inline const char* WriteScratch(const std::uint8_t* data, std::size_t size) {
  std::FILE* f = std::fopen(ScratchPath().c_str(), "wb");
  if (f == nullptr) return nullptr;
  if (size > 0) std::fwrite(data, 1, size, f);
  std::fclose(f);
  return ScratchPath().c_str();
}

}  // namespace fuzz
