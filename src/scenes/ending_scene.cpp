#include "scenes/ending_scene.h"

#include "audio/midi_player.h"
#include "gfx/display.h"
#include "platform/platform.h"
#include "state/data_contract.h"
#include "state/game_state.h"

namespace {

// The ending picture is the map's tiles from kEndingFirstTile on, a 16 x 12
// grid of 40-pixel tiles; it is revealed in blocks of 4, then 2, then 1 tile.
// The credits and the grade stand where state/data_contract.h puts them.
constexpr int kMusicFrame = 42;
constexpr int kResetBelowY = -50;
constexpr int kTileSide = 40;

void RevealPicture(int frame) {
  const int blockTiles = frame < 20 ? 4 : frame < 40 ? 2 : 1;
  // Each block shows its top-left tile at its own size; the rest of the
  // screen keeps what the last frames left there. Tiles the map file lacks
  // are not drawn.
  const int side = kTileSide * blockTiles;
  for (int i = 0; i < kEndingTileRows / blockTiles; ++i) {
    for (int j = 0; j < kEndingTileCols / blockTiles; ++j) {
      const int tile = kEndingFirstTile + (kEndingTileCols * i + j) * blockTiles;
      DrawTile(side * j, side * i, tile);
    }
  }
}

// Sprites are not clipped: one that does not lie wholly on the screen is
// simply not drawn, so the credits appear and vanish a whole sprite at a
// time. Frames the sprite file lacks are not drawn either.
void DrawCredits(int scrollY) {
  for (const CreditPlacement& credit : kCredits) {
    DrawSprite(credit.x, scrollY - credit.yAbove, credit.frame);
  }
  if (gGrade >= 1 && gGrade <= kGrades) {
    DrawSprite(kGradeX, scrollY - kGradeYAbove, kGradeFrameBase - gGrade);
  }
}

}  // namespace

void EndingScene() {
  const int frame = gEndingFrames;
  if (frame == kMusicFrame) {
    // Opened once for the whole program and never stopped: a later ending
    // finds the player open, and playing on resumes where the tune is.
    platform::TraceMark("music-start");
    gMidi.Open(kMusicFileName);
    gMidi.Play();
  }
  RevealPicture(frame);
  DrawCredits(gEndingScrollY);
  if (frame % 2 == 0) --gEndingScrollY;
  if (gEndingScrollY < kResetBelowY) {
    ResetForNextGame();
    gEnding = 0;
    gEndingScrollY = 1000;
    gEndingFrames = 0;
  }
  FlipScreen();
  // Counted after the reset, so every ending after the first starts from 1
  // and its reveal and music come one pass sooner than in the first.
  ++gEndingFrames;
}
