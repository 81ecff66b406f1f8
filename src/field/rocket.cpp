#include "field/rocket.h"

#include "audio/sound.h"
#include "gfx/display.h"
#include "state/data_contract.h"
#include "state/game_state.h"

namespace {

constexpr int kLastStep = kRocketSteps - 1;

void DrawRocket(int lane, int k) {
  if (lane < 1 || lane > 3) return;  // no lane: no rocket
  const RocketLaneFrames& frames = kRocketLanes[lane - 1];
  DrawSprite(frames.x0 + frames.dx * k, kRocketY0 + kRocketDy * k, frames.firstFrame + k);
}

}  // namespace

int RocketPlayerOffset(int mouseX) {
  if (mouseX <= 60) return kFigureOffsets[0];
  if (mouseX <= 159) return kFigureOffsets[1];
  if (mouseX <= 319) return kFigureOffsets[2];
  if (mouseX <= 479) return kFigureOffsets[3];
  if (mouseX <= 579) return kFigureOffsets[4];
  return kFigureOffsets[5];
}

int RocketLane(int mouseX) {
  // The lanes are 0-219, 220-419 and 420-639, so the boundary positions
  // belong to a lane too and every event has one.
  if (mouseX < 220) return 1;
  if (mouseX < 420) return 2;
  return 3;
}

bool RocketHits(int lane, int p) {
  switch (lane) {
    case 1:
      return p == 0 || p == 30 || p == 60 || p == 120;
    case 2:
      return p == 30 || p == 60 || p == 120 || p == 150;
    case 3:
      return p == 60 || p == 120 || p == 150 || p == 180;
    default:
      return false;
  }
}

void RocketStep() {
  const int k = gRocketStep;
  const int p = RocketPlayerOffset(gMouseX);
  DrawSprite(kFigureX + p, kFigureY, kFigureFrame);
  if (k >= 0 && k <= kLastStep) DrawRocket(gRocketColumn, k);
  if (k >= kLastStep) {
    const int lane = gRocketColumn;
    if (lane >= 1 && lane <= 3) {
      if (RocketHits(lane, p)) {
        gHealth -= 70;
        gEventNumber = EV_ROCKET_HIT;
        gScore -= 50;
      } else {
        gEventNumber = EV_ROCKET_DODGED;
        gScore += 50;
      }
    }
    gRocketStep = 0;
    gRocketActive = 0;
    gEventOpen = 1;
    gRocketFrame = 0;
    gRocketTimer = 0;
  }
  // A flip of its own, on top of the field frame's: the rocket shows in this
  // half-drawn frame, and the frame's own flip then brings the older page
  // back, which gives the rocket its flicker.
  FlipScreen();
  // Counted even after the event has ended, so the next event starts from
  // step 1 and shows four rocket positions instead of five.
  ++gRocketStep;
}

void RocketDriver() {
  if (gRocketFrame == 1) PlayWave(gSound[SND_STALKER2]);
  if (gRocketFrame == 15) gRocketColumn = RocketLane(gMouseX);
  if (gRocketFrame > 15) RocketStep();
  // Also runs on the frame whose step ended the event: the next event starts
  // at frame 1, one frame shorter than the first.
  ++gRocketFrame;
}
