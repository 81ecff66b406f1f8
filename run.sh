#!/usr/bin/env bash
# Set-up, build and run for Vedo Zeza1 on Debian 12, as root.
#
#   ./run.sh play   install what is missing, build, generate the data kit,
#                   and start the game in the data folder
#   ./run.sh test   the same set-up, then the whole test suite: the normal
#                   build and a build under AddressSanitizer and
#                   UndefinedBehaviorSanitizer
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
  cmake g++ make pkg-config
  libsdl2-dev libfreetype-dev libfontconfig-dev libfluidsynth-dev libpng-dev
  fonts-baekmuk timgm6mb-soundfont
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth openbox xdotool x11-apps imagemagick
  clang libfuzzer-14-dev libclang-rt-14-dev
)
JOBS=$(nproc 2>/dev/null || echo 2)

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
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

make_data() {
  if [ -x build/tools/datakit/vedo-datakit ]; then
    build/tools/datakit/vedo-datakit data
  fi
}

case "${1:-}" in
  play)
    install_missing
    build build
    make_data
    cd data
    exec ../build/src/vedo-zeza1
    ;;
  test)
    install_missing
    build build
    make_data
    ctest --test-dir build --output-on-failure -j"$JOBS"
    echo "== Sanitizer build (ASan + UBSan) =="
    build build-asan -DVEDO_SANITIZE=ON -DVEDO_BUILD_BENCH=OFF
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1 \
      ctest --test-dir build-asan --output-on-failure -j"$JOBS"
    ;;
  *)
    echo "usage: $0 play|test" >&2
    exit 2
    ;;
esac
