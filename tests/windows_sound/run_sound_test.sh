#!/usr/bin/env bash
# Sound is heard, not assumed: plays an effect through the Windows sound path
# under Wine and finds it in what Wine's audio wrote out.
#
#   run_sound_test.sh OUT_DIR DATA_DIR WINDOWS_BUILD_DIR CAPTURE_MATCH
#
# With ALSA's default device set, by a configuration of the test's own, to
# the file plugin over the null device, Wine's audio reaches a WAV file,
# which must hold start.wav's samples (capture_match: normalised correlation
# of at least 0.9 after Wine's conversions). Without that configuration there
# is no sound card: the program must end normally with exactly one "no audio
# device" line of ours. The probe is linked here, with the -posix cross
# compiler, against the Windows build's platform libraries (with the drawing
# and the formats they stand on), so that the sound path is heard apart from
# the whole game (whose own test hears the title's click the same way).
set -euo pipefail
# Skipped (77) like the other Windows checks when there is nothing to run.
if [ ! -f "$3/src/libvedo_platform.a" ]; then
  echo "needs the Windows build in $3 (./run.sh windows)"
  exit 77
fi
command -v wine >/dev/null || { echo "needs Wine (wine)"; exit 77; }
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../../src" && pwd)
out=$(mkdir -p "$1" && cd "$1" && pwd)
data=$(cd "$2" && pwd)
win=$(cd "$3" && pwd)
capture_match=$4

x86_64-w64-mingw32-g++-posix -std=c++20 -O1 -I"$src" "$here/sound_probe.cpp" \
  -Wl,--start-group "$win/src/libvedo_platform.a" "$win/src/libvedo_draw.a" \
  "$win/src/libvedo_formats.a" -Wl,--end-group -static -lgdi32 -luser32 -lshell32 -lole32 \
  -o "$out/sound_probe.exe"

export WINEPREFIX=$out/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1

cat >"$out/asound-file.conf" <<CONF
pcm.!default {
  type file
  slave.pcm { type null }
  file "$out/capture.wav"
  format "wav"
}
CONF
rm -f "$out/capture.wav"
ALSA_CONFIG_PATH=$out/asound-file.conf timeout 120 wine "$out/sound_probe.exe" \
  "$data/start.wav" >"$out/probe-file.log" 2>&1
"$capture_match" "$data/start.wav" "$out/capture.wav" 0.9
# The measure must tell sounds apart: another effect is not found.
if "$capture_match" "$data/died.wav" "$out/capture.wav" 0.9; then
  echo "FAIL: a different sound matched the capture" >&2
  exit 1
fi

(unset ALSA_CONFIG_PATH; timeout 120 wine "$out/sound_probe.exe" "$data/start.wav") \
  >"$out/probe-none.log" 2>&1
lines=$(grep -c "^Vedo Zeza1: no audio device" "$out/probe-none.log" || true)
# The silent output still takes the sound's own time to play it out.
in_time=$(awk '/^played/ { print ($5 >= 0.9 * $2 / 44.1) ? "yes" : "no" }' "$out/probe-none.log")
if [ "$lines" != 1 ] || [ "$in_time" != yes ]; then
  echo "FAIL: without a sound card, want one warning line and the sound played in time:" >&2
  cat "$out/probe-none.log" >&2
  exit 1
fi
echo "PASS: the effect reached Wine's audio; without a card, one warning line"
