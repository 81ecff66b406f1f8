// The settings file's reader on arbitrary bytes: what it accepts, written
// again and read back, is the same settings (the game writes the file it
// reads).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Settings settings;
  std::string problem;
  if (!ReadSettings(std::string_view(reinterpret_cast<const char*>(data), size), settings,
                    problem)) {
    if (problem.empty()) __builtin_trap();
    return 0;
  }
  Settings again;
  if (!ReadSettings(SettingsText(settings), again, problem) || !(again == settings)) {
    __builtin_trap();
  }
  return 0;
}
