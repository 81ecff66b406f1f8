#include "scenes/prologue_scene.h"

#include <climits>

#include "audio/sound.h"
#include "combat/message_catalogue.h"
#include "gfx/display.h"
#include "gfx/map_file.h"
#include "platform/platform.h"
#include "state/data_contract.h"
#include "state/game_state.h"

namespace {

// The prologue looks like the field's event window, 60 pixels lower, over
// the map's top-left corner.
constexpr int kBackgroundCols = 16;
constexpr int kBackgroundRows = 12;
constexpr int kWindowX = 162;
constexpr int kWindowY = 121;
constexpr platform::Rect kWindowRect{0, 0, kEventWindowPicture.width, kEventWindowPicture.height};
constexpr int kPortraitX = 241;
constexpr int kPortraitY = 141;
constexpr platform::Rect kPortraitRect{0, 109, 160, 218};  // event1, column 0, row 1
constexpr int kTextX = 207;
constexpr int kTextY[3] = {286, 306, 326};
constexpr std::uint32_t kTextBack = 0x000000;
constexpr std::uint32_t kTextColour = 0xFFFFFF;

// The page button, strictly inside these bounds.
constexpr int kButtonLeft = 440;
constexpr int kButtonRight = 470;
constexpr int kButtonTop = 276;
constexpr int kButtonBottom = 356;

// Always the map's top-left corner, wherever the last game left the view.
void DrawBackground() {
  if (gGroundLayer == nullptr) return;
  for (int row = 0; row < kBackgroundRows && row < gMapRows; ++row) {
    for (int col = 0; col < kBackgroundCols && col < gMapCols; ++col) {
      DrawTile(col * gTileWidth, row * gTileHeight, GroundTile(row, col));
    }
  }
}

bool PageButtonPressed() {
  return gPrologueStep > 10 && gMouseX > kButtonLeft && gMouseX < kButtonRight &&
         gMouseY > kButtonTop && gMouseY < kButtonBottom && gLeftButton == 1;
}

}  // namespace

void PrologueScene() {
  DrawBackground();
  BltFast(gBackBuffer, kWindowX, kWindowY, gEventWinSurface, kWindowRect,
          platform::DDBLTFAST_NOCOLORKEY);

  const bool firstPage = gPrologueClickLatch == 0;
  BltFast(gBackBuffer, kPortraitX, kPortraitY, gEvent1Surface, kPortraitRect,
          platform::DDBLTFAST_NOCOLORKEY);
  // Taken before the button is looked at: the pass that turns the page
  // still shows the page that was pressed.
  const PageLines lines = PrologueLines(firstPage ? 0 : 1);
  if (gPrologueStep == 1) PlayWave(gSound[firstPage ? SND_OPEN1 : SND_OPEN2]);

  if (PageButtonPressed()) {
    if (firstPage) {
      gPrologueClickLatch = 1;
      gPrologueStep = 0;
    } else {
      gProloguePending = 0;
      gPrologueStep = 0;
      gPrologueClickLatch = 0;
    }
  }

  for (int i = 0; i < 3; ++i) {
    PrintText(gBackBuffer, lines.line[i], kTextBack, kTextColour, kTextX, kTextY[i]);
  }
  // Compared before it grows, so the first page (begun at 0) sounds on its
  // second pass and the second page (begun at 1 after the press) on its
  // first. It stops at the top of its range rather than wrapping round.
  if (gPrologueStep < INT_MAX) ++gPrologueStep;
  FlipScreen();
}
