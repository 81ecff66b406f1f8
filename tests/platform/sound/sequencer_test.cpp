// The MIDI sequencer on files the tests write, its clock driven by the
// frames the test pulls from the headless output, which plays through the
// platform's synthesizer for these tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "platform/sound/audio.h"
#include "support/audio_files.h"
#include "support/test_data.h"

namespace {

using audiofiles::Track;
using platform::SequencerId;
using platform::SequencerMode;

constexpr const char* kSoundfont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

class Sequencer : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::UseHeadlessBackend(nullptr);
    platform::HeadlessUseNativeMusic(true);  // the synthesizer under test
    dir_ = testdata::MakeTempDir("vedo-seq");
  }
  void TearDown() override {
    platform::CloseSequencer(id_);
    platform::SetSoundfontPath(kSoundfont);
    platform::HeadlessUseNativeMusic(false);
    std::filesystem::remove_all(dir_);
  }

  SequencerId Open(const audiofiles::Bytes& bytes, const char* name = "tune.mid") {
    const std::filesystem::path path = dir_ / name;
    testdata::WriteFile(path, bytes);
    id_ = platform::OpenSequencer(path.c_str());
    return id_;
  }
  std::uint32_t Position() const {
    std::uint32_t ms = 0;
    EXPECT_TRUE(platform::SequencerPosition(id_, ms));
    return ms;
  }
  SequencerMode Mode() const {
    SequencerMode m = SequencerMode::kStopped;
    EXPECT_TRUE(platform::SequencerGetMode(id_, m));
    return m;
  }
  static std::vector<std::int16_t> Pull(int frames) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * 2);
    EXPECT_TRUE(platform::PullAudio(out.data(), frames));
    return out;
  }
  static int Peak(const std::vector<std::int16_t>& s, std::size_t from = 0,
                  std::size_t to = SIZE_MAX) {
    int peak = 0;
    for (std::size_t i = from; i < std::min(to, s.size()); ++i)
      peak = std::max(peak, std::abs(s[i]));
    return peak;
  }
  static int Frames(int ms) { return ms * 441 / 10; }

  // Two seconds at 120 beats a minute: a chord at the start, held.
  static audiofiles::Bytes TwoSeconds() {
    Track t;
    t.Tempo(0, 500000).Program(0, 0, 0).NoteOn(0, 0, 60, 110).NoteOn(0, 0, 67, 110).End(384);
    return audiofiles::Midi(0, 96, {t});
  }

  std::filesystem::path dir_;
  SequencerId id_ = 0;
};

TEST_F(Sequencer, TheClockIsTheFramesPlayed) {
  ASSERT_NE(Open(TwoSeconds()), 0u);
  std::uint32_t length = 0;
  ASSERT_TRUE(platform::SequencerLength(id_, length));
  EXPECT_EQ(length, 2000u);
  Pull(Frames(300));
  EXPECT_EQ(Position(), 0u) << "a stopped tune does not move";

  ASSERT_TRUE(platform::SequencerPlay(id_, 0));
  Pull(Frames(1500));
  EXPECT_EQ(Position(), 1500u);
  ASSERT_TRUE(platform::SequencerPause(id_));
  Pull(Frames(300));
  EXPECT_EQ(Position(), 1500u);
  ASSERT_TRUE(platform::SequencerSeek(id_, 700));
  EXPECT_EQ(Mode(), SequencerMode::kPaused) << "a paused tune stays paused";

  ASSERT_TRUE(platform::SequencerPlay(id_, 1000));
  Pull(Frames(250));
  ASSERT_TRUE(platform::SequencerSeek(id_, 1200));
  EXPECT_EQ(Mode(), SequencerMode::kStopped) << "a seek stops a playing tune";
  EXPECT_FALSE(platform::SequencerSeek(id_, 2001)) << "past the end";
  EXPECT_FALSE(platform::SequencerPlay(id_, 2001)) << "past the end";

  ASSERT_TRUE(platform::SequencerPlay(id_, 1000));
  Pull(Frames(1200));
  // It ran into its end and stopped there by itself.
  EXPECT_EQ(Mode(), SequencerMode::kStopped);
  EXPECT_EQ(Position(), 2000u);
  ASSERT_TRUE(platform::SequencerPause(id_));
  EXPECT_EQ(Mode(), SequencerMode::kStopped) << "pausing a stopped tune leaves it stopped";
}

TEST_F(Sequencer, TempoFollowsTheFileAndCanBeSet) {
  // 120 beats a minute for a second, then 240.
  Track t;
  t.Tempo(0, 500000).NoteOn(0, 0, 60, 100).Tempo(192, 250000).NoteOff(192, 0, 60).End();
  ASSERT_NE(Open(audiofiles::Midi(0, 96, {t})), 0u);
  std::uint32_t length = 0;
  ASSERT_TRUE(platform::SequencerLength(id_, length));
  EXPECT_EQ(length, 1500u);
  std::uint32_t tempo = 0;
  ASSERT_TRUE(platform::SequencerTempo(id_, tempo));
  EXPECT_EQ(tempo, 120u);
  ASSERT_TRUE(platform::SequencerSeek(id_, 1200));
  ASSERT_TRUE(platform::SequencerTempo(id_, tempo));
  EXPECT_EQ(tempo, 240u);

  // Half the tempo: the tune's clock runs at half speed.
  ASSERT_TRUE(platform::SequencerSeek(id_, 0));
  ASSERT_TRUE(platform::SequencerSetTempo(id_, 60));
  ASSERT_TRUE(platform::SequencerTempo(id_, tempo));
  EXPECT_EQ(tempo, 60u);
  ASSERT_TRUE(platform::SequencerPlay(id_, 0));
  Pull(Frames(1000));
  EXPECT_EQ(Position(), 500u);
  EXPECT_FALSE(platform::SequencerSetTempo(id_, 0));

  platform::MidiTimeDivision division;
  ASSERT_TRUE(platform::SequencerDivision(id_, division));
  EXPECT_EQ(division, platform::MidiTimeDivision::kPpqn);
}

TEST_F(Sequencer, SmpteFilesPlayInRealTime) {
  Track t;
  t.NoteOn(0, 0, 60, 100).NoteOff(2000, 0, 60).End(500);
  // 30 frames of 10 ticks: 300 ticks a second.
  ASSERT_NE(Open(audiofiles::Midi(0, audiofiles::SmpteDivision(30, 10), {t})), 0u);
  std::uint32_t length = 0;
  ASSERT_TRUE(platform::SequencerLength(id_, length));
  EXPECT_EQ(length, 8333u);
  platform::MidiTimeDivision division;
  ASSERT_TRUE(platform::SequencerDivision(id_, division));
  EXPECT_EQ(division, platform::MidiTimeDivision::kSmpte30);
  std::uint32_t tempo = 0;
  ASSERT_TRUE(platform::SequencerTempo(id_, tempo));
  EXPECT_EQ(tempo, 30u);
  ASSERT_TRUE(platform::SequencerPlay(id_, 0));
  Pull(Frames(2500));
  EXPECT_EQ(Position(), 2500u);
}

TEST_F(Sequencer, NotesSoundThroughTheSynthesizerAtTheirTime) {
  Track t;
  t.Tempo(0, 500000).Program(0, 0, 0).NoteOn(96, 0, 60, 120).NoteOff(96, 0, 60).End(96);
  ASSERT_NE(Open(audiofiles::Midi(0, 96, {t})), 0u);
  if (!platform::WaitForSoundfont()) GTEST_SKIP() << "no soundfont on this machine";
  EXPECT_EQ(Peak(Pull(Frames(200))), 0) << "silence before Play";
  ASSERT_TRUE(platform::SequencerPlay(id_, 0));
  const std::vector<std::int16_t> out = Pull(Frames(1000));
  // The note starts at 500 ms: nothing before, sound after.
  EXPECT_EQ(Peak(out, 0, 2 * static_cast<std::size_t>(Frames(499))), 0);
  EXPECT_GT(Peak(out, 2 * static_cast<std::size_t>(Frames(500)),
                 2 * static_cast<std::size_t>(Frames(900))),
            1500);
}

TEST_F(Sequencer, APlayFromMidwayBringsTheChannelsAlong) {
  if (platform::MidiOutputCount() == 0) GTEST_SKIP() << "no soundfont on this machine";
  // A flute, panned hard left and bent, set up at the start; its note at 1 s.
  Track late;
  late.Tempo(0, 500000)
      .Program(0, 0, 73)
      .Ev(0, {0xB0, 10, 0})
      .Ev(0, {0xE0, 0x00, 0x50})
      .NoteOn(192, 0, 72, 110)
      .NoteOff(96, 0, 72)
      .End(96);
  // The same set-up and note, all at the start.
  Track early;
  early.Tempo(0, 500000)
      .Program(0, 0, 73)
      .Ev(0, {0xB0, 10, 0})
      .Ev(0, {0xE0, 0x00, 0x50})
      .NoteOn(0, 0, 72, 110)
      .NoteOff(96, 0, 72)
      .End(96);
  // The note alone, with every channel at its defaults.
  Track bare;
  bare.Tempo(0, 500000).NoteOn(0, 0, 72, 110).NoteOff(96, 0, 72).End(96);

  auto render = [&](const audiofiles::Bytes& file, std::uint32_t fromMs) {
    EXPECT_NE(Open(file), 0u);
    EXPECT_TRUE(platform::WaitForSoundfont());
    EXPECT_TRUE(platform::SequencerPlay(id_, fromMs));
    std::vector<std::int16_t> out = Pull(Frames(800));
    platform::CloseSequencer(id_);
    id_ = 0;
    return out;
  };
  const std::vector<std::int16_t> fromMidway = render(audiofiles::Midi(0, 96, {late}), 1000);
  const std::vector<std::int16_t> reference = render(audiofiles::Midi(0, 96, {early}), 0);
  const std::vector<std::int16_t> plain = render(audiofiles::Midi(0, 96, {bare}), 0);
  ASSERT_GT(Peak(reference), 1000);
  int worst = 0;
  int differs = 0;
  for (std::size_t i = 0; i < reference.size(); ++i) {
    worst = std::max(worst, std::abs(fromMidway[i] - reference[i]));
    differs = std::max(differs, std::abs(plain[i] - reference[i]));
  }
  EXPECT_LE(worst, 2) << "the program, pan and bend reached the synthesizer";
  EXPECT_GT(differs, 1000) << "the set-up is audible at all";
}

TEST_F(Sequencer, WithoutASoundfontTheMusicIsSilentButRuns) {
  platform::SetSoundfontPath((dir_ / "missing.sf2").string());
  EXPECT_EQ(platform::MidiOutputCount(), 0u);
  ::testing::internal::CaptureStderr();
  ASSERT_NE(Open(TwoSeconds()), 0u);
  EXPECT_FALSE(platform::WaitForSoundfont());
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  EXPECT_NE(err.find("missing.sf2"), std::string::npos) << err;
  ASSERT_TRUE(platform::SequencerPlay(id_, 0));
  EXPECT_EQ(Peak(Pull(Frames(700))), 0);
  EXPECT_EQ(Position(), 700u);
}

TEST_F(Sequencer, OneAtATimeAndOnlyWhileOpen) {
  ASSERT_NE(Open(TwoSeconds()), 0u);
  const SequencerId first = id_;
  const std::filesystem::path other = dir_ / "other.mid";
  testdata::WriteFile(other, TwoSeconds());
  EXPECT_EQ(platform::OpenSequencer(other.c_str()), 0u);
  platform::CloseSequencer(first);
  id_ = platform::OpenSequencer(other.c_str());
  EXPECT_NE(id_, 0u);
  EXPECT_NE(id_, first);

  std::uint32_t ms = 0;
  SequencerMode mode;
  EXPECT_FALSE(platform::SequencerPosition(first, ms));
  EXPECT_FALSE(platform::SequencerPlay(first, 0));
  EXPECT_FALSE(platform::SequencerGetMode(first, mode));
  EXPECT_FALSE(platform::SequencerLength(0, ms));
  EXPECT_EQ(platform::OpenSequencer((dir_ / "absent.mid").c_str()), 0u);
}

TEST_F(Sequencer, ADamagedFileIsRefusedWithALine) {
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(Open(audiofiles::Bytes{'M', 'T', 'h', 'd', 0, 0}, "bad.mid"), 0u);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("bad.mid"), std::string::npos) << err;
}

}  // namespace

TEST_F(Sequencer, HostileFilesPlayWithoutHarm) {
  // Whatever a damaged file sends (stray sysex, odd controllers), the
  // sequencer and the synthesizer take it. The sound device keeps the output
  // and its soundfont alive across the many opens.
  platform::SoundDevice* device = platform::OpenSoundDevice();
  ASSERT_NE(device, nullptr);
  platform::WaitForSoundfont();
  Track t;
  t.Tempo(0, 300000)
      .Ev(0, {0xF0, 0x06, 0x41, 0x10, 0x42, 0x12, 0x40, 0xF7})
      .Program(0, 0, 10)
      .Ev(0, {0xB0, 0, 1})
      .Ev(0, {0xB0, 101, 0})
      .Ev(0, {0xB0, 100, 0})
      .Ev(0, {0xB0, 6, 24})
      .NoteOn(0, 0, 60, 100)
      .Ev(10, {0xE0, 0x7F, 0x7F})
      .Ev(5, {0xA0, 60, 50})
      .Ev(5, {0xD0, 70})
      .NoteOff(20, 0, 60)
      .End(10);
  const audiofiles::Bytes good = audiofiles::Midi(0, 48, {t});
  std::uint32_t seed = 7;
  for (int round = 0; round < 150; ++round) {
    audiofiles::Bytes b = good;
    for (int i = 0; i < 3; ++i) {
      seed = seed * 1103515245u + 12345u;
      b[(seed >> 8) % b.size()] = static_cast<std::uint8_t>(seed >> 20);
    }
    if (Open(b) == 0) continue;
    platform::SequencerPlay(id_, 0);
    Pull(4096);
    platform::SequencerSeek(id_, 10);
    platform::SequencerPlay(id_, 10);
    Pull(1024);
    platform::CloseSequencer(id_);
    id_ = 0;
  }
  platform::CloseSoundDevice(device);
}
