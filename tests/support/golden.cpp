#include "support/golden.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <sstream>
#include <vector>

#include "common/png_io.h"
#include "formats/glyph_atlas.h"
#include "platform/draw/text_draw.h"
#include "support/test_data.h"

namespace testdata {
namespace {

bool Refreshing() {
  const char* update = std::getenv("VEDO_UPDATE_GOLDEN");
  return update != nullptr && update[0] == '1';
}

// SHA-256 of a byte string, in lower-case hex: the kit check runs in the
// test itself, so that it holds on every platform the suite runs on (there
// is no sha256sum under Wine).
std::string Sha256Hex(const std::vector<std::uint8_t>& bytes) {
  static constexpr std::uint32_t k[64] = {
      0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4,
      0xab1c5ed5, 0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe,
      0x9bdc06a7, 0xc19bf174, 0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f,
      0x4a7484aa, 0x5cb0a9dc, 0x76f988da, 0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7,
      0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967, 0x27b70a85, 0x2e1b2138, 0x4d2c6dfc,
      0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85, 0xa2bfe8a1, 0xa81a664b,
      0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070, 0x19a4c116,
      0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
      0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7,
      0xc67178f2};
  std::array<std::uint32_t, 8> h = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                    0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  std::vector<std::uint8_t> m = bytes;
  const std::uint64_t bits = static_cast<std::uint64_t>(bytes.size()) * 8;
  m.push_back(0x80);
  while (m.size() % 64 != 56) m.push_back(0);
  for (int i = 7; i >= 0; --i) m.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
  const auto rotr = [](std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); };
  for (std::size_t block = 0; block < m.size(); block += 64) {
    std::uint32_t w[64];
    for (int i = 0; i < 16; ++i) {
      const std::uint8_t* b = &m[block + 4 * static_cast<std::size_t>(i)];
      w[i] = (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) |
             (std::uint32_t{b[2]} << 8) | b[3];
    }
    for (int i = 16; i < 64; ++i) {
      const std::uint32_t s0 = rotr(w[i - 15], 7) ^ rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
      const std::uint32_t s1 = rotr(w[i - 2], 17) ^ rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
      w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    std::array<std::uint32_t, 8> v = h;
    for (int i = 0; i < 64; ++i) {
      const std::uint32_t s1 = rotr(v[4], 6) ^ rotr(v[4], 11) ^ rotr(v[4], 25);
      const std::uint32_t ch = (v[4] & v[5]) ^ (~v[4] & v[6]);
      const std::uint32_t t1 = v[7] + s1 + ch + k[i] + w[i];
      const std::uint32_t s0 = rotr(v[0], 2) ^ rotr(v[0], 13) ^ rotr(v[0], 22);
      const std::uint32_t maj = (v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]);
      for (int j = 7; j > 0; --j) v[j] = v[j - 1];
      v[4] += t1;
      v[0] = t1 + s0 + maj;
    }
    for (int i = 0; i < 8; ++i) h[i] += v[i];
  }
  std::string hex;
  for (std::uint32_t x : h) {
    char part[9];
    std::snprintf(part, sizeof part, "%08x", x);
    hex += part;
  }
  return hex;
}

}  // namespace

std::string GlyphAtlasChange() {
  const std::string path = std::string(VEDO_SOURCE_DIR) + "/tests/tools/glyphs.atlas.sha256";
  const std::span<const std::uint8_t> atlas = platform::BuiltInGlyphAtlas();
  const std::string here = Sha256Hex({atlas.begin(), atlas.end()});
  if (Refreshing()) {
    std::ofstream(path) << here << "  glyphs.atlas\n";
    return {};
  }
  std::string recorded;
  std::ifstream(path) >> recorded;
  if (recorded == here) return {};
  return "THE GLYPH ATLAS CHANGED: the one built into this build (drawn from " +
         platform::TextFaceDescription() + ", " + std::to_string(atlas.size()) +
         " bytes) has SHA-256 " + here + ", " + path + " records " + recorded +
         ". A FreeType or font update draws other glyphs; the golden images with text are "
         "skipped until this passes. If the change is intended, refresh the golden images "
         "(VEDO_UPDATE_GOLDEN=1, which records the new checksum) and look at them.";
}

std::string TextGoldenSkipReason() {
  if (GlyphAtlasChange().empty()) return {};
  return "the glyph atlas differs from tests/tools/glyphs.atlas.sha256 (see the test "
         "GlyphAtlas.MatchesItsChecksum), so the golden images with text cannot be compared";
}

std::string KitGoldenSkipReason() {
  // Every file the manifest lists ("HASH  NAME" lines) has its hash.
  static const bool kitAsRecorded = [] {
    std::ifstream manifest(std::string(VEDO_SOURCE_DIR) + "/tests/content/datakit.sha256");
    bool any = false;
    for (std::string line; std::getline(manifest, line);) {
      std::istringstream fields(line);
      std::string hash, name;
      if (!(fields >> hash >> name)) continue;
      std::ifstream file(DataKitDir() / name, std::ios::binary);
      const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
      if (!file.good() && !file.eof()) return false;
      if (!std::filesystem::exists(DataKitDir() / name) || Sha256Hex(bytes) != hash) return false;
      any = true;
    }
    return any;
  }();
  if (kitAsRecorded || Refreshing()) return {};
  return "the data kit differs from tests/content/datakit.sha256 (see the kit manifest test), so "
         "the golden images drawn from it cannot be compared";
}

::testing::AssertionResult MatchesGolden(const platform::Surface& frame, const std::string& name) {
  const pngio::RgbImage actual =
      pngio::FromBgr(frame.Pixels(), frame.Width(), frame.Height(), frame.Pitch());
  const std::string goldenPath = std::string(VEDO_GOLDEN_DIR) + "/" + name + ".png";
  if (Refreshing()) {
    std::string error;
    if (!pngio::WritePng(goldenPath, actual, &error)) {
      return ::testing::AssertionFailure() << "cannot refresh " << goldenPath << ": " << error;
    }
    return ::testing::AssertionSuccess() << "refreshed " << goldenPath;
  }
  pngio::RgbImage golden;
  std::string error;
  const std::string actualPath = std::string(VEDO_BINARY_DIR) + "/" + name + ".actual.png";
  if (!pngio::ReadPng(goldenPath, golden, &error)) {
    pngio::WritePng(actualPath, actual);
    return ::testing::AssertionFailure()
           << "no golden image " << goldenPath << " (" << error << "); this frame was written to "
           << actualPath << "; run with VEDO_UPDATE_GOLDEN=1 to accept it";
  }
  if (golden.width != actual.width || golden.height != actual.height) {
    pngio::WritePng(actualPath, actual);
    return ::testing::AssertionFailure()
           << name << ": size " << actual.width << "x" << actual.height << ", golden "
           << golden.width << "x" << golden.height;
  }
  for (int y = 0; y < actual.height; ++y) {
    for (int x = 0; x < actual.width; ++x) {
      const std::size_t i = (static_cast<std::size_t>(y) * actual.width + x) * 3;
      if (actual.rgb[i] != golden.rgb[i] || actual.rgb[i + 1] != golden.rgb[i + 1] ||
          actual.rgb[i + 2] != golden.rgb[i + 2]) {
        pngio::WritePng(actualPath, actual);
        return ::testing::AssertionFailure()
               << name << ": first difference at (" << x << ", " << y << "): RGB "
               << int(actual.rgb[i]) << "," << int(actual.rgb[i + 1]) << ","
               << int(actual.rgb[i + 2]) << ", golden " << int(golden.rgb[i]) << ","
               << int(golden.rgb[i + 1]) << "," << int(golden.rgb[i + 2]) << "; frame written to "
               << actualPath;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace testdata
