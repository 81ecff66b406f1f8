#include <iconv.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/little_endian.h"
#include "platform/sdl/cp949_table.h"
#include "platform/text.h"

namespace platform {

std::string Utf8ToCp949(std::string_view utf8) {
  iconv_t cd = iconv_open("CP949", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(utf8);
  std::string out;
  out.reserve(utf8.size());
  char* in = const_cast<char*>(utf8.data());
  std::size_t inLeft = utf8.size();
  char buffer[256];
  while (inLeft > 0) {
    char* o = buffer;
    std::size_t oLeft = sizeof buffer;
    const std::size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
    out.append(buffer, static_cast<std::size_t>(o - buffer));
    if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
      // Skip one unconvertible or broken UTF-8 sequence.
      out.push_back('?');
      std::size_t skip = 1;
      while (skip < inLeft && (static_cast<unsigned char>(in[skip]) & 0xC0) == 0x80) ++skip;
      in += skip;
      inLeft -= skip;
    }
  }
  iconv_close(cd);
  return out;
}

std::vector<char32_t> Cp949PairTable(int firstLead, int leads, int firstTrail, int trails) {
  iconv_t cd = iconv_open("UTF-32LE", "CP949");
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::vector<char32_t> table(static_cast<std::size_t>(leads) * trails, 0);
  for (int lead = 0; lead < leads; ++lead) {
    for (int trail = 0; trail < trails; ++trail) {
      char in[2] = {static_cast<char>(firstLead + lead), static_cast<char>(firstTrail + trail)};
      unsigned char out[8] = {};
      char* ip = in;
      std::size_t inLeft = 2;
      char* op = reinterpret_cast<char*>(out);
      std::size_t outLeft = sizeof out;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      if (iconv(cd, &ip, &inLeft, &op, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0 ||
          sizeof out - outLeft != 4) {
        continue;
      }
      table[static_cast<std::size_t>(lead) * trails + trail] = static_cast<char32_t>(ReadLe32(out));
    }
  }
  iconv_close(cd);
  return table;
}

}  // namespace platform
