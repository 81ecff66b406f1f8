// Standard MIDI file reader; see midi_file.h.
#include "formats/midi_file.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "formats/file_bytes.h"
#include "formats/little_endian.h"

namespace platform {
namespace {

// Times are kept well inside 64 bits, so that sums of them cannot overflow.
constexpr std::int64_t kMaxTimeUs = std::int64_t{1} << 60;

std::uint32_t Be32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         std::uint32_t{p[3]};
}
std::uint16_t Be16(const std::uint8_t* p) { return static_cast<std::uint16_t>((p[0] << 8) | p[1]); }

std::int64_t Saturate(unsigned __int128 v) {
  return v > static_cast<unsigned __int128>(kMaxTimeUs) ? kMaxTimeUs : static_cast<std::int64_t>(v);
}

// A variable-length quantity: at most four bytes, seven bits each.
bool ReadVlq(const std::uint8_t* d, std::size_t end, std::size_t& pos, std::uint32_t& value) {
  value = 0;
  for (int i = 0; i < 4; ++i) {
    if (pos >= end) return false;
    const std::uint8_t b = d[pos++];
    value = (value << 7) | (b & 0x7F);
    if ((b & 0x80) == 0) return true;
  }
  return false;
}

constexpr std::size_t kWholeTrack = ~std::size_t{0};

struct TempoEvent {
  std::uint64_t tick;
  std::uint32_t usPerQuarter;
};

struct TrackReader {
  const std::uint8_t* d;
  MidiFile& out;
  std::vector<TempoEvent>& tempos;

  // Reads one MTrk body [pos, end). Returns the tick at which the track
  // ends: its end-of-track event, or its last whole event when the track is
  // cut short or damaged; `damagedAt` is then where, from the body's start.
  std::uint64_t Read(std::size_t pos, std::size_t end, std::size_t& damagedAt) {
    const std::size_t body = pos;
    std::uint64_t tick = 0;
    std::uint64_t endTick = 0;
    std::uint8_t running = 0;
    damagedAt = kWholeTrack;
    while (true) {
      if (pos >= end) return endTick;
      std::uint32_t delta = 0;
      if (!ReadVlq(d, end, pos, delta) || pos >= end) break;
      tick += delta;
      std::uint8_t status = d[pos];
      if (status < 0x80) {
        // Running status: the data bytes of another message of the last
        // channel status. Without one the track is damaged from here on.
        if (running == 0) break;
        status = running;
      } else {
        ++pos;
      }
      if (status == 0xFF) {
        if (pos >= end) break;
        const std::uint8_t type = d[pos++];
        std::uint32_t length = 0;
        if (!ReadVlq(d, end, pos, length) || length > end - pos) break;
        if (type == 0x2F) return tick;
        if (type == 0x51 && length >= 3) {
          const std::uint32_t us = (std::uint32_t{d[pos]} << 16) |
                                   (std::uint32_t{d[pos + 1]} << 8) | std::uint32_t{d[pos + 2]};
          // A tempo of zero would stop the clock for ever.
          if (us != 0) tempos.push_back({tick, us});
          ++out.tempoEvents;
        }
        pos += length;
      } else if (status == 0xF0 || status == 0xF7) {
        std::uint32_t length = 0;
        if (!ReadVlq(d, end, pos, length) || length > end - pos) break;
        // F0 starts a system-exclusive message; F7 carries continuations and
        // escaped bytes, which the synthesizer has no use for.
        if (status == 0xF0) {
          std::uint32_t body = length;
          if (body > 0 && d[pos + body - 1] == 0xF7) --body;
          MidiEvent e;
          e.tick = tick;
          e.status = 0xF0;
          e.payloadOffset = static_cast<std::uint32_t>(out.payload.size());
          e.payloadLength = body;
          out.payload.insert(out.payload.end(), d + pos, d + pos + body);
          out.events.push_back(e);
        }
        pos += length;
      } else if (status >= 0xF0) {
        // System common and real-time messages do not belong in a file.
        break;
      } else {
        running = status;
        const int count = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
        if (end - pos < static_cast<std::size_t>(count)) break;
        MidiEvent e;
        e.tick = tick;
        e.status = status;
        e.data1 = d[pos];
        e.data2 = count == 2 ? d[pos + 1] : 0;
        if (e.data1 >= 0x80 || e.data2 >= 0x80) break;
        pos += static_cast<std::size_t>(count);
        out.events.push_back(e);
      }
      endTick = tick;
    }
    damagedAt = pos - body;
    return endTick;
  }
};

bool Fail(std::string* error, const char* reason) {
  if (error != nullptr) *error = reason;
  return false;
}

// A RIFF MIDI file ("RMID") wraps a standard MIDI file in its "data" chunk.
bool UnwrapRmid(const std::uint8_t*& data, std::size_t& size) {
  if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "RMID", 4) != 0) {
    return true;
  }
  std::size_t pos = 12;
  while (size - pos >= 8) {
    const std::uint32_t length = ReadLe32(data + pos + 4);
    const std::size_t body = pos + 8;
    const std::size_t avail = size - body;
    if (std::memcmp(data + pos, "data", 4) == 0) {
      data += body;
      size = std::min<std::size_t>(length, avail);
      return true;
    }
    if (length >= avail) break;
    pos = body + length + (length & 1);
  }
  return false;
}

}  // namespace

std::int64_t MidiFile::TicksToUs(std::uint64_t tick) const {
  if (division != MidiTimeDivision::kPpqn) {
    if (framesPerSecond <= 0 || ticksPerFrame <= 0) return 0;
    const unsigned __int128 t = tick;
    if (framesPerSecond == 29) {
      // 30 drop-frame runs at 30000 / 1001 frames a second.
      return Saturate(t * 1001000000u / (30000u * static_cast<unsigned>(ticksPerFrame)));
    }
    return Saturate(
        t * 1000000u /
        (static_cast<unsigned>(framesPerSecond) * static_cast<unsigned>(ticksPerFrame)));
  }
  if (tempoMap.empty() || ticksPerQuarter <= 0) return 0;
  auto it = std::upper_bound(tempoMap.begin(), tempoMap.end(), tick,
                             [](std::uint64_t t, const TempoSegment& s) { return t < s.tick; });
  const TempoSegment& s = *(it == tempoMap.begin() ? it : it - 1);
  const unsigned __int128 delta = tick - s.tick;
  return Saturate(static_cast<unsigned __int128>(s.timeUs) +
                  delta * s.usPerQuarter / static_cast<unsigned>(ticksPerQuarter));
}

std::uint64_t MidiFile::UsToTicks(std::int64_t us) const {
  if (us <= 0) return 0;
  const unsigned __int128 u = static_cast<std::uint64_t>(us);
  if (division != MidiTimeDivision::kPpqn) {
    if (framesPerSecond <= 0 || ticksPerFrame <= 0) return 0;
    if (framesPerSecond == 29) {
      return static_cast<std::uint64_t>(u * 30000u * static_cast<unsigned>(ticksPerFrame) /
                                        1001000000u);
    }
    return static_cast<std::uint64_t>(u * static_cast<unsigned>(framesPerSecond) *
                                      static_cast<unsigned>(ticksPerFrame) / 1000000u);
  }
  if (tempoMap.empty() || ticksPerQuarter <= 0) return 0;
  auto it = std::upper_bound(tempoMap.begin(), tempoMap.end(), us,
                             [](std::int64_t t, const TempoSegment& s) { return t < s.timeUs; });
  const TempoSegment& s = *(it == tempoMap.begin() ? it : it - 1);
  const unsigned __int128 delta = static_cast<std::uint64_t>(us - s.timeUs);
  const unsigned __int128 ticks =
      delta * static_cast<unsigned>(ticksPerQuarter) / s.usPerQuarter + s.tick;
  return ticks > std::numeric_limits<std::uint64_t>::max()
             ? std::numeric_limits<std::uint64_t>::max()
             : static_cast<std::uint64_t>(ticks);
}

double MidiFile::TempoAt(std::int64_t us) const {
  switch (division) {
    case MidiTimeDivision::kSmpte24:
      return 24.0;
    case MidiTimeDivision::kSmpte25:
      return 25.0;
    case MidiTimeDivision::kSmpte30Drop:
      return 30000.0 / 1001.0;
    case MidiTimeDivision::kSmpte30:
      return 30.0;
    case MidiTimeDivision::kPpqn:
      break;
  }
  if (tempoMap.empty()) return 120.0;
  auto it = std::upper_bound(tempoMap.begin(), tempoMap.end(), us,
                             [](std::int64_t t, const TempoSegment& s) { return t < s.timeUs; });
  const TempoSegment& s = *(it == tempoMap.begin() ? it : it - 1);
  return 60000000.0 / s.usPerQuarter;
}

bool ParseMidiFile(const std::uint8_t* data, std::size_t size, MidiFile& out, std::string* error) {
  out = MidiFile{};
  if (size > kMaxMidiFileBytes) return Fail(error, "file too large");
  if (!UnwrapRmid(data, size)) return Fail(error, "RIFF MIDI file without data");
  if (size < 14 || std::memcmp(data, "MThd", 4) != 0) return Fail(error, "not a MIDI file");
  const std::uint32_t headerLength = Be32(data + 4);
  if (headerLength < 6 || headerLength > size - 8) return Fail(error, "damaged header");
  out.format = Be16(data + 8);
  out.declaredTracks = Be16(data + 10);
  const std::uint16_t division = Be16(data + 12);
  if (out.format > 1) return Fail(error, "only formats 0 and 1 are played");
  if ((division & 0x8000) != 0) {
    out.framesPerSecond = -static_cast<int>(static_cast<std::int8_t>(division >> 8));
    out.ticksPerFrame = division & 0xFF;
    switch (out.framesPerSecond) {
      case 24:
        out.division = MidiTimeDivision::kSmpte24;
        break;
      case 25:
        out.division = MidiTimeDivision::kSmpte25;
        break;
      case 29:
        out.division = MidiTimeDivision::kSmpte30Drop;
        break;
      case 30:
        out.division = MidiTimeDivision::kSmpte30;
        break;
      default:
        return Fail(error, "unknown SMPTE frame rate");
    }
    if (out.ticksPerFrame == 0) return Fail(error, "zero ticks per frame");
  } else {
    out.division = MidiTimeDivision::kPpqn;
    out.ticksPerQuarter = division;
    if (out.ticksPerQuarter == 0) return Fail(error, "zero ticks per quarter note");
  }

  std::vector<TempoEvent> tempos;
  TrackReader reader{data, out, tempos};
  std::size_t pos = 8 + static_cast<std::size_t>(headerLength);
  while (size - pos >= 8) {
    const std::uint32_t length = Be32(data + pos + 4);
    const std::size_t body = pos + 8;
    // A chunk that claims more than the file holds ends with the file.
    const std::size_t end = body + std::min<std::size_t>(length, size - body);
    if (std::memcmp(data + pos, "MTrk", 4) == 0) {
      std::size_t damagedAt = kWholeTrack;
      out.lengthTicks = std::max(out.lengthTicks, reader.Read(body, end, damagedAt));
      ++out.trackCount;
      if (damagedAt == kWholeTrack && length > end - body) damagedAt = end - body;
      if (damagedAt != kWholeTrack && out.brokenTrack == 0) {
        out.brokenTrack = out.trackCount;
        out.brokenAt = damagedAt;
      }
    }
    pos = end;
  }
  if (out.trackCount == 0) return Fail(error, "no tracks");

  // Tracks merge by time; events at the same tick keep the order of their
  // tracks and, within a track, of the file.
  std::stable_sort(out.events.begin(), out.events.end(),
                   [](const MidiEvent& a, const MidiEvent& b) { return a.tick < b.tick; });
  std::stable_sort(tempos.begin(), tempos.end(),
                   [](const TempoEvent& a, const TempoEvent& b) { return a.tick < b.tick; });

  out.tempoMap.push_back(TempoSegment{});
  if (out.division == MidiTimeDivision::kPpqn) {
    for (const TempoEvent& t : tempos) {
      TempoSegment& last = out.tempoMap.back();
      if (t.tick == last.tick) {
        last.usPerQuarter = t.usPerQuarter;
        continue;
      }
      TempoSegment next;
      next.tick = t.tick;
      next.timeUs = out.TicksToUs(t.tick);
      next.usPerQuarter = t.usPerQuarter;
      out.tempoMap.push_back(next);
    }
  }
  for (MidiEvent& e : out.events) e.timeUs = out.TicksToUs(e.tick);
  out.lengthUs = out.TicksToUs(out.lengthTicks);
  return true;
}

bool LoadMidiFile(const char* path, MidiFile& out, std::string* error) {
  out = MidiFile{};
  std::vector<std::uint8_t> bytes;
  switch (ReadFileBytes(path, bytes, kMaxMidiFileBytes)) {
    case FileRead::kMissing:
      return Fail(error, "cannot open the file");
    case FileRead::kTooLarge:
      return Fail(error, "file too large");
    case FileRead::kOk:
      break;
  }
  return ParseMidiFile(bytes.data(), bytes.size(), out, error);
}

}  // namespace platform
