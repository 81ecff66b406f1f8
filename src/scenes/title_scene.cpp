#include "scenes/title_scene.h"

#include <climits>

#include "audio/sound.h"
#include "gfx/display.h"
#include "state/game_state.h"

namespace {

constexpr platform::Rect kPictureRect{0, 0, 640, 480};

// The start buttons of the warning picture. A click counts only strictly
// inside: the edge lines themselves belong to neither button.
struct Button {
  int left;
  int right;
  int top;
  int bottom;
};
constexpr Button kNormalStart{60, 275, 110, 150};
constexpr Button kHardStart{320, 540, 110, 150};

bool PointerInside(const Button& b) {
  return gMouseX > b.left && gMouseX < b.right && gMouseY > b.top && gMouseY < b.bottom;
}

// The button counts as a click only once the delay has passed 10; a held
// button is taken again each time the delay allows.
bool ClickAllowed() { return gLeftButton == 1 && gTitleClickDelay > 10; }

void StartGame() {
  PlayWave(gSound[SND_MAIN]);
  gInTitle = 0;
  gTitleClickDelay = 0;
}

}  // namespace

void TitleScene() {
  if (gWarningShown == 0) {
    BltFast(gBackBuffer, 0, 0, gTitleSurface, kPictureRect, platform::DDBLTFAST_NOCOLORKEY);
    if (ClickAllowed()) {
      gWarningShown = 1;
      PlayWave(gSound[SND_MAIN]);
      gTitleClickDelay = 0;
    }
  } else {
    BltFast(gBackBuffer, 0, 0, gWarningSurface, kPictureRect, platform::DDBLTFAST_NOCOLORKEY);
    if (PointerInside(kNormalStart) && ClickAllowed()) StartGame();
    // Tested in the same pass; the delay the left button has just cleared
    // keeps both from being taken at once.
    if (PointerInside(kHardStart) && ClickAllowed()) {
      gHardMode = 1;
      StartGame();
    }
  }
  // Compared before it grows: an accepted click leaves it at 1, and nothing
  // else resets it, so it carries over into the title of the next game.
  // It stops at the top of its range rather than wrapping round.
  if (gTitleClickDelay < INT_MAX) ++gTitleClickDelay;
  FlipScreen();
}
