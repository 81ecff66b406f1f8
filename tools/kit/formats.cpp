#include "kit/formats.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

#include "platform/little_endian.h"
#include "platform/midi_file.h"

namespace kit {
namespace {

using platform::ReadLe16;
using platform::ReadLe32;

std::string Fmt(const char* format, long long a, long long b = 0, long long c = 0) {
  char text[256];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

void SetError(std::string* error, const std::string& text) {
  if (error != nullptr) *error = text;
}

bool TagIs(const std::uint8_t* field, std::size_t size, const char* tag) {
  const std::size_t len = std::strlen(tag);
  return len < size && std::memcmp(field, tag, len + 1) == 0;
}

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f != nullptr) std::fclose(f);
  }
};

}  // namespace

void PutLe16(Bytes& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutLe32(Bytes& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::string TagText(const std::uint8_t* field, std::size_t size) {
  std::string text;
  for (std::size_t i = 0; i < size && field[i] != 0; ++i) {
    if (field[i] >= 0x20 && field[i] < 0x7F) {
      text += static_cast<char>(field[i]);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", field[i]);
      text += hex;
    }
  }
  return text;
}

bool ReadFileBytes(const std::string& path, Bytes& out, std::string* error,
                   std::uint64_t maxBytes) {
  std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
  if (!f) {
    SetError(error, "cannot open " + path);
    return false;
  }
  out.clear();
  std::uint8_t chunk[65536];
  for (;;) {
    const std::size_t got = std::fread(chunk, 1, sizeof chunk, f.get());
    if (got == 0) break;
    if (out.size() + got > maxBytes) {
      SetError(error, path + " is larger than " + std::to_string(maxBytes) + " bytes");
      return false;
    }
    out.insert(out.end(), chunk, chunk + got);
  }
  if (std::ferror(f.get())) {
    SetError(error, "cannot read " + path);
    return false;
  }
  return true;
}

bool WriteFileBytes(const std::string& path, const Bytes& bytes, std::string* error) {
  std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "wb"));
  if (!f) {
    SetError(error, "cannot write " + path);
    return false;
  }
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size()) {
    SetError(error, "cannot write " + path);
    return false;
  }
  if (std::fclose(f.release()) != 0) {
    SetError(error, "cannot write " + path);
    return false;
  }
  return true;
}

// ---- Map file -------------------------------------------------------------------

void SetMapTag(MapFile& map) {
  map.tag.fill(0);
  std::memcpy(map.tag.data(), kMapTag, std::strlen(kMapTag));
}

bool ParseMap(const Bytes& bytes, MapFile& out, std::string* error) {
  if (bytes.size() < static_cast<std::size_t>(kMapHeaderBytes)) {
    SetError(error, Fmt("only %lld bytes, shorter than the %lld-byte map header",
                        static_cast<long long>(bytes.size()), kMapHeaderBytes));
    return false;
  }
  const std::uint8_t* p = bytes.data();
  if (!TagIs(p, kTagFieldBytes, kMapTag)) {
    SetError(error, "not a map file: its tag is \"" + TagText(p, kTagFieldBytes) + "\", not \"" +
                        kMapTag + "\"");
    return false;
  }
  MapFile m;
  std::memcpy(m.tag.data(), p, kTagFieldBytes);
  m.tileCount = static_cast<std::int32_t>(ReadLe32(p + 16));
  m.tileWidth = static_cast<std::int32_t>(ReadLe32(p + 20));
  m.tileHeight = static_cast<std::int32_t>(ReadLe32(p + 24));
  m.cols = static_cast<std::int32_t>(ReadLe32(p + 28));
  m.rows = static_cast<std::int32_t>(ReadLe32(p + 32));
  std::memcpy(m.unused.data(), p + 36, 16);
  if (m.tileCount < 0 || m.tileCount > kMapToolMaxTiles) {
    SetError(error,
             Fmt("tile count %lld is out of range (0 to %lld)", m.tileCount, kMapToolMaxTiles));
    return false;
  }
  if (m.tileWidth < 1 || m.tileWidth > kMapToolMaxSide || m.tileHeight < 1 ||
      m.tileHeight > kMapToolMaxSide) {
    SetError(error, Fmt("tile size %lld x %lld is out of range (1 to %lld)", m.tileWidth,
                        m.tileHeight, kMapToolMaxSide));
    return false;
  }
  if (m.cols < 1 || m.cols > kMapToolMaxCells || m.rows < 1 || m.rows > kMapToolMaxCells) {
    SetError(error, Fmt("map size %lld x %lld cells is out of range (1 to %lld)", m.cols, m.rows,
                        kMapToolMaxCells));
    return false;
  }
  const std::uint64_t cellBytes = 4ull * static_cast<std::uint64_t>(m.cols) * m.rows;
  const std::uint64_t tileBytes = static_cast<std::uint64_t>(m.TileBytes()) * m.tileCount;
  const std::uint64_t need = kMapHeaderBytes + cellBytes + tileBytes;
  if (bytes.size() < need) {
    SetError(error, Fmt("the file is %lld bytes but its header promises %lld (%lld missing)",
                        static_cast<long long>(bytes.size()), static_cast<long long>(need),
                        static_cast<long long>(need - bytes.size())));
    return false;
  }
  m.cells.resize(static_cast<std::size_t>(m.cols) * m.rows);
  const std::uint8_t* c = p + kMapHeaderBytes;
  for (std::size_t i = 0; i < m.cells.size(); ++i) {
    m.cells[i] = static_cast<std::int32_t>(ReadLe32(c + 4 * i));
  }
  const std::uint8_t* t = c + cellBytes;
  m.tiles.assign(t, t + tileBytes);
  m.trailing.assign(bytes.begin() + static_cast<std::ptrdiff_t>(need), bytes.end());
  out = std::move(m);
  return true;
}

Bytes SerializeMap(const MapFile& map) {
  Bytes out;
  out.reserve(kMapHeaderBytes + map.cells.size() * 4 + map.tiles.size() + map.trailing.size());
  out.insert(out.end(), map.tag.begin(), map.tag.end());
  PutLe32(out, static_cast<std::uint32_t>(map.tileCount));
  PutLe32(out, static_cast<std::uint32_t>(map.tileWidth));
  PutLe32(out, static_cast<std::uint32_t>(map.tileHeight));
  PutLe32(out, static_cast<std::uint32_t>(map.cols));
  PutLe32(out, static_cast<std::uint32_t>(map.rows));
  out.insert(out.end(), map.unused.begin(), map.unused.end());
  for (std::int32_t v : map.cells) PutLe32(out, static_cast<std::uint32_t>(v));
  out.insert(out.end(), map.tiles.begin(), map.tiles.end());
  out.insert(out.end(), map.trailing.begin(), map.trailing.end());
  return out;
}

// ---- Sprite file ----------------------------------------------------------------

void SetSpriteTag(SpriteFile& sprites) {
  sprites.tag.fill(0);
  std::memcpy(sprites.tag.data(), kSpriteTag, std::strlen(kSpriteTag));
}

bool ParseSprites(const Bytes& bytes, SpriteFile& out, std::string* error) {
  if (bytes.size() < static_cast<std::size_t>(kSpriteHeaderBytes)) {
    SetError(error, Fmt("only %lld bytes, shorter than the %lld-byte sprite header",
                        static_cast<long long>(bytes.size()), kSpriteHeaderBytes));
    return false;
  }
  const std::uint8_t* p = bytes.data();
  if (!TagIs(p, kTagFieldBytes, kSpriteTag)) {
    SetError(error, "not a sprite file: its tag is \"" + TagText(p, kTagFieldBytes) + "\", not \"" +
                        kSpriteTag + "\"");
    return false;
  }
  SpriteFile s;
  std::memcpy(s.tag.data(), p, kTagFieldBytes);
  s.version = static_cast<std::int32_t>(ReadLe32(p + 16));
  const std::int32_t count = static_cast<std::int32_t>(ReadLe32(p + 20));
  std::memcpy(s.unused.data(), p + 24, 8);
  if (s.version < 1) {
    SetError(error, Fmt("version %lld is below 1", s.version));
    return false;
  }
  if (count < 0 || count > kSpriteToolMaxFrames) {
    SetError(error,
             Fmt("frame count %lld is out of range (0 to %lld)", count, kSpriteToolMaxFrames));
    return false;
  }
  // Each frame needs at least its 8-byte size record.
  std::size_t at = kSpriteHeaderBytes;
  if (static_cast<std::uint64_t>(count) * 8 > bytes.size() - at) {
    SetError(error, Fmt("the header counts %lld frames but the file cannot hold them", count));
    return false;
  }
  s.frames.resize(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    if (bytes.size() - at < 8) {
      SetError(error, Fmt("the file ends in the size of frame %lld", i));
      return false;
    }
    SpriteFrameData& f = s.frames[static_cast<std::size_t>(i)];
    f.width = static_cast<std::int32_t>(ReadLe32(p + at));
    f.height = static_cast<std::int32_t>(ReadLe32(p + at + 4));
    at += 8;
    if (f.width < 0 || f.width > kSpriteToolMaxWidth || f.height < 0 ||
        f.height > kSpriteToolMaxHeight) {
      SetError(error, Fmt("frame %lld is %lld x %lld pixels, out of range", i, f.width, f.height) +
                          Fmt(" (at most %lld x %lld)", kSpriteToolMaxWidth, kSpriteToolMaxHeight));
      return false;
    }
    const std::size_t n = static_cast<std::size_t>(f.width) * f.height * 3;
    if (bytes.size() - at < n) {
      SetError(error, Fmt("the file ends inside the pixels of frame %lld (%lld of %lld bytes)", i,
                          static_cast<long long>(bytes.size() - at), static_cast<long long>(n)));
      return false;
    }
    f.bgr.assign(p + at, p + at + n);
    at += n;
  }
  s.trailing.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end());
  out = std::move(s);
  return true;
}

Bytes SerializeSprites(const SpriteFile& sprites) {
  Bytes out;
  out.insert(out.end(), sprites.tag.begin(), sprites.tag.end());
  PutLe32(out, static_cast<std::uint32_t>(sprites.version));
  PutLe32(out, static_cast<std::uint32_t>(sprites.frames.size()));
  out.insert(out.end(), sprites.unused.begin(), sprites.unused.end());
  for (const SpriteFrameData& f : sprites.frames) {
    PutLe32(out, static_cast<std::uint32_t>(f.width));
    PutLe32(out, static_cast<std::uint32_t>(f.height));
    out.insert(out.end(), f.bgr.begin(), f.bgr.end());
  }
  out.insert(out.end(), sprites.trailing.begin(), sprites.trailing.end());
  return out;
}

// ---- BMP pictures -----------------------------------------------------------------

bool ParseBmpHeader(const Bytes& bytes, BmpInfo& out, std::string* error) {
  if (bytes.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M') {
    SetError(error, "not a BMP file (no \"BM\" signature)");
    return false;
  }
  const std::uint8_t* p = bytes.data();
  BmpInfo b;
  b.fileSize = ReadLe32(p + 2);
  b.pixelOffset = ReadLe32(p + 10);
  b.infoSize = ReadLe32(p + 14);
  if (b.infoSize == 12) {
    b.width = ReadLe16(p + 18);
    b.height = ReadLe16(p + 20);
    b.bitsPerPixel = ReadLe16(p + 24);
  } else if (b.infoSize >= 40 && b.infoSize <= 124) {
    if (bytes.size() < 14 + static_cast<std::size_t>(b.infoSize)) {
      SetError(error, "the file ends inside its information header");
      return false;
    }
    b.width = static_cast<std::int32_t>(ReadLe32(p + 18));
    b.height = static_cast<std::int32_t>(ReadLe32(p + 22));
    b.bitsPerPixel = ReadLe16(p + 28);
    b.compression = ReadLe32(p + 30);
    b.coloursUsed = ReadLe32(p + 46);
  } else {
    SetError(error, Fmt("unknown information header size %lld", b.infoSize));
    return false;
  }
  if (b.width <= 0 || b.width > 32768 || b.height == 0 || b.height > 32768 || b.height < -32768) {
    SetError(error, Fmt("picture size %lld x %lld is out of range", b.width, b.height));
    return false;
  }
  const int bpp = b.bitsPerPixel;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
    SetError(error, Fmt("unsupported depth of %lld bits per pixel", bpp));
    return false;
  }
  if (b.compression == 0) {
    const std::uint64_t row = ((static_cast<std::uint64_t>(b.width) * bpp + 31) / 32) * 4;
    const std::uint64_t rows = static_cast<std::uint64_t>(b.height < 0 ? -b.height : b.height);
    const std::uint64_t need = static_cast<std::uint64_t>(b.pixelOffset) + row * rows;
    if (b.pixelOffset < 14 + b.infoSize || need > bytes.size()) {
      SetError(error, Fmt("the pixel rows need %lld bytes but the file has %lld",
                          static_cast<long long>(need), static_cast<long long>(bytes.size())));
      return false;
    }
  } else if (b.pixelOffset >= bytes.size()) {
    SetError(error, "the pixel data lies past the end of the file");
    return false;
  }
  out = b;
  return true;
}

Bytes MakeBmp24(int width, int height, const Bytes& bgr) {
  const std::size_t row = static_cast<std::size_t>(width) * 3;
  const std::size_t padded = (row + 3) & ~static_cast<std::size_t>(3);
  const std::uint32_t dataSize = static_cast<std::uint32_t>(padded * height);
  Bytes out;
  out.reserve(54 + dataSize);
  out.push_back('B');
  out.push_back('M');
  PutLe32(out, 54 + dataSize);
  PutLe32(out, 0);
  PutLe32(out, 54);
  PutLe32(out, 40);
  PutLe32(out, static_cast<std::uint32_t>(width));
  PutLe32(out, static_cast<std::uint32_t>(height));
  PutLe16(out, 1);
  PutLe16(out, 24);
  PutLe32(out, 0);
  PutLe32(out, dataSize);
  PutLe32(out, 2835);  // 72 dots per inch
  PutLe32(out, 2835);
  PutLe32(out, 0);
  PutLe32(out, 0);
  for (int y = height - 1; y >= 0; --y) {
    const std::uint8_t* src = bgr.data() + row * static_cast<std::size_t>(y);
    out.insert(out.end(), src, src + row);
    out.insert(out.end(), padded - row, 0);
  }
  return out;
}

// ---- WAV sounds -------------------------------------------------------------------

bool ParseWavHeader(const Bytes& bytes, WavInfo& out, std::string* error) {
  if (bytes.size() < static_cast<std::size_t>(kWavHeaderSize)) {
    SetError(error, Fmt("only %lld bytes, shorter than the 44-byte sound header",
                        static_cast<long long>(bytes.size())));
    return false;
  }
  const std::uint8_t* p = bytes.data();
  WavInfo w;
  w.riff = std::memcmp(p, "RIFF", 4) == 0 && std::memcmp(p + 8, "WAVE", 4) == 0;
  w.riffSize = ReadLe32(p + 4);
  w.fmtChunk = std::memcmp(p + 12, "fmt ", 4) == 0 && ReadLe32(p + 16) == 16;
  w.formatTag = ReadLe16(p + 20);
  w.channels = ReadLe16(p + 22);
  w.sampleRate = ReadLe32(p + 24);
  w.byteRate = ReadLe32(p + 28);
  w.blockAlign = ReadLe16(p + 32);
  w.bitsPerSample = ReadLe16(p + 34);
  w.dataChunk = std::memcmp(p + 36, "data", 4) == 0;
  w.dataSize = ReadLe32(p + 40);
  w.fileSize = bytes.size();
  out = w;
  return true;
}

std::vector<std::string> WavProblems(const WavInfo& w) {
  std::vector<std::string> problems;
  if (!w.riff) problems.push_back("not a RIFF WAVE file");
  if (!w.fmtChunk) {
    problems.push_back(
        "no 16-byte \"fmt \" chunk at byte 12 (the game reads a fixed 44-byte header)");
  }
  if (!w.dataChunk) {
    problems.push_back("no \"data\" chunk at byte 36 (the game reads a fixed 44-byte header)");
  }
  if (w.formatTag != 1) problems.push_back(Fmt("format tag %lld is not PCM (1)", w.formatTag));
  if (w.channels < 1 || w.channels > 2) {
    problems.push_back(Fmt("%lld channels (1 or 2 can be played)", w.channels));
  }
  if (w.bitsPerSample != 8 && w.bitsPerSample != 16) {
    problems.push_back(Fmt("%lld bits per sample (8 or 16 can be played)", w.bitsPerSample));
  }
  if (w.sampleRate < 4000 || w.sampleRate > 96000) {
    problems.push_back(Fmt("sample rate %lld Hz is out of range (4000 to 96000)", w.sampleRate));
  }
  // Both fields are 16-bit, so their product needs more than an int.
  if (w.blockAlign != static_cast<long long>(w.channels) * w.bitsPerSample / 8 ||
      w.blockAlign == 0) {
    problems.push_back(Fmt("block align %lld does not match %lld channels of %lld bits",
                           w.blockAlign, w.channels, w.bitsPerSample));
  }
  if (w.dataSize == 0) problems.push_back("no samples (data size 0)");
  if (w.dataSize > w.fileSize - kWavHeaderSize) {
    problems.push_back(Fmt("data size %lld is more than the %lld bytes after the header",
                           w.dataSize, static_cast<long long>(w.fileSize - kWavHeaderSize)));
  }
  if (w.blockAlign > 0 && w.dataSize % w.blockAlign != 0) {
    problems.push_back(
        Fmt("data size %lld is not a whole number of %lld-byte samples", w.dataSize, w.blockAlign));
  }
  return problems;
}

Bytes MakeWav16Mono(int sampleRate, const std::vector<std::int16_t>& samples) {
  const std::uint32_t dataSize = static_cast<std::uint32_t>(samples.size() * 2);
  Bytes out;
  out.reserve(44 + dataSize);
  auto tag = [&out](const char* t) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(t[i]));
  };
  tag("RIFF");
  PutLe32(out, 36 + dataSize);
  tag("WAVE");
  tag("fmt ");
  PutLe32(out, 16);
  PutLe16(out, 1);  // PCM
  PutLe16(out, 1);  // mono
  PutLe32(out, static_cast<std::uint32_t>(sampleRate));
  PutLe32(out, static_cast<std::uint32_t>(sampleRate) * 2);
  PutLe16(out, 2);
  PutLe16(out, 16);
  tag("data");
  PutLe32(out, dataSize);
  for (std::int16_t s : samples) PutLe16(out, static_cast<std::uint16_t>(s));
  return out;
}

// ---- MIDI tunes -------------------------------------------------------------------

namespace {

std::uint32_t GetBe32(const std::uint8_t* p) {
  return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
         (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}

// Reads a variable-length quantity of at most four bytes.
bool ReadVarLen(const std::uint8_t* p, std::size_t size, std::size_t& at, std::uint32_t& value) {
  value = 0;
  for (int i = 0; i < 4; ++i) {
    if (at >= size) return false;
    const std::uint8_t b = p[at++];
    value = (value << 7) | (b & 0x7F);
    if ((b & 0x80) == 0) return true;
  }
  return false;
}

}  // namespace

bool ParseMidi(const Bytes& bytes, MidiInfo& out, std::string* error) {
  // Every tempo event of a larger file would be kept; the game does not
  // read one.
  if (bytes.size() > platform::kMaxMidiFileBytes) {
    SetError(error, Fmt("%lld bytes; the game reads MIDI files of at most %lld",
                        static_cast<long long>(bytes.size()),
                        static_cast<long long>(platform::kMaxMidiFileBytes)));
    return false;
  }
  const std::uint8_t* p = bytes.data();
  if (bytes.size() < 14 || std::memcmp(p, "MThd", 4) != 0 || GetBe32(p + 4) < 6) {
    SetError(error, "not a standard MIDI file (no \"MThd\" header)");
    return false;
  }
  MidiInfo m;
  const std::uint32_t headerLen = GetBe32(p + 4);
  if (headerLen > bytes.size() - 8) {
    SetError(error, "the file ends inside its header");
    return false;
  }
  m.format = (p[8] << 8) | p[9];
  m.trackCount = (p[10] << 8) | p[11];
  m.division = (p[12] << 8) | p[13];
  m.ppqn = (m.division & 0x8000) == 0 && m.division > 0;
  if (m.format > 2) {
    SetError(error, Fmt("unknown format %lld", m.format));
    return false;
  }
  std::size_t at = 8 + headerLen;
  // Tempo changes of all tracks, by tick.
  std::multimap<std::uint32_t, std::uint32_t> tempos;
  for (int t = 0; t < m.trackCount; ++t) {
    if (bytes.size() - at < 8 || std::memcmp(p + at, "MTrk", 4) != 0) {
      SetError(error, Fmt("track %lld of %lld is missing", t + 1, m.trackCount));
      return false;
    }
    const std::uint32_t len = GetBe32(p + at + 4);
    at += 8;
    if (len > bytes.size() - at) {
      SetError(error, Fmt("track %lld claims %lld bytes; the file ends before", t + 1, len));
      return false;
    }
    const std::uint8_t* tp = p + at;
    std::size_t i = 0;
    std::uint32_t tick = 0;
    std::uint8_t status = 0;
    bool ended = false;
    int sounding[16][128] = {};
    auto bad = [&](const char* what) {
      SetError(error, Fmt("track %lld: ", t + 1) + what + Fmt(" at byte %lld of the track", i));
      return false;
    };
    while (i < len && !ended) {
      std::uint32_t delta = 0;
      if (!ReadVarLen(tp, len, i, delta)) return bad("broken delta time");
      if (tick > 0xFFFFFFFFu - delta) return bad("time overflows");
      tick += delta;
      if (i >= len) return bad("event missing");
      std::uint8_t b = tp[i];
      if (b & 0x80) {
        ++i;
        if (b < 0xF0) status = b;
      } else if (status == 0) {
        return bad("running status without a status");
      } else {
        b = status;
      }
      if (b == 0xFF) {
        if (i >= len) return bad("meta event cut short");
        const std::uint8_t type = tp[i++];
        std::uint32_t n = 0;
        if (!ReadVarLen(tp, len, i, n) || n > len - i) return bad("meta event cut short");
        if (type == 0x51) {
          if (n != 3) return bad("tempo event is not 3 bytes");
          tempos.emplace(tick, (tp[i] << 16) | (tp[i + 1] << 8) | tp[i + 2]);
          ++m.tempoEvents;
        }
        if (type == 0x2F) ended = true;
        i += n;
      } else if (b == 0xF0 || b == 0xF7) {
        std::uint32_t n = 0;
        if (!ReadVarLen(tp, len, i, n) || n > len - i) return bad("system exclusive cut short");
        i += n;
      } else if (b >= 0xF0) {
        return bad("unknown system event");
      } else {
        const int kind = b & 0xF0;
        const int data = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
        if (len - i < static_cast<std::size_t>(data)) return bad("channel event cut short");
        if ((tp[i] & 0x80) || (data == 2 && (tp[i + 1] & 0x80))) return bad("bad data byte");
        const int ch = b & 0x0F;
        if (kind == 0x80 || (kind == 0x90 && tp[i + 1] == 0)) {
          if (sounding[ch][tp[i]] > 0) --sounding[ch][tp[i]];
        }
        if (kind == 0x90 && tp[i + 1] > 0) {
          ++sounding[ch][tp[i]];
          ++m.noteOns;
          if (std::find(m.channels.begin(), m.channels.end(), ch) == m.channels.end()) {
            m.channels.push_back(ch);
          }
        }
        if (kind == 0xC0) {
          ++m.programChanges;
          if (std::find(m.programs.begin(), m.programs.end(), tp[i]) == m.programs.end()) {
            m.programs.push_back(tp[i]);
          }
        }
        i += data;
      }
      m.lastTick = std::max(m.lastTick, tick);
    }
    for (const auto& channel : sounding) {
      for (int n : channel) m.hangingNotes += n;
    }
    at += len;
  }
  // Playing time: walk the tempo map (500000 us a quarter note until the
  // first tempo event).
  if (m.ppqn) {
    double seconds = 0;
    std::uint32_t lastTick = 0;
    std::uint32_t tempo = 500000;
    for (const auto& [tick, value] : tempos) {
      if (tick > m.lastTick) break;
      seconds += static_cast<double>(tick - lastTick) * tempo / 1e6 / m.division;
      lastTick = tick;
      tempo = value;
    }
    seconds += static_cast<double>(m.lastTick - lastTick) * tempo / 1e6 / m.division;
    m.seconds = seconds;
  }
  out = std::move(m);
  return true;
}

}  // namespace kit
