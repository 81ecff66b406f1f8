#include "scenes/death_scene.h"

#include <climits>

#include "gfx/display.h"
#include "state/game_state.h"

namespace {

constexpr platform::Rect kPictureRect{0, 0, 640, 480};

}  // namespace

void DeathScene() {
  BltFast(gBackBuffer, 0, 0, gDiedSurface, kPictureRect, platform::DDBLTFAST_NOCOLORKEY);
  // Counted before the test: a click is taken from the 21st pass on. It
  // stops at the top of its range rather than wrapping round.
  if (gDeathFrames < INT_MAX) ++gDeathFrames;
  if (gLeftButton == 1 && gDeathFrames > 20) {
    // gAlive stays 0, so the main loop waits a few passes first.
    ResetForNextGame();
    gDeathFrames = 0;
  }
  FlipScreen();
}
