#include "formats/wave_file.h"

#include <algorithm>
#include <cstring>

#include "formats/little_endian.h"

namespace {

using platform::ReadLe16;
using platform::ReadLe32;

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
// The tail of every KSDATAFORMAT_SUBTYPE GUID, after its first two bytes,
// which carry the old format tag.
constexpr std::uint8_t kSubtypeTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                           0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

bool Fail(const char** reason, const char* text) {
  if (reason != nullptr) *reason = text;
  return false;
}

}  // namespace

bool ParseWave(const std::uint8_t* data, std::size_t size, WaveInfo& info, const char** reason) {
  info = WaveInfo{};
  if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) {
    return Fail(reason, "not a RIFF WAVE file");
  }
  bool haveFormat = false;
  bool haveData = false;
  std::uint16_t tag = 0;
  // The RIFF size is not trusted; the chunks are walked to the file's end.
  std::size_t pos = 12;
  while (size - pos >= 8 && !(haveFormat && haveData)) {
    const std::uint32_t length = ReadLe32(data + pos + 4);
    const std::size_t body = pos + 8;
    const std::size_t avail = size - body;
    if (std::memcmp(data + pos, "fmt ", 4) == 0 && !haveFormat) {
      if (length < 16 || length > avail) return Fail(reason, "damaged format chunk");
      tag = ReadLe16(data + body);
      info.format.channels = ReadLe16(data + body + 2);
      info.format.samplesPerSecond =
          static_cast<int>(std::min<std::uint32_t>(ReadLe32(data + body + 4), 0x7FFFFFFF));
      info.format.blockAlign = ReadLe16(data + body + 12);
      info.format.bitsPerSample = ReadLe16(data + body + 14);
      if (tag == kFormatExtensible && length >= 40 && ReadLe16(data + body + 16) >= 22 &&
          std::memcmp(data + body + 26, kSubtypeTail, sizeof kSubtypeTail) == 0) {
        tag = ReadLe16(data + body + 24);
      }
      haveFormat = true;
    } else if (std::memcmp(data + pos, "data", 4) == 0 && !haveData) {
      // Some writers leave a placeholder size (0x7FFFF000 and the like)
      // there; the samples end with the file.
      info.dataOffset = body;
      info.dataSize = std::min<std::size_t>(length, avail);
      info.dataChunkSize = length;
      haveData = true;
    }
    if (length >= avail) break;
    pos = body + length + (length & 1);  // chunks are padded to even sizes
  }
  if (!haveFormat) return Fail(reason, "no format chunk");
  if (!haveData) return Fail(reason, "no data chunk");
  if (tag != kFormatPcm) return Fail(reason, "not PCM");
  const platform::PcmFormat& f = info.format;
  if (f.channels != 1 && f.channels != 2) return Fail(reason, "not mono or stereo");
  if (f.bitsPerSample != 8 && f.bitsPerSample != 16) return Fail(reason, "not 8 or 16 bits");
  if (f.blockAlign != f.channels * f.bitsPerSample / 8) return Fail(reason, "wrong block align");
  if (f.samplesPerSecond < platform::kMinBufferRate ||
      f.samplesPerSecond > platform::kMaxBufferRate) {
    return Fail(reason, "unsupported sample rate");
  }
  info.dataSize -= info.dataSize % static_cast<std::size_t>(f.blockAlign);
  if (info.dataSize == 0) return Fail(reason, "no samples");
  return true;
}
