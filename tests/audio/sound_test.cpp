// The sixteen effects through the game's own calls, heard in the mix that
// the test pulls from the headless output.
#include "audio/sound.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "state/game_state.h"
#include "support/audio_files.h"
#include "support/test_data.h"

namespace {

// Output-format files (44100 Hz, 16-bit stereo) mix exactly, so copies can
// be counted by level.
audiofiles::Bytes DcWav(int frames, std::int16_t level) {
  std::vector<std::int16_t> s(static_cast<std::size_t>(frames) * 2, level);
  return audiofiles::Wav44(2, 44100, 16, audiofiles::Pcm16(s));
}

class Sound : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    dir_ = testdata::MakeTempDir("vedo-sound");
    std::filesystem::current_path(dir_);
    platform::UseHeadlessBackend(nullptr);
    ASSERT_EQ(InitDirectSound(gWindow), 1);
  }
  void TearDown() override {
    // The program's own shut-down: every slot, then the device.
    for (WaveSound*& slot : gSound) {
      FreeWave(slot);
      slot = nullptr;
    }
    ReleaseDirectSound();
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(dir_);
  }

  static void Write(const char* name, const audiofiles::Bytes& bytes) {
    testdata::WriteFile(name, bytes);
  }
  // Effect i at level (i + 1) * 100, 500 frames long.
  static void WriteAllEffects() {
    for (int i = 0; i < kSoundEffects; ++i) {
      Write(kSoundFiles[i], DcWav(500, static_cast<std::int16_t>((i + 1) * 100)));
    }
  }
  static std::vector<std::int16_t> Pull(int frames) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * 2);
    EXPECT_TRUE(platform::PullAudio(out.data(), frames));
    return out;
  }
  static int Level() { return Pull(1)[0]; }

  std::filesystem::path previous_;
  std::filesystem::path dir_;
};

TEST_F(Sound, TwentyTwoQuickPlaysMakeTwentyOneCopies) {
  Write("shot2.wav", DcWav(1000, 1000));
  WaveSound* shot = LoadWave("shot2.wav");
  ASSERT_NE(shot, nullptr);
  gSound[SND_SHOT2] = shot;
  for (int i = 0; i < 21; ++i) PlayWave(gSound[SND_SHOT2]);
  std::vector<std::int16_t> out = Pull(100);
  EXPECT_EQ(out[0], 21000) << "21 copies sound at once";
  EXPECT_EQ(out[2 * 99 + 1], 21000);
  // The 22nd request comes back to copy 0, which is still sounding: it adds
  // nothing, and copy 0 is not restarted.
  PlayWave(gSound[SND_SHOT2]);
  EXPECT_EQ(shot->next, 1);
  out = Pull(1000);
  EXPECT_EQ(out[0], 21000);
  EXPECT_EQ(out[2 * 899], 21000);
  EXPECT_EQ(out[2 * 900], 0) << "copy 0 ended with the others";
}

TEST_F(Sound, NextCyclesThroughTheCopies) {
  Write("zombi.wav", DcWav(10, 5));
  WaveSound* sound = LoadWave("zombi.wav");
  ASSERT_NE(sound, nullptr);
  gSound[SND_ZOMBIE] = sound;
  EXPECT_EQ(sound->next, 0);
  for (int i = 1; i <= 21; ++i) {
    PlayWave(sound);
    EXPECT_EQ(sound->next, i % 21) << "after " << i << " plays";
  }
  for (platform::SoundBuffer* copy : sound->buffer) ASSERT_NE(copy, nullptr);
}

TEST_F(Sound, AFinishedCopyPlaysAgainFromItsStart) {
  std::vector<std::int16_t> ramp;
  for (int i = 0; i < 300; ++i) {
    ramp.push_back(static_cast<std::int16_t>(i + 1));
    ramp.push_back(static_cast<std::int16_t>(i + 1));
  }
  Write("file.wav", audiofiles::Wav44(2, 44100, 16, audiofiles::Pcm16(ramp)));
  gSound[SND_FILE] = LoadWave("file.wav");
  ASSERT_NE(gSound[SND_FILE], nullptr);
  // Copy 0 plays to its end; twenty more turns bring it round again.
  PlayWave(gSound[SND_FILE]);
  Pull(400);
  for (int i = 0; i < 20; ++i) PlayWave(gSound[SND_FILE]);
  Pull(400);
  ASSERT_EQ(gSound[SND_FILE]->next, 0);
  PlayWave(gSound[SND_FILE]);
  const std::vector<std::int16_t> out = Pull(301);
  EXPECT_EQ(out[0], 1);
  EXPECT_EQ(out[2 * 150], 151);
  EXPECT_EQ(out[2 * 299], 300);
  EXPECT_EQ(out[2 * 300], 0);
}

TEST_F(Sound, EachFileGoesToItsSlot) {
  WriteAllEffects();
  EXPECT_EQ(LoadSounds(), 1);
  for (int i = 0; i < kSoundSlots; ++i) {
    if (i < kSoundEffects) {
      ASSERT_NE(gSound[i], nullptr) << "slot " << i;
      PlayWave(gSound[i]);
      EXPECT_EQ(Level(), (i + 1) * 100) << kSoundFiles[i];
      Pull(600);
    } else {
      EXPECT_EQ(gSound[i], nullptr) << "slot " << i;
    }
  }
}

TEST_F(Sound, AMissingFileLeavesASilentSlotAndChangesNothingElse) {
  WriteAllEffects();
  std::filesystem::remove("kero.wav");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(LoadSounds(), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << "a missing file is silent";
  EXPECT_EQ(gSound[SND_KERO], nullptr);
  PlayWave(gSound[SND_KERO]);
  StopWave(gSound[SND_KERO]);
  EXPECT_EQ(Level(), 0);
  Pull(600);
  int expected = 0;
  for (int i = 0; i < kSoundEffects; ++i) {
    if (i == SND_KERO) continue;
    ASSERT_NE(gSound[i], nullptr) << kSoundFiles[i];
    PlayWave(gSound[i]);
    expected += (i + 1) * 100;
  }
  EXPECT_EQ(Level(), expected);
}

TEST_F(Sound, AFileThatCannotBeUsedIsNamedWithItsReason) {
  Write("hunt.wav",
        audiofiles::Riff({audiofiles::Chunk("fmt ", audiofiles::FmtBody(2, 1, 22050, 4)),
                          audiofiles::Chunk("data", audiofiles::Bytes(100, 0))}));
  Write("died.wav", audiofiles::Bytes{'R', 'I', 'F', 'F', 0, 0});
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(LoadWave("hunt.wav"), nullptr);
  EXPECT_EQ(LoadWave("died.wav"), nullptr);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "LoadWave: hunt.wav: not PCM.\nLoadWave: died.wav: not a RIFF WAVE file.\n");
}

TEST_F(Sound, AnEffectsSamplesAppearInTheOutput) {
  // A file like the game's own: 22050 Hz, 8-bit mono, the plain layout;
  // a 441 Hz tone at a third of full scale.
  audiofiles::Bytes samples;
  for (int i = 0; i < 4410; ++i) {
    samples.push_back(
        static_cast<std::uint8_t>(128 + std::lround(40 * std::sin(2 * M_PI * i / 50.0))));
  }
  Write("open1.wav", audiofiles::Wav44(1, 22050, 8, samples));
  gSound[SND_OPEN1] = LoadWave("open1.wav");
  ASSERT_NE(gSound[SND_OPEN1], nullptr);
  PlayWave(gSound[SND_OPEN1]);
  const std::vector<std::int16_t> out = Pull(8820);
  // Allow the converter a short delay; then every frame, in both channels,
  // follows the tone within a fraction of one 8-bit step.
  int lag = 0;
  double best = 1e300;
  for (int l = -8; l <= 8; ++l) {
    double e = 0;
    for (int i = 500; i < 8000; ++i)
      e += std::abs(out[2 * i] - 40 * 256 * std::sin(2 * M_PI * (i - l) / 100.0));
    if (e < best) {
      best = e;
      lag = l;
    }
  }
  for (int i = 500; i < 8000; ++i) {
    const double want = 40 * 256 * std::sin(2 * M_PI * (i - lag) / 100.0);
    ASSERT_NEAR(out[2 * i], want, 256) << "frame " << i;
    ASSERT_EQ(out[2 * i], out[2 * i + 1]) << "frame " << i;
  }
}

TEST_F(Sound, StopWaveSilencesEveryCopy) {
  Write("splay.wav", DcWav(1000, 100));
  gSound[SND_SPRAY] = LoadWave("splay.wav");
  ASSERT_NE(gSound[SND_SPRAY], nullptr);
  for (int i = 0; i < 5; ++i) PlayWave(gSound[SND_SPRAY]);
  EXPECT_EQ(Level(), 500);
  StopWave(gSound[SND_SPRAY]);
  EXPECT_EQ(Level(), 0);
}

TEST_F(Sound, ShutDownWithEmptySlotsReleasesTheDevice) {
  WriteAllEffects();
  std::filesystem::remove("start.wav");
  std::filesystem::remove("open2.wav");
  LoadSounds();
  EXPECT_EQ(gSound[SND_START], nullptr);
  EXPECT_EQ(gSound[SND_OPEN2], nullptr);
  PlayWave(gSound[SND_MAIN]);
  for (WaveSound*& slot : gSound) {
    FreeWave(slot);
    slot = nullptr;
  }
  ReleaseDirectSound();
  EXPECT_EQ(gDirectSound, nullptr);
  EXPECT_FALSE(platform::AudioPulledByHost()) << "the output closed with the device";
  ReleaseDirectSound();  // a second release does nothing
  // The device can be had again; the leak checker vouches for the rest.
  EXPECT_EQ(InitDirectSound(gWindow), 1);
}

TEST(SoundStartUp, WithoutASoundCardTheGameStartsSilentWithOneWarning) {
  const std::filesystem::path previous = std::filesystem::current_path();
  const std::filesystem::path dir = testdata::MakeTempDir("vedo-nocard");
  std::filesystem::current_path(dir);
  testdata::WriteFile("main.wav", DcWav(100, 100));
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  platform::UseNativeBackend();
  ::testing::internal::CaptureStderr();
  const int started = InitDirectSound(gWindow);
  LoadSounds();
  platform::WaitForSoundfont();
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(started, 1);
  EXPECT_FALSE(platform::AudioPulledByHost());
  ASSERT_NE(gSound[SND_MAIN], nullptr);
  // The silent device pulls the mix at the real rate, so effects run their
  // course as they would on a card.
  PlayWave(gSound[SND_MAIN]);
  platform::SoundBuffer* copy = gSound[SND_MAIN]->buffer[0];
  for (int i = 0; i < 200 && platform::SoundBufferPlaying(copy); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_FALSE(platform::SoundBufferPlaying(copy));
  for (WaveSound*& slot : gSound) {
    FreeWave(slot);
    slot = nullptr;
  }
  ReleaseDirectSound();
  platform::UseHeadlessBackend(nullptr);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(dir);
  // The warning, and the line that names the soundfont.
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 2) << err;
  EXPECT_NE(err.find("no audio device"), std::string::npos) << err;
  EXPECT_NE(err.find("Soundfont: "), std::string::npos) << err;
}

}  // namespace
