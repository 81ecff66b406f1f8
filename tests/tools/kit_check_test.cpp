// `vedo-kit check` on the generated folder and on folders broken in one
// place each: it must name exactly that problem.
#include <gtest/gtest.h>

#include "kit/check.h"
#include "kit/formats.h"
#include "kit_test_support.h"

namespace {

namespace fs = std::filesystem;
using kit::Bytes;

std::vector<std::string> Check(const fs::path& dir) { return kit::CheckDataFolder(dir.string()); }

kit::MapFile LoadMap(const fs::path& dir) {
  kit::MapFile m;
  EXPECT_TRUE(kit::ReadWholeMap(kittest::Read(dir / "city.map"), m, nullptr));
  return m;
}

kit::SpriteFile LoadSprites(const fs::path& dir) {
  kit::SpriteFile s;
  EXPECT_TRUE(kit::ReadWholeSprites(kittest::Read(dir / "WEAPON.SPR"), s, nullptr));
  return s;
}

// One problem, and the expected words in it.
void ExpectOnly(const std::vector<std::string>& problems, const std::string& text) {
  ASSERT_EQ(problems.size(), 1u) << (problems.empty() ? std::string("no problem found")
                                                      : problems.front());
  EXPECT_NE(problems[0].find(text), std::string::npos) << problems[0];
}

TEST(Check, TheGeneratedFolderHasEverythingTheGameNeeds) {
  const std::vector<std::string> problems = Check(kittest::GeneratedFolder());
  for (const std::string& p : problems) ADD_FAILURE() << p;
  std::string out;
  EXPECT_EQ(kittest::RunTool("kit", "check '" + kittest::GeneratedFolder().string() + "'", &out), 0)
      << out;
  EXPECT_NE(out.find("everything the game needs is there"), std::string::npos) << out;
}

TEST(Check, NamesAMissingFile) {
  const fs::path dir = kittest::CopyOfGenerated("vedo-check-missing");
  fs::remove(dir / "hunt.wav");
  ExpectOnly(Check(dir), "hunt.wav: missing");
  std::string out;
  EXPECT_EQ(kittest::RunTool("kit", "check '" + dir.string() + "'", &out), 1);
  EXPECT_NE(out.find("hunt.wav: missing"), std::string::npos) << out;
  EXPECT_NE(out.find("1 problem"), std::string::npos) << out;
}

TEST(Check, NamesAPictureOfTheWrongSize) {
  const fs::path dir = kittest::CopyOfGenerated("vedo-check-size");
  kittest::Write(dir / "Title.bmp", kit::MakeBmp24(320, 240, Bytes(320 * 240 * 3, 90)));
  ExpectOnly(Check(dir), "Title.bmp: 320 x 240 pixels; the game shows it at 640 x 480");
  kittest::Write(dir / "Title.bmp", Bytes{'B', 'M', 1, 2, 3});
  ExpectOnly(Check(dir), "Title.bmp: not a BMP file");
}

TEST(Check, NamesTooFewTiles) {
  const fs::path dir = kittest::CopyOfGenerated("vedo-check-tiles");
  kit::MapFile m = LoadMap(dir);
  for (std::int32_t& v : m.cells) v = 1;
  m.tileCount = 567;
  m.tiles.resize(m.TileBytes() * 567);
  kittest::Write(dir / "city.map", kit::SerializeMap(m));
  ExpectOnly(Check(dir), "city.map: only 567 tiles; the game draws tiles up to 567");
}

TEST(Check, NamesCellsWithoutTilesAndTheWrongShape) {
  const fs::path dir = kittest::CopyOfGenerated("vedo-check-cells");
  kit::MapFile m = LoadMap(dir);
  m.cells[3 * 25 + 4] = -9999;
  kittest::Write(dir / "city.map", kit::SerializeMap(m));
  ExpectOnly(Check(dir),
             "cell (row 3, column 4) names tile -9999, but the tiles are numbered 0 to");
  // The panel's hidden columns are never drawn, so what they hold is free.
  m = LoadMap(kittest::GeneratedFolder());
  m.cells[19 * 25 + 20] = 123456;
  kittest::Write(dir / "city.map", kit::SerializeMap(m));
  EXPECT_TRUE(Check(dir).empty());

  m = LoadMap(kittest::GeneratedFolder());
  m.tileWidth = 32;
  m.tiles.resize(m.TileBytes() * static_cast<std::size_t>(m.tileCount));
  kittest::Write(dir / "city.map", kit::SerializeMap(m));
  ExpectOnly(Check(dir), "tiles are 32 x 40 pixels; the game draws them as 40 x 40");
}

TEST(Check, NamesTooFewFrames) {
  const fs::path dir = kittest::CopyOfGenerated("vedo-check-frames");
  kit::SpriteFile s = LoadSprites(dir);
  s.frames.resize(51);
  kittest::Write(dir / "WEAPON.SPR", kit::SerializeSprites(s));
  ExpectOnly(Check(dir), "WEAPON.SPR: only 51 frames; the game draws frames up to 51");
}

TEST(Check, NamesAFrameThatDoesNotFit) {
  const fs::path dir = kittest::CopyOfGenerated("vedo-check-fit");
  kit::SpriteFile s = LoadSprites(dir);
  s.frames[51] = {300, 80, Bytes(300 * 80 * 3, 0x70)};
  kittest::Write(dir / "WEAPON.SPR", kit::SerializeSprites(s));
  ExpectOnly(Check(dir),
             "frame 51 (player figure) is 300 x 80 and does not fit at (380, 214): it would reach "
             "x 680, past the screen's 640");

  s = LoadSprites(kittest::GeneratedFolder());
  s.frames[21] = {96, 30, Bytes(96 * 30 * 3, 0x70)};  // 4 rows too tall at y 454
  kittest::Write(dir / "WEAPON.SPR", kit::SerializeSprites(s));
  ExpectOnly(Check(dir),
             "frame 21 (health icon, danger) is 96 x 30 and does not fit at (368, 454): "
             "it would reach y 484");

  s = LoadSprites(kittest::GeneratedFolder());
  s.frames[45] = {140, 60, Bytes(140 * 60 * 3, 0x70)};  // lane 3 starts at x 510
  kittest::Write(dir / "WEAPON.SPR", kit::SerializeSprites(s));
  ExpectOnly(Check(dir),
             "frame 45 (rocket lane 3 step 0) is 140 x 60 and does not fit at (510, 365)");

  s = LoadSprites(kittest::GeneratedFolder());
  s.frames[33] = {300, 40, Bytes(300 * 40 * 3, 0x70)};  // a credit at x 360
  kittest::Write(dir / "WEAPON.SPR", kit::SerializeSprites(s));
  ExpectOnly(Check(dir), "frame 33 (credit line) is 300 x 40 and does not fit at x 360");

  s = LoadSprites(kittest::GeneratedFolder());
  s.frames[12] = {16, 16, Bytes(16 * 16 * 3, 0x70)};
  kittest::Write(dir / "WEAPON.SPR", kit::SerializeSprites(s));
  ExpectOnly(Check(dir), "frame 12 (digit 3) is 16 pixels wide");

  s = LoadSprites(kittest::GeneratedFolder());
  s.frames[0] = {0, 40, {}};
  kittest::Write(dir / "WEAPON.SPR", kit::SerializeSprites(s));
  ExpectOnly(Check(dir), "frame 0 (pointer highlight) is empty (0 x 40)");
}

TEST(Check, NamesSoundsAndMusicTheGameCannotPlay) {
  const fs::path dir = kittest::CopyOfGenerated("vedo-check-sound");
  Bytes wav = kittest::Read(dir / "file.wav");
  wav[34] = 24;  // 24-bit samples
  kittest::Write(dir / "file.wav", wav);
  const std::vector<std::string> problems = Check(dir);
  EXPECT_TRUE(kittest::AnyContains(problems, "file.wav: the game does not play it: not 8 or 16"));
  for (const std::string& p : problems) EXPECT_EQ(p.rfind("file.wav: ", 0), 0u) << p;

  const fs::path dir2 = kittest::CopyOfGenerated("vedo-check-midi");
  Bytes mid = kittest::Read(dir2 / "Ending.mid");
  mid.resize(mid.size() / 2);
  kittest::Write(dir2 / "Ending.mid", mid);
  const std::vector<std::string> midi = Check(dir2);
  ASSERT_EQ(midi.size(), 1u);
  EXPECT_EQ(midi[0].rfind("Ending.mid: track", 0), 0u) << midi[0];
}

TEST(Check, ListsEveryProblemOnItsOwnLine) {
  const fs::path dir = kittest::CopyOfGenerated("vedo-check-many");
  fs::remove(dir / "Ending.mid");
  fs::remove(dir / "open2.wav");
  kittest::Write(dir / "event2.bmp", kit::MakeBmp24(160, 109, Bytes(160 * 109 * 3, 40)));
  kit::SpriteFile s = LoadSprites(dir);
  s.frames[2] = {300, 40, Bytes(300 * 40 * 3, 0x70)};  // handgun icon past the edge
  kittest::Write(dir / "WEAPON.SPR", kit::SerializeSprites(s));
  const std::vector<std::string> problems = Check(dir);
  EXPECT_EQ(problems.size(), 4u);
  EXPECT_TRUE(kittest::AnyContains(problems, "Ending.mid: missing"));
  EXPECT_TRUE(kittest::AnyContains(problems, "open2.wav: missing"));
  EXPECT_TRUE(kittest::AnyContains(problems, "event2.bmp: 160 x 109 pixels"));
  EXPECT_TRUE(kittest::AnyContains(problems, "frame 2 (handgun icon) is 300 x 40"));
  std::string out;
  EXPECT_EQ(kittest::RunTool("kit", "check '" + dir.string() + "'", &out), 1);
  EXPECT_NE(out.find("4 problems"), std::string::npos) << out;
}

TEST(Check, SaysWhenThereIsNoFolder) {
  ExpectOnly(Check("/nonexistent/vedo"), "not a folder");
  std::string out;
  EXPECT_EQ(kittest::RunTool("kit", "check", &out), 2);  // usage
  EXPECT_NE(out.find("usage"), std::string::npos);
}

}  // namespace

// The English pack the kit makes passes; a copy broken once in every way the
// check knows is reported once for each, naming the file and the key.
TEST(Check, LanguagePackFaultsAreNamedOneByOne) {
  const fs::path generated = kittest::GeneratedFolder() / "lang/en";
  for (const std::string& p : kit::CheckLanguagePack(generated.string())) ADD_FAILURE() << p;
  std::string out;
  EXPECT_EQ(kittest::RunTool("kit", "check --lang '" + generated.string() + "'", &out), 0) << out;

  const fs::path dir = kittest::CopyOfGenerated("vedo-check-lang") / "lang/en";
  const Bytes original = kittest::Read(dir / "text.txt");
  std::string text(original.begin(), original.end());
  const auto replace = [&](const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
  };
  replace("\nzombie.title ", "\nzombie.titel ");
  replace("\nhunter.shotgun.3 \"3 rounds spent.\"\n", "\n");
  replace("\"A hunter attacks.\"", "\"A hunter attacks at speed.\"");
  replace("\"   left to find.\"", "\" left to find.\"");
  replace("\"Streets of zombies.\"", "\"Streets of zombies, olé.\"");
  replace("\"Nobody else survived.\"", "\"Nobody 漢 survived.\"");
  kittest::Write(dir / "text.txt", Bytes(text.begin(), text.end()));
  kittest::Write(dir / "Title.bmp", kit::MakeBmp24(320, 240, Bytes(320 * 240 * 3, 90)));
  kittest::Write(dir / "tile_0658.bmp", kit::MakeBmp24(20, 20, Bytes(20 * 20 * 3, 90)));
  kittest::Write(dir / "frame_034.bmp", kit::MakeBmp24(500, 40, Bytes(500 * 40 * 3, 90)));

  const std::vector<std::string> problems = kit::CheckLanguagePack(dir.string());
  for (const char* expected : {
           "text.txt: line 12: unknown key zombie.titel",
           "text.txt: zombie.title is missing (event window, zombie page, line 1)",
           "text.txt: hunter.shotgun.3 is missing",
           "hunter.title is ",  // so many pixels wide, wider than the Korean line
           "pixels wide; its box, the Korean line's, is",
           "file.3: the files left (\" %d\") are written over pixels 0 to 17 of the line, which "
           "must all be blanks",
           "prologue1.2 has \"é\" (U+00E9), which is not a CP949 character",
           "prologue1.3 has \"漢\" (U+6F22), which is in CP949 but not in the glyph atlas",
           "Title.bmp: 320 x 240 pixels; the game shows it at 640 x 480",
           "tile_0658.bmp: 20 x 20 pixels; the map's tiles are 40 x 40",
           "frame_034.bmp: frame 34 (",
       }) {
    EXPECT_TRUE(kittest::AnyContains(problems, expected)) << expected;
  }
  EXPECT_EQ(problems.size(), 10u);
  EXPECT_EQ(kittest::RunTool("kit", "check --lang '" + dir.string() + "'", &out), 1);
  EXPECT_NE(out.find("10 problems"), std::string::npos) << out;
  fs::remove_all(dir.parent_path().parent_path());
}
