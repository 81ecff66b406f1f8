// The player's last games kept as files in a folder of their own, for the
// platforms that keep files (the page keeps them in its IndexedDB).
#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "formats/file_bytes.h"
#include "platform/port.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPrefix = "vedo-zeza1-";
constexpr const char* kExtension = ".vzr";

fs::path PathOf(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Of(const fs::path& path) {
  const std::u8string u8 = path.u8string();
  return std::string(u8.begin(), u8.end());
}

// "vedo-zeza1-YYYYMMDD-HHMMSS" of the local time now.
std::string NameOfNow() {
  const std::time_t now = std::time(nullptr);
  char stamp[32] = "";
  if (const std::tm* local = std::localtime(&now)) {
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", local);
  }
  return kPrefix + std::string(stamp);
}

}  // namespace

std::string XdgRecordingsFolder() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state != nullptr && state[0] == '/') return std::string(state) + "/vedo-zeza1/recordings";
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') return {};
  return std::string(home) + "/.local/state/vedo-zeza1/recordings";
}

bool KeepRecordingIn(const std::string& folder, const std::vector<std::uint8_t>& bytes,
                     std::string& why) {
  if (folder.empty()) {
    why = "there is no folder to keep recordings in";
    return false;
  }
  const fs::path dir = PathOf(folder);
  std::error_code error;
  fs::create_directories(dir, error);
  if (error) {
    why = folder + ": " + error.message();
    return false;
  }
  std::vector<std::string> kept;  // the stems of the recordings there
  for (const fs::directory_entry& entry : fs::directory_iterator(dir, error)) {
    const std::string name = Utf8Of(entry.path().filename());
    if (name.rfind(kPrefix, 0) == 0 && entry.path().extension() == kExtension) {
      kept.push_back(Utf8Of(entry.path().stem()));
    }
  }
  // Games ended in the same second are "NAME", "NAME-2", "NAME-3" ... in
  // their order, a number never taken again once its file has gone.
  const std::string base = NameOfNow();
  int last = 0;
  for (const std::string& stem : kept) {
    if (stem == base) last = std::max(last, 1);
    if (stem.size() > base.size() + 1 && stem.rfind(base + "-", 0) == 0) {
      last = std::max(last, std::atoi(stem.c_str() + base.size() + 1));
    }
  }
  const std::string stem = last == 0 ? base : base + "-" + std::to_string(last + 1);
  const std::string path = Utf8Of(dir / PathOf(stem + kExtension));
  if (!WriteFileBytes(path.c_str(), bytes, why)) {
    why = path + ": " + why;
    return false;
  }
  kept.push_back(stem);
  // The oldest go: the time first, then the number in the same second.
  std::sort(kept.begin(), kept.end(), [&base](const std::string& a, const std::string& b) {
    const std::size_t t = base.size();
    const int byTime = a.compare(0, t, b, 0, t);
    if (byTime != 0) return byTime < 0;
    return a.size() != b.size() ? a.size() < b.size() : a < b;
  });
  for (std::size_t i = 0; i + kKeptRecordings < kept.size(); ++i) {
    fs::remove(dir / PathOf(kept[i] + kExtension), error);
  }
  return true;
}

}  // namespace platform
