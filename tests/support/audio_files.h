// Small WAV and MIDI files written by the tests themselves, byte by byte, so
// that every field (and every fault) is under the test's control.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace audiofiles {

using Bytes = std::vector<std::uint8_t>;

inline void PutLe16(Bytes& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void PutLe32(Bytes& b, std::uint32_t v) {
  PutLe16(b, v & 0xFFFF);
  PutLe16(b, v >> 16);
}
inline void PutBe16(Bytes& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>(v >> 8));
  b.push_back(static_cast<std::uint8_t>(v));
}
inline void PutBe32(Bytes& b, std::uint32_t v) {
  PutBe16(b, v >> 16);
  PutBe16(b, v & 0xFFFF);
}
inline void PutText(Bytes& b, const char* text) {
  for (const char* p = text; *p != 0; ++p) b.push_back(static_cast<std::uint8_t>(*p));
}

// ---- WAV ------------------------------------------------------------------

inline Bytes Chunk(const char* id, const Bytes& body, bool pad = true) {
  Bytes b;
  PutText(b, id);
  PutLe32(b, static_cast<std::uint32_t>(body.size()));
  b.insert(b.end(), body.begin(), body.end());
  if (pad && (body.size() & 1) != 0) b.push_back(0);
  return b;
}

inline Bytes FmtBody(int tag, int channels, int rate, int bits, int blockAlign = -1) {
  if (blockAlign < 0) blockAlign = channels * bits / 8;
  Bytes b;
  PutLe16(b, static_cast<std::uint32_t>(tag));
  PutLe16(b, static_cast<std::uint32_t>(channels));
  PutLe32(b, static_cast<std::uint32_t>(rate));
  PutLe32(b, static_cast<std::uint32_t>(rate * blockAlign));
  PutLe16(b, static_cast<std::uint32_t>(blockAlign));
  PutLe16(b, static_cast<std::uint32_t>(bits));
  return b;
}

// A RIFF WAVE file from chunks in the given order.
inline Bytes Riff(std::initializer_list<Bytes> chunks) {
  Bytes body;
  PutText(body, "WAVE");
  for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
  Bytes b;
  PutText(b, "RIFF");
  PutLe32(b, static_cast<std::uint32_t>(body.size()));
  b.insert(b.end(), body.begin(), body.end());
  return b;
}

// The plain 44-byte layout the game's own files use.
inline Bytes Wav44(int channels, int rate, int bits, const Bytes& samples) {
  return Riff({Chunk("fmt ", FmtBody(1, channels, rate, bits)), Chunk("data", samples, false)});
}

// 16-bit samples as little-endian bytes.
inline Bytes Pcm16(const std::vector<std::int16_t>& samples) {
  Bytes b;
  for (std::int16_t s : samples) PutLe16(b, static_cast<std::uint16_t>(s));
  return b;
}

// ---- MIDI -----------------------------------------------------------------

inline void PutVlq(Bytes& b, std::uint32_t v) {
  std::uint8_t tmp[5];
  int n = 0;
  tmp[n++] = v & 0x7F;
  while ((v >>= 7) != 0) tmp[n++] = static_cast<std::uint8_t>(0x80 | (v & 0x7F));
  while (n > 0) b.push_back(tmp[--n]);
}

// A track body built event by event; End() appends the end-of-track event.
class Track {
 public:
  // Any event: delta time, then its bytes as they go in the file (so a
  // running-status event is given without its status byte).
  Track& Ev(std::uint32_t delta, std::initializer_list<int> bytes) {
    PutVlq(data_, delta);
    for (int x : bytes) data_.push_back(static_cast<std::uint8_t>(x));
    return *this;
  }
  Track& Tempo(std::uint32_t delta, std::uint32_t usPerQuarter) {
    return Ev(delta, {0xFF, 0x51, 0x03, static_cast<int>((usPerQuarter >> 16) & 0xFF),
                      static_cast<int>((usPerQuarter >> 8) & 0xFF),
                      static_cast<int>(usPerQuarter & 0xFF)});
  }
  Track& NoteOn(std::uint32_t delta, int ch, int key, int vel) {
    return Ev(delta, {0x90 | ch, key, vel});
  }
  Track& NoteOff(std::uint32_t delta, int ch, int key) { return Ev(delta, {0x80 | ch, key, 64}); }
  Track& Program(std::uint32_t delta, int ch, int program) {
    return Ev(delta, {0xC0 | ch, program});
  }
  Track& End(std::uint32_t delta = 0) { return Ev(delta, {0xFF, 0x2F, 0x00}); }
  const Bytes& Data() const { return data_; }

 private:
  Bytes data_;
};

inline Bytes TrackChunk(const Bytes& body) {
  Bytes b;
  PutText(b, "MTrk");
  PutBe32(b, static_cast<std::uint32_t>(body.size()));
  b.insert(b.end(), body.begin(), body.end());
  return b;
}

// A standard MIDI file. `division` is the raw header word: ticks per
// quarter note, or (0x100 * -fps) | ticksPerFrame with the top bit set.
inline Bytes Midi(int format, std::uint16_t division, std::initializer_list<Track> tracks) {
  Bytes b;
  PutText(b, "MThd");
  PutBe32(b, 6);
  PutBe16(b, static_cast<std::uint32_t>(format));
  PutBe16(b, static_cast<std::uint32_t>(tracks.size()));
  PutBe16(b, division);
  for (const Track& t : tracks) {
    const Bytes c = TrackChunk(t.Data());
    b.insert(b.end(), c.begin(), c.end());
  }
  return b;
}

inline std::uint16_t SmpteDivision(int fps, int ticksPerFrame) {
  return static_cast<std::uint16_t>(((256 - fps) << 8) | ticksPerFrame);
}

}  // namespace audiofiles
