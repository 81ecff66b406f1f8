// Windows' audio device: our own mixer's output played through waveOut.
//
// waveOut plays the same 44,100 Hz 16-bit stereo blocks the Linux device
// takes, so the effects keep every rule the Linux build has proven (the
// copies, the rotation, a finished copy starting again at its start) and the
// headless pulls of the tests are the same code. A thread of ours keeps a few
// blocks queued: whenever the device hands one back, it is mixed again and
// written. With no wave device (no sound card, or none under Wine) the mix is
// pulled on the wall clock and thrown away, after one warning line, so that
// sounds still end in time and the music still moves.
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include "platform/port.h"
#include "platform/sound/audio_output.h"
#include "platform/win32/system_dll.h"

namespace platform {
namespace {

// Blocks queued on the device: about 70 ms ahead, enough that a busy frame
// on the game's side never starves it.
constexpr int kQueuedBlocks = 3;

void Warn(const char* what, MMRESULT code) {
  char text[256] = "";
  if (WinmmFunctions().Loaded()) WinmmFunctions().waveOutGetErrorTextA(code, text, sizeof text);
  std::fprintf(stderr, "Vedo Zeza1: no audio device (%s: %s); playing without sound.\n", what,
               text[0] != '\0' ? text : "unknown error");
  std::fflush(stderr);
}

}  // namespace

struct AudioDevice {
  HWAVEOUT wave = nullptr;
  HANDLE blockDone = nullptr;  // set by the device whenever a block comes back
  std::thread feeder;
  std::atomic<bool> stop{false};
  WAVEHDR headers[kQueuedBlocks] = {};
  std::vector<std::int16_t> blocks[kQueuedBlocks];
  SilentPull* silent = nullptr;
};

namespace {

// Mixes the next block into `h` and hands it to the device.
void Fill(AudioOutput& out, AudioDevice& d, WAVEHDR& h) {
  {
    std::lock_guard<std::mutex> hold(out.lock);
    MixLocked(out, reinterpret_cast<std::int16_t*>(h.lpData), kAudioBlockFrames);
  }
  h.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
  WinmmFunctions().waveOutWrite(d.wave, &h, sizeof h);
}

void Feed(AudioOutput* out, AudioDevice* d) {
  for (WAVEHDR& h : d->headers) Fill(*out, *d, h);
  while (!d->stop) {
    WaitForSingleObject(d->blockDone, 100);
    for (WAVEHDR& h : d->headers) {
      if (!d->stop && (h.dwFlags & WHDR_DONE) != 0) Fill(*out, *d, h);
    }
  }
}

}  // namespace

bool StartAudioDevice(AudioOutput& out) {
  auto* d = new AudioDevice;
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = kAudioChannels;
  format.nSamplesPerSec = kAudioRate;
  format.wBitsPerSample = 16;
  format.nBlockAlign = kAudioChannels * 2;
  format.nAvgBytesPerSec = kAudioRate * format.nBlockAlign;
  d->blockDone = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  const Winmm& mm = WinmmFunctions();
  MMRESULT result = MMSYSERR_NODRIVER;
  if (!mm.Loaded()) {
    Warn("winmm.dll", result);
  } else if (mm.waveOutGetNumDevs() == 0) {
    Warn("waveOutGetNumDevs", result);
  } else {
    result = mm.waveOutOpen(&d->wave, WAVE_MAPPER, &format,
                            reinterpret_cast<DWORD_PTR>(d->blockDone), 0, CALLBACK_EVENT);
    if (result != MMSYSERR_NOERROR) Warn("waveOutOpen", result);
  }
  if (result != MMSYSERR_NOERROR) {
    d->wave = nullptr;
    d->silent = StartSilentPull(out);
    out.device = d;
    return true;
  }
  for (int i = 0; i < kQueuedBlocks; ++i) {
    d->blocks[i].assign(kAudioBlockFrames * kAudioChannels, 0);
    WAVEHDR& h = d->headers[i];
    h.lpData = reinterpret_cast<LPSTR>(d->blocks[i].data());
    h.dwBufferLength = kAudioBlockFrames * kAudioChannels * sizeof(std::int16_t);
    mm.waveOutPrepareHeader(d->wave, &h, sizeof h);
  }
  out.device = d;
  d->feeder = std::thread(&Feed, &out, d);
  return true;
}

void StopAudioDevice(AudioOutput& out) {
  AudioDevice* d = out.device;
  if (d == nullptr) return;
  if (d->silent != nullptr) StopSilentPull(d->silent);
  if (d->wave != nullptr) {
    const Winmm& mm = WinmmFunctions();
    d->stop = true;
    SetEvent(d->blockDone);
    d->feeder.join();
    // Hands every queued block back at once, marked done.
    mm.waveOutReset(d->wave);
    for (WAVEHDR& h : d->headers) mm.waveOutUnprepareHeader(d->wave, &h, sizeof h);
    mm.waveOutClose(d->wave);
  }
  CloseHandle(d->blockDone);
  delete d;
  out.device = nullptr;
}

// Windows has no converter we want: our own one does the effects.
bool ConvertPcm(const PcmFormat& format, const std::uint8_t* bytes, std::size_t length,
                std::vector<std::int16_t>& out) {
  return ConvertPcmPortable(format, bytes, length, out);
}

}  // namespace platform
