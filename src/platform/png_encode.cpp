// Screenshots: the frame as a PNG file, by stb_image_write (Debian's
// libstb-dev, header-only C that every build compiles), and their names.
#include <ctime>
#include <string>
#include <vector>

#include "platform/port.h"

#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace platform {
namespace {

void Append(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(context);
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const Surface& frame) {
  // The surface's B, G, R to the file's R, G, B.
  std::vector<std::uint8_t> rgb(frame.ByteSize());
  for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
    rgb[i] = frame.Pixels()[i + 2];
    rgb[i + 1] = frame.Pixels()[i + 1];
    rgb[i + 2] = frame.Pixels()[i];
  }
  std::vector<std::uint8_t> png;
  if (stbi_write_png_to_func(&Append, &png, frame.Width(), frame.Height(), 3, rgb.data(),
                             frame.Pitch()) == 0) {
    png.clear();
  }
  return png;
}

std::string ScreenshotName(const std::string& suffix) {
  const std::time_t now = std::time(nullptr);
  char stamp[32] = "vedo-zeza1";
  if (const std::tm* local = std::localtime(&now)) {
    std::strftime(stamp, sizeof stamp, "vedo-zeza1-%Y%m%d-%H%M%S", local);
  }
  return stamp + suffix;
}

}  // namespace platform
