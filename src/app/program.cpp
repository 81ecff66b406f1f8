#include "app/program.h"

#include <cstdio>

#include "app/options_panel.h"
#include "audio/sound.h"
#include "gfx/bitmap.h"
#include "gfx/display.h"
#include "gfx/map_file.h"
#include "gfx/sprite_file.h"
#include "lang/language.h"
#include "state/data_contract.h"
#include "state/game_state.h"

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
  if (LoadMap(kMapFileName) == 0) {
    NoteIfMissing(kMapFileName);
    return 0;
  }
  gSpriteCount = GetNumSprite(kSpriteFileName);
  if (gSpriteCount <= 0) {
    platform::ShowMessageBox("Fail Get Sprite Num", "InitProgram()");
    NoteIfMissing(kSpriteFileName);
    return 0;
  }
  gSpriteFrames.assign(static_cast<std::size_t>(gSpriteCount), SpriteFrame{0, 0});
  if (LoadSprite(kSpriteFileName) == 0) {
    platform::ShowMessageBox("Fail Loading Sprite", "InitProgram()");
    return 0;
  }
  ClearSurface(gPrimarySurface, 0);
  for (int i = 0; i < gSpriteCount && i < static_cast<int>(gSpriteSurfaces.size()); ++i) {
    SetSurfaceColorKey(gSpriteSurfaces[i].get(), 0);
  }
  gPalette = LoadPalette(gDirectDraw, kTitlePicture.name);
  ReloadBitmap(gEventWinSurface, kEventWindowPicture.name);
  ReloadBitmap(gEvent1Surface, kPortraitSheet1.name);
  ReloadBitmap(gEvent2Surface, kPortraitSheet2.name);
  ReloadBitmap(gTitleSurface, kTitlePicture.name);
  ReloadBitmap(gWarningSurface, kWarningPicture.name);
  ReloadBitmap(gDiedSurface, kDeathPicture.name);
  ReloadBitmap(gEndingSurface, kEndingPicture.name);
  // Last: a language pack replaces lines, pictures, tiles and frames loaded
  // above.
  UseLanguage();
  return 1;
}

void ShutdownProgram() {
  ReleaseOptionsPanel();
  ReleaseLanguage();
  ReleaseGroundLayer();
  ReleaseTileData();
  for (WaveSound*& slot : gSound) {
    FreeWave(slot);
    slot = nullptr;
  }
  ReleaseDirectSound();
  ReleaseDirectDraw();
}
