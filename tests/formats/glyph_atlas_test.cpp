// The glyph atlas every build draws its text from: the one built in is the
// one the text goldens were drawn with, and a broken atlas is refused with
// what is wrong, before anything it claims is allocated.
#include "formats/glyph_atlas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "support/golden.h"

namespace {

using platform::GlyphAtlas;

TEST(GlyphAtlas, MatchesItsChecksum) { EXPECT_EQ(testdata::GlyphAtlasChange(), ""); }

TEST(GlyphAtlas, ReadsWhatIsWrittenAndRefusesABrokenOneSayingWhy) {
  GlyphAtlas atlas;
  atlas.lineCell = 17;
  atlas.blank = 8;
  atlas.face = "Test face";
  atlas.decode.assign(std::size_t{GlyphAtlas::kLeads} * GlyphAtlas::kTrails, 0);
  atlas.decode[(0xB0 - GlyphAtlas::kFirstLead) * GlyphAtlas::kTrails + 0xA1 - 0x41] = 0xAC00;
  atlas.glyphs.resize(2);
  atlas.glyphs[0] = {U'A', 8, 1, 3, 9, 2, {1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 1, 1, 1, 1, 1, 1, 0}};
  atlas.glyphs[1] = {0xAC00, 16, 0, 0, 3, 3, {1, 1, 1, 0, 0, 1, 0, 0, 1}};
  atlas.unicodeGlyphs = {{0xE9, 9, 1, 2, 1, 1, {1}}};
  const std::vector<std::uint8_t> bytes = platform::WriteGlyphAtlas(atlas);
  GlyphAtlas read;
  std::string error;
  ASSERT_TRUE(platform::ReadGlyphAtlas(bytes, read, error)) << error;
  EXPECT_EQ(read.face, atlas.face);
  EXPECT_EQ(read.decode, atlas.decode);
  ASSERT_EQ(read.glyphs.size(), 2u);
  ASSERT_EQ(read.unicodeGlyphs.size(), 1u);
  for (int i = 0; i < 3; ++i) {
    const auto& [cp, advance, left, top, width, height, ink] =
        i < 2 ? read.glyphs[i] : read.unicodeGlyphs[0];
    const auto& want = i < 2 ? atlas.glyphs[i] : atlas.unicodeGlyphs[0];
    EXPECT_EQ(std::tie(cp, advance, left, top, width, height, ink),
              std::tie(want.codePoint, want.advance, want.left, want.top, want.width, want.height,
                       want.ink));
  }

  for (std::size_t n = 0; n < bytes.size(); ++n) {
    ASSERT_FALSE(platform::ReadGlyphAtlas({bytes.data(), n}, read, error)) << "cut at " << n;
  }
  // Bytes changed at an offset, and what the refusal says.
  const std::size_t count =
      12 + atlas.face.size() + std::size_t{GlyphAtlas::kLeads} * GlyphAtlas::kTrails * 2;
  const std::size_t second = count + 4 + 14 + 2 * 2;
  struct Broken {
    std::size_t at;
    std::vector<std::uint8_t> with;
    const char* says;
  };
  for (const Broken& b : std::vector<Broken>{
           {0, {'V', 'Z', 'G', 'B'}, "not a glyph atlas"},
           {4, {3, 0}, "version 3"},
           {6, {21, 0}, "line cell of 21"},
           {8, {0, 0}, "blank 0 pixels"},
           {10, {0xFF, 0xFF}, "cut off in the face's name"},
           {count, {0xFF, 0xFF, 0xFF, 0xFF}, "claims 4294967295 glyphs"},
           {count + 4 + 10, {0xFF, 0xFF}, "glyph 0 (U+0041) lies outside"},
           {count + 4 + 8, {16, 0}, "glyph 0 (U+0041) lies outside"},
           {second, {'A', 0, 0, 0}, "glyph 1 (U+0041) is out of order"},
           {bytes.size() - 15 + 8, {17, 0}, "glyph 2 (U+00E9) lies outside"},
           {bytes.size(), {0}, "1 bytes after the last glyph"},
       }) {
    std::vector<std::uint8_t> broken = bytes;
    broken.resize(std::max(broken.size(), b.at + b.with.size()));
    std::memcpy(broken.data() + b.at, b.with.data(), b.with.size());
    error.clear();
    EXPECT_FALSE(platform::ReadGlyphAtlas(broken, read, error)) << b.says;
    EXPECT_NE(error.find(b.says), std::string::npos) << error;
  }

  ASSERT_TRUE(platform::ReadGlyphAtlas(platform::BuiltInGlyphAtlas(), read, error)) << error;
  EXPECT_GT(read.glyphs.size(), 2350u) << "ASCII, KS X 1001's symbols and its 2,350 syllables";
}

}  // namespace
