#include "combat/message_catalogue.h"

#include <string>

#include "platform/text.h"
#include "state/game_state.h"

namespace {

// ---- The texts, as UTF-8 ----------------------------------------------------

struct FightPageText {
  int eventNumber;
  const char* title;
  // Lines 2 and 3 for the knife, handgun, shotgun, magnum and an empty gun.
  const char* pairs[kFightCases][2];
};

// The weapon lines are the same on every fight page; only the damage and
// ammunition lines differ.
constexpr const char* kKnifeLine = "나이프로 공격했습니다.";
constexpr const char* kHandgunLine = "핸드건으로 공격했습니다.";
constexpr const char* kShotgunLine = "샷건으로 공격했습니다.";
constexpr const char* kMagnumLine = "매그넘으로 공격했습니다.";
constexpr const char* kEmptyGunLine = "장비중인 총에 탄환이 없습니다.";

constexpr FightPageText kFightPages[] = {
    {EV_ZOMBIE,
     "좀비의 습격입니다.",
     {{kKnifeLine, "약간의 데미지를 입었습니다."},
      {kHandgunLine, "5발의 탄환을 소비했습니다."},
      {kShotgunLine, "1발의 탄환을 소비했습니다."},
      {kMagnumLine, "1발의 탄환을 소비했습니다."},
      {kEmptyGunLine, "적지않은 데미지를 입었습니다."}}},
    {EV_HUNTER,
     "헌터의 공격입니다.",
     {{kKnifeLine, "적지않은 데미지를 입었습니다."},
      {kHandgunLine, "탄환8발소비 소량의 데미지."},
      {kShotgunLine, "3발의 탄환을 소비했습니다."},
      {kMagnumLine, "1발의 탄환을 소비했습니다."},
      {kEmptyGunLine, "심한 데미지를 입었습니다."}}},
    {EV_CERBERUS,
     "켈베로스의 공격입니다.",
     {{kKnifeLine, "약간의 데미지를 입었습니다."},
      {kHandgunLine, "6발의 탄환을 소비했습니다."},
      {kShotgunLine, "2발의 탄환을 소비했습니다."},
      {kMagnumLine, "1발의 탄환을 소비했습니다."},
      {kEmptyGunLine, "적지않은 데미지를 입었습니다."}}},
    {EV_STALKER,
     "스토커의 등장입니다.",
     {{kKnifeLine, "극심한 데미지를 입었습니다."},
      {kHandgunLine, "적지않은 데미지를 입었습니다."},
      {kShotgunLine, "탄환5발소비. 소량의 데미지."},
      {kMagnumLine, "3발소비. 무사히 도망쳤습니다."},
      {kEmptyGunLine, "치명적인 데미지를 입었습니다."}}},
};
constexpr int kFightPageCount = sizeof kFightPages / sizeof kFightPages[0];

// The two sets name the rounds handed out in a normal and a hard game.
constexpr const char* kAmmoText[2][3] = {
    {"탄환을 보급합니다.", "핸드건탄 36발, 샷건탄 14발.", "매그넘탄 6발을 드리겠습니다."},
    {"탄환을 보급합니다.", "핸드건탄 24발, 샷건탄 7발.", "매그넘탄 3발을 드리겠습니다."},
};

struct FixedPageText {
  int eventNumber;
  const char* lines[3];
};

// The file page leaves three blanks at the start of line 3 and the
// spray-used page a run of five inside it: the window writes the numbers
// over them.
constexpr FixedPageText kFixedPages[] = {
    {EV_FILE, {"  축하합니다.    ", "파일을 입수했습니다.", "   개의 파일이 남았습니다."}},
    {EV_SPRAY_FOUND,
     {"거리를 조사하던중에 .", "구급 스프레이 1개를 발견.", "사용시 체력이 완전회복 됩니다."}},
    {EV_ROCKET_DODGED, {"로켓런처의 공격을  ", "간신히 피했습니다.", "데미지없이 무사합니다."}},
    {EV_ROCKET_HIT, {"적의 로켓런처 공격에 ", "직격으로 당했습니다.", "치명적인 데미지 입니다."}},
    {EV_ESCAPED,
     {"     축하드립니다 .", "당신은 파일을 전부 모아서 ", "무사히 이곳에서 탈출했습니다."}},
    {EV_REVIVED,
     {"당신은 원래 죽은 목숨입니다.", "당신을 소생시켜 드리겠습니다.",
      "스프레이 1개소비 절반 회복됨."}},
    {EV_SPRAY_USED,
     {"스프레이 1개를 사용합니다.", "체력이 FULL로 회복됩니다.", "남은 스프레이는     개."}},
};
constexpr int kFixedPageCount = sizeof kFixedPages / sizeof kFixedPages[0];

constexpr const char* kPrologueText[2][3] = {
    {" 9월 28일 한낮  ", "거리에 가득찬 좀비들.", "생존자는 어디에도 없다."},
    {"하지만 난 아직 살아있다.", "이것은 나의 마지막 탈출.", "5개의 파일을 찾아야한다."},
};

// ---- The same texts, as CP949 ----------------------------------------------

struct Catalogue {
  std::string fightTitle[kFightPageCount];
  std::string fightPairs[kFightPageCount][kFightCases][2];
  std::string ammo[2][3];
  std::string fixed[kFixedPageCount][3];
  std::string prologue[2][3];
};

Catalogue BuildCatalogue() {
  Catalogue c;
  for (int p = 0; p < kFightPageCount; ++p) {
    c.fightTitle[p] = platform::Utf8ToCp949(kFightPages[p].title);
    for (int k = 0; k < kFightCases; ++k) {
      for (int i = 0; i < 2; ++i) {
        c.fightPairs[p][k][i] = platform::Utf8ToCp949(kFightPages[p].pairs[k][i]);
      }
    }
  }
  for (int set = 0; set < 2; ++set) {
    for (int i = 0; i < 3; ++i) {
      c.ammo[set][i] = platform::Utf8ToCp949(kAmmoText[set][i]);
      c.prologue[set][i] = platform::Utf8ToCp949(kPrologueText[set][i]);
    }
  }
  for (int p = 0; p < kFixedPageCount; ++p) {
    for (int i = 0; i < 3; ++i) c.fixed[p][i] = platform::Utf8ToCp949(kFixedPages[p].lines[i]);
  }
  return c;
}

const Catalogue& Cp949() {
  static const Catalogue catalogue = BuildCatalogue();
  return catalogue;
}

}  // namespace

bool FightPageLines(int eventNumber, int fightCase, PageLines& out) {
  for (int p = 0; p < kFightPageCount; ++p) {
    if (kFightPages[p].eventNumber != eventNumber) continue;
    const Catalogue& c = Cp949();
    out = {{c.fightTitle[p].c_str(), "", ""}};
    if (fightCase >= 0 && fightCase < kFightCases) {
      out.line[1] = c.fightPairs[p][fightCase][0].c_str();
      out.line[2] = c.fightPairs[p][fightCase][1].c_str();
    }
    return true;
  }
  return false;
}

PageLines AmmoPageLines(bool hardMode) {
  const auto& set = Cp949().ammo[hardMode ? 1 : 0];
  return {{set[0].c_str(), set[1].c_str(), set[2].c_str()}};
}

bool FixedPageLines(int eventNumber, PageLines& out) {
  for (int p = 0; p < kFixedPageCount; ++p) {
    if (kFixedPages[p].eventNumber != eventNumber) continue;
    const auto& lines = Cp949().fixed[p];
    out = {{lines[0].c_str(), lines[1].c_str(), lines[2].c_str()}};
    return true;
  }
  return false;
}

PageLines PrologueLines(int page) {
  if (page != 0 && page != 1) return {{"", "", ""}};
  const auto& lines = Cp949().prologue[page];
  return {{lines[0].c_str(), lines[1].c_str(), lines[2].c_str()}};
}

std::vector<const char*> AllCatalogueLines() {
  const Catalogue& c = Cp949();
  std::vector<const char*> all;
  for (int p = 0; p < kFightPageCount; ++p) {
    all.push_back(c.fightTitle[p].c_str());
    for (const auto& pair : c.fightPairs[p]) {
      for (const std::string& line : pair) all.push_back(line.c_str());
    }
  }
  for (const auto& set : c.ammo) {
    for (const std::string& line : set) all.push_back(line.c_str());
  }
  for (const auto& page : c.fixed) {
    for (const std::string& line : page) all.push_back(line.c_str());
  }
  for (const auto& page : c.prologue) {
    for (const std::string& line : page) all.push_back(line.c_str());
  }
  return all;
}
