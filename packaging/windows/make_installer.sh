#!/usr/bin/env bash
# Writes vedo-zeza1-VERSION-setup.exe, and its SHA-256 beside it, in OUT_DIR
# (the source folder unless given): the same files as the zip (stage.sh),
# installed per user by installer.nsi with Debian's NSIS (makensis).
#   make_installer.sh WINDOWS_BUILD DATA_DIR [OUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/../.."
source packaging/windows/stage.sh
take_release_arguments "$@"
name=vedo-zeza1-$version-setup.exe
stage_release "$build" "$data" "$stage/files"
# The files to install and to remove again, one line each: the uninstaller
# takes away exactly what the installer put there, then the folders below
# the game's (lang\en, lang), deepest first. Each file goes to the folder
# it lies in, which NSIS's File takes from the output path.
(cd "$stage/files" && find . -type f | sed 's|^\./||' | tr / '\\' | LC_ALL=C sort) | {
  folder=
  while read -r f; do
    here=
    [[ $f == *\\* ]] && here=\\${f%\\*}
    [[ $here == "$folder" ]] || echo "SetOutPath \"\$INSTDIR$here\"" >>"$stage/install.nsh"
    folder=$here
    echo "File \"files\\$f\"" >>"$stage/install.nsh"
    echo "Delete \"\$INSTDIR\\$f\"" >>"$stage/uninstall.nsh"
  done
  # The shortcuts that follow take the output path as their working folder.
  echo "SetOutPath \"\$INSTDIR\"" >>"$stage/install.nsh"
}
(cd "$stage/files" && find . -mindepth 1 -type d | sed 's|^\./||' | tr / '\\' | LC_ALL=C sort -r) |
  while read -r d; do echo "RMDir \"\$INSTDIR\\$d\"" >>"$stage/uninstall.nsh"; done
# A Start-menu shortcut for each language pack the release ships, by the
# name the language calls itself (the build's languages.txt, from the game's
# list), and its removal.
while IFS=$'\t' read -r pack language; do
  link="\${MENU_FOLDER}\\\${PRODUCT} ($language).lnk"
  echo "CreateShortcut \"$link\" \"\$INSTDIR\\vedo-zeza1.exe\" \"--lang $pack\"" >>"$stage/languages.nsh"
  echo "Delete \"$link\"" >>"$stage/unlanguages.nsh"
done <"$build/languages.txt"
cp packaging/windows/installer.nsi "$build/windows/vedo-zeza1.ico" "$stage/"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DOUTFILE="$out/$name" "$stage/installer.nsi"
write_checksum "$out/$name"
echo "Wrote $out/$name"
