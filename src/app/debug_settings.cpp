#include "app/debug_settings.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "state/game_state.h"

bool ApplyDebugSettings(const char* text) {
  if (text == nullptr) return true;
  const std::string all(text);
  std::size_t at = 0;
  while (at < all.size()) {
    std::size_t end = all.find(',', at);
    if (end == std::string::npos) end = all.size();
    const std::string entry = all.substr(at, end - at);
    at = end + 1;
    if (entry.empty()) continue;
    const std::size_t eq = entry.find('=');
    int* target = eq == std::string::npos ? nullptr : FindStateInt(entry.substr(0, eq).c_str());
    const std::string number = eq == std::string::npos ? "" : entry.substr(eq + 1);
    char* stop = nullptr;
    errno = 0;
    const long value = std::strtol(number.c_str(), &stop, 10);
    if (target == nullptr || number.empty() || *stop != '\0' || errno != 0 || value < INT_MIN ||
        value > INT_MAX) {
      std::fprintf(stderr, "Vedo Zeza1: VEDO_DEBUG_SET: cannot apply \"%s\"\n", entry.c_str());
      return false;
    }
    *target = static_cast<int>(value);
  }
  return true;
}
