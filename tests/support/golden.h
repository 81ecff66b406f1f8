// Golden-image checks. A frame is compared with tests/golden/NAME.png; on a
// mismatch the frame is written to the build folder as NAME.actual.png and
// the first differing pixel is named. Run the tests with VEDO_UPDATE_GOLDEN=1
// to write the current frames as the new golden images.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/draw/surface.h"

namespace testdata {

::testing::AssertionResult MatchesGolden(const platform::Surface& frame, const std::string& name);

// What is wrong with the glyph atlas built into this build, or an empty
// string: its SHA-256 must be the one tests/tools/glyphs.atlas.sha256
// records, since the text goldens hold its pixels. Refreshing the goldens
// records the current one.
std::string GlyphAtlasChange();
// Why a golden image that holds text cannot be compared here, or an empty
// string when it can: the glyph atlas has changed (GlyphAtlasChange).
std::string TextGoldenSkipReason();
// Why a golden image drawn from the generated data kit cannot be compared,
// or an empty string: the kit differs from its committed checksums
// (tests/content/datakit.sha256), which the kit manifest test reports once,
// naming the files.
std::string KitGoldenSkipReason();

}  // namespace testdata
