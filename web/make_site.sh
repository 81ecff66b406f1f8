#!/usr/bin/env bash
# make_site.sh BUILD_WEB NATIVE_BUILD: puts the static site together in
# BUILD_WEB/site from the browser build, the data kit the native build
# generated (NATIVE_BUILD/data), the page and its packages (web/node_modules,
# after npm ci), the soundfont and the licences. The native build also makes
# the icons (vedo-web-icons) and the preview picture (vedo-replay). Any
# static web server can host the folder as it is, at any path.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1
native=$(cd "$2" && pwd)
data=$native/data
site=$build/site
rm -rf "$site"
mkdir -p "$site/synth" "$site/licences" "$site/icons" "$site/inflate"
cp "$here/index.html" "$here/page.css" "$here/manifest.webmanifest" "$site/"
# The program's script asks the browser to compile all its functions as it
# loads, rather than each on its first call inside the program's start,
# where a slow phone's task would grow long.
{ echo '//# allFunctionsCalledOnLoad'; cat "$build/web/vedo-zeza1.js"; } >"$site/vedo-zeza1.js"
# The page's scripts without their comment lines and indentation: the page
# comes before the title, whose bytes are counted.
for script in page.js audio.js fetch_worker.js synth_worker.js sw.js; do
  sed -e '/^ *\/\/\( \|$\)/d' -e 's/^ *//' "$here/$script" >"$site/$script"
done

# The WebAssembly, and the data kit in packs (tar files), compressed by us:
# no host's settings decide their size. The title's picture has a pack of
# its own, which comes first, with the program: the page shows it while the
# rest arrives. The icon is the desktop's, not the game's.
gzip -9n <"$build/web/vedo-zeza1.wasm" >"$site/vedo-zeza1.wasm.gz"
title=Title.bmp
mapfile -t kit < <(cd "$data" && ls | grep -vx -e icon.png -e lang -e "$title")
pack() {  # pack FOLDER NAME... > OUT
  local from=$1
  shift
  tar --format=ustar --owner=0 --group=0 --numeric-owner --mtime=@0 --sort=name \
    -C "$from" -cf - "$@" | gzip -9n
}
size() { stat -c %s "$site/$1"; }
pack "$data" "${kit[@]}" >"$site/vedo-data.pack"
titles=()
if [[ -r $data/$title ]]; then
  pack "$data" "$title" >"$site/title.pack"
  titles+=("ko: $(size title.pack)")
fi
# Each language pack the release ships (the native build's languages.txt,
# from the game's list) in a pack of its own, which only a page playing in
# that language downloads, and the name the language calls itself, which
# the page's switch shows; its title's picture, if it has one, in its own
# title pack.
languages=()
while IFS=$'\t' read -r code language; do
  mapfile -t files < <(cd "$data/lang" && find "$code" -type f ! -path "$code/$title" | sort)
  pack "$data/lang" "${files[@]}" >"$site/lang-$code.pack"
  languages+=("'$code': { name: \"$language\", bytes: $(size "lang-$code.pack") }")
  if [[ -r $data/lang/$code/$title ]]; then
    pack "$data/lang" "$code/$title" >"$site/title-$code.pack"
    titles+=("$code: $(size "title-$code.pack")")
  fi
done <"$native/languages.txt"

# The icons for the tab, the home screen and the installed app, from the
# kit's icon; the preview for links shared elsewhere, the title screen.
sizes=(16 32 48 64 128 192 256 512)
"$native/tools/webicons/vedo-web-icons" "$data/icon.png" "$site/icons" "${sizes[@]}"
preview=$(mktemp -d)
trap 'rm -rf "$preview"' EXIT
printf 'time 1700000000\nframes 20\nshot preview.png\n' >"$preview/preview.vrs"
(cd "$preview" && "$native/tools/replay/vedo-replay" --data "$data" preview.vrs >log 2>&1) ||
  { cat "$preview/log" >&2; exit 1; }
cp "$preview/preview.png" "$site/"

# The music's synthesizer and instruments. Without the soundfont the music
# is silent after one console line.
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
# The gzip inflater for browsers without their own (DecompressionStream).
cp "$here/node_modules/fflate/umd/index.js" "$site/inflate/fflate.js"
cp "$here/node_modules/fflate/LICENSE" "$site/licences/fflate.txt"
[[ -r /usr/share/common-licenses/GPL-2 ]] && cp /usr/share/common-licenses/GPL-2 "$site/licences/GPL-2.txt"
cat >"$site/licences/index.html" <<'HTML'
<!doctype html>
<html lang="en">
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Vedo Zeza1: licences</title>
<h1>What this page ships from others</h1>
<ul>
<li>The text is drawn from glyphs of the Baekmuk Gulim font:
  <a href="baekmuk-fonts.txt">its licence</a>.</li>
<li>The music plays on FluidSynth 2.4.6 compiled to WebAssembly (LGPL-2.1):
  <a href="fluidsynth-LGPL-2.1.txt">its licence</a>, loaded through js-synthesizer:
  <a href="js-synthesizer.txt">its licence</a>.</li>
<li>Browsers without their own gzip inflater use fflate (MIT):
  <a href="fflate.txt">its licence</a>.</li>
<li>The instruments are the TimGM6mb soundfont (GPL-2):
  <a href="timgm6mb-soundfont.txt">its copyright notice</a>, <a href="GPL-2.txt">GPL-2</a>.</li>
</ul>
<p><a href="../">Back to the game</a></p>
</html>
HTML

# The build's version: the game's, and a digest of everything the site
# holds, so that any change makes a new offline copy. The page learns the
# sizes of what comes before the title; the service worker, what to keep.
game=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
digest=$(cd "$site" && find . -type f ! -name preview.png -print0 | sort -z | xargs -0 sha256sum |
  sha256sum | cut -c1-12)
version=$game-$digest
sed -i "s|^const BUILD = .*|const BUILD = { version: '$version', program: $(size vedo-zeza1.js), \
wasm: $(size vedo-zeza1.wasm.gz), titles: { $(IFS=,; echo "${titles[*]}") }, \
pack: $(size vedo-data.pack), languages: { $(IFS=,; echo "${languages[*]}") } };|" "$site/page.js"
before=$(($(size vedo-zeza1.js) + $(size vedo-zeza1.wasm.gz) + $(size title.pack 2>/dev/null || echo 0) +
  $(size vedo-data.pack)))
sed -i "s|<span id=\"bytes\"></span>|<span id=\"bytes\">0.0 / $(printf '%d.%d' $((before / 1000000)) \
$((before / 100000 % 10))) MB</span>|" "$site/index.html"
# A language's packs are kept once a page plays in it (sw.js).
files=$(cd "$site" && find . -type f ! -name sw.js ! -name preview.png ! -name 'lang-*.pack' \
  ! -name 'title-*.pack' | sed 's|^\./||' | sort |
  sed 's/.*/"&"/' | paste -sd, -)
sed -i -e "s|^const VERSION = .*|const VERSION = '$version';|" -e "s|^const FILES = .*|const FILES = [$files];|" \
  "$site/sw.js"
echo "Site $version written to $site ($(du -sh "$site" | cut -f1))"
