#include "shell/program.h"

#include <cstdio>

#include "audio/sound.h"
#include "gfx/bitmap.h"
#include "gfx/display.h"
#include "gfx/map_file.h"
#include "gfx/sprite_file.h"
#include "shell/game_state.h"

const char* gMissingDataFile = nullptr;

namespace {

// Notes `file` as missing when it cannot be opened, for the hint that the
// program's entry gives after the loader's own message.
void NoteIfMissing(const char* file) {
  std::FILE* f = std::fopen(file, "rb");
  if (f == nullptr) {
    gMissingDataFile = file;
  } else {
    std::fclose(f);
  }
}

}  // namespace

int InitProgram() {
  gMissingDataFile = nullptr;
  if (InitDirectDraw() == 0) {
    platform::DebugOutput("Fail DirectDraw Init.\n");
    return 0;
  }
  if (LoadMap("city.map") == 0) {
    NoteIfMissing("city.map");
    return 0;
  }
  gSpriteCount = GetNumSprite("WEAPON.SPR");
  if (gSpriteCount <= 0) {
    platform::ShowMessageBox("Fail Get Sprite Num", "InitProgram()");
    NoteIfMissing("WEAPON.SPR");
    return 0;
  }
  gSpriteFrames.assign(static_cast<std::size_t>(gSpriteCount), SpriteFrame{0, 0});
  if (LoadSprite("WEAPON.SPR") == 0) {
    platform::ShowMessageBox("Fail Loading Sprite", "InitProgram()");
    return 0;
  }
  ClearSurface(gPrimarySurface, 0);
  for (int i = 0; i < gSpriteCount && i < static_cast<int>(gSpriteSurfaces.size()); ++i) {
    SetSurfaceColorKey(gSpriteSurfaces[i].get(), 0);
  }
  gPalette = LoadPalette(gDirectDraw, "Title.bmp");
  ReloadBitmap(gEventWinSurface, "eventwin.bmp");
  ReloadBitmap(gEvent1Surface, "event1.bmp");
  ReloadBitmap(gEvent2Surface, "event2.bmp");
  ReloadBitmap(gTitleSurface, "Title.bmp");
  ReloadBitmap(gWarningSurface, "warning.bmp");
  ReloadBitmap(gDiedSurface, "died.bmp");
  ReloadBitmap(gEndingSurface, "Ending.bmp");
  return 1;
}

void ShutdownProgram() {
  ReleaseGroundLayer();
  ReleaseTileData();
  for (WaveSound*& slot : gSound) {
    FreeWave(slot);
    slot = nullptr;
  }
  ReleaseDirectSound();
  ReleaseDirectDraw();
}
