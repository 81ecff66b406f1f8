#include <gtest/gtest.h>

#include "platform/draw/text_draw.h"

TEST(Utf8ToCp949, HangulTakesTwoBytesAndAsciiOne) {
  // "가" is B0 A1 in CP949; "똠" lies outside KS X 1001 and only CP949 has it.
  EXPECT_EQ(platform::Utf8ToCp949("가A"), std::string("\xB0\xA1"
                                                      "A"));
  EXPECT_EQ(platform::Utf8ToCp949("똠").size(), 2u);
  EXPECT_EQ(platform::Utf8ToCp949("1개가 있습니다.").size(), 15u);
}

TEST(Utf8ToCp949, UnconvertibleAndBrokenInputBecomesQuestionMarks) {
  EXPECT_EQ(platform::Utf8ToCp949("a\xF0\x9F\x98\x80"
                                  "b"),
            "a?b");  // an emoji
  EXPECT_EQ(platform::Utf8ToCp949("a\xFF"
                                  "b"),
            "a?b");
}
