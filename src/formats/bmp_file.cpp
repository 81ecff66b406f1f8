// Our BMP reader (bmp_file.h), and the picture sizes every platform's
// reader takes.
#include "formats/bmp_file.h"

#include <algorithm>
#include <cstdlib>

#include "formats/file_bytes.h"
#include "formats/little_endian.h"
#include "formats/load_breath.h"

namespace platform {
namespace {

constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint64_t kFileHeaderBytes = 14;
constexpr std::uint64_t kMasksAt = kFileHeaderBytes + 40;
// The largest picture taken, 4096 x 4096 pixels of 32 bits, with room for
// the headers and the colour table.
constexpr std::size_t kMaxFileBytes = std::size_t{4096} * 4096 * 4 + 65536;

bool Fail(std::string* why, const std::string& text) {
  if (why != nullptr) *why = text;
  return false;
}

std::string Figure(long long v) { return std::to_string(v); }

// Bytes of one stored row: whole 32-bit words.
std::uint64_t Stride(const BmpHeader& h) {
  return (static_cast<std::uint64_t>(h.width) * static_cast<unsigned>(h.bitsPerPixel) + 31) / 32 *
         4;
}

long long Rows(const BmpHeader& h) { return std::llabs(static_cast<long long>(h.height)); }

bool IsRle(const BmpHeader& h) { return h.compression == kBiRle8 || h.compression == kBiRle4; }
bool HasBitFields(const BmpHeader& h) {
  return h.compression == kBiBitfields && (h.bitsPerPixel == 16 || h.bitsPerPixel == 32);
}

// Entries of the colour table: as many as the header says, or all the depth
// can index when it says none or more.
std::uint32_t TableEntries(const BmpHeader& h) {
  if (h.bitsPerPixel > 8) return 0;
  const std::uint32_t full = 1u << h.bitsPerPixel;
  return h.coloursUsed == 0 || h.coloursUsed > full ? full : h.coloursUsed;
}

// A channel of a bit-field pixel, scaled to 8 bits: a narrower channel's
// top value becomes 255, rounding down as SDL does.
std::uint8_t Channel(std::uint32_t pixel, std::uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1) == 0) ++shift;
  int bits = 0;
  while (shift + bits < 32 && ((mask >> (shift + bits)) & 1) != 0) ++bits;
  const std::uint32_t v = (pixel & mask) >> shift;
  if (bits >= 8) return static_cast<std::uint8_t>(v >> (bits - 8));
  return static_cast<std::uint8_t>(v * 255 / ((1u << bits) - 1));
}

// The colour indices of a run-length encoded picture, top row first, in rows
// of `pitch`. The runs are laid out as SDL lays them: from the start of the
// bottom row on, a run past a row's end going on into the next row down and
// every index outside the picture dropped; pixels no run reaches keep index
// 0. False when the data ends before its end mark.
bool DecodeRle(const std::uint8_t* d, std::size_t pos, std::size_t end, const BmpHeader& h,
               long long pitch, std::vector<std::uint8_t>& indices) {
  const bool four = h.compression == kBiRle4;
  const long long size = static_cast<long long>(indices.size());
  long long row = size - pitch;
  long long x = 0;
  auto put = [&](int value) {
    if (row + x >= 0 && row + x < size) indices[row + x] = static_cast<std::uint8_t>(value);
    ++x;
  };
  while (end - pos >= 2) {
    const int count = d[pos];
    const int value = d[pos + 1];
    pos += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) put(four ? (i % 2 == 0 ? value >> 4 : value & 15) : value);
    } else if (value == 0) {
      x = 0;
      row -= pitch;
    } else if (value == 1) {
      return true;
    } else if (value == 2) {
      if (end - pos < 2) return false;
      x += d[pos];
      row -= d[pos + 1] * pitch;
      pos += 2;
    } else {
      const std::size_t bytes = four ? (static_cast<std::size_t>(value) + 1) / 2 : value;
      if (end - pos < bytes) return false;
      for (int i = 0; i < value; ++i) {
        const int b = d[pos + (four ? i / 2 : i)];
        put(four ? (i % 2 == 0 ? b >> 4 : b & 15) : b);
      }
      pos += std::min(bytes + (bytes & 1), end - pos);  // absolute runs keep to 16-bit words
    }
  }
  return false;
}

// The headers' fields, from their first bytes; false when the file is not
// a BMP with a header of a known size.
bool ReadFields(const std::uint8_t* d, std::size_t size, BmpHeader& h, std::string* why) {
  if (size < 18 || d[0] != 'B' || d[1] != 'M') {
    return Fail(why, "not a BMP file (no \"BM\" signature)");
  }
  h.fileSize = ReadLe32(d + 2);
  h.pixelOffset = ReadLe32(d + 10);
  h.infoSize = ReadLe32(d + 14);
  if (h.infoSize != 12 && h.infoSize < 40) {
    return Fail(why, "unknown information header size " + Figure(h.infoSize));
  }
  if (size < kFileHeaderBytes + (h.infoSize == 12 ? 12 : 40)) {
    return Fail(why, "the file ends inside its information header");
  }
  if (h.infoSize == 12) {  // the old core header: 16-bit sizes, no compression
    h.width = ReadLe16(d + 18);
    h.height = ReadLe16(d + 20);
    h.bitsPerPixel = ReadLe16(d + 24);
  } else {
    h.width = ReadLeInt32(d + 18);
    h.height = ReadLeInt32(d + 22);
    h.bitsPerPixel = ReadLe16(d + 28);
    h.compression = ReadLe32(d + 30);
    h.coloursUsed = ReadLe32(d + 46);
  }
  return true;
}

}  // namespace

bool BmpSizeAcceptable(long long width, long long height) {
  constexpr long long kMaxPixels = 4096LL * 4096;
  constexpr long long kMaxSide = 16384;
  height = std::llabs(height);  // a negative height marks a top-down picture
  return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
         width * height <= kMaxPixels;
}

bool BmpFileSize(const char* path, long long& width, long long& height) {
  std::vector<std::uint8_t> head;
  ReadFileBytes(path, head, kMasksAt);
  BmpHeader h;
  if (!ReadFields(head.data(), head.size(), h, nullptr)) return false;
  width = h.width;
  height = h.height;
  return true;
}

bool ParseBmpHeader(const std::uint8_t* d, std::size_t size, BmpHeader& out, std::string* why) {
  out = BmpHeader{};
  BmpHeader h;
  if (!ReadFields(d, size, h, why)) return false;
  if (!BmpSizeAcceptable(h.width, h.height)) {
    return Fail(why, "picture size " + Figure(h.width) + " x " + Figure(h.height) +
                         " is out of range (at most 16384 a side and 4096 x 4096 pixels)");
  }
  const int bpp = h.bitsPerPixel;
  if (bpp != 1 && bpp != 2 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
    return Fail(why, "unsupported depth of " + Figure(bpp) + " bits per pixel");
  }
  // As SDL reads them: run-length data by its compression whatever the
  // depth of a picture with a colour table, bit fields at 16 and 32 bits,
  // and any other compression as none.
  const bool rle = IsRle(h);
  if (rle && bpp > 8) {
    return Fail(why, "run-length encoded at " + Figure(bpp) + " bits per pixel");
  }
  const std::uint64_t entryBytes = h.infoSize == 12 ? 3 : 4;
  if (TableEntries(h) > 0 && kFileHeaderBytes + h.infoSize + TableEntries(h) * entryBytes > size) {
    return Fail(why, "the file ends inside its colour table");
  }
  if (HasBitFields(h) && kMasksAt + 12 > size) {
    return Fail(why, "the file ends inside its bit fields");
  }
  // The last row of a picture under 8 bits needs no padding, as SDL reads it.
  const std::uint64_t lastRow =
      bpp < 8 ? (static_cast<std::uint64_t>(h.width) * bpp + 7) / 8 : Stride(h);
  const std::uint64_t need =
      h.pixelOffset + (rle ? 1 : Stride(h) * static_cast<std::uint64_t>(Rows(h) - 1) + lastRow);
  if (need > size) {
    return Fail(why, "the pixel rows need " + Figure(static_cast<long long>(need)) +
                         " bytes but the file has " + Figure(static_cast<long long>(size)));
  }
  out = h;
  return true;
}

bool DecodeBmp(const std::uint8_t* d, std::size_t size, Image& out, std::string* why) {
  out = Image{};
  BmpHeader h;
  if (!ParseBmpHeader(d, size, h, why)) return false;
  const long long w = h.width;
  const long long rows = Rows(h);
  const int bpp = h.bitsPerPixel;

  std::uint8_t table[256][3] = {};
  const std::size_t tableAt = kFileHeaderBytes + h.infoSize;
  const std::size_t entryBytes = h.infoSize == 12 ? 3 : 4;
  const std::uint32_t entries = TableEntries(h);
  for (std::uint32_t i = 0; i < entries; ++i) {
    for (int c = 0; c < 3; ++c) table[i][c] = d[tableAt + i * entryBytes + c];
  }
  std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};  // 16 bits: 5, 5, 5
  if (bpp == 32) {
    masks[0] = 0x00FF0000;
    masks[1] = 0x0000FF00;
    masks[2] = 0x000000FF;
  }
  // The masks follow the info header (they are part of the later ones). As
  // SDL reads them, an empty red mask or a compression it does not know
  // stands for 5-6-5 at 16 bits.
  if (HasBitFields(h) && ReadLe32(d + kMasksAt) != 0) {
    for (int i = 0; i < 3; ++i) masks[i] = ReadLe32(d + kMasksAt + 4 * i);
  } else if (h.compression != 0 && bpp == 16) {
    masks[0] = 0xF800;
    masks[1] = 0x07E0;
  }
  std::vector<std::uint8_t> indices;
  const long long pitch = (w + 3) & ~3LL;
  if (IsRle(h)) {
    indices.assign(static_cast<std::size_t>(pitch * rows), 0);
    if (!DecodeRle(d, h.pixelOffset, size, h, pitch, indices)) {
      return Fail(why, "the run-length data ends before its end mark");
    }
  }

  const std::size_t stride = Stride(h);
  out.width = static_cast<int>(w);
  out.height = static_cast<int>(rows);
  out.pixels.assign(static_cast<std::size_t>(w * rows) * 3, 0);
  for (long long y = 0; y < rows; ++y) {
    if (y % 32 == 31) BreatheDuringLoad();  // a large picture is a long piece of the loading
    std::uint8_t* dst = out.pixels.data() + static_cast<std::size_t>(y * w) * 3;
    if (!indices.empty()) {
      for (long long x = 0; x < w; ++x, dst += 3) {
        const std::uint8_t* c = table[indices[static_cast<std::size_t>(y * pitch + x)]];
        for (int k = 0; k < 3; ++k) dst[k] = c[k];
      }
      continue;
    }
    const long long stored = h.height < 0 ? y : rows - 1 - y;
    const std::uint8_t* row = d + h.pixelOffset + stride * stored;
    for (long long x = 0; x < w; ++x, dst += 3) {
      switch (bpp) {
        case 1:
        case 2:
        case 4:
        case 8: {
          const long long bit = x * bpp;
          const std::uint32_t index = (row[bit / 8] >> (8 - bpp - bit % 8)) & ((1 << bpp) - 1);
          if (index >= entries) {
            out = Image{};
            return Fail(why, "a pixel's colour " + Figure(index) + " is past the colour table's " +
                                 Figure(entries));
          }
          for (int k = 0; k < 3; ++k) dst[k] = table[index][k];
          break;
        }
        case 24:
          for (int k = 0; k < 3; ++k) dst[k] = row[x * 3 + k];
          break;
        default: {
          const std::uint32_t p = bpp == 16 ? ReadLe16(row + x * 2) : ReadLe32(row + x * 4);
          dst[0] = Channel(p, masks[2]);
          dst[1] = Channel(p, masks[1]);
          dst[2] = Channel(p, masks[0]);
        }
      }
    }
  }
  return true;
}

bool LoadBmpFile(const char* path, Image& out, std::string* why) {
  std::vector<std::uint8_t> bytes;
  switch (ReadFileBytes(path, bytes, kMaxFileBytes)) {
    case FileRead::kMissing:
      return Fail(why, "cannot open the file");
    case FileRead::kTooLarge:
      return Fail(why, "larger than any picture taken");
    case FileRead::kOk:
      break;
  }
  return DecodeBmp(bytes.data(), bytes.size(), out, why);
}

}  // namespace platform
