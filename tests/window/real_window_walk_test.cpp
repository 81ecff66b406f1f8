// The real Linux game walked from the title to its first fights (see
// walk.h), and its diagnostics.
#include "window/walk.h"

namespace realwindow {
namespace {

// The game is kept with the player's last ones as --record wrote it. Then
// its recording, played in the window at its own speed, ends on the screen
// the walk ended on; Escape closes it.
TEST_F(RealWindowWalk, FromTheTitleThroughThePrologueToTheFirstFights) {
  Walk();
  if (HasFatalFailure()) return;
  const auto bytes = [](const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  const fs::path kept = dir_ / "state/vedo-zeza1/recordings";
  ASSERT_TRUE(fs::is_directory(kept)) << Log("game.log");
  ASSERT_EQ(std::distance(fs::directory_iterator(kept), {}), 1);
  EXPECT_EQ(bytes(fs::directory_iterator(kept)->path()), bytes(dir_ / "walk.vzr"));
  StartGame(Data(), {"--play", (dir_ / "walk.vzr").string()});
  ASSERT_TRUE(WaitUntil(
      [&] { return Log("game.log").find("came out as recorded") != std::string::npos; }, 120000ms))
      << Log("game.log");
  const std::string why = WaitFor(lastFrame_, 3000ms);
  EXPECT_EQ(why, "") << Failure("played");
  ExpectEscapeQuitsCleanly();
}

// The diagnostics the measurements rely on, on the real program: the game
// state set before the first pass puts it straight into the ending, and the
// trace marks the music's start on the ending's music frame (its 43rd pass,
// so after 42 frames), after which the frames go on.
TEST_F(RealWindowWalk, DiagnosticsOpenTheEndingAndMarkItsMusic) {
  ASSERT_TRUE(fs::exists(Data() / "Ending.mid")) << "the data kit has not been generated";
  StartWindowManager();
  env_.emplace_back("VEDO_DEBUG_SET", "gInTitle=0,gProloguePending=0,gEnding=1");
  StartGame(Data());
  std::int64_t mark = 0;
  WaitUntil([&] { return (mark = GameTrace().Mark("music-start")) != 0; }, 20000ms);
  ASSERT_NE(mark, 0) << "no music start: " << State() << Log("game.log");
  EXPECT_EQ(GameTrace().PresentsBetween(0, mark), 42);
  EXPECT_GT(FramesWithin(2000ms, 10), 10) << "the ending stopped";
  ExpectEscapeQuitsCleanly();
}

}  // namespace
}  // namespace realwindow
