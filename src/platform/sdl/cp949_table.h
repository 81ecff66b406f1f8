// The Linux build's CP949 decoding, for the tools that draw the browser's
// glyph atlas from this build's text route.
#pragma once

#include <vector>

namespace platform {

// The code point iconv makes of each two-byte CP949 sequence, lead bytes
// `firstLead`.. and trail bytes `firstTrail`.. (`leads` x `trails` entries,
// row by lead byte); 0 where the two bytes are not one character. Empty
// when iconv has no CP949.
std::vector<char32_t> Cp949PairTable(int firstLead, int leads, int firstTrail, int trails);

}  // namespace platform
