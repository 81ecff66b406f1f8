// What one attack does: the fight tables, the finds, the files, the rocket
// timer and the draws.
#include "combat/combat.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "platform/platform.h"
#include "state/game_state.h"
#include "state/random.h"
#include "support/test_data.h"

namespace {

// The attacked cell: the pointer at (100, 140) with the view at (2, 3) is
// column 2 + 2 = 4, row 3 + 3 = 6.
constexpr int kCol = 4;
constexpr int kRow = 6;

// The first second from `from` on whose first draw modulo 4 is 0 (Cerberus)
// or not (zombie).
std::int64_t SecondWithRoll(bool cerberus, std::int64_t from = 1000000000) {
  for (std::int64_t t = from;; ++t) {
    SeedRandom(static_cast<std::uint32_t>(t));
    if ((NextRandom() % 4 == 0) == cerberus) return t;
  }
}

class Combat : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    platform::UseHeadlessBackend(&host);
    for (auto& row : gObjectLayer) {
      for (int& cell : row) cell = CELL_HIDDEN;
    }
    gMouseX = 100;
    gMouseY = 140;
    gViewCol = 2;
    gViewRow = 3;
    host.now = SecondWithRoll(false);
  }
  void TearDown() override {
    platform::UseHeadlessBackend(nullptr);
    ResetGameState();
  }

  // Equips `weapon` with `rounds` in its counter (and on the panel).
  void Equip(int weapon, int rounds) {
    gWeapon = weapon;
    gAmmoHandgun = gAmmoShotgun = gAmmoMagnum = 50;
    if (weapon == WEAPON_HANDGUN) gAmmoHandgun = rounds;
    if (weapon == WEAPON_SHOTGUN) gAmmoShotgun = rounds;
    if (weapon == WEAPON_MAGNUM) gAmmoMagnum = rounds;
    gAmmoShown = weapon == WEAPON_KNIFE ? gAmmoHandgun : rounds;
  }
  int Counter() const {
    switch (gWeapon) {
      case WEAPON_SHOTGUN:
        return gAmmoShotgun;
      case WEAPON_MAGNUM:
        return gAmmoMagnum;
      default:
        return gAmmoHandgun;
    }
  }
  void Attack(int code) {
    gObjectLayer[kRow][kCol] = code;
    ResolveAttack(gViewCol, gViewRow);
  }

  testdata::TestHost host;
};

// One row of a fight: before and after.
struct FightCase {
  const char* what;
  int weapon;
  int rounds;  // in the equipped gun's counter
  int hard;
  int health;
  int healthAfter;
  int roundsAfter;
  int shownAfter;
  int scoreChange;
};

class Fights : public Combat {
 public:
  void Run(int code, bool cerberus, int event, const FightCase& k) {
    SCOPED_TRACE(k.what);
    ResetGameState();
    SetUp();
    host.now = SecondWithRoll(cerberus);
    gHardMode = k.hard;
    gHealth = k.health;
    Equip(k.weapon, k.rounds);
    const int knifeShown = gAmmoShown;
    Attack(code);
    EXPECT_EQ(gEventOpen, 1);
    EXPECT_EQ(gEventNumber, event);
    EXPECT_EQ(gHealth, k.healthAfter);
    if (k.weapon == WEAPON_KNIFE) {
      EXPECT_EQ(gAmmoShown, knifeShown);
      EXPECT_EQ(gAmmoHandgun, 50);
    } else {
      EXPECT_EQ(Counter(), k.roundsAfter);
      EXPECT_EQ(gAmmoShown, k.shownAfter);
    }
    EXPECT_EQ(gScore, 100 + k.scoreChange);
    EXPECT_EQ(gEncounters, 1);
  }
  void RunAll(int code, bool cerberus, int event, std::initializer_list<FightCase> cases) {
    for (const FightCase& k : cases) Run(code, cerberus, event, k);
  }
};

constexpr int K = WEAPON_KNIFE, HG = WEAPON_HANDGUN, SG = WEAPON_SHOTGUN, MG = WEAPON_MAGNUM;

TEST_F(Fights, Zombie) {
  RunAll(CELL_HIDDEN, false, EV_ZOMBIE,
         {{"knife", K, 0, 0, 100, 80, 0, 0, 30},
          {"handgun", HG, 12, 0, 100, 100, 7, 7, 10},
          {"handgun, 3 rounds for 5", HG, 3, 0, 100, 100, 0, 0, 10},
          {"handgun, exactly 5", HG, 5, 0, 100, 100, 0, 0, 10},
          {"shotgun", SG, 4, 0, 100, 100, 3, 3, 10},
          {"magnum", MG, 1, 0, 100, 100, 0, 0, 10},
          {"empty, 19", HG, 0, 0, 19, -16, 0, -1, -25},
          {"empty, 20 floor", HG, 0, 0, 20, 5, 0, -1, -25},
          {"empty, 25 floor", SG, 0, 0, 25, 5, 0, -1, -25},
          {"empty, 30 floor", MG, 0, 0, 30, 5, 0, -1, -25},
          {"empty, 31", HG, 0, 0, 31, -4, 0, -1, -25},
          {"empty, 31 hard", HG, 0, 1, 31, -4, 0, -1, -25},
          {"empty, 25 hard", HG, 0, 1, 25, -10, 0, -1, -25},
          {"empty, 20 hard", HG, 0, 1, 20, -15, 0, -1, -25}});
}

TEST_F(Fights, Cerberus) {
  RunAll(CELL_HIDDEN, true, EV_CERBERUS,
         {{"knife", K, 0, 0, 100, 75, 0, 0, 45},
          {"handgun", HG, 10, 0, 100, 100, 4, 4, 15},
          {"handgun, 5 rounds for 6", HG, 5, 0, 100, 100, 0, 0, 15},
          {"shotgun", SG, 3, 0, 100, 100, 1, 1, 15},
          {"shotgun, 1 round for 2", SG, 1, 0, 100, 100, 0, 0, 15},
          {"magnum", MG, 2, 0, 100, 100, 1, 1, 15},
          {"empty, 24", HG, 0, 0, 24, -11, 0, -1, -25},
          {"empty, 25 floor", HG, 0, 0, 25, 5, 0, -1, -25},
          {"empty, 35 floor", SG, 0, 0, 35, 5, 0, -1, -25},
          {"empty, 36", MG, 0, 0, 36, 1, 0, -1, -25},
          {"empty, 35 hard", HG, 0, 1, 35, 0, 0, -1, -25}});
}

TEST_F(Fights, Hunter) {
  RunAll(CELL_HUNTER, false, EV_HUNTER,
         {{"knife, 24", K, 0, 0, 24, -11, 0, 0, 30},
          {"knife, 25 floor", K, 0, 0, 25, 5, 0, 0, 30},
          {"knife, 35 floor", K, 0, 0, 35, 5, 0, 0, 30},
          {"knife, 36", K, 0, 0, 36, 1, 0, 0, 30},
          {"knife, 30 hard", K, 0, 1, 30, -5, 0, 0, 30},
          {"knife, 100", K, 0, 0, 100, 65, 0, 0, 30},
          {"handgun", HG, 20, 0, 100, 85, 12, 12, 5},
          {"handgun, 7 rounds for 8", HG, 7, 0, 100, 85, 0, 0, 5},
          {"shotgun", SG, 5, 0, 100, 100, 2, 2, 40},
          {"shotgun, 2 rounds for 3", SG, 2, 0, 100, 100, 0, 0, 40},
          {"magnum", MG, 3, 0, 100, 100, 2, 2, 50},
          {"empty, 39", HG, 0, 0, 39, -11, 0, -1, -25},
          {"empty, 40 floor", HG, 0, 0, 40, 5, 0, -1, -25},
          {"empty, 50 floor", SG, 0, 0, 50, 5, 0, -1, -25},
          {"empty, 51", MG, 0, 0, 51, 1, 0, -1, -25},
          {"empty, 45 hard", HG, 0, 1, 45, -5, 0, -1, -25}});
}

TEST_F(Fights, Stalker) {
  RunAll(CELL_STALKER, false, EV_STALKER,
         {{"knife, 44", K, 0, 0, 44, -16, 0, 0, -100},
          {"knife, 45 floor", K, 0, 0, 45, 5, 0, 0, -100},
          {"knife, 60 floor", K, 0, 0, 60, 5, 0, 0, -100},
          {"knife, 61", K, 0, 0, 61, 1, 0, 0, -100},
          {"knife, 50 hard", K, 0, 1, 50, -10, 0, 0, -100},
          {"handgun, 34", HG, 30, 0, 34, -16, 20, 20, -20},
          {"handgun, 35 floor", HG, 30, 0, 35, 10, 20, 20, -20},
          {"handgun, 40 floor", HG, 30, 0, 40, 10, 20, 20, -20},
          {"handgun, 40 hard", HG, 30, 1, 40, -10, 20, 20, -20},
          {"handgun, 50 floor", HG, 30, 0, 50, 10, 20, 20, -20},
          {"handgun, 51", HG, 30, 0, 51, 1, 20, 20, -20},
          {"handgun, 9 rounds for 10", HG, 9, 0, 100, 50, 0, 0, -20},
          {"shotgun", SG, 8, 0, 100, 75, 3, 3, 60},
          {"shotgun, 4 rounds for 5", SG, 4, 0, 100, 75, 0, 0, 60},
          {"magnum", MG, 5, 0, 100, 100, 2, 2, 150},
          {"magnum, 2 rounds for 3", MG, 2, 0, 100, 100, 0, 0, 150},
          {"empty, 64", HG, 0, 0, 64, -16, 0, -1, -50},
          {"empty, 65 floor", HG, 0, 0, 65, 10, 0, -1, -50},
          {"empty, 80 floor", SG, 0, 0, 80, 10, 0, -1, -50},
          {"empty, 81", MG, 0, 0, 81, 1, 0, -1, -50},
          {"empty, 70 hard", HG, 0, 1, 70, -10, 0, -1, -50}});
}

// The knife costs the Stalker fight 100 points even when the score is low.
TEST_F(Combat, ScoreMayGoNegative) {
  Equip(WEAPON_KNIFE, 0);
  gScore = 30;
  Attack(CELL_STALKER);
  EXPECT_EQ(gScore, -70);
}

TEST_F(Combat, OpenedCodesAndFinds) {
  struct Case {
    int code, after, event, finds;
  };
  const Case cases[] = {
      {CELL_HIDDEN, CELL_OPENED, EV_ZOMBIE, 0},
      {CELL_AMMO, CELL_AMMO_TAKEN, EV_AMMO, 1},
      {CELL_SPRAY, CELL_SPRAY_TAKEN, EV_SPRAY_FOUND, 1},
      {CELL_HUNTER, CELL_HUNTER_BEATEN, EV_HUNTER, 1},
      {CELL_STALKER, CELL_STALKER_BEATEN, EV_STALKER, 1},
      {1, CELL_FILE_TAKEN, EV_FILE, 1},
      {5, CELL_FILE_TAKEN, EV_FILE, 1},
      {10, CELL_FILE_TAKEN, EV_FILE, 1},  // any other non-zero code is a file
  };
  for (const Case& k : cases) {
    SCOPED_TRACE("code " + std::to_string(k.code));
    gEncounters = 3;
    gFinds = 2;
    gEventOpen = 0;
    Equip(WEAPON_MAGNUM, 10);
    Attack(k.code);
    EXPECT_EQ(gObjectLayer[kRow][kCol], k.after);
    EXPECT_EQ(gEventNumber, k.event);
    EXPECT_EQ(gEventOpen, 1);
    EXPECT_EQ(gEncounters, 4);
    EXPECT_EQ(gFinds, 2 + k.finds);
  }
}

// An opened cell (never passed by the field screen) only moves the timer.
TEST_F(Combat, OpenedCellOnlyPutsTheRocketOff) {
  gRocketTimer = 400;
  gEventNumber = 55;
  Equip(WEAPON_HANDGUN, 10);
  Attack(CELL_OPENED);
  EXPECT_EQ(gRocketTimer, 350);
  EXPECT_EQ(gEventOpen, 0);
  EXPECT_EQ(gEventNumber, 55);
  EXPECT_EQ(gEncounters, 0);
  EXPECT_EQ(gAmmoHandgun, 10);
  EXPECT_EQ(gScore, 100);
}

TEST_F(Combat, RocketTimerFallsBy50NotBelowZero) {
  const int before[] = {400, 50, 49, 30, 0, 1000};
  const int after[] = {350, 0, 0, 0, 0, 950};
  for (int i = 0; i < 6; ++i) {
    gRocketTimer = before[i];
    Attack(CELL_HIDDEN);
    EXPECT_EQ(gRocketTimer, after[i]) << "from " << before[i];
  }
}

TEST_F(Combat, AmmoCacheByWeaponAndMode) {
  struct Case {
    int weapon, hard, shownBefore, shownAfter, score;
  };
  const Case cases[] = {
      {WEAPON_HANDGUN, 0, 10, 46, 0},
      {WEAPON_SHOTGUN, 0, 10, 24, 10},
      {WEAPON_MAGNUM, 0, 10, 16, 10},
      {WEAPON_KNIFE, 0, 10, 10, 0},
      {WEAPON_HANDGUN, 1, 10, 34, 0},
      {WEAPON_SHOTGUN, 1, 10, 17, 10},
      {WEAPON_MAGNUM, 1, 10, 13, 10},
      {WEAPON_KNIFE, 1, 10, 10, 0},
      // The empty-gun mark is replaced by the share, not added to.
      {WEAPON_HANDGUN, 0, -1, 36, 0},
      {WEAPON_SHOTGUN, 1, -1, 7, 10},
      {WEAPON_MAGNUM, 0, -1, 6, 10},
      {WEAPON_KNIFE, 0, -1, -1, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE("weapon " + std::to_string(k.weapon) + " hard " + std::to_string(k.hard) +
                 " shown " + std::to_string(k.shownBefore));
    gHardMode = k.hard;
    gWeapon = k.weapon;
    gAmmoHandgun = gAmmoShotgun = gAmmoMagnum = 10;
    gAmmoShown = k.shownBefore;
    gScore = 100;
    Attack(CELL_AMMO);
    EXPECT_EQ(gAmmoHandgun, 10 + (k.hard ? 24 : 36));
    EXPECT_EQ(gAmmoShotgun, 10 + (k.hard ? 7 : 14));
    EXPECT_EQ(gAmmoMagnum, 10 + (k.hard ? 3 : 6));
    EXPECT_EQ(gAmmoShown, k.shownAfter);
    EXPECT_EQ(gScore, 100 + k.score);
    EXPECT_EQ(gEventNumber, EV_AMMO);
  }
}

TEST_F(Combat, SprayFound) {
  for (int weapon = 0; weapon < 4; ++weapon) {
    SCOPED_TRACE("weapon " + std::to_string(weapon));
    gSprays = 1;
    gScore = 100;
    Equip(weapon, 5);
    Attack(CELL_SPRAY);
    EXPECT_EQ(gSprays, 2);
    EXPECT_EQ(gScore, weapon >= WEAPON_SHOTGUN ? 110 : 100);
    EXPECT_EQ(Counter(), weapon == WEAPON_KNIFE ? 50 : 5);
  }
}

// The bonus goes by the attacks made before this one.
TEST_F(Combat, FileBonusByEarlierEncounters) {
  const int earlier[] = {0, 4, 5, 19, 20, 49, 50, 79, 80, 200};
  const int bonus[] = {700, 700, 500, 500, 450, 450, 400, 400, 300, 300};
  for (int i = 0; i < 10; ++i) {
    for (int weapon : {WEAPON_HANDGUN, WEAPON_SHOTGUN}) {
      SCOPED_TRACE("earlier " + std::to_string(earlier[i]) + " weapon " + std::to_string(weapon));
      gEncounters = earlier[i];
      gFinds = 0;
      gFilesLeft = 3;
      gScore = 100;
      Equip(weapon, 5);
      Attack(2);
      EXPECT_EQ(gScore, 100 + bonus[i] + (weapon == WEAPON_SHOTGUN ? 10 : 0));
      EXPECT_EQ(gFilesLeft, 2);
      EXPECT_EQ(gEncounters, earlier[i] + 1);
      EXPECT_EQ(gFinds, 1);
      EXPECT_EQ(Counter(), 5);  // no rounds for a file
    }
  }
}

// Reseeded from the clock on every call, two draws each: two attacks in the
// same second draw the same roll and the same portrait.
TEST_F(Combat, SameSecondSameDraws) {
  host.now = SecondWithRoll(true);
  Equip(WEAPON_MAGNUM, 10);
  Attack(CELL_HIDDEN);
  EXPECT_EQ(gEventNumber, EV_CERBERUS);
  const int portrait = gPortraitVariant;
  NextRandom();  // whatever happened to the generator since
  gObjectLayer[kRow][kCol + 1] = CELL_HIDDEN;
  gMouseX += 40;
  gEventNumber = 0;
  ResolveAttack(gViewCol, gViewRow);
  EXPECT_EQ(gObjectLayer[kRow][kCol + 1], CELL_OPENED);
  EXPECT_EQ(gEventNumber, EV_CERBERUS);
  EXPECT_EQ(gPortraitVariant, portrait);

  // The next second with a zombie gives a zombie, and the portrait is the
  // second draw of that second, modulo 3.
  host.now = SecondWithRoll(false, host.now + 1);
  SeedRandom(static_cast<std::uint32_t>(host.now));
  NextRandom();
  const int expectedPortrait = NextRandom() % 3;
  gMouseX -= 40;
  Attack(CELL_HIDDEN);
  EXPECT_EQ(gEventNumber, EV_ZOMBIE);
  EXPECT_EQ(gPortraitVariant, expectedPortrait);
}

// Every attack draws the portrait, whatever the cell holds.
TEST_F(Combat, PortraitDrawnOnEveryAttack) {
  for (std::int64_t t = 1000000000; t < 1000000020; ++t) {
    host.now = t;
    SeedRandom(static_cast<std::uint32_t>(t));
    NextRandom();
    const int expected = NextRandom() % 3;
    gPortraitVariant = -5;
    Attack(CELL_AMMO);
    EXPECT_EQ(gPortraitVariant, expected) << "second " << t;
  }
}

// A pointer whose cell would lie past the field's layers attacks nothing.
TEST_F(Combat, CellOutsideTheFieldIsLeftAlone) {
  gRocketTimer = 100;
  gViewRow = 9;
  gMouseY = 359;  // row 9 + 8 = 17: still on the field
  gObjectLayer[17][kCol] = CELL_HUNTER;
  ResolveAttack(gViewCol, gViewRow);
  EXPECT_EQ(gObjectLayer[17][kCol], CELL_HUNTER_BEATEN);
  gEventOpen = 0;
  gEncounters = 0;
  ResolveAttack(gViewCol, 10);  // row 18: outside
  ResolveAttack(30, gViewRow);  // column 32: outside
  EXPECT_EQ(gEventOpen, 0);
  EXPECT_EQ(gEncounters, 0);
  EXPECT_EQ(gRocketTimer, 0);
}

}  // namespace
