// Field frames driven pass by pass on the headless game: scrolling, the view
// and the panel, the buttons, attacks and the event window's button, death,
// the win and the rocket event.
#include <gtest/gtest.h>

#include <string>

#include "app/program.h"
#include "field/field_view.h"
#include "field/rocket.h"
#include "gfx/display.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "state/game_state.h"
#include "support/test_data.h"

namespace {

using testdata::Bgr;
using testdata::FrameColour;
using testdata::PixelAt;
using testdata::TileColour;

// A place for the pointer that neither scrolls nor presses anything: right
// of the buttons, above the bottom rows of the panel.
constexpr int kRestX = 630;
constexpr int kRestY = 400;
// Inside the event window's button.
constexpr int kWindowButtonX = 450;
constexpr int kWindowButtonY = 250;

class FieldFrames : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(game.ok());
    gInTitle = 0;
    gProloguePending = 0;
    gAppActive = 1;
    game.host.now = 1000000000;
    Move(kRestX, kRestY);
    Pass();  // the first frame populates the field
    ASSERT_EQ(gFieldReady, 1);
  }

  void Move(int x, int y) {
    platform::Event e;
    e.type = platform::EventType::kMouseMove;
    e.x = x;
    e.y = y;
    game.host.Push(e);
  }
  void Down() {
    platform::Event e;
    e.type = platform::EventType::kLeftDown;
    game.host.Push(e);
  }
  void Up() {
    platform::Event e;
    e.type = platform::EventType::kLeftUp;
    game.host.Push(e);
  }
  // One pass of the main loop: the queued input, then one scene frame.
  void Pass(int count = 1) {
    for (int i = 0; i < count; ++i) {
      platform::Event e;
      while (platform::PeekEvent(e)) WindowProc(e);
      DispatchScene();
      platform::PassCompleted();
    }
  }
  // Every cell hidden and plain, every count 0.
  void PlainField() {
    for (int r = 0; r < kFieldRows; ++r) {
      for (int c = 0; c < kFieldCols; ++c) {
        gObjectLayer[r][c] = CELL_HIDDEN;
        gCountLayer[r][c] = 0;
      }
    }
  }
  const platform::Surface& Shown() { return *platform::HeadlessShownFrame(); }
  // The colour of the standard map's ground at map cell (row, col).
  static Bgr Ground(int row, int col) { return TileColour(row * 25 + col); }

  testdata::HeadlessGame game;
};

// ---- Scrolling --------------------------------------------------------------

TEST_F(FieldFrames, ScrollsRightOnlyAtTheLastColumn) {
  Move(638, 100);
  Pass();
  EXPECT_EQ(gViewCol, 0);
  Move(639, 100);
  Pass();
  EXPECT_EQ(gViewCol, 1);
  Pass(20);
  EXPECT_EQ(gViewCol, 9);  // 25 columns, 16 shown
  Move(1, 100);
  Pass();
  EXPECT_EQ(gViewCol, 9);
  Move(0, 100);
  Pass();
  EXPECT_EQ(gViewCol, 8);
  Pass(20);
  EXPECT_EQ(gViewCol, 0);
  // The map moved, the panel did not.
  EXPECT_EQ(PixelAt(Shown(), 45, 365), Ground(18, 1));
}

TEST_F(FieldFrames, ScrollsDownFromTheMapsLastRowsAndThePanel) {
  Move(100, 358);
  Pass();
  EXPECT_EQ(gViewRow, 0);
  Move(100, 359);
  Pass();
  EXPECT_EQ(gViewRow, 1);
  Move(449, 400);
  Pass();
  EXPECT_EQ(gViewRow, 2);
  // Over the button block (x 450 and more, y 359 to 460): no scrolling.
  for (auto [x, y] : {std::pair{450, 359}, {450, 400}, {639 - 1, 460}, {450, 460}}) {
    Move(x, y);
    Pass();
    EXPECT_EQ(gViewRow, 2) << x << "," << y;
  }
  Move(450, 461);
  Pass();
  EXPECT_EQ(gViewRow, 3);
  Move(100, 479);
  Pass(20);
  EXPECT_EQ(gViewRow, 9);  // 21 map rows, 12 shown
  Move(100, 1);
  Pass();
  EXPECT_EQ(gViewRow, 9);
  Move(100, 0);
  Pass();
  EXPECT_EQ(gViewRow, 8);
  // The top left cell now shows map row 8.
  EXPECT_EQ(PixelAt(Shown(), 5, 45), Ground(9, 0));
}

TEST_F(FieldFrames, NoScrollingWhileTheWindowIsOpenOrTheRocketRuns) {
  gEventOpen = 1;
  Move(639, 479);
  Pass(3);
  EXPECT_EQ(gViewCol, 0);
  EXPECT_EQ(gViewRow, 0);
  gEventOpen = 0;
  gRocketActive = 1;
  gRocketFrame = 2;
  Pass(3);
  EXPECT_EQ(gViewCol, 0);
  EXPECT_EQ(gViewRow, 0);
  gRocketActive = 0;
  Pass();
  EXPECT_EQ(gViewCol, 1);
  EXPECT_EQ(gViewRow, 1);
}

// ---- The view and the panel -------------------------------------------------

TEST_F(FieldFrames, HiddenOpenedAndTakenCells) {
  PlainField();
  const int codes[] = {CELL_OPENED,
                       CELL_OPENED,
                       CELL_OPENED,
                       CELL_FILE_TAKEN,
                       CELL_AMMO_TAKEN,
                       CELL_SPRAY_TAKEN,
                       CELL_HUNTER_BEATEN,
                       CELL_STALKER_BEATEN,
                       3,
                       CELL_STALKER,
                       19};
  const int counts[] = {0, 3, 7, 0, 0, 0, 0, 0, 0, 0, 0};
  const int tiles[] = {18, 72, 375, 90, 371, 372, 370, 373, -1, -1, -2};
  for (int i = 0; i < 11; ++i) {
    gObjectLayer[1][i] = codes[i];
    gCountLayer[1][i] = counts[i];
  }
  ClearSurface(gBackBuffer, 0x33);
  Pass();
  for (int i = 0; i < 11; ++i) {
    const Bgr expected = tiles[i] >= 0    ? TileColour(tiles[i])
                         : tiles[i] == -1 ? Ground(1, i)
                                          : Bgr{0x33, 0x33, 0x33};  // draws nothing
    EXPECT_EQ(PixelAt(Shown(), i * 40 + 20, 60), expected) << "cell " << i;
  }
}

TEST_F(FieldFrames, PanelIndicators) {
  gWeapon = WEAPON_SHOTGUN;
  gSprays = 2;
  gAmmoShown = 120;
  gHealth = 51;
  Pass();
  EXPECT_EQ(PixelAt(Shown(), 5, 445), Ground(20, 0));    // panel from the last map rows
  EXPECT_EQ(PixelAt(Shown(), 368, 392), Ground(18, 9));  // transparent first pixel
  EXPECT_EQ(PixelAt(Shown(), 369, 393), FrameColour(3));
  EXPECT_EQ(PixelAt(Shown(), 526, 436), FrameColour(2 + 9));
  EXPECT_EQ(PixelAt(Shown(), 574, 415), FrameColour(8));
  EXPECT_EQ(PixelAt(Shown(), 571, 436), FrameColour(1 + 9));
  EXPECT_EQ(PixelAt(Shown(), 586, 436), FrameColour(2 + 9));
  EXPECT_EQ(PixelAt(Shown(), 601, 436), FrameColour(0 + 9));
  EXPECT_EQ(PixelAt(Shown(), 369, 455), FrameColour(19));

  struct Case {
    int weapon, health, markFrame, healthFrame;
  };
  for (const Case& k : {Case{WEAPON_MAGNUM, 50, 7, 20}, Case{WEAPON_KNIFE, 21, -1, 20},
                        Case{WEAPON_HANDGUN, 20, -1, 21}, Case{WEAPON_HANDGUN, -7, -1, 21}}) {
    gWeapon = k.weapon;
    gHealth = k.health;
    Pass();
    EXPECT_EQ(PixelAt(Shown(), 369, 393), FrameColour(k.weapon + 1));
    EXPECT_EQ(PixelAt(Shown(), 574, 415),
              k.markFrame < 0 ? Ground(19, 14) : FrameColour(k.markFrame));
    EXPECT_EQ(PixelAt(Shown(), 369, 455), FrameColour(k.healthFrame)) << "health " << k.health;
  }
}

TEST_F(FieldFrames, LargeCountsShowNines) {
  gSprays = 12;
  gAmmoShown = 1500;
  Pass(2);
  EXPECT_EQ(PixelAt(Shown(), 526, 436), FrameColour(18));
  for (int x : {571, 586, 601}) EXPECT_EQ(PixelAt(Shown(), x, 436), FrameColour(18));
}

// The empty-gun mark -1 is drawn 0, 0, -1 (frames 9, 9, 8) and then a 0
// over the units.
TEST_F(FieldFrames, EmptyGunMarkShowsZeros) {
  gAmmoShown = -1;
  Pass(2);
  for (int x : {571, 586, 601}) EXPECT_EQ(PixelAt(Shown(), x, 436), FrameColour(9));
}

// The digits are those of the count as the frame began, before the
// buttons act.
TEST_F(FieldFrames, AmmunitionDigitsFromTheFramesStart) {
  gWeapon = WEAPON_HANDGUN;
  gAmmoShown = 120;
  gAmmoShotgun = 12;
  Move(540, 390);  // the shotgun button
  Down();
  Pass();
  EXPECT_EQ(gAmmoShown, 12);
  EXPECT_EQ(PixelAt(Shown(), 571, 436), FrameColour(1 + 9));
  EXPECT_EQ(PixelAt(Shown(), 586, 436), FrameColour(2 + 9));
  EXPECT_EQ(PixelAt(Shown(), 601, 436), FrameColour(0 + 9));
  Pass();
  EXPECT_EQ(PixelAt(Shown(), 571, 436), FrameColour(0 + 9));
  EXPECT_EQ(PixelAt(Shown(), 586, 436), FrameColour(1 + 9));
  EXPECT_EQ(PixelAt(Shown(), 601, 436), FrameColour(2 + 9));
}

// A game that starts while the panel still holds the last game's empty mark:
// the digits are those of -1, but the count is no longer negative when the
// panel is drawn, so the units keep frame 8 for that one frame.
TEST_F(FieldFrames, FirstFrameOfAGameAfterAnEmptyMark) {
  gFieldReady = 0;
  gAmmoShown = -1;
  Pass();
  EXPECT_EQ(gAmmoShown, 120);
  EXPECT_EQ(PixelAt(Shown(), 586, 436), FrameColour(9));
  EXPECT_EQ(PixelAt(Shown(), 601, 436), FrameColour(8));
  Pass();
  EXPECT_EQ(PixelAt(Shown(), 601, 436), FrameColour(9));
  EXPECT_EQ(PixelAt(Shown(), 571, 436), FrameColour(10));
}

TEST_F(FieldFrames, PointerHighlightSnapsToTheGrid) {
  Move(85, 130);
  Pass();
  EXPECT_EQ(PixelAt(Shown(), 81, 121), FrameColour(0));
  EXPECT_EQ(PixelAt(Shown(), 119, 159), FrameColour(0));
  EXPECT_EQ(PixelAt(Shown(), 80, 120), Ground(3, 2));  // transparent corner
  EXPECT_EQ(PixelAt(Shown(), 79, 121), Ground(3, 1));
  gEventOpen = 1;
  Pass();
  EXPECT_EQ(PixelAt(Shown(), 81, 121), Ground(3, 2));
  gEventOpen = 0;
  Move(465, 360);  // over the button block: no scrolling
  Pass();
  EXPECT_EQ(PixelAt(Shown(), 461, 321), Ground(8, 11));
}

TEST_F(FieldFrames, NegativeGroundNumbersDrawTheirAbsoluteValue) {
  for (int r = 0; r < gMapRows; ++r) {
    for (int c = 0; c < gMapCols; ++c) gGroundLayer[r][c] = -(r * 25 + c);
  }
  Pass();
  EXPECT_EQ(PixelAt(Shown(), 45, 85), Ground(2, 1));
  EXPECT_EQ(PixelAt(Shown(), 45, 445), Ground(20, 1));
}

// ---- Panel buttons ------------------------------------------------------------

TEST_F(FieldFrames, ButtonEdgesAndGaps) {
  gAmmoHandgun = 11;
  gAmmoShotgun = 22;
  gAmmoMagnum = 33;
  constexpr int kNone = -9;
  struct Case {
    int x, y, weapon;
  };
  const Case cases[] = {
      {470, 377, 1},     {519, 412, 1}, {469, 390, kNone}, {500, 376, kNone}, {520, 390, kNone},
      {521, 390, kNone}, {522, 377, 2}, {571, 412, 2},     {572, 390, kNone}, {573, 390, kNone},
      {574, 377, 3},     {623, 412, 3}, {624, 390, kNone}, {500, 413, kNone}, {500, 414, kNone},
      {470, 415, 0},     {519, 450, 0}, {500, 451, kNone}, {600, 430, kNone}, {469, 430, kNone},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::to_string(k.x) + "," + std::to_string(k.y));
    gWeapon = kNone;
    gAmmoShown = 555;
    Move(k.x, k.y);
    Down();
    Pass();
    Up();
    Pass();
    EXPECT_EQ(gWeapon, k.weapon);
    const int shown[] = {11, 11, 22, 33};
    EXPECT_EQ(gAmmoShown, k.weapon == kNone ? 555 : shown[k.weapon]);
  }
}

// A held button acts on every frame: no debounce on the panel.
TEST_F(FieldFrames, PanelButtonsRepeatWhileHeld) {
  gClickDelay = 0;
  Move(490, 390);
  Down();
  Pass();
  EXPECT_EQ(gWeapon, WEAPON_HANDGUN);
  gWeapon = WEAPON_MAGNUM;
  Pass();
  EXPECT_EQ(gWeapon, WEAPON_HANDGUN);
  // The buttons are dead while the window is open.
  gEventOpen = 1;
  gWeapon = WEAPON_MAGNUM;
  Pass();
  EXPECT_EQ(gWeapon, WEAPON_MAGNUM);
}

TEST_F(FieldFrames, SprayButton) {
  struct Case {
    int health, sprays, healthAfter, spraysAfter, opens;
  };
  for (const Case& k : {Case{100, 2, 100, 2, 0}, Case{99, 2, 100, 1, 1}, Case{30, 2, 100, 1, 1},
                        Case{10, 2, 90, 1, 1}, Case{10, 0, 10, 0, 0}}) {
    SCOPED_TRACE("health " + std::to_string(k.health) + " sprays " + std::to_string(k.sprays));
    gEventOpen = 0;
    gEventNumber = 0;
    gHealth = k.health;
    gSprays = k.sprays;
    Move(540, 430);
    Down();
    Pass(2);  // held: the open window stops a second use
    Up();
    EXPECT_EQ(gHealth, k.healthAfter);
    EXPECT_EQ(gSprays, k.spraysAfter);
    EXPECT_EQ(gEventOpen, k.opens);
    EXPECT_EQ(gEventNumber, k.opens ? EV_SPRAY_USED : 0);
  }
}

// ---- Attacks, the window's button and the debounce ----------------------------

TEST_F(FieldFrames, AttackOpensTheCellAndTheWindow) {
  PlainField();
  gObjectLayer[2][3] = CELL_AMMO;
  gRocketTimer = 500;
  Pass(6);
  Move(3 * 40 + 5, 2 * 40 + 5);
  Down();
  Pass();
  EXPECT_EQ(gObjectLayer[2][3], CELL_AMMO_TAKEN);
  EXPECT_EQ(gEventOpen, 1);
  EXPECT_EQ(gEventNumber, EV_AMMO);
  EXPECT_EQ(gClickDelay, 1);
  EXPECT_EQ(gRocketTimer, 456);  // 506 - 50, and no counting with the window open
  // The window is drawn over the map in the same frame.
  EXPECT_EQ(PixelAt(Shown(), 170, 70), testdata::PictureColour("eventwin.bmp"));
}

TEST_F(FieldFrames, NoAttackOnOpenedCellsOrDuringTheRocket) {
  PlainField();
  gObjectLayer[2][3] = CELL_OPENED;
  gObjectLayer[2][4] = CELL_HUNTER_BEATEN;
  Pass(6);
  Move(3 * 40 + 5, 2 * 40 + 5);
  Down();
  Pass();
  Move(4 * 40 + 5, 2 * 40 + 5);
  Pass();
  EXPECT_EQ(gEventOpen, 0);
  EXPECT_EQ(gEncounters, 0);
  gRocketActive = 1;
  gRocketFrame = 2;
  Move(5 * 40 + 5, 2 * 40 + 5);
  Pass();
  EXPECT_EQ(gObjectLayer[2][5], CELL_HIDDEN);
}

TEST_F(FieldFrames, ClickDebounceAfterClosingTheWindow) {
  PlainField();
  gEventOpen = 1;
  gEventNumber = EV_ZOMBIE;
  gClickDelay = 6;
  Move(kWindowButtonX, kWindowButtonY);
  Down();
  Pass();
  EXPECT_EQ(gEventOpen, 0);
  EXPECT_EQ(gEventFrames, 0);
  // Still held, now over a hidden cell: refused for five frames.
  Move(5, 5);
  for (int i = 1; i <= 5; ++i) {
    Pass();
    EXPECT_EQ(gObjectLayer[0][0], CELL_HIDDEN) << "frame " << i << " after closing";
  }
  Pass();
  EXPECT_EQ(gObjectLayer[0][0], CELL_OPENED);
  EXPECT_EQ(gEventOpen, 1);
}

TEST_F(FieldFrames, WindowButtonEdgesAndDelay) {
  gClickDelay = 5;
  gEventOpen = 1;
  gEventNumber = EV_AMMO;
  Move(kWindowButtonX, kWindowButtonY);
  Down();
  Pass();
  EXPECT_EQ(gEventOpen, 1);  // delay 5: too soon
  for (auto [x, y] : {std::pair{440, 250}, {470, 250}, {450, 216}, {450, 296}}) {
    Move(x, y);
    Pass();
    EXPECT_EQ(gEventOpen, 1) << x << "," << y;
  }
  for (auto [x, y] : {std::pair{441, 217}, {469, 295}}) {
    gEventOpen = 1;
    Move(x, y);
    Pass();
    EXPECT_EQ(gEventOpen, 0) << x << "," << y;
    gClickDelay = 6;
  }
}

TEST_F(FieldFrames, ClosingWithNoRoundsShownMarksTheGunEmpty) {
  gEventOpen = 1;
  gEventNumber = EV_HUNTER;
  gClickDelay = 6;
  gWeapon = WEAPON_SHOTGUN;
  gAmmoShotgun = 0;
  gAmmoShown = 0;
  Move(kWindowButtonX, kWindowButtonY);
  Down();
  Pass();
  EXPECT_EQ(gAmmoShown, -1);
  // Choosing the weapon again shows 0.
  Move(540, 390);
  Pass();
  EXPECT_EQ(gAmmoShown, 0);
}

TEST_F(FieldFrames, RevivalNeedsThreePresses) {
  gEventOpen = 1;
  gEventNumber = EV_ZOMBIE;
  gHealth = -10;
  gSprays = 2;
  gClickDelay = 6;
  Move(kWindowButtonX, kWindowButtonY);
  Down();
  Pass();  // a one-frame press
  Up();
  EXPECT_EQ(gEventNumber, EV_REVIVED);
  EXPECT_EQ(gRetryCount, 1);
  Pass(3);
  EXPECT_EQ(gAlive, 1);
  EXPECT_EQ(gRetryCount, 1);
  Down();
  Pass();
  EXPECT_EQ(gRetryCount, 2);
  EXPECT_EQ(gHealth, -10);
  Pass();
  EXPECT_EQ(gRetryCount, 0);
  EXPECT_EQ(gHealth, 50);
  EXPECT_EQ(gSprays, 1);
  EXPECT_EQ(gEventOpen, 1);
  EXPECT_EQ(gAlive, 1);
  // Still held: the next press counts only six frames later, and closes.
  Pass(5);
  EXPECT_EQ(gEventOpen, 1);
  Pass();
  EXPECT_EQ(gEventOpen, 0);
  EXPECT_EQ(gAlive, 1);
}

TEST_F(FieldFrames, EscapeOnTheThirdPressWithTheFinalScore) {
  gEventOpen = 1;
  gEventNumber = EV_FILE;
  gFilesLeft = 0;
  gClickDelay = 6;
  gScore = 3600;
  gEncounters = 5;
  gFinds = 5;
  gAmmoHandgun = 120;
  gAmmoShotgun = 24;
  gAmmoMagnum = 8;
  Move(kWindowButtonX, kWindowButtonY);
  Down();
  Pass();
  EXPECT_EQ(gEventNumber, EV_ESCAPED);
  Pass();
  EXPECT_EQ(gEventOpen, 1);
  EXPECT_EQ(gEnding, 0);
  Pass();
  EXPECT_EQ(gEventOpen, 0);
  EXPECT_EQ(gRetryCount, 0);
  EXPECT_EQ(gEnding, 1);
  EXPECT_EQ(gScore, 3600 + 320 + 2000 + 1000);
  EXPECT_EQ(gGrade, 4);
}

TEST_F(FieldFrames, DeathInTheClosingFrame) {
  struct Case {
    int hard, sprays;
  };
  for (const Case& k : {Case{1, 1}, Case{0, 0}}) {
    SCOPED_TRACE("hard " + std::to_string(k.hard) + " sprays " + std::to_string(k.sprays));
    gAlive = 1;
    gHardMode = k.hard;
    gSprays = k.sprays;
    gEventOpen = 1;
    gEventNumber = EV_STALKER;
    gHealth = 0;
    gClickDelay = 6;
    Pass();
    EXPECT_EQ(gAlive, 1);  // death waits while the window is open
    Move(kWindowButtonX, kWindowButtonY);
    Down();
    Pass();
    Up();
    EXPECT_EQ(gEventOpen, 0);
    EXPECT_EQ(gAlive, 0);
    EXPECT_EQ(gSprays, k.sprays);
  }
}

// ---- Hint lines ----------------------------------------------------------------

TEST_F(FieldFrames, HintLinesWhileThePointerRests) {
  PlainField();
  gObjectLayer[4][4] = CELL_OPENED;
  gCountLayer[4][4] = 1;
  gObjectLayer[3][3] = CELL_AMMO_TAKEN;
  Move(4 * 40 + 5, 4 * 40 + 5);
  Pass();
  EXPECT_EQ(PixelAt(Shown(), 210, 372), (Bgr{0, 0, 0}));
  EXPECT_EQ(PixelAt(Shown(), 135, 435), (Bgr{0, 0, 0}));
  gEventOpen = 1;
  Pass();
  EXPECT_EQ(PixelAt(Shown(), 210, 372), Ground(18, 5));
  gEventOpen = 0;
  gCountLayer[4][4] = 0;
  Pass();
  EXPECT_EQ(PixelAt(Shown(), 210, 372), Ground(18, 5));
}

// ---- The rocket event ------------------------------------------------------------

TEST_F(FieldFrames, RocketStartsTheFrameAfterTheTimerReaches1000) {
  gRocketTimer = 998;
  gRocketFrame = 0;
  gRocketStep = 0;
  Pass();
  EXPECT_EQ(gRocketTimer, 999);
  Pass();
  EXPECT_EQ(gRocketTimer, 1000);
  EXPECT_EQ(gRocketActive, 0);
  Pass();
  EXPECT_EQ(gRocketActive, 1);
  EXPECT_EQ(gRocketFrame, 0);
  EXPECT_EQ(gRocketTimer, 1000);
  Pass();
  EXPECT_EQ(gRocketFrame, 1);
}

TEST_F(FieldFrames, DueRocketWaitsForTheWindow) {
  gRocketTimer = 1000;
  gEventOpen = 1;
  gEventNumber = EV_AMMO;
  Pass(3);
  EXPECT_EQ(gRocketActive, 1);
  EXPECT_EQ(gRocketFrame, 0);
  gClickDelay = 6;
  Move(kWindowButtonX, kWindowButtonY);
  Down();
  Pass();
  Up();
  EXPECT_EQ(gEventOpen, 0);
  EXPECT_EQ(gRocketFrame, 1);  // the driver ran in the closing frame
}

class RocketFrames : public FieldFrames {
 protected:
  // Runs a rocket event from its current frame with the pointer at laneX at
  // frame 15 and at figureX afterwards; returns the passes it took.
  int RunEvent(int laneX, int figureX) {
    gRocketActive = 1;
    int passes = 0;
    while (gEventOpen == 0 && passes < 100) {
      if (gRocketFrame == 15) Move(laneX, 100);
      if (gRocketFrame == 16) Move(figureX, 100);
      Pass();
      ++passes;
    }
    return passes;
  }
  void CloseWindow() {
    gClickDelay = 6;
    Move(kWindowButtonX, kWindowButtonY);
    Down();
    Pass();
    Up();
  }
};

TEST_F(RocketFrames, FirstEventLasts21FramesAndLaterOnes19) {
  gRocketFrame = 0;
  gRocketStep = 0;
  const std::uint64_t flips = platform::VideoFlipCount();
  EXPECT_EQ(RunEvent(100, 600), 21);
  EXPECT_EQ(platform::VideoFlipCount() - flips, 21u + 5u);  // five steps, two flips each
  EXPECT_EQ(gRocketTimer, 0);
  EXPECT_EQ(gRocketActive, 0);
  EXPECT_EQ(gRocketFrame, 1);
  EXPECT_EQ(gRocketStep, 1);
  CloseWindow();
  EXPECT_EQ(gRocketTimer, 1);

  for (int event = 2; event <= 3; ++event) {
    gRocketTimer = 1000;
    Pass();
    ASSERT_EQ(gRocketActive, 1);
    const std::uint64_t before = platform::VideoFlipCount();
    EXPECT_EQ(RunEvent(100, 600), 19) << "event " << event;
    EXPECT_EQ(platform::VideoFlipCount() - before, 19u + 4u);
    CloseWindow();
  }
}

TEST_F(RocketFrames, HitAndMissByLaneAndPointer) {
  struct Case {
    int laneX, figureX, lane;
    bool hit;
  };
  const Case cases[] = {
      {100, 60, 1, true},
      {100, 61, 1, true},
      {100, 200, 1, true},
      {100, 479, 1, true},
      {100, 480, 1, false},
      {100, 639, 1, false},
      {300, 60, 2, false},
      {300, 61, 2, true},
      {300, 579, 2, true},
      {300, 580, 2, false},
      {500, 159, 3, false},
      {500, 0, 3, false},
      {500, 160, 3, true},
      {500, 639, 3, true},
      {219, 480, 1, false},
      {221, 480, 2, true},
      {419, 600, 2, false},
      {421, 600, 3, true},
      // The boundary positions belong to a lane too.
      {0, 480, 1, false},
      {220, 600, 2, false},
      {420, 100, 3, false},
      {420, 600, 3, true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE("lane x " + std::to_string(k.laneX) + " figure x " + std::to_string(k.figureX));
    gHealth = 100;
    gScore = 1000;
    gRocketColumn = 0;
    RunEvent(k.laneX, k.figureX);
    EXPECT_EQ(gRocketColumn, k.lane);
    EXPECT_EQ(gEventOpen, 1);
    EXPECT_EQ(gEventNumber, k.hit ? EV_ROCKET_HIT : EV_ROCKET_DODGED);
    EXPECT_EQ(gHealth, k.hit ? 30 : 100);
    EXPECT_EQ(gScore, k.hit ? 950 : 1050);
    CloseWindow();
  }
}

// The lane is fixed at frame 15; only the figure follows the pointer later.
TEST_F(RocketFrames, LaneFixedOnceFigureFollows) {
  gRocketFrame = 0;
  gRocketStep = 0;
  gRocketActive = 1;
  Move(500, 100);
  Pass(16);  // frames 0 to 15
  EXPECT_EQ(gRocketColumn, 3);
  Move(100, 100);
  Pass();  // frame 16: step 0
  EXPECT_EQ(gRocketColumn, 3);
  // The step's own flip showed the rocket; the frame's flip brought the
  // older page back, so the rocket frame is left in the back buffer.
  EXPECT_EQ(PixelAt(*gBackBuffer, 511, 366), FrameColour(45));
  EXPECT_EQ(PixelAt(*gBackBuffer, 231, 215), FrameColour(51));
  EXPECT_NE(PixelAt(Shown(), 511, 366), FrameColour(45));
  Move(600, 100);
  Pass();  // step 1
  EXPECT_EQ(PixelAt(*gBackBuffer, 471, 332), FrameColour(46));
  EXPECT_EQ(PixelAt(*gBackBuffer, 381, 215), FrameColour(51));
  Pass(3);
  EXPECT_EQ(gEventNumber, EV_ROCKET_HIT);  // lane 3 hits the figure at 180
}

TEST(RocketRules, FigureOffsetsAndLanes) {
  const int x[] = {-5, 0, 60, 61, 159, 160, 319, 320, 479, 480, 579, 580, 639};
  const int p[] = {0, 0, 0, 30, 30, 60, 60, 120, 120, 150, 150, 180, 180};
  for (int i = 0; i < 13; ++i) EXPECT_EQ(RocketPlayerOffset(x[i]), p[i]) << "x " << x[i];
  EXPECT_EQ(RocketLane(0), 1);
  EXPECT_EQ(RocketLane(219), 1);
  EXPECT_EQ(RocketLane(220), 2);
  EXPECT_EQ(RocketLane(419), 2);
  EXPECT_EQ(RocketLane(420), 3);
  EXPECT_EQ(RocketLane(639), 3);
}

}  // namespace
