// The real Windows game under Wine, on an X screen of its own with a window
// manager: the same walk as the Linux game's (window/walk.h), from the title
// to the first fights with the focus lost and regained on the way, its
// screens matching the Linux replay's frames exactly; Escape ends
// it with exit code 0 after the full shut-down. Without a sound card it
// plays silent after one warning line; with one, the title's click is heard.
// Started from another folder it finds its data beside itself, and --data
// takes a folder named in Hangul and accented letters. Started as Explorer
// starts it, without standard handles, a missing map ends it with exit code
// 1 after a message box that names the folder. Its resources, its imports
// and a DLL dropped beside it are checked. The release zip and the
// installer, in a Wine prefix made for them, install, start the game alone
// and uninstall.
#include <set>

#include "window/walk.h"

namespace realwindow {
namespace {

const fs::path kWindowsBuild = VEDO_WINDOWS_BUILD_DIR;

// What a shortcut (.lnk) starts: its target's local path, its working folder
// and its arguments, read as Windows' Shell Link format lays them out (a
// header, an optional item list, the link information holding the local
// path, then counted strings); plain ASCII is all these hold.
struct Shortcut {
  std::string target;
  std::string workDir;
  std::string args;
};

Shortcut ReadShortcut(const fs::path& lnk) {
  std::ifstream in(lnk, std::ios::binary);
  const std::string b{std::istreambuf_iterator<char>(in), {}};
  const auto u16 = [&](std::size_t at) {
    return std::size_t{static_cast<std::uint8_t>(b.at(at))} |
           std::size_t{static_cast<std::uint8_t>(b.at(at + 1))} << 8;
  };
  const auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
  Shortcut s;
  const std::size_t flags = u32(20);
  std::size_t at = 76;
  if (flags & 0x1) at += 2 + u16(at);  // the item list
  if (flags & 0x2) {                   // the link information
    s.target = b.c_str() + at + u32(at + 16);
    at += u32(at);
  }
  const std::size_t width = (flags & 0x80) != 0 ? 2 : 1;
  const auto next = [&](std::size_t bit) {
    std::string text;
    if ((flags & bit) == 0) return text;
    const std::size_t n = u16(at);
    for (std::size_t i = 0; i < n; ++i) text += b.at(at + 2 + i * width);
    at += 2 + n * width;
    // Wine counts a terminating zero, which the format does not have.
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
  };
  next(0x4);  // the name
  next(0x8);  // the relative path
  s.workDir = next(0x10);
  s.args = next(0x20);
  return s;
}

class WindowsGame : public RealWindowWalk {
 protected:
  void SetUp() override {
    if (!fs::exists(kWindowsBuild / "src/vedo-zeza1.exe")) {
      GTEST_SKIP() << "needs the Windows build in " << kWindowsBuild << " (./run.sh windows)";
    }
    if (!fs::exists("/usr/lib/wine/wine64")) GTEST_SKIP() << "needs Wine (wine64)";
    RealWindowWalk::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    env_.push_back({"VEDO_WINDOWS_BUILD", kWindowsBuild.string()});
  }

  // The build's game, or `program`, started under Wine in `workDir`. Through
  // `start /wait`, as Explorer starts a program (without standard handles),
  // when `asExplorer`.
  void StartWindowsGame(const fs::path& workDir, const fs::path& program = {},
                        const std::vector<std::string>& args = {}, bool asExplorer = false) {
    fs::remove(trace_);
    std::vector<std::string> argv = {kWineRun};
    if (asExplorer) argv.insert(argv.end(), {"start", "/wait", "/unix"});
    argv.push_back((program.empty() ? kWindowsBuild / "src/vedo-zeza1.exe" : program).string());
    argv.insert(argv.end(), args.begin(), args.end());
    game_ = Process({.argv = argv, .env = env_, .workDir = workDir, .out = dir_ / "game.log"});
  }

  // Waits for the first frame (Wine's start takes seconds), gives the game
  // the focus, and shows the title; then a click leads to the warning.
  void ExpectTitleAndPlay(const Frames& frames) {
    ASSERT_TRUE(WaitUntil([&] { return !GameTrace().presents.empty(); }, 60000ms))
        << State() << Log("game.log");
    EXPECT_TRUE(FocusTheGame()) << State();
    ASSERT_EQ(WaitFor(frames.at("title"), 20000ms), "") << Failure("title");
    // From elsewhere: xdotool's --sync waits for ever for a move to where
    // the pointer already is.
    EXPECT_TRUE(Xdotool({"mousemove", "0", "0"}));
    MoveTo(ScreenX(kNeutralX), ScreenY(kNeutralY));
    ASSERT_EQ(PressUntil(frames.at("warning")), "") << Failure("warning");
  }

  // A tool's exit code, its output in dir_/LOG.
  int Run(const std::vector<std::string>& argv, const std::string& log,
          std::chrono::milliseconds limit = 120000ms) {
    return xsession::RunTool(argv, env_, dir_ / log, limit);
  }

  const std::string kWineRun = std::string(VEDO_SOURCE_DIR) + "/tests/windows/wine_run.sh";

  // A path the Windows game names, in the build's Wine prefix.
  fs::path HostPath(const std::string& path) override {
    std::string rest = path.size() > 3 && path[1] == ':' ? path.substr(3) : path;
    std::replace(rest.begin(), rest.end(), '\\', '/');
    return kWindowsBuild / "wineprefix/drive_c" / rest;
  }

  // The game's settings folder in the prefix: the user's roaming
  // application data.
  static fs::path SettingsFolder() {
    std::error_code ec;
    for (const auto& user :
         fs::directory_iterator(kWindowsBuild / "wineprefix/drive_c/users", ec)) {
      if (user.path().filename() != "Public") return user.path() / "AppData/Roaming/Vedo Zeza1";
    }
    return kWindowsBuild / "wineprefix/drive_c/users/none";
  }

  // The prefix is every Windows test's, and its Pictures may be the Linux
  // home: what the game kept goes with the test.
  void TearDown() override {
    std::error_code ec;
    if (!dir_.empty() && !SavedScreenshot().empty()) {
      const fs::path picture = HostPath(SavedScreenshot());
      fs::remove(picture, ec);
      fs::remove(picture.parent_path(), ec);  // when it is empty
    }
    fs::remove_all(SettingsFolder(), ec);
    RealWindowWalk::TearDown();
  }

  void StartTheGame(const fs::path& data, const std::vector<std::string>& options = {}) override {
    StartWindowsGame(data, {}, options);
    // Wine takes seconds to start, and the window manager may not hand its
    // new window the focus: the test gives it once the first frame is out.
    if (WaitUntil([&] { return !GameTrace().presents.empty(); }, 60000ms)) {
      EXPECT_TRUE(FocusTheGame()) << State();
    }
  }

  std::string RecordingName() const override { return "wine-walk"; }
};

TEST_F(WindowsGame, WalksFromTheTitleToTheFirstFightsSilentAfterOneWarning) {
  Walk();
  const std::string log = Log("game.log");
  std::size_t warnings = 0;
  for (std::size_t at = 0; (at = log.find("Vedo Zeza1: no audio device", at)) != std::string::npos;
       ++at) {
    ++warnings;
  }
  EXPECT_EQ(warnings, 1u) << log;
}

// Sound is heard, not assumed: ALSA's default device is set, by a
// configuration of the test's own, to the file plugin over the null device,
// so Wine's audio reaches a WAV file. After the title's click it holds the
// click's sound, and the measure tells it from another effect. The settings
// the game starts with are damaged: it says so in one line, keeps them as
// settings.ini.bad and plays at its defaults. The options panel's buttons
// then set the effects to 0, after which the start button's click is
// silent, and the music to 50 %; the next start keeps them, and its title's
// click is silent too.
TEST_F(WindowsGame, TheTitleClickIsHeardAndTheOptionsAreKept) {
  StartWindowManager();
  const fs::path settings = SettingsFolder() / "settings.ini";
  fs::create_directories(settings.parent_path());
  std::ofstream(settings) << "effects-volume = loud\n";
  const fs::path capture = dir_ / "capture.wav";
  xsession::WriteAlsaFileConfig(dir_ / "asound.conf", capture);
  env_.emplace_back("ALSA_CONFIG_PATH", (dir_ / "asound.conf").string());
  const Frames& frames = Rendered(Now(), Now(), Now());
  StartTheGame(Data());
  ASSERT_EQ(WaitFor(frames.at("title"), 20000ms), "") << Failure("sound_title");
  EXPECT_TRUE(fs::exists(settings.string() + ".bad"));
  EXPECT_FALSE(fs::exists(settings));
  EXPECT_EQ(Log("game.log").find("are damaged"), Log("game.log").rfind("are damaged"));
  EXPECT_NE(Log("game.log").find("are damaged (line 1: effects-volume takes"), std::string::npos)
      << Log("game.log");
  MoveTo(ScreenX(kNeutralX), ScreenY(kNeutralY));
  ASSERT_EQ(PressUntil(frames.at("warning")), "") << Failure("sound_warning");
  // The sound's length, and a little more.
  ASSERT_TRUE(WaitForFrames(120, 10000ms)) << State();
  ASSERT_TRUE(Xdotool({"key", "F1"}));
  ClickPanel(kOptionsSegment, 0);
  ClickPanel(kOptionsMinus, 0);
  ClickPanel(kOptionsSegment, 1, 4 * kOptionsSegmentPitch);
  ASSERT_TRUE(Xdotool({"key", "F1"}));
  ASSERT_TRUE(WaitForFrames(30, 10000ms)) << State();
  const std::uintmax_t changed = fs::file_size(capture);
  MoveTo(ScreenX(kNormalStartX), ScreenY(kNormalStartY));
  ASSERT_EQ(PressUntil(frames.at("prologue1")), "") << Failure("sound_prologue");
  ASSERT_TRUE(WaitForFrames(60, 10000ms)) << State();
  ExpectEscapeQuitsCleanly();
  EXPECT_EQ(Log("game.log").find("no audio device"), std::string::npos) << Log("game.log");

  const auto match = [&](std::vector<std::string> args) {
    args.insert(args.begin(), VEDO_CAPTURE_MATCH);
    return xsession::RunTool(args, {}, dir_ / "match.log", 120000ms);
  };
  EXPECT_EQ(match({(Data() / "main.wav").string(), capture.string()}), 0) << Log("match.log");
  EXPECT_EQ(match({(Data() / "died.wav").string(), capture.string()}), 1) << Log("match.log");
  EXPECT_EQ(match({"--peak", capture.string(), std::to_string(changed)}), 0) << Log("match.log");
  std::ifstream kept(settings);
  const std::string text{std::istreambuf_iterator<char>(kept), {}};
  EXPECT_NE(text.find("effects-volume = 0\n"), std::string::npos) << text;
  EXPECT_NE(text.find("music-volume = 50\n"), std::string::npos) << text;

  fs::remove(capture);
  StartTheGame(Data());
  ASSERT_EQ(WaitFor(frames.at("title"), 20000ms), "") << Failure("kept_title");
  MoveTo(ScreenX(kNeutralX), ScreenY(kNeutralY));
  ASSERT_EQ(PressUntil(frames.at("warning")), "") << Failure("kept_warning");
  ASSERT_TRUE(WaitForFrames(60, 10000ms)) << State();
  ExpectEscapeQuitsCleanly();
  EXPECT_EQ(match({"--peak", capture.string()}), 0) << Log("match.log");
}

// From a prompt in another folder, or a shortcut, or Explorer: the game
// finds its data beside itself, in a folder whose name Windows' ANSI code
// page could not hold; and --data takes that name.
TEST_F(WindowsGame, StartsFromAnotherFolderAndTakesAHangulDataFolder) {
  const fs::path folder = dir_ / "게임 데이터 éà";
  fs::copy(Data(), folder);
  fs::copy_file(kWindowsBuild / "src/vedo-zeza1.exe", folder / "vedo-zeza1.exe");
  StartWindowManager();
  // Wine reads the command line and the file names in the locale's code page.
  env_.emplace_back("LC_ALL", "C.UTF-8");
  const Frames& frames = Rendered(Now(), Now(), Now());
  StartWindowsGame(dir_, folder / "vedo-zeza1.exe");
  ExpectTitleAndPlay(frames);
  ExpectEscapeQuitsCleanly();
  StartWindowsGame(dir_, {}, {"--data", folder.string()});
  ExpectTitleAndPlay(frames);
  ExpectEscapeQuitsCleanly();
}

// Started as Explorer starts it, the game has no standard error: the hint
// that follows the loader's debugger line comes in a message box, which
// names the folder the game looked in (its own, the working folder having
// no map either). Wine's traces show both texts.
TEST_F(WindowsGame, MissingMapShowsABoxNamingTheFolderAndEndsWithCodeOne) {
  const fs::path folder = dir_ / "nodata";
  fs::create_directories(folder);
  fs::copy_file(kWindowsBuild / "src/vedo-zeza1.exe", folder / "vedo-zeza1.exe");
  StartWindowManager();
  env_.emplace_back("WINEDEBUG", "-all,+debugstr,trace+msgbox");
  StartWindowsGame(dir_, folder / "vedo-zeza1.exe", {}, true);
  // Wine writes a path as Z:\\tmp\\..., its backslashes doubled in its traces.
  std::string shown = "Z:";
  for (char c : folder.string()) shown += c == '/' ? std::string("\\\\") : std::string(1, c);
  const auto boxed = [&] {
    return Log("game.log").find("msgbox:MSGBOX_OnInit") != std::string::npos;
  };
  ASSERT_TRUE(WaitUntil(boxed, 60000ms)) << Log("game.log");
  // The box is a window of the screen (the game's own, hidden for it, is
  // not): found, given the focus and answered.
  EXPECT_EQ(xsession::RunTool({"sh", "-c",
                               "xdotool search --sync --onlyvisible --name '^Vedo Zeza1$' | "
                               "head -1 | xargs -I{} xdotool windowactivate --sync {} key Return"},
                              env_),
            0);
  EXPECT_EQ(game_.Wait(60000ms), 1) << game_.HowItEnded() << "\n" << Log("game.log");
  const std::string log = Log("game.log");
  const std::size_t line = log.find("OutputDebugStringA \"LoadMap: File Not Found.\\n\"");
  const std::size_t box = log.find("msgbox:MSGBOX_OnInit");
  EXPECT_LT(line, box) << log;
  // Its Korean line comes first ("city.map 파일이 FOLDER에 없습니다"), which
  // Wine's trace writes with escapes and cuts short before the English one.
  EXPECT_NE(log.find("city.map \\d30c\\c77c\\c774 " + shown + "\\c5d0 ", box), std::string::npos)
      << "the box should name " << shown << ":\n"
      << log;
}

// Damaged data, under Wine as on Linux: nothing crashes. Pictures that are
// there but cannot be read (one cut short, where Windows' own loader read
// past the file's end, and a PNG under a BMP's name) are named in one box and
// the game plays on; a map or sprite file the game refuses is named, after
// the game's own boxes, in Korean and in English, and the start ends with
// exit code 1. The boxes are answered as a player would.
TEST_F(WindowsGame, DamagedFilesAreNamedAndNothingCrashes) {
  const fs::path folder = dir_ / "data";
  fs::copy(Data(), folder);
  StartWindowManager();
  const auto cut = [&](const std::string& file, std::size_t size) {
    std::ifstream in(Data() / file, std::ios::binary);
    std::string bytes(size, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    std::ofstream(folder / file, std::ios::binary | std::ios::trunc) << bytes;
  };
  // Answers every box shown, until the game ends or, playing on, draws.
  const auto answerBoxes = [&] {
    return WaitUntil(
        [&] {
          xsession::RunTool(
              {"sh", "-c",
               "for w in $(xdotool search --onlyvisible --name "
               "'^(Vedo Zeza1|InitProgram\\(\\)|LoadMap\\(\\)|No - Mapfileheard.logo)$'); "
               "do xdotool windowactivate --sync $w key Return; done"},
              env_);
          return !GameTrace().presents.empty();
        },
        60000ms);
  };
  cut("Title.bmp", 1000);
  fs::copy_file(Data() / "icon.png", folder / "warning.bmp", fs::copy_options::overwrite_existing);
  StartWindowsGame(folder);
  ASSERT_TRUE(answerBoxes()) << game_.HowItEnded() << "\n" << Log("game.log");
  ExpectEscapeQuitsCleanly();
  std::string log = Log("game.log");
  EXPECT_NE(log.find("Vedo Zeza1: 그림 파일이 손상되어 읽을 수 없습니다"), std::string::npos)
      << log;
  EXPECT_NE(log.find("\nTitle.bmp: the pixel rows need 921654 bytes but the file has 1000\n"
                     "warning.bmp: not a BMP file"),
            std::string::npos)
      << log;
  for (const char* picture : {"Title.bmp", "warning.bmp"}) {
    fs::copy_file(Data() / picture, folder / picture, fs::copy_options::overwrite_existing);
  }
  for (const auto& [file, size] : std::vector<std::pair<std::string, std::size_t>>{
           {"city.map", 0}, {"city.map", 10}, {"WEAPON.SPR", 200}}) {
    cut(file, size);
    StartWindowsGame(folder);
    answerBoxes();
    EXPECT_EQ(game_.Wait(30000ms), 1) << file << " cut to " << size << ": " << game_.HowItEnded();
    log = Log("game.log");
    const std::size_t ko = log.find(file +
                                    " 파일이 손상되었거나 이 게임의 파일이 아닙니다. 게임을 "
                                    "다시 설치하거나 압축 파일을 통째로 다시 푸십시오.");
    const std::size_t en = log.find(
        " is damaged or not this game's; reinstall the game, or unpack the whole zip again.");
    EXPECT_TRUE(ko < en && en != std::string::npos) << file << " cut to " << size << ":\n" << log;
    fs::copy_file(Data() / file, folder / file, fs::copy_options::overwrite_existing);
  }
}

// On a screen whose size changes (Xephyr's, through RandR), with openbox:
// the click that brings the game back from another window does not leave
// the title, and the next one does; a new screen size has the frame fill it
// again (at 1280 x 960, every frame pixel two by two); and a second start of
// the exe ends, leaving one game, in front.
class WindowsGameOnAResizableScreen : public WindowsGame {
 protected:
  void SetUp() override {
    for (const char* tool : {"Xephyr", "xrandr"}) {
      if (!xsession::OnPath(tool)) GTEST_SKIP() << "needs " << tool;
    }
    resizableScreen_ = true;
    WindowsGame::SetUp();
  }

  // Whether the screen shows `f` at twice its size.
  bool ShowsDoubled(const pngio::RgbImage& f) {
    std::string why;
    if (!TakeShot(shot_, why) || shot_.width != 1280 || shot_.height != 960) return false;
    for (int y = 0; y < 480; ++y) {
      for (int x = 0; x < 640; ++x) {
        const std::uint8_t* p = &f.rgb[(static_cast<std::size_t>(y) * 640 + x) * 3];
        const std::uint32_t want = (std::uint32_t{p[0]} << 16) | (p[1] << 8) | p[2];
        if (shot_.At(2 * x, 2 * y) != want || shot_.At(2 * x + 1, 2 * y + 1) != want) return false;
      }
    }
    return true;
  }
};

TEST_F(WindowsGameOnAResizableScreen, ClickBackRefitAndOneGameAtATime) {
  StartWindowManager();
  const Frames& frames = Rendered(Now(), Now(), Now());
  StartTheGame(Data());
  ASSERT_EQ(WaitFor(frames.at("title"), 20000ms), "") << Failure("title");
  {
    Process other = FocusAnotherWindow();
    ASSERT_TRUE(WaitForQuiet(200ms)) << "the game kept drawing without the focus";
    MoveTo(ScreenX(kNeutralX), ScreenY(kNeutralY));
    Press();
    ASSERT_TRUE(WaitForFrames(30)) << "the click did not bring the game back: " << State();
    ASSERT_EQ(WaitFor(frames.at("title"), 0ms), "")
        << "the click reached the game: " << Failure("clicked_back");
  }
  ASSERT_EQ(PressUntil(frames.at("warning")), "") << Failure("warning");

  ASSERT_TRUE(screen_.Resize(1280, 960)) << Log("xephyr.log");
  // Wine learns of the new size in its desktop process and passes it on to
  // the window, which once took over 10 s in a whole-suite run.
  EXPECT_TRUE(WaitUntil([&] { return ShowsDoubled(frames.at("warning")); }, 30000ms))
      << "the frame did not refit: " << Keep(shot_, "windows_refit") << State();

  // (Wine's window manager keeps the focus where it is when a program asks
  // for it: the running game stays in front rather than is brought there.)
  ASSERT_TRUE(FocusTheGame()) << State();
  child::EnvChanges env = env_;
  env.push_back({"WINEPREFIX", (kWindowsBuild / "wineprefix").string()});
  env.push_back({"WINEDEBUG", "-all"});
  // Straight through Wine: wine_run.sh would wait for the running game's end.
  Process second({.argv = {"/usr/lib/wine/wine64", (kWindowsBuild / "src/vedo-zeza1.exe").string()},
                  .env = env,
                  .workDir = Data(),
                  .out = dir_ / "second.log"});
  EXPECT_EQ(second.Wait(30000ms), 0) << second.HowItEnded() << Log("second.log");
  EXPECT_EQ(xsession::RunTool({"sh", "-c",
                               "xdotool search --name '^Vedo Zeza1$' | wc -l | grep -qx 1 && "
                               "xdotool getactivewindow getwindowname | grep -qx 'Vedo Zeza1'"},
                              env_),
            0)
      << "not one game, in front: " << State();
  EXPECT_TRUE(game_.Running());
  ExpectEscapeQuitsCleanly();
}

// The resources hold the manifest (per-monitor DPI awareness), the icon
// group the window class loads and the version; the imports are Windows'
// known DLLs alone, and a winmm.dll or wtsapi32.dll beside the game, which
// Wine is told to prefer as Windows' search order would, is never loaded
// (it would end the game with code 86).
TEST_F(WindowsGame, ResourcesKnownDllsAloneAndNoDllFromItsFolder) {
  const fs::path exe = kWindowsBuild / "src/vedo-zeza1.exe";
  ASSERT_EQ(Run({"wrestool", "-l", exe.string()}, "resources.txt"), 0) << Log("resources.txt");
  EXPECT_NE(Log("resources.txt").find("--type=14 --name=32512"), std::string::npos)
      << Log("resources.txt");
  ASSERT_EQ(Run({"wrestool", "-x", "--raw", "--type=24", exe.string()}, "manifest.xml"), 0);
  EXPECT_NE(Log("manifest.xml").find(">PerMonitorV2</dpiAwareness>"), std::string::npos)
      << Log("manifest.xml");
  EXPECT_NE(Log("manifest.xml").find(">true</dpiAware>"), std::string::npos);
  ASSERT_EQ(Run({"wrestool", "-x", "--raw", "--type=16", exe.string()}, "version.bin"), 0);
  std::string utf16;
  for (char c : std::string("ProductVersion") + '\0' + VEDO_VERSION) utf16 += {c, '\0'};
  EXPECT_NE(Log("version.bin").find(utf16), std::string::npos) << "no version " << VEDO_VERSION;

  ASSERT_EQ(Run({"x86_64-w64-mingw32-objdump", "-p", exe.string()}, "imports.txt"), 0);
  const std::set<std::string> known = {"advapi32.dll", "gdi32.dll",   "kernel32.dll",
                                       "msvcrt.dll",   "ole32.dll",   "shell32.dll",
                                       "user32.dll",   "shlwapi.dll", "imm32.dll"};
  std::istringstream imports(Log("imports.txt"));
  int named = 0;
  for (std::string l; std::getline(imports, l);) {
    const std::size_t at = l.find("DLL Name: ");
    if (at == std::string::npos) continue;
    std::string dll = l.substr(at + 10);
    std::transform(dll.begin(), dll.end(), dll.begin(), [](char c) { return std::tolower(c); });
    EXPECT_TRUE(known.count(dll)) << dll << " is not a known DLL";
    ++named;
  }
  EXPECT_GT(named, 0) << Log("imports.txt");

  const fs::path folder = dir_ / "game";
  fs::copy(Data(), folder);
  fs::copy_file(exe, folder / "vedo-zeza1.exe");
  ASSERT_EQ(Run({"x86_64-w64-mingw32-gcc", "-shared", "-o", (folder / "winmm.dll").string(),
                 std::string(VEDO_SOURCE_DIR) + "/tests/windows/fake_system_dll.c"},
                "dll.log"),
            0)
      << Log("dll.log");
  fs::copy_file(folder / "winmm.dll", folder / "wtsapi32.dll");
  StartWindowManager();
  env_.emplace_back("WINEDLLOVERRIDES", "mscoree,mshtml=;winmm,wtsapi32=n,b");
  StartWindowsGame(folder, folder / "vedo-zeza1.exe");
  ASSERT_TRUE(WaitUntil([&] { return GameTrace().presents.size() > 30; }, 60000ms))
      << game_.HowItEnded() << "\n"
      << Log("game.log");
  ASSERT_TRUE(FocusTheGame()) << State();
  ExpectEscapeQuitsCleanly();
}

// What a player downloads, in a Wine prefix made for it (which takes a
// minute or so): the zip, with its checksum beside it and its how-to-play
// as Notepad reads it, unpacked, starts the game with nothing else, and its
// vedo-kit.exe finds its data whole; the
// installer installs silently for the user, with the English pack and a
// Start-menu shortcut that plays in English, the game starts from its
// Start-menu shortcut, and the uninstaller leaves nothing of its folder.
TEST_F(WindowsGame, TheZipAndTheInstallerInAFreshPrefix) {
  const std::string packaging = std::string(VEDO_SOURCE_DIR) + "/packaging/windows/";
  ASSERT_EQ(Run({"bash", packaging + "make_zip.sh", kWindowsBuild.string(), Data().string(),
                 dir_.string()},
                "zip.log"),
            0)
      << Log("zip.log");
  ASSERT_EQ(Run({"bash", packaging + "make_installer.sh", kWindowsBuild.string(), Data().string(),
                 dir_.string()},
                "installer.log"),
            0)
      << Log("installer.log");
  fs::path zip;
  fs::path setup;
  for (const auto& entry : fs::directory_iterator(dir_)) {
    if (entry.path().extension() == ".zip") zip = entry.path();
    if (entry.path().string().ends_with("-setup.exe")) setup = entry.path();
  }
  ASSERT_FALSE(zip.empty() || setup.empty()) << Log("zip.log") << Log("installer.log");
  for (const fs::path& file : {zip, setup}) {
    const std::string sum = file.filename().string() + ".sha256";
    EXPECT_EQ(
        xsession::RunTool({"sh", "-c", "cd '" + dir_.string() + "' && sha256sum -c " + sum}, {}), 0)
        << sum;
  }
  const fs::path unpacked = dir_ / "unpacked";
  ASSERT_EQ(xsession::RunTool({"unzip", "-q", zip.string(), "-d", unpacked.string()}, {}), 0);
  const fs::path folder = unpacked / zip.stem();
  ASSERT_TRUE(fs::exists(folder / "vedo-zeza1.exe"));
  EXPECT_TRUE(fs::exists(folder / "lang/en/en.po")) << "no English pack in the zip";
  // The modder's kit that the game's messages name, on the shipped data.
  EXPECT_EQ(
      Run({kWineRun, (folder / "vedo-kit.exe").string(), "check", folder.string()}, "kit.log"), 0)
      << Log("kit.log");
  EXPECT_NE(Log("kit.log").find(": everything the game needs is there"), std::string::npos)
      << Log("kit.log");
  const std::string howTo = Log("unpacked/" + zip.stem().string() + "/HOW-TO-PLAY.txt");
  EXPECT_EQ(howTo.rfind("\xEF\xBB\xBF", 0), 0u) << "no byte-order mark";
  std::size_t lines = 0;
  std::size_t crlf = 0;
  for (std::size_t i = 1; i < howTo.size(); ++i) {
    if (howTo[i] != '\n') continue;
    ++lines;
    if (howTo[i - 1] == '\r') ++crlf;
  }
  EXPECT_TRUE(lines > 20 && crlf == lines) << crlf << " of " << lines << " lines end in CR LF";
  EXPECT_NE(howTo.find("Run anyway"), std::string::npos);

  StartWindowManager();
  const fs::path prefix = dir_ / "prefix";
  env_.emplace_back("WINEPREFIX", prefix.string());
  // No menu entries of the host's desktop from the shortcuts.
  env_.emplace_back("WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d");
  StartWindowsGame(folder, folder / "vedo-zeza1.exe");
  ASSERT_TRUE(WaitUntil([&] { return !GameTrace().presents.empty(); }, 240000ms))
      << State() << Log("game.log");
  ASSERT_TRUE(FocusTheGame()) << State();
  EXPECT_TRUE(WaitForFrames(30)) << State();
  ExpectEscapeQuitsCleanly();

  ASSERT_EQ(Run({kWineRun, setup.string(), "/S"}, "setup.log"), 0) << Log("setup.log");
  fs::path user;
  for (const auto& entry : fs::directory_iterator(prefix / "drive_c/users")) {
    if (entry.path().filename() != "Public") user = entry.path();
  }
  const fs::path installed = user / "AppData/Local/Programs/Vedo Zeza1";
  const fs::path menu = user / "AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Vedo Zeza1";
  ASSERT_TRUE(fs::exists(installed / "vedo-zeza1.exe")) << Log("setup.log");
  EXPECT_TRUE(fs::exists(installed / "vedo-kit.exe")) << "no modder's kit installed";
  const Shortcut game = ReadShortcut(menu / "Vedo Zeza1.lnk");
  const Shortcut windowed = ReadShortcut(menu / "Vedo Zeza1 (window).lnk");
  const Shortcut english = ReadShortcut(menu / "Vedo Zeza1 (English).lnk");
  const auto onDisk = [&](std::string path) {  // C:\a\b to PREFIX/drive_c/a/b
    std::replace(path.begin(), path.end(), '\\', '/');
    return path.size() > 3 ? prefix / "drive_c" / path.substr(3) : fs::path();
  };
  EXPECT_EQ(onDisk(game.target), installed / "vedo-zeza1.exe");
  EXPECT_EQ(onDisk(game.workDir), installed);
  EXPECT_EQ(game.args, "");
  EXPECT_EQ(onDisk(windowed.target), installed / "vedo-zeza1.exe");
  EXPECT_EQ(windowed.args, "--window");
  EXPECT_EQ(onDisk(english.target), installed / "vedo-zeza1.exe");
  EXPECT_EQ(english.args, "--lang en");
  EXPECT_TRUE(fs::exists(installed / "lang/en/en.po")) << "no English pack installed";
  // Started as the shortcut starts it (Wine's start does not wait for a
  // shortcut's program).
  StartWindowsGame(onDisk(game.workDir), onDisk(game.target));
  ASSERT_TRUE(WaitUntil([&] { return !GameTrace().presents.empty(); }, 60000ms))
      << State() << Log("game.log");
  ASSERT_TRUE(FocusTheGame()) << State();
  EXPECT_TRUE(WaitForFrames(30)) << State();
  ExpectEscapeQuitsCleanly();

  // The uninstaller runs from a copy of itself and returns at once; the
  // install folder goes before the Start-menu folder.
  ASSERT_EQ(Run({kWineRun, (installed / "uninstall.exe").string(), "/S"}, "uninstall.log"), 0);
  for (int i = 0; i < 300 && (fs::exists(installed) || fs::exists(menu)); ++i) {
    std::this_thread::sleep_for(200ms);
  }
  EXPECT_FALSE(fs::exists(installed)) << "left behind in " << installed;
  EXPECT_FALSE(fs::exists(menu));
}

}  // namespace
}  // namespace realwindow
