#include "combat/message_catalogue.h"

#include <string>

#include "lang/game_lines.h"
#include "lang/language.h"
#include "platform/draw/text_draw.h"
#include "state/game_state.h"

namespace {

// The pages' lines by their ids among the game's lines (lang/game_lines.h),
// found once by their keys; the text comes from the language in use.
struct ListedPage {
  int event;
  const char* stem;
  EventLines lines;
};
constexpr ListedPage kListed[] = {
#define EVENT(name, number, stem, lines, ...) {name, stem, EventLines::k##lines},
#include "state/event_list.h"
};

constexpr int CountOf(EventLines lines) {
  int n = 0;
  for (const ListedPage& page : kListed) n += page.lines == lines ? 1 : 0;
  return n;
}
constexpr int kFightPageCount = CountOf(EventLines::kFight);
constexpr int kFixedPageCount = CountOf(EventLines::kFixed);

// The n-th page of the list with these lines.
constexpr const ListedPage& NthOf(EventLines lines, int n) {
  for (const ListedPage& page : kListed) {
    if (page.lines == lines && n-- == 0) return page;
  }
  return kListed[0];
}

constexpr const char* kFightCaseNames[kFightCases] = {"knife", "handgun", "shotgun", "magnum",
                                                      "empty"};

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
    const std::string stem = NthOf(EventLines::kFight, p).stem;
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
      ids.fixed[p][i] = GameLineId(std::string(NthOf(EventLines::kFixed, p).stem) + "." + n);
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
    if (NthOf(EventLines::kFight, p).event != eventNumber) continue;
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
    if (NthOf(EventLines::kFixed, p).event != eventNumber) continue;
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
