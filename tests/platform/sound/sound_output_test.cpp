// The sound device, its buffers and the mix, pulled frame by frame through
// the headless output; and the SDL device on the machine's own terms.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "platform/port.h"
#include "platform/sound/audio.h"
#include "platform/sound/audio_output.h"
#include "support/audio_files.h"
#include "support/test_data.h"

namespace {

using platform::PcmFormat;
using platform::SoundBuffer;

constexpr PcmFormat kStereo16At44k{2, 44100, 4, 16};

// Interleaved stereo 16-bit bytes holding `frames` frames of (left, right).
std::vector<std::uint8_t> Dc(int frames, std::int16_t left, std::int16_t right) {
  std::vector<std::int16_t> s;
  for (int i = 0; i < frames; ++i) {
    s.push_back(left);
    s.push_back(right);
  }
  return audiofiles::Pcm16(s);
}

class SoundOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::UseHeadlessBackend(nullptr);
    device_ = platform::OpenSoundDevice();
    ASSERT_NE(device_, nullptr);
    ASSERT_TRUE(platform::AudioPulledByHost());
  }
  void TearDown() override { platform::CloseSoundDevice(device_); }

  SoundBuffer* Make(const PcmFormat& f, const std::vector<std::uint8_t>& bytes) {
    return platform::CreateSoundBuffer(device_, f, bytes.data(), bytes.size());
  }
  static std::vector<std::int16_t> Pull(int frames) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * 2);
    EXPECT_TRUE(platform::PullAudio(out.data(), frames));
    return out;
  }

  platform::SoundDevice* device_ = nullptr;
};

TEST_F(SoundOutput, OutputFormatBuffersPlayUnchanged) {
  std::vector<std::int16_t> ramp;
  for (int i = 0; i < 300; ++i) {
    ramp.push_back(static_cast<std::int16_t>(i * 100 - 15000));
    ramp.push_back(static_cast<std::int16_t>(-i * 7));
  }
  SoundBuffer* b = Make(kStereo16At44k, audiofiles::Pcm16(ramp));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(platform::SoundBufferFrames(b), 300u);
  EXPECT_EQ(Pull(10), std::vector<std::int16_t>(20, 0)) << "nothing plays before Play";
  platform::PlaySoundBuffer(b);
  const std::vector<std::int16_t> out = Pull(400);
  for (std::size_t i = 0; i < ramp.size(); ++i) ASSERT_EQ(out[i], ramp[i]) << "sample " << i;
  for (std::size_t i = ramp.size(); i < out.size(); ++i) ASSERT_EQ(out[i], 0) << "sample " << i;
  EXPECT_FALSE(platform::SoundBufferPlaying(b));
  EXPECT_EQ(platform::SoundBufferPosition(b), 0u);
}

// The player's effects volume scales the effects in the mix; at full volume
// they come out as they are.
TEST_F(SoundOutput, TheEffectsVolumeScalesThemAndFullVolumeLeavesThemAlone) {
  SoundBuffer* b = Make(kStereo16At44k, Dc(100, 20001, -12345));
  ASSERT_NE(b, nullptr);
  for (const int level : {50, 0, platform::kFullVolume}) {
    platform::SetSoundLevels(level, platform::kFullVolume);
    platform::PlaySoundBuffer(b);
    const std::vector<std::int16_t> out = Pull(100);
    EXPECT_EQ(out[0], 20001 * level / 100) << level;
    EXPECT_EQ(out[199], -12345 * level / 100) << level;
  }
}

TEST_F(SoundOutput, EightBitMonoAt22kIsConvertedWholeAtCreation) {
  // Unsigned 8-bit, centre 0x80: 0xC0 is half of full scale up.
  const int frames = 22050;
  std::vector<std::uint8_t> bytes(frames, 0xC0);
  SoundBuffer* b = Make(PcmFormat{1, 22050, 1, 8}, bytes);
  ASSERT_NE(b, nullptr);
  // Twice the frames at 44100 Hz; nothing lost at the end.
  EXPECT_NEAR(static_cast<double>(platform::SoundBufferFrames(b)), 2.0 * frames, 2.0);
  platform::PlaySoundBuffer(b);
  const std::vector<std::int16_t> out = Pull(2 * frames);
  // Away from the edges, where the resampler's filter settles, both
  // channels hold the level.
  for (int i = 200; i < 2 * frames - 200; ++i) {
    ASSERT_NEAR(out[2 * i], 16384, 40) << "frame " << i;
    ASSERT_EQ(out[2 * i], out[2 * i + 1]) << "frame " << i;
  }
  // And the sound runs to its last frame.
  EXPECT_GT(out[2 * (2 * frames - 3)], 8000);
}

TEST_F(SoundOutput, ASineSurvivesTheConversion) {
  // 441 Hz at 22050 Hz, 16-bit mono: 50 samples a period.
  std::vector<std::int16_t> sine;
  for (int i = 0; i < 2205; ++i)
    sine.push_back(static_cast<std::int16_t>(std::lround(20000 * std::sin(2 * M_PI * i / 50.0))));
  SoundBuffer* b = Make(PcmFormat{1, 22050, 2, 16}, audiofiles::Pcm16(sine));
  ASSERT_NE(b, nullptr);
  platform::PlaySoundBuffer(b);
  const std::vector<std::int16_t> out = Pull(4410);
  // The converter may delay the signal by a few frames; find the lag that
  // fits best, then every frame must fit within a small tolerance.
  int bestLag = 0;
  double bestError = 1e300;
  for (int lag = -8; lag <= 8; ++lag) {
    double error = 0;
    for (int i = 400; i < 4000; ++i) {
      const double want = 20000 * std::sin(2 * M_PI * (i - lag) / 100.0);
      error += std::abs(out[2 * i] - want);
    }
    if (error < bestError) {
      bestError = error;
      bestLag = lag;
    }
  }
  for (int i = 400; i < 4000; ++i) {
    const double want = 20000 * std::sin(2 * M_PI * (i - bestLag) / 100.0);
    ASSERT_NEAR(out[2 * i], want, 300) << "frame " << i << ", lag " << bestLag;
  }
}

// Platforms without SDL convert with our own code; it must come out as SDL's
// does, give or take a frame of delay and the resampler's own rounding.
TEST(PcmConversion, OurConverterAgreesWithSdls) {
  struct Case {
    PcmFormat format;
    std::vector<std::uint8_t> bytes;
  };
  std::vector<std::int16_t> stereo;  // 16-bit stereo, left and right apart
  std::vector<std::uint8_t> mono8;   // 8-bit unsigned mono
  for (int i = 0; i < 3000; ++i) {
    stereo.push_back(static_cast<std::int16_t>(std::lround(15000 * std::sin(i / 9.0))));
    stereo.push_back(static_cast<std::int16_t>(std::lround(-9000 * std::sin(i / 23.0))));
    mono8.push_back(static_cast<std::uint8_t>(128 + std::lround(100 * std::sin(i / 6.0))));
  }
  for (const Case& c :
       {Case{{2, 22050, 4, 16}, audiofiles::Pcm16(stereo)}, Case{{1, 11025, 1, 8}, mono8},
        Case{{2, 44100, 4, 16}, audiofiles::Pcm16(stereo)}}) {
    SCOPED_TRACE(c.format.samplesPerSecond);
    std::vector<std::int16_t> sdl;
    std::vector<std::int16_t> ours;
    ASSERT_TRUE(platform::ConvertPcm(c.format, c.bytes.data(), c.bytes.size(), sdl));
    ASSERT_TRUE(platform::ConvertPcmPortable(c.format, c.bytes.data(), c.bytes.size(), ours));
    EXPECT_NEAR(static_cast<double>(ours.size()), static_cast<double>(sdl.size()), 2.0 * 2 * 4);
    double best = 1e300;
    const int frames = static_cast<int>(std::min(ours.size(), sdl.size()) / 2) - 40;
    for (int lag = -8; lag <= 8; ++lag) {
      double error = 0;
      for (int i = 20; i < frames; ++i) {
        for (int ch = 0; ch < 2; ++ch)
          error += std::abs(ours[2 * i + ch] - sdl[2 * (i + lag) + ch]);
      }
      best = std::min(best, error / (2.0 * (frames - 20)));
    }
    // The signals peak at 15,000 or more: a mean difference of 1 %.
    EXPECT_LT(best, 150.0);
  }
}

TEST_F(SoundOutput, SumsSaturate) {
  SoundBuffer* up = Make(kStereo16At44k, Dc(100, 30000, -30000));
  SoundBuffer* up2 = platform::DuplicateSoundBuffer(device_, up);
  SoundBuffer* small = Make(kStereo16At44k, Dc(200, 1000, 1000));
  ASSERT_NE(up2, nullptr);
  platform::PlaySoundBuffer(up);
  platform::PlaySoundBuffer(up2);
  platform::PlaySoundBuffer(small);
  const std::vector<std::int16_t> out = Pull(200);
  EXPECT_EQ(out[0], 32767);
  EXPECT_EQ(out[1], -32768);
  EXPECT_EQ(out[2 * 99], 32767);
  EXPECT_EQ(out[2 * 100], 1000) << "the duplicates ended together";
  EXPECT_EQ(out[2 * 199 + 1], 1000);
}

TEST_F(SoundOutput, DuplicatesShareSamplesButNotPositions) {
  std::vector<std::int16_t> ramp;
  for (int i = 0; i < 100; ++i) {
    ramp.push_back(static_cast<std::int16_t>(i));
    ramp.push_back(static_cast<std::int16_t>(i));
  }
  SoundBuffer* a = Make(kStereo16At44k, audiofiles::Pcm16(ramp));
  SoundBuffer* b = platform::DuplicateSoundBuffer(device_, a);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(platform::SoundBufferFrames(b), 100u);
  EXPECT_FALSE(platform::SoundBufferPlaying(b)) << "a duplicate starts idle";
  platform::PlaySoundBuffer(a);
  Pull(30);
  platform::PlaySoundBuffer(b);
  EXPECT_EQ(platform::SoundBufferPosition(a), 30u);
  EXPECT_EQ(platform::SoundBufferPosition(b), 0u);
  const std::vector<std::int16_t> out = Pull(10);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(out[2 * i], (30 + i) + i) << "frame " << i;
  // Releasing the original leaves the duplicate's samples alive.
  platform::ReleaseSoundBuffer(a);
  const std::vector<std::int16_t> rest = Pull(10);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(rest[2 * i], 10 + i) << "frame " << i;
}

TEST_F(SoundOutput, OneShotPlayRules) {
  SoundBuffer* b = Make(kStereo16At44k, Dc(100, 500, 500));
  ASSERT_NE(b, nullptr);
  platform::PlaySoundBuffer(b);
  Pull(60);
  // Playing a sounding buffer changes nothing: it is not rewound.
  platform::PlaySoundBuffer(b);
  EXPECT_EQ(platform::SoundBufferPosition(b), 60u);
  std::vector<std::int16_t> out = Pull(50);
  EXPECT_EQ(out[2 * 39], 500);
  EXPECT_EQ(out[2 * 40], 0) << "it ended after its 100 frames";
  EXPECT_FALSE(platform::SoundBufferPlaying(b));
  // A finished buffer plays again from its start.
  platform::PlaySoundBuffer(b);
  out = Pull(120);
  EXPECT_EQ(out[0], 500);
  EXPECT_EQ(out[2 * 99], 500);
  EXPECT_EQ(out[2 * 100], 0);
  // Stop holds the position; Play goes on from there.
  platform::PlaySoundBuffer(b);
  Pull(30);
  platform::StopSoundBuffer(b);
  EXPECT_EQ(Pull(10)[0], 0);
  EXPECT_EQ(platform::SoundBufferPosition(b), 30u);
  platform::PlaySoundBuffer(b);
  out = Pull(80);
  EXPECT_EQ(out[2 * 69], 500);
  EXPECT_EQ(out[2 * 70], 0);
}

TEST_F(SoundOutput, RefusesFormatsItCannotPlay) {
  const std::vector<std::uint8_t> bytes(64, 0x80);
  EXPECT_EQ(Make(PcmFormat{3, 22050, 3, 8}, bytes), nullptr);
  EXPECT_EQ(Make(PcmFormat{1, 22050, 3, 24}, bytes), nullptr);
  EXPECT_EQ(Make(PcmFormat{2, 22050, 2, 16}, bytes), nullptr) << "block align must match";
  EXPECT_EQ(Make(PcmFormat{1, 0, 1, 8}, bytes), nullptr);
  EXPECT_EQ(Make(PcmFormat{1, 500000, 1, 8}, bytes), nullptr);
  EXPECT_EQ(Make(PcmFormat{2, 44100, 4, 16}, std::vector<std::uint8_t>(3, 0)), nullptr)
      << "no whole frame";
  // Over two minutes.
  EXPECT_EQ(Make(PcmFormat{1, 8000, 1, 8}, std::vector<std::uint8_t>(8000 * 121, 0x80)), nullptr);
  EXPECT_EQ(platform::DuplicateSoundBuffer(device_, nullptr), nullptr);
}

TEST_F(SoundOutput, ThereIsOneDevice) {
  EXPECT_EQ(platform::OpenSoundDevice(), nullptr);
  // Closing releases every buffer (the leak checker sees to that) and a new
  // device opens.
  Make(kStereo16At44k, Dc(10, 1, 1));
  platform::CloseSoundDevice(device_);
  device_ = platform::OpenSoundDevice();
  EXPECT_NE(device_, nullptr);
}

TEST(SoundDevice, DefaultDriverNeverSpillsLibraryNoise) {
  // On a machine without a card the default drivers fail; alsa-lib would
  // print its own lines. Whatever this machine has, at most our one line.
  unsetenv("SDL_AUDIODRIVER");
  platform::UseNativeBackend();
  ::testing::internal::CaptureStderr();
  platform::SoundDevice* device = platform::OpenSoundDevice();
  platform::WaitForSoundfont();
  const std::string err = ::testing::internal::GetCapturedStderr();
  ASSERT_NE(device, nullptr);
  platform::CloseSoundDevice(device);
  platform::UseHeadlessBackend(nullptr);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  // Besides that line, the one that names the soundfont.
  EXPECT_LE(std::count(err.begin(), err.end(), '\n'), 2) << err;
  EXPECT_NE(err.find("Soundfont: "), std::string::npos) << err;
  EXPECT_EQ(err.find("ALSA lib"), std::string::npos) << err;
}

TEST(SoundDevice, DiskDriverRecordsTheMix) {
  // SDL's disk driver writes what the callback mixes to a file, in real
  // time: the whole SDL path, from device to bytes.
  const std::filesystem::path dir = testdata::MakeTempDir("vedo-disk-audio");
  const std::filesystem::path file = dir / "out.raw";
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
  platform::UseNativeBackend();
  platform::SoundDevice* device = platform::OpenSoundDevice();
  ASSERT_NE(device, nullptr);
  std::vector<std::int16_t> pattern;
  for (int i = 0; i < 2000; ++i) {
    pattern.push_back(static_cast<std::int16_t>(1000 + i));
    pattern.push_back(static_cast<std::int16_t>(-1000 - i));
  }
  const std::vector<std::uint8_t> bytes = audiofiles::Pcm16(pattern);
  SoundBuffer* b = platform::CreateSoundBuffer(device, kStereo16At44k, bytes.data(), bytes.size());
  ASSERT_NE(b, nullptr);
  platform::PlaySoundBuffer(b);
  for (int i = 0; i < 400 && platform::SoundBufferPlaying(b); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  platform::CloseSoundDevice(device);
  platform::UseHeadlessBackend(nullptr);
  setenv("SDL_AUDIODRIVER", "dummy", 1);

  std::ifstream in(file, std::ios::binary);
  const std::vector<char> raw((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
  std::vector<std::int16_t> recorded(raw.size() / 2);
  std::memcpy(recorded.data(), raw.data(), recorded.size() * 2);
  auto start = std::find(recorded.begin(), recorded.end(), std::int16_t{1000});
  ASSERT_NE(start, recorded.end()) << "the effect never reached the device";
  ASSERT_GE(recorded.end() - start, static_cast<std::ptrdiff_t>(pattern.size()));
  EXPECT_TRUE(std::equal(pattern.begin(), pattern.end(), start));
  std::filesystem::remove_all(dir);
}

}  // namespace
