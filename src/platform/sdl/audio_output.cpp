// The output: the SDL audio device (or the host's pulls), the mixer pass, and
// the synthesizer with its soundfont, loaded on a background thread.
//
// Device: 44100 Hz, signed 16-bit, stereo, 1024 frames a pass, our own
// callback. When no device opens (no sound card is common), the audio
// subsystem is brought up again on SDL's "dummy" driver, which pulls the mix
// at the real rate and throws it away, so the game runs on, silent, after one
// warning line. Only when even that fails does the output fail.
#include "platform/audio_output.h"

#include <SDL.h>
#include <dlfcn.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/platform.h"

namespace platform {
namespace {

// The synthesizer's gain. A busy five-part arrangement on TimGM6mb comes out
// at this gain at about -15 dBFS RMS with peaks near -2 dBFS: the range of
// effects recorded near full scale, without clipping.
constexpr float kMusicGain = 0.6f;

AudioOutput* gOutput = nullptr;

// The General MIDI soundfonts tried in turn: TimGM6mb, which the music was
// balanced on, then the system's default and FluidR3, which other systems
// ship instead.
constexpr const char* kSoundfonts[] = {
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
};

// Plain storage, so that nothing here needs a destructor at program exit.
// Empty: the list above; otherwise the one file a test asked for.
char gSoundfontPath[1024] = "";

bool Readable(const char* path) {
  std::FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return false;
  std::fclose(f);
  return true;
}

// The soundfont to load: the path set for tests, or the first of the list
// that can be read; the first of the list when none can (it is then reported
// missing).
std::string ChooseSoundfont() {
  if (gSoundfontPath[0] != '\0') return gSoundfontPath;
  for (const char* path : kSoundfonts) {
    if (Readable(path)) return path;
  }
  return kSoundfonts[0];
}
std::atomic<double> gSoundfontLoadMs{-1.0};

void ForwardFluidLog(int level, const char* message, void*) {
  const char* kind = level <= FLUID_ERR ? "error" : "warning";
  char line[512];
  std::snprintf(line, sizeof line, "fluidsynth %s: %s\n", kind, message);
  DebugOutput(line);
}

void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

// alsa-lib prints its own complaints straight to stderr when there is no
// card; our one warning line says all that needs saying. SDL has already
// loaded the library, so it is only looked up, never loaded here.
void SilenceAlsa() {
  void* lib = dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD);
  if (lib == nullptr) return;
  using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
  using SetHandler = int (*)(Handler);
  auto set = reinterpret_cast<SetHandler>(dlsym(lib, "snd_lib_error_set_handler"));
  if (set != nullptr) set(&QuietAlsa);
  dlclose(lib);
}

// Mixes `frames` frames into `dst`, with the lock held.
void MixInto(AudioOutput& out, std::int16_t* dst, int frames) {
  while (frames > 0) {
    const int n = std::min(frames, kAudioBlockFrames);
    std::fill_n(out.sum, n * kAudioChannels, 0);
    MixEffects(out, out.sum, n);
    MixMusic(out, out.sum, n);
    for (int i = 0; i < n * kAudioChannels; ++i) {
      dst[i] = static_cast<std::int16_t>(std::clamp(out.sum[i], -32768, 32767));
    }
    dst += n * kAudioChannels;
    frames -= n;
  }
}

void AudioCallback(void* userdata, Uint8* stream, int len) {
  auto* out = static_cast<AudioOutput*>(userdata);
  std::lock_guard<std::mutex> hold(out->lock);
  MixInto(*out, reinterpret_cast<std::int16_t*>(stream),
          len / static_cast<int>(sizeof(std::int16_t) * kAudioChannels));
}

SDL_AudioDeviceID OpenDevice(AudioOutput* out) {
  SDL_AudioSpec want{};
  want.freq = kAudioRate;
  want.format = AUDIO_S16SYS;
  want.channels = kAudioChannels;
  want.samples = kAudioBlockFrames;
  want.callback = &AudioCallback;
  want.userdata = out;
  SDL_AudioSpec have{};
  return SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
}

bool OpenSdlOutput(AudioOutput* out) {
  SDL_AudioDeviceID device = 0;
  if (SDL_AudioInit(nullptr) == 0) {
    SilenceAlsa();
    device = OpenDevice(out);
  }
  if (device == 0) {
    const std::string reason = SDL_GetError();
    SDL_AudioQuit();
    if (SDL_AudioInit("dummy") == 0) device = OpenDevice(out);
    if (device == 0) {
      std::fprintf(stderr, "Vedo Zeza1: no sound output at all: %s\n", SDL_GetError());
      std::fflush(stderr);
      SDL_AudioQuit();
      return false;
    }
    std::fprintf(stderr, "Vedo Zeza1: no audio device (%s); playing without sound.\n",
                 reason.c_str());
    std::fflush(stderr);
  }
  out->sdlDevice = device;
  return true;
}

void LoadSynth(AudioOutput* out, std::string path) {
  // Reading the soundfont takes a few hundred milliseconds of processor time
  // (FluidSynth spreads it over worker threads, which inherit this setting);
  // at a lower priority it does not hold up the game's start-up or its
  // frames where cores are few.
  setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 10);
  const auto start = std::chrono::steady_clock::now();
  fluid_set_log_function(FLUID_PANIC, &ForwardFluidLog, nullptr);
  fluid_set_log_function(FLUID_ERR, &ForwardFluidLog, nullptr);
  fluid_set_log_function(FLUID_WARN, &ForwardFluidLog, nullptr);
  fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
  fluid_set_log_function(FLUID_DBG, nullptr, nullptr);

  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    std::fclose(f);
    settings = new_fluid_settings();
    if (settings != nullptr) {
      fluid_settings_setnum(settings, "synth.sample-rate", kAudioRate);
      fluid_settings_setnum(settings, "synth.gain", kMusicGain);
      synth = new_fluid_synth(settings);
    }
    if (synth != nullptr && fluid_synth_sfload(synth, path.c_str(), 1) == FLUID_FAILED) {
      delete_fluid_synth(synth);
      synth = nullptr;
    }
    if (synth == nullptr) {
      std::fprintf(stderr, "Vedo Zeza1: cannot load the soundfont %s; music is silent.\n",
                   path.c_str());
      std::fflush(stderr);
    }
  } else {
    std::fprintf(stderr, "Vedo Zeza1: no soundfont at %s; music is silent.\n", path.c_str());
    std::fflush(stderr);
  }
  if (synth == nullptr && settings != nullptr) {
    delete_fluid_settings(settings);
    settings = nullptr;
  }
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();

  if (synth != nullptr) TraceMark("soundfont-loaded");
  std::lock_guard<std::mutex> hold(out->lock);
  if (synth != nullptr) gSoundfontLoadMs = ms;
  out->synth = synth;
  out->settings = settings;
  out->loaderDone = true;
  if (synth != nullptr) SynthArrived(*out);
  out->loaderFinished.notify_all();
}

}  // namespace

AudioOutput* AcquireOutput() {
  if (gOutput != nullptr) {
    ++gOutput->users;
    return gOutput;
  }
  auto* out = new AudioOutput;
  out->pulledByHost = IsHeadless();
  if (!out->pulledByHost && !OpenSdlOutput(out)) {
    delete out;
    return nullptr;
  }
  out->users = 1;
  gOutput = out;
  std::string soundfont = ChooseSoundfont();
  // Which soundfont the music will have, said once, here on the game's
  // thread (a line from the loader could land anywhere, or, on a start-up
  // that fails, not at all). Headless runs hear only what their host pulls
  // and keep their output to what the game says.
  if (!out->pulledByHost && Readable(soundfont.c_str())) {
    DebugOutput(("Soundfont: " + soundfont + "\n").c_str());
  }
  out->loader = std::thread(&LoadSynth, out, std::move(soundfont));
  if (out->sdlDevice != 0) SDL_PauseAudioDevice(out->sdlDevice, 0);
  return out;
}

void ReleaseOutput() {
  AudioOutput* out = gOutput;
  if (out == nullptr || --out->users > 0) return;
  if (out->sdlDevice != 0) {
    // Closing waits for a running callback to finish.
    SDL_CloseAudioDevice(out->sdlDevice);
    SDL_AudioQuit();
  }
  if (out->loader.joinable()) out->loader.join();
  if (out->synth != nullptr) delete_fluid_synth(out->synth);
  if (out->settings != nullptr) delete_fluid_settings(out->settings);
  gOutput = nullptr;
  delete out;
  TraceMark("audio-output-closed");
}

bool AudioPulledByHost() { return gOutput != nullptr && gOutput->pulledByHost; }

bool PullAudio(std::int16_t* out, int frames) {
  if (frames <= 0) return true;
  if (gOutput == nullptr || !gOutput->pulledByHost) {
    std::fill_n(out, static_cast<std::size_t>(frames) * kAudioChannels, std::int16_t{0});
    return false;
  }
  std::lock_guard<std::mutex> hold(gOutput->lock);
  MixInto(*gOutput, out, frames);
  return true;
}

bool WaitForSoundfont() {
  if (gOutput == nullptr) return false;
  std::unique_lock<std::mutex> hold(gOutput->lock);
  gOutput->loaderFinished.wait(hold, [] { return gOutput->loaderDone; });
  return gOutput->synth != nullptr;
}

void SetSoundfontPath(const std::string& path) {
  std::snprintf(gSoundfontPath, sizeof gSoundfontPath, "%s", path.c_str());
}

double SoundfontLoadMilliseconds() { return gSoundfontLoadMs; }

unsigned MidiOutputCount() { return Readable(ChooseSoundfont().c_str()) ? 1 : 0; }

}  // namespace platform
