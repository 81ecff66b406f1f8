#!/usr/bin/env bash
# Runs every fuzz target (clang's libFuzzer with ASan and UBSan) for a given
# number of seconds on its seeds and the inputs that once failed, two at a
# time.
#
#   fuzz/run.sh [SECONDS] [TARGET...]     default: 30 seconds, every target
#
# The targets are built in build-fuzz (or in the folder VEDO_FUZZ_BUILD names,
# which must be configured with clang and -DVEDO_BUILD_FUZZ=ON, as the
# sanitizer build of ./run.sh test is). New inputs that widen coverage go to
# BUILD/corpus/TARGET; the seeds in fuzz/corpus stay as they are. A crash, or
# a single allocation of more than 256 MB (no reader needs that much: a larger
# one comes from a size a file claims), is saved as BUILD/crash-TARGET-*: fix
# it and keep the input in fuzz/regressions/TARGET, which the tests run. Each
# target's figures are printed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_EACH=${1:-30}
shift || true
BUILD=${VEDO_FUZZ_BUILD:-build-fuzz}
JOBS=$(nproc 2>/dev/null || echo 2)

if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVEDO_BUILD_FUZZ=ON -DVEDO_BUILD_TESTS=OFF -DVEDO_BUILD_BENCH=OFF >/dev/null
fi
targets=("$@")
if ((${#targets[@]} == 0)); then
  for t in fuzz/*_fuzz.cpp; do targets+=("$(basename "$t" .cpp)"); done
fi
cmake --build "$BUILD" -j"$JOBS" --target "${targets[@]}" >/dev/null

run_one() {
  local t=$1 build=$2 seconds=$3
  local seeds="" dir
  for dir in "fuzz/corpus/${t%_fuzz}" "fuzz/regressions/${t%_fuzz}"; do
    [ -d "$dir" ] && seeds="$seeds $dir"
  done
  mkdir -p "$build/corpus/$t"
  rm -f "$build/crash-$t-"*
  "$build/fuzz/$t" -max_total_time="$seconds" -max_len=1048576 -rss_limit_mb=2048 \
    -malloc_limit_mb=256 -close_fd_mask=2 -artifact_prefix="$build/crash-$t-" \
    -print_final_stats=1 "$build/corpus/$t" $seeds >"$build/$t.log" 2>&1 || true
}
export -f run_one
printf '%s\n' "${targets[@]}" | xargs -P 2 -I{} bash -c "run_one {} $BUILD $SECONDS_EACH"

status=0
for t in "${targets[@]}"; do
  runs=$(grep -oP 'stat::number_of_executed_units: *\K[0-9]+' "$BUILD/$t.log" || echo "?")
  rss=$(grep -oP 'stat::peak_rss_mb: *\K[0-9]+' "$BUILD/$t.log" || echo "?")
  echo "$t: ${SECONDS_EACH}s, $runs executions, peak $rss MB"
  if ls "$BUILD/crash-$t-"* >/dev/null 2>&1; then
    echo "!! $t found a failing input: $(ls "$BUILD/crash-$t-"*)"
    grep -m3 -E 'ERROR|SUMMARY' "$BUILD/$t.log" || true
    status=1
  fi
done
exit $status
