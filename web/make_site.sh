#!/usr/bin/env bash
# make_site.sh BUILD_WEB DATA_DIR: puts the static site together in
# BUILD_WEB/site from the browser build, the generated data kit, the page and
# its packages (web/node_modules, after npm ci), the soundfont and the
# licences. Any static web server can host the folder as it is.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1
data=$2
site=$build/site
rm -rf "$site"
mkdir -p "$site/synth" "$site/licences"
cp "$here/index.html" "$here/page.js" "$build/web/vedo-zeza1.js" "$build/web/vedo-zeza1.wasm" "$site/"
# The data kit beside the page, and the list the page loads it by.
: >"$site/files.txt"
for f in "$data"/*; do
  name=$(basename "$f")
  [[ $name == icon.png || -d $f ]] && continue
  cp "$f" "$site/"
  echo "$name" >>"$site/files.txt"
done
# The music's synthesizer and instruments. Without the soundfont the music
# is silent after one console warning.
synth=$here/node_modules/js-synthesizer
cp "$synth/externals/libfluidsynth-2.4.6.js" "$synth/dist/js-synthesizer.min.js" "$site/synth/"
if [[ -r /usr/share/sounds/sf2/TimGM6mb.sf2 ]]; then
  cp /usr/share/sounds/sf2/TimGM6mb.sf2 "$site/"
fi
# What the page ships from others, with their terms.
cp /usr/share/doc/fonts-baekmuk/copyright "$site/licences/baekmuk-fonts.txt"
cp "$synth/externals/LICENSE.fluidsynth.txt" "$site/licences/fluidsynth-LGPL-2.1.txt"
cp "$synth/LICENSE" "$site/licences/js-synthesizer.txt"
cp /usr/share/doc/timgm6mb-soundfont/copyright "$site/licences/timgm6mb-soundfont.txt"
[[ -r /usr/share/common-licenses/GPL-2 ]] && cp /usr/share/common-licenses/GPL-2 "$site/licences/GPL-2.txt"
cat >"$site/licences/index.html" <<'HTML'
<!doctype html>
<meta charset="utf-8">
<title>Vedo Zeza1: licences</title>
<h1>What this page ships from others</h1>
<ul>
<li>The text is drawn from glyphs of the Baekmuk Gulim font:
  <a href="baekmuk-fonts.txt">its licence</a>.</li>
<li>The music plays on FluidSynth 2.4.6 compiled to WebAssembly (LGPL-2.1):
  <a href="fluidsynth-LGPL-2.1.txt">its licence</a>, loaded through js-synthesizer:
  <a href="js-synthesizer.txt">its licence</a>.</li>
<li>The instruments are the TimGM6mb soundfont (GPL-2):
  <a href="timgm6mb-soundfont.txt">its copyright notice</a>, <a href="GPL-2.txt">GPL-2</a>.</li>
</ul>
HTML
echo "Site written to $site ($(du -sh "$site" | cut -f1))"
