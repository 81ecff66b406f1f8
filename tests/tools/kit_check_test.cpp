// `vedo-kit check` on the generated folder and on folders broken in one
// place each: it must name exactly that problem.
#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

#include "common/child_process.h"
#include "kit/check.h"
#include "kit/formats.h"
#include "kit_test_support.h"
#include "support/test_data.h"

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

// The English pack the kit makes passes; a copy broken in every way a
// translator might is reported at once, each fault once and marked as
// refusing the pack or cosmetic, with no fault that only follows another.
TEST(Check, LanguagePackFaultsAreAllNamedAndMarked) {
  const fs::path generated = kittest::GeneratedFolder() / "lang/en";
  for (const PackFault& f : kit::CheckLanguagePack(generated.string()).faults) {
    ADD_FAILURE() << f.Describe();
  }
  std::string out;
  EXPECT_EQ(kittest::RunTool("kit", "check --lang '" + generated.string() + "'", &out), 0) << out;

  const fs::path dir = kittest::CopyOfGenerated("vedo-check-lang") / "lang/en";
  const Bytes original = kittest::Read(dir / "en.po");
  std::string text(original.begin(), original.end());
  const auto replace = [&](const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
  };
  replace("\"zombie.title\"", "\"zombie.titel\"");
  replace("msgctxt \"hunter.shotgun.3\"", "msgctxt \"hunter.shotgun.3\"\nmsgid_plural \"x\"");
  replace("msgctxt \"hunter.title\"", "#, fuzzy\nmsgctxt \"hunter.title\"");
  replace("\"Using it restores full health.\"", "\"Using it restores your health.\"");
  replace("\"   left to find.\"", "\" left to find.\"");
  replace("\"Zombies fill the city.\"", "\"Zombies fill the city \u2713 \u2603.\"");
  replace("\"No survivors at all.\"", "\"No survivors \xFF at all.\"");
  kittest::Write(dir / "en.po", Bytes(text.begin(), text.end()));
  kittest::Write(dir / "Title.bmp", kit::MakeBmp24(320, 240, Bytes(320 * 240 * 3, 90)));
  kittest::Write(dir / "frame_034.bmp", kit::MakeBmp24(500, 40, Bytes(500 * 40 * 3, 90)));
  fs::remove(dir / "died.bmp");

  const LanguagePack pack = kit::CheckLanguagePack(dir.string());
  const std::pair<bool, const char*> expected[] = {
      {true, "en.po: line 20: unknown key zombie.titel"},
      {true, "plural forms: the game's lines have none"},
      {false, "hunter.title is flagged fuzzy"},
      {true, "not UTF-8"},  // and prologue1.3 is not said to be missing
      {false, "file.3: the files left (\" %d\") are written over pixels 0 to 17 of the line"},
      {false,
       "spray_found.3 is 233 pixels wide; its place (event window, first-aid spray found, "
       "line 3) shows 231"},
      {true,
       "prologue1.2 has \"\u2713\" (U+2713) and \"\u2603\" (U+2603), which the glyph atlas "
       "cannot draw"},
      {true, "en.po: zombie.title is missing (event window, zombie page, line 1)"},
      {true, "Title.bmp: 320 x 240 pixels; the game needs 640 x 480"},
      {false, "frame_034.bmp: frame 34 ("},
      {false, "died.bmp: missing: the game shows this art with its Korean words"},
  };
  for (const auto& [refuses, words] : expected) {
    // (A named copy: clang 14 cannot capture a structured binding.)
    const std::string_view wanted = words;
    const auto it = std::find_if(pack.faults.begin(), pack.faults.end(), [&](const PackFault& f) {
      return f.Describe().find(wanted) != std::string::npos;
    });
    ASSERT_NE(it, pack.faults.end()) << words;
    EXPECT_EQ(it->refuses, refuses) << words;
  }
  EXPECT_EQ(pack.faults.size(), std::size(expected));
  EXPECT_EQ(kittest::RunTool("kit", "check --lang '" + dir.string() + "'", &out), 1);
  EXPECT_NE(out.find("11 faults: 6 refuse the pack, 5 cosmetic"), std::string::npos) << out;

  // A file in UTF-16 is one fault, not one a line; a pack that is not
  // there is named with those that are.
  kittest::Write(dir / "en.po", Bytes{0xFF, 0xFE, 'm', 0, 's', 0, 'g', 0});
  const LanguagePack utf16 = kit::CheckLanguagePack(dir.string());
  EXPECT_EQ(std::count_if(utf16.faults.begin(), utf16.faults.end(),
                          [](const PackFault& f) { return f.file == "en.po"; }),
            1);
  EXPECT_EQ(
      kittest::RunTool("kit", "check --lang '" + (dir.parent_path() / "xx").string() + "'", &out),
      1);
  EXPECT_NE(out.find("no such language pack; the packs here: en"), std::string::npos) << out;
  fs::remove_all(dir.parent_path().parent_path());
}

// A pack's text as translators' tools write it back: lines wrapped, flags,
// references and translator's comments added, obsolete entries kept, CR LF
// line ends. The game reads the same lines from it.
TEST(Check, APackTextRewrittenByATranslatorsToolReadsTheSame) {
  const Bytes original = kittest::Read(kittest::GeneratedFolder() / "lang/en/en.po");
  LanguagePack before;
  ReadPackText(std::string_view(reinterpret_cast<const char*>(original.data()), original.size()),
               "en.po", before);
  ASSERT_TRUE(before.faults.empty()) << before.faults.front().Describe();

  // msgcat wraps as gettext's tools do; then what Poedit adds.
  const fs::path dir = testdata::MakeTempDir("vedo-po-tool");
  const std::string wrap = "command -v msgcat >/dev/null && msgcat --width=24 '" +
                           (kittest::GeneratedFolder() / "lang/en/en.po").string() + "' -o '" +
                           (dir / "wrapped.po").string() + "'";
  child::Options msgcat;
  msgcat.argv = {"sh", "-c", wrap};
  if (child::Run(msgcat).exitCode != 0) GTEST_SKIP() << "no msgcat (Debian's gettext)";
  const Bytes wrapped = kittest::Read(dir / "wrapped.po");
  std::string text;
  for (const char c : wrapped) text += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_NE(text.find("msgstr \"\"\r\n\""), std::string::npos) << "no line was wrapped";
  const std::size_t at = text.find("msgctxt \"zombie.knife.2\"");
  ASSERT_NE(at, std::string::npos);
  text.insert(at, "# checked by the team\r\n#: src/lang/game_lines.cpp:20\r\n#, no-c-format\r\n");
  text += "\r\n#~ msgctxt \"zombie.old\"\r\n#~ msgid \"x\"\r\n#~ msgstr \"y\"\r\n";
  LanguagePack after;
  ReadPackText(text, "en.po", after);
  for (const PackFault& f : after.faults) ADD_FAILURE() << f.Describe();
  EXPECT_EQ(after.lines, before.lines);
  fs::remove_all(dir);
}
