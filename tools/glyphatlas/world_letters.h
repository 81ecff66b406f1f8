// The Unicode route's own glyphs (platform/glyph_atlas.h): the letters a
// language pack may write beyond what the Korean face draws for Korean text.
// Latin-1 and Latin Extended-A, the Romanian and Vietnamese letters, Greek,
// Cyrillic and the punctuation translators use, each made from the face's
// own pieces, so that a line in French looks like a line in English:
//
// - an accented letter is the face's own letter, the very pixels its ASCII
//   letter has, with the face's own mark placed over or under it (a capital
//   whose marks do not fit the line cell above it is drawn from the face at
//   a smaller size, standing on the same baseline);
// - Greek, Cyrillic and the face's other KS X 1001 letters and signs, drawn
//   there in a Korean full-width cell, are spaced like its Latin; the
//   letters Greek and Cyrillic share with Latin take the Latin ones;
// - what the face has no piece for is put together from pieces it has:
//   dashes from its hyphen, quotes from its comma, guillemets from its less-
//   and greater-than signs, the euro from its C.
#pragma once

#include <vector>

#include "formats/glyph_atlas.h"
#include "glyphatlas/face.h"

namespace glyphs {

// `shared`: the glyphs both routes draw, in code point order (ASCII among
// them). The result is in code point order.
std::vector<platform::AtlasGlyph> WorldLetters(const Face& face,
                                               const std::vector<platform::AtlasGlyph>& shared);

}  // namespace glyphs
