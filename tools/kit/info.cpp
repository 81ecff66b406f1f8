#include "kit/info.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "formats/bmp_file.h"
#include "formats/wave_file.h"
#include "kit/check.h"
#include "kit/formats.h"

namespace kit {
namespace {

bool StartsWith(const Bytes& b, const char* text) {
  const std::size_t n = std::strlen(text);
  return b.size() >= n && std::memcmp(b.data(), text, n) == 0;
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

void DescribeBmp(const platform::BmpHeader& b, std::size_t fileSize, std::ostream& out) {
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

void DescribeWav(const WaveInfo& w, std::size_t fileSize, std::ostream& out) {
  const platform::PcmFormat& f = w.format;
  out << "WAV sound\n"
      << "  format      PCM, " << f.channels << " channel" << (f.channels == 1 ? "" : "s") << ", "
      << f.bitsPerSample << " bits, " << f.samplesPerSecond << " Hz\n"
      << "  data        " << w.dataSize << " bytes at byte " << w.dataOffset;
  char text[32];
  std::snprintf(text, sizeof text, "%.2f",
                static_cast<double>(w.dataSize) / f.blockAlign / f.samplesPerSecond);
  out << ", " << text << " seconds\n"
      << "  file size   " << fileSize << " bytes\n";
}

void DescribeMidi(const platform::MidiFile& m, std::ostream& out) {
  const MidiFigures f = CountMidi(m);
  const long long total = (m.lengthUs + 500000) / 1000000;
  char length[32];
  std::snprintf(length, sizeof length, "%lld:%02lld", total / 60, total % 60);
  out << "MIDI tune\n"
      << "  format   " << m.format << ", " << m.trackCount << " tracks\n"
      << "  timing   ";
  if (m.division == platform::MidiTimeDivision::kPpqn) {
    out << m.ticksPerQuarter << " pulses per quarter note\n";
  } else {
    out << "SMPTE, " << m.framesPerSecond << " frames a second of " << m.ticksPerFrame
        << " ticks\n";
  }
  out << "  tempo    " << m.tempoEvents << " tempo events\n"
      << "  notes    " << f.noteOns << " on " << f.channels.size() << " channels";
  if (f.hangingNotes > 0) out << ", " << f.hangingNotes << " never stopped";
  out << "\n"
      << "  programs";
  if (f.programs.empty()) out << " none";
  for (int p : f.programs) out << " " << p;
  out << "\n  length   " << m.lengthTicks << " ticks, " << length << "\n";
}

}  // namespace

bool DescribeFile(const std::string& path, std::string& text, std::string* error) {
  Bytes bytes;
  if (!ReadFileBytes(path, bytes, error)) return false;
  std::ostringstream out;
  std::string why;
  auto fail = [&](const char* kind) { return Fail(error, path + ": " + kind + ": " + why); };
  const std::string name = path;
  auto endsWith = [&name](const char* ext) {
    const std::size_t n = std::strlen(ext);
    if (name.size() < n) return false;
    return std::equal(name.end() - static_cast<std::ptrdiff_t>(n), name.end(), ext,
                      [](char a, char b) { return std::tolower(a) == std::tolower(b); });
  };
  FileKind kind = FileKind::kMap;
  // A RIFF file is a sound unless it wraps a tune.
  const bool rmid = StartsWith(bytes, "RIFF") && bytes.size() >= 12 &&
                    std::memcmp(bytes.data() + 8, "RMID", 4) == 0;
  if (StartsWith(bytes, "RevUdav") || endsWith(".map")) {
    MapFile map;
    if (!ReadMap(bytes, map, &why)) return fail("map file");
    DescribeMap(map, bytes.size(), out);
    kind = FileKind::kMap;
  } else if (StartsWith(bytes, "DidArid") || endsWith(".spr")) {
    SpriteFile sprites;
    if (!ReadSprites(bytes, sprites, &why)) return fail("sprite file");
    DescribeSprites(sprites, bytes.size(), out);
    kind = FileKind::kSprites;
  } else if (StartsWith(bytes, "BM") || endsWith(".bmp")) {
    platform::BmpHeader header;
    if (!platform::ParseBmpHeader(bytes.data(), bytes.size(), header, &why)) {
      return fail("BMP picture");
    }
    DescribeBmp(header, bytes.size(), out);
    kind = FileKind::kPicture;
  } else if ((StartsWith(bytes, "RIFF") && !rmid) || endsWith(".wav")) {
    WaveInfo info;
    const char* reason = "";
    if (!ParseWave(bytes.data(), bytes.size(), info, &reason)) {
      why = std::string("the game does not play it: ") + reason;
      return fail("WAV sound");
    }
    DescribeWav(info, bytes.size(), out);
    kind = FileKind::kSound;
  } else if (StartsWith(bytes, "MThd") || rmid || endsWith(".mid")) {
    platform::MidiFile midi;
    if (!platform::ParseMidiFile(bytes.data(), bytes.size(), midi, &why)) return fail("MIDI tune");
    DescribeMidi(midi, out);
    kind = FileKind::kMusic;
  } else {
    return Fail(error, path + ": not a map, sprite, BMP, WAV or MIDI file (unknown first bytes)");
  }
  // What the game reads but the kit asks more of, in the words of `check`.
  std::vector<std::string> problems;
  CheckFile(kind, path, problems);
  const std::string prefix = std::filesystem::path(path).filename().string() + ": ";
  for (const std::string& p : problems) {
    out << "  problem: " << (p.rfind(prefix, 0) == 0 ? p.substr(prefix.size()) : p) << "\n";
  }
  text = out.str();
  return true;
}

}  // namespace kit
