// The music player on tunes the tests write; the tune's clock moves only by
// the frames the test pulls from the headless output.
#include "audio/midi_player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/sound.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "platform/sound/audio.h"
#include "state/game_state.h"
#include "support/audio_files.h"
#include "support/test_data.h"

namespace {

using audiofiles::Track;

// A tune of `ms` milliseconds at 120 beats a minute (96 ticks a beat, so
// 192 ticks a second): a note at the start and every 500 ms.
audiofiles::Bytes Tune(int ms) {
  Track t;
  t.Tempo(0, 500000).Program(0, 0, 0);
  const int ticks = ms * 192 / 1000;
  int at = 0;
  for (int tick = 0; tick + 96 <= ticks; tick += 96) {
    t.NoteOn(static_cast<std::uint32_t>(tick - at), 0, 60 + tick / 96 % 12, 100);
    t.NoteOff(90, 0, 60 + tick / 96 % 12);
    at = tick + 90;
  }
  t.End(static_cast<std::uint32_t>(ticks - at));
  return audiofiles::Midi(0, 96, {t});
}

class Music : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::UseHeadlessBackend(nullptr);
    dir_ = testdata::MakeTempDir("vedo-music");
    Write("short.mid", Tune(2500));
    Write("long.mid", Tune(90000));
  }
  void TearDown() override {
    player.Close();
    platform::HeadlessUseNativeMusic(false);
    std::filesystem::remove_all(dir_);
  }

  std::string Write(const char* name, const audiofiles::Bytes& bytes) {
    const std::filesystem::path path = dir_ / name;
    testdata::WriteFile(path, bytes);
    return path.string();
  }
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  static void PullMs(int ms) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(ms) * 441 / 10 * 2);
    EXPECT_TRUE(platform::PullAudio(out.data(), static_cast<int>(out.size() / 2)));
  }
  // The device's own position, finer than the player's whole seconds.
  std::uint32_t DeviceMs() const {
    std::uint32_t ms = 0;
    EXPECT_TRUE(platform::SequencerPosition(player.deviceId, ms));
    return ms;
  }
  platform::SequencerMode DeviceMode() const {
    platform::SequencerMode mode = platform::SequencerMode::kStopped;
    EXPECT_TRUE(platform::SequencerGetMode(player.deviceId, mode));
    return mode;
  }

  MidiPlayer player;
  std::filesystem::path dir_;
};

TEST_F(Music, AClosedPlayerAnswersMinusOneAndDoesNothing) {
  int minutes = 0;
  int seconds = 0;
  player.GetLength(&minutes, &seconds);
  EXPECT_EQ(minutes, -1);
  EXPECT_EQ(seconds, -1);
  EXPECT_EQ(player.GetPositionMinutes(), -1);
  EXPECT_EQ(player.GetPositionSeconds(), -1);
  EXPECT_EQ(player.GetDivisionType(), -1);
  EXPECT_EQ(player.GetTempo(), -1);
  EXPECT_EQ(player.Play(), 0);
  EXPECT_EQ(player.Seek(0, 1), 0);
  int wasPaused = 7;
  EXPECT_EQ(player.IsPlaying(&wasPaused), 0);
  EXPECT_EQ(wasPaused, 0);
  player.Stop();
  player.Pause();
  player.Forward(3);
  player.Rewind(3);
  player.SetTempo(100);
  player.Close();
  EXPECT_EQ(player.opened, 0);
  EXPECT_EQ(player.playing, 0);
  EXPECT_EQ(player.paused, 0);
  EXPECT_EQ(player.deviceId, 0);

  // A missing file does not open, and leaves the player closed.
  EXPECT_EQ(player.Open(Path("Ending.mid").c_str()), 0);
  EXPECT_EQ(player.opened, 0);
  EXPECT_EQ(player.Play(), 0);
}

TEST_F(Music, OpenOnAnOpenPlayerKeepsTheOldFile) {
  ASSERT_EQ(player.Open(Path("short.mid").c_str()), 1);
  const std::uint16_t id = player.deviceId;
  EXPECT_NE(id, 0);
  EXPECT_EQ(player.Open(Path("long.mid").c_str()), 1);
  EXPECT_EQ(player.Open(Path("nothing-here.mid").c_str()), 1);
  EXPECT_EQ(player.deviceId, id);
  int minutes = 0;
  int seconds = 0;
  player.GetLength(&minutes, &seconds);
  EXPECT_EQ(minutes, 0);
  EXPECT_EQ(seconds, 2);
}

TEST_F(Music, PlayRightAfterOpenStartsAtZero) {
  ASSERT_EQ(player.Open(Path("long.mid").c_str()), 1);
  EXPECT_EQ(player.GetPositionMinutes(), 0);
  EXPECT_EQ(player.GetPositionSeconds(), 0);
  ASSERT_EQ(player.Play(), 1);
  EXPECT_EQ(player.playing, 1);
  EXPECT_EQ(player.paused, 0);
  EXPECT_EQ(DeviceMs(), 0u);
  PullMs(250);
  EXPECT_EQ(DeviceMs(), 250u);
}

TEST_F(Music, PauseThenPlayResumesFromTheLastWholeSecond) {
  ASSERT_EQ(player.Open(Path("long.mid").c_str()), 1);
  ASSERT_EQ(player.Play(), 1);
  PullMs(2700);
  player.Pause();
  EXPECT_EQ(player.paused, 1);
  EXPECT_EQ(player.playing, 1);
  PullMs(400);
  EXPECT_EQ(DeviceMs(), 2700u);
  ASSERT_EQ(player.Play(), 1);
  EXPECT_EQ(player.paused, 0);
  EXPECT_EQ(DeviceMs(), 2000u);
  EXPECT_EQ(DeviceMode(), platform::SequencerMode::kPlaying);
}

TEST_F(Music, PositionsReadInWholeMinutesAndSeconds) {
  ASSERT_EQ(player.Open(Path("long.mid").c_str()), 1);
  int minutes = 0;
  int seconds = 0;
  player.GetLength(&minutes, &seconds);
  EXPECT_EQ(minutes, 1);
  EXPECT_EQ(seconds, 30);
  ASSERT_TRUE(platform::SequencerSeek(player.deviceId, 61500));
  EXPECT_EQ(player.GetPositionMinutes(), 1);
  EXPECT_EQ(player.GetPositionSeconds(), 1);
  ASSERT_EQ(player.Play(), 1);
  EXPECT_EQ(DeviceMs(), 61000u);
}

TEST_F(Music, ATuneThatEndsByItselfLeavesPlayingAtOne) {
  ASSERT_EQ(player.Open(Path("short.mid").c_str()), 1);
  ASSERT_EQ(player.Play(), 1);
  PullMs(3000);
  EXPECT_EQ(DeviceMode(), platform::SequencerMode::kStopped);
  EXPECT_EQ(player.playing, 1) << "nothing told the player";
  EXPECT_EQ(player.GetPositionSeconds(), 2);
  // A new Play starts from the end, rounded down: only the last half
  // second is heard again.
  ASSERT_EQ(player.Play(), 1);
  EXPECT_EQ(DeviceMs(), 2000u);
  PullMs(600);
  int wasPaused = 1;
  EXPECT_EQ(player.IsPlaying(&wasPaused), 0);
  EXPECT_EQ(wasPaused, 0);
  EXPECT_EQ(player.playing, 0) << "asking the device clears the flag";
}

TEST_F(Music, IsPlayingReadsTheDevice) {
  ASSERT_EQ(player.Open(Path("long.mid").c_str()), 1);
  int wasPaused = 9;
  EXPECT_EQ(player.IsPlaying(&wasPaused), 0) << "open but stopped";
  player.Play();
  EXPECT_EQ(player.IsPlaying(&wasPaused), 1);
  EXPECT_EQ(wasPaused, 0);
  player.Pause();
  EXPECT_EQ(player.IsPlaying(&wasPaused), 1);
  EXPECT_EQ(wasPaused, 1);
  EXPECT_EQ(player.playing, 1);
  EXPECT_EQ(player.paused, 1);
}

TEST_F(Music, SeekingPausesAroundTheMove) {
  ASSERT_EQ(player.Open(Path("long.mid").c_str()), 1);
  ASSERT_EQ(player.Play(), 1);
  PullMs(1300);
  ASSERT_EQ(player.Seek(0, 5), 1);
  EXPECT_EQ(DeviceMode(), platform::SequencerMode::kPlaying) << "a playing tune plays on";
  EXPECT_EQ(DeviceMs(), 5000u);
  PullMs(500);
  EXPECT_EQ(DeviceMs(), 5500u);

  player.Pause();
  ASSERT_EQ(player.Seek(1, 7), 1);
  EXPECT_EQ(DeviceMode(), platform::SequencerMode::kPaused) << "a paused tune stays paused";
  EXPECT_EQ(DeviceMs(), 67000u);
  EXPECT_EQ(player.paused, 1);

  // A time past the end fails, and a playing tune is left paused.
  ASSERT_EQ(player.Play(), 1);
  EXPECT_EQ(player.Seek(2, 0), 0);
  EXPECT_EQ(DeviceMode(), platform::SequencerMode::kPaused);
  EXPECT_EQ(DeviceMs(), 67000u);
}

TEST_F(Music, ForwardAndRewind) {
  ASSERT_EQ(player.Open(Path("long.mid").c_str()), 1);
  ASSERT_EQ(player.Play(), 1);
  PullMs(3400);
  player.Forward(2);
  EXPECT_EQ(DeviceMs(), 5000u) << "to 5.4 s, resumed from the whole second";
  EXPECT_EQ(DeviceMode(), platform::SequencerMode::kPlaying);
  player.Rewind(10);
  EXPECT_EQ(DeviceMs(), 0u) << "rewinding past the start stops at the start";
  EXPECT_EQ(DeviceMode(), platform::SequencerMode::kPlaying);
  PullMs(1700);
  player.Pause();
  player.Rewind(1);
  EXPECT_EQ(DeviceMs(), 700u);
  EXPECT_EQ(DeviceMode(), platform::SequencerMode::kPaused);
  player.Forward(200);  // past the end: the seek fails, nothing moves
  EXPECT_EQ(DeviceMs(), 700u);
}

TEST_F(Music, StopRewindsAndClears) {
  ASSERT_EQ(player.Open(Path("long.mid").c_str()), 1);
  player.Stop();  // not playing: nothing
  EXPECT_EQ(player.opened, 1);
  ASSERT_EQ(player.Play(), 1);
  PullMs(1500);
  player.Stop();
  EXPECT_EQ(player.playing, 0);
  EXPECT_EQ(player.paused, 0);
  EXPECT_EQ(DeviceMs(), 0u);
  EXPECT_EQ(DeviceMode(), platform::SequencerMode::kStopped);
  player.Pause();  // not playing: nothing
  EXPECT_EQ(player.paused, 0);
}

TEST_F(Music, TempoAndDivision) {
  ASSERT_EQ(player.Open(Path("long.mid").c_str()), 1);
  EXPECT_EQ(player.GetDivisionType(), 0);
  EXPECT_EQ(player.GetTempo(), 120);
  player.SetTempo(90);
  EXPECT_EQ(player.GetTempo(), 90);
  player.Play();
  PullMs(1000);
  EXPECT_EQ(DeviceMs(), 750u) << "three quarters of the speed";
  player.Close();

  Track t;
  t.NoteOn(0, 0, 60, 100).NoteOff(100, 0, 60).End(400);
  ASSERT_EQ(
      player.Open(
          Write("smpte.mid", audiofiles::Midi(1, audiofiles::SmpteDivision(24, 4), {t})).c_str()),
      1);
  EXPECT_EQ(player.GetDivisionType(), 1);
  EXPECT_EQ(player.GetTempo(), 24);
  int minutes = 0;
  int seconds = 0;
  player.GetLength(&minutes, &seconds);
  EXPECT_EQ(seconds, 5);  // 500 ticks at 96 a second
}

TEST_F(Music, CloseAndDestructionFreeTheSequencer) {
  {
    MidiPlayer scoped;
    ASSERT_EQ(scoped.Open(Path("short.mid").c_str()), 1);
    ASSERT_EQ(scoped.Play(), 1);
    EXPECT_EQ(player.Open(Path("long.mid").c_str()), 0) << "one sequencer at a time";
  }
  ASSERT_EQ(player.Open(Path("long.mid").c_str()), 1);
  player.Play();
  player.Close();
  EXPECT_EQ(player.opened, 0);
  EXPECT_EQ(player.playing, 0);
  EXPECT_EQ(player.deviceId, 0);
  EXPECT_FALSE(platform::AudioPulledByHost()) << "the output went with the last user";
}

TEST_F(Music, TheTuneIsHeard) {
  EXPECT_EQ(player.GetNumDevices(), 0u) << "the headless backend has no music of its own";
  platform::HeadlessUseNativeMusic(true);
  EXPECT_EQ(player.GetNumDevices(), platform::MidiOutputCount());
  ASSERT_EQ(player.Open(Path("long.mid").c_str()), 1);
  if (!platform::WaitForSoundfont()) GTEST_SKIP() << "no soundfont on this machine";
  EXPECT_EQ(player.GetNumDevices(), 1u);
  ASSERT_EQ(player.Play(), 1);
  std::vector<std::int16_t> out(44100 * 2);
  ASSERT_TRUE(platform::PullAudio(out.data(), 44100));
  int peak = 0;
  for (std::int16_t s : out) peak = std::max(peak, std::abs(static_cast<int>(s)));
  EXPECT_GT(peak, 1000);
}

// The game's own order: the sound device goes at shut-down while gMidi still
// plays, and gMidi's destructor closes the sequencer after main returns. The
// process must end cleanly, leak checker and all.
TEST(MusicAtExit, GMidiClosesAfterEverythingElse) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const std::filesystem::path dir = testdata::MakeTempDir("vedo-exit");
  testdata::WriteFile(dir / "Ending.mid", Tune(5000));
  EXPECT_EXIT(
      {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        platform::UseNativeBackend();
        if (InitDirectSound(gWindow) != 1) std::exit(3);
        LoadSounds();
        if (gMidi.Open((dir / "Ending.mid").c_str()) != 1 || gMidi.Play() != 1) std::exit(4);
        platform::WaitForSoundfont();
        for (WaveSound*& slot : gSound) {
          FreeWave(slot);
          slot = nullptr;
        }
        ReleaseDirectSound();
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  std::filesystem::remove_all(dir);
}

}  // namespace
