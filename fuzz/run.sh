#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan) and runs each
# for a given number of seconds on its seed corpus.
#
#   fuzz/run.sh [SECONDS] [TARGET...]     default: 30 seconds, every target
#
# New inputs that widen coverage go to build-fuzz/corpus/TARGET (the seeds in
# fuzz/corpus stay as they are). A crash stops with the failing input saved
# as build-fuzz/crash-TARGET-*; fix it and add the input to a regression test.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_EACH=${1:-30}
shift || true
JOBS=$(nproc 2>/dev/null || echo 2)

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVEDO_BUILD_FUZZ=ON -DVEDO_BUILD_TESTS=OFF -DVEDO_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$JOBS" >/dev/null

targets=("$@")
if ((${#targets[@]} == 0)); then
  for t in fuzz/*_fuzz.cpp; do targets+=("$(basename "$t" .cpp)"); done
fi
status=0
for t in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$t"
  seeds="fuzz/corpus/${t%_fuzz}"
  [ -d "$seeds" ] || seeds=""
  echo "== $t: ${SECONDS_EACH}s"
  if ! "build-fuzz/fuzz/$t" -max_total_time="$SECONDS_EACH" -max_len=1048576 -rss_limit_mb=2048 -close_fd_mask=2 \
      -artifact_prefix="build-fuzz/crash-$t-" -print_final_stats=1 \
      "build-fuzz/corpus/$t" $seeds 2>&1 | grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|==.*ERROR|SUMMARY)'; then
    :
  fi
  if ls "build-fuzz/crash-$t-"* >/dev/null 2>&1; then
    echo "!! $t found a crash: $(ls build-fuzz/crash-$t-*)"
    status=1
  fi
done
exit $status
