#include "kit/info.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <sstream>

#include "kit/formats.h"

namespace kit {
namespace {

bool StartsWith(const Bytes& b, const char* text) {
  const std::size_t n = std::strlen(text);
  return b.size() >= n && std::memcmp(b.data(), text, n) == 0;
}

std::string Hex(const std::uint8_t* p, std::size_t n) {
  static const char kDigits[] = "0123456789abcdef";
  std::string s;
  for (std::size_t i = 0; i < n; ++i) {
    s += kDigits[p[i] >> 4];
    s += kDigits[p[i] & 15];
  }
  return s;
}

bool AllZero(const std::uint8_t* p, std::size_t n) {
  return std::all_of(p, p + n, [](std::uint8_t b) { return b == 0; });
}

void DescribeMap(const MapFile& m, std::size_t fileSize, std::ostream& out) {
  out << "map file\n"
      << "  tag          \"" << TagText(m.tag.data(), m.tag.size()) << "\"\n"
      << "  tiles        " << m.tileCount << " of " << m.tileWidth << " x " << m.tileHeight
      << " pixels\n"
      << "  map          " << m.cols << " columns x " << m.rows << " rows\n";
  if (!AllZero(m.unused.data(), m.unused.size())) {
    out << "  unused bytes " << Hex(m.unused.data(), m.unused.size()) << "\n";
  }
  std::int32_t lo = INT32_MAX, hi = INT32_MIN;
  int negative = 0, missing = 0;
  for (std::int32_t v : m.cells) {
    lo = std::min(lo, v);
    hi = std::max(hi, v);
    if (v < 0) ++negative;
    if (v == INT32_MIN || (v < 0 ? -v : v) >= m.tileCount) ++missing;
  }
  out << "  cells        " << m.cells.size() << ", tile numbers " << lo << " to " << hi << ", "
      << negative << " negative";
  if (missing > 0) out << ", " << missing << " naming tiles that do not exist";
  out << "\n  file size    " << fileSize << " bytes";
  if (!m.trailing.empty()) out << " (" << m.trailing.size() << " bytes after the last tile)";
  out << "\n";
}

void DescribeSprites(const SpriteFile& s, std::size_t fileSize, std::ostream& out) {
  out << "sprite file\n"
      << "  tag       \"" << TagText(s.tag.data(), s.tag.size()) << "\"\n"
      << "  version   " << s.version << "\n"
      << "  frames    " << s.frames.size() << "\n"
      << "  file size " << fileSize << " bytes";
  if (!s.trailing.empty()) out << " (" << s.trailing.size() << " bytes after the last frame)";
  out << "\n";
  for (std::size_t i = 0; i < s.frames.size(); ++i) {
    out << "  frame " << i << ": " << s.frames[i].width << " x " << s.frames[i].height << "\n";
  }
}

void DescribeBmp(const BmpInfo& b, std::size_t fileSize, std::ostream& out) {
  out << "BMP picture\n"
      << "  size        " << b.width << " x " << (b.height < 0 ? -b.height : b.height) << " pixels"
      << (b.height < 0 ? ", rows top first" : "") << "\n"
      << "  depth       " << b.bitsPerPixel << " bits per pixel\n"
      << "  compression "
      << (b.compression == 0 ? std::string("none") : std::to_string(b.compression)) << "\n"
      << "  header      " << b.infoSize << "-byte information header, pixels at byte "
      << b.pixelOffset << "\n"
      << "  file size   " << fileSize << " bytes\n";
}

void DescribeWav(const WavInfo& w, std::ostream& out) {
  out << "WAV sound\n"
      << "  format      "
      << (w.formatTag == 1 ? std::string("PCM") : "tag " + std::to_string(w.formatTag)) << ", "
      << w.channels << " channel" << (w.channels == 1 ? "" : "s") << ", " << w.bitsPerSample
      << " bits, " << w.sampleRate << " Hz\n"
      << "  data        " << w.dataSize << " bytes";
  if (w.blockAlign > 0 && w.sampleRate > 0) {
    const double seconds = static_cast<double>(w.dataSize) / w.blockAlign / w.sampleRate;
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", seconds);
    out << ", " << text << " seconds";
  }
  out << "\n  file size   " << w.fileSize << " bytes\n";
  const std::vector<std::string> problems = WavProblems(w);
  if (problems.empty()) {
    out << "  the game reads it through its fixed 44-byte header\n";
  }
  for (const std::string& p : problems) out << "  problem: " << p << "\n";
}

void DescribeMidi(const MidiInfo& m, std::ostream& out) {
  const int total = static_cast<int>(m.seconds + 0.5);
  char length[32];
  std::snprintf(length, sizeof length, "%d:%02d", total / 60, total % 60);
  out << "MIDI tune\n"
      << "  format   " << m.format << ", " << m.trackCount << " tracks\n"
      << "  timing   ";
  if (m.ppqn) {
    out << m.division << " pulses per quarter note\n";
  } else {
    out << "SMPTE (division 0x" << std::hex << m.division << std::dec << ")\n";
  }
  out << "  tempo    " << m.tempoEvents << " tempo events\n"
      << "  notes    " << m.noteOns << " on " << m.channels.size() << " channels";
  if (m.hangingNotes > 0) out << ", " << m.hangingNotes << " never stopped";
  out << "\n"
      << "  programs";
  if (m.programs.empty()) out << " none";
  for (int p : m.programs) out << " " << p;
  out << "\n  length   " << m.lastTick << " ticks";
  if (m.ppqn) out << ", " << length;
  out << "\n";
}

}  // namespace

bool DescribeFile(const std::string& path, std::string& text, std::string* error) {
  Bytes bytes;
  if (!ReadFileBytes(path, bytes, error)) return false;
  std::ostringstream out;
  std::string why;
  auto fail = [&](const char* kind) {
    if (error != nullptr) *error = path + ": " + kind + ": " + why;
    return false;
  };
  const std::string name = path;
  auto endsWith = [&name](const char* ext) {
    const std::size_t n = std::strlen(ext);
    if (name.size() < n) return false;
    return std::equal(name.end() - static_cast<std::ptrdiff_t>(n), name.end(), ext,
                      [](char a, char b) { return std::tolower(a) == std::tolower(b); });
  };
  if (StartsWith(bytes, "RevUdav") || endsWith(".map")) {
    MapFile map;
    if (!ParseMap(bytes, map, &why)) return fail("map file");
    DescribeMap(map, bytes.size(), out);
  } else if (StartsWith(bytes, "DidArid") || endsWith(".spr")) {
    SpriteFile sprites;
    if (!ParseSprites(bytes, sprites, &why)) return fail("sprite file");
    DescribeSprites(sprites, bytes.size(), out);
  } else if (StartsWith(bytes, "BM") || endsWith(".bmp")) {
    BmpInfo info;
    if (!ParseBmpHeader(bytes, info, &why)) return fail("BMP picture");
    DescribeBmp(info, bytes.size(), out);
  } else if (StartsWith(bytes, "RIFF") || endsWith(".wav")) {
    WavInfo info;
    if (!ParseWavHeader(bytes, info, &why)) return fail("WAV sound");
    DescribeWav(info, out);
  } else if (StartsWith(bytes, "MThd") || endsWith(".mid")) {
    MidiInfo info;
    if (!ParseMidi(bytes, info, &why)) return fail("MIDI tune");
    DescribeMidi(info, out);
  } else {
    if (error != nullptr) {
      *error = path + ": not a map, sprite, BMP, WAV or MIDI file (unknown first bytes)";
    }
    return false;
  }
  text = out.str();
  return true;
}

}  // namespace kit
