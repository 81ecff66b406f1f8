// The cost of a frame's building blocks: composing a full screen of tiles
// and keyed sprites (beside a plain copy of one frame's bytes), one Korean
// line, reading the glyph atlas (once, at the first text), and one present
// on the headless backend.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "formats/glyph_atlas.h"
#include "gfx/display.h"
#include "platform/draw/text_draw.h"
#include "platform/platform.h"
#include "support/test_data.h"

namespace {

testdata::HeadlessGame& Game() {
  static std::unique_ptr<testdata::HeadlessGame> game = [] {
    auto g = std::make_unique<testdata::HeadlessGame>();
    if (!g->ok()) std::abort();
    return g;
  }();
  return *game;
}

constexpr std::size_t kFrameBytes = 640 * 480 * 3;  // 921,600

void BM_MemcpyOneFrame(benchmark::State& state) {
  std::vector<std::uint8_t> from(kFrameBytes, 0x5A);
  std::vector<std::uint8_t> to(kFrameBytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), kFrameBytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kFrameBytes);
}
BENCHMARK(BM_MemcpyOneFrame);

// The field's picture: 16 x 12 tiles of 40 x 40 fill the screen, and ten
// keyed sprites lie over it.
void BM_ComposeTilesAndSprites(benchmark::State& state) {
  Game();
  for (auto _ : state) {
    for (int row = 0; row < 12; ++row) {
      for (int col = 0; col < 16; ++col) DrawTile(col * 40, row * 40, (row * 16 + col) % 500);
    }
    for (int i = 0; i < 10; ++i) DrawSprite(20 + i * 60, 100 + (i % 3) * 90, i == 0 ? 0 : i);
    benchmark::DoNotOptimize(gBackBuffer->Pixels());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kFrameBytes);
}
BENCHMARK(BM_ComposeTilesAndSprites);

// A 30-byte line: 13 Hangul syllables, three blanks and a full stop.
void BM_KoreanLine(benchmark::State& state) {
  Game();
  static const std::string line = platform::Utf8ToCp949("스프레이를 사용했다. 남은 것은");
  if (line.size() != 30) {
    state.SkipWithError("the line is not 30 bytes");
    return;
  }
  PrintText(gBackBuffer, line.c_str(), 0, 0xFFFFFF, 207, 226);  // the atlas is read once
  for (auto _ : state) {
    PrintText(gBackBuffer, line.c_str(), 0, 0xFFFFFF, 207, 226);
    benchmark::ClobberMemory();
  }
  state.SetLabel(platform::TextFaceDescription());
}
BENCHMARK(BM_KoreanLine);

void BM_ReadGlyphAtlas(benchmark::State& state) {
  for (auto _ : state) {
    platform::GlyphAtlas atlas;
    std::string error;
    if (!platform::ReadGlyphAtlas(platform::BuiltInGlyphAtlas(), atlas, error)) {
      state.SkipWithError(error.c_str());
      return;
    }
    benchmark::DoNotOptimize(atlas.glyphs.data());
  }
}
BENCHMARK(BM_ReadGlyphAtlas)->Unit(benchmark::kMicrosecond);

void BM_PresentHeadless(benchmark::State& state) {
  Game();
  for (auto _ : state) {
    FlipScreen();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PresentHeadless);

}  // namespace
