// The game's lines: one key each, and every page of the event list has its
// lines among them, so that a new event kind cannot miss its text.
#include "lang/game_lines.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

TEST(GameLines, KeysAreUniqueAndEveryEventPageHasItsLines) {
  std::set<std::string> keys;
  for (const GameLine& line : GameLines()) {
    EXPECT_TRUE(keys.insert(line.key).second) << line.key << " twice";
    EXPECT_FALSE(line.where.empty()) << line.key;
  }
  const auto expect = [&keys](const std::string& key) {
    EXPECT_EQ(keys.count(key), 1u) << key << " has no line";
  };
  const auto page = [&](std::string_view lines, const std::string& stem) {
    if (lines == "Fight") {
      expect(stem + ".title");
      for (const char* weapon : {"knife", "handgun", "shotgun", "magnum", "empty"}) {
        expect(stem + "." + weapon + ".2");
        expect(stem + "." + weapon + ".3");
      }
    } else {
      for (const char* hard : {"", ".hard"}) {
        if (lines == "Fixed" && *hard != '\0') continue;
        for (const char* n : {".1", ".2", ".3"}) expect(stem + hard + n);
      }
    }
  };
#define EVENT(name, number, stem, lines, ...) page(#lines, stem);
#include "state/event_list.h"
}
