// The replay script parser on arbitrary text.
#include <string>
#include <vector>

#include "replay/script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<replay::Command> commands;
  std::string error;
  replay::ParseScript(text, commands, &error);
  return 0;
}
