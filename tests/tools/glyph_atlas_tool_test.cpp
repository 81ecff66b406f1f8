// vedo-glyph-atlas, the one program that needs a font: without one that
// draws Hangul it fails, naming the package to install, and writes nothing.
#include <gtest/gtest.h>

#include <fstream>

#include "common/child_process.h"
#include "support/test_data.h"

namespace {

namespace fs = std::filesystem;

TEST(GlyphAtlasTool, WithoutAHangulFontItFailsNamingThePackage) {
  const fs::path dir = testdata::MakeTempDir("vedo-glyph-atlas");
  std::ofstream(dir / "fonts.conf") << "<?xml version=\"1.0\"?>\n<fontconfig><cachedir>"
                                    << (dir / "cache").string() << "</cachedir></fontconfig>\n";
  child::Options run;
  run.argv = {std::string(VEDO_BINARY_DIR) + "/tools/glyphatlas/vedo-glyph-atlas",
              (dir / "glyphs.atlas").string()};
  run.env = {{"FONTCONFIG_FILE", (dir / "fonts.conf").string()}};
  const child::Result result = child::Run(run);
  EXPECT_EQ(result.exitCode, 1) << child::Describe(result);
  EXPECT_EQ(result.said,
            "vedo-glyph-atlas: no installed font draws Hangul (install fonts-baekmuk)\n");
  EXPECT_FALSE(fs::exists(dir / "glyphs.atlas"));
  fs::remove_all(dir);
}

}  // namespace
