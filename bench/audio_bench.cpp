// The audio callback's cost per 1024-frame pass, against the pass's real-time
// budget (1024 / 44100 s = 23.2 ms), with 21 copies of an effect sounding and
// the music playing; and the soundfont's load time.
//
// The mix is pulled through the headless output, which runs the very code
// the SDL callback runs, on this thread.
#include <benchmark/benchmark.h>
#include <time.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <vector>

#include "audio/midi_player.h"
#include "audio/sound.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "platform/sound/audio.h"
#include "state/game_state.h"
#include "support/audio_files.h"
#include "support/test_data.h"

namespace {

constexpr double kBudgetUs = 1e6 * platform::kAudioBlockFrames / platform::kAudioRate;

// A busy ending tune, four minutes long at 120 beats a minute: drums in
// eighths, a bass in quarters, piano chords in halves, a string pad held
// over each bar, a melody in eighths.
audiofiles::Bytes BusyTune() {
  using audiofiles::Track;
  constexpr int kBeat = 480;
  constexpr int kBars = 120;
  Track tempo;
  tempo.Tempo(0, 500000).End(kBars * 4 * kBeat);

  Track drums;
  for (int e = 0; e < kBars * 8; ++e) {
    const int key = e % 4 == 0 ? 36 : e % 4 == 2 ? 38 : 42;
    drums.NoteOn(e == 0 ? 0 : kBeat / 2 - 10, 9, key, 100).NoteOff(10, 9, key);
  }
  drums.End();

  Track bass;
  bass.Program(0, 1, 33);
  for (int q = 0; q < kBars * 4; ++q) {
    const int key = 36 + (q / 4) % 5;
    bass.NoteOn(q == 0 ? 0 : 20, 1, key, 100).NoteOff(kBeat - 20, 1, key);
  }
  bass.End();

  Track piano;
  piano.Program(0, 0, 0);
  for (int h = 0; h < kBars * 2; ++h) {
    const int root = 60 + (h / 2) % 5;
    piano.NoteOn(h == 0 ? 0 : 40, 0, root, 80)
        .NoteOn(0, 0, root + 4, 80)
        .NoteOn(0, 0, root + 7, 80)
        .NoteOn(0, 0, root + 12, 70);
    piano.NoteOff(2 * kBeat - 40, 0, root)
        .NoteOff(0, 0, root + 4)
        .NoteOff(0, 0, root + 7)
        .NoteOff(0, 0, root + 12);
  }
  piano.End();

  Track strings;
  strings.Program(0, 2, 48);
  for (int b = 0; b < kBars; ++b) {
    const int root = 48 + b % 5;
    strings.NoteOn(b == 0 ? 0 : 20, 2, root, 70)
        .NoteOn(0, 2, root + 7, 70)
        .NoteOn(0, 2, root + 16, 70);
    strings.NoteOff(4 * kBeat - 20, 2, root).NoteOff(0, 2, root + 7).NoteOff(0, 2, root + 16);
  }
  strings.End();

  Track melody;
  melody.Program(0, 3, 73);
  for (int e = 0; e < kBars * 8; ++e) {
    const int key = 72 + (e * 5) % 12;
    melody.NoteOn(e == 0 ? 0 : 30, 3, key, 90).NoteOff(kBeat / 2 - 30, 3, key);
  }
  melody.End();
  return audiofiles::Midi(1, kBeat, {tempo, drums, bass, piano, strings, melody});
}

// An effect like the game's: 22050 Hz, 8-bit mono, two seconds of a tone.
audiofiles::Bytes Effect() {
  audiofiles::Bytes samples;
  for (int i = 0; i < 44100; ++i) {
    samples.push_back(static_cast<std::uint8_t>(128 + std::lround(100 * std::sin(i * 0.07))));
  }
  return audiofiles::Wav44(1, 22050, 8, samples);
}

double ThreadCpuUs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

struct Stage {
  Stage(bool effects, bool music) {
    platform::UseHeadlessBackend(nullptr);
    platform::HeadlessUseNativeMusic(true);  // FluidSynth, as the game plays
    previous = std::filesystem::current_path();
    dir = testdata::MakeTempDir("vedo-bench-audio");
    std::filesystem::current_path(dir);
    testdata::WriteFile("shot1.wav", Effect());
    testdata::WriteFile("Ending.mid", BusyTune());
    InitDirectSound(gWindow);
    platform::WaitForSoundfont();
    if (effects) sound = LoadWave("shot1.wav");
    if (music) {
      player.Open("Ending.mid");
      player.Play();
    }
  }
  ~Stage() {
    player.Close();
    FreeWave(sound);
    ReleaseDirectSound();
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(dir);
  }
  // Keeps all 21 copies and the tune going.
  void KeepGoing() {
    if (sound != nullptr) {
      for (platform::SoundBuffer* copy : sound->buffer) {
        if (!platform::SoundBufferPlaying(copy)) platform::PlaySoundBuffer(copy);
      }
    }
    int wasPaused = 0;
    if (player.opened != 0 && player.IsPlaying(&wasPaused) == 0) {
      player.Seek(0, 0);
      player.Play();
    }
  }

  std::filesystem::path previous;
  std::filesystem::path dir;
  WaveSound* sound = nullptr;
  MidiPlayer player;
};

void BM_AudioPass(benchmark::State& state) {
  const bool effects = state.range(0) != 0;
  const bool music = state.range(1) != 0;
  Stage stage(effects, music);
  std::vector<std::int16_t> out(platform::kAudioBlockFrames * platform::kAudioChannels);
  // Wall time suffers from whatever else the machine runs; the thread's CPU
  // time is what the pass itself costs.
  double wallUs = 0;
  double cpuUs = 0;
  for (auto _ : state) {
    stage.KeepGoing();
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ThreadCpuUs();
    platform::PullAudio(out.data(), platform::kAudioBlockFrames);
    cpuUs += ThreadCpuUs() - cpuStart;
    wallUs +=
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    benchmark::DoNotOptimize(out.data());
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["cpu_us"] = cpuUs / n;
  state.counters["cpu_budget_pct"] = 100.0 * cpuUs / n / kBudgetUs;
  state.counters["wall_us"] = wallUs / n;
  state.counters["wall_budget_pct"] = 100.0 * wallUs / n / kBudgetUs;
  state.SetLabel(std::string(effects ? "21 effect copies" : "no effects") +
                 (music ? " + music" : ", no music"));
}
BENCHMARK(BM_AudioPass)->Args({1, 1})->Args({1, 0})->Args({0, 1})->Unit(benchmark::kMicrosecond);

void BM_SoundfontLoad(benchmark::State& state) {
  platform::UseHeadlessBackend(nullptr);
  platform::HeadlessUseNativeMusic(true);
  double totalMs = 0;
  for (auto _ : state) {
    platform::SoundDevice* device = platform::OpenSoundDevice();
    platform::WaitForSoundfont();
    totalMs += platform::SoundfontLoadMilliseconds();
    platform::CloseSoundDevice(device);
  }
  state.counters["load_ms"] = totalMs / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SoundfontLoad)->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace
