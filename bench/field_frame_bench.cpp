// The cost of composing field frames, beside a plain copy of one frame.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "combat/event_window.h"
#include "field/field_scene.h"
#include "field/field_view.h"
#include "field/hint_lines.h"
#include "field/population.h"
#include "gfx/display.h"
#include "state/game_state.h"
#include "support/test_data.h"

namespace {

// A populated game with a third of its cells opened, the pointer resting on
// an opened plain cell with a count.
void SetUpField() {
  gInTitle = 0;
  gProloguePending = 0;
  gAppActive = 1;
  PopulateFieldFromSeed(1000000000u);
  gFieldReady = 1;
  for (int r = 0; r < kFieldRows; ++r) {
    for (int c = 0; c < kFieldCols; ++c) {
      if ((r + c) % 3 == 0 && gObjectLayer[r][c] == CELL_HIDDEN) gObjectLayer[r][c] = CELL_OPENED;
    }
  }
  // (row 3, column 3) is opened and has objects around it.
  gMouseX = 3 * 40 + 10;
  gMouseY = 3 * 40 + 10;
  gRocketTimer = 0;
}

// One whole field frame, flip included, as the main loop runs it.
void BM_FieldFrame(benchmark::State& state) {
  testdata::HeadlessGame game;
  SetUpField();
  for (auto _ : state) {
    FieldScene();
    gRocketTimer = 0;  // keep the rocket away
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FieldFrame);

// The frame's drawing with the hint lines and the event window on top, the
// two text-heavy extras a field frame can carry.
void BM_FieldFrameWithHintAndWindow(benchmark::State& state) {
  testdata::HeadlessGame game;
  SetUpField();
  gEventNumber = EV_ZOMBIE;
  const AmmoDigits digits = TakeAmmoDigits(gAmmoShown);
  for (auto _ : state) {
    DrawMapView();
    DrawPanel(digits);
    DrawPointerHighlight();
    ShowNearbyHint(gViewCol, gViewRow);
    DrawEventWindow(gEventNumber);
    FlipScreen();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FieldFrameWithHintAndWindow);

// The floor: copying one 640 x 480 x 3 frame.
void BM_FrameMemcpy(benchmark::State& state) {
  std::vector<unsigned char> from(640 * 480 * 3, 0x5A);
  std::vector<unsigned char> to(640 * 480 * 3);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size());
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(from.size()));
}
BENCHMARK(BM_FrameMemcpy);

}  // namespace
