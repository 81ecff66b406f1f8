#include "combat/event_window.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "audio/sound.h"
#include "gfx/display.h"
#include "platform/draw/text_draw.h"
#include "state/game_state.h"
#include "support/call_probe.h"
#include "support/golden.h"
#include "support/test_data.h"

namespace {

using testdata::Bgr;

// Each 160 x 109 cell of the two portrait sheets gets a colour of its own,
// so that a pixel of the drawn portrait names its sheet and cell.
Bgr CellColour(int sheet, int column, int row) {
  return {static_cast<std::uint8_t>(0x80 + sheet), static_cast<std::uint8_t>(0x10 * column + row),
          0x66};
}

std::filesystem::path DataWithMarkedSheets() {
  const auto dir = testdata::MakeTempDir("vedo-event-window");
  testdata::WriteStandardData(dir);
  for (int sheet : {1, 2}) {
    testdata::WriteFile(dir / ("event" + std::to_string(sheet) + ".bmp"),
                        testdata::Bmp24Bytes(320, 327, [sheet](int x, int y) {
                          return CellColour(sheet, x / 160, y / 109);
                        }));
  }
  return dir;
}

std::string Cp(const char* utf8) { return platform::Utf8ToCp949(utf8); }

struct Portrait {
  int sheet;  // 1 or 2; 0: none
  int column;
  int row;
};

class EventWindowTest : public ::testing::Test {
 protected:
  EventWindowTest() : game(DataWithMarkedSheets()) {}
  void SetUp() override {
    ASSERT_TRUE(game.ok());
    gWeapon = WEAPON_HANDGUN;
    gAmmoShown = 10;
  }

  // Draws one frame and returns the texts it drew.
  std::vector<testdata::TextCall> Draw(int eventNumber) {
    probe.texts.clear();
    DrawEventWindow(eventNumber);
    return probe.texts;
  }

  // The three lines of a fresh frame of the page, as drawn.
  std::vector<std::string> Lines(int eventNumber) {
    std::vector<std::string> lines;
    for (const auto& call : Draw(eventNumber)) lines.push_back(call.text);
    lines.resize(3);
    return lines;
  }

  Bgr PortraitPixel() const { return testdata::PixelAt(*gBackBuffer, 241 + 80, 81 + 54); }

  void ExpectPortrait(const Portrait& p, const std::string& what) const {
    const Bgr expected = p.sheet == 0 ? testdata::PictureColour("eventwin.bmp")
                                      : CellColour(p.sheet, p.column, p.row);
    EXPECT_EQ(PortraitPixel(), expected) << what;
  }

  testdata::HeadlessGame game;
  testdata::CallProbe probe;
};

struct PageCase {
  int eventNumber;
  Portrait portrait;
  const char* lines[3];
};

// With the handgun in hand and rounds left, no hard mode and portrait
// variant 0.
const PageCase kPages[] = {
    {EV_ZOMBIE,
     {1, 0, 0},
     {"좀비의 습격입니다.", "핸드건으로 공격했습니다.", "5발의 탄환을 소비했습니다."}},
    {EV_HUNTER,
     {1, 1, 2},
     {"헌터의 공격입니다.", "핸드건으로 공격했습니다.", "탄환8발소비 소량의 데미지."}},
    {EV_CERBERUS,
     {1, 0, 2},
     {"켈베로스의 공격입니다.", "핸드건으로 공격했습니다.", "6발의 탄환을 소비했습니다."}},
    {EV_FILE,
     {2, 0, 0},
     {"  축하합니다.    ", "파일을 입수했습니다.", "   개의 파일이 남았습니다."}},
    {EV_AMMO,
     {2, 0, 1},
     {"탄환을 보급합니다.", "핸드건탄 36발, 샷건탄 14발.", "매그넘탄 6발을 드리겠습니다."}},
    {EV_SPRAY_FOUND,
     {2, 1, 1},
     {"거리를 조사하던중에 .", "구급 스프레이 1개를 발견.", "사용시 체력이 완전회복 됩니다."}},
    {EV_STALKER,
     {2, 1, 2},
     {"스토커의 등장입니다.", "핸드건으로 공격했습니다.", "적지않은 데미지를 입었습니다."}},
    {EV_ROCKET_DODGED,
     {2, 0, 0},
     {"로켓런처의 공격을  ", "간신히 피했습니다.", "데미지없이 무사합니다."}},
    {EV_ROCKET_HIT,
     {2, 0, 2},
     {"적의 로켓런처 공격에 ", "직격으로 당했습니다.", "치명적인 데미지 입니다."}},
    {EV_ESCAPED,
     {2, 1, 0},
     {"     축하드립니다 .", "당신은 파일을 전부 모아서 ", "무사히 이곳에서 탈출했습니다."}},
    {EV_REVIVED,
     {2, 0, 2},
     {"당신은 원래 죽은 목숨입니다.", "당신을 소생시켜 드리겠습니다.",
      "스프레이 1개소비 절반 회복됨."}},
    {EV_SPRAY_USED,
     {2, 1, 1},
     {"스프레이 1개를 사용합니다.", "체력이 FULL로 회복됩니다.", "남은 스프레이는     개."}},
};

TEST_F(EventWindowTest, EachEventNumberShowsItsPage) {
  for (const PageCase& page : kPages) {
    ClearSurface(gBackBuffer, 0);
    const auto texts = Draw(page.eventNumber);
    const std::string what = "event " + std::to_string(page.eventNumber);
    ASSERT_GE(texts.size(), 3u) << what;
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(texts[i].text, Cp(page.lines[i])) << what << " line " << i + 1;
      EXPECT_EQ(texts[i].x, 207) << what;
      EXPECT_EQ(texts[i].y, 226 + 20 * i) << what;
      EXPECT_EQ(texts[i].backColour, 0x000000u) << what;
      EXPECT_EQ(texts[i].textColour, 0xFFFFFFu) << what;
    }
    ExpectPortrait(page.portrait, what);
    // The window picture fills x 162 to 478, y 61 to 301.
    EXPECT_EQ(testdata::PixelAt(*gBackBuffer, 162, 61), testdata::PictureColour("eventwin.bmp"));
    EXPECT_EQ(testdata::PixelAt(*gBackBuffer, 478, 301), testdata::PictureColour("eventwin.bmp"));
    EXPECT_EQ(testdata::PixelAt(*gBackBuffer, 161, 61), (Bgr{0, 0, 0}));
    EXPECT_EQ(testdata::PixelAt(*gBackBuffer, 479, 301), (Bgr{0, 0, 0}));
  }
}

TEST_F(EventWindowTest, ZombiePortraitFollowsTheVariant) {
  const Portrait expected[3] = {{1, 0, 0}, {1, 1, 0}, {1, 1, 1}};
  for (int variant = 0; variant < 3; ++variant) {
    gPortraitVariant = variant;
    DrawEventWindow(EV_ZOMBIE);
    ExpectPortrait(expected[variant], "variant " + std::to_string(variant));
  }
  // Combat never draws another variant; the window then shows no portrait
  // rather than read past its table.
  for (int variant : {-1, 3, INT_MAX}) {
    gPortraitVariant = variant;
    DrawEventWindow(EV_ZOMBIE);
    ExpectPortrait({0, 0, 0}, "variant " + std::to_string(variant));
  }
  // Only the zombie page looks at the variant.
  gPortraitVariant = 2;
  DrawEventWindow(EV_CERBERUS);
  ExpectPortrait({1, 0, 2}, "Cerberus with variant 2");
}

// Lines 2 and 3 of each fight page, for the knife, handgun, shotgun, magnum
// and a gun fired empty.
struct FightCase {
  int eventNumber;
  const char* damage[5];
};
const char* const kWeaponLines[5] = {"나이프로 공격했습니다.", "핸드건으로 공격했습니다.",
                                     "샷건으로 공격했습니다.", "매그넘으로 공격했습니다.",
                                     "장비중인 총에 탄환이 없습니다."};
const FightCase kFights[] = {
    {EV_ZOMBIE,
     {"약간의 데미지를 입었습니다.", "5발의 탄환을 소비했습니다.", "1발의 탄환을 소비했습니다.",
      "1발의 탄환을 소비했습니다.", "적지않은 데미지를 입었습니다."}},
    {EV_HUNTER,
     {"적지않은 데미지를 입었습니다.", "탄환8발소비 소량의 데미지.", "3발의 탄환을 소비했습니다.",
      "1발의 탄환을 소비했습니다.", "심한 데미지를 입었습니다."}},
    {EV_CERBERUS,
     {"약간의 데미지를 입었습니다.", "6발의 탄환을 소비했습니다.", "2발의 탄환을 소비했습니다.",
      "1발의 탄환을 소비했습니다.", "적지않은 데미지를 입었습니다."}},
    {EV_STALKER,
     {"극심한 데미지를 입었습니다.", "적지않은 데미지를 입었습니다.", "탄환5발소비. 소량의 데미지.",
      "3발소비. 무사히 도망쳤습니다.", "치명적인 데미지를 입었습니다."}},
};

TEST_F(EventWindowTest, FightPagesTakeTheWeaponPairOrTheEmptyGunPair) {
  for (const FightCase& fight : kFights) {
    for (int weapon = WEAPON_KNIFE; weapon <= WEAPON_MAGNUM; ++weapon) {
      gWeapon = weapon;
      // Rounds left, none left (0 is not the empty mark), and the -1 mark
      // or below.
      for (int shown : {25, 0, -1, -2, INT_MIN}) {
        gAmmoShown = shown;
        const auto lines = Lines(fight.eventNumber);
        const int expected = (weapon == WEAPON_KNIFE || shown > -1) ? weapon : 4;
        const std::string what = "event " + std::to_string(fight.eventNumber) + " weapon " +
                                 std::to_string(weapon) + " shown " + std::to_string(shown);
        EXPECT_EQ(lines[1], Cp(kWeaponLines[expected])) << what;
        EXPECT_EQ(lines[2], Cp(fight.damage[expected])) << what;
      }
    }
  }
}

TEST_F(EventWindowTest, LinesFollowTheStateOfEachFrame) {
  gWeapon = WEAPON_SHOTGUN;
  gAmmoShown = 3;
  EXPECT_EQ(Lines(EV_HUNTER)[1], Cp("샷건으로 공격했습니다."));
  gAmmoShown = -1;
  EXPECT_EQ(Lines(EV_HUNTER)[1], Cp("장비중인 총에 탄환이 없습니다."));
  gWeapon = WEAPON_KNIFE;
  EXPECT_EQ(Lines(EV_HUNTER)[1], Cp("나이프로 공격했습니다."));
  // No weapon has another code; the pair is then left empty.
  for (int weapon : {4, 7, -1}) {
    for (int shown : {4, -1}) {
      gWeapon = weapon;
      gAmmoShown = shown;
      const auto lines = Lines(EV_HUNTER);
      EXPECT_EQ(lines[0], Cp("헌터의 공격입니다.")) << weapon;
      EXPECT_EQ(lines[1], "") << weapon << " " << shown;
      EXPECT_EQ(lines[2], "") << weapon << " " << shown;
    }
  }
}

TEST_F(EventWindowTest, AmmunitionPageShowsTheHardSetWheneverHardModeIsSet) {
  const std::vector<std::string> normal = {Cp("탄환을 보급합니다."),
                                           Cp("핸드건탄 36발, 샷건탄 14발."),
                                           Cp("매그넘탄 6발을 드리겠습니다.")};
  const std::vector<std::string> hard = {Cp("탄환을 보급합니다."), Cp("핸드건탄 24발, 샷건탄 7발."),
                                         Cp("매그넘탄 3발을 드리겠습니다.")};
  gHardMode = 0;
  EXPECT_EQ(Lines(EV_AMMO), normal);
  for (int mode : {1, 2, -1, INT_MIN}) {
    gHardMode = mode;
    EXPECT_EQ(Lines(EV_AMMO), hard) << "gHardMode " << mode;
  }
}

TEST_F(EventWindowTest, FilePageWritesFilesLeftOverTheLeadingBlanks) {
  for (int left : {3, 0}) {
    gFilesLeft = left;
    const auto texts = Draw(EV_FILE);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[2].text, Cp("   개의 파일이 남았습니다."));
    EXPECT_EQ(texts[3].text, " " + std::to_string(left));
    EXPECT_EQ(texts[3].x, 207);
    EXPECT_EQ(texts[3].y, 266);
    EXPECT_EQ(texts[3].textColour, 0xFFFFFFu);
    EXPECT_EQ(texts[3].backColour, 0u);
  }
}

TEST_F(EventWindowTest, SprayUsedPageWritesSpraysLeftInsideLineThree) {
  gSprays = 2;
  const auto texts = Draw(EV_SPRAY_USED);
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[3].text, "2");
  EXPECT_EQ(texts[3].x, 330);
  EXPECT_EQ(texts[3].y, 266);
  // The revival takes a spray too, but its page shows no number; nor does
  // any other page.
  for (const PageCase& page : kPages) {
    if (page.eventNumber == EV_FILE || page.eventNumber == EV_SPRAY_USED) continue;
    EXPECT_EQ(Draw(page.eventNumber).size(), 3u) << "event " << page.eventNumber;
  }
}

// Frames a window drawn from a counter of `start` for `frames` frames, and
// returns the sounds asked for with the frame (1-based) of each.
std::vector<std::pair<int, int>> SoundsOver(testdata::CallProbe& probe, int eventNumber, int start,
                                            int frames) {
  gEventFrames = start;
  std::vector<std::pair<int, int>> heard;
  for (int frame = 1; frame <= frames; ++frame) {
    probe.sounds.clear();
    DrawEventWindow(eventNumber);
    for (int sound : probe.sounds) heard.push_back({frame, sound});
  }
  return heard;
}

TEST_F(EventWindowTest, PageSoundPlaysOnceOnTheFourthFrame) {
  const std::pair<int, int> pages[] = {
      {EV_FILE, SND_FILE},       {EV_SPRAY_FOUND, SND_SPRAY}, {EV_SPRAY_USED, SND_SPRAY},
      {EV_HUNTER, SND_HUNTER},   {EV_ZOMBIE, SND_ZOMBIE},     {EV_CERBERUS, SND_KERO},
      {EV_STALKER, SND_STALKER},
  };
  for (const auto& [page, sound] : pages) {
    const std::vector<std::pair<int, int>> expected = {{4, sound}};
    EXPECT_EQ(SoundsOver(probe, page, 0, 30), expected) << "event " << page;
    EXPECT_EQ(gEventFrames, 30);
  }
}

TEST_F(EventWindowTest, SilentPagesPlayNothing) {
  for (int page : {EV_AMMO, EV_ROCKET_DODGED, EV_ROCKET_HIT, EV_ESCAPED, EV_REVIVED}) {
    EXPECT_TRUE(SoundsOver(probe, page, 0, 10).empty()) << "event " << page;
  }
}

TEST_F(EventWindowTest, WindowOpenedWithTheCounterAboveThreeIsSilent) {
  // 6 is what the post-death delay leaves behind.
  for (int start : {4, 6, 100}) {
    EXPECT_TRUE(SoundsOver(probe, EV_ZOMBIE, start, 50).empty()) << "from " << start;
  }
  // A counter left at 1 or 2 makes the sound come sooner.
  const std::vector<std::pair<int, int>> early = {{3, SND_FILE}};
  EXPECT_EQ(SoundsOver(probe, EV_FILE, 1, 10), early);
}

TEST_F(EventWindowTest, PageSwitchedWhileOpenRunsOnWithoutARestart) {
  gEventFrames = 2;
  DrawEventWindow(EV_ZOMBIE);
  EXPECT_TRUE(probe.sounds.empty());
  // The field switches the page (revival) while the window stays open.
  DrawEventWindow(EV_SPRAY_USED);
  EXPECT_EQ(probe.sounds, std::vector<int>{SND_SPRAY});
  EXPECT_EQ(gEventFrames, 4);
}

TEST_F(EventWindowTest, UnknownNumberShowsTheBareWindowSilently) {
  for (int number : {0, 2, 5, 12, 54, 100, -9, INT_MIN}) {
    ClearSurface(gBackBuffer, 0);
    gEventFrames = 3;
    probe.Clear();
    DrawEventWindow(number);
    const std::string what = "event " + std::to_string(number);
    ASSERT_EQ(probe.texts.size(), 3u) << what;
    for (const auto& call : probe.texts) EXPECT_EQ(call.text, "") << what;
    EXPECT_TRUE(probe.sounds.empty()) << what;
    ExpectPortrait({0, 0, 0}, what);
    EXPECT_EQ(gEventFrames, 4) << what;
  }
}

TEST_F(EventWindowTest, CounterStopsAtTheTopOfItsRange) {
  gEventFrames = INT_MAX - 1;
  DrawEventWindow(EV_ZOMBIE);
  DrawEventWindow(EV_ZOMBIE);
  EXPECT_EQ(gEventFrames, INT_MAX);
  EXPECT_TRUE(probe.sounds.empty());
}

// Golden images of the window over the map's top-left corner, on the data
// kit the build generated; refreshed when its pictures or the text route
// change on purpose.
class EventWindowGolden : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string skip = testdata::KitGoldenSkipReason();
    if (skip.empty()) skip = testdata::TextGoldenSkipReason();
    if (!skip.empty()) GTEST_SKIP() << skip;
    ASSERT_TRUE(game.ok());
    testdata::DrawMapCorner();
    gEventFrames = 10;
  }
  testdata::HeadlessGame game{testdata::DataKitDir()};
};

TEST_F(EventWindowGolden, ZombiePageWithTheHandgun) {
  gWeapon = WEAPON_HANDGUN;
  gAmmoShown = 20;
  DrawEventWindow(EV_ZOMBIE);
  EXPECT_TRUE(testdata::MatchesGolden(*gBackBuffer, "event_window_zombie_handgun"));
}

TEST_F(EventWindowGolden, FilePageWithThreeFilesLeft) {
  gFilesLeft = 3;
  DrawEventWindow(EV_FILE);
  EXPECT_TRUE(testdata::MatchesGolden(*gBackBuffer, "event_window_file_3_left"));
}

TEST_F(EventWindowGolden, SprayUsedPageWithTwoSpraysLeft) {
  gSprays = 2;
  DrawEventWindow(EV_SPRAY_USED);
  EXPECT_TRUE(testdata::MatchesGolden(*gBackBuffer, "event_window_spray_used_2_left"));
}

}  // namespace
