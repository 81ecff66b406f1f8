// The game's data formats for the tools: the game's own readers
// (src/formats: map_format.h, sprite_format.h, bmp_file.h, wave_file.h,
// midi_file.h) with what the kit adds on top,
// and the writers that the generator and the packers use.
//
// Pixels of tiles and frames stay exactly as the files hold them: three
// bytes each, B, G, R (the game's surface layout).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "formats/file_bytes.h"
#include "formats/little_endian.h"
#include "formats/map_format.h"
#include "formats/midi_file.h"
#include "formats/sprite_format.h"

namespace kit {

using Bytes = std::vector<std::uint8_t>;
using ::MapFile;
using ::SpriteFile;
using ::SpriteFrameData;

// Whole files, read (to at most a limit, 512 MiB unless said) and written,
// false with a reason that names the file.
using platform::ReadFileBytes;
bool WriteFileBytes(const std::string& path, const Bytes& bytes, std::string* error);

// ---- Map and sprite files ---------------------------------------------------

// The game's reading of a map or sprite file. False, with the reason, when
// the game refuses the file.
bool ReadMap(const Bytes& bytes, MapFile& out, std::string* error);
bool ReadSprites(const Bytes& bytes, SpriteFile& out, std::string* error);
// The same with the kit's rule for unpacking on top: the file holds all that
// its header promises, so that it packs back byte for byte.
bool ReadWholeMap(const Bytes& bytes, MapFile& out, std::string* error);
bool ReadWholeSprites(const Bytes& bytes, SpriteFile& out, std::string* error);
// The kit's words for a file that ends `missing` bytes short of what its
// header promises, which the game reads all the same.
std::string ShortFileText(std::uint64_t missing);

// Sets the tag field to the game's tag followed by zeros.
void SetMapTag(MapFile& map);
void SetSpriteTag(SpriteFile& sprites);
Bytes SerializeMap(const MapFile& map);
Bytes SerializeSprites(const SpriteFile& sprites);

// ---- Writers of pictures and sounds --------------------------------------------

// A 24-bit uncompressed BMP, rows stored bottom first and padded to 4 bytes.
// `bgr` holds height rows of width pixels, top row first.
Bytes MakeBmp24(int width, int height, const Bytes& bgr);
// Mono 16-bit PCM in the plain 44-byte layout.
Bytes MakeWav16Mono(int sampleRate, const std::vector<std::int16_t>& samples);

// ---- MIDI tunes -------------------------------------------------------------------

// What a tune plays, counted over the game's reading of it.
struct MidiFigures {
  int noteOns = 0;  // note-on events with a velocity above 0
  int programChanges = 0;
  int hangingNotes = 0;       // notes started and never stopped
  std::vector<int> programs;  // distinct General MIDI programs, in first-use order
  std::vector<int> channels;  // channels that play notes
};
MidiFigures CountMidi(const platform::MidiFile& midi);

// ---- Little-endian writers (formats/little_endian.h) ---------------------------

using platform::PutLe16;
using platform::PutLe32;

// printf's text, up to 511 bytes.
std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Sets *error (when asked for) to the text; false.
bool Fail(std::string* error, const std::string& text);
// The bytes as lowercase hexadecimal digits, two a byte.
std::string Hex(const std::uint8_t* bytes, std::size_t n);

// The zero-terminated text of a tag field, with unprintable bytes shown as
// \xNN, for messages.
std::string TagText(const std::uint8_t* field, std::size_t size);

}  // namespace kit
