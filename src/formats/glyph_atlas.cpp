#include "formats/glyph_atlas.h"

#include <cstdio>
#include <cstring>

#include "formats/little_endian.h"
#include "formats/load_breath.h"

namespace platform {
namespace {

constexpr char kMagic[4] = {'V', 'Z', 'G', 'A'};
constexpr int kVersion = 2;
constexpr std::size_t kHeaderBytes = 12;       // magic, version, cell, blank
constexpr std::size_t kGlyphHeaderBytes = 14;  // code point, advance, left, top, width, height
constexpr std::size_t kTableBytes = std::size_t{GlyphAtlas::kLeads} * GlyphAtlas::kTrails * 2;

std::string Describe(std::size_t index, char32_t cp) {
  char text[48];
  std::snprintf(text, sizeof text, "glyph %zu (U+%04X)", index, static_cast<unsigned>(cp));
  return text;
}

}  // namespace

std::vector<std::uint8_t> WriteGlyphAtlas(const GlyphAtlas& atlas) {
  std::vector<std::uint8_t> out(kMagic, kMagic + 4);
  PutLe16(out, kVersion);
  PutLe16(out, atlas.lineCell);
  PutLe16(out, atlas.blank);
  PutLe16(out, static_cast<int>(atlas.face.size()));
  out.insert(out.end(), atlas.face.begin(), atlas.face.end());
  for (std::size_t i = 0; i < std::size_t{GlyphAtlas::kLeads} * GlyphAtlas::kTrails; ++i) {
    PutLe16(out, i < atlas.decode.size() ? static_cast<int>(atlas.decode[i]) : 0);
  }
  for (const std::vector<AtlasGlyph>* list : {&atlas.glyphs, &atlas.unicodeGlyphs}) {
    PutLe32(out, static_cast<std::uint32_t>(list->size()));
    for (const AtlasGlyph& g : *list) {
      PutLe32(out, g.codePoint);
      for (int v : {g.advance, g.left, g.top, g.width, g.height}) PutLe16(out, v);
      const std::size_t rowBytes = (static_cast<std::size_t>(g.width) + 7) / 8;
      for (int r = 0; r < g.height; ++r) {
        const std::size_t row = out.size();
        out.resize(row + rowBytes, 0);
        for (int c = 0; c < g.width; ++c) {
          if (g.ink[static_cast<std::size_t>(r) * g.width + c] != 0) {
            out[row + c / 8] |= static_cast<std::uint8_t>(0x80 >> (c % 8));
          }
        }
      }
    }
  }
  return out;
}

bool ReadGlyphAtlas(std::span<const std::uint8_t> bytes, GlyphAtlas& atlas, std::string& error) {
  const std::uint8_t* p = bytes.data();
  std::size_t left = bytes.size();
  const auto s16 = [](const std::uint8_t* at) { return static_cast<std::int16_t>(ReadLe16(at)); };
  const auto fail = [&error](const std::string& why) {
    error = why;
    return false;
  };
  if (left < kHeaderBytes + 2 || std::memcmp(p, kMagic, 4) != 0) {
    return fail("not a glyph atlas (it does not start with VZGA and its header)");
  }
  if (ReadLe16(p + 4) != kVersion) {
    return fail("version " + std::to_string(ReadLe16(p + 4)) + ", not " + std::to_string(kVersion));
  }
  GlyphAtlas read;
  read.lineCell = ReadLe16(p + 6);
  read.blank = ReadLe16(p + 8);
  if (read.lineCell < 1 || read.lineCell > GlyphAtlas::kMaxLineCell) {
    return fail("a line cell of " + std::to_string(read.lineCell) + " pixels");
  }
  if (read.blank < 1 || read.blank > GlyphAtlas::kMaxGlyphSide) {
    return fail("a blank " + std::to_string(read.blank) + " pixels wide");
  }
  const std::size_t faceBytes = ReadLe16(p + 10);
  p += kHeaderBytes;
  left -= kHeaderBytes;
  if (faceBytes > left) return fail("cut off in the face's name");
  read.face.assign(reinterpret_cast<const char*>(p), faceBytes);
  p += faceBytes;
  left -= faceBytes;

  if (left < kTableBytes) return fail("cut off in the CP949 table");
  read.decode.resize(kTableBytes / 2);
  for (char32_t& cp : read.decode) {
    cp = ReadLe16(p);
    p += 2;
  }
  left -= kTableBytes;
  constexpr int kMax = GlyphAtlas::kMaxGlyphSide;
  // Each list: its count, then its glyphs.
  const auto readList = [&](std::vector<AtlasGlyph>& list, std::size_t first) {
    if (left < 4) return fail("cut off before glyph " + std::to_string(first));
    const std::uint32_t count = ReadLe32(p);
    p += 4;
    left -= 4;
    if (count > left / kGlyphHeaderBytes) {
      return fail("claims " + std::to_string(count) + " glyphs, more than its last " +
                  std::to_string(left) + " bytes hold");
    }
    list.reserve(count);
    for (std::size_t i = first; i < first + count; ++i) {
      // Thousands of glyphs: several pieces of the loading on a slow phone.
      if ((i - first) % 1024 == 1023) BreatheDuringLoad();
      if (left < kGlyphHeaderBytes) return fail(Describe(i, 0) + " is cut off");
      AtlasGlyph g;
      g.codePoint = ReadLe32(p);
      g.advance = s16(p + 4);
      g.left = s16(p + 6);
      g.top = s16(p + 8);
      g.width = ReadLe16(p + 10);
      g.height = ReadLe16(p + 12);
      p += kGlyphHeaderBytes;
      left -= kGlyphHeaderBytes;
      // Named only for a failure: formatting a name for each of thousands of
      // glyphs made up much of the program's start in the browser.
      const auto name = [&] { return Describe(i, g.codePoint); };
      if (g.codePoint == 0 || g.codePoint > 0x10FFFF ||
          (!list.empty() && g.codePoint <= list.back().codePoint)) {
        return fail(name() + " is out of order or no character");
      }
      if (g.advance < 0 || g.advance > kMax || g.left < -kMax || g.left > kMax || g.width > kMax ||
          g.top < 0 || g.top + g.height > read.lineCell) {
        return fail(name() + " lies outside its line cell or the " + std::to_string(kMax) +
                    " pixels a glyph may take");
      }
      const std::size_t rowBytes = (static_cast<std::size_t>(g.width) + 7) / 8;
      if (rowBytes * g.height > left) return fail(name() + "'s pixels are cut off");
      g.ink.resize(static_cast<std::size_t>(g.width) * g.height);
      for (int r = 0; r < g.height; ++r) {
        for (int c = 0; c < g.width; ++c) {
          g.ink[static_cast<std::size_t>(r) * g.width + c] =
              (p[r * rowBytes + c / 8] >> (7 - c % 8)) & 1;
        }
      }
      p += rowBytes * g.height;
      left -= rowBytes * g.height;
      list.push_back(std::move(g));
    }
    return true;
  };
  if (!readList(read.glyphs, 0) || !readList(read.unicodeGlyphs, read.glyphs.size())) return false;
  if (left != 0) return fail(std::to_string(left) + " bytes after the last glyph");
  atlas = std::move(read);
  return true;
}

}  // namespace platform
