// vedo-measure: runs the real game on a virtual screen (Xvfb with openbox,
// 1280 x 720) and prints its frame pacing, processor time, memory and
// start-up figures, read from the game's frame trace and from /proc.
//
//   vedo-measure --game PATH --data DIR [--seconds N] [--runs N] [--keep DIR]
//                [--windows-game PATH.exe --runner PATH] [--sound-to-file yes]
//
// Each run starts the game four times: in the title, in the field, and in
// the ending twice (music starting 5 s after start, when the soundfont has
// long been read, as in play; and 0.7 s after start, while it may still be
// loading). The field and ending are reached through the diagnostic
// VEDO_DEBUG_SET. Every figure is measured, none is assumed.
//
// With --windows-game, each run then starts the Windows build's game the same
// way, through the runner (tests/windows/wine_run.sh: Wine in the build's own
// prefix), in the title and in the field, so that its figures stand beside
// the Linux ones of the same run. Wine runs the program in the process it
// starts, so the processor time and the peak memory are the game's under
// Wine (the Wine server, shared by every Wine program, is not counted).
//
// With --sound-to-file yes, every start plays its sound for real into a file
// at the pace a card would take it, on a machine without one: the Linux game
// through SDL's disk driver (which waits a buffer's time after each write),
// the Windows game through Wine's own audio into ALSA's file plugin over the
// null device (Wine keeps the pace), set by a configuration of the
// measurement's own. ALSA's null device alone would not do for SDL: it takes
// samples as fast as they come, so SDL's thread would spin. How much sound
// reached the file is printed with each start's figures.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "common/frame_trace_file.h"
#include "common/x_session.h"
#include "formats/little_endian.h"
#include "platform/sound/audio.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using xsession::MonotonicNs;

constexpr int kScreenW = 1280;
constexpr int kScreenH = 720;
constexpr double kWarmUpSeconds = 2.0;

using tracefile::ReadTrace;
using tracefile::Trace;

// Frame intervals (ms) between the presents that lie in [from, to].
std::vector<double> Intervals(const Trace& t, std::int64_t from, std::int64_t to) {
  std::vector<double> out;
  for (std::size_t i = 1; i < t.presents.size(); ++i) {
    if (t.presents[i - 1] >= from && t.presents[i] <= to) {
      out.push_back(static_cast<double>(t.presents[i] - t.presents[i - 1]) / 1e6);
    }
  }
  return out;
}

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return NAN;
  std::sort(v.begin(), v.end());
  const auto rank = static_cast<std::size_t>(std::ceil(p / 100.0 * static_cast<double>(v.size())));
  return v[std::clamp<std::size_t>(rank, 1, v.size()) - 1];
}

struct Session {
  xsession::Screen screen;
  fs::path dir;
  std::string game;
  std::string runner;   // started with the game as its argument, when set
  fs::path alsaConfig;  // ALSA's default device as a file, when set
  std::string data;
  int run = 0;
};

// One start of the game.
struct GameRun {
  child::Process game;
  fs::path trace;
  std::int64_t spawned = 0;
  // Our clock less the trace's: 0 when the game stamps its trace with our
  // clock (CLOCK_MONOTONIC); otherwise (the performance counter under Wine,
  // which runs on another Linux clock) read off the first frame, as it was
  // seen here, to within the 2 ms of the polling.
  std::int64_t offset = 0;
};

// Starts the game and waits for its first frame; false, after a line saying
// why, when none came.
bool StartGame(Session& s, const std::string& name, const std::string& debugSet, GameRun& run) {
  run.trace = s.dir / (name + "-" + std::to_string(s.run) + ".trace");
  fs::remove(run.trace);
  child::EnvChanges env = s.screen.Env();
  env.emplace_back("VEDO_FRAME_TRACE", run.trace.string());
  if (!s.alsaConfig.empty()) {
    fs::remove(s.dir / "sound.wav");
    fs::remove(s.dir / "sound.raw");
    if (s.runner.empty()) {
      env.emplace_back("SDL_AUDIODRIVER", "disk");
      env.emplace_back("SDL_DISKAUDIOFILE", (s.dir / "sound.raw").string());
    } else {
      env.emplace_back("ALSA_CONFIG_PATH", s.alsaConfig.string());
    }
  }
  env.emplace_back("VEDO_DEBUG_SET",
                   debugSet.empty() ? std::nullopt : std::optional<std::string>(debugSet));
  // The pointer rests in the middle of the picture, where it scrolls nothing.
  s.screen.Xdotool(
      {"mousemove", "--sync", std::to_string(kScreenW / 2), std::to_string(kScreenH / 2)});
  run.spawned = MonotonicNs();
  std::vector<std::string> argv = {s.game};
  if (!s.runner.empty()) argv.insert(argv.begin(), s.runner);
  run.game = child::Process({.argv = argv,
                             .env = env,
                             .workDir = s.data,
                             .out = s.dir / (name + "-" + std::to_string(s.run) + ".log")});
  // Wine takes seconds to start a program.
  const auto end = std::chrono::steady_clock::now() + (s.runner.empty() ? 20s : 60s);
  while (std::chrono::steady_clock::now() < end && run.game.Running()) {
    const Trace t = ReadTrace(run.trace);
    if (!t.presents.empty()) {
      if (!t.monotonicClock) run.offset = MonotonicNs() - t.presents.front();
      return true;
    }
    std::this_thread::sleep_for(2ms);
  }
  const std::string why =
      run.game.Running() ? "no first frame in time" : "the game ended: " + run.game.HowItEnded();
  std::printf("  %-7s failed: %s\n", name.c_str(), why.c_str());
  return false;
}

std::string QuitGame(Session& s, GameRun& run) {
  s.screen.Xdotool({"key", "Escape"});
  const int code = run.game.Wait(10000ms);
  if (code != 0) return "Escape did not end it with code 0 (" + run.game.HowItEnded() + ")";
  return "";
}

void SleepSeconds(double seconds) {
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

// The seconds of sound the last start wrote: SDL's disk driver writes the
// samples alone, in the format the game asks for; ALSA's file plugin writes a
// WAV file, whose header says its rate. A negative number when none.
double SoundSeconds(const Session& s) {
  std::error_code error;
  if (s.runner.empty()) {
    const auto size = fs::file_size(s.dir / "sound.raw", error);
    return error
               ? -1
               : static_cast<double>(size) / (platform::kAudioRate * platform::kAudioChannels * 2);
  }
  const fs::path wav = s.dir / "sound.wav";
  std::ifstream in(wav, std::ios::binary);
  unsigned char h[44];
  if (!in.read(reinterpret_cast<char*>(h), sizeof h)) return -1;
  const std::uint32_t bytesPerSecond = platform::ReadLe32(h + 28);
  const auto size = fs::file_size(wav, error);
  if (error || bytesPerSecond == 0) return -1;
  return static_cast<double>(size - sizeof h) / bytesPerSecond;
}

// Frame pacing and processor time over `seconds`, after a warm-up.
bool MeasureSteady(Session& s, const std::string& name, const std::string& debugSet,
                   double seconds) {
  GameRun run;
  if (!StartGame(s, name, debugSet, run)) return false;
  const Trace first = ReadTrace(run.trace);
  const double firstFrameMs =
      static_cast<double>(first.presents.front() + run.offset - run.spawned) / 1e6;
  const double kernelStartMs =
      first.start > 0 ? static_cast<double>(first.presents.front() - first.start) / 1e6 : NAN;

  SleepSeconds(kWarmUpSeconds);
  const double cpu0 = xsession::CpuSeconds(run.game.pid());
  const std::int64_t t0 = MonotonicNs();
  SleepSeconds(seconds);
  const double cpu1 = xsession::CpuSeconds(run.game.pid());
  const std::int64_t t1 = MonotonicNs();
  const long peakKib = xsession::PeakResidentKib(run.game.pid());
  const std::string why = QuitGame(s, run);

  const Trace t = ReadTrace(run.trace);
  const std::vector<double> iv = Intervals(t, t0 - run.offset, t1 - run.offset);
  const double wall = static_cast<double>(t1 - t0) / 1e9;
  const double median = Percentile(iv, 50);
  const double p99 = Percentile(iv, 99);
  const double worst = iv.empty() ? NAN : *std::max_element(iv.begin(), iv.end());
  int over17 = 0;
  for (double v : iv) over17 += v > 17.0 ? 1 : 0;
  std::printf(
      "  %-7s frame interval median %.2f ms, p99 %.2f ms, max %.2f ms (%zu frames, %d over 17 ms)\n"
      "          processor %.1f %% of one core; peak resident %.1f MB; first frame %.0f ms after "
      "the start (%.0f ms by the kernel's start record)\n",
      name.c_str(), median, p99, worst, iv.size(), over17, 100.0 * (cpu1 - cpu0) / wall,
      static_cast<double>(peakKib) / 1024.0, firstFrameMs, kernelStartMs);
  if (!s.alsaConfig.empty()) {
    std::printf("          sound: %.1f s written to ALSA's file device\n", SoundSeconds(s));
  }
  if (!why.empty()) std::printf("          %s\n", why.c_str());
  return why.empty();
}

// The frames around the ending's music start.
bool MeasureMusicStart(Session& s, const std::string& name, int endingFramesAtStart) {
  GameRun run;
  const std::string debugSet = "gInTitle=0,gProloguePending=0,gEnding=1,gEndingFrames=" +
                               std::to_string(endingFramesAtStart);
  if (!StartGame(s, name, debugSet, run)) return false;
  std::int64_t mark = 0;
  const auto end = std::chrono::steady_clock::now() + 30s;
  while (std::chrono::steady_clock::now() < end && run.game.Running() && mark == 0) {
    mark = ReadTrace(run.trace).Mark("music-start");
    std::this_thread::sleep_for(20ms);
  }
  if (mark == 0) {
    std::printf("  %-7s failed: no music-start mark\n", name.c_str());
    return false;
  }
  SleepSeconds(2.5);  // the first notes and whatever they bring
  const long peakKib = xsession::PeakResidentKib(run.game.pid());
  const std::string why = QuitGame(s, run);
  const Trace t = ReadTrace(run.trace);
  const std::vector<double> around = Intervals(t, mark - 500000000, mark + 2000000000);
  double markFrame = NAN;
  for (std::size_t i = 1; i < t.presents.size(); ++i) {
    if (t.presents[i - 1] <= mark && mark < t.presents[i]) {
      markFrame = static_cast<double>(t.presents[i] - t.presents[i - 1]) / 1e6;
    }
  }
  const std::int64_t soundfont = t.Mark("soundfont-loaded");
  const std::string soundfontText =
      soundfont == 0 ? "the soundfont was not loaded by then"
      : soundfont < mark
          ? "soundfont loaded " + std::to_string((mark - soundfont) / 1000000) + " ms before"
          : "soundfont loaded " + std::to_string((soundfont - mark) / 1000000) + " ms after";
  const double worst = around.empty() ? NAN : *std::max_element(around.begin(), around.end());
  std::printf(
      "  %-7s music start %.2f s after the first frame (%s): the frame with it %.2f ms; longest "
      "frame from 0.5 s before to 2 s after %.2f ms (%zu frames); peak resident %.1f MB\n",
      name.c_str(), static_cast<double>(mark - t.presents.front()) / 1e9, soundfontText.c_str(),
      markFrame, worst, around.size(), static_cast<double>(peakKib) / 1024.0);
  if (!why.empty()) std::printf("          %s\n", why.c_str());
  return why.empty();
}

// The machine's load over the last minute, for reading the figures.
std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one;
  in >> one;
  return one;
}

int Usage() {
  std::fprintf(stderr,
               "usage: vedo-measure --game PATH --data DIR [--seconds N] [--runs N] "
               "[--keep DIR] [--windows-game PATH.exe --runner PATH] [--sound-to-file yes]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  Session s;
  double seconds = 10;
  int runs = 1;
  std::string keep;
  std::string windowsGame;
  std::string runner;
  bool soundToFile = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (i + 1 >= argc) return Usage();
    const std::string v = argv[++i];
    if (a == "--game") {
      s.game = fs::absolute(v).string();
    } else if (a == "--data") {
      s.data = fs::absolute(v).string();
    } else if (a == "--seconds") {
      seconds = std::atof(v.c_str());
    } else if (a == "--runs") {
      runs = std::atoi(v.c_str());
    } else if (a == "--keep") {
      keep = v;
    } else if (a == "--windows-game") {
      windowsGame = fs::absolute(v).string();
    } else if (a == "--runner") {
      runner = fs::absolute(v).string();
    } else if (a == "--sound-to-file" && (v == "yes" || v == "no")) {
      soundToFile = v == "yes";
    } else {
      return Usage();
    }
  }
  if (s.game.empty() || s.data.empty() || seconds <= 0 || runs < 1 ||
      windowsGame.empty() != runner.empty()) {
    return Usage();
  }
  for (const char* tool : {"Xvfb", "openbox", "xdotool"}) {
    if (!xsession::OnPath(tool)) {
      std::fprintf(stderr, "vedo-measure: %s is needed\n", tool);
      return 2;
    }
  }
  if (!keep.empty()) {
    s.dir = fs::absolute(keep);
    fs::create_directories(s.dir);
  } else {
    char pattern[] = "/tmp/vedo-measure-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return 2;
    s.dir = pattern;
  }
  if (soundToFile) {
    s.alsaConfig = s.dir / "asound.conf";
    xsession::WriteAlsaFileConfig(s.alsaConfig, s.dir / "sound.wav");
  }
  std::string why = s.screen.Start(s.dir, kScreenW, kScreenH);
  if (why.empty()) why = s.screen.StartWindowManager();
  if (!why.empty()) {
    std::fprintf(stderr, "vedo-measure: %s\n", why.c_str());
    return 2;
  }
  std::printf("vedo-measure: %s in %s, on Xvfb %dx%d with openbox; %.0f s a measurement%s\n",
              s.game.c_str(), s.data.c_str(), kScreenW, kScreenH, seconds,
              soundToFile ? "; sound to ALSA's file device" : "");
  bool ok = true;
  for (int r = 1; r <= runs; ++r) {
    s.run = r;
    std::printf("run %d (load average %s)\n", r, LoadAverage().c_str());
    std::fflush(stdout);
    ok = MeasureSteady(s, "title", "", seconds) && ok;
    ok = MeasureSteady(s, "field", "gInTitle=0,gProloguePending=0", seconds) && ok;
    // From frame -258 the music frame (42) comes 300 frames, 5 s, after start.
    ok = MeasureMusicStart(s, "ending", -258) && ok;
    ok = MeasureMusicStart(s, "ending0", 0) && ok;
    if (!windowsGame.empty()) {
      const std::string linuxGame = s.game;
      s.game = windowsGame;
      s.runner = runner;
      std::printf(" the Windows build under Wine (%s)\n", windowsGame.c_str());
      ok = MeasureSteady(s, "w-title", "", seconds) && ok;
      ok = MeasureSteady(s, "w-field", "gInTitle=0,gProloguePending=0", seconds) && ok;
      s.game = linuxGame;
      s.runner.clear();
    }
    std::fflush(stdout);
  }
  s.screen.Stop();
  if (keep.empty()) fs::remove_all(s.dir);
  return ok ? 0 : 1;
}
