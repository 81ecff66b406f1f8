#include "combat/combat.h"

#include "state/game_state.h"
#include "state/random.h"

namespace {

// The counter of the equipped gun, or null with the knife (or no weapon).
int* GunCounter() {
  switch (gWeapon) {
    case WEAPON_HANDGUN:
      return &gAmmoHandgun;
    case WEAPON_SHOTGUN:
      return &gAmmoShotgun;
    case WEAPON_MAGNUM:
      return &gAmmoMagnum;
    default:
      return nullptr;
  }
}

bool IsGun(int weapon) { return weapon >= WEAPON_HANDGUN && weapon <= WEAPON_MAGNUM; }
bool ShotgunOrMagnum() { return gWeapon == WEAPON_SHOTGUN || gWeapon == WEAPON_MAGNUM; }

// Outside hard mode a player whose health lies in lo..hi is left with
// `rest` instead of taking the full damage.
void SurvivalFloor(int lo, int hi, int rest, int damage) {
  if (lo <= gHealth && gHealth <= hi && gHardMode != 1) {
    gHealth = rest;
  } else {
    gHealth -= damage;
  }
}

// The attack succeeds even with fewer rounds than n; the clamp looks at the
// panel's copy, as the panel is what the player sees.
void SpendClamped(int n) {
  int& counter = *GunCounter();
  counter -= n;
  gAmmoShown -= n;
  if (gAmmoShown < 0) {
    gAmmoShown = 0;
    counter = 0;
  }
}

void Spend(int n) {
  *GunCounter() -= n;
  gAmmoShown -= n;
}

// One row of a fight table.
struct FightRow {
  int floorLo, floorHi, floorRest;  // survival floor; floorHi < floorLo: none
  int damage;
  int rounds;
  bool clamped;
  int score;
};

struct FightTable {
  FightRow knife, handgun, shotgun, magnum, empty;
};

constexpr int kNone = -1;  // no floor: floorHi below any floorLo

// Zombie, Cerberus, hunter and Stalker. Health first, then rounds, then
// score; the Stalker's handgun row takes its damage before the rounds, which
// this order gives.
//   {floor from, floor to, left with, damage, rounds, clamped, score}
constexpr FightTable kZombie = {
    {0, kNone, 0, 20, 0, false, 30},  // knife
    {0, kNone, 0, 0, 5, true, 10},    // handgun
    {0, kNone, 0, 0, 1, false, 10},   // shotgun
    {0, kNone, 0, 0, 1, false, 10},   // magnum
    {20, 30, 5, 35, 0, false, -25},   // empty gun
};
constexpr FightTable kCerberus = {
    {0, kNone, 0, 25, 0, false, 45},  // knife
    {0, kNone, 0, 0, 6, true, 15},    // handgun
    {0, kNone, 0, 0, 2, true, 15},    // shotgun
    {0, kNone, 0, 0, 1, false, 15},   // magnum
    {25, 35, 5, 35, 0, false, -25},   // empty gun
};
constexpr FightTable kHunter = {
    {25, 35, 5, 35, 0, false, 30},   // knife
    {0, kNone, 0, 15, 8, true, 5},   // handgun
    {0, kNone, 0, 0, 3, true, 40},   // shotgun
    {0, kNone, 0, 0, 1, false, 50},  // magnum
    {40, 50, 5, 50, 0, false, -25},  // empty gun
};
constexpr FightTable kStalker = {
    {45, 60, 5, 60, 0, false, -100},  // knife
    {35, 50, 10, 50, 10, true, -20},  // handgun
    {0, kNone, 0, 25, 5, true, 60},   // shotgun
    {0, kNone, 0, 0, 3, true, 150},   // magnum
    {65, 80, 10, 80, 0, false, -50},  // empty gun
};

void Fight(const FightTable& table) {
  const FightRow* row = nullptr;
  bool empty = false;
  if (gWeapon == WEAPON_KNIFE) {
    row = &table.knife;
  } else if (IsGun(gWeapon)) {
    if (*GunCounter() < 1) {
      row = &table.empty;
      empty = true;
    } else {
      row = gWeapon == WEAPON_HANDGUN   ? &table.handgun
            : gWeapon == WEAPON_SHOTGUN ? &table.shotgun
                                        : &table.magnum;
    }
  }
  if (row == nullptr) return;
  if (row->floorHi >= row->floorLo) {
    SurvivalFloor(row->floorLo, row->floorHi, row->floorRest, row->damage);
  } else {
    gHealth -= row->damage;
  }
  if (empty) {
    gAmmoShown = -1;  // the event window tells of an empty gun by this mark
  } else if (row->rounds > 0) {
    if (row->clamped) {
      SpendClamped(row->rounds);
    } else {
      Spend(row->rounds);
    }
  }
  gScore += row->score;
}

void OpenCell(int& cell, int event, int openedCode, bool find) {
  gEventOpen = 1;
  gEventNumber = event;
  ++gEncounters;
  if (find) ++gFinds;
  cell = openedCode;
}

void AmmoCache() {
  const bool normal = gHardMode == 0;
  const int handgun = normal ? 36 : 24;
  const int shotgun = normal ? 14 : 7;
  const int magnum = normal ? 6 : 3;
  gAmmoHandgun += handgun;
  gAmmoShotgun += shotgun;
  gAmmoMagnum += magnum;
  const int share = gWeapon == WEAPON_HANDGUN   ? handgun
                    : gWeapon == WEAPON_SHOTGUN ? shotgun
                    : gWeapon == WEAPON_MAGNUM  ? magnum
                                                : 0;
  if (IsGun(gWeapon)) {
    if (gAmmoShown == -1) {
      gAmmoShown = share;
    } else {
      gAmmoShown += share;
    }
  }
  if (ShotgunOrMagnum()) gScore += 10;
}

// The earlier a file is found, the larger its bonus.
int FileBonus(int earlierEncounters) {
  if (earlierEncounters < 5) return 700;
  if (earlierEncounters < 20) return 500;
  if (earlierEncounters < 50) return 450;
  if (earlierEncounters < 80) return 400;
  return 300;
}

void TakeFile(int& cell) {
  gEventOpen = 1;
  gEventNumber = EV_FILE;
  --gFilesLeft;
  gScore += FileBonus(gEncounters);
  ++gEncounters;
  ++gFinds;
  if (ShotgunOrMagnum()) gScore += 10;
  cell = CELL_FILE_TAKEN;
}

}  // namespace

void ResolveAttack(int viewCol, int viewRow) {
  SeedRandom(CalendarSeconds());
  // Both numbers are drawn on every call, whatever the cell holds, so two
  // attacks within one second draw the same roll and the same portrait.
  const int roll = NextRandom() % 4;
  gPortraitVariant = NextRandom() % kPortraitVariants;

  const int col = viewCol + gMouseX / 40;
  const int row = viewRow + gMouseY / 40;
  if (row >= 0 && row < kFieldRows && col >= 0 && col < kFieldCols) {
    int& cell = gObjectLayer[row][col];
    const int code = cell;
    if (code == CELL_HIDDEN) {
      const bool cerberus = roll == 0;
      OpenCell(cell, cerberus ? EV_CERBERUS : EV_ZOMBIE, CELL_OPENED, false);
      Fight(cerberus ? kCerberus : kZombie);
    } else if (code == CELL_AMMO) {
      OpenCell(cell, EV_AMMO, CELL_AMMO_TAKEN, true);
      AmmoCache();
    } else if (code == CELL_SPRAY) {
      OpenCell(cell, EV_SPRAY_FOUND, CELL_SPRAY_TAKEN, true);
      ++gSprays;
      if (ShotgunOrMagnum()) gScore += 10;
    } else if (code == CELL_HUNTER) {
      OpenCell(cell, EV_HUNTER, CELL_HUNTER_BEATEN, true);
      Fight(kHunter);
    } else if (code == CELL_STALKER) {
      OpenCell(cell, EV_STALKER, CELL_STALKER_BEATEN, true);
      Fight(kStalker);
    } else if (code != CELL_OPENED) {
      TakeFile(cell);
    }
  }

  // Every attack puts the Stalker's rocket off by 50 frames.
  gRocketTimer -= 50;
  if (gRocketTimer < 0) gRocketTimer = 0;
}
