#include <gtest/gtest.h>

#include "support/test_data.h"

TEST(Smoke, StandardDataLoads) {
  testdata::HeadlessGame game;
  EXPECT_TRUE(game.ok());
}
