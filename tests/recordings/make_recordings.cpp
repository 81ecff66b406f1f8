// Makes the recordings of this folder by playing the real Linux game in a
// real window, through the mouse, as the real-window tests do: a won game, a
// death, and a hard game. Run it by hand (see README.md); each case checks
// that its game went where it should, and that its recording plays back to
// its digest, before it is written to VEDO_MAKE_RECORDINGS or here.
//
// To win, the player must know where the files lie: the press that starts
// the field is made just after a second begins, so that the field is the
// one that second seeds, and the same population here shows it.
#include <ctime>

#include "field/population.h"
#include "formats/bmp_file.h"
#include "state/data_contract.h"
#include "state/game_state.h"
#include "window/walk.h"

namespace realwindow {
namespace {

// The frame a picture of the data folder fills.
pngio::RgbImage Picture(const char* name) {
  platform::Image image;
  platform::LoadBmpFile((fs::path(VEDO_BINARY_DIR) / "data" / name).c_str(), image);
  pngio::RgbImage frame{image.width, image.height, image.pixels};
  for (std::size_t i = 0; i + 2 < frame.rgb.size(); i += 3)
    std::swap(frame.rgb[i], frame.rgb[i + 2]);
  return frame;
}

class MakeRecording : public RealWindowWalk {
 protected:
  pngio::RgbImage Screen() {
    std::string why;
    TakeShot(shot_, why);
    return FrameOnScreen(shot_);
  }

  // From the title to a new field, recording; the field laid out here too.
  void ToTheField(bool hard) {
    StartWindowManager();
    StartGame(Data(), {"--record", (dir_ / "game.vzr").string()});
    ASSERT_TRUE(WaitForFrames(20, 20000ms)) << State();
    ASSERT_TRUE(FocusTheGame());
    const int startX = hard ? 430 : kNormalStartX;
    for (auto [x, y] :
         {std::pair{kNeutralX, kNeutralY}, {startX, kNormalStartY}, {kPageButtonX, kPageButtonY}}) {
      MoveTo(ScreenX(x), ScreenY(y));
      ASSERT_TRUE(PressUntilChange(Screen())) << Failure("to the field");
    }
    ASSERT_TRUE(WaitForFrames(13));
    const pngio::RgbImage page = Screen();
    const std::time_t second = std::time(nullptr);
    while (std::time(nullptr) == second) std::this_thread::sleep_for(1ms);
    Press(true);
    ASSERT_TRUE(WaitForChange(page, 1500ms)) << Failure("field");
    PopulateFieldFromSeed(static_cast<std::uint32_t>(second + 1));
    viewCol_ = viewRow_ = 0;
  }

  // Scrolls the view to the corner from which the cell shows, and points
  // at it.
  void PointAt(int col, int row) {
    const int wantCol = col < kViewCols ? 0 : kFieldCols - kViewCols;
    const int wantRow = row < kViewRows ? 0 : kFieldRows - kViewRows;
    if (wantCol != viewCol_) {
      MoveTo(wantCol ? kRightBarX : kLeftBarX, ScreenY(200));
      ASSERT_TRUE(WaitForFrames(20));
    }
    if (wantRow != viewRow_) {
      MoveTo(ScreenX(100), ScreenY(wantRow ? 470 : 0));
      ASSERT_TRUE(WaitForFrames(20));
    }
    viewCol_ = wantCol;
    viewRow_ = wantRow;
    MoveTo(ScreenX((col - viewCol_) * kCellPixels + 20),
           ScreenY((row - viewRow_) * kCellPixels + 20));
  }

  // Whether the event window shows: its picture's top row is on the screen
  // at (162, 61).
  bool WindowShows() {
    const pngio::RgbImage screen = FrameOnScreen(shot_);
    const std::size_t row = static_cast<std::size_t>(window_.width) * 3;
    return std::equal(window_.rgb.begin(), window_.rgb.begin() + row,
                      screen.rgb.begin() + (61 * 640 + 162) * 3);
  }

  // Attacks the cell and closes its event window (past a revival or escape
  // page).
  void Attack(int col, int row) {
    PointAt(col, row);
    ASSERT_TRUE(PressUntilChange(Screen())) << Failure("attack");
    ASSERT_TRUE(WindowShows()) << Failure("the event window");
    MoveTo(ScreenX(kEventButtonX), ScreenY(kEventButtonY));
    for (int page = 0; page < 3 && WindowShows(); ++page) {
      ASSERT_TRUE(PressUntilChange(Screen())) << Failure("the event window's button");
    }
    ASSERT_FALSE(WindowShows()) << Failure("the event window stays");
    gObjectLayer[row][col] = CELL_OPENED;
  }

  // Attacks plain cells until the death screen shows, and leaves it.
  void FightToDeath() {
    for (int row = 0; row < kFieldRows && !Dead(); ++row) {
      for (int col = 0; col < kFieldCols && !Dead(); ++col) {
        if (gObjectLayer[row][col] == CELL_HIDDEN) Attack(col, row);
        if (HasFatalFailure()) return;
      }
    }
    ASSERT_TRUE(Dead()) << Failure("death");
    ASSERT_TRUE(PressUntilChange(died_)) << Failure("after the death");
  }

  bool Dead() { return FrameDifferences(shot_, died_).empty(); }

  // Quits, checks the recording plays back, and keeps it as NAME.vzr.
  void Keep(const std::string& name) {
    ExpectEscapeQuitsCleanly();
    Process run({.argv = {std::string(VEDO_BINARY_DIR) + "/tools/replay/vedo-replay", "--data",
                          Data().string(), "--play", (dir_ / "game.vzr").string()},
                 .out = dir_ / "replay.log"});
    ASSERT_EQ(run.Wait(60000ms), 0) << Log("replay.log");
    const char* out = std::getenv("VEDO_MAKE_RECORDINGS");
    const fs::path folder =
        out != nullptr ? fs::path(out) : fs::path(VEDO_SOURCE_DIR) / "tests/recordings";
    fs::copy_file(dir_ / "game.vzr", folder / (name + ".vzr"),
                  fs::copy_options::overwrite_existing);
  }

  const pngio::RgbImage died_ = Picture("died.bmp");
  const pngio::RgbImage window_ = Picture("eventwin.bmp");
  int viewCol_ = 0;
  int viewRow_ = 0;
};

TEST_F(MakeRecording, AWin) {
  ToTheField(false);
  for (int file = CELL_FILE; file < CELL_FILE + kFiles && !HasFatalFailure(); ++file) {
    for (int r = 0; r < kFieldRows; ++r) {
      for (int c = 0; c < kFieldCols; ++c) {
        if (gObjectLayer[r][c] == file) Attack(c, r);
      }
    }
  }
  // The ending runs half a minute, then the title comes back.
  ASSERT_EQ(WaitFor(Picture("Title.bmp"), 60000ms), "") << Failure("the title after the ending");
  Keep("linux-win");
}

TEST_F(MakeRecording, ADeath) {
  ToTheField(false);
  FightToDeath();
  Keep("linux-death");
}

// Hard: the shotgun chosen, then the magnum, whose four rounds go first.
TEST_F(MakeRecording, AHardGame) {
  ToTheField(true);
  for (auto [x, y] : {std::pair{546, 394}, {598, 394}}) {
    MoveTo(ScreenX(x), ScreenY(y));
    ASSERT_TRUE(PressUntilChange(Screen())) << Failure("panel button");
  }
  FightToDeath();
  Keep("linux-hard");
}

}  // namespace
}  // namespace realwindow
