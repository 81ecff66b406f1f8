#include "kit/formats.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <limits>

#include "formats/file_bytes.h"

namespace kit {
namespace {}  // namespace

std::string Printf(const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

bool Fail(std::string* error, const std::string& text) {
  if (error != nullptr) *error = text;
  return false;
}

std::string Hex(const std::uint8_t* bytes, std::size_t n) {
  static const char kDigits[] = "0123456789abcdef";
  std::string s;
  for (std::size_t i = 0; i < n; ++i) {
    s += kDigits[bytes[i] >> 4];
    s += kDigits[bytes[i] & 15];
  }
  return s;
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

bool WriteFileBytes(const std::string& path, const Bytes& bytes, std::string* error) {
  std::string why;
  return platform::WriteFileBytes(path.c_str(), bytes, why) || Fail(error, "cannot write " + path);
}

// ---- Map file -------------------------------------------------------------------

void SetMapTag(MapFile& map) {
  map.tag.fill(0);
  std::memcpy(map.tag.data(), kMapTag, std::strlen(kMapTag));
}

bool ReadMap(const Bytes& bytes, MapFile& out, std::string* error) {
  std::string problem;
  switch (ParseMap(bytes.data(), bytes.size(), out, &problem)) {
    case MapParse::kBadTag:
      if (bytes.size() < static_cast<std::size_t>(kMapHeaderBytes)) {
        return Fail(error, Printf("only %lld bytes, shorter than the %d-byte map header",
                                  static_cast<long long>(bytes.size()), kMapHeaderBytes));
      }
      return Fail(error, "not a map file: its tag is \"" + TagText(bytes.data(), kTagFieldBytes) +
                             "\", not \"" + kMapTag + "\"");
    case MapParse::kBadHeader:
      return Fail(error, "the game refuses its header: " + problem);
    case MapParse::kOk:
      break;
  }
  return true;
}

std::string ShortFileText(std::uint64_t missing) {
  return Printf(
      "the file ends %lld bytes short of what its header promises: the game reads the "
      "missing bytes as zeros, but other programs may not",
      static_cast<long long>(missing));
}

// The kit's rule for unpacking on top of the game's reading.
bool Whole(std::uint64_t missingBytes, std::string* error) {
  return missingBytes == 0 ||
         Fail(error, ShortFileText(missingBytes) + "; the kit unpacks whole files only");
}

bool ReadWholeMap(const Bytes& bytes, MapFile& out, std::string* error) {
  return ReadMap(bytes, out, error) && Whole(out.missingBytes, error);
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

bool ReadSprites(const Bytes& bytes, SpriteFile& out, std::string* error) {
  return ParseSprites(bytes.data(), bytes.size(), out, error);
}

bool ReadWholeSprites(const Bytes& bytes, SpriteFile& out, std::string* error) {
  return ReadSprites(bytes, out, error) && Whole(out.missingBytes, error);
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

// ---- Writers of pictures and sounds ------------------------------------------------

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

MidiFigures CountMidi(const platform::MidiFile& midi) {
  MidiFigures m;
  int sounding[16][128] = {};
  auto addOnce = [](std::vector<int>& list, int v) {
    if (std::find(list.begin(), list.end(), v) == list.end()) list.push_back(v);
  };
  for (const platform::MidiEvent& e : midi.events) {
    const int kind = e.status & 0xF0;
    const int ch = e.status & 0x0F;
    if (kind == 0x80 || (kind == 0x90 && e.data2 == 0)) {
      if (sounding[ch][e.data1] > 0) --sounding[ch][e.data1];
    } else if (kind == 0x90) {
      ++sounding[ch][e.data1];
      ++m.noteOns;
      addOnce(m.channels, ch);
    } else if (kind == 0xC0) {
      ++m.programChanges;
      addOnce(m.programs, e.data1);
    }
  }
  for (const auto& channel : sounding) {
    for (int n : channel) m.hangingNotes += n;
  }
  return m;
}

}  // namespace kit
