#!/usr/bin/env bash
# Set-up, build and run for Vedo Zeza1 on Debian 12, as root.
#
#   ./run.sh play   install what is missing, build, generate the data kit,
#                   and start the game in the data folder
#   ./run.sh test   the same set-up, then the whole test suite in the
#                   normal build; the browser build and its tests in
#                   Chromium and Node; then, in a clang build under
#                   AddressSanitizer and UndefinedBehaviorSanitizer, the suite
#                   again, the fuzz targets for 30 seconds each and a soak of
#                   100,000 passes of random play
#   ./run.sh web    the browser version: a static site in build-web/site
set -euo pipefail
cd "$(dirname "$0")"

# What building and playing need.
PLAY_PACKAGES=(
  cmake g++ make pkg-config dpkg-dev
  libsdl2-dev libfreetype-dev libfontconfig-dev libfluidsynth-dev libpng-dev
  fonts-baekmuk timgm6mb-soundfont
  libgtest-dev libgmock-dev libbenchmark-dev
)
# What the tests need besides: a virtual X server with a window manager for
# the real-window tests, and clang with libFuzzer for the sanitizer build.
TEST_PACKAGES=(
  xvfb xauth openbox xdotool x11-apps imagemagick
  clang libfuzzer-14-dev libclang-rt-14-dev
)
# What the browser build needs: Emscripten (whose tools want Debian's own
# Node modules), npm for the page's packages, and Chromium for its tests.
WEB_PACKAGES=(emscripten nodejs)
# A Node from elsewhere brings its own npm, which Debian's would conflict with.
command -v npm >/dev/null || WEB_PACKAGES+=(npm)
WEB_TEST_PACKAGES=(chromium)
JOBS=$(nproc 2>/dev/null || echo 2)

install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
  done
  if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    apt-get update -q
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
}

build() {  # build DIR [cmake options...]
  local dir=$1
  shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j"$JOBS"
}

# The browser build into build-web, and its site into build-web/site. Needs
# the Linux build in build (the data kit and the glyph atlas come from it).
build_web() {
  cmake --build build -j"$JOBS" --target vedo-data vedo-glyph-atlas vedo-replay
  build/tools/glyphatlas/vedo-glyph-atlas build/glyphs.atlas
  (cd web && npm ci --no-audit --no-fund --loglevel=error)
  export NODE_PATH=/usr/share/nodejs
  emcmake cmake -S . -B build-web -DVEDO_PLATFORM=web -DCMAKE_BUILD_TYPE=Release \
    -DVEDO_GLYPH_ATLAS="$PWD/build/glyphs.atlas" >/dev/null
  cmake --build build-web -j"$JOBS"
  web/make_site.sh build-web build/data
}

test_web() {
  echo "== The browser build: Chromium and Node =="
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

case "${1:-}" in
  play)
    install_missing "${PLAY_PACKAGES[@]}"
    build build  # also generates the data kit into build/data
    cd build/data
    exec ../src/vedo-zeza1
    ;;
  test)
    install_missing "${PLAY_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
    build build
    ctest --test-dir build --output-on-failure -j"$JOBS"
    install_missing "${WEB_PACKAGES[@]}" "${WEB_TEST_PACKAGES[@]}"
    build_web
    test_web
    echo "== Sanitizer build (clang, ASan + UBSan, with the fuzz targets) =="
    CC=clang CXX=clang++ build build-asan -DVEDO_SANITIZE=ON -DVEDO_BUILD_FUZZ=ON \
      -DVEDO_BUILD_BENCH=OFF
    export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
    ctest --test-dir build-asan --output-on-failure -j"$JOBS"
    echo "== Fuzzing =="
    VEDO_FUZZ_BUILD=build-asan fuzz/run.sh 30
    echo "== Soak: 100,000 passes under the sanitizers =="
    build-asan/tools/soak/vedo-soak --data build-asan/data --passes 100000
    ;;
  web)
    install_missing "${PLAY_PACKAGES[@]}" "${WEB_PACKAGES[@]}"
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    build_web
    echo "Try it: cd build-web/site && python3 -m http.server, then open http://localhost:8000/"
    ;;
  *)
    echo "usage: $0 play|test|web" >&2
    exit 2
    ;;
esac
