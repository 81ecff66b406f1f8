// The language pack's text reader: a PO file taken apart.
#include "formats/language_text.h"

#include <gtest/gtest.h>

#include <string>

TEST(LanguageText, ReadsEntriesWithTheirBlanksAndNamesEveryFaultByLine) {
  const PoFile good = ReadPoFile(
      "msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
      "#. where it shows\n#, fuzzy\nmsgctxt \"a\"\nmsgid \"가\"\nmsgstr \" x "
      "\"\n\"\\\"y\\\"\\t\"\n\n"
      "#~ msgctxt \"old\"\n#~ msgstr \"gone\"\n"
      "msgctxt \"b\"\r\nmsgid \"나\"\r\nmsgstr \"z\"\r\n");
  EXPECT_EQ(good.faultCount, 0u) << good.faults.front().text;
  ASSERT_EQ(good.entries.size(), 2u);
  EXPECT_EQ(good.entries[0].context, "a");
  EXPECT_EQ(good.entries[0].id, "가");
  EXPECT_EQ(good.entries[0].text, " x \"y\"\t");
  EXPECT_EQ(good.entries[0].line, 7);
  EXPECT_TRUE(good.entries[0].fuzzy);
  EXPECT_EQ(good.entries[1].text, "z");
  EXPECT_FALSE(good.entries[1].fuzzy);

  const PoFile bad = ReadPoFile(
      "msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=ISO-8859-1\\n\"\n"  // 1-3
      "msgctxt \"a\"\nmsgid \"x\"\nmsgstr \"no end\n"                                   // 4-6
      "msgctxt \"b\"\nmsgid \"x\"\nmsgstr \"\\q\"\n"                                    // 7-9
      "msgctxt \"c\"\nmsgid \"x\"\nmsgid_plural \"xs\"\nmsgstr[0] \"y\"\n"              // 10-13
      "msgctxt \"d\"\nmsgid \"\xC3\"\nmsgstr \"y\"\n"                                   // 14-16
      "what is this\n");                                                                // 17
  std::string all;
  for (const PoFault& f : bad.faults) all += std::to_string(f.line) + ": " + f.text + "\n";
  for (int line : {1, 6, 9, 12, 15, 17}) {  // the header by its first line
    EXPECT_NE(all.find(std::to_string(line) + ": "), std::string::npos)
        << "line " << line << " is not named in:\n"
        << all;
  }

  const PoFile huge = ReadPoFile(std::string(kLanguageTextMaxBytes + 1, '#'));
  EXPECT_TRUE(huge.entries.empty());
  EXPECT_EQ(huge.faultCount, 1u);
}
