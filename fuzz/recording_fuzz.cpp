// The recording reader on arbitrary bytes, and the steps of every recording
// it takes. Each input is read twice: as it is, and with its length field
// and its last four bytes (where the checksum goes) made to hold, so that
// the fuzzer reaches past them.
#include <cstdint>
#include <string>
#include <vector>

#include "app/recording_file.h"

namespace {

void ReadAndStep(std::vector<std::uint8_t> bytes) {
  Recording recording;
  std::string why;
  if (!ReadRecording(std::move(bytes), recording, why)) return;
  RecordingSteps steps(recording);
  RecordingStep step;
  while (steps.Next(step)) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> bytes(data, data + size);
  ReadAndStep(bytes);
  // The heading, ten bytes, ends with the body's length; the checksum
  // follows the body.
  constexpr std::size_t kHead = 10;
  constexpr std::size_t kTail = 4;
  if (size < kHead + kTail) return 0;
  const std::size_t body = size - kHead - kTail;
  for (std::size_t i = 0; i < 4; ++i) bytes[6 + i] = static_cast<std::uint8_t>(body >> (8 * i));
  const std::uint32_t crc = RecordingChecksum(bytes.data(), size - kTail);
  for (std::size_t i = 0; i < 4; ++i)
    bytes[size - kTail + i] = static_cast<std::uint8_t>(crc >> (8 * i));
  ReadAndStep(std::move(bytes));
  return 0;
}
