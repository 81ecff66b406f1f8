// What a language pack costs at start-up: UseLanguage over the generated
// data kit, reading and putting in place the English pack (its text file,
// five pictures, seven tiles and a frame), beside Korean, which reads
// nothing.
#include <benchmark/benchmark.h>

#include "lang/language.h"
#include "support/test_data.h"

namespace {

void BM_UseLanguage(benchmark::State& state) {
  testdata::HeadlessGame game(testdata::DataKitDir());
  gLanguage = state.range(0) == 1 ? "en" : "";
  for (auto _ : state) {
    UseLanguage();
    benchmark::ClobberMemory();
  }
  gLanguage.clear();
}
BENCHMARK(BM_UseLanguage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
