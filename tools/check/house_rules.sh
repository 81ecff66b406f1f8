#!/usr/bin/env bash
# The house rules a compiler does not check, over the C++ sources of src,
# tests, tools, bench and fuzz:
#
#   format    every file reads as clang-format makes it with the committed
#             .clang-format (Debian 12's clang-format 14)
#   includes  only src/platform includes the headers of SDL, FreeType,
#             fontconfig, iconv, FluidSynth, X11, Windows or emscripten;
#             tools/glyphatlas, which draws the glyph atlas at build time,
#             may include FreeType's, fontconfig's and iconv's
#
#   tools/check/house_rules.sh [format|includes]...     default: both
#
# Each offending file is named on a line of its own; the exit code is 1 when
# any rule is broken. (The third rule, no compiler warnings, is the
# compilers': ./run.sh test builds with -DVEDO_WERROR=ON.)
set -uo pipefail
cd "$(dirname "$0")/../.."

checks=("$@")
((${#checks[@]})) || checks=(format includes)

mapfile -t sources < <(find src tests tools bench fuzz -type f \
  \( -name '*.cpp' -o -name '*.h' -o -name '*.cc' -o -name '*.hpp' -o -name '*.c' \) | sort)

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

check_includes() {
  local status=0 file hit
  for file in "${sources[@]}"; do
    case "$file" in src/platform/*) continue ;; esac
    while IFS= read -r hit; do
      [[ $file == tools/glyphatlas/* ]] && grep -qiE "$font_include" <<<"${hit#*:}" && continue
      echo "house rules: $file:${hit%%:*} includes a platform library's header" \
        "(${hit#*:}); only src/platform may"
      status=1
    done < <(grep -niE "$include_line" "$file")
  done
  return $status
}

for check in "${checks[@]}"; do
  case "$check" in
    format) check_format || failed=1 ;;
    includes) check_includes || failed=1 ;;
    *)
      echo "usage: $0 [format|includes]..." >&2
      exit 2
      ;;
  esac
done
if ((failed)); then
  echo "house rules: broken, see above"
  exit 1
fi
echo "house rules: ${checks[*]}: ${#sources[@]} files, all in order"
