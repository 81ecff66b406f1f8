// Effect samples to the output format in the browser: our own portable
// converter, as there is no SDL here.
#include "platform/audio_output.h"

namespace platform {

bool ConvertPcm(const PcmFormat& format, const std::uint8_t* bytes, std::size_t length,
                std::vector<std::int16_t>& out) {
  return ConvertPcmPortable(format, bytes, length, out);
}

}  // namespace platform
