// A small Windows program that plays one WAV file through the platform
// layer's sound output (our mixer over waveOut) and, given a MIDI file, a
// few seconds of music through the MIDI output; linked with the platform
// layer alone, so the sound path can be heard under Wine apart from the
// whole game.
//
//   sound_probe.exe FILE.wav [FILE.mid]
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "platform/sound/audio.h"

namespace {

std::uint32_t Le(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<std::size_t>(i)];
  return v;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: sound_probe FILE.wav [FILE.mid]\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const std::vector<std::uint8_t> wav{std::istreambuf_iterator<char>(in), {}};
  platform::PcmFormat format;
  std::size_t data = 0;
  std::size_t size = 0;
  for (std::size_t at = 12; at + 8 <= wav.size();) {
    const std::size_t length = Le(wav, at + 4, 4);
    if (wav[at] == 'f' && wav[at + 1] == 'm' && at + 24 <= wav.size()) {
      format.channels = static_cast<int>(Le(wav, at + 10, 2));
      format.samplesPerSecond = static_cast<int>(Le(wav, at + 12, 4));
      format.blockAlign = static_cast<int>(Le(wav, at + 20, 2));
      format.bitsPerSample = static_cast<int>(Le(wav, at + 22, 2));
    } else if (wav[at] == 'd' && wav[at + 1] == 'a') {
      data = at + 8;
      size = std::min(length, wav.size() - data);
    }
    at += 8 + length + (length & 1);
  }
  platform::SoundDevice* device = platform::OpenSoundDevice();
  if (device == nullptr || data == 0) return 1;
  platform::SoundBuffer* buffer =
      platform::CreateSoundBuffer(device, format, wav.data() + data, size);
  if (buffer == nullptr) return 1;
  platform::SequencerId music = argc > 2 ? platform::OpenSequencer(argv[2]) : 0;
  if (music != 0) platform::SequencerPlay(music, 0);
  // A quiet start, so that the sound lies inside what was captured.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  platform::PlaySoundBuffer(buffer);
  const auto start = std::chrono::steady_clock::now();
  while (platform::SoundBufferPlaying(buffer)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("played %zu frames in %.0f ms\n", platform::SoundBufferFrames(buffer), ms);
  std::this_thread::sleep_for(std::chrono::milliseconds(music != 0 ? 2000 : 300));
  if (music != 0) platform::CloseSequencer(music);
  platform::CloseSoundDevice(device);
  return 0;
}
