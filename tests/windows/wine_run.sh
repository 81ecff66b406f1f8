#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine, in the build's own
# prefix (made on first use), quietly, without Mono or Gecko: wine_run.sh
# PROGRAM.exe [ARGS...]. The exit code is the program's. WINEPREFIX,
# WINEDEBUG and WINEDLLOVERRIDES, when set, are taken as they are (a test's
# own prefix, Wine's traces, DLLs loaded otherwise).
set -euo pipefail
build=${VEDO_WINDOWS_BUILD:-$(dirname "$0")/../../build-win}
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
wine=/usr/lib/wine/wine64
if [[ ! -f $WINEPREFIX/system.reg ]]; then
  "$wine" wineboot -i >/dev/null 2>&1 || true
fi
# Wine's server outlives its last program by a few seconds, in the session
# of that program's display (or of none). A program with a screen started
# meanwhile would join that session and miss its own screen, so it waits for
# the server to end first.
if [[ -n ${DISPLAY:-} ]]; then
  /usr/lib/wine/wineserver -w || true
fi
exec "$wine" "$@"
