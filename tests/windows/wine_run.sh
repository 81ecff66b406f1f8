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
  exec "$wine" "$@"
fi

# Without a screen, programs share the running server. A program that
# connects just as that server ends dies before it starts, with "wine client
# error:0: recvmsg: Connection reset by peer" and exit code 1; with tests
# starting and ending two at a time, that happens now and then. The program
# has done nothing yet, so it is started again.
err=$(mktemp)
trap 'rm -f "$err"' EXIT
for attempt in 1 2 3; do
  : >"$err"
  "$wine" "$@" 2> >(tee "$err" >&2) &
  pid=$!
  # A stop meant for this script is meant for the program.
  trap 'kill -TERM "$pid" 2>/dev/null' TERM INT HUP
  status=0
  while true; do
    wait "$pid" && status=0 || status=$?
    kill -0 "$pid" 2>/dev/null || break
  done
  trap - TERM INT HUP
  ((status == 1)) || exit "$status"
  sleep 0.2  # tee's last line
  grep -q '^wine client error:' "$err" || exit 1
  echo "wine_run.sh: Wine's server ended as the program started; starting it again ($attempt)" >&2
done
exit 1
