#!/usr/bin/env bash
# web/measure.sh: the browser build's figures, from one run. Needs
# ./run.sh web done (build, build-web and the site).
#
# Prints: the sizes of the program and the data the page loads; for the
# page in Chromium over an emulated home connection (10 Mbit/s with 40 ms,
# and 3 Mbit/s with 150 ms, three runs each), when the loading bar, the
# title's picture and the game's title show and the bytes before the
# picture, on the first visit and on the repeat visit (from the offline
# copy); the processor time of Chromium's processes (from /proc) over 10 s
# of the still title; the page's long tasks (over 50 ms) over a whole game
# and the ending's music, at the machine's speed and with the processor
# slowed 4 times; for the page on a local static server, the
# time from the page's
# start to its first frame, the soundfont's load, the audio context's
# making, the longest gap between frames in the second after the first click
# (when the sound starts), and over 10 s of the field at its own pace the
# passes per second, the game's mean time per frame and the longest gap
# between frames; and, beside it, the game's time per pass with no screen,
# as the Linux replay tool and the WebAssembly one under Node take it for
# the same 3000 field passes.
set -euo pipefail
cd "$(dirname "$0")/.."
site=build-web/site
echo "== Sizes =="
printf '%-28s %9s bytes (%s unpacked)\n' "vedo-zeza1.wasm.gz" "$(stat -c %s $site/vedo-zeza1.wasm.gz)" \
  "$(gzip -dc $site/vedo-zeza1.wasm.gz | wc -c)"
printf '%-28s %9s bytes\n' "vedo-zeza1.js" "$(stat -c %s $site/vedo-zeza1.js)"
printf '%-28s %9s bytes (%s unpacked)\n' "data kit ($(tar -tzf $site/vedo-data.pack | wc -l) files)" \
  "$(stat -c %s $site/vedo-data.pack)" "$(gzip -dc $site/vedo-data.pack | wc -c)"
printf '%-28s %9s bytes (%s unpacked)\n' "title's picture (title.pack)" "$(stat -c %s $site/title.pack)" \
  "$(gzip -dc $site/title.pack | wc -c)"
printf '%-28s %9s bytes\n' "page (html, css, js)" "$(cat $site/index.html $site/page.css $site/page.js | wc -c)"
printf '%-28s %9s bytes\n' "soundfont" "$(stat -c %s $site/TimGM6mb.sf2 2>/dev/null || echo 0)"
printf '%-28s %9s bytes\n' "synthesizer (js)" "$(cat $site/synth/*.js | wc -c)"

echo "== Headless, 3000 field passes =="
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
{
  echo "time 1700000000"
  echo "set gInTitle 0"
  echo "set gProloguePending 0"
  echo "move 300 200"
  echo "frames 3000"
} >"$work/field.vrs"
root=$PWD
for tool in "$root/build/tools/replay/vedo-replay" "node $root/build-web/web/vedo-replay.js"; do
  start=$(date +%s%N)
  (cd "$work" && $tool --data "$root/build/data" field.vrs >/dev/null 2>&1)
  end=$(date +%s%N)
  printf '%-36s %6.3f ms a pass (whole run, start-up included)\n' "${tool//"$root/"/}" \
    "$(echo "($end - $start) / 3000 / 1000000" | bc -l)"
done
echo "== Chromium over an emulated network (three runs each) =="
node web/tests/figures.mjs "$site" network
echo "== Chromium: processor time at the still title =="
node web/tests/figures.mjs "$site" still
echo "== Chromium: long tasks, a whole game and the ending's music =="
node web/tests/figures.mjs "$site" longtasks
echo "== Chromium =="
node web/tests/figures.mjs "$site"
