// Breaths during a long load. The game loads its data in one piece before
// its first pass; the pieces of that load (each file read, each surface
// made, a picture's rows, the glyph atlas) call BreatheDuringLoad between
// them. A platform whose thread is shared with a page (the browser's) sets
// gLoadBreath to hand the thread back there for a moment once the work has
// held it long, so that the page stays alive; elsewhere nothing is set.
// Nothing the game does changes either way.
#pragma once

namespace platform {

using LoadBreath = void (*)();
inline LoadBreath gLoadBreath = nullptr;

inline void BreatheDuringLoad() {
  if (gLoadBreath != nullptr) gLoadBreath();
}

}  // namespace platform
