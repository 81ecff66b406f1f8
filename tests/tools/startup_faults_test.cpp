// Start-up with missing or broken data, missing system files and missing
// devices, seen from outside: the real game and vedo-replay run as child
// processes on a copy of the generated data folder, broken in one way each.
// What they print on stderr and the exit codes are checked in full.
//
// The real game runs on SDL's "dummy" video driver, where a message box
// cannot be shown and becomes a "caption: text" line on stderr, just as
// vedo-replay prints it; debugger lines are printed as they are.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <tuple>

#include "common/child_process.h"
#include "kit_test_support.h"
#include "support/test_data.h"

namespace {

namespace fs = std::filesystem;

constexpr char kTileLine[] = "InitTileData OK.\n";
// The real game names its soundfont when its sound output opens.
constexpr char kSoundfontLine[] = "Soundfont: /usr/share/sounds/sf2/TimGM6mb.sf2\n";
constexpr char kReplayCouldNotStart[] =
    "vedo-replay: the game could not start (exit code 1); see above\n";

const char* const kPictures[] = {"Title.bmp",  "warning.bmp", "eventwin.bmp", "event1.bmp",
                                 "event2.bmp", "died.bmp",    "Ending.bmp"};

void SetFirstByte(const fs::path& file, char value) {
  std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
  f.seekp(0);
  f.put(value);
  ASSERT_TRUE(f.good()) << file;
}

// The lines, Korean and English, the game adds when a file it cannot start
// without is missing, or there but damaged.
std::string Hint(const std::string& file, const fs::path& folder) {
  const std::string at = fs::canonical(folder).string();
  return "Vedo Zeza1: " + file + " 파일이 " + at +
         "에 없습니다. --data DIR로 데이터 폴더를 알려 주거나, 데이터를 스스로 찾는 vedo-zeza1 "
         "명령으로 설치된 게임을 시작하십시오.\nVedo Zeza1: " +
         file + " is not in " + at +
         "; give the data folder with --data DIR, or start the installed game with its "
         "vedo-zeza1 command, which finds its data.\n";
}
std::string Damaged(const std::string& file, const fs::path& folder) {
  const std::string at = fs::canonical(folder).string();
  return "Vedo Zeza1: " + at + "의 " + file +
         " 파일이 손상되었거나 이 게임의 파일이 아닙니다. 게임을 다시 설치하거나 --data DIR로 "
         "온전한 데이터 폴더를 알려 주십시오. (vedo-kit check가 잘못된 곳을 알려 줍니다.)\n"
         "Vedo Zeza1: " +
         file + " in " + at +
         " is damaged or not this game's; reinstall the game, or give a good data folder with "
         "--data DIR. (vedo-kit check lists what is wrong.)\n";
}

std::vector<std::string> SortedLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::sort(lines.begin(), lines.end());
  return lines;
}

std::string Repeat(const std::string& text, int times) {
  std::string all;
  for (int i = 0; i < times; ++i) all += text;
  return all;
}

class StartupFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch_ = testdata::MakeTempDir("vedo-faults");
    data_ = kittest::CopyOfGenerated("vedo-faults-data");
  }
  void TearDown() override {
    fs::remove_all(scratch_);
    fs::remove_all(data_);
  }

  // The whole loop of a won game: title, warning, prologue (Korean text),
  // field, the five files, the ending with its music, and the title again.
  // Its expects stop the tool with exit code 1 should any step go astray.
  static std::string WholeLoopScript() {
    std::ifstream in(fs::path(VEDO_SOURCE_DIR) / "tests/scenes/replays/full_loop_won.vrs");
    std::ostringstream text;
    text << in.rdbuf();
    EXPECT_FALSE(text.str().empty());
    return text.str() + "key escape\n";
  }

  child::Result Replay(const std::string& script, std::vector<std::string> extraArgs = {},
                       child::Options base = {}) {
    std::ofstream(scratch_ / "script.vrs") << script;
    base.argv = {std::string(VEDO_BINARY_DIR) + "/tools/replay/vedo-replay", "--data",
                 data_.string()};
    for (std::string& a : extraArgs) base.argv.push_back(std::move(a));
    base.argv.push_back((scratch_ / "script.vrs").string());
    base.workDir = scratch_;
    return child::Run(base);
  }

  // The real game in the data folder, with no display server to reach: on
  // SDL's dummy video and audio drivers unless `env` says otherwise.
  child::Result Game(std::vector<std::pair<std::string, std::optional<std::string>>> env,
                     double terminateAfterSeconds = 0, std::vector<std::string> options = {},
                     const fs::path& workDir = {}) {
    child::Options o;
    o.argv = {std::string(VEDO_BINARY_DIR) + "/src/vedo-zeza1"};
    o.argv.insert(o.argv.end(), options.begin(), options.end());
    o.workDir = workDir.empty() ? data_ : workDir;
    o.env = {{"DISPLAY", std::nullopt},
             {"WAYLAND_DISPLAY", std::nullopt},
             {"SDL_VIDEODRIVER", "dummy"},
             {"SDL_AUDIODRIVER", "dummy"}};
    o.env.insert(o.env.end(), env.begin(), env.end());
    o.terminateAfterSeconds = terminateAfterSeconds;
    o.limitSeconds = 60;
    return child::Run(o);
  }

  fs::path scratch_;
  fs::path data_;
};

// ---- Faults that stop the start ---------------------------------------------
// The game ends before its loop with exit code 1; vedo-replay adds its own
// line and exits with 2.

class StartupFaultsStop : public StartupFaults {
 protected:
  // `explained`: the lines the game follows its own messages with.
  void Check(const std::function<void(const fs::path& data)>& breakData, const std::string& said,
             const std::string& explained) {
    breakData(data_);
    const child::Result game = Game({});
    EXPECT_EQ(game.exitCode, 1) << child::Describe(game);
    EXPECT_EQ(game.said, kSoundfontLine + said + explained) << child::Describe(game);

    const child::Result replay = Replay("frames 5\nexpect gInTitle 1\n");
    EXPECT_EQ(replay.exitCode, 2) << child::Describe(replay);
    EXPECT_EQ(replay.said, said + kReplayCouldNotStart) << child::Describe(replay);
  }
};

TEST_F(StartupFaultsStop, AMissingMapGivesTheDebuggerLineAndTheHint) {
  Check([](const fs::path& data) { fs::remove(data / "city.map"); }, "LoadMap: File Not Found.\n",
        Hint("city.map", data_));
}

TEST_F(StartupFaultsStop, ABadMapTagGivesTheK4BoxThenTheDebuggerLine) {
  // "RevUdav v1" with a lower-case first letter.
  Check([](const fs::path& data) { SetFirstByte(data / "city.map", 'r'); },
        "No - Mapfileheard.logo: k4\nLoadMap: Invalidate Format\n", Damaged("city.map", data_));
}

TEST_F(StartupFaultsStop, AMissingSpriteFileGivesTheSingleSpriteCountBoxAndTheHint) {
  Check([](const fs::path& data) { fs::remove(data / "WEAPON.SPR"); },
        std::string(kTileLine) + "InitProgram(): Fail Get Sprite Num\n", Hint("WEAPON.SPR", data_));
}

TEST_F(StartupFaultsStop, ABadSpriteTagGivesTheLoadingBoxThenTheCountBox) {
  // "DidArid v1.0" with a lower-case first letter.
  Check([](const fs::path& data) { SetFirstByte(data / "WEAPON.SPR", 'd'); },
        std::string(kTileLine) + "InitProgram(): Fail Loading Sprite\n" +
            "InitProgram(): Fail Get Sprite Num\n",
        Damaged("WEAPON.SPR", data_));
}

TEST_F(StartupFaultsStop, EmptyOrCutMapsAndSpritesAreNamedAfterTheGamesOwnMessages) {
  const std::string badSize = "Bad tile size 0 x 0 (1 to 256 each)\n";
  const std::vector<std::tuple<std::string, std::size_t, std::string>> cuts = {
      {"city.map", 0, "No - Mapfileheard.logo: k4\nLoadMap: Invalidate Format\n"},
      {"city.map", 10, "LoadMap(): " + badSize + "LoadMap: " + badSize},
      // 200 bytes cannot hold the records of the header's 52 frames.
      {"WEAPON.SPR", 200,
       std::string(kTileLine) + "InitProgram(): Fail Loading Sprite\n" +
           "InitProgram(): Fail Get Sprite Num\n"}};
  for (const auto& [file, size, said] : cuts) {
    const kit::Bytes whole = kittest::Read(data_ / file);
    kittest::Write(data_ / file, kit::Bytes(whole.begin(), whole.begin() + size));
    const child::Result game = Game({});
    EXPECT_EQ(game.exitCode, 1) << file << " cut to " << size << ": " << child::Describe(game);
    EXPECT_EQ(game.said, kSoundfontLine + said + Damaged(file, data_))
        << file << " cut to " << size;
    kittest::Write(data_ / file, whole);
  }
}

TEST_F(StartupFaults, WithoutADisplayTheGameSaysSoInBothLanguagesAndEndsWithCodeOne) {
  // The X11 driver with no server to talk to.
  const child::Result game = Game({{"SDL_VIDEODRIVER", "x11"}});
  EXPECT_EQ(game.exitCode, 1) << child::Describe(game);
  EXPECT_EQ(game.said.rfind("Vedo Zeza1: no display: ", 0), 0u) << child::Describe(game);
  EXPECT_EQ(std::count(game.said.begin(), game.said.end(), '\n'), 3) << child::Describe(game);
  EXPECT_TRUE(game.said.ends_with(
      "\nVedo Zeza1: 게임 창을 열 화면을 찾지 못했습니다. 데스크톱에서 시작하십시오.\n"
      "Vedo Zeza1: the game found no display to open its window on; start it from a desktop.\n"))
      << child::Describe(game);
}

// ---- The command line ---------------------------------------------------------
// The game is pointed at the X11 video driver with no server to reach, so
// an option that went on to open a window would end in "no display".

TEST_F(StartupFaults, HelpAndVersionPrintOnStdoutAndEndWithoutAWindow) {
  const child::Result help = Game({{"SDL_VIDEODRIVER", "x11"}}, 0, {"--help"});
  EXPECT_EQ(help.exitCode, 0) << child::Describe(help);
  EXPECT_EQ(help.said, "") << child::Describe(help);
  EXPECT_EQ(help.printed.rfind("Usage: vedo-zeza1 [OPTION]...\n", 0), 0u) << help.printed;
  for (const char* option :
       {"--data DIR", "--window [SCALE]", "--lang LANG", "--help", "--version"}) {
    EXPECT_NE(help.printed.find("\n  " + std::string(option) + " "), std::string::npos)
        << option << " is not explained in:\n"
        << help.printed;
  }
  const child::Result version = Game({{"SDL_VIDEODRIVER", "x11"}}, 0, {"--version"});
  EXPECT_EQ(version.exitCode, 0) << child::Describe(version);
  EXPECT_EQ(version.said, "") << child::Describe(version);
  EXPECT_EQ(version.printed, "vedo-zeza1 " VEDO_VERSION "\n");
}

TEST_F(StartupFaults, AWrongCommandLineGivesTheUsageOnStderrAndCodeTwoWithoutAWindow) {
  const std::string usage = Game({}, 0, {"--help"}).printed;
  ASSERT_FALSE(usage.empty());
  const std::vector<std::pair<std::vector<std::string>, std::string>> wrong = {
      {{"--fullscreen"}, "unknown option --fullscreen"},
      {{"play"}, "unexpected argument \"play\""},
      {{"--data"}, "--data needs the data folder"},
      {{"--window", "0"}, "--window takes a whole scale from 1 to 16, not \"0\""},
      {{"--window=big"}, "--window takes a whole scale from 1 to 16, not \"big\""},
      {{"--lang", "../en"}, "--lang takes a language such as en or ko, not \"../en\""},
      {{"--data", (scratch_ / "none").string()},
       "cannot use " + (scratch_ / "none").string() +
           " as the data folder: No such file or directory"},
  };
  for (const auto& [options, why] : wrong) {
    const child::Result r = Game({{"SDL_VIDEODRIVER", "x11"}}, 0, options);
    EXPECT_EQ(r.exitCode, 2) << options[0] << ": " << child::Describe(r);
    EXPECT_EQ(r.said, "vedo-zeza1: " + why + "\n" + usage) << options[0];
    EXPECT_EQ(r.printed, "") << options[0];
  }
}

TEST_F(StartupFaults, DataFromAnotherFolderPlaysAsIfStartedThere) {
  // Started in an empty folder: without --data the map is not found, with
  // it the game starts and runs until it is asked to quit.
  const child::Result lost = Game({}, 0, {}, scratch_);
  EXPECT_EQ(lost.exitCode, 1) << child::Describe(lost);
  EXPECT_EQ(lost.said, std::string(kSoundfontLine) + "LoadMap: File Not Found.\n" +
                           Hint("city.map", scratch_));
  const child::Result found = Game({}, 1.5, {"--data", data_.string()}, scratch_);
  EXPECT_TRUE(found.terminated) << "it ended before it was asked to: " << child::Describe(found);
  EXPECT_EQ(found.exitCode, 0) << child::Describe(found);
  EXPECT_EQ(found.said, std::string(kSoundfontLine) + kTileLine) << child::Describe(found);
}

// ---- Faults the game plays through ------------------------------------------
// Each runs the whole loop of a won game; the script's expects check every
// step, so exit code 0 means the game played on as if nothing were missing.

TEST_F(StartupFaults, IntactDataPlaysTheWholeLoopWithOnlyTheTileLine) {
  const child::Result r = Replay(WholeLoopScript());
  EXPECT_EQ(r.exitCode, 0) << child::Describe(r);
  EXPECT_EQ(r.said, kTileLine) << child::Describe(r);
}

TEST_F(StartupFaults, MissingPicturesLeaveTheGameRunningWithOneLineEach) {
  for (const char* picture : kPictures) fs::remove(data_ / picture);
  const child::Result r = Replay(WholeLoopScript());
  EXPECT_EQ(r.exitCode, 0) << child::Describe(r);
  EXPECT_EQ(r.said, kTileLine + Repeat("handle is null\n", 7)) << child::Describe(r);
}

TEST_F(StartupFaults, DamagedPicturesAreNamedInOneBoxAndTheGamePlaysOn) {
  const kit::Bytes title = kittest::Read(data_ / "Title.bmp");
  kittest::Write(data_ / "Title.bmp", kit::Bytes(title.begin(), title.begin() + 1000));
  fs::copy_file(data_ / "icon.png", data_ / "warning.bmp", fs::copy_options::overwrite_existing);
  const child::Result r = Replay(WholeLoopScript());
  EXPECT_EQ(r.exitCode, 0) << child::Describe(r);
  const std::string box =
      "Vedo Zeza1: 그림 파일이 손상되어 읽을 수 없습니다 (" + fs::canonical(data_).string() + "). ";
  EXPECT_EQ(r.said.rfind(kTileLine + Repeat("handle is null\n", 2) + box, 0), 0u) << r.said;
  EXPECT_TRUE(r.said.ends_with(
      " are damaged and cannot be read; the game goes on without them. Reinstall the game or get "
      "its data folder again.\nTitle.bmp: the pixel rows need 921654 bytes but the file has 1000\n"
      "warning.bmp: not a BMP file (no \"BM\" signature)\n"))
      << r.said;
}

TEST_F(StartupFaults, MissingSoundsAndMusicLeaveTheGameRunningSilently) {
  int removed = 0;
  for (const auto& entry : fs::directory_iterator(data_)) {
    const std::string ext = entry.path().extension().string();
    if (ext == ".wav" || ext == ".mid") removed += fs::remove(entry.path()) ? 1 : 0;
  }
  ASSERT_EQ(removed, 17) << "sixteen effects and the ending's tune";
  const child::Result r = Replay(WholeLoopScript());
  EXPECT_EQ(r.exitCode, 0) << child::Describe(r);
  EXPECT_EQ(r.said, kTileLine) << child::Describe(r);
}

// A pack the game cannot use is named, file and line, in one message box,
// and the game speaks Korean: the title and the prologue are drawn as
// without --lang, the English title the pack also holds included. Art with
// words that a pack it uses lacks is named in its output.
TEST_F(StartupFaults, ABrokenLanguagePackIsNamedAndTheGameSpeaksKorean) {
  const std::string screens =
      "time 1000000000\nframes 3\nshot title.png\nset gInTitle 0\nset gProloguePending 1\n"
      "frames 3\nshot prologue.png\n";
  ASSERT_EQ(Replay(screens).exitCode, 0);
  const kit::Bytes title = kittest::Read(scratch_ / "title.png");
  const kit::Bytes prologue = kittest::Read(scratch_ / "prologue.png");
  const fs::path pack = data_ / "lang/en";
  const std::string box =
      "Vedo Zeza1: 언어 팩 lang/en/을(를) 쓸 수 없어 한국어로 진행합니다.\n"
      "The language pack lang/en/ cannot be used, so the game speaks Korean.\n";
  const std::string listed =
      "(vedo-kit check --lang " + (pack / "").string() + " lists every fault.)\n";

  kit::Bytes text = kittest::Read(pack / "en.po");
  const std::string key = "\"zombie.title\"";
  const auto at = std::search(text.begin(), text.end(), key.begin(), key.end());
  ASSERT_NE(at, text.end());
  at[12] = 'x';  // zombie.titlx: unknown, and zombie.title missing
  kittest::Write(pack / "en.po", text);
  child::Result r = Replay(WholeLoopScript(), {"--lang", "en"});
  EXPECT_EQ(r.exitCode, 0) << child::Describe(r);
  EXPECT_EQ(r.said, kTileLine + box +
                        "lang/en/en.po: line 20: unknown key zombie.titlx (and 1 more)\n" + listed)
      << child::Describe(r);
  ASSERT_EQ(Replay(screens, {"--lang", "en"}).exitCode, 0);
  EXPECT_EQ(kittest::Read(scratch_ / "title.png"), title);
  EXPECT_EQ(kittest::Read(scratch_ / "prologue.png"), prologue);

  // Only a picture wrong: the lines, good as they are, are not used either.
  at[12] = 'e';
  kittest::Write(pack / "en.po", text);
  kittest::Write(pack / "died.bmp", kit::MakeBmp24(320, 240, kit::Bytes(320 * 240 * 3, 90)));
  const child::Result game = Game({}, 1.5, {"--lang", "en"});
  EXPECT_TRUE(game.terminated) << "it ended before it was asked to: " << child::Describe(game);
  EXPECT_EQ(game.said, kSoundfontLine + std::string(kTileLine) + box +
                           "lang/en/died.bmp: 320 x 240 pixels; the game needs 640 x 480\n" +
                           listed)
      << child::Describe(game);
  ASSERT_EQ(Replay(screens, {"--lang", "en"}).exitCode, 0);
  EXPECT_EQ(kittest::Read(scratch_ / "title.png"), title);
  EXPECT_EQ(kittest::Read(scratch_ / "prologue.png"), prologue);

  // Without it, the pack is used and the death screen stays Korean; a pack
  // that is not there is named with those that are.
  fs::remove(pack / "died.bmp");
  r = Replay(screens, {"--lang", "en"});
  EXPECT_EQ(r.said, kTileLine + std::string("lang/en/: the pack has no died.bmp; the game shows "
                                            "that art in Korean.\n"))
      << child::Describe(r);
  EXPECT_NE(kittest::Read(scratch_ / "title.png"), title);
  r = Replay(screens, {"--lang", "xx"});
  EXPECT_EQ(r.said,
            kTileLine + std::string("Vedo Zeza1: 언어 팩 lang/xx/을(를) 쓸 수 없어 한국어로 "
                                    "진행합니다.\nThe language pack lang/xx/ cannot be "
                                    "used, so the game speaks Korean.\nlang/xx/: no such "
                                    "language pack; the packs here: en\n"))
      << child::Describe(r);
}

TEST_F(StartupFaults, WithoutAnyFontTheTitleAndThePrologueDrawAsEver) {
  // The text comes from the glyph atlas built into the game: under a font
  // configuration that knows no font folder at all, the title and both
  // prologue pages are drawn as with the machine's fonts, without a word.
  std::ofstream(scratch_ / "fonts.conf")
      << "<?xml version=\"1.0\"?>\n<fontconfig><cachedir>" << (scratch_ / "cache").string()
      << "</cachedir></fontconfig>\n";
  const auto shots = [this](const std::string& run, const child::EnvChanges& env) {
    const std::string click = "down\nframes 1\nup\nframes 15\n";
    const std::string script = "move 320 400\nframes 20\nshot " + run + "title.png\n" + click +
                               "move 150 130\nframes 15\n" + click + "shot " + run +
                               "prologue1.png\nmove 456 316\nframes 15\n" + click + "shot " + run +
                               "prologue2.png\n";
    child::Options o;
    o.env = env;
    const child::Result r = Replay(script, {}, o);
    EXPECT_EQ(r.exitCode, 0) << child::Describe(r);
    EXPECT_EQ(r.said, kTileLine) << child::Describe(r);
  };
  shots("fonts-", {});
  shots("none-", {{"FONTCONFIG_FILE", (scratch_ / "fonts.conf").string()}});
  const auto bytes = [this](const std::string& name) {
    std::ifstream in(scratch_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  for (const std::string shot : {"title.png", "prologue1.png", "prologue2.png"}) {
    EXPECT_FALSE(bytes("none-" + shot).empty()) << shot;
    EXPECT_EQ(bytes("none-" + shot), bytes("fonts-" + shot)) << shot;
  }
}

TEST_F(StartupFaults, WithoutASoundfontOneWarningAndTheEndingRunsSilentToTheTitle) {
  const fs::path none = scratch_ / "no-such.sf2";
  const child::Result r = Replay(WholeLoopScript(), {"--soundfont", none.string()});
  EXPECT_EQ(r.exitCode, 0) << child::Describe(r);
  // The soundfont is looked for on a thread of its own, so its line may come
  // before or after the tile line.
  const std::string warning = "Vedo Zeza1: no soundfont at " + none.string() + "; music is silent.";
  EXPECT_EQ(SortedLines(r.said), SortedLines(kTileLine + warning + "\n")) << child::Describe(r);
}

TEST_F(StartupFaults, ACutOffSoundfontLeavesTheMusicSilentAndTheGameRunning) {
  // The real soundfont, cut off after its first 100,000 bytes. FluidSynth
  // and its loaders say what they found wrong in lines of their own; ours
  // comes once, after them.
  const fs::path cut = scratch_ / "cut.sf2";
  {
    std::ifstream in("/usr/share/sounds/sf2/TimGM6mb.sf2", std::ios::binary);
    if (!in) GTEST_SKIP() << "no TimGM6mb soundfont to cut";
    std::string head(100000, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    std::ofstream(cut, std::ios::binary) << head;
  }
  const child::Result r = Replay(WholeLoopScript(), {"--soundfont", cut.string()});
  EXPECT_EQ(r.exitCode, 0) << child::Describe(r);
  const std::vector<std::string> lines = SortedLines(r.said);
  const std::string warning =
      "Vedo Zeza1: cannot load the soundfont " + cut.string() + "; music is silent.";
  EXPECT_EQ(std::count(lines.begin(), lines.end(), warning), 1) << child::Describe(r);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "InitTileData OK."), 1) << child::Describe(r);
  EXPECT_LT(r.said.find("fluidsynth error: "), r.said.find(warning)) << child::Describe(r);
}

TEST_F(StartupFaults, WithoutASoundCardTheRealGamePlaysSilentAfterOneWarning) {
  // The disk driver exists but cannot open its output: a device that fails
  // to open, as a machine without a card does. The game falls back to a
  // silent device, runs until it is asked to quit, and quits normally.
  const child::Result game = Game(
      {{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", (scratch_ / "no/such/folder").string()}},
      1.5);
  EXPECT_TRUE(game.terminated) << "it ended before it was asked to: " << child::Describe(game);
  EXPECT_EQ(game.exitCode, 0) << child::Describe(game);
  // The reason in brackets is SDL's own words.
  const std::string warningStart = "Vedo Zeza1: no audio device (";
  const std::string warningEnd = "); playing without sound.\n";
  const std::size_t end = game.said.find(warningEnd);
  ASSERT_NE(end, std::string::npos) << child::Describe(game);
  EXPECT_EQ(game.said.rfind(warningStart, 0), 0u) << child::Describe(game);
  EXPECT_EQ(game.said.substr(end), warningEnd + kSoundfontLine + kTileLine)
      << child::Describe(game);
  EXPECT_EQ(std::count(game.said.begin(), game.said.end(), '\n'), 3) << child::Describe(game);
}

}  // namespace
