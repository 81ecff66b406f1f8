// Windows' music: our sequencer's messages sent to the system's MIDI output
// (the MIDI mapper) at their time.
//
// The sequencer runs inside the mixer's pass, which works ahead of what is
// heard, a block at a time. Each message therefore carries the output frame
// it falls on, counted by the frames the sequencer renders, and a sending
// thread of ours puts it on the port when the wall clock reaches that frame.
// The first message ties frames to the clock; the tie is made again when the
// mixer falls behind it (a pause of the device) or runs far ahead of it. So
// notes go out spread as the tune has them, a millisecond or two late at
// most, not bunched into blocks. A stop, a pause, a move and the close drop
// what is still waiting and silence every channel at once.
//
// Under the headless backend the port stays shut: a host pulls the mix at
// its own pace, with no real time to send the messages at.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/port.h"
#include "platform/sound/audio_output.h"
#include "platform/win32/system_dll.h"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

// How far ahead of the clock the mixer may run before the tie is made
// again: more than the wave device ever queues.
constexpr auto kMostAhead = std::chrono::milliseconds(400);

struct Message {
  Clock::time_point due;
  DWORD shortMessage = 0;           // when `sysex` is empty
  std::vector<std::uint8_t> sysex;  // F0 ... F7
};

DWORD Pack(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
  return static_cast<DWORD>(status) | (static_cast<DWORD>(data1) << 8) |
         (static_cast<DWORD>(data2) << 16);
}

class MidiPortSynth final : public MusicSynth {
 public:
  explicit MidiPortSynth(HMIDIOUT port) : port_(port) {
    // The sending thread sleeps until each message is due; the default
    // 15.6 ms timer would round those sleeps to whole ticks.
    mm_.timeBeginPeriod(1);
    sender_ = std::thread(&MidiPortSynth::Send, this);
  }
  ~MidiPortSynth() override {
    {
      std::lock_guard<std::mutex> hold(lock_);
      stop_ = true;
      queue_.clear();
    }
    wake_.notify_all();
    sender_.join();
    for (int ch = 0; ch < 16; ++ch) ShortNow(Pack(0xB0 | ch, 120, 0));
    mm_.midiOutReset(port_);
    mm_.midiOutClose(port_);
    mm_.timeEndPeriod(1);
  }

  void ChannelMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
    Queue(Message{Due(), Pack(status, data1, data2), {}});
  }
  void Sysex(const std::uint8_t* bytes, std::size_t length) override {
    Message m{Due(), 0, {}};
    m.sysex.reserve(length + 2);
    m.sysex.push_back(0xF0);
    m.sysex.insert(m.sysex.end(), bytes, bytes + length);
    m.sysex.push_back(0xF7);
    Queue(std::move(m));
  }
  void AllNotesOff() override {
    const auto due = Due();
    for (int ch = 0; ch < 16; ++ch) {
      Queue(Message{due, Pack(0xB0 | ch, 64, 0), {}});
      Queue(Message{due, Pack(0xB0 | ch, 123, 0), {}});
    }
  }
  void Silence() override { Now({64, 123}); }
  void AllSoundsOff() override { Now({64, 120, 123}); }
  void SystemReset() override {
    // General MIDI's "system on" puts a synthesizer back to its power-on
    // state (programs, controllers, bend ranges); the controller resets
    // behind it reach ports that ignore system exclusive messages.
    static constexpr std::uint8_t kGmOn[] = {0x7E, 0x7F, 0x09, 0x01};
    const auto due = Due();
    Sysex(kGmOn, sizeof kGmOn);
    for (int ch = 0; ch < 16; ++ch) {
      Queue(Message{due, Pack(0xB0 | ch, 120, 0), {}});
      Queue(Message{due, Pack(0xB0 | ch, 121, 0), {}});
    }
  }
  void Render(std::int32_t*, int frames) override { frames_ += static_cast<std::uint64_t>(frames); }
  // The port's own volume, both channels alike; a port without one plays
  // on at its own.
  void SetLevel(int level) override {
    const DWORD v = static_cast<DWORD>(0xFFFF * level / kFullVolume);
    mm_.midiOutSetVolume(port_, v | (v << 16));
  }

 private:
  // The time the current frame is heard at, tying frames to the clock anew
  // when the two have drifted apart.
  Clock::time_point Due() {
    const auto now = Clock::now();
    if (!tied_) {
      tied_ = true;
      tieTime_ = now;
      tieFrame_ = frames_;
    }
    auto due = tieTime_ + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                              static_cast<double>(frames_ - tieFrame_) / kAudioRate));
    if (due < now - std::chrono::milliseconds(5) || due > now + kMostAhead) {
      tieTime_ = due = now;
      tieFrame_ = frames_;
    }
    return due;
  }

  void Queue(Message m) {
    {
      std::lock_guard<std::mutex> hold(lock_);
      queue_.push_back(std::move(m));
    }
    wake_.notify_all();
  }

  // Drops what waits, then sends the given controller (value 0) on every
  // channel at once.
  void Now(std::initializer_list<std::uint8_t> controllers) {
    std::lock_guard<std::mutex> hold(lock_);
    queue_.clear();
    for (int ch = 0; ch < 16; ++ch) {
      for (std::uint8_t cc : controllers) ShortNow(Pack(0xB0 | ch, cc, 0));
    }
  }

  void ShortNow(DWORD message) { mm_.midiOutShortMsg(port_, message); }

  void LongNow(std::vector<std::uint8_t>& bytes) {
    MIDIHDR h{};
    h.lpData = reinterpret_cast<LPSTR>(bytes.data());
    h.dwBufferLength = static_cast<DWORD>(bytes.size());
    if (mm_.midiOutPrepareHeader(port_, &h, sizeof h) != MMSYSERR_NOERROR) return;
    if (mm_.midiOutLongMsg(port_, &h, sizeof h) == MMSYSERR_NOERROR) {
      while (mm_.midiOutUnprepareHeader(port_, &h, sizeof h) == MIDIERR_STILLPLAYING) Sleep(1);
    } else {
      mm_.midiOutUnprepareHeader(port_, &h, sizeof h);
    }
  }

  void Send() {
    std::unique_lock<std::mutex> hold(lock_);
    while (!stop_) {
      if (queue_.empty()) {
        wake_.wait(hold);
        continue;
      }
      const auto due = queue_.front().due;
      if (Clock::now() < due) {
        wake_.wait_until(hold, due);
        continue;
      }
      Message m = std::move(queue_.front());
      queue_.pop_front();
      // Sent under the lock, so that a silencing call cannot pass a message
      // already taken from the queue.
      if (m.sysex.empty()) {
        ShortNow(m.shortMessage);
      } else {
        LongNow(m.sysex);
      }
    }
  }

  const Winmm& mm_ = WinmmFunctions();
  HMIDIOUT port_;
  // The frames rendered so far and the tie to the clock; touched only under
  // the output's lock.
  std::uint64_t frames_ = 0;
  bool tied_ = false;
  Clock::time_point tieTime_;
  std::uint64_t tieFrame_ = 0;

  std::mutex lock_;
  std::condition_variable wake_;
  std::deque<Message> queue_;
  bool stop_ = false;
  std::thread sender_;
};

MusicSynth* OpenMidiPort() {
  const Winmm& mm = WinmmFunctions();
  HMIDIOUT port = nullptr;
  MMRESULT result = MMSYSERR_NODRIVER;
  if (mm.Loaded() && mm.midiOutGetNumDevs() > 0) {
    result = mm.midiOutOpen(&port, MIDI_MAPPER, 0, 0, CALLBACK_NULL);
  }
  if (result != MMSYSERR_NOERROR) {
    char text[256] = "";
    if (mm.Loaded()) mm.midiOutGetErrorTextA(result, text, sizeof text);
    std::fprintf(stderr, "Vedo Zeza1: no MIDI output (%s); music is silent.\n",
                 text[0] != '\0' ? text : "no device");
    std::fflush(stderr);
    return nullptr;
  }
  return new MidiPortSynth(port);
}

}  // namespace

std::function<MusicSynth*()> MusicSynthMaker(bool pulledByHost) {
  if (pulledByHost) return [] { return static_cast<MusicSynth*>(nullptr); };
  return &OpenMidiPort;
}

unsigned NativeMidiOutputCount() {
  return WinmmFunctions().Loaded() ? WinmmFunctions().midiOutGetNumDevs() : 0;
}

}  // namespace platform
