#!/usr/bin/env bash
# Writes vedo-zeza1-VERSION-win64.zip in OUT_DIR (the source folder unless
# given): one folder holding the game, its data files beside it (the game
# reads the folder it starts in), the README, the licences and a
# Korean-and-English how-to-play.
#   make_zip.sh WINDOWS_BUILD DATA_DIR [OUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(cd "$1" && pwd)
data=$(cd "$2" && pwd)
out=$(cd "${3:-.}" && pwd)
version=$(sed -n 's/^project(VedoZeza1 VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=vedo-zeza1-$version-win64
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/$name"
# Without the debug information of the RelWithDebInfo build.
x86_64-w64-mingw32-strip -o "$stage/$name/vedo-zeza1.exe" "$build/src/vedo-zeza1.exe"
cp -r "$data"/* "$stage/$name/"
cp README.md "$stage/$name/README.md"
cp packaging/windows/how-to-play.txt "$stage/$name/HOW-TO-PLAY.txt"
# The game's text is drawn with glyphs of the Baekmuk Gulim font, whose
# licence goes with every copy.
cp /usr/share/doc/fonts-baekmuk/copyright "$stage/$name/BAEKMUK-FONT-LICENSE.txt"
if [[ -f LICENSE ]]; then
  cp LICENSE "$stage/$name/LICENSE.txt"
else
  echo "make_zip.sh: no LICENSE file; the zip goes without a licence text" >&2
fi
rm -f "$out/$name.zip"
(cd "$stage" && zip -q -r -X "$out/$name.zip" "$name")
echo "Wrote $out/$name.zip"
