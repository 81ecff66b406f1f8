// Standard MIDI file reader: formats 0 and 1, PPQN and SMPTE timing. The
// sequencer and vedo-kit read tunes with it.
//
// The reader walks every MTrk chunk (other chunk types are skipped), decodes
// the events with running status, and merges the tracks into one list of
// channel and system-exclusive events in time order, each stamped with its
// time in microseconds from the tempo map. Meta events feed the tempo map and
// the track ends; nothing else of them is kept.
//
// Files come from outside the program, so nothing in them is trusted: sizes
// are checked against what the file holds, a malformed track ends where its
// damage starts (what came before is kept), and allocations are bounded by
// the file's own size, itself capped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

enum class MidiTimeDivision { kPpqn, kSmpte24, kSmpte25, kSmpte30Drop, kSmpte30 };

// Files larger than this are refused.
inline constexpr std::size_t kMaxMidiFileBytes = 4u << 20;

struct MidiEvent {
  std::uint64_t tick = 0;
  std::int64_t timeUs = 0;
  std::uint8_t status = 0;  // 0x80 to 0xEF: a channel message; 0xF0: system exclusive
  std::uint8_t data1 = 0;
  std::uint8_t data2 = 0;
  // System exclusive bytes (without the leading F0) in MidiFile::payload.
  std::uint32_t payloadOffset = 0;
  std::uint32_t payloadLength = 0;
};

// One stretch of constant tempo, from `tick` (at `timeUs`) on.
struct TempoSegment {
  std::uint64_t tick = 0;
  std::int64_t timeUs = 0;
  std::uint32_t usPerQuarter = 500000;
};

struct MidiFile {
  int format = 0;
  int trackCount = 0;      // MTrk chunks read
  int declaredTracks = 0;  // as the header says
  MidiTimeDivision division = MidiTimeDivision::kPpqn;
  int ticksPerQuarter = 0;  // PPQN files
  int framesPerSecond = 0;  // SMPTE files: 24, 25, 29 (30 drop-frame) or 30
  int ticksPerFrame = 0;    // SMPTE files
  std::vector<MidiEvent> events;
  std::vector<std::uint8_t> payload;
  std::vector<TempoSegment> tempoMap;  // never empty once read; SMPTE files: one segment
  int tempoEvents = 0;                 // set-tempo events read, of every track
  std::uint64_t lengthTicks = 0;       // the latest track end
  std::int64_t lengthUs = 0;
  // The first track (counting from 1) that breaks off, damaged or cut short
  // by the end of the file, and the byte of its body where; 0 when none.
  int brokenTrack = 0;
  std::size_t brokenAt = 0;

  std::int64_t TicksToUs(std::uint64_t tick) const;
  std::uint64_t UsToTicks(std::int64_t us) const;
  // The tempo in effect at a time, in beats per minute (frames per second for
  // SMPTE files), as a real number.
  double TempoAt(std::int64_t us) const;
};

// Reads a whole file from memory. False, with a reason, when it is not a
// standard MIDI file of format 0 or 1 that can be played.
bool ParseMidiFile(const std::uint8_t* data, std::size_t size, MidiFile& out,
                   std::string* error = nullptr);
bool LoadMidiFile(const char* path, MidiFile& out, std::string* error = nullptr);

}  // namespace platform
