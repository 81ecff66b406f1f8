// The game's data formats as plain values, for the tools: the map file, the
// sprite file, 24-bit BMP pictures, WAV sounds and MIDI tunes.
//
// Every parser works on bytes already in memory and checks each length
// against what is left before it reads, so a broken or hostile file gives an
// error text, never an out-of-range read. ReadFileBytes caps how much it
// loads, which bounds every allocation that follows from a file.
//
// Pixels of tiles and frames stay exactly as the files hold them: three
// bytes each, B, G, R (the game's surface layout).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "state/data_contract.h"

namespace kit {

using Bytes = std::vector<std::uint8_t>;

// Reads a whole file of at most maxBytes. False with a reason otherwise.
bool ReadFileBytes(const std::string& path, Bytes& out, std::string* error,
                   std::uint64_t maxBytes = 512ull << 20);
bool WriteFileBytes(const std::string& path, const Bytes& bytes, std::string* error);

// ---- Map file ---------------------------------------------------------------

// The tag and header size are the game's (state/data_contract.h).
// Limits of what the tools accept; they are wider than what the game needs,
// so that `check` can say precisely what is wrong with a map.
inline constexpr int kMapToolMaxTiles = 65536;
inline constexpr int kMapToolMaxSide = 256;
inline constexpr int kMapToolMaxCells = 1024;

struct MapFile {
  std::array<std::uint8_t, kTagFieldBytes> tag{};  // the tag field, bytes after the zero included
  std::int32_t tileCount = 0;
  std::int32_t tileWidth = 0;
  std::int32_t tileHeight = 0;
  std::int32_t cols = 0;
  std::int32_t rows = 0;
  std::array<std::uint8_t, 16> unused{};  // header bytes 36 to 51, kept as found
  std::vector<std::int32_t> cells;        // rows x cols, row-major
  Bytes tiles;                            // tileCount images of w x h x 3 bytes
  Bytes trailing;                         // anything after the last tile

  std::size_t TileBytes() const {
    return static_cast<std::size_t>(tileWidth) * static_cast<std::size_t>(tileHeight) * 3;
  }
  std::int32_t Cell(int row, int col) const {
    return cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(cols) +
                 static_cast<std::size_t>(col)];
  }
};

// Sets the tag field to kMapTag followed by zeros.
void SetMapTag(MapFile& map);
bool ParseMap(const Bytes& bytes, MapFile& out, std::string* error);
Bytes SerializeMap(const MapFile& map);

// ---- Sprite file --------------------------------------------------------------

inline constexpr int kSpriteToolMaxWidth = 640;
inline constexpr int kSpriteToolMaxHeight = 480;
inline constexpr int kSpriteToolMaxFrames = 65536;

struct SpriteFrameData {
  std::int32_t width = 0;
  std::int32_t height = 0;
  Bytes bgr;  // width x height x 3
};

struct SpriteFile {
  std::array<std::uint8_t, kTagFieldBytes> tag{};
  std::int32_t version = 1;
  std::array<std::uint8_t, 8> unused{};  // header bytes 24 to 31
  std::vector<SpriteFrameData> frames;   // the header's count is frames.size()
  Bytes trailing;
};

void SetSpriteTag(SpriteFile& sprites);
bool ParseSprites(const Bytes& bytes, SpriteFile& out, std::string* error);
Bytes SerializeSprites(const SpriteFile& sprites);

// ---- BMP pictures ---------------------------------------------------------------

struct BmpInfo {
  std::uint32_t fileSize = 0;  // as the file header says
  std::uint32_t pixelOffset = 0;
  std::uint32_t infoSize = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;  // negative: rows stored top first
  int bitsPerPixel = 0;
  std::uint32_t compression = 0;  // 0: none
  std::uint32_t coloursUsed = 0;
};

// Reads the headers of a Windows BMP file and checks that the pixel rows the
// headers promise lie inside the file (uncompressed depths 1, 4, 8, 16, 24
// and 32; compressed pictures only have their headers checked).
bool ParseBmpHeader(const Bytes& bytes, BmpInfo& out, std::string* error);
// A 24-bit uncompressed BMP, rows stored bottom first and padded to 4 bytes.
// `bgr` holds height rows of width pixels, top row first.
Bytes MakeBmp24(int width, int height, const Bytes& bgr);

// ---- WAV sounds ---------------------------------------------------------------

// The game reads the first 44 bytes as a fixed header: RIFF, WAVE, a 16-byte
// "fmt " chunk and the "data" chunk header right after it.
inline constexpr int kWavHeaderSize = 44;

struct WavInfo {
  bool riff = false;       // "RIFF" ... "WAVE"
  bool fmtChunk = false;   // "fmt " with size 16 at byte 12
  bool dataChunk = false;  // "data" at byte 36
  std::uint32_t riffSize = 0;
  int formatTag = 0;
  int channels = 0;
  std::uint32_t sampleRate = 0;
  std::uint32_t byteRate = 0;
  int blockAlign = 0;
  int bitsPerSample = 0;
  std::uint32_t dataSize = 0;
  std::uint64_t fileSize = 0;
};

// Fails only when the file is shorter than the fixed header; the fields say
// the rest. WavProblems lists what keeps the game from playing it rightly.
bool ParseWavHeader(const Bytes& bytes, WavInfo& out, std::string* error);
std::vector<std::string> WavProblems(const WavInfo& info);
// Mono 16-bit PCM in the fixed 44-byte layout.
Bytes MakeWav16Mono(int sampleRate, const std::vector<std::int16_t>& samples);

// ---- MIDI tunes ---------------------------------------------------------------

struct MidiInfo {
  int format = 0;
  int trackCount = 0;  // as the header says
  int division = 0;    // raw division field
  bool ppqn = false;   // division counts pulses per quarter note
  int tempoEvents = 0;
  int noteOns = 0;  // note-on events with a velocity above 0
  int programChanges = 0;
  int hangingNotes = 0;        // notes started and never stopped in their track
  std::vector<int> programs;   // distinct General MIDI programs, in first-use order
  std::vector<int> channels;   // channels that play notes
  std::uint32_t lastTick = 0;  // the latest event of any track
  double seconds = 0;          // playing time by the tempo map
};

bool ParseMidi(const Bytes& bytes, MidiInfo& out, std::string* error);

// ---- Little-endian writers (platform/little_endian.h reads) ----------------------

void PutLe16(Bytes& out, std::uint16_t v);
void PutLe32(Bytes& out, std::uint32_t v);

// The zero-terminated text of a tag field, with unprintable bytes shown as
// \xNN, for messages.
std::string TagText(const std::uint8_t* field, std::size_t size);

}  // namespace kit
