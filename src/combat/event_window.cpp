#include "combat/event_window.h"

#include <climits>
#include <cstdio>

#include "audio/sound.h"
#include "combat/message_catalogue.h"
#include "gfx/display.h"
#include "lang/game_lines.h"
#include "platform/platform.h"
#include "state/data_contract.h"
#include "state/game_state.h"

namespace {

constexpr int kWindowX = 162;
constexpr int kWindowY = 61;
constexpr platform::Rect kWindowRect{0, 0, kEventWindowPicture.width, kEventWindowPicture.height};
constexpr int kPortraitX = 241;
constexpr int kPortraitY = 81;
constexpr int kPortraitWidth = 160;
constexpr int kPortraitHeight = 109;
constexpr int kTextY[3] = {226, 246, 266};
constexpr std::uint32_t kTextBack = 0x000000;
constexpr std::uint32_t kTextColour = 0xFFFFFF;
constexpr int kNoSound = -1;

struct Cell {
  int column;
  int row;
};

// A page of the window: where its portrait comes from, which lines it takes
// and which sound it plays. The zombie page picks its cell by the portrait
// variant instead.
struct EventPage {
  int eventNumber;
  platform::Surface* const* sheet;
  Cell portrait;
  EventLines lines;
  int sound;
};

// The pages, from the event list; its NONE is a page that opens silently.
constexpr int SND_NONE = kNoSound;
constexpr EventPage kPages[] = {
#define EVENT(name, number, stem, lines, sheet, column, row, sound) \
  {name, &gEvent##sheet##Surface, {column, row}, EventLines::k##lines, SND_##sound},
#include "state/event_list.h"
};

constexpr Cell kZombiePortraits[kPortraitVariants] = {{0, 0}, {1, 0}, {1, 1}};

const EventPage* FindPage(int eventNumber) {
  for (const EventPage& page : kPages) {
    if (page.eventNumber == eventNumber) return &page;
  }
  return nullptr;
}

void DrawPortrait(platform::Surface* sheet, Cell cell) {
  const platform::Rect source{kPortraitWidth * cell.column, kPortraitHeight * cell.row,
                              kPortraitWidth * cell.column + kPortraitWidth,
                              kPortraitHeight * cell.row + kPortraitHeight};
  BltFast(gBackBuffer, kPortraitX, kPortraitY, sheet, source, platform::DDBLTFAST_NOCOLORKEY);
}

// Lines 2 and 3 of a fight page follow the weapon in hand, except that a gun
// fired with nothing in it (the -1 mark) shows the empty-gun pair. The knife
// needs no ammunition, so it keeps its pair whatever the counter shows.
int FightCase() {
  if (gWeapon < WEAPON_KNIFE || gWeapon > WEAPON_MAGNUM) return -1;  // no such weapon: no pair
  if (gWeapon != WEAPON_KNIFE && gAmmoShown <= -1) return kFightCaseOutOfAmmo;
  return gWeapon;
}

PageLines LinesOf(const EventPage& page) {
  PageLines lines{{"", "", ""}};
  switch (page.lines) {
    case EventLines::kFight:
      FightPageLines(page.eventNumber, FightCase(), lines);
      break;
    case EventLines::kAmmo:
      lines = AmmoPageLines(gHardMode != 0);
      break;
    case EventLines::kFixed:
      FixedPageLines(page.eventNumber, lines);
      break;
  }
  return lines;
}

void PrintLine(const char* text, int x, int y) {
  PrintText(gBackBuffer, text, kTextBack, kTextColour, x, y);
}

}  // namespace

void DrawEventWindow(int eventNumber) {
  BltFast(gBackBuffer, kWindowX, kWindowY, gEventWinSurface, kWindowRect,
          platform::DDBLTFAST_NOCOLORKEY);

  // No part of the game sets a number outside the pages; should one turn
  // up, the window shows its bare frame and stays silent.
  const EventPage* page = FindPage(eventNumber);
  PageLines lines{{"", "", ""}};
  if (page != nullptr) {
    if (page->eventNumber != EV_ZOMBIE) {
      DrawPortrait(*page->sheet, page->portrait);
    } else if (gPortraitVariant >= 0 && gPortraitVariant < kPortraitVariants) {
      DrawPortrait(*page->sheet, kZombiePortraits[gPortraitVariant]);
    }
    lines = LinesOf(*page);
  }

  for (int i = 0; i < 3; ++i) PrintLine(lines.line[i], kEventTextX, kTextY[i]);

  char number[16];
  if (eventNumber == EV_FILE) {
    std::snprintf(number, sizeof number, " %d", gFilesLeft);
    PrintLine(number, kFilesLeftX, kTextY[2]);
  } else if (eventNumber == EV_SPRAY_USED) {
    std::snprintf(number, sizeof number, "%d", gSprays);
    PrintLine(number, kSpraysLeftX, kTextY[2]);
  }

  // The counter is not reset when a window opens, so only a window that
  // opens with it at 3 or below gets its sound.
  if (gEventFrames == 3 && page != nullptr && page->sound != kNoSound) {
    PlayWave(gSound[page->sound]);
  }
  // The counter runs on for as long as the window stays open; it stops at
  // the top of its range rather than wrapping round.
  if (gEventFrames < INT_MAX) ++gEventFrames;
}
