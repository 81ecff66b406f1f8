#include "formats/midi_file.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "support/audio_files.h"

using audiofiles::Bytes;
using audiofiles::Midi;
using audiofiles::Track;
using platform::MidiFile;
using platform::MidiTimeDivision;

namespace {

MidiFile Parse(const Bytes& bytes) {
  MidiFile f;
  std::string error;
  EXPECT_TRUE(platform::ParseMidiFile(bytes.data(), bytes.size(), f, &error)) << error;
  return f;
}

std::string Refusal(const Bytes& bytes) {
  MidiFile f;
  std::string error;
  EXPECT_FALSE(platform::ParseMidiFile(bytes.data(), bytes.size(), f, &error));
  return error;
}

}  // namespace

TEST(MidiFile, Format0WithRunningStatus) {
  // Three notes on under one status byte, then three offs as note-ons of
  // velocity 0, again under running status, with a program change between.
  Track t;
  t.Program(0, 2, 40)
      .Ev(0, {0x92, 60, 100})
      .Ev(0, {64, 90})
      .Ev(0, {67, 80})
      .Ev(480, {0x92, 60, 0})
      .Ev(0, {64, 0})
      .Ev(0, {67, 0})
      .End();
  const MidiFile f = Parse(Midi(0, 480, {t}));
  EXPECT_EQ(f.format, 0);
  EXPECT_EQ(f.trackCount, 1);
  ASSERT_EQ(f.events.size(), 7u);
  EXPECT_EQ(f.events[0].status, 0xC2);
  EXPECT_EQ(f.events[0].data1, 40);
  const int keys[] = {60, 64, 67, 60, 64, 67};
  const int vels[] = {100, 90, 80, 0, 0, 0};
  for (int i = 0; i < 6; ++i) {
    const platform::MidiEvent& e = f.events[static_cast<std::size_t>(i + 1)];
    EXPECT_EQ(e.status, 0x92) << "event " << i + 1;
    EXPECT_EQ(e.data1, keys[i]) << "event " << i + 1;
    EXPECT_EQ(e.data2, vels[i]) << "event " << i + 1;
    EXPECT_EQ(e.tick, i < 3 ? 0u : 480u) << "event " << i + 1;
  }
  // 480 ticks at the default 120 beats a minute: half a second.
  EXPECT_EQ(f.events[4].timeUs, 500000);
  EXPECT_EQ(f.lengthUs, 500000);
}

TEST(MidiFile, TempoChangesShapeTheClock) {
  // 96 ticks a quarter; 1 s a quarter for two quarters, then 0.25 s.
  Track t;
  t.Tempo(0, 1000000)
      .NoteOn(0, 0, 60, 100)
      .Tempo(192, 250000)
      .NoteOff(0, 0, 60)
      .NoteOn(96, 0, 62, 100)
      .NoteOff(96, 0, 62)
      .End(48);
  const MidiFile f = Parse(Midi(0, 96, {t}));
  ASSERT_EQ(f.tempoMap.size(), 2u);
  EXPECT_EQ(f.tempoMap[1].tick, 192u);
  EXPECT_EQ(f.tempoMap[1].timeUs, 2000000);
  ASSERT_EQ(f.events.size(), 4u);
  EXPECT_EQ(f.events[1].timeUs, 2000000);
  EXPECT_EQ(f.events[2].timeUs, 2250000);
  EXPECT_EQ(f.events[3].timeUs, 2500000);
  EXPECT_EQ(f.lengthTicks, 432u);
  EXPECT_EQ(f.lengthUs, 2625000);
  // Milliseconds to ticks and back, on both sides of the change.
  EXPECT_EQ(f.UsToTicks(1000000), 96u);
  EXPECT_EQ(f.UsToTicks(2125000), 240u);
  EXPECT_EQ(f.TicksToUs(f.UsToTicks(2375000)), 2375000);
  EXPECT_DOUBLE_EQ(f.TempoAt(0), 60.0);
  EXPECT_DOUBLE_EQ(f.TempoAt(1999999), 60.0);
  EXPECT_DOUBLE_EQ(f.TempoAt(2000000), 240.0);
}

TEST(MidiFile, Format1MergesTracksAndSharesTheTempoTrack) {
  Track tempo;
  tempo.Tempo(0, 500000).Tempo(480, 1000000).End();
  Track a;
  a.Program(0, 0, 1).NoteOn(960, 0, 60, 100).End(480);
  Track b;
  b.Program(0, 1, 2).NoteOn(960, 1, 64, 100).End(0);
  const MidiFile f = Parse(Midi(1, 480, {tempo, a, b}));
  EXPECT_EQ(f.format, 1);
  EXPECT_EQ(f.trackCount, 3);
  ASSERT_EQ(f.events.size(), 4u);
  // Same tick: the earlier track's event first.
  EXPECT_EQ(f.events[0].status, 0xC0);
  EXPECT_EQ(f.events[1].status, 0xC1);
  EXPECT_EQ(f.events[2].status, 0x90);
  EXPECT_EQ(f.events[3].status, 0x91);
  // The tempo of the first track times the others: 0.5 s, then 1 s.
  EXPECT_EQ(f.events[2].timeUs, 1500000);
  EXPECT_EQ(f.events[3].timeUs, 1500000);
  // The longest track sets the length.
  EXPECT_EQ(f.lengthTicks, 1440u);
  EXPECT_EQ(f.lengthUs, 2500000);
}

TEST(MidiFile, SmpteDivisionIsRealTime) {
  // 25 frames of 40 ticks: one tick a millisecond. Tempo events do not count.
  Track t;
  t.Tempo(0, 250000).NoteOn(1500, 9, 38, 100).NoteOff(250, 9, 38).End();
  const MidiFile f = Parse(Midi(0, audiofiles::SmpteDivision(25, 40), {t}));
  EXPECT_EQ(f.division, MidiTimeDivision::kSmpte25);
  EXPECT_EQ(f.framesPerSecond, 25);
  EXPECT_EQ(f.ticksPerFrame, 40);
  ASSERT_EQ(f.events.size(), 2u);
  EXPECT_EQ(f.events[0].timeUs, 1500000);
  EXPECT_EQ(f.lengthUs, 1750000);
  EXPECT_EQ(f.UsToTicks(1750000), 1750u);
  EXPECT_DOUBLE_EQ(f.TempoAt(0), 25.0);

  // 30 drop-frame runs at 29.97 frames a second.
  Track d;
  d.End(30000);
  const MidiFile drop = Parse(Midi(0, audiofiles::SmpteDivision(29, 100), {d}));
  EXPECT_EQ(drop.division, MidiTimeDivision::kSmpte30Drop);
  EXPECT_EQ(drop.lengthUs, 10010000);
  EXPECT_EQ(Parse(Midi(0, audiofiles::SmpteDivision(24, 4), {d})).division,
            MidiTimeDivision::kSmpte24);
  EXPECT_EQ(Parse(Midi(0, audiofiles::SmpteDivision(30, 4), {d})).division,
            MidiTimeDivision::kSmpte30);
}

TEST(MidiFile, SysexIsKeptAndOtherMetaSkipped) {
  Track t;
  t.Ev(0, {0xFF, 0x03, 4, 'S', 'o', 'n', 'g'})            // track name
      .Ev(0, {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7})  // GM system on
      .Ev(0, {0xB0, 7, 100})                              // volume
      .Ev(10, {0xFF, 0x01, 2, 'h', 'i'})                  // text
      .Ev(0, {10, 64})                                    // pan, running status
      .Ev(0, {0xF7, 0x02, 0x01, 0x02})                    // escape: not forwarded
      .Ev(0, {0xFF, 0x7F, 3, 0x00, 0x00, 0x41})           // sequencer specific
      .Ev(5, {0xE0, 0x00, 0x40})
      .End();
  const MidiFile f = Parse(Midi(0, 96, {t}));
  ASSERT_EQ(f.events.size(), 4u);
  EXPECT_EQ(f.events[0].status, 0xF0);
  ASSERT_EQ(f.events[0].payloadLength, 4u);  // without F0 and the closing F7
  EXPECT_EQ(f.payload[f.events[0].payloadOffset], 0x7E);
  EXPECT_EQ(f.payload[f.events[0].payloadOffset + 3], 0x01);
  EXPECT_EQ(f.events[1].status, 0xB0);
  EXPECT_EQ(f.events[2].status, 0xB0);
  EXPECT_EQ(f.events[2].data1, 10);
  EXPECT_EQ(f.events[2].tick, 10u);
  EXPECT_EQ(f.events[3].status, 0xE0);
  EXPECT_EQ(f.events[3].data2, 0x40);
}

TEST(MidiFile, RiffMidiWrapperIsOpened) {
  Track t;
  t.NoteOn(0, 0, 60, 100).End(96);
  const Bytes smf = Midi(0, 96, {t});
  Bytes rmid;
  audiofiles::PutText(rmid, "RIFF");
  audiofiles::PutLe32(rmid, static_cast<std::uint32_t>(smf.size() + 12));
  audiofiles::PutText(rmid, "RMID");
  const Bytes data = audiofiles::Chunk("data", smf);
  rmid.insert(rmid.end(), data.begin(), data.end());
  const MidiFile f = Parse(rmid);
  EXPECT_EQ(f.events.size(), 1u);
  EXPECT_EQ(f.lengthUs, 500000);
}

TEST(MidiFile, RefusesWhatCannotBePlayed) {
  Track t;
  t.End();
  EXPECT_EQ(Refusal(Midi(2, 96, {t})), "only formats 0 and 1 are played");
  EXPECT_EQ(Refusal(Midi(0, 0, {t})), "zero ticks per quarter note");
  EXPECT_EQ(Refusal(Midi(0, audiofiles::SmpteDivision(26, 10), {t})), "unknown SMPTE frame rate");
  EXPECT_EQ(Refusal(Midi(0, audiofiles::SmpteDivision(25, 0), {t})), "zero ticks per frame");
  EXPECT_EQ(Refusal(Midi(0, 96, {})), "no tracks");
  EXPECT_EQ(Refusal(Bytes{'R', 'I', 'F', 'F'}), "not a MIDI file");
  Bytes shortHeader = Midi(0, 96, {t});
  shortHeader[7] = 4;  // header length 4
  EXPECT_EQ(Refusal(shortHeader), "damaged header");
  Bytes hugeHeader = Midi(0, 96, {t});
  hugeHeader[4] = 0x7F;
  EXPECT_EQ(Refusal(hugeHeader), "damaged header");
  Bytes big(platform::kMaxMidiFileBytes + 1, 0);
  EXPECT_EQ(Refusal(big), "file too large");
}

TEST(MidiFile, DamagedTracksKeepWhatCameBefore) {
  // Running status with no status before it: the track ends there.
  Track noStatus;
  noStatus.Ev(0, {60, 100}).NoteOn(0, 0, 60, 100).End();
  EXPECT_TRUE(Parse(Midi(0, 96, {noStatus})).events.empty());

  // Each kind of damage ends its track after the good events.
  const std::vector<std::vector<int>> damage = {
      {0x80, 0x80, 0x80, 0x80, 0x01, 0x90, 60, 1},  // five-byte delta
      {0x00, 0xF8},                                 // a real-time byte
      {0x00, 0xFF, 0x01, 0x7F, 'x'},                // a meta running past the track
      {0x00, 0x90, 0x80, 0x10},                     // a data byte with its top bit set
  };
  for (const std::vector<int>& bad : damage) {
    Track t;
    t.NoteOn(96, 0, 60, 100);
    Bytes body = t.Data();
    for (int x : bad) body.push_back(static_cast<std::uint8_t>(x));
    Bytes file = Midi(0, 96, {});
    file[11] = 1;
    const Bytes chunk = audiofiles::TrackChunk(body);
    file.insert(file.end(), chunk.begin(), chunk.end());
    const MidiFile f = Parse(file);
    ASSERT_EQ(f.events.size(), 1u);
    EXPECT_EQ(f.lengthTicks, 96u);
  }

  // A track chunk whose length runs past the file's end is read to the end.
  Track cut;
  cut.NoteOn(0, 0, 60, 100).NoteOff(48, 0, 60).End(48);
  Bytes file = Midi(0, 96, {cut});
  file[18 + 3] = 0xFF;
  file.resize(file.size() - 4);  // the end-of-track is lost too
  const MidiFile f = Parse(file);
  EXPECT_EQ(f.events.size(), 2u);
  EXPECT_EQ(f.lengthTicks, 48u);
}

TEST(MidiFile, AlienChunksAreSkipped) {
  Track t;
  t.NoteOn(0, 0, 60, 100).End(96);
  Bytes file = Midi(0, 96, {});
  file[11] = 1;
  const Bytes alien = audiofiles::TrackChunk(Bytes{1, 2, 3});
  Bytes renamed = alien;
  renamed[0] = 'X';
  file.insert(file.end(), renamed.begin(), renamed.end());
  const Bytes chunk = audiofiles::TrackChunk(t.Data());
  file.insert(file.end(), chunk.begin(), chunk.end());
  const MidiFile f = Parse(file);
  EXPECT_EQ(f.trackCount, 1);
  EXPECT_EQ(f.events.size(), 1u);
}

TEST(MidiFile, HostileBytesNeverBreakTheReader) {
  Track tempo;
  tempo.Tempo(0, 400000).Tempo(100, 300000).End();
  Track notes;
  notes.Program(0, 0, 5)
      .NoteOn(10, 0, 60, 100)
      .Ev(0, {62, 90})
      .Ev(0, {0xF0, 0x03, 0x41, 0x10, 0xF7})
      .Ev(20, {0xE0, 0x00, 0x50})
      .NoteOff(30, 0, 60)
      .End(5);
  const Bytes good = Midi(1, 120, {tempo, notes});
  std::mt19937 rng(1234);
  int accepted = 0;
  for (int round = 0; round < 3000; ++round) {
    Bytes b = good;
    const int flips = 1 + static_cast<int>(rng() % 6);
    for (int i = 0; i < flips; ++i) b[rng() % b.size()] = static_cast<std::uint8_t>(rng());
    if (round % 3 == 0) b.resize(rng() % b.size());
    MidiFile f;
    if (!platform::ParseMidiFile(b.data(), b.size(), f)) continue;
    ++accepted;
    std::int64_t last = 0;
    for (const platform::MidiEvent& e : f.events) {
      ASSERT_GE(e.timeUs, last);
      last = e.timeUs;
      ASSERT_LE(e.timeUs, f.lengthUs);
      ASSERT_LE(std::size_t{e.payloadOffset} + e.payloadLength, f.payload.size());
      ASSERT_LT(e.data1, 0x80);
      ASSERT_LT(e.data2, 0x80);
    }
    ASSERT_FALSE(f.tempoMap.empty());
  }
  EXPECT_GT(accepted, 100);
}
