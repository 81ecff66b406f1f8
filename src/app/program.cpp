#include "app/program.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/options_panel.h"
#include "audio/sound.h"
#include "formats/file_bytes.h"
#include "gfx/bitmap.h"
#include "gfx/display.h"
#include "gfx/map_file.h"
#include "gfx/sprite_file.h"
#include "lang/language.h"
#include "state/data_contract.h"
#include "state/game_state.h"

StartFailure gStartFailure;

namespace {

// Notes that start-up stopped at `file`: missing when it cannot be opened,
// else damaged.
void NoteFileFault(const char* file) {
  gStartFailure = {platform::FileExists(file) ? StartFault::kDamagedFile : StartFault::kMissingFile,
                   file};
}

// The working folder, as the player knows it (UTF-8).
std::string WorkingFolder() {
  std::error_code ec;
  const std::u8string path = std::filesystem::current_path(ec).u8string();
  return ec ? std::string("the working folder") : std::string(path.begin(), path.end());
}

// Puts a picture on its surface. One that is there but cannot be read is
// added to `refused` with why; a missing one leaves its surface black, as
// it always did, without a word beyond the loader's.
void LoadPicture(platform::Surface* surface, const char* name, std::string& refused) {
  if (ReloadBitmap(surface, name) == platform::DD_OK || !platform::FileExists(name)) return;
  platform::Image unused;
  std::string why;
  if (platform::LoadBmpFile(name, unused, &why)) return;  // read, but not copied
  refused += std::string("\n") + name + ": " + why;
}

// The one box for pictures that are there but cannot be read.
void TellRefusedPictures(const std::string& refused) {
  const std::string folder = WorkingFolder();
  const std::string text =
      "그림 파일이 손상되어 읽을 수 없습니다 (" + folder +
      "). 그 그림 없이 게임을 계속합니다. 게임을 다시 설치하거나 데이터 폴더를 다시 "
      "받으십시오.\nSome picture files in " +
      folder +
      " are damaged and cannot be read; the game goes on without them. Reinstall the game or "
      "get its data folder again." +
      refused;
  platform::ShowMessageBox(text.c_str(), "Vedo Zeza1");
}

}  // namespace

int InitProgram() {
  gStartFailure = {};
  if (InitDirectDraw() == 0) {
    platform::DebugOutput("Fail DirectDraw Init.\n");
    gStartFailure = {StartFault::kDisplay};
    return 0;
  }
  if (LoadMap(kMapFileName) == 0) {
    NoteFileFault(kMapFileName);
    return 0;
  }
  gSpriteCount = GetNumSprite(kSpriteFileName);
  if (gSpriteCount <= 0) {
    platform::ShowMessageBox("Fail Get Sprite Num", "InitProgram()");
    NoteFileFault(kSpriteFileName);
    return 0;
  }
  gSpriteFrames.assign(static_cast<std::size_t>(gSpriteCount), SpriteFrame{0, 0});
  if (LoadSprite(kSpriteFileName) == 0) {
    platform::ShowMessageBox("Fail Loading Sprite", "InitProgram()");
    NoteFileFault(kSpriteFileName);
    return 0;
  }
  ClearSurface(gPrimarySurface, 0);
  for (int i = 0; i < gSpriteCount && i < static_cast<int>(gSpriteSurfaces.size()); ++i) {
    SetSurfaceColorKey(gSpriteSurfaces[i].get(), 0);
  }
  gPalette = LoadPalette(gDirectDraw, kTitlePicture.name);
  std::string refused;
  LoadPicture(gEventWinSurface, kEventWindowPicture.name, refused);
  LoadPicture(gEvent1Surface, kPortraitSheet1.name, refused);
  LoadPicture(gEvent2Surface, kPortraitSheet2.name, refused);
  LoadPicture(gTitleSurface, kTitlePicture.name, refused);
  LoadPicture(gWarningSurface, kWarningPicture.name, refused);
  LoadPicture(gDiedSurface, kDeathPicture.name, refused);
  LoadPicture(gEndingSurface, kEndingPicture.name, refused);
  if (!refused.empty()) TellRefusedPictures(refused);
  // Last: a language pack replaces lines, pictures, tiles and frames loaded
  // above.
  UseLanguage();
  return 1;
}

std::string ExplainStartFailure(const StartFailure& failure, const std::string& folder,
                                bool besideProgram) {
  const std::string file = failure.file != nullptr ? failure.file : "";
  std::string ko;
  std::string en;
  switch (failure.fault) {
    case StartFault::kNone:
      return std::string();
    case StartFault::kNoDisplay:
      ko = "게임 창을 열 화면을 찾지 못했습니다. 데스크톱에서 시작하십시오.";
      en = "the game found no display to open its window on; start it from a desktop.";
      break;
    case StartFault::kNoSound:
      ko = "소리를 낼 곳을 하나도 열지 못했습니다. 컴퓨터의 사운드 설정을 확인하십시오.";
      en = "the game could open no sound output at all; check the computer's sound settings.";
      break;
    case StartFault::kDisplay:
      ko = "게임 화면을 준비하지 못했습니다. 그래픽 드라이버를 업데이트하거나 --window로 "
           "시작해 보십시오.";
      en = "the game could not set up its display; update the graphics driver, or try --window.";
      break;
    case StartFault::kMissingFile:
      ko = file + " 파일이 " + folder + "에 없습니다. " +
           (besideProgram ? "압축 파일을 (실행 파일만이 아니라) 통째로 풀거나 게임을 설치해서 "
                            "데이터 파일을 게임 옆에 두십시오. 또는 --data DIR로 데이터 폴더를 "
                            "알려 주십시오."
                          : "--data DIR로 데이터 폴더를 알려 주거나, 데이터를 스스로 찾는 "
                            "vedo-zeza1 명령으로 설치된 게임을 시작하십시오.");
      en = file + " is not in " + folder + "; " +
           (besideProgram ? "keep the game's data files beside it (unpack the whole zip, not "
                            "only the exe, or install the game), or give the data folder with "
                            "--data DIR."
                          : "give the data folder with --data DIR, or start the installed game "
                            "with its vedo-zeza1 command, which finds its data.");
      break;
    case StartFault::kDamagedFile:
      ko = folder + "의 " + file + " 파일이 손상되었거나 이 게임의 파일이 아닙니다. " +
           (besideProgram ? "게임을 다시 설치하거나 압축 파일을 통째로 다시 푸십시오."
                          : "게임을 다시 설치하거나 --data DIR로 온전한 데이터 폴더를 "
                            "알려 주십시오.") +
           " (vedo-kit check가 잘못된 곳을 알려 줍니다.)";
      en = file + " in " + folder + " is damaged or not this game's; " +
           (besideProgram ? "reinstall the game, or unpack the whole zip again."
                          : "reinstall the game, or give a good data folder with --data DIR.") +
           " (vedo-kit check lists what is wrong.)";
      break;
  }
  return "Vedo Zeza1: " + ko + "\nVedo Zeza1: " + en + "\n";
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
