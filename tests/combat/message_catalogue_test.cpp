#include "combat/message_catalogue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>

#include "state/game_state.h"

namespace {

// A title and five pairs per fight page of the event list, three lines per
// fixed page, the ammunition page's two sets and the prologue's two pages.
constexpr std::size_t CatalogueLineCount() {
  std::size_t n = 2 * 3 + 2 * 3;
#define EVENT(name, number, stem, lines, ...) \
  n += std::string_view(#lines) == "Fight" ? 11 : std::string_view(#lines) == "Fixed" ? 3 : 0;
#include "state/event_list.h"
  return n;
}
constexpr std::size_t kLineCount = CatalogueLineCount();

TEST(MessageCatalogue, EveryLineFitsThirtyCp949BytesOnOneLine) {
  const auto lines = AllCatalogueLines();
  ASSERT_EQ(lines.size(), kLineCount);
  for (const char* line : lines) {
    ASSERT_NE(line, nullptr);
    const std::string text(line);
    EXPECT_LE(text.size(), 30u) << text;
    EXPECT_EQ(text.find('\n'), std::string::npos) << text;
    EXPECT_EQ(text.find('\r'), std::string::npos) << text;
    EXPECT_EQ(text.find('?'), std::string::npos) << "a character did not convert: " << text;
  }
}

// Reference bytes worked out apart from the game's own conversion.
TEST(MessageCatalogue, LinesAreExactCp949BytesWithTheirBlanks) {
  PageLines file{};
  ASSERT_TRUE(FixedPageLines(EV_FILE, file));
  EXPECT_STREQ(file.line[0],
               "\x20\x20\xC3\xE0\xC7\xCF\xC7\xD5\xB4\xCF\xB4\xD9\x2E\x20\x20\x20\x20");

  PageLines spray{};
  ASSERT_TRUE(FixedPageLines(EV_SPRAY_USED, spray));
  EXPECT_STREQ(spray.line[1],
               "\xC3\xBC\xB7\xC2\xC0\xCC\x20\x46\x55\x4C\x4C\xB7\xCE\x20\xC8\xB8\xBA\xB9\xB5\xCB"
               "\xB4\xCF\xB4\xD9\x2E");
  EXPECT_STREQ(spray.line[2],
               "\xB3\xB2\xC0\xBA\x20\xBD\xBA\xC7\xC1\xB7\xB9\xC0\xCC\xB4\xC2\x20\x20\x20\x20\x20"
               "\xB0\xB3\x2E");

  PageLines hunterEmpty{};
  ASSERT_TRUE(FightPageLines(EV_HUNTER, kFightCaseOutOfAmmo, hunterEmpty));
  EXPECT_STREQ(hunterEmpty.line[1],
               "\xC0\xE5\xBA\xF1\xC1\xDF\xC0\xCE\x20\xC3\xD1\xBF\xA1\x20\xC5\xBA\xC8\xAF\xC0\xCC"
               "\x20\xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9\x2E");
  EXPECT_EQ(std::strlen(hunterEmpty.line[1]), 30u);  // the longest line there is

  EXPECT_STREQ(PrologueLines(0).line[0],
               "\x20\x39\xBF\xF9\x20\x32\x38\xC0\xCF\x20\xC7\xD1\xB3\xB7\x20\x20");
}

TEST(MessageCatalogue, OnlyTheFourFightPagesHaveFightLines) {
  PageLines lines{};
  for (int page : {EV_ZOMBIE, EV_HUNTER, EV_CERBERUS, EV_STALKER}) {
    for (int fightCase = 0; fightCase < kFightCases; ++fightCase) {
      EXPECT_TRUE(FightPageLines(page, fightCase, lines)) << page << " case " << fightCase;
    }
    for (int noCase : {-1, kFightCases}) {
      ASSERT_TRUE(FightPageLines(page, noCase, lines));
      EXPECT_STRNE(lines.line[0], "");
      EXPECT_STREQ(lines.line[1], "");
      EXPECT_STREQ(lines.line[2], "");
    }
  }
  for (int page : {0, EV_FILE, EV_AMMO, EV_SPRAY_FOUND, EV_ROCKET_DODGED, EV_SPRAY_USED, 12}) {
    EXPECT_FALSE(FightPageLines(page, WEAPON_KNIFE, lines)) << page;
  }
  for (int page : {EV_ZOMBIE, EV_AMMO, 0, 2, 100}) {
    EXPECT_FALSE(FixedPageLines(page, lines)) << page;
  }
  const PageLines none = PrologueLines(2);
  for (const char* line : none.line) EXPECT_STREQ(line, "");
}

}  // namespace
