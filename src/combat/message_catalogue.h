// The texts of the event window's pages and of the prologue's two pages:
// three lines a page, handed out as CP949 bytes, the code page the text
// drawing takes, in the language in use (lang/language.h). They stay valid
// until the language changes.
#pragma once

#include <vector>

// The cases of a fight page's lines 2 and 3: one per weapon code
// (WEAPON_KNIFE to WEAPON_MAGNUM), then the pair for a gun fired empty.
inline constexpr int kFightCaseOutOfAmmo = 4;
inline constexpr int kFightCases = 5;

// Which lines a page of the event list (state/event_list.h) takes: a title
// and a pair per weapon case, the ammunition sets, or three fixed lines.
enum class EventLines { kFight, kAmmo, kFixed };

// Three zero-terminated CP949 lines, none of them null. Blanks at either end
// belong to the text: they are drawn.
struct PageLines {
  const char* line[3];
};

// A Fight page of the event list: the page's title line and the pair of the
// case; a case outside 0 to 4 has no pair and leaves lines 2 and 3 empty. False for any other event
// number.
bool FightPageLines(int eventNumber, int fightCase, PageLines& out);

// The ammunition page: the set that names the amounts of a normal game, or
// of a hard one.
PageLines AmmoPageLines(bool hardMode);

// A Fixed page of the event list, whose lines never change. False for any
// other event number.
bool FixedPageLines(int eventNumber, PageLines& out);

// The prologue's first (0) or second (1) page. Any other number gives three
// empty lines.
PageLines PrologueLines(int page);

// Every line the catalogue holds, each text once per place it appears.
std::vector<const char*> AllCatalogueLines();
