// The language pack's text reader, against a game of three keys.
#include "formats/language_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

LanguageKeys Keys() {
  return {.keys = {"a", "b", "c", "d"},
          .where = {"first", "second", "third", "fourth"},
          .undrawable = [](char32_t c) { return c == U'漢' ? std::string("no glyph") : ""; }};
}

}  // namespace

TEST(LanguageText, ReadsKeysWithTheirBlanksAndNamesEveryProblemByLine) {
  const LanguageText good = ReadLanguageText(
      "\xEF\xBB\xBF# a comment\r\n\r\nb \"y\"\r\na \" x \"\r\n  c   \"say \"hi\"\"  \nd \"z\"",
      Keys());
  EXPECT_TRUE(good.problems.empty()) << good.problems.front();
  EXPECT_EQ(good.lines, (std::vector<std::string>{" x ", "y", "say \"hi\"", "z"}));
  EXPECT_EQ(good.fileLines, (std::vector<int>{4, 3, 5, 6}));
  EXPECT_EQ(good.usable, (std::vector<bool>{true, true, true, true}));

  const std::string tooLong(kLanguageLineMaxCharacters + 1, 'w');
  const LanguageText bad = ReadLanguageText(
      "a \"x\"\n"
      "a \"again\"\n"     // given twice
      "z \"unknown\"\n"   // no such key
      "b \"no end\n"      // one quote
      "b \"漢\"\n"        // undrawable
      "\xC3 \"bytes\"\n"  // not UTF-8
      "c \"" +
          tooLong + "\"\n",  // too long
      Keys());               // d is missing
  std::string all;
  for (const std::string& p : bad.problems) all += p + "\n";
  EXPECT_EQ(bad.usable, (std::vector<bool>{true, false, false, false})) << all;
  for (const char* named : {"line 2", "line 3", "line 4", "line 5", "line 6", "line 7", "d is"}) {
    EXPECT_NE(all.find(named), std::string::npos) << named << " is not named in:\n" << all;
  }

  const std::string huge(kLanguageTextMaxBytes + 1, '#');
  EXPECT_FALSE(ReadLanguageText(huge, Keys()).problems.empty());
}
