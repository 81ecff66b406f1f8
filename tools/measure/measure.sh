#!/usr/bin/env bash
# Frame pacing, processor time, memory and start-up figures of the real game
# on a virtual 1280 x 720 screen (Xvfb with openbox). See docs/measurements.md.
#
#   tools/measure/measure.sh [BUILD_DIR] [vedo-measure options...]
#
# BUILD_DIR defaults to build (the RelWithDebInfo build); the game runs in
# its generated data folder, BUILD_DIR/data. Options: --seconds N (default
# 10), --runs N (default 1), --keep DIR (keep the traces and logs).
# With build-win/ built (./run.sh windows), the Windows build's game is
# measured under Wine in the same runs, beside the Linux figures.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build
if [[ $# -gt 0 && $1 != --* ]]; then
  build=$1
  shift
fi
cmake --build "$build" --target vedo-zeza1 vedo-data vedo-measure >/dev/null
windows=()
if [[ -f build-win/src/vedo-zeza1.exe ]]; then
  windows=(--windows-game build-win/src/vedo-zeza1.exe --runner tests/windows/wine_run.sh)
fi
exec "$build/tools/measure/vedo-measure" --game "$build/src/vedo-zeza1" --data "$build/data" \
  "${windows[@]}" "$@"
