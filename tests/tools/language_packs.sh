#!/usr/bin/env bash
# language_packs.sh VEDO_KIT DATA FRENCH_PO: every shipped pack's text, the
# tests' French pack and the template pass gettext's own check, as
# translators' tools run it; the French pack, with the English art beside
# it, passes vedo-kit's.
set -euo pipefail
kit=$1 data=$2 french=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$kit" template "$scratch/vedo-zeza1.pot" >/dev/null
for f in "$scratch/vedo-zeza1.pot" "$data"/lang/*/*.po "$french"; do
  msgfmt --check -o /dev/null "$f"
done
mkdir -p "$scratch/lang/fr"
cp "$french" "$data"/lang/en/*.bmp "$scratch/lang/fr/"
"$kit" check --lang "$scratch/lang/fr"
