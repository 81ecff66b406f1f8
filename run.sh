#!/usr/bin/env bash
# Set-up, build and run for Vedo Zeza1 on Debian 12. Only installing needs
# root: once everything is in place, neither command does.
#
#   ./run.sh play     install what building and playing need, build the game
#                     and the data kit (nothing else), and start the game in
#                     the data folder
#   ./run.sh test     install everything, check the house rules (format,
#                     platform headers), then with warnings as errors: the
#                     whole test suite in the normal build, the Windows
#                     build's suite under Wine, the browser build in
#                     Chromium, Firefox ESR, WebKitGTK and Node; then, in a
#                     clang build under AddressSanitizer and
#                     UndefinedBehaviorSanitizer, the suite again, the fuzz
#                     targets for 30 seconds each and a soak of 100,000
#                     passes of random play
#   ./run.sh windows  cross-build the Windows programs (build-win) and write
#                     vedo-zeza1-VERSION-win64.zip and the installer
#                     vedo-zeza1-VERSION-setup.exe, each with its SHA-256 in
#                     a .sha256 file beside it
#   ./run.sh web      the browser version: a static site in build-web/site
set -euo pipefail
cd "$(dirname "$0")"

# What building and playing need. FreeType, fontconfig and the Baekmuk fonts
# only draw the glyph atlas at build time; the game itself needs no font.
PLAY_PACKAGES=(
  cmake g++ make pkg-config
  libsdl2-dev libx11-dev libfreetype-dev libfontconfig-dev libfluidsynth-dev libstb-dev
  fonts-baekmuk timgm6mb-soundfont
)
# What the tests need besides: the test and benchmark libraries, the package
# tools, a virtual X server with a window manager for the real-window tests
# (and Xephyr with xrandr for a screen that changes size), unzip for the
# Windows zip's check, clang with libFuzzer for the sanitizer build,
# clang-format, and gettext, whose msgfmt and msgcat check the language
# packs' text as translators' tools read and write it.
TEST_PACKAGES=(
  libgtest-dev libgmock-dev libbenchmark-dev dpkg-dev gettext
  xvfb xauth openbox xdotool x11-apps imagemagick unzip xserver-xephyr x11-xserver-utils
  clang clang-format libfuzzer-14-dev libclang-rt-14-dev
  lintian
)
# The Windows build: MinGW-w64's -posix compilers, NSIS for the installer,
# Wine for its tests and icoutils for their look at the exe's resources.
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix nsis wine wine64 zip icoutils)
# What the browser build needs: Emscripten (whose tools want Debian's own
# Node modules), npm for the page's packages, and Chromium, Firefox ESR and
# WebKitGTK (its WebDriver, with MiniBrowser) for its tests.
WEB_PACKAGES=(emscripten nodejs)
# A Node from elsewhere brings its own npm, which Debian's would conflict with.
command -v npm >/dev/null || WEB_PACKAGES+=(npm)
WEB_TEST_PACKAGES=(chromium firefox-esr webkit2gtk-driver)
JOBS=$(nproc 2>/dev/null || echo 2)

install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  if ((EUID != 0)); then
    echo "These Debian packages are missing: ${missing[*]}" >&2
    echo "Run $0 $COMMAND once as root to install them (later runs need no root)." >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# A stage's heading, with the minutes since the script began: CI's log then
# shows where the time goes.
stage() {
  printf '== %s (%dm%02ds) ==\n' "$1" $((SECONDS / 60)) $((SECONDS % 60))
}

configure() {  # configure DIR [cmake options...]
  local dir=$1
  shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}

build_windows() {  # after the native build, whose data and glyph atlas it takes
  configure build-win -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DVEDO_NATIVE_DATA_DIR="$PWD/build/data" -DVEDO_GLYPH_ATLAS="$PWD/build/glyphs.atlas" \
    -DVEDO_NATIVE_WINDOWS_ICON="$PWD/build/windows/vedo-zeza1.ico" "$@"
  cmake --build build-win -j"$JOBS"
  # Wine's own prefix for the tests, made once (it takes a minute).
  WINEPREFIX="$PWD/build-win/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
  # Its server outlives it by a few seconds, with no display: a game started
  # meanwhile would join that session and find no screen.
  WINEPREFIX="$PWD/build-win/wineprefix" /usr/lib/wine/wineserver -w || true
}

# Everything the tests need, with the compilers' warnings as errors, and the
# optimised code the game ships without the debugger's tables: they took a
# quarter of each build's time and nine tenths of its disk. The sanitizer
# build keeps the line tables its reports name lines with.
NO_DEBUG_TABLES=("-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2 -g0 -DNDEBUG"
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g0 -DNDEBUG")
LINE_TABLES=("-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2 -gline-tables-only -DNDEBUG"
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -gline-tables-only -DNDEBUG")
TEST_OPTIONS=(-DVEDO_BUILD_TESTS=ON -DVEDO_WERROR=ON)

# The browser build into build-web, and its site into build-web/site. Needs
# the Linux build in build (the data kit and the glyph atlas come from it).
build_web() {
  cmake --build build -j"$JOBS" --target vedo-data vedo-glyphs vedo-replay vedo-web-icons
  (cd web && npm ci --no-audit --no-fund --loglevel=error)
  export NODE_PATH=/usr/share/nodejs
  emcmake cmake -S . -B build-web -DVEDO_PLATFORM=web -DCMAKE_BUILD_TYPE=Release \
    -DVEDO_GLYPH_ATLAS="$PWD/build/glyphs.atlas" >/dev/null
  cmake --build build-web -j"$JOBS"
  web/make_site.sh build-web build
}

test_web() {
  stage "The browser build: Chromium, Firefox ESR, WebKitGTK and Node"
  local frames root=$PWD
  frames=$(mktemp -d)
  # The frames the page must equal, rendered by the Linux build.
  (cd "$frames" && "$root/build/tools/replay/vedo-replay" --data "$root/build/data" \
    "$root/web/tests/walk.vrs" >/dev/null 2>&1)
  node web/tests/browser_test.mjs build-web/site "$frames"
  rm -rf "$frames"
  web/tests/replay_test.sh "$PWD/build/tools/replay/vedo-replay" \
    "$PWD/build-web/web/vedo-replay.js" "$PWD/build/data"
}

COMMAND=${1:-}
case "${1:-}" in
  play)
    install_missing "${PLAY_PACKAGES[@]}"
    configure build -DVEDO_BUILD_TESTS=OFF -DVEDO_BUILD_BENCH=OFF
    # The game and the data kit, which the build generates into build/data.
    cmake --build build -j"$JOBS" --target vedo-zeza1 vedo-data
    cd build/data
    exec ../src/vedo-zeza1
    ;;
  test)
    install_missing "${PLAY_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}" \
      "${WEB_PACKAGES[@]}" "${WEB_TEST_PACKAGES[@]}"
    stage "House rules"
    tools/check/house_rules.sh
    stage "The Linux build"
    configure build "${TEST_OPTIONS[@]}" "${NO_DEBUG_TABLES[@]}" -DVEDO_BUILD_BENCH=ON
    cmake --build build -j"$JOBS"
    stage "The Windows build"
    build_windows "${TEST_OPTIONS[@]}" "${NO_DEBUG_TABLES[@]}"
    stage "The Linux suite"
    ctest --test-dir build --output-on-failure -j"$JOBS"
    stage "The Windows build's own suite under Wine"
    ctest --test-dir build-win --output-on-failure -j"$JOBS"
    stage "The browser build"
    build_web
    test_web
    stage "Sanitizer build (clang, ASan + UBSan, with the fuzz targets)"
    CC=clang CXX=clang++ configure build-asan "${TEST_OPTIONS[@]}" "${LINE_TABLES[@]}" \
      -DVEDO_SANITIZE=ON -DVEDO_BUILD_FUZZ=ON -DVEDO_BUILD_BENCH=OFF
    cmake --build build-asan -j"$JOBS"
    export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
    # The Windows checks run the Windows build under Wine, which the sanitizers
    # do not reach; they ran above, and take eight minutes. The long walk in a
    # real window ran above too: here it takes two to three minutes against
    # half a minute, while the other window checks take the game's window,
    # input and frames through the same backend in under one.
    ctest --test-dir build-asan --output-on-failure -j"$JOBS" -LE windows \
      -E '^RealWindowWalk[.]FromTheTitleThroughThePrologueToTheFirstFights$'
    # Neither counts on time as the window checks do: the fuzzers run for a
    # time, the soak for its passes, so they share the processor.
    stage "Fuzzing, and a soak of 100,000 passes under the sanitizers beside it"
    build-asan/tools/soak/vedo-soak --data build-asan/data --passes 100000 \
      >build-asan/soak.log 2>&1 &
    soak_pid=$!
    fuzzed=0 soaked=0
    VEDO_FUZZ_BUILD=build-asan fuzz/run.sh 20 || fuzzed=$?
    wait "$soak_pid" || soaked=$?
    echo "The soak:"
    cat build-asan/soak.log
    ((fuzzed == 0 && soaked == 0))
    stage "Every stage passed"
    ;;
  windows)
    install_missing "${PLAY_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}"
    configure build -DVEDO_BUILD_TESTS=OFF -DVEDO_BUILD_BENCH=OFF
    # The data kit and the glyph atlas are made natively, the same bytes for
    # every platform.
    cmake --build build -j"$JOBS" --target vedo-data vedo-glyphs
    build_windows -DVEDO_BUILD_TESTS=OFF
    packaging/windows/make_zip.sh build-win build/data
    packaging/windows/make_installer.sh build-win build/data
    ;;
  web)
    install_missing "${PLAY_PACKAGES[@]}" "${WEB_PACKAGES[@]}"
    configure build -DVEDO_BUILD_TESTS=OFF -DVEDO_BUILD_BENCH=OFF
    build_web
    echo "Try it: cd build-web/site && python3 -m http.server, then open http://localhost:8000/"
    ;;
  *)
    echo "usage: $0 play|test|windows|web" >&2
    exit 2
    ;;
esac
