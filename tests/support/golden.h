// Golden-image checks. A frame is compared with tests/golden/NAME.png; on a
// mismatch the frame is written to the build folder as NAME.actual.png and
// the first differing pixel is named. Run the tests with VEDO_UPDATE_GOLDEN=1
// to write the current frames as the new golden images.
#pragma once

#include <string>

#include <gtest/gtest.h>

#include "platform/surface.h"

namespace testdata {

::testing::AssertionResult MatchesGolden(const platform::Surface& frame, const std::string& name);

}  // namespace testdata
