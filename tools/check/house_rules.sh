#!/usr/bin/env bash
# The house rules a compiler does not check, over every C++ file of the tree
# (all but the build folders and web/node_modules):
#
#   format    every file reads as clang-format makes it with the committed
#             .clang-format (Debian 12's clang-format 14)
#   includes  only src/platform includes the headers of SDL, FreeType,
#             fontconfig, iconv, FluidSynth, X11, Windows or emscripten;
#             tools/glyphatlas, which draws the glyph atlas at build time,
#             may include FreeType's, fontconfig's and iconv's, and
#             web/game_main.cpp, the browser's entry, emscripten's
#   layers    each folder of src includes only its own and the layers below
#             it (docs/architecture.md):
#               formats -> platform -> state -> gfx, audio -> lang -> combat -> field, scenes -> app
#             and the tools' homes the same way:
#               tools/common -> tools/kit, the harness (tools/*) -> content
#   backends  shared platform code (src/platform but its backends' folders,
#             and platform.h, where a host picks the headless backend)
#             includes no backend's folder and names no backend in its code:
#             it learns of the backend and its host through port.h
#
#   tools/check/house_rules.sh [format|includes|layers|backends]...   default: all
#
# Each offending file is named on a line of its own; the exit code is 1 when
# any rule is broken. (The fourth rule, no compiler warnings, is the
# compilers': ./run.sh test builds with -DVEDO_WERROR=ON.)
set -uo pipefail
cd "$(dirname "$0")/../.."

checks=("$@")
((${#checks[@]})) || checks=(format includes layers backends)

mapfile -t sources < <(find . \( -path ./.git -o -path './build*' -o -path ./web/node_modules \) -prune \
  -o -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.cc' -o -name '*.hpp' -o -name '*.c' \) \
  -print | sed 's|^\./||' | sort)

failed=0

check_format() {
  if ! command -v clang-format >/dev/null; then
    echo "house rules: clang-format is not installed (apt-get install clang-format)"
    return 1
  fi
  local bad
  bad=$(clang-format --dry-run --Werror "${sources[@]}" 2>&1 |
    sed -nE 's/^(.+):[0-9]+:[0-9]+: error: code should be clang-formatted.*/\1/p' | sort -u)
  [ -z "$bad" ] && return 0
  while read -r file; do
    echo "house rules: $file is not formatted as .clang-format asks (clang-format -i $file)"
  done <<<"$bad"
  return 1
}

# The platform libraries' headers, matched without regard to case (windows.h
# is also written Windows.h); FreeType's are also reached through its macros
# (#include FT_FREETYPE_H).
platform_headers='SDL2?/|SDL(_[a-z0-9_]+)?\.h|ft2build\.h|freetype2?/|fontconfig/|iconv\.h'
platform_headers+='|fluidsynth(\.h|/)|X11/|xcb/|emscripten(\.h|/)'
platform_headers+='|windows\.h|windowsx\.h|winsock2?\.h|ws2tcpip\.h|winuser\.h|wingdi\.h'
platform_headers+='|winbase\.h|mmsystem\.h|mmreg\.h|timeapi\.h|dsound\.h|ddraw\.h|dinput\.h'
platform_headers+='|xinput\.h|xaudio2\.h|d3d[0-9a-z_]*\.h|dxgi[0-9_]*\.h|mmdeviceapi\.h'
platform_headers+='|audioclient\.h|objbase\.h|shellapi\.h|shlobj\.h|commctrl\.h|dwmapi\.h'
include_line="^[[:space:]]*#[[:space:]]*include[[:space:]]*([<\"]($platform_headers)|FT_)"
font_include="^[[:space:]]*#[[:space:]]*include[[:space:]]*([<\"](ft2build\.h|freetype2?/|fontconfig/|iconv\.h)|FT_)"
emscripten_include="^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"]emscripten(\.h|/)"

check_includes() {
  local status=0 file hit
  for file in "${sources[@]}"; do
    case "$file" in src/platform/*) continue ;; esac
    while IFS= read -r hit; do
      [[ $file == tools/glyphatlas/* ]] && grep -qiE "$font_include" <<<"${hit#*:}" && continue
      # The browser's entry starts the game (app) and answers the page
      # (emscripten): it stands above both, as tools do, so it can live in
      # neither src/platform nor src/app.
      [[ $file == web/game_main.cpp ]] && grep -qiE "$emscripten_include" <<<"${hit#*:}" && continue
      echo "house rules: $file:${hit%%:*} includes a platform library's header" \
        "(${hit#*:}); only src/platform may"
      status=1
    done < <(grep -niE "$include_line" "$file")
  done
  return $status
}

# The layers of src, lowest first; the folders of one entry stand side by
# side and include none of each other.
layers=(formats platform state "gfx audio" lang combat "field scenes" app)
# The tools' homes, in the same way: what they share (tools/common); the
# modder's kit beside the developers' harness, each of whose programs is a
# folder of tools/; the game's content, which writes its files with the
# kit's writers to the kit's list of what the game needs.
homes=(common "kit replay soak measure glyphatlas webicons" content)

check_layers() {
  local status=0 file layer hit included i below family
  declare -A rank_of family_of unplaced
  for i in "${!layers[@]}"; do
    for layer in ${layers[i]}; do rank_of[$layer]=$i family_of[$layer]=layers; done
  done
  for i in "${!homes[@]}"; do
    for layer in ${homes[i]}; do rank_of[$layer]=$i family_of[$layer]=homes; done
  done
  for file in "${sources[@]}"; do
    case $file in
      src/*/*) layer=${file#src/} family=layers ;;
      tools/*/*) layer=${file#tools/} family=homes ;;
      content/*) layer=content/ family=homes ;;
      *) continue ;;
    esac
    layer=${layer%%/*}
    if [[ ${family_of[$layer]:-} != "$family" ]]; then
      [[ -n ${unplaced[$layer]+set} ]] ||
        echo "house rules: ${file%"${file#*"$layer"}"} is in no entry of the $family of" \
          "tools/check/house_rules.sh: add it there and to docs/architecture.md"
      unplaced[$layer]=1
      status=1
      continue
    fi
    local -n order=$family
    while IFS= read -r hit; do
      included=$(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"/]+)\/.*/\1/p' <<<"${hit#*:}")
      [[ -z $included || $included == "$layer" || ${family_of[$included]:-} != "$family" ]] && continue
      ((rank_of[$included] < rank_of[$layer])) && continue
      below=$(printf '%s ' "${order[@]:0:rank_of[$layer]}" | sed -E 's/ +$//; s/ +/, /g')
      echo "house rules: $file:${hit%%:*} includes ${hit#*include }, which is not below $layer" \
        "($layer may include ${below:-only itself})"
      status=1
    done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file")
  done
  return $status
}

# The backends' folders of src/platform.
backends=(sdl win32 web headless posix)

check_backends() {
  local status=0 file hit names
  names=$(IFS='|' && echo "${backends[*]}")
  for file in "${sources[@]}"; do
    [[ $file == src/platform/* && $file != src/platform/platform.h ]] || continue
    [[ $file =~ ^src/platform/($names)/ ]] && continue
    # Its code, comments left out: an include of a backend's header, or a
    # backend's name in an identifier (HeadlessRecorder, SDL_Init).
    while IFS= read -r hit; do
      echo "house rules: $file:${hit%%:*} names a backend (${hit#*:}); shared platform" \
        "code asks the chosen backend and its host through port.h"
      status=1
    done < <(sed -E 's#//.*##' "$file" | grep -niE "$names")
  done
  return $status
}

for check in "${checks[@]}"; do
  case "$check" in
    format) check_format || failed=1 ;;
    includes) check_includes || failed=1 ;;
    layers) check_layers || failed=1 ;;
    backends) check_backends || failed=1 ;;
    *)
      echo "usage: $0 [format|includes|layers|backends]..." >&2
      exit 2
      ;;
  esac
done
if ((failed)); then
  echo "house rules: broken, see above"
  exit 1
fi
echo "house rules: ${checks[*]}: ${#sources[@]} files, all in order"
