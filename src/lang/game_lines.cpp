#include "lang/game_lines.h"

#include "platform/draw/text_draw.h"
#include "state/game_state.h"

namespace {

// ---- The Korean texts ---------------------------------------------------------

struct FightPageText {
  const char* stem;
  const char* name;
  const char* title;
  // Lines 2 and 3 for the knife, handgun, shotgun, magnum and an empty gun.
  const char* pairs[5][2];
};

// The weapon lines are the same on every fight page; only the damage and
// ammunition lines differ.
constexpr const char* kKnifeLine = "나이프로 공격했습니다.";
constexpr const char* kHandgunLine = "핸드건으로 공격했습니다.";
constexpr const char* kShotgunLine = "샷건으로 공격했습니다.";
constexpr const char* kMagnumLine = "매그넘으로 공격했습니다.";
constexpr const char* kEmptyGunLine = "장비중인 총에 탄환이 없습니다.";

constexpr FightPageText kFightPages[] = {
    {"zombie",
     "zombie",
     "좀비의 습격입니다.",
     {{kKnifeLine, "약간의 데미지를 입었습니다."},
      {kHandgunLine, "5발의 탄환을 소비했습니다."},
      {kShotgunLine, "1발의 탄환을 소비했습니다."},
      {kMagnumLine, "1발의 탄환을 소비했습니다."},
      {kEmptyGunLine, "적지않은 데미지를 입었습니다."}}},
    {"hunter",
     "hunter",
     "헌터의 공격입니다.",
     {{kKnifeLine, "적지않은 데미지를 입었습니다."},
      {kHandgunLine, "탄환8발소비 소량의 데미지."},
      {kShotgunLine, "3발의 탄환을 소비했습니다."},
      {kMagnumLine, "1발의 탄환을 소비했습니다."},
      {kEmptyGunLine, "심한 데미지를 입었습니다."}}},
    {"cerberus",
     "Cerberus",
     "켈베로스의 공격입니다.",
     {{kKnifeLine, "약간의 데미지를 입었습니다."},
      {kHandgunLine, "6발의 탄환을 소비했습니다."},
      {kShotgunLine, "2발의 탄환을 소비했습니다."},
      {kMagnumLine, "1발의 탄환을 소비했습니다."},
      {kEmptyGunLine, "적지않은 데미지를 입었습니다."}}},
    {"stalker",
     "Stalker",
     "스토커의 등장입니다.",
     {{kKnifeLine, "극심한 데미지를 입었습니다."},
      {kHandgunLine, "적지않은 데미지를 입었습니다."},
      {kShotgunLine, "탄환5발소비. 소량의 데미지."},
      {kMagnumLine, "3발소비. 무사히 도망쳤습니다."},
      {kEmptyGunLine, "치명적인 데미지를 입었습니다."}}},
};
constexpr const char* kCaseNames[5] = {"knife", "handgun", "shotgun", "magnum", "empty"};
constexpr const char* kCaseWhere[5] = {"with the knife", "with the handgun", "with the shotgun",
                                       "with the magnum", "with a gun fired empty"};

struct FixedPageText {
  const char* stem;
  const char* name;
  const char* lines[3];
};

// The two ammunition sets name the rounds handed out in a normal and a hard
// game.
constexpr FixedPageText kAmmoPages[] = {
    {"ammo",
     "ammunition page, normal game",
     {"탄환을 보급합니다.", "핸드건탄 36발, 샷건탄 14발.", "매그넘탄 6발을 드리겠습니다."}},
    {"ammo.hard",
     "ammunition page, hard game",
     {"탄환을 보급합니다.", "핸드건탄 24발, 샷건탄 7발.", "매그넘탄 3발을 드리겠습니다."}},
};

// The file page leaves three blanks at the start of line 3 and the
// spray-used page a run of five inside it: the window writes the numbers
// over them.
constexpr FixedPageText kFixedPages[] = {
    {"file",
     "file page",
     {"  축하합니다.    ", "파일을 입수했습니다.", "   개의 파일이 남았습니다."}},
    {"spray_found",
     "first-aid spray found",
     {"거리를 조사하던중에 .", "구급 스프레이 1개를 발견.", "사용시 체력이 완전회복 됩니다."}},
    {"rocket_dodged",
     "rocket dodged",
     {"로켓런처의 공격을  ", "간신히 피했습니다.", "데미지없이 무사합니다."}},
    {"rocket_hit",
     "rocket hit",
     {"적의 로켓런처 공격에 ", "직격으로 당했습니다.", "치명적인 데미지 입니다."}},
    {"escaped",
     "escape",
     {"     축하드립니다 .", "당신은 파일을 전부 모아서 ", "무사히 이곳에서 탈출했습니다."}},
    {"revived",
     "revival",
     {"당신은 원래 죽은 목숨입니다.", "당신을 소생시켜 드리겠습니다.",
      "스프레이 1개소비 절반 회복됨."}},
    {"spray_used",
     "spray used",
     {"스프레이 1개를 사용합니다.", "체력이 FULL로 회복됩니다.", "남은 스프레이는     개."}},
};

constexpr const char* kPrologueText[2][3] = {
    {" 9월 28일 한낮  ", "거리에 가득찬 좀비들.", "생존자는 어디에도 없다."},
    {"하지만 난 아직 살아있다.", "이것은 나의 마지막 탈출.", "5개의 파일을 찾아야한다."},
};

// "There are n of them", one line per count.
constexpr const char* kHintCountText[7] = {
    "1개가 있습니다.", "2개가 있습니다.", "3개가 있습니다.", "4개가 있습니다.",
    "5개가 있습니다.", "6개가 있습니다.", "7개가 있습니다.",
};

// The options panel's words and the short notes the program shows over the
// game. Each Korean line is padded with blanks to the box it is drawn in
// (the panel's black plates), so that another language's line may be as
// wide as the box; the blanks at the end are not drawn centred.
struct ProgramLine {
  const char* key;
  const char* korean;
  const char* where;
};
constexpr ProgramLine kProgramLines[] = {
    {"language.name", "한국어            ",
     "options panel, the language's own name in the list of languages"},
    {"options.title", "설정      ", "options panel, its title"},
    {"options.effects", "효과음            ", "options panel, label: the effects' volume"},
    {"options.music", "음악              ", "options panel, label: the music's volume"},
    {"options.mute", "모두 끄기 (M)     ", "options panel, label: every sound off (the M key)"},
    {"options.display", "화면              ", "options panel, label: full screen or a window"},
    {"options.display.full", "전체 화면   ", "options panel, choice: full screen"},
    {"options.display.window", "창          ", "options panel, choice: a window"},
    {"options.window_size", "창 크기           ", "options panel, label: the window's scale"},
    {"options.window_size.auto", "화면에 맞게       ",
     "options panel, the window's scale: the largest that fits the screen"},
    {"options.scaling", "확대 방식         ", "options panel, label: how the frame is scaled"},
    {"options.scaling.fill", "채우기      ", "options panel, choice: fill the screen"},
    {"options.scaling.sharp", "정수배      ",
     "options panel, choice: whole multiples only, sharp pixels with black around"},
    {"options.language", "언어              ", "options panel, label: the language"},
    {"options.background", "배경에서도 소리   ",
     "options panel, label: sound while another window has the focus"},
    {"options.close", "닫기 (F1)    ", "options panel, its closing button"},
    {"note.screenshot", "스크린샷을 저장했습니다.                ",
     "a note over the game after F12 saved the screen"},
    {"note.screenshot_failed", "스크린샷을 저장하지 못했습니다.         ",
     "a note over the game after F12 could not save the screen"},
    {"note.settings_damaged", "설정 파일이 손상되어 기본 설정으로 시작합니다.              ",
     "a note over the title: the kept settings were damaged, the defaults are in use"},
    {"note.muted", "소리 꺼짐 (M)       ", "a note over the game: M turned every sound off"},
    {"note.unmuted", "소리 켜짐 (M)       ", "a note over the game: M turned the sound on again"},
};

int IdIn(const std::vector<GameLine>& lines, std::string_view key) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].key == key) return static_cast<int>(i);
  }
  return -1;
}

std::vector<GameLine> BuildLines() {
  std::vector<GameLine> all;
  auto add = [&](std::string key, const char* korean, std::string where,
                 int box = kEventTextRight - kEventTextX) {
    all.push_back({std::move(key), korean, std::move(where), {}, box});
  };
  for (const FightPageText& page : kFightPages) {
    const std::string stem = page.stem;
    const std::string window = std::string("event window, ") + page.name + " page, ";
    add(stem + ".title", page.title, window + "line 1");
    for (int k = 0; k < 5; ++k) {
      for (int i = 0; i < 2; ++i) {
        add(stem + "." + kCaseNames[k] + "." + std::to_string(i + 2), page.pairs[k][i],
            window + "line " + std::to_string(i + 2) + " " + kCaseWhere[k]);
      }
    }
  }
  auto addPage = [&](const FixedPageText& page) {
    for (int i = 0; i < 3; ++i) {
      add(std::string(page.stem) + "." + std::to_string(i + 1), page.lines[i],
          std::string("event window, ") + page.name + ", line " + std::to_string(i + 1));
    }
  };
  for (const FixedPageText& page : kAmmoPages) addPage(page);
  for (const FixedPageText& page : kFixedPages) addPage(page);
  for (int p = 0; p < 2; ++p) {
    for (int i = 0; i < 3; ++i) {
      add("prologue" + std::to_string(p + 1) + "." + std::to_string(i + 1), kPrologueText[p][i],
          "prologue, page " + std::to_string(p + 1) + ", line " + std::to_string(i + 1));
    }
  }
  for (int n = 1; n <= 7; ++n) {
    add("hint.count." + std::to_string(n), kHintCountText[n - 1],
        "hint lines over the panel, first line, with " + std::to_string(n) + " near",
        kHintScreenRight - kHintCountX);
  }
  // The distance lines are this label, then the distances, each after two
  // blanks and the later ones after a comma. Seven distances fill the hint
  // screen already after the Korean label, so a label may be no wider.
  const auto labelBox = [](const char* korean) {
    return platform::TextWidthCp949(platform::Utf8ToCp949(korean).c_str());
  };
  add("hint.x", "X:", "hint lines, the label before the column distances", labelBox("X:"));
  add("hint.y", "Y:", "hint lines, the label before the row distances", labelBox("Y:"));
  // The program's own words: each as wide as its padded Korean, its plate.
  for (const ProgramLine& line : kProgramLines) {
    add(line.key, line.korean, line.where, labelBox(line.korean));
  }

  const int filesLeft = IdIn(all, "file.3");
  all[static_cast<std::size_t>(filesLeft)].number = {0, " %d", 0, 5, "the files left"};
  const int spraysLeft = IdIn(all, "spray_used.3");
  all[static_cast<std::size_t>(spraysLeft)].number = {kSpraysLeftX - kEventTextX, "%d", 0, 9,
                                                      "the sprays left"};
  return all;
}

}  // namespace

const std::vector<GameLine>& GameLines() {
  static const std::vector<GameLine> lines = BuildLines();
  return lines;
}

int GameLineId(std::string_view key) { return IdIn(GameLines(), key); }
