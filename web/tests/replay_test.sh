#!/usr/bin/env bash
# replay_test.sh NATIVE_REPLAY WASM_REPLAY_JS DATA_DIR: the whole-loop replay
# scripts run by the Linux vedo-replay and by the WebAssembly one under
# Node, with a state dump after every run of passes; the dumps must be the
# same bytes. The WebAssembly one plays each again in English (--lang en),
# which must change no state either. Then the games recorded in the real
# programs (tests/recordings, and any given in RECORDINGS) play to their
# digests under Node.
set -euo pipefail
native=$1
wasm=$2
data=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
for script in "$root"/tests/scenes/replays/*.vrs "$root"/tests/field/replays/*.vrs; do
  name=$(basename "$script" .vrs)
  mkdir -p "$work/$name/linux" "$work/$name/web" "$work/$name/english"
  awk '{ print } /^frames / { n++; print "dump state" n ".json" }' "$script" >"$work/$name/script.vrs"
  linux=0
  web=0
  (cd "$work/$name/linux" && "$native" --data "$data" ../script.vrs >/dev/null 2>&1) || linux=$?
  (cd "$work/$name/web" && node "$wasm" --data "$data" ../script.vrs >/dev/null 2>&1) || web=$?
  (cd "$work/$name/english" && node "$wasm" --data "$data" --lang en ../script.vrs >/dev/null 2>&1) ||
    web=$?
  count=$(ls "$work/$name/linux" | wc -l)
  if [[ $linux -ne 0 || $web -ne 0 ]]; then
    echo "FAIL $name: the script did not pass (Linux $linux, Node $web)"
    failures=$((failures + 1))
  elif [[ $count -gt 0 ]] && diff -r "$work/$name/linux" "$work/$name/web" >/dev/null &&
    diff -r "$work/$name/linux" "$work/$name/english" >/dev/null; then
    echo "ok   $name: $count state dumps the same bytes, in Korean and in English"
  else
    echo "FAIL $name: the dumps differ ($count from Linux, $(ls "$work/$name/web" | wc -l) from Node)"
    failures=$((failures + 1))
  fi
done
for recording in "$root"/tests/recordings/*.vzr ${RECORDINGS:-}; do
  if node "$wasm" --data "$data" --play "$recording" >"$work/play.log" 2>&1; then
    echo "ok   $(basename "$recording"): played to its digest under Node"
  else
    echo "FAIL $(basename "$recording"): $(tail -1 "$work/play.log")"
    failures=$((failures + 1))
  fi
done
exit $((failures > 0))
