// The documented screenshot command runs through and leaves one 640 x 480
// picture per screen.
#include <gtest/gtest.h>

#include "common/child_process.h"
#include "common/png_io.h"
#include "support/test_data.h"

TEST(Screenshots, TheScriptSavesEveryScreen) {
  const std::filesystem::path out = testdata::MakeTempDir("vedo-shots");
  child::Options script;
  script.argv = {"bash", std::string(VEDO_SOURCE_DIR) + "/content/screenshots.sh", VEDO_BINARY_DIR,
                 out.string()};
  const child::Result run = child::Run(script);
  ASSERT_EQ(run.exitCode, 0) << child::Describe(run);
  for (const char* name : {"title", "warning", "prologue", "field", "event", "died", "ending"}) {
    pngio::RgbImage image;
    std::string error;
    ASSERT_TRUE(pngio::ReadPng((out / (std::string(name) + ".png")).string(), image, &error))
        << error;
    EXPECT_EQ(image.width, 640) << name;
    EXPECT_EQ(image.height, 480) << name;
  }
}
