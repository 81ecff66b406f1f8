#include "kit_test_support.h"

#include <cstdlib>
#include <iostream>

#include "common/child_process.h"
#include "support/test_data.h"

namespace kittest {

namespace fs = std::filesystem;

int RunTool(const std::string& tool, const std::string& args, std::string* output) {
  // The generator is built in content/, the kit in tools/kit.
  const fs::path folder = tool == "datakit" ? fs::path("content") : fs::path("tools") / tool;
  const fs::path exe = fs::path(VEDO_BINARY_DIR) / folder / ("vedo-" + tool);
  // The arguments are shell words, quoted by the caller.
  child::Options run;
  run.argv = {"sh", "-c", "'" + exe.string() + "' " + args + " 2>&1"};
  const child::Result result = child::Run(run);
  if (output != nullptr) *output = result.printed;
  return result.exitCode;
}

const fs::path& GeneratedFolder() {
  // The build makes it (the vedo-data target) before any test runs.
  static const fs::path dir = [] {
    const fs::path d = fs::path(VEDO_BINARY_DIR) / "data";
    if (!fs::exists(d / "city.map")) {
      std::cerr << "the build's data folder " << d << " is missing\n";
      std::abort();
    }
    return d;
  }();
  return dir;
}

fs::path CopyOfGenerated(const std::string& stem) {
  const fs::path dir = testdata::MakeTempDir(stem);
  fs::copy(GeneratedFolder(), dir, fs::copy_options::recursive);
  return dir;
}

kit::Bytes Read(const fs::path& path) {
  kit::Bytes bytes;
  std::string error;
  if (!kit::ReadFileBytes(path.string(), bytes, &error)) {
    std::cerr << error << "\n";
    std::abort();
  }
  return bytes;
}

void Write(const fs::path& path, const kit::Bytes& bytes) {
  std::string error;
  if (!kit::WriteFileBytes(path.string(), bytes, &error)) {
    std::cerr << error << "\n";
    std::abort();
  }
}

bool AnyContains(const std::vector<std::string>& lines, const std::string& text) {
  for (const std::string& line : lines) {
    if (line.find(text) != std::string::npos) return true;
  }
  std::cerr << "no line contains \"" << text << "\"; the lines were:\n";
  for (const std::string& line : lines) std::cerr << "  " << line << "\n";
  return false;
}

}  // namespace kittest
