#include "field/field_scene.h"

#include "audio/sound.h"
#include "combat/combat.h"
#include "combat/event_window.h"
#include "field/field_view.h"
#include "field/final_score.h"
#include "field/hint_lines.h"
#include "field/population.h"
#include "field/rocket.h"
#include "gfx/display.h"
#include "state/game_state.h"

namespace {

constexpr int kClickDelayFrames = 6;

// A clickable area, bounds inclusive.
struct Area {
  int left, right, top, bottom;
  bool Holds(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

constexpr Area kHandgunButton = {470, 519, 377, 412};
constexpr Area kShotgunButton = {522, 571, 377, 412};
constexpr Area kMagnumButton = {574, 623, 377, 412};
constexpr Area kKnifeButton = {470, 519, 415, 450};
constexpr Area kSprayButton = {522, 571, 415, 450};
constexpr Area kEventButton = {441, 469, 217, 295};

void UseSpray() {
  gHealth += 80;
  if (gHealth > kFullHealth) gHealth = kFullHealth;
  --gSprays;
  gEventNumber = EV_SPRAY_USED;
  gEventOpen = 1;
}

// No debounce: a held button repeats its effect every frame, which the
// weapon buttons do not mind and the spray button stops by opening the
// event window.
void PanelButtons() {
  if (!(gMouseY >= 361 && gLeftButton == 1 && gEventOpen == 0)) return;
  if (kHandgunButton.Holds(gMouseX, gMouseY)) {
    gWeapon = WEAPON_HANDGUN;
    gAmmoShown = gAmmoHandgun;
  } else if (kShotgunButton.Holds(gMouseX, gMouseY)) {
    gWeapon = WEAPON_SHOTGUN;
    gAmmoShown = gAmmoShotgun;
  } else if (kMagnumButton.Holds(gMouseX, gMouseY)) {
    gWeapon = WEAPON_MAGNUM;
    gAmmoShown = gAmmoMagnum;
  } else if (kKnifeButton.Holds(gMouseX, gMouseY)) {
    gWeapon = WEAPON_KNIFE;
    gAmmoShown = gAmmoHandgun;  // the knife shows the handgun's count
  } else if (kSprayButton.Holds(gMouseX, gMouseY)) {
    if (gHealth != kFullHealth && gSprays > 0) UseSpray();
  }
}

void Attack(int col, int row) {
  if (!(gMouseY < kMapViewHeight && gEventOpen == 0 && gLeftButton == 1 && gRocketActive == 0 &&
        gClickDelay >= kClickDelayFrames)) {
    return;
  }
  if (!InField(col, row)) return;
  const int code = gObjectLayer[row][col];
  if (code == CELL_OPENED || code >= 12) return;
  // Each weapon its shot: SND_SHOT0 to SND_SHOT3 in the weapons' order.
  if (gWeapon < WEAPON_KNIFE || gWeapon > WEAPON_MAGNUM) return;
  PlayWave(gSound[SND_SHOT0 + gWeapon - WEAPON_KNIFE]);
  ResolveAttack(gViewCol, gViewRow);
  gClickDelay = 0;
}

void HintLines(int col, int row) {
  if (gMouseY < kMapViewHeight && gEventOpen == 0 && InField(col, row) &&
      gObjectLayer[row][col] == CELL_OPENED && gCountLayer[row][col] != 0) {
    ShowNearbyHint(gViewCol, gViewRow);
  }
}

// The revival and escape presses are counted without a debounce between
// them: only the third press resets gClickDelay.
void EventButton() {
  if (!(gEventOpen == 1 && kEventButton.Holds(gMouseX, gMouseY) && gLeftButton == 1 &&
        gClickDelay >= kClickDelayFrames)) {
    return;
  }
  if (gHardMode == 0 && gHealth < 1 && gSprays > 0) {
    gEventNumber = EV_REVIVED;
    ++gRetryCount;
    if (gRetryCount > 2) {
      gHealth = 50;
      --gSprays;
      gRetryCount = 0;
      gClickDelay = 0;
    }
  } else if (gFilesLeft == 0) {
    gEventNumber = EV_ESCAPED;
    ++gRetryCount;
    if (gRetryCount > 2) {
      gEventOpen = 0;
      gRetryCount = 0;
      gClickDelay = 0;
      gEventFrames = 0;
    }
  } else {
    gEventOpen = 0;
    gClickDelay = 0;
    gEventFrames = 0;
    if (gAmmoShown == 0) gAmmoShown = -1;
  }
}

}  // namespace

void FieldScene() {
  // The pointer's screen cell and the ammunition digits hold for the whole
  // frame: the digits show the count as it was before this frame's actions.
  const int tileCol = gMouseX / kCellPixels;
  const int tileRow = gMouseY / kCellPixels;
  const AmmoDigits digits = TakeAmmoDigits(gAmmoShown);

  if (gFieldReady == 0) {
    gViewCol = 0;
    gViewRow = 0;
    PopulateField();
    gFieldReady = 1;
  }
  ScrollView();
  DrawMapView();
  DrawPanel(digits);
  DrawPointerHighlight();
  PanelButtons();
  Attack(tileCol + gViewCol, tileRow + gViewRow);
  HintLines(tileCol + gViewCol, tileRow + gViewRow);
  if (gEventOpen == 1) DrawEventWindow(gEventNumber);
  EventButton();
  if (gEventOpen == 0 && gHealth < 1) {
    gAlive = 0;
    PlayWave(gSound[SND_DIED]);
  }
  if (gFilesLeft == 0 && gEventOpen == 0 && gEnding == 0) ComputeFinalScore();
  if (gRocketActive == 1 && gEventOpen == 0) RocketDriver();
  if (gRocketTimer == kRocketDue) gRocketActive = 1;
  if (gEventOpen == 0 && gRocketActive == 0) ++gRocketTimer;
  ++gClickDelay;
  FlipScreen();
}
