# cmake -DATLAS=FILE -DOUT=SOURCE -P embed_glyph_atlas.cmake
# Writes SOURCE, the C++ source of the program's built-in glyph atlas
# (formats/glyph_atlas.h), from the atlas file vedo-glyph-atlas wrote.
if(NOT EXISTS "${ATLAS}")
  message(FATAL_ERROR "no glyph atlas at ${ATLAS}: the native build's vedo-glyph-atlas draws it "
                      "(cmake --build build --target vedo-glyphs)")
endif()
file(READ "${ATLAS}" hex HEX)
# Sixteen bytes a line.
string(REGEX REPLACE "(................................)" "\\1\n" hex "${hex}")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE "${OUT}.new" "// Made by the build from ${ATLAS}.
#include \"formats/glyph_atlas.h\"

namespace platform {
namespace {
const std::uint8_t kAtlas[] = {
${bytes}};
}  // namespace

std::span<const std::uint8_t> BuiltInGlyphAtlas() { return kAtlas; }

}  // namespace platform
")
file(RENAME "${OUT}.new" "${OUT}")
