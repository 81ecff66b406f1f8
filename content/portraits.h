// The event window's portraits: two sheets of 2 x 3 cells of 160 x 109.
//   event1: (0,0), (1,0), (1,1) three zombies; (0,1) the survivor who tells
//           the prologue; (0,2) a Cerberus; (1,2) a hunter.
//   event2: (0,0) a file found, the rocket dodged; (1,0) the escape;
//           (0,1) ammunition; (1,1) a first-aid spray; (0,2) a heart
//           monitor (rocket hit, revival); (1,2) the Stalker.
#pragma once

#include "common/canvas.h"

namespace datakit {

// Sheet 1 or 2, 320 x 327.
Canvas PortraitSheet(int sheet);

}  // namespace datakit
