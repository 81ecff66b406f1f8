// Ending.mid: a short piece for the escape, composed here note by note.
//
// A minor turning to C major, 24 bars of 4/4 at 76 beats a minute, slowing
// at the close (about 76 seconds). Piano arpeggios and a string pad carry
// the harmony, a flute sings the tune, horns join in the brighter middle,
// cellos hold the bass, timpani mark the turns and a celesta closes.
// Standard MIDI file, format 1: a conductor track, then one track per
// instrument, 480 pulses per quarter note, General MIDI programs.
#include <algorithm>

#include "common/rng.h"
#include "content/datakit.h"

namespace datakit {
namespace {

constexpr int kPpqn = 480;
constexpr int kBar = 4 * kPpqn;

struct Event {
  std::uint32_t tick;
  int order;  // at one tick: meta first, then controls, note-offs, note-ons
  std::vector<std::uint8_t> bytes;
};

class Track {
 public:
  explicit Track(std::string name) : name_(std::move(name)) {}
  void Meta(std::uint32_t tick, std::uint8_t type, std::vector<std::uint8_t> data) {
    std::vector<std::uint8_t> b = {0xFF, type};
    PutVarLen(b, static_cast<std::uint32_t>(data.size()));
    b.insert(b.end(), data.begin(), data.end());
    events_.push_back({tick, 0, b});
  }
  void Control(std::uint32_t tick, int ch, int controller, int value) {
    events_.push_back({tick,
                       1,
                       {static_cast<std::uint8_t>(0xB0 | ch), static_cast<std::uint8_t>(controller),
                        static_cast<std::uint8_t>(value)}});
  }
  void Program(std::uint32_t tick, int ch, int program) {
    events_.push_back(
        {tick, 1, {static_cast<std::uint8_t>(0xC0 | ch), static_cast<std::uint8_t>(program)}});
  }
  void Note(std::uint32_t tick, std::uint32_t length, int ch, int pitch, int velocity) {
    velocity = std::clamp(velocity, 1, 127);
    events_.push_back({tick,
                       3,
                       {static_cast<std::uint8_t>(0x90 | ch), static_cast<std::uint8_t>(pitch),
                        static_cast<std::uint8_t>(velocity)}});
    events_.push_back(
        {tick + length,
         2,
         {static_cast<std::uint8_t>(0x80 | ch), static_cast<std::uint8_t>(pitch), 0}});
  }
  std::vector<std::uint8_t> Chunk() const {
    std::vector<Event> events = events_;
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
      return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<std::uint8_t> body;
    // The track's name first.
    body.push_back(0);
    body.push_back(0xFF);
    body.push_back(0x03);
    PutVarLen(body, static_cast<std::uint32_t>(name_.size()));
    body.insert(body.end(), name_.begin(), name_.end());
    std::uint32_t last = 0;
    for (const Event& e : events) {
      PutVarLen(body, e.tick - last);
      last = e.tick;
      body.insert(body.end(), e.bytes.begin(), e.bytes.end());
    }
    body.insert(body.end(), {0x00, 0xFF, 0x2F, 0x00});
    std::vector<std::uint8_t> chunk = {'M', 'T', 'r', 'k'};
    PutBe32(chunk, static_cast<std::uint32_t>(body.size()));
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
  }

  static void PutVarLen(std::vector<std::uint8_t>& out, std::uint32_t v) {
    std::uint8_t buf[5];
    int n = 0;
    buf[n++] = v & 0x7F;
    while ((v >>= 7) != 0) buf[n++] = static_cast<std::uint8_t>(0x80 | (v & 0x7F));
    while (n > 0) out.push_back(buf[--n]);
  }
  static void PutBe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 3; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }

 private:
  std::string name_;
  std::vector<Event> events_;
};

struct Chord {
  int bass;    // cello root
  int root;    // arpeggio root, an octave up
  int third;   // 3 minor, 4 major
  int pad[3];  // string voicing
};

const Chord kAm{45, 57, 3, {57, 60, 64}};
const Chord kF{41, 53, 4, {57, 60, 65}};
const Chord kC{48, 48, 4, {55, 60, 64}};
const Chord kG{43, 55, 4, {55, 59, 62}};
const Chord kDm{50, 50, 3, {57, 62, 65}};
const Chord kE{40, 52, 4, {56, 59, 64}};
const Chord kEm{40, 52, 3, {55, 59, 64}};

// The tune: (pitch, beats); pitch 0 is a rest. One list per bar from bar 5.
struct Tone {
  int pitch;
  float beats;
};
const std::vector<std::vector<Tone>> kMelody = {
    {{76, 1.5f}, {74, 0.5f}, {72, 1}, {76, 1}},           // 5  Am
    {{77, 1.5f}, {76, 0.5f}, {72, 1}, {69, 1}},           // 6  F
    {{67, 1}, {72, 1}, {76, 1}, {79, 1}},                 // 7  C
    {{77, 1.5f}, {76, 0.5f}, {74, 2}},                    // 8  G
    {{76, 1.5f}, {74, 0.5f}, {72, 1}, {76, 1}},           // 9  Am
    {{81, 1.5f}, {79, 0.5f}, {77, 1}, {72, 1}},           // 10 F
    {{74, 1}, {77, 1}, {81, 1}, {79, 0.5f}, {77, 0.5f}},  // 11 Dm
    {{76, 2}, {74, 1}, {71, 1}},                          // 12 E
    {{81, 1.5f}, {79, 0.5f}, {77, 1}, {81, 1}},           // 13 F
    {{83, 1.5f}, {81, 0.5f}, {79, 1}, {74, 1}},           // 14 G
    {{84, 2}, {79, 1}, {76, 1}},                          // 15 C
    {{81, 2}, {76, 1}, {72, 1}},                          // 16 Am
    {{77, 1}, {81, 1}, {84, 1}, {81, 1}},                 // 17 F
    {{79, 1}, {83, 1}, {86, 1.5f}, {84, 0.5f}},           // 18 G
    {{83, 2}, {79, 1}, {76, 1}},                          // 19 Em
    {{81, 3}, {0, 1}},                                    // 20 Am
    {{77, 1.5f}, {76, 0.5f}, {74, 1}, {77, 1}},           // 21 Dm
    {{79, 1.5f}, {77, 0.5f}, {74, 2}},                    // 22 G
    {{76, 2}, {79, 2}},                                   // 23 C
    {{84, 4}},                                            // 24 C
};

// Channels and General MIDI programs.
enum Ch { kPiano = 0, kStrings, kFlute, kHorn, kCello, kTimpani, kCelesta };

}  // namespace

std::vector<std::uint8_t> MakeMusic() {
  const std::vector<Chord> bars = {kAm, kF, kC, kG,  kAm, kF, kC,  kG,  kAm, kF, kDm, kE,
                                   kF,  kG, kC, kAm, kF,  kG, kEm, kAm, kDm, kG, kC,  kC};
  Rng rng(6001);
  auto human = [&rng](int v) { return v + rng.Int(-6, 6); };

  Track conductor("Vedo Zeza1 - Ending");
  conductor.Meta(0, 0x58, {4, 2, 24, 8});  // 4/4
  conductor.Meta(0, 0x59, {0, 1});         // A minor
  auto tempo = [&](std::uint32_t tick, int bpm) {
    const std::uint32_t us = 60000000u / static_cast<std::uint32_t>(bpm);
    conductor.Meta(tick, 0x51,
                   {static_cast<std::uint8_t>(us >> 16), static_cast<std::uint8_t>(us >> 8),
                    static_cast<std::uint8_t>(us)});
  };
  tempo(0, 76);
  tempo(22 * kBar, 72);
  tempo(23 * kBar, 66);
  tempo(23 * kBar + 2 * kPpqn, 60);

  struct Setup {
    const char* name;
    int ch, program, volume, pan, reverb;
  };
  const Setup setups[] = {
      {"Piano", kPiano, 0, 92, 50, 60},    {"Strings", kStrings, 48, 78, 74, 80},
      {"Flute", kFlute, 73, 104, 58, 70},  {"Horns", kHorn, 60, 80, 44, 70},
      {"Cellos", kCello, 42, 86, 70, 60},  {"Timpani", kTimpani, 47, 90, 64, 70},
      {"Celesta", kCelesta, 8, 80, 80, 90}};
  std::vector<Track> tracks;
  for (const Setup& s : setups) {
    Track t(s.name);
    t.Program(0, s.ch, s.program);
    t.Control(0, s.ch, 7, s.volume);
    t.Control(0, s.ch, 10, s.pan);
    t.Control(0, s.ch, 91, s.reverb);
    t.Control(0, s.ch, 93, 20);
    tracks.push_back(std::move(t));
  }
  Track& piano = tracks[kPiano];
  Track& strings = tracks[kStrings];
  Track& flute = tracks[kFlute];
  Track& horns = tracks[kHorn];
  Track& cellos = tracks[kCello];
  Track& timpani = tracks[kTimpani];
  Track& celesta = tracks[kCelesta];

  const int eighth = kPpqn / 2;
  for (std::size_t b = 0; b < bars.size(); ++b) {
    const Chord& c = bars[b];
    const std::uint32_t start = static_cast<std::uint32_t>(b) * kBar;
    const bool bright = b >= 12 && b < 20;
    const bool last = b + 1 == bars.size();
    // Piano: a rolling arpeggio of eighths; the last bar a held chord.
    if (!last) {
      const int pattern[8] = {0, 7, 12, 12 + c.third, 19, 12 + c.third, 12, 7};
      for (int i = 0; i < 8; ++i) {
        const int accent = (i == 0 ? 10 : i == 4 ? 5 : 0);
        piano.Note(start + i * eighth, eighth + eighth / 2, kPiano, c.root + pattern[i],
                   human((bright ? 66 : 54) + accent));
      }
    } else {
      for (int p : {c.root - 12, c.root, c.root + 7, c.root + 12, c.root + 16}) {
        piano.Note(start, kBar + kPpqn, kPiano, p, human(62));
      }
    }
    // Strings: the chord held across the bar, rising through the middle.
    const int padVelocity = b < 4 ? 48 + static_cast<int>(b) * 4 : bright ? 72 : 60;
    for (int p : c.pad) strings.Note(start, kBar + (last ? kPpqn : 0), kStrings, p, padVelocity);
    if (bright) strings.Note(start, kBar, kStrings, c.pad[2] + 12, padVelocity - 8);
    // Cellos: the root, or root and fifth in the brighter part.
    if (bright) {
      cellos.Note(start, 2 * kPpqn, kCello, c.bass, human(76));
      cellos.Note(start + 2 * kPpqn, 2 * kPpqn, kCello, c.bass + 7, human(70));
    } else {
      cellos.Note(start, kBar + (last ? kPpqn : 0), kCello, c.bass, human(70));
    }
    // Horns answer the tune in the middle: the chord's upper notes.
    if (bright) {
      horns.Note(start, 2 * kPpqn, kHorn, c.pad[0], human(64));
      horns.Note(start + 2 * kPpqn, 2 * kPpqn, kHorn, c.pad[1], human(60));
    }
    // The tune from bar 5.
    if (b >= 4) {
      std::uint32_t at = start;
      for (const Tone& t : kMelody[b - 4]) {
        const std::uint32_t length = static_cast<std::uint32_t>(t.beats * kPpqn);
        if (t.pitch > 0) {
          flute.Note(at, length - 12, kFlute, t.pitch, human(bright ? 92 : 82));
        }
        at += length;
      }
    }
    // Celesta sparkles over the close.
    if (b >= 20) {
      for (int i = 0; i < 4; ++i) {
        const int p = (i % 2 == 0 ? c.root + 24 + c.third : c.root + 31);
        celesta.Note(start + i * kPpqn, kPpqn, kCelesta, p, human(58));
      }
    }
  }
  // Timpani: a stroke at the turn to the brighter part, a roll at the end.
  timpani.Note(12 * kBar, kPpqn, kTimpani, 41, 96);
  timpani.Note(20 * kBar, kPpqn, kTimpani, 38, 84);
  for (int i = 0; i < 16; ++i) {
    timpani.Note(23 * kBar + i * (kPpqn / 4), kPpqn / 4, kTimpani, 36, 40 + i * 4);
  }
  timpani.Note(24 * kBar, kPpqn * 2, kTimpani, 36, 110);
  piano.Note(24 * kBar, kPpqn * 2, kPiano, 36, 70);

  std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
  const int trackCount = 1 + static_cast<int>(tracks.size());
  file.push_back(static_cast<std::uint8_t>(trackCount >> 8));
  file.push_back(static_cast<std::uint8_t>(trackCount));
  file.push_back(static_cast<std::uint8_t>(kPpqn >> 8));
  file.push_back(static_cast<std::uint8_t>(kPpqn & 0xFF));
  const std::vector<std::uint8_t> c0 = conductor.Chunk();
  file.insert(file.end(), c0.begin(), c0.end());
  for (const Track& t : tracks) {
    const std::vector<std::uint8_t> chunk = t.Chunk();
    file.insert(file.end(), chunk.begin(), chunk.end());
  }
  return file;
}

}  // namespace datakit
