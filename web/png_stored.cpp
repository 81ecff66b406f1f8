// PNG output for the replay tool in WebAssembly, which has no libpng: the
// same pictures, 8-bit RGB, with the image data stored rather than
// compressed (zlib's "stored" blocks). Reading is not needed there.
#include <algorithm>
#include <cstdio>
#include <string>

#include "common/png_io.h"

namespace pngio {
namespace {

std::uint32_t Crc(const std::string& bytes, std::size_t from) {
  static std::uint32_t table[256];
  static bool made = false;
  if (!made) {
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[n] = c;
    }
    made = true;
  }
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::size_t i = from; i < bytes.size(); ++i) {
    c = table[(c ^ static_cast<unsigned char>(bytes[i])) & 0xFF] ^ (c >> 8);
  }
  return c ^ 0xFFFFFFFFu;
}

void Put32(std::string& out, std::uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<char>((v >> s) & 0xFF));
}

void Chunk(std::string& out, const char* type, const std::string& data) {
  Put32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t from = out.size();
  out += type;
  out += data;
  Put32(out, Crc(out, from));
}

}  // namespace

bool WritePng(const std::string& path, const RgbImage& image, std::string* error) {
  std::string raw;  // each row after its filter byte (none)
  const std::size_t row = static_cast<std::size_t>(image.width) * 3;
  for (int y = 0; y < image.height; ++y) {
    raw.push_back(0);
    raw.append(reinterpret_cast<const char*>(image.rgb.data()) + row * y, row);
  }
  std::string z = "\x78\x01";
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (unsigned char c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  for (std::size_t at = 0; at < raw.size() || at == 0; at += 65535) {
    const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
    z.push_back(at + n >= raw.size() ? 1 : 0);
    z.push_back(static_cast<char>(n & 0xFF));
    z.push_back(static_cast<char>(n >> 8));
    z.push_back(static_cast<char>(~n & 0xFF));
    z.push_back(static_cast<char>((~n >> 8) & 0xFF));
    z.append(raw, at, n);
    if (raw.empty()) break;
  }
  Put32(z, (b << 16) | a);
  std::string header;
  Put32(header, static_cast<std::uint32_t>(image.width));
  Put32(header, static_cast<std::uint32_t>(image.height));
  header += std::string("\x08\x02\x00\x00\x00", 5);
  std::string png = "\x89PNG\r\n\x1a\n";
  Chunk(png, "IHDR", header);
  Chunk(png, "IDAT", z);
  Chunk(png, "IEND", "");
  std::FILE* f = std::fopen(path.c_str(), "wb");
  const bool ok = f != nullptr && std::fwrite(png.data(), 1, png.size(), f) == png.size();
  if (f != nullptr && std::fclose(f) != 0) return false;
  if (!ok && error != nullptr) *error = "cannot write " + path;
  return ok;
}

bool ReadPng(const std::string& path, RgbImage&, std::string* error) {
  if (error != nullptr) *error = "this build does not read PNG files (" + path + ")";
  return false;
}

}  // namespace pngio
