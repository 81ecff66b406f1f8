// Linux's parts of the output: the SDL audio device, and a FluidSynth
// synthesizer with its soundfont (read on the output's loader thread) as the
// music synthesizer.
//
// Device: 44100 Hz, signed 16-bit, stereo, 1024 frames a pass, our own
// callback. When no device opens (no sound card is common), the audio
// subsystem is brought up again on SDL's "dummy" driver, which pulls the mix
// at the real rate and throws it away, so the game runs on, silent, after one
// warning line. Only when even that fails does the output fail.
#include "platform/sound/audio_output.h"

#include <SDL.h>
#include <dlfcn.h>
#include <fluidsynth.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "formats/file_bytes.h"
#include "platform/platform.h"
#include "platform/port.h"

namespace platform {
namespace {

// The synthesizer's gain. A busy five-part arrangement on TimGM6mb comes out
// at this gain at about -15 dBFS RMS with peaks near -2 dBFS: the range of
// effects recorded near full scale, without clipping.
constexpr float kMusicGain = 0.6f;

// The General MIDI soundfonts tried in turn: TimGM6mb, which the music was
// balanced on, then the system's default and FluidR3, which other systems
// ship instead.
constexpr const char* kSoundfonts[] = {
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
};

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

void AudioCallback(void* userdata, Uint8* stream, int len) {
  auto* out = static_cast<AudioOutput*>(userdata);
  std::lock_guard<std::mutex> hold(out->lock);
  MixLocked(*out, reinterpret_cast<std::int16_t*>(stream),
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

}  // namespace

struct AudioDevice {
  SDL_AudioDeviceID id = 0;
};

bool StartAudioDevice(AudioOutput& output) {
  AudioOutput* out = &output;
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
  out->device = new AudioDevice{device};
  SDL_PauseAudioDevice(device, 0);
  return true;
}

void StopAudioDevice(AudioOutput& out) {
  if (out.device == nullptr) return;
  // Closing waits for a running callback to finish.
  SDL_CloseAudioDevice(out.device->id);
  SDL_AudioQuit();
  delete out.device;
  out.device = nullptr;
}

namespace {

// The soundfont to load: the path set for tests, or the first of the list
// that can be read; the first of the list when none can (it is then reported
// missing).
std::string ChooseSoundfont() {
  if (SoundfontPath()[0] != '\0') return SoundfontPath();
  for (const char* path : kSoundfonts) {
    if (FileExists(path)) return path;
  }
  return kSoundfonts[0];
}

// FluidSynth renders the music into the mix.
class FluidMusicSynth final : public FloatMusicSynth {
 public:
  FluidMusicSynth(fluid_settings_t* settings, fluid_synth_t* synth)
      : settings_(settings), synth_(synth) {}
  ~FluidMusicSynth() override {
    delete_fluid_synth(synth_);
    delete_fluid_settings(settings_);
  }

  void ChannelMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
    ChannelCall c;
    if (!DecodeChannelMessage(status, data1, data2, c)) return;
    switch (c.kind) {
      case ChannelCall::kNoteOn:
        fluid_synth_noteon(synth_, c.channel, c.a, c.b);
        break;
      case ChannelCall::kNoteOff:
        fluid_synth_noteoff(synth_, c.channel, c.a);
        break;
      case ChannelCall::kKeyPressure:
        fluid_synth_key_pressure(synth_, c.channel, c.a, c.b);
        break;
      case ChannelCall::kControl:
        fluid_synth_cc(synth_, c.channel, c.a, c.b);
        break;
      case ChannelCall::kProgram:
        fluid_synth_program_change(synth_, c.channel, c.a);
        break;
      case ChannelCall::kChannelPressure:
        fluid_synth_channel_pressure(synth_, c.channel, c.a);
        break;
      case ChannelCall::kPitchBend:
        fluid_synth_pitch_bend(synth_, c.channel, c.a);
        break;
    }
  }
  void Sysex(const std::uint8_t* bytes, std::size_t length) override {
    fluid_synth_sysex(synth_, reinterpret_cast<const char*>(bytes), static_cast<int>(length),
                      nullptr, nullptr, nullptr, 0);
  }
  void AllNotesOff() override { fluid_synth_all_notes_off(synth_, -1); }
  void Silence() override { fluid_synth_all_notes_off(synth_, -1); }
  void AllSoundsOff() override { fluid_synth_all_sounds_off(synth_, -1); }
  void SystemReset() override { fluid_synth_system_reset(synth_); }

 protected:
  void RenderFloat(int frames, float* left, float* right) override {
    fluid_synth_write_float(synth_, frames, left, 0, 1, right, 0, 1);
  }

 private:
  fluid_settings_t* settings_;
  fluid_synth_t* synth_;
};

MusicSynth* LoadSynth(const std::string& path) {
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

  if (synth == nullptr) return nullptr;
  SoundfontLoaded(ms);
  return new FluidMusicSynth(settings, synth);
}

}  // namespace

std::function<MusicSynth*()> MusicSynthMaker(bool pulledByHost) {
  std::string soundfont = ChooseSoundfont();
  // Which soundfont the music will have, said once, here on the game's
  // thread (a line from the loader could land anywhere, or, on a start-up
  // that fails, not at all). Headless runs hear only what their host pulls
  // and keep their output to what the game says.
  if (!pulledByHost && FileExists(soundfont.c_str())) {
    DebugOutput(("Soundfont: " + soundfont + "\n").c_str());
  }
  return [path = std::move(soundfont)] { return LoadSynth(path); };
}

unsigned NativeMidiOutputCount() { return FileExists(ChooseSoundfont().c_str()) ? 1 : 0; }

}  // namespace platform
