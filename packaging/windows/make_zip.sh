#!/usr/bin/env bash
# Writes vedo-zeza1-VERSION-win64.zip, and its SHA-256 beside it, in OUT_DIR
# (the source folder unless given): one folder holding the game and what goes
# with it (stage.sh).
#   make_zip.sh WINDOWS_BUILD DATA_DIR [OUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/../.."
source packaging/windows/stage.sh
take_release_arguments "$@"
name=vedo-zeza1-$version-win64
stage_release "$build" "$data" "$stage/$name"
rm -f "$out/$name.zip"
(cd "$stage" && zip -q -r -X "$out/$name.zip" "$name")
write_checksum "$out/$name.zip"
echo "Wrote $out/$name.zip"
