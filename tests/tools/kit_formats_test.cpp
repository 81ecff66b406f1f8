// The format readers on good, odd and broken files, and the unpack/pack
// round trips.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "common/png_io.h"
#include "formats/bmp_file.h"
#include "formats/wave_file.h"
#include "kit/check.h"
#include "kit/formats.h"
#include "kit/info.h"
#include "kit/pack.h"
#include "kit_test_support.h"
#include "support/test_data.h"

namespace {

namespace fs = std::filesystem;
using kit::Bytes;

// The smallest map the game takes, with every oddity the format allows:
// bytes after the tag's zero, unused header bytes set, negative cells
// (INT_MIN too, in row 1, column 0) and bytes after the last tile.
kit::MapFile OddMap() {
  kit::MapFile m;
  kit::SetMapTag(m);
  m.tag[12] = 0xAB;
  m.tag[15] = 0x7F;
  m.tileCount = 3;
  m.tileWidth = 4;
  m.tileHeight = 2;
  m.cols = 16;
  m.rows = 12;
  for (int i = 0; i < 16; ++i) m.unused[i] = static_cast<std::uint8_t>(i * 17 + 1);
  m.cells.assign(16 * 12, 0);
  for (int i : {0, 1, 2}) m.cells[i] = i == 1 ? -1 : i;
  m.cells[16] = INT_MIN;
  m.cells[17] = -2;
  m.cells[18] = 1;
  for (int i = 0; i < 3 * 4 * 2 * 3; ++i) m.tiles.push_back(static_cast<std::uint8_t>(i * 7));
  m.trailing = {1, 2, 3};
  return m;
}

kit::SpriteFile OddSprites() {
  kit::SpriteFile s;
  kit::SetSpriteTag(s);
  s.tag[14] = 0x55;
  s.version = 3;
  s.unused = {9, 8, 7, 6, 5, 4, 3, 2};
  s.frames.push_back({2, 2, Bytes(12, 0x40)});
  s.frames.push_back({0, 5, {}});  // empty, but it exists
  s.frames.push_back({3, 1, Bytes{0, 0, 0, 10, 20, 30, 255, 255, 255}});
  s.trailing = {0xEE};
  return s;
}

TEST(MapFormat, SerializeAndParseKeepEveryByte) {
  const Bytes bytes = kit::SerializeMap(OddMap());
  ASSERT_EQ(bytes.size(), 52u + 4 * 192 + 72 + 3);
  kit::MapFile back;
  std::string error;
  ASSERT_TRUE(kit::ReadWholeMap(bytes, back, &error)) << error;
  EXPECT_EQ(back.cells, OddMap().cells);
  EXPECT_EQ(back.trailing, (Bytes{1, 2, 3}));
  EXPECT_EQ(kit::SerializeMap(back), bytes);
}

TEST(MapFormat, RefusesBrokenFilesWithAReason) {
  const Bytes good = kit::SerializeMap(OddMap());
  // Every cut inside the promised data is refused for unpacking, never read
  // past.
  const std::size_t promised = good.size() - 3;
  for (std::size_t n = 0; n < promised; ++n) {
    kit::MapFile m;
    std::string error;
    EXPECT_FALSE(kit::ReadWholeMap(Bytes(good.begin(), good.begin() + n), m, &error)) << n;
    EXPECT_FALSE(error.empty());
  }
  std::string error;
  kit::MapFile m;
  Bytes wrongTag = good;
  wrongTag[0] = 'r';
  EXPECT_FALSE(kit::ReadMap(wrongTag, m, &error));
  EXPECT_NE(error.find("not a map file"), std::string::npos) << error;
  // A header promising gigabytes fails on the size check, not on memory.
  kit::MapFile huge = OddMap();
  huge.tileCount = 65536;
  huge.tileWidth = huge.tileHeight = 256;
  huge.tiles.clear();
  EXPECT_FALSE(kit::ReadWholeMap(kit::SerializeMap(huge), m, &error));
  EXPECT_NE(error.find("promises"), std::string::npos) << error;
  huge.tileCount = -5;
  EXPECT_FALSE(kit::ReadMap(kit::SerializeMap(huge), m, &error));
  EXPECT_NE(error.find("tile count -5"), std::string::npos) << error;
}

TEST(SpriteFormat, SerializeAndParseKeepEveryByte) {
  const Bytes bytes = kit::SerializeSprites(OddSprites());
  kit::SpriteFile back;
  std::string error;
  ASSERT_TRUE(kit::ReadWholeSprites(bytes, back, &error)) << error;
  ASSERT_EQ(back.frames.size(), 3u);
  EXPECT_EQ(back.frames[1].width, 0);
  EXPECT_EQ(back.frames[1].height, 5);
  EXPECT_EQ(back.version, 3);
  EXPECT_EQ(kit::SerializeSprites(back), bytes);
}

TEST(SpriteFormat, RefusesBrokenFilesWithAReason) {
  const Bytes good = kit::SerializeSprites(OddSprites());
  for (std::size_t n = 0; n + 1 < good.size(); ++n) {
    kit::SpriteFile s;
    std::string error;
    // Every cut before the last frame's end fails.
    const bool ok = kit::ReadWholeSprites(Bytes(good.begin(), good.begin() + n), s, &error);
    EXPECT_FALSE(ok) << n;
  }
  kit::SpriteFile s;
  std::string error;
  Bytes manyFrames = good;
  manyFrames[20] = 0xFF;
  manyFrames[21] = 0xFF;  // 65535 frames in a file of a few bytes
  EXPECT_FALSE(kit::ReadSprites(manyFrames, s, &error));
  EXPECT_NE(error.find("cannot hold"), std::string::npos) << error;
  Bytes version0 = good;
  version0[16] = 0;
  EXPECT_FALSE(kit::ReadSprites(version0, s, &error));
  EXPECT_NE(error.find("version 0"), std::string::npos) << error;
  Bytes bigFrame = good;
  bigFrame[32] = 0x81;  // width 641
  bigFrame[33] = 0x02;
  EXPECT_FALSE(kit::ReadSprites(bigFrame, s, &error));
  EXPECT_NE(error.find("641 x 2"), std::string::npos) << error;
}

// Deterministic byte flips over every generated file: no reader may crash
// or read out of range (the sanitizer build watches).
TEST(Formats, SurviveCorruptedFiles) {
  std::uint64_t state = 0x243F6A8885A308D3ull;
  auto next = [&state] {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  };
  for (const char* name : {"city.map", "WEAPON.SPR", "Title.bmp", "zombi.wav", "Ending.mid"}) {
    const Bytes original = kittest::Read(kittest::GeneratedFolder() / name);
    for (int round = 0; round < 60; ++round) {
      Bytes b = original;
      // Flip a few bytes, mostly in the headers where lengths live.
      for (int k = 0; k < 4; ++k) {
        const std::size_t limit = (next() % 2) ? std::min<std::size_t>(b.size(), 200) : b.size();
        b[next() % limit] = static_cast<std::uint8_t>(next());
      }
      if (round % 3 == 0) b.resize(next() % b.size());
      std::string error;
      kit::MapFile m;
      kit::SpriteFile s;
      platform::Image image;
      WaveInfo wave;
      const char* reason = nullptr;
      platform::MidiFile midi;
      kit::ReadMap(b, m, &error);
      kit::ReadSprites(b, s, &error);
      platform::DecodeBmp(b.data(), b.size(), image, &error);
      ParseWave(b.data(), b.size(), wave, &reason);
      if (platform::ParseMidiFile(b.data(), b.size(), midi, &error)) kit::CountMidi(midi);
    }
  }
}

// A tune cut anywhere past its header still plays, as far as it goes; the
// kit says where it breaks off.
TEST(MidiFormat, CutTunesPlayAndTheKitSaysWhereTheyBreak) {
  const Bytes good = kittest::Read(kittest::GeneratedFolder() / "Ending.mid");
  platform::MidiFile midi;
  std::string error;
  ASSERT_TRUE(platform::ParseMidiFile(good.data(), good.size(), midi, &error)) << error;
  EXPECT_EQ(midi.format, 1);
  EXPECT_EQ(midi.brokenTrack, 0);
  const fs::path dir = testdata::MakeTempDir("vedo-midi-cut");
  for (std::size_t n = 30; n < good.size(); n += 7) {
    kittest::Write(dir / "Ending.mid", Bytes(good.begin(), good.begin() + n));
    std::vector<std::string> problems;
    EXPECT_TRUE(kit::CheckFile(kit::FileKind::kMusic, (dir / "Ending.mid").string(), problems));
    EXPECT_TRUE(kittest::AnyContains(problems, "breaks off") ||
                kittest::AnyContains(problems, "tracks but the file holds"))
        << n;
  }
}

TEST(MidiFormat, CountsNotesThatNeverStop) {
  // One track: note 60 on, note 60 off by a zero velocity, note 64 on and
  // left sounding, at 96 pulses a quarter and the default tempo.
  // clang-format off
  const Bytes tune = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,
                      'M', 'T', 'r', 'k', 0, 0, 0, 15,
                      0, 0x90, 60, 100,
                      96, 60, 0,  // running status, velocity 0: off
                      0, 0x90, 64, 90,
                      96, 0xFF, 0x2F, 0};
  // clang-format on
  platform::MidiFile midi;
  ASSERT_TRUE(platform::ParseMidiFile(tune.data(), tune.size(), midi));
  const kit::MidiFigures figures = kit::CountMidi(midi);
  EXPECT_EQ(figures.noteOns, 2);
  EXPECT_EQ(figures.hangingNotes, 1);
  EXPECT_EQ(midi.lengthTicks, 192u);
  EXPECT_EQ(midi.lengthUs, 1000000);  // two quarters at 120 a minute
}

// The kit takes every sound the game plays, whatever its chunks; what the
// game plays but other programs may not is said as such.
TEST(WavFormat, TakesWhatTheGamePlaysAndSaysWhatOthersMayNot) {
  const Bytes wav = kit::MakeWav16Mono(22050, std::vector<std::int16_t>(100, 5));
  const fs::path dir = testdata::MakeTempDir("vedo-wav");
  auto check = [&dir](const Bytes& bytes, std::vector<std::string>& problems) {
    kittest::Write(dir / "s.wav", bytes);
    problems.clear();
    return kit::CheckFile(kit::FileKind::kSound, (dir / "s.wav").string(), problems);
  };
  std::vector<std::string> problems;
  // A LIST chunk before the data chunk, as many editors write.
  Bytes withList(wav.begin(), wav.begin() + 36);
  const Bytes list = {'L', 'I', 'S', 'T', 4, 0, 0, 0, 'I', 'N', 'F', 'O'};
  withList.insert(withList.end(), list.begin(), list.end());
  withList.insert(withList.end(), wav.begin() + 36, wav.end());
  EXPECT_TRUE(check(withList, problems));
  EXPECT_TRUE(problems.empty()) << problems.front();
  Bytes tooLong = wav;
  tooLong[41] = 0x10;  // data size beyond the file
  EXPECT_TRUE(check(tooLong, problems));
  EXPECT_TRUE(kittest::AnyContains(problems, "the game plays what is there, but other programs"));
  EXPECT_FALSE(check(Bytes(wav.begin(), wav.begin() + 43), problems));
  EXPECT_TRUE(kittest::AnyContains(problems, "the game does not play it: no data chunk"));
}

TEST(BmpFormat, ChecksThatThePixelsAreThere) {
  const Bytes bmp = kit::MakeBmp24(3, 2, Bytes(18, 0x80));
  platform::BmpHeader info;
  std::string error;
  ASSERT_TRUE(platform::ParseBmpHeader(bmp.data(), bmp.size(), info, &error)) << error;
  EXPECT_EQ(info.width, 3);
  EXPECT_EQ(info.height, 2);
  EXPECT_EQ(bmp.size(), 54u + 2 * 12);  // rows padded to 4 bytes
  EXPECT_FALSE(platform::ParseBmpHeader(bmp.data(), bmp.size() - 1, info, &error));
  EXPECT_NE(error.find("pixel rows need"), std::string::npos) << error;
  Bytes huge = bmp;
  huge[18] = 0xFF;
  huge[19] = 0xFF;
  huge[20] = 0xFF;
  huge[21] = 0x7F;
  EXPECT_FALSE(platform::ParseBmpHeader(huge.data(), huge.size(), info, &error));
}

TEST(Info, DescribesEachKindOrSaysWhatIsWrong) {
  const fs::path& data = kittest::GeneratedFolder();
  struct Case {
    const char* file;
    const char* expect;
  } cases[] = {{"city.map", "25 columns x 21 rows"},
               {"WEAPON.SPR", "frame 51:"},
               {"Title.bmp", "640 x 480 pixels"},
               {"kero.wav", "PCM, 1 channel, 16 bits, 22050 Hz"},
               {"Ending.mid", "pulses per quarter note"}};
  for (const Case& c : cases) {
    std::string text, error;
    ASSERT_TRUE(kit::DescribeFile((data / c.file).string(), text, &error)) << error;
    EXPECT_NE(text.find(c.expect), std::string::npos) << c.file << ":\n" << text;
  }
  const fs::path dir = testdata::MakeTempDir("vedo-info");
  kittest::Write(dir / "junk.bin", Bytes{1, 2, 3, 4});
  std::string text, error;
  EXPECT_FALSE(kit::DescribeFile((dir / "junk.bin").string(), text, &error));
  EXPECT_NE(error.find("not a map, sprite, BMP, WAV or MIDI file"), std::string::npos) << error;
  kittest::Write(dir / "short.map", Bytes{'R', 'e', 'v'});
  EXPECT_FALSE(kit::DescribeFile((dir / "short.map").string(), text, &error));
  EXPECT_NE(error.find("shorter than the 52-byte map header"), std::string::npos) << error;
}

TEST(Pack, GeneratedFilesComeBackIdentical) {
  const fs::path dir = testdata::MakeTempDir("vedo-pack");
  const fs::path& data = kittest::GeneratedFolder();
  std::string error;
  ASSERT_TRUE(kit::UnpackMap((data / "city.map").string(), (dir / "map").string(), false, &error))
      << error;
  ASSERT_TRUE(kit::PackMap((dir / "map").string(), (dir / "city.map").string(), &error)) << error;
  EXPECT_EQ(kittest::Read(dir / "city.map"), kittest::Read(data / "city.map"));
  ASSERT_TRUE(
      kit::UnpackSprites((data / "WEAPON.SPR").string(), (dir / "spr").string(), false, &error))
      << error;
  ASSERT_TRUE(kit::PackSprites((dir / "spr").string(), (dir / "WEAPON.SPR").string(), &error))
      << error;
  EXPECT_EQ(kittest::Read(dir / "WEAPON.SPR"), kittest::Read(data / "WEAPON.SPR"));
}

// The odd map without the cell that names no tile, which packing refuses.
kit::MapFile PackableOddMap() {
  kit::MapFile m = OddMap();
  m.cells[16] = -2;
  return m;
}

TEST(Pack, OddFilesComeBackIdenticalThroughTheCommandLine) {
  const fs::path dir = testdata::MakeTempDir("vedo-pack-odd");
  const Bytes map = kit::SerializeMap(PackableOddMap());
  const Bytes spr = kit::SerializeSprites(OddSprites());
  kittest::Write(dir / "odd.map", map);
  kittest::Write(dir / "odd.spr", spr);
  const std::string d = "'" + dir.string() + "/";
  std::string out;
  ASSERT_EQ(kittest::RunTool("kit", "unpack-map " + d + "odd.map' " + d + "m'", &out), 0) << out;
  ASSERT_EQ(kittest::RunTool("kit", "pack-map " + d + "m' " + d + "back.map'", &out), 0) << out;
  EXPECT_EQ(kittest::Read(dir / "back.map"), map);
  ASSERT_EQ(kittest::RunTool("kit", "unpack-spr " + d + "odd.spr' " + d + "s'", &out), 0) << out;
  EXPECT_FALSE(fs::exists(dir / "s" / "frames" / "frame_001.png"));  // the empty frame
  ASSERT_EQ(kittest::RunTool("kit", "pack-spr " + d + "s' " + d + "back.spr'", &out), 0) << out;
  EXPECT_EQ(kittest::Read(dir / "back.spr"), spr);
}

TEST(Pack, EditedPicturesGoIntoTheFileAndBadOnesAreNamed) {
  const fs::path dir = testdata::MakeTempDir("vedo-pack-edit");
  kittest::Write(dir / "odd.map", kit::SerializeMap(PackableOddMap()));
  std::string error;
  ASSERT_TRUE(kit::UnpackMap((dir / "odd.map").string(), (dir / "m").string(), false, &error))
      << error;
  // Paint tile 1 pure green: the packed file carries it as B, G, R.
  pngio::RgbImage green{4, 2, std::vector<std::uint8_t>(24, 0)};
  for (int i = 0; i < 8; ++i) green.rgb[3 * i + 1] = 200;
  ASSERT_TRUE(pngio::WritePng((dir / "m" / "tiles" / "tile_0001.png").string(), green));
  ASSERT_TRUE(kit::PackMap((dir / "m").string(), (dir / "new.map").string(), &error)) << error;
  kit::MapFile packed;
  ASSERT_TRUE(kit::ReadWholeMap(kittest::Read(dir / "new.map"), packed, &error));
  EXPECT_EQ(packed.tiles[24 + 0], 0);
  EXPECT_EQ(packed.tiles[24 + 1], 200);
  EXPECT_EQ(packed.tiles[24 + 2], 0);

  pngio::RgbImage wrong{5, 2, std::vector<std::uint8_t>(30, 1)};
  ASSERT_TRUE(pngio::WritePng((dir / "m" / "tiles" / "tile_0002.png").string(), wrong));
  EXPECT_FALSE(kit::PackMap((dir / "m").string(), (dir / "bad.map").string(), &error));
  EXPECT_NE(error.find("tile_0002.png: 5 x 2 pixels"), std::string::npos) << error;
  // A PNG whose header claims a vast picture is refused before decoding.
  Bytes fake = kittest::Read(dir / "m" / "tiles" / "tile_0000.png");
  fake[16] = 0x00;
  fake[17] = 0x01;  // width 65536 + ...
  kittest::Write(dir / "m" / "tiles" / "tile_0002.png", fake);
  EXPECT_FALSE(kit::PackMap((dir / "m").string(), (dir / "bad.map").string(), &error));
  EXPECT_NE(error.find("tile_0002.png"), std::string::npos) << error;
  // Found by fuzzing: a 2 x 2 picture whose text chunk claims 671 MB (after
  // the fuzz target's selector byte).
  fake =
      kittest::Read(fs::path(VEDO_SOURCE_DIR) / "fuzz/regressions/kit/png-text-chunk-claims-671mb");
  kittest::Write(dir / "m" / "tiles" / "tile_0002.png", Bytes(fake.begin() + 1, fake.end()));
  EXPECT_FALSE(kit::PackMap((dir / "m").string(), (dir / "bad.map").string(), &error));
  EXPECT_NE(error.find("tile_0002.png is a broken PNG file"), std::string::npos) << error;

  // A description promising far more and larger tiles than there are
  // pictures fails on the first picture, claiming no memory for the rest.
  const Bytes description = kittest::Read(dir / "m" / "map.txt");
  std::string text(description.begin(), description.end());
  text.replace(text.find("tiles 3"), 7, "tiles 65536");
  text.replace(text.find("tile-size 4 2"), 13, "tile-size 256 256");
  kittest::Write(dir / "m" / "map.txt", Bytes(text.begin(), text.end()));
  EXPECT_FALSE(kit::PackMap((dir / "m").string(), (dir / "bad.map").string(), &error));
  EXPECT_NE(error.find("tile_0000.png: 4 x 2 pixels; tiles are 256 x 256"), std::string::npos)
      << error;
  kittest::Write(dir / "m" / "map.txt", description);

  kittest::Write(dir / "m" / "ground.csv",
                 Bytes{'0', ',', '1', '\n', '1', ',', '2', ',', '0', '\n'});
  EXPECT_FALSE(kit::PackMap((dir / "m").string(), (dir / "bad.map").string(), &error));
  EXPECT_NE(error.find("ground.csv: line 1: 2 numbers; map.txt gives 16 columns"),
            std::string::npos)
      << error;
}

// What the game could not use is refused with the file and the place; an
// earlier unpacking is kept unless --force is given.
TEST(Pack, RefusalsNameTheFileAndThePlace) {
  const fs::path dir = testdata::MakeTempDir("vedo-pack-refuse");
  kittest::Write(dir / "odd.map", kit::SerializeMap(OddMap()));
  kittest::Write(dir / "odd.spr", kit::SerializeSprites(OddSprites()));
  const std::string d = "'" + dir.string() + "/";
  std::string out, error;
  ASSERT_EQ(kittest::RunTool("kit", "unpack-map " + d + "odd.map' " + d + "m'", &out), 0) << out;
  ASSERT_EQ(kittest::RunTool("kit", "unpack-spr " + d + "odd.spr' " + d + "s'", &out), 0) << out;
  pngio::RgbImage edited{4, 2, std::vector<std::uint8_t>(24, 90)};
  ASSERT_TRUE(pngio::WritePng((dir / "m" / "tiles" / "tile_0001.png").string(), edited));
  EXPECT_EQ(kittest::RunTool("kit", "unpack-map " + d + "odd.map' " + d + "m'", &out), 1);
  EXPECT_NE(out.find("map.txt already exists"), std::string::npos) << out;
  EXPECT_EQ(kittest::RunTool("kit", "unpack-spr " + d + "odd.spr' " + d + "s'", &out), 1);
  EXPECT_NE(out.find("sprites.txt already exists"), std::string::npos) << out;
  pngio::RgbImage kept;
  ASSERT_TRUE(pngio::ReadPng((dir / "m" / "tiles" / "tile_0001.png").string(), kept));
  EXPECT_EQ(kept.rgb, edited.rgb);

  // The map's INT_MIN cell names no tile.
  EXPECT_FALSE(kit::PackMap((dir / "m").string(), (dir / "bad.map").string(), &error));
  EXPECT_NE(error.find("ground.csv: line 2, field 1 (map row 1, column 0): tile -2147483648 does "
                       "not exist; the tiles are numbered 0 to 2"),
            std::string::npos)
      << error;
  ASSERT_EQ(kittest::RunTool("kit", "unpack-map --force " + d + "odd.map' " + d + "m'", &out), 0)
      << out;
  std::string csv;
  for (int r = 0; r < 12; ++r) {
    for (int c = 0; c < 16; ++c) csv += (c ? "," : "") + std::string(r == 1 && c == 1 ? "3" : "0");
    csv += "\n";
  }
  kittest::Write(dir / "m" / "ground.csv", Bytes(csv.begin(), csv.end()));
  EXPECT_FALSE(kit::PackMap((dir / "m").string(), (dir / "bad.map").string(), &error));
  EXPECT_NE(error.find("line 2, field 2 (map row 1, column 1): tile 3 does not exist"),
            std::string::npos)
      << error;

  // A fully transparent pixel packs as black, the clear colour; a partly
  // transparent one is refused with its place.
  pngio::RgbImage frame{2, 2, std::vector<std::uint8_t>(12, 200)};
  std::vector<std::uint8_t> alpha = {255, 0, 255, 255};
  ASSERT_TRUE(
      pngio::WritePngWithAlpha((dir / "s" / "frames" / "frame_000.png").string(), frame, alpha));
  ASSERT_TRUE(kit::PackSprites((dir / "s").string(), (dir / "clear.spr").string(), &error))
      << error;
  kit::SpriteFile packed;
  ASSERT_TRUE(kit::ReadWholeSprites(kittest::Read(dir / "clear.spr"), packed, &error));
  EXPECT_EQ(packed.frames[0].bgr, (Bytes{200, 200, 200, 0, 0, 0, 200, 200, 200, 200, 200, 200}));
  alpha[3] = 128;
  ASSERT_TRUE(
      pngio::WritePngWithAlpha((dir / "s" / "frames" / "frame_000.png").string(), frame, alpha));
  EXPECT_FALSE(kit::PackSprites((dir / "s").string(), (dir / "bad.spr").string(), &error));
  EXPECT_NE(error.find("frame_000.png: pixel (1, 1) is partly transparent (alpha 128)"),
            std::string::npos)
      << error;

  // A frame too wide for where the game draws it, in the words of check.
  pngio::RgbImage wide{300, 1, std::vector<std::uint8_t>(900, 50)};
  ASSERT_TRUE(pngio::WritePng((dir / "s" / "frames" / "frame_000.png").string(), wide));
  ASSERT_TRUE(pngio::WritePng((dir / "s" / "frames" / "frame_002.png").string(), wide));
  EXPECT_FALSE(kit::PackSprites((dir / "s").string(), (dir / "bad.spr").string(), &error));
  EXPECT_NE(error.find("frame_002.png: frame 2 (handgun icon) is 300 x 1 and does not fit at (368, "
                       "392): it would reach x 668, past the screen's 640"),
            std::string::npos)
      << error;
  EXPECT_NE(error.find("frame_000.png: frame 0 (pointer highlight) is 300 x 1"), std::string::npos)
      << error;
}

}  // namespace
