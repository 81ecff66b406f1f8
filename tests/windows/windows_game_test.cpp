// The real Windows game under Wine, on an X screen of its own with a window
// manager: the same walk as the Linux game's (window/walk.h), from the title
// to the first fights with the focus lost and regained on the way, its
// screens matching the Linux replay's frames exactly; Escape ends
// it with exit code 0 after the full shut-down. Without a sound card it
// plays silent after one warning line; with one, the title's click is heard.
// A missing map ends it with exit code 1 and the loader's line. The release
// zip, unpacked into a Wine prefix made for it, starts the game alone.
#include "window/walk.h"

namespace realwindow {
namespace {

const fs::path kWindowsBuild = VEDO_WINDOWS_BUILD_DIR;

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

  // The build's game, or `program`, started under Wine in `data`.
  void StartWindowsGame(const fs::path& data, const fs::path& program = {}) {
    fs::remove(trace_);
    game_ = Process(
        {.argv = {std::string(VEDO_SOURCE_DIR) + "/tests/windows/wine_run.sh",
                  (program.empty() ? kWindowsBuild / "src/vedo-zeza1.exe" : program).string()},
         .env = env_,
         .workDir = data,
         .out = dir_ / "game.log"});
  }

  void StartTheGame(const fs::path& data) override {
    StartWindowsGame(data);
    // Wine takes seconds to start, and the window manager may not hand its
    // new window the focus: the test gives it once the first frame is out.
    if (WaitUntil([&] { return !GameTrace().presents.empty(); }, 60000ms)) {
      EXPECT_TRUE(FocusTheGame()) << State();
    }
  }
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
// click's sound, and the measure tells it from another effect.
TEST_F(WindowsGame, TheTitleClickIsHeard) {
  StartWindowManager();
  const fs::path capture = dir_ / "capture.wav";
  xsession::WriteAlsaFileConfig(dir_ / "asound.conf", capture);
  env_.emplace_back("ALSA_CONFIG_PATH", (dir_ / "asound.conf").string());
  const Frames& frames = Rendered(Now(), Now(), Now());
  StartTheGame(Data());
  ASSERT_EQ(WaitFor(frames.at("title"), 20000ms), "") << Failure("sound_title");
  MoveTo(ScreenX(kNeutralX), ScreenY(kNeutralY));
  ASSERT_EQ(PressUntil(frames.at("warning")), "") << Failure("sound_warning");
  // The sound's length, and a little more, before the game ends.
  ASSERT_TRUE(WaitForFrames(120, 10000ms)) << State();
  ExpectEscapeQuitsCleanly();
  EXPECT_EQ(Log("game.log").find("no audio device"), std::string::npos) << Log("game.log");

  const auto match = [&](const char* sound) {
    return xsession::RunTool({VEDO_CAPTURE_MATCH, (Data() / sound).string(), capture.string()}, {},
                             dir_ / "match.log", 120000ms);
  };
  EXPECT_EQ(match("main.wav"), 0) << Log("match.log");
  EXPECT_EQ(match("died.wav"), 1) << Log("match.log");
}

TEST_F(WindowsGame, TheZipStartsInAFreshPrefixWithNothingElse) {
  ASSERT_EQ(
      xsession::RunTool({"bash", std::string(VEDO_SOURCE_DIR) + "/packaging/windows/make_zip.sh",
                         kWindowsBuild.string(), Data().string(), dir_.string()},
                        {}, dir_ / "zip.log", 120000ms),
      0)
      << Log("zip.log");
  fs::path zip;
  for (const auto& entry : fs::directory_iterator(dir_)) {
    if (entry.path().extension() == ".zip") zip = entry.path();
  }
  ASSERT_FALSE(zip.empty()) << Log("zip.log");
  const fs::path unpacked = dir_ / "unpacked";
  ASSERT_EQ(xsession::RunTool({"unzip", "-q", zip.string(), "-d", unpacked.string()}, {}), 0);
  const fs::path folder = unpacked / zip.stem();
  ASSERT_TRUE(fs::exists(folder / "vedo-zeza1.exe"));

  StartWindowManager();
  env_.emplace_back("WINEPREFIX", (dir_ / "prefix").string());
  StartWindowsGame(folder, folder / "vedo-zeza1.exe");
  // The prefix is made first, which takes a minute or so.
  ASSERT_TRUE(WaitUntil([&] { return !GameTrace().presents.empty(); }, 240000ms))
      << State() << Log("game.log");
  ASSERT_TRUE(FocusTheGame()) << State();
  EXPECT_TRUE(WaitForFrames(30)) << State();
  ExpectEscapeQuitsCleanly();
}

TEST_F(WindowsGame, MissingMapEndsWithCodeOne) {
  const fs::path data = dir_ / "data";
  fs::copy(Data(), data);
  fs::remove(data / "city.map");
  StartWindowsGame(data);
  EXPECT_EQ(game_.Wait(60000ms), 1) << game_.HowItEnded() << "\n" << Log("game.log");
  EXPECT_NE(Log("game.log").find("LoadMap: File Not Found.\n"), std::string::npos)
      << Log("game.log");
}

}  // namespace
}  // namespace realwindow
