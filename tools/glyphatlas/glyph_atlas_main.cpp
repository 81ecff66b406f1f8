// vedo-glyph-atlas OUT: writes the glyph atlas of the browser build. It
// draws, with this platform's own text route, every character the game can
// show: ASCII and KS X 1001's symbols and Hangul (the rows from 0xA1 to
// 0xC8; the Hanja and the extended Hangul of CP949 are left out, and the
// browser draws them as blanks of their width). It keeps for each its
// advance and the pixels it sets around its pen position, with the whole
// CP949 decoding table this build uses. The browser build draws its text from
// this file, so its text has the same pixels as this build's.
//
// Each character is drawn between two blanks on each side, so that pixels
// it sets beside its own advance are kept too; a character that would set
// pixels beyond that margin is reported and the atlas refused.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/sdl/cp949_table.h"
#include "platform/surface.h"
#include "platform/text.h"

namespace {

constexpr int kFirstLead = 0x81;
constexpr int kLeads = 0xFE - kFirstLead + 1;
constexpr int kFirstTrail = 0x41;
constexpr int kTrails = 0xFE - kFirstTrail + 1;

void Put16(std::string& out, int v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& out, std::uint32_t v) {
  Put16(out, static_cast<int>(v & 0xFFFF));
  Put16(out, static_cast<int>(v >> 16));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vedo-glyph-atlas OUT\n");
    return 2;
  }
  const std::vector<char32_t> decoded =
      platform::Cp949PairTable(kFirstLead, kLeads, kFirstTrail, kTrails);
  if (decoded.empty()) {
    std::fprintf(stderr, "vedo-glyph-atlas: iconv has no CP949\n");
    return 1;
  }
  if (!platform::TextFaceHasHangul()) {
    std::fprintf(stderr, "vedo-glyph-atlas: no face with Hangul (install fonts-baekmuk)\n");
    return 1;
  }
  std::vector<std::uint16_t> table(kLeads * kTrails, 0);
  // Each code point once, with the bytes that draw it.
  std::map<char32_t, std::string> characters;
  for (int b = 1; b < 0x80; ++b)
    characters[static_cast<char32_t>(b)] = std::string(1, static_cast<char>(b));
  for (int lead = 0; lead < kLeads; ++lead) {
    for (int trail = 0; trail < kTrails; ++trail) {
      const char32_t cp = decoded[static_cast<std::size_t>(lead) * kTrails + trail];
      if (cp == 0) continue;
      if (cp > 0xFFFF) {
        std::fprintf(stderr, "vedo-glyph-atlas: CP949 decodes beyond 16 bits\n");
        return 1;
      }
      table[lead * kTrails + trail] = static_cast<std::uint16_t>(cp);
      const char bytes[2] = {static_cast<char>(kFirstLead + lead),
                             static_cast<char>(kFirstTrail + trail)};
      if (kFirstLead + lead >= 0xA1 && kFirstLead + lead <= 0xC8 && kFirstTrail + trail >= 0xA1) {
        characters.emplace(cp, std::string(bytes, 2));
      }
    }
  }

  const int cell = platform::TextLineHeight();
  const int blank = platform::TextWidthCp949(" ");
  const std::string margin = "  ";
  const int marginWidth = platform::TextWidthCp949(margin.c_str());
  std::string glyphs;
  std::uint32_t count = 0;
  for (const auto& [cp, bytes] : characters) {
    const std::string text = margin + bytes + margin;
    const int advance = platform::TextWidthCp949(bytes.c_str());
    const int width = platform::TextWidthCp949(text.c_str());
    platform::Surface s(width, cell);
    platform::DrawTextCp949(s, text.c_str(), 0x000000, 0xFFFFFF, 0, 0);
    int x0 = width;
    int x1 = -1;
    int y0 = cell;
    int y1 = -1;
    for (int y = 0; y < cell; ++y) {
      for (int x = 0; x < width; ++x) {
        if (s.Row(y)[x * 3] != 0) {
          x0 = std::min(x0, x);
          x1 = std::max(x1, x);
          y0 = std::min(y0, y);
          y1 = std::max(y1, y);
        }
      }
    }
    const int missing = cp < 0x80 ? blank : 2 * blank;
    if (x1 < 0 && advance == missing) continue;  // drawn as any character the face lacks
    if (x1 >= 0 && (x0 == 0 || x1 == width - 1)) {
      std::fprintf(stderr, "vedo-glyph-atlas: U+%04X reaches beyond its margin\n",
                   static_cast<unsigned>(cp));
      return 1;
    }
    if (x1 < 0) {
      x0 = marginWidth;
      x1 = x0 - 1;
      y0 = 0;
      y1 = -1;
    }
    const int w = x1 - x0 + 1;
    const int h = y1 - y0 + 1;
    Put32(glyphs, cp);
    Put16(glyphs, advance);
    Put16(glyphs, x0 - marginWidth);
    Put16(glyphs, y0);
    Put16(glyphs, w);
    Put16(glyphs, h);
    for (int y = y0; y <= y1; ++y) {
      std::vector<unsigned char> row((w + 7) / 8, 0);
      for (int x = 0; x < w; ++x) {
        if (s.Row(y)[(x0 + x) * 3] != 0) row[x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
      }
      glyphs.append(reinterpret_cast<const char*>(row.data()), row.size());
    }
    ++count;
  }

  const std::string face = platform::TextFaceDescription();
  std::string out = "VZGA";
  Put16(out, 1);
  Put16(out, cell);
  Put16(out, blank);
  Put16(out, static_cast<int>(face.size()));
  out += face;
  for (std::uint16_t cp : table) Put16(out, cp);
  Put32(out, count);
  out += glyphs;
  std::FILE* f = std::fopen(argv[1], "wb");
  if (f == nullptr || std::fwrite(out.data(), 1, out.size(), f) != out.size()) {
    std::fprintf(stderr, "vedo-glyph-atlas: cannot write %s\n", argv[1]);
    if (f != nullptr) std::fclose(f);
    return 1;
  }
  std::fclose(f);
  std::printf("vedo-glyph-atlas: %u glyphs of %s, %zu bytes\n", count, face.c_str(), out.size());
  return 0;
}
