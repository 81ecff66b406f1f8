#!/usr/bin/env bash
# Headless screenshots of the title, warning, prologue, field, event window,
# death screen and ending, over the generated data folder.
#
#   content/screenshots.sh [BUILD_DIR [OUT_DIR [LANG]]]
#
# BUILD_DIR is the build folder (default: build), which holds vedo-replay
# and the data folder; the PNG files go to OUT_DIR (default:
# BUILD_DIR/screenshots). LANG plays the game in that language (as --lang;
# en for the English pack), Korean without it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "${1:-build}")
out=$(realpath -m "${2:-$build/screenshots}")
mkdir -p "$out"
sed "s|@OUT@|$out|g" "$here/screenshots.replay" > "$out/screenshots.replay"
"$build/tools/replay/vedo-replay" --data "$build/data" --lang "${3:-ko}" "$out/screenshots.replay"
echo "screenshots in $out"
