# Sourced by make_zip.sh and make_installer.sh: what a player on Windows
# gets, in one folder. After `stage_release BUILD DATA FOLDER`, FOLDER holds
# the game and the modder's kit, vedo-kit.exe (without the debug information
# of the RelWithDebInfo build), its
# data files beside it (it reads its own folder) with the language packs in
# lang/, the README, the licences
# (the game's and its font's) and the Korean-and-English HOW-TO-PLAY.txt as
# Windows' Notepad and older editors read it best: UTF-8 with a byte-order
# mark, CR LF line ends.
# Sets `version`.
version=$(sed -n 's/^project(VedoZeza1 VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

# take_release_arguments WINDOWS_BUILD DATA_DIR [OUT_DIR]: sets `build`, `data`
# and `out` as absolute folders (out: the source folder unless given), and
# `stage`, an empty folder removed again on exit.
take_release_arguments() {
  build=$(cd "$1" && pwd)
  data=$(cd "$2" && pwd)
  out=$(cd "${3:-.}" && pwd)
  stage=$(mktemp -d)
  trap 'rm -rf "$stage"' EXIT
}

stage_release() {  # stage_release BUILD DATA FOLDER, from the source folder
  local build=$1 data=$2 folder=$3
  mkdir -p "$folder"
  x86_64-w64-mingw32-strip -o "$folder/vedo-zeza1.exe" "$build/src/vedo-zeza1.exe"
  # The modder's kit, which the game's own messages name (vedo-kit check).
  x86_64-w64-mingw32-strip -o "$folder/vedo-kit.exe" "$build/tools/kit/vedo-kit.exe"
  # The data the game loads; the desktop icon is inside the exe already.
  find "$data" -maxdepth 1 -type f ! -name 'icon.*' -exec cp {} "$folder/" \;
  # The language packs, in their folders (lang/en).
  if [[ -d $data/lang ]]; then cp -r "$data/lang" "$folder/"; fi
  cp README.md "$folder/README.md"
  # The game's text is drawn with glyphs of the Baekmuk Gulim font, whose
  # licence goes with every copy.
  cp /usr/share/doc/fonts-baekmuk/copyright "$folder/BAEKMUK-FONT-LICENSE.txt"
  { printf '\xEF\xBB\xBF'; sed 's/\r*$/\r/' packaging/windows/how-to-play.txt; } \
    >"$folder/HOW-TO-PLAY.txt"
  if [[ -f LICENSE ]]; then
    cp LICENSE "$folder/LICENSE.txt"
  else
    echo "stage.sh: no LICENSE file; the release goes without a licence text" >&2
  fi
}

# Writes FILE.sha256 beside FILE, in sha256sum's form, for players to check
# their download against.
write_checksum() {
  (cd "$(dirname "$1")" && sha256sum "$(basename "$1")" >"$(basename "$1").sha256")
}
