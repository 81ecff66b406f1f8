// The MIDI sequencer: plays a standard MIDI file into the platform's music
// synthesizer, inside the mixer's pass.
//
// The tune's clock is the output itself: while playing, the position moves on
// by the frames the mixer renders (scaled by the tempo the caller set). A
// pass is cut at every event's frame, so each note, program change,
// controller and pitch bend reaches the synthesizer exactly where it falls
// (a synthesizer outside the mix, a MIDI port, learns that place from the
// frames rendered before it).
//
// Moving to a position (a play from a point, a seek) does not replay the
// notes before it, but it does bring every channel to the state those
// earlier events left it in: program, bank, controllers, pitch-bend range,
// pitch bend and pressure. The same state is sent again when the
// synthesizer arrives late, after the soundfont has loaded.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "formats/file_bytes.h"
#include "formats/midi_file.h"
#include "platform/platform.h"
#include "platform/port.h"
#include "platform/sound/audio_output.h"

namespace platform {
namespace {

constexpr int kMidiChannels = 16;
constexpr std::int16_t kUnset = -1;

struct ChannelState {
  std::int16_t cc[128];
  std::int16_t program = kUnset;
  std::int16_t bend = kUnset;
  std::int16_t pressure = kUnset;
  // The registered parameter that data entry goes to (127, 127: none).
  std::uint8_t rpnMsb = 127;
  std::uint8_t rpnLsb = 127;
  std::int16_t bendRangeMsb = kUnset;
  std::int16_t bendRangeLsb = kUnset;

  ChannelState() { std::fill(std::begin(cc), std::end(cc), kUnset); }
};

// What an event leaves behind on its channel; notes leave nothing.
void Track(ChannelState* channels, const MidiEvent& e) {
  if (e.status >= 0xF0) return;
  ChannelState& c = channels[e.status & 0x0F];
  switch (e.status & 0xF0) {
    case 0xB0:
      c.cc[e.data1] = e.data2;
      switch (e.data1) {
        case 101:
          c.rpnMsb = e.data2;
          break;
        case 100:
          c.rpnLsb = e.data2;
          break;
        case 99:
        case 98:
          // A non-registered parameter takes data entry from here on.
          c.rpnMsb = c.rpnLsb = 127;
          break;
        case 6:
          if (c.rpnMsb == 0 && c.rpnLsb == 0) c.bendRangeMsb = e.data2;
          break;
        case 38:
          if (c.rpnMsb == 0 && c.rpnLsb == 0) c.bendRangeLsb = e.data2;
          break;
        case 121:
          // Reset all controllers: modulation, expression, pedals, the
          // parameter selection, pitch bend and pressure.
          for (int n : {1, 11, 64, 65, 66, 67, 98, 99, 100, 101}) c.cc[n] = kUnset;
          c.rpnMsb = c.rpnLsb = 127;
          c.bend = kUnset;
          c.pressure = kUnset;
          break;
        default:
          break;
      }
      break;
    case 0xC0:
      c.program = e.data1;
      break;
    case 0xD0:
      c.pressure = e.data1;
      break;
    case 0xE0:
      c.bend = static_cast<std::int16_t>(e.data1 | (e.data2 << 7));
      break;
    default:
      break;
  }
}

void Send(MusicSynth* synth, const MidiFile& file, const MidiEvent& e) {
  if (e.status == 0xF0) {
    if (e.payloadLength > 0) synth->Sysex(file.payload.data() + e.payloadOffset, e.payloadLength);
    return;
  }
  if (e.status < 0xF0) synth->ChannelMessage(e.status, e.data1, e.data2);
}

std::uint8_t Status(int kind, int channel) { return static_cast<std::uint8_t>(kind | channel); }
std::uint8_t Byte(int value) { return static_cast<std::uint8_t>(value); }

void Cc(MusicSynth* synth, int channel, int controller, int value) {
  synth->ChannelMessage(Status(0xB0, channel), Byte(controller), Byte(value));
}

// Brings the synthesizer to the channel states: everything silenced and
// reset, then the recorded values sent again, controllers (bank select among
// them) before the program.
void ApplyChannels(MusicSynth* synth, const ChannelState* channels) {
  synth->SystemReset();
  for (int ch = 0; ch < kMidiChannels; ++ch) {
    const ChannelState& c = channels[ch];
    for (int n = 0; n < 120; ++n) {
      if (n == 6 || n == 38 || (n >= 96 && n <= 101)) continue;  // data entry and selection
      if (c.cc[n] != kUnset) Cc(synth, ch, n, c.cc[n]);
    }
    if (c.bendRangeMsb != kUnset) {
      Cc(synth, ch, 101, 0);
      Cc(synth, ch, 100, 0);
      Cc(synth, ch, 6, c.bendRangeMsb);
      if (c.bendRangeLsb != kUnset) Cc(synth, ch, 38, c.bendRangeLsb);
    }
    if (c.cc[101] != kUnset || c.cc[100] != kUnset) {
      Cc(synth, ch, 101, c.rpnMsb);
      Cc(synth, ch, 100, c.rpnLsb);
    }
    if (c.program != kUnset) synth->ChannelMessage(Status(0xC0, ch), Byte(c.program), 0);
    if (c.bend != kUnset) {
      synth->ChannelMessage(Status(0xE0, ch), Byte(c.bend & 0x7F), Byte(c.bend >> 7));
    }
    if (c.pressure != kUnset) synth->ChannelMessage(Status(0xD0, ch), Byte(c.pressure), 0);
  }
}

}  // namespace

struct Sequencer {
  SequencerId id = 0;
  AudioOutput* output = nullptr;
  MidiFile file;
  SequencerMode mode = SequencerMode::kStopped;
  // The position is baseUs plus the frames played since, at `speed`.
  std::int64_t baseUs = 0;
  std::uint64_t framesSinceBase = 0;
  double speed = 1.0;
  std::size_t nextEvent = 0;  // the first event not yet sent
  ChannelState channels[kMidiChannels];
  bool channelsPending = true;  // the synthesizer is to be brought to `channels`

  std::int64_t PositionUs() const {
    if (framesSinceBase == 0) return baseUs;
    const double played = static_cast<double>(framesSinceBase) * 1e6 * speed / kAudioRate;
    return std::min(baseUs + static_cast<std::int64_t>(played + 1e-6), file.lengthUs);
  }
  void Rebase() {
    baseUs = PositionUs();
    framesSinceBase = 0;
  }
};

namespace {

Sequencer* gSequencer = nullptr;
SequencerId gLastId = 0;

// A place in the tune: the first event at or after it, and the channel
// states that the events before it leave. Worked out without the lock: the
// file does not change while it is open.
struct Place {
  std::int64_t us = 0;
  std::size_t nextEvent = 0;
  ChannelState channels[kMidiChannels];
};

// The place `ms` into the tune; false past its end.
bool FindPlace(const MidiFile& file, std::uint32_t ms, Place& place) {
  const std::int64_t us = std::int64_t{ms} * 1000;
  if (us > file.lengthUs) return false;
  place.us = us;
  auto it = std::lower_bound(file.events.begin(), file.events.end(), us,
                             [](const MidiEvent& e, std::int64_t t) { return e.timeUs < t; });
  place.nextEvent = static_cast<std::size_t>(it - file.events.begin());
  for (std::size_t i = 0; i < place.nextEvent; ++i) Track(place.channels, file.events[i]);
  return true;
}

void MoveTo(Sequencer& s, const Place& place) {
  s.baseUs = place.us;
  s.framesSinceBase = 0;
  s.nextEvent = place.nextEvent;
  std::copy(std::begin(place.channels), std::end(place.channels), std::begin(s.channels));
  s.channelsPending = true;
}

void ReleaseNotes(AudioOutput& out) {
  if (out.synth != nullptr) out.synth->Silence();
}

Sequencer* Find(SequencerId id) {
  return id != 0 && gSequencer != nullptr && gSequencer->id == id ? gSequencer : nullptr;
}

// Sends every event that is due at the current position.
void SendDue(Sequencer& s, MusicSynth* synth) {
  const std::int64_t now = s.PositionUs();
  const auto& events = s.file.events;
  while (s.nextEvent < events.size() && events[s.nextEvent].timeUs <= now) {
    const MidiEvent& e = events[s.nextEvent++];
    Track(s.channels, e);
    if (synth != nullptr) Send(synth, s.file, e);
  }
}

// Runs `use` on the open sequencer `id` under its output's lock; false when
// `id` is not the one open.
template <typename Use>
bool WithSequencer(SequencerId id, Use use) {
  Sequencer* s = Find(id);
  if (s == nullptr) return false;
  std::lock_guard<std::mutex> hold(s->output->lock);
  use(*s);
  return true;
}

// Stops or pauses, keeping the position: a stop halts a playing or a paused
// tune, a pause only a playing one.
bool Halt(SequencerId id, SequencerMode to) {
  return WithSequencer(id, [&](Sequencer& s) {
    if (s.mode == SequencerMode::kPlaying || (to == SequencerMode::kStopped && s.mode != to)) {
      s.Rebase();
      s.mode = to;
      ReleaseNotes(*s.output);
    }
  });
}

// Tells a host's recorder, if one listens.
void Heard(CallRecorder::MusicCall call, const char* path = nullptr) {
  if (CallRecorder* r = ActiveRecorder()) r->MusicCalled(call, path);
}

// At the end of the tune the sequencer stops by itself, at the end.
bool StopAtEnd(Sequencer& s, MusicSynth* synth) {
  if (s.PositionUs() < s.file.lengthUs) return false;
  s.baseUs = s.file.lengthUs;
  s.framesSinceBase = 0;
  s.mode = SequencerMode::kStopped;
  if (synth != nullptr) synth->AllNotesOff();
  return true;
}

}  // namespace

void SynthArrived(AudioOutput& out) {
  if (out.sequencer != nullptr) out.sequencer->channelsPending = true;
}

bool MusicPlaying(const AudioOutput& out) {
  return out.sequencer != nullptr && out.sequencer->mode == SequencerMode::kPlaying;
}

void MixMusic(AudioOutput& out, std::int32_t* sum, int frames) {
  Sequencer* s = out.sequencer;
  if (s == nullptr) return;
  MusicSynth* synth = out.synth;
  if (synth != nullptr && s->channelsPending) {
    ApplyChannels(synth, s->channels);
    s->channelsPending = false;
  }
  const double framesPerUs = kAudioRate / (1e6 * s->speed);
  int done = 0;
  while (done < frames) {
    int n = frames - done;
    if (s->mode == SequencerMode::kPlaying) {
      SendDue(*s, synth);
      if (!StopAtEnd(*s, synth)) {
        const auto& events = s->file.events;
        const std::int64_t next =
            s->nextEvent < events.size() ? events[s->nextEvent].timeUs : s->file.lengthUs;
        const double until = std::ceil(static_cast<double>(next - s->PositionUs()) * framesPerUs);
        n = static_cast<int>(std::clamp(until, 1.0, static_cast<double>(n)));
      }
    }
    if (synth != nullptr) synth->Render(sum + done * kAudioChannels, n);
    if (s->mode == SequencerMode::kPlaying) s->framesSinceBase += static_cast<std::uint64_t>(n);
    done += n;
  }
  // Events due at the very end of the pass go out now, so that the state
  // between passes is the state at the position.
  if (s->mode == SequencerMode::kPlaying) {
    SendDue(*s, synth);
    StopAtEnd(*s, synth);
  }
}

SequencerId OpenSequencer(const char* path) {
  if (path != nullptr) Heard(CallRecorder::MusicCall::kOpen, path);
  if (path == nullptr || gSequencer != nullptr) return 0;
  auto s = std::make_unique<Sequencer>();
  std::string error;
  if (!LoadMidiFile(path, s->file, &error)) {
    // A missing file is the caller's business; a damaged one gets a line.
    if (FileExists(path)) {
      const std::string line = std::string("MIDI file ") + path + ": " + error + ".\n";
      DebugOutput(line.c_str());
    }
    return 0;
  }
  AudioOutput* out = AcquireOutput();
  if (out == nullptr) return 0;
  gLastId = gLastId >= 0xFFFF ? 1 : gLastId + 1;
  s->id = gLastId;
  s->output = out;
  {
    std::lock_guard<std::mutex> hold(out->lock);
    out->sequencer = s.get();
  }
  gSequencer = s.release();
  return gSequencer->id;
}

void CloseSequencer(SequencerId id) {
  Heard(CallRecorder::MusicCall::kClose);
  Sequencer* s = Find(id);
  if (s == nullptr) return;
  AudioOutput* out = s->output;
  {
    std::lock_guard<std::mutex> hold(out->lock);
    out->sequencer = nullptr;
    if (out->synth != nullptr) out->synth->AllSoundsOff();
  }
  gSequencer = nullptr;
  delete s;
  ReleaseOutput();
}

bool SequencerPlay(SequencerId id, std::uint32_t fromMs) {
  Heard(CallRecorder::MusicCall::kPlay);
  Sequencer* s = Find(id);
  if (s == nullptr) return false;
  Place place;
  if (!FindPlace(s->file, fromMs, place)) return false;
  std::lock_guard<std::mutex> hold(s->output->lock);
  MoveTo(*s, place);
  s->mode = SequencerMode::kPlaying;
  return true;
}

bool SequencerStop(SequencerId id) {
  Heard(CallRecorder::MusicCall::kStop);
  return Halt(id, SequencerMode::kStopped);
}

bool SequencerPause(SequencerId id) {
  Heard(CallRecorder::MusicCall::kPause);
  return Halt(id, SequencerMode::kPaused);
}

bool SequencerSeek(SequencerId id, std::uint32_t ms) {
  Heard(CallRecorder::MusicCall::kSeek);
  Sequencer* s = Find(id);
  if (s == nullptr) return false;
  Place place;
  if (!FindPlace(s->file, ms, place)) return false;
  std::lock_guard<std::mutex> hold(s->output->lock);
  // Seeking stops a playing tune; a paused one stays paused, at its new place.
  if (s->mode == SequencerMode::kPlaying) {
    s->mode = SequencerMode::kStopped;
    ReleaseNotes(*s->output);
  }
  MoveTo(*s, place);
  return true;
}

bool SequencerLength(SequencerId id, std::uint32_t& ms) {
  return WithSequencer(id, [&](Sequencer& s) {
    ms = static_cast<std::uint32_t>(std::min<std::int64_t>(s.file.lengthUs / 1000, 0xFFFFFFFF));
  });
}

bool SequencerPosition(SequencerId id, std::uint32_t& ms) {
  return WithSequencer(id, [&](Sequencer& s) {
    ms = static_cast<std::uint32_t>(std::min<std::int64_t>(s.PositionUs() / 1000, 0xFFFFFFFF));
  });
}

bool SequencerGetMode(SequencerId id, SequencerMode& mode) {
  return WithSequencer(id, [&](Sequencer& s) { mode = s.mode; });
}

bool SequencerDivision(SequencerId id, MidiTimeDivision& division) {
  return WithSequencer(id, [&](Sequencer& s) { division = s.file.division; });
}

bool SequencerTempo(SequencerId id, std::uint32_t& tempo) {
  return WithSequencer(id, [&](Sequencer& s) {
    tempo = static_cast<std::uint32_t>(std::lround(s.file.TempoAt(s.PositionUs()) * s.speed));
  });
}

bool SequencerSetTempo(SequencerId id, std::uint32_t tempo) {
  return tempo != 0 && WithSequencer(id, [&](Sequencer& s) {
           s.Rebase();
           s.speed = std::clamp(tempo / s.file.TempoAt(s.baseUs), 0.01, 100.0);
         });
}

}  // namespace platform
