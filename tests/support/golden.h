// Golden-image checks. A frame is compared with tests/golden/NAME.png; on a
// mismatch the frame is written to the build folder as NAME.actual.png and
// the first differing pixel is named. Run the tests with VEDO_UPDATE_GOLDEN=1
// to write the current frames as the new golden images.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/surface.h"

namespace testdata {

::testing::AssertionResult MatchesGolden(const platform::Surface& frame, const std::string& name);

// Why a golden image that holds text cannot be compared here, or an empty
// string when it can. Text pixels follow the FreeType version and the face;
// tests/golden/text_route.txt names the ones the text goldens were made
// with, and on others they are skipped. Refreshing records the current ones.
std::string TextGoldenSkipReason();
// Why a golden image drawn from the generated data kit cannot be compared,
// or an empty string: the kit differs from its committed checksums
// (tests/tools/datakit.sha256), which the kit manifest test reports once,
// naming the files.
std::string KitGoldenSkipReason();

}  // namespace testdata
