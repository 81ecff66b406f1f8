#include "combat/message_catalogue.h"

#include <string>

#include "lang/game_lines.h"
#include "lang/language.h"
#include "platform/draw/text_draw.h"
#include "state/game_state.h"

namespace {

// The pages' lines by their ids among the game's lines (lang/game_lines.h),
// found once by their keys; the text comes from the language in use.
constexpr int kFightPageEvents[] = {EV_ZOMBIE, EV_HUNTER, EV_CERBERUS, EV_STALKER};
constexpr const char* kFightPageStems[] = {"zombie", "hunter", "cerberus", "stalker"};
constexpr int kFightPageCount = sizeof kFightPageEvents / sizeof kFightPageEvents[0];
constexpr const char* kFightCaseNames[kFightCases] = {"knife", "handgun", "shotgun", "magnum",
                                                      "empty"};
constexpr int kFixedPageEvents[] = {EV_FILE,    EV_SPRAY_FOUND, EV_ROCKET_DODGED, EV_ROCKET_HIT,
                                    EV_ESCAPED, EV_REVIVED,     EV_SPRAY_USED};
constexpr const char* kFixedPageStems[] = {"file",    "spray_found", "rocket_dodged", "rocket_hit",
                                           "escaped", "revived",     "spray_used"};
constexpr int kFixedPageCount = sizeof kFixedPageEvents / sizeof kFixedPageEvents[0];

struct CatalogueIds {
  int fightTitle[kFightPageCount];
  int fightPairs[kFightPageCount][kFightCases][2];
  int ammo[2][3];
  int fixed[kFixedPageCount][3];
  int prologue[2][3];
};

CatalogueIds FindIds() {
  CatalogueIds ids{};
  for (int p = 0; p < kFightPageCount; ++p) {
    const std::string stem = kFightPageStems[p];
    ids.fightTitle[p] = GameLineId(stem + ".title");
    for (int k = 0; k < kFightCases; ++k) {
      for (int i = 0; i < 2; ++i) {
        ids.fightPairs[p][k][i] =
            GameLineId(stem + "." + kFightCaseNames[k] + "." + std::to_string(i + 2));
      }
    }
  }
  for (int i = 0; i < 3; ++i) {
    const std::string n = std::to_string(i + 1);
    ids.ammo[0][i] = GameLineId("ammo." + n);
    ids.ammo[1][i] = GameLineId("ammo.hard." + n);
    for (int p = 0; p < kFixedPageCount; ++p) {
      ids.fixed[p][i] = GameLineId(std::string(kFixedPageStems[p]) + "." + n);
    }
    ids.prologue[0][i] = GameLineId("prologue1." + n);
    ids.prologue[1][i] = GameLineId("prologue2." + n);
  }
  return ids;
}

const CatalogueIds& Ids() {
  static const CatalogueIds ids = FindIds();
  return ids;
}

PageLines Page(const int (&ids)[3]) {
  return {{GameText(ids[0]), GameText(ids[1]), GameText(ids[2])}};
}

}  // namespace

bool FightPageLines(int eventNumber, int fightCase, PageLines& out) {
  for (int p = 0; p < kFightPageCount; ++p) {
    if (kFightPageEvents[p] != eventNumber) continue;
    out = {{GameText(Ids().fightTitle[p]), "", ""}};
    if (fightCase >= 0 && fightCase < kFightCases) {
      out.line[1] = GameText(Ids().fightPairs[p][fightCase][0]);
      out.line[2] = GameText(Ids().fightPairs[p][fightCase][1]);
    }
    return true;
  }
  return false;
}

PageLines AmmoPageLines(bool hardMode) { return Page(Ids().ammo[hardMode ? 1 : 0]); }

bool FixedPageLines(int eventNumber, PageLines& out) {
  for (int p = 0; p < kFixedPageCount; ++p) {
    if (kFixedPageEvents[p] != eventNumber) continue;
    out = Page(Ids().fixed[p]);
    return true;
  }
  return false;
}

PageLines PrologueLines(int page) {
  if (page != 0 && page != 1) return {{"", "", ""}};
  return Page(Ids().prologue[page]);
}

std::vector<const char*> AllCatalogueLines() {
  const CatalogueIds& ids = Ids();
  std::vector<const char*> all;
  for (int p = 0; p < kFightPageCount; ++p) {
    all.push_back(GameText(ids.fightTitle[p]));
    for (const auto& pair : ids.fightPairs[p]) {
      for (int id : pair) all.push_back(GameText(id));
    }
  }
  for (const auto& set : ids.ammo) {
    for (int id : set) all.push_back(GameText(id));
  }
  for (const auto& page : ids.fixed) {
    for (int id : page) all.push_back(GameText(id));
  }
  for (const auto& page : ids.prologue) {
    for (int id : page) all.push_back(GameText(id));
  }
  return all;
}
