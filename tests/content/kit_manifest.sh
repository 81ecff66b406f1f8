#!/usr/bin/env bash
# The data kit's checksums. The generator must make the same bytes with any
# compiler on any processor; tests/content/datakit.sha256 holds them, so that
# a toolchain (or glyph atlas) that changes the kit shows as one failure
# naming the files, not as a row of golden-image mismatches.
#
#   tests/content/kit_manifest.sh check DATA_DIR    fails, naming every file
#                                                 that changed, is missing or
#                                                 is new
#   tests/content/kit_manifest.sh update DATA_DIR   writes the manifest anew
set -euo pipefail
export LC_ALL=C
manifest=$(cd "$(dirname "$0")" && pwd)/datakit.sha256
mode=${1:-}
data=${2:-}
if [[ -z $data || ! -d $data ]] || [[ $mode != check && $mode != update ]]; then
  echo "usage: $0 check|update DATA_DIR" >&2
  exit 2
fi
cd "$data"
# Every file, the language packs' in lang/ included, in one sorted list.
mapfile -t files < <(find . -type f | sed 's|^\./||' | sort)
if [[ $mode == update ]]; then
  sha256sum -- "${files[@]}" > "$manifest"
  echo "wrote $manifest"
  exit 0
fi

listed=$(sed 's/^[0-9a-f]*  //' "$manifest")
changed=() missing=() new=()
while IFS= read -r name; do
  if [[ ! -e $name ]]; then
    missing+=("$name")
  fi
done <<< "$listed"
while IFS= read -r line; do
  name=${line%: FAILED*}
  [[ -e $name ]] && changed+=("$name")
done < <(sha256sum --check "$manifest" 2>/dev/null | grep ': FAILED' || true)
for name in "${files[@]}"; do
  grep -qxF -- "$name" <<< "$listed" || new+=("$name")
done
if ((${#changed[@]} + ${#missing[@]} + ${#new[@]} == 0)); then
  echo "the data kit in $data matches $manifest"
  exit 0
fi
echo "THE DATA KIT CHANGED: $data no longer matches $manifest" >&2
((${#changed[@]})) && echo "  other bytes: ${changed[*]}" >&2
((${#missing[@]})) && echo "  missing: ${missing[*]}" >&2
((${#new[@]})) && echo "  not in the manifest: ${new[*]}" >&2
cat >&2 <<TEXT
The generator must make the same bytes everywhere. A new compiler or
processor can change them, and so can a font package, through the glyph
atlas that letters the art (see GlyphAtlas.MatchesItsChecksum); the golden
images drawn from the kit are skipped until this passes. If the change is intended, refresh the manifest
with "tests/content/kit_manifest.sh update $data" and the golden images as the
README says.
TEXT
exit 1
