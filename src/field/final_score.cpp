#include "field/final_score.h"

#include "state/game_state.h"

namespace {

int RatioBonus() {
  const int plainFights = gEncounters - gFinds;
  // Only cells that held something were opened: the finest play there is,
  // so it earns the top band rather than dividing by zero.
  if (plainFights == 0) return 2000;
  const double ratio = static_cast<double>(gFinds) / static_cast<double>(plainFights);
  if (ratio > 1.5) return 2000;
  if (ratio > 1.0) return 1000;
  if (ratio > 0.7) return 500;
  return -100;
}

int SpeedBonus() {
  if (gEncounters < 50) return 1000;
  if (gEncounters < 100) return 900;
  if (gEncounters < 150) return 800;
  if (gEncounters < 200) return 700;
  return 500;
}

int Grade(int score) {
  if (score > 10000) return 7;
  if (score > 8000) return 6;
  if (score > 7000) return 5;
  if (score > 6000) return 4;
  if (score > 5000) return 3;
  if (score > 4000) return 2;
  return 1;
}

}  // namespace

void ComputeFinalScore() {
  gScore += gAmmoHandgun + 5 * gAmmoShotgun + 10 * gAmmoMagnum;
  gScore += RatioBonus();
  gScore += SpeedBonus();
  gGrade = Grade(gScore);
  gEnding = 1;
}
