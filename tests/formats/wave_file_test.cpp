#include "formats/wave_file.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/audio_files.h"

using audiofiles::Bytes;
using audiofiles::Chunk;
using audiofiles::FmtBody;
using audiofiles::Riff;

namespace {

WaveInfo Read(const Bytes& file) {
  WaveInfo info;
  const char* reason = "";
  EXPECT_TRUE(ParseWave(file.data(), file.size(), info, &reason)) << reason;
  return info;
}

std::string Refusal(const Bytes& file) {
  WaveInfo info;
  const char* reason = nullptr;
  EXPECT_FALSE(ParseWave(file.data(), file.size(), info, &reason));
  return reason != nullptr ? reason : "(no reason)";
}

const Bytes kSamples = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

}  // namespace

TEST(WaveFile, ThePlain44ByteLayout) {
  const Bytes file = audiofiles::Wav44(1, 22050, 8, kSamples);
  ASSERT_EQ(file.size(), 44u + kSamples.size());
  const WaveInfo info = Read(file);
  EXPECT_EQ(info.format.channels, 1);
  EXPECT_EQ(info.format.samplesPerSecond, 22050);
  EXPECT_EQ(info.format.blockAlign, 1);
  EXPECT_EQ(info.format.bitsPerSample, 8);
  EXPECT_EQ(info.dataOffset, 44u);
  EXPECT_EQ(info.dataSize, kSamples.size());
}

TEST(WaveFile, ChunksAreFoundWhereverTheyStand) {
  Bytes list;
  audiofiles::PutText(list, "INFOISFT");
  audiofiles::PutLe32(list, 5);
  audiofiles::PutText(list, "tool");
  list.push_back(0);  // odd length: the chunk is padded
  const Bytes fmt = Chunk("fmt ", FmtBody(1, 2, 44100, 16));
  const Bytes fact = Chunk("fact", Bytes{0x10, 0, 0, 0});
  const Bytes data = Chunk("data", kSamples);

  // LIST before everything, fact between: what other editors write.
  WaveInfo info = Read(Riff({Chunk("LIST", list), fmt, fact, data}));
  EXPECT_EQ(info.format.channels, 2);
  EXPECT_EQ(info.format.bitsPerSample, 16);
  EXPECT_EQ(info.dataSize, 8u) << "whole frames only";
  EXPECT_EQ(info.dataOffset, 12u + 8 + list.size() + 1 + fmt.size() + fact.size() + 8);

  // Data before the format.
  info = Read(Riff({data, Chunk("LIST", list), fmt}));
  EXPECT_EQ(info.format.samplesPerSecond, 44100);
  EXPECT_EQ(info.dataOffset, 20u);

  // A longer format chunk (with the extension size field).
  Bytes longFmt = FmtBody(1, 1, 11025, 16);
  audiofiles::PutLe16(longFmt, 0);
  info = Read(Riff({Chunk("fmt ", longFmt), data}));
  EXPECT_EQ(info.format.samplesPerSecond, 11025);
  EXPECT_EQ(info.dataSize, 10u);
}

TEST(WaveFile, ADataSizeLargerThanTheFileIsClamped) {
  Bytes file = audiofiles::Wav44(1, 22050, 8, kSamples);
  file[40] = 0x00;  // 0x7FFFF000, a placeholder some writers leave
  file[41] = 0xF0;
  file[42] = 0xFF;
  file[43] = 0x7F;
  const WaveInfo info = Read(file);
  EXPECT_EQ(info.dataSize, kSamples.size());

  // The same with an odd tail on 16-bit stereo: whole frames only.
  Bytes stereo = audiofiles::Wav44(2, 22050, 16, kSamples);
  stereo[42] = 0x10;
  EXPECT_EQ(Read(stereo).dataSize, 8u);
}

TEST(WaveFile, ExtensibleFormatWithPcmInsideIsPcm) {
  Bytes ext = FmtBody(0xFFFE, 2, 48000, 16);
  audiofiles::PutLe16(ext, 22);  // extension size
  audiofiles::PutLe16(ext, 16);  // valid bits
  audiofiles::PutLe32(ext, 3);   // channel mask
  const Bytes guid = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                      0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
  ext.insert(ext.end(), guid.begin(), guid.end());
  EXPECT_EQ(Read(Riff({Chunk("fmt ", ext), Chunk("data", kSamples)})).format.samplesPerSecond,
            48000);
  Bytes floatExt = ext;
  floatExt[24] = 0x03;  // IEEE float inside
  EXPECT_EQ(Refusal(Riff({Chunk("fmt ", floatExt), Chunk("data", kSamples)})), "not PCM");
}

TEST(WaveFile, RefusesWhatIsNotPlainPcm) {
  const Bytes data = Chunk("data", kSamples);
  EXPECT_EQ(Refusal(Riff({Chunk("fmt ", FmtBody(2, 1, 22050, 4)), data})), "not PCM");   // ADPCM
  EXPECT_EQ(Refusal(Riff({Chunk("fmt ", FmtBody(3, 1, 22050, 32)), data})), "not PCM");  // float
  EXPECT_EQ(Refusal(Riff({Chunk("fmt ", FmtBody(1, 6, 22050, 16)), data})), "not mono or stereo");
  EXPECT_EQ(Refusal(Riff({Chunk("fmt ", FmtBody(1, 1, 22050, 24)), data})), "not 8 or 16 bits");
  EXPECT_EQ(Refusal(Riff({Chunk("fmt ", FmtBody(1, 2, 22050, 16, 2)), data})), "wrong block align");
  EXPECT_EQ(Refusal(Riff({Chunk("fmt ", FmtBody(1, 1, 0, 8)), data})), "unsupported sample rate");
  EXPECT_EQ(Refusal(Riff({Chunk("fmt ", FmtBody(1, 1, 22050, 8))})), "no data chunk");
  EXPECT_EQ(Refusal(Riff({data})), "no format chunk");
  EXPECT_EQ(Refusal(Riff({Chunk("fmt ", FmtBody(1, 1, 22050, 8)), Chunk("data", {})})),
            "no samples");
  EXPECT_EQ(Refusal(Riff({Chunk("fmt ", Bytes(14, 0)), data})), "damaged format chunk");
  Bytes notWave = audiofiles::Wav44(1, 22050, 8, kSamples);
  notWave[8] = 'A';
  EXPECT_EQ(Refusal(notWave), "not a RIFF WAVE file");
  EXPECT_EQ(Refusal(Bytes{'R', 'I', 'F', 'F'}), "not a RIFF WAVE file");
}

TEST(WaveFile, HostileBytesNeverBreakTheReader) {
  Bytes list;
  audiofiles::PutText(list, "INFO");
  const Bytes good = Riff(
      {Chunk("LIST", list), Chunk("fmt ", FmtBody(1, 2, 22050, 16)), Chunk("data", Bytes(64, 7))});
  std::mt19937 rng(99);
  for (int round = 0; round < 5000; ++round) {
    Bytes b = good;
    for (int i = 0; i < 1 + static_cast<int>(rng() % 4); ++i) {
      b[rng() % b.size()] = static_cast<std::uint8_t>(rng());
    }
    if (round % 4 == 0) b.resize(rng() % b.size());
    WaveInfo info;
    const char* reason = nullptr;
    if (ParseWave(b.data(), b.size(), info, &reason)) {
      ASSERT_LE(info.dataOffset + info.dataSize, b.size());
      ASSERT_GT(info.dataSize, 0u);
      ASSERT_EQ(info.dataSize % static_cast<std::size_t>(info.format.blockAlign), 0u);
    } else {
      ASSERT_NE(reason, nullptr);
    }
  }
}
