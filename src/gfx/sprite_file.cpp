#include "gfx/sprite_file.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

#include "platform/file_bytes.h"
#include "platform/little_endian.h"
#include "platform/platform.h"

namespace {

using platform::ReadLeInt32;

// The open file, closed on every way out of a reader.
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File OpenForReading(const char* fileName) { return File(std::fopen(fileName, "rb")); }

SpriteHeader ReadHeader(std::FILE* f) {
  std::uint8_t raw[kSpriteHeaderBytes] = {};
  const std::size_t got = std::fread(raw, 1, sizeof raw, f);
  return ReadSpriteHeader(raw, got);
}

// The whole file; false when it cannot be opened.
bool ReadWhole(const char* fileName, std::vector<std::uint8_t>& bytes) {
  return platform::ReadFileBytes(fileName, bytes, std::numeric_limits<std::size_t>::max()) !=
         platform::FileRead::kMissing;
}

// Bytes from the current position to the end of the file.
long long BytesLeft(std::FILE* f) {
  const long here = std::ftell(f);
  if (here < 0 || std::fseek(f, 0, SEEK_END) != 0) return 0;
  const long end = std::ftell(f);
  std::fseek(f, here, SEEK_SET);
  return end > here ? end - here : 0;
}

void Box(const char* text, const char* caption) { platform::ShowMessageBox(text, caption); }

// Reads one 32-bit value; past the end of the file it reads as 0.
std::int32_t ReadValue(std::FILE* f) {
  std::uint8_t b[4] = {};
  if (std::fread(b, 1, 4, f) != 4) return 0;
  return ReadLeInt32(b);
}

}  // namespace

int GetNumSprite(const char* fileName) {
  std::vector<std::uint8_t> bytes;
  if (!ReadWhole(fileName, bytes)) return 0;
  const SpriteHeader h = ReadSpriteHeader(bytes.data(), bytes.size());
  if (!h.tagOk) {
    Box("Fail Loading Sprite", "InitProgram()");
    return 0;
  }
  if (h.version < 1) {
    Box("Sprite File Bad Version", "InitProgram()");
    return 0;
  }
  // A count the file cannot hold would only make the game allocate for
  // frames that are not there.
  if (!SpriteCountFits(h, bytes.size())) {
    Box("Fail Loading Sprite", "InitProgram()");
    return 0;
  }
  return h.count;
}

int LoadSprite(const char* fileName) {
  std::vector<std::uint8_t> bytes;
  if (!ReadWhole(fileName, bytes)) {
    Box("Sprite File Not Found", "InitProgram()");
    return 0;
  }
  const SpriteHeader h = ReadSpriteHeader(bytes.data(), bytes.size());
  if (!h.tagOk) {
    Box("Sprite File Bad Format", "InitProgram()");
    return 0;
  }
  if (h.version < 1) {
    Box("Sprite File Bad Version", "InitProgram()");
    return 0;
  }
  // The frame table was made for gSpriteCount frames; a file that changed
  // in between must not fill more.
  if (h.count < 0 || h.count > static_cast<int>(gSpriteFrames.size())) return 0;
  SpriteFile sprites;
  if (!ParseSprites(bytes.data(), bytes.size(), sprites)) {
    gSpriteSurfaces.clear();
    return 0;
  }
  bytes = {};
  gSpriteSurfaces.clear();
  gSpriteSurfaces.resize(sprites.frames.size());
  for (std::size_t i = 0; i < sprites.frames.size(); ++i) {
    const SpriteFrameData& f = sprites.frames[i];
    gSpriteFrames[i] = SpriteFrame{f.width, f.height};
    gSpriteSurfaces[i] = std::make_unique<platform::Surface>(f.width, f.height);
    const std::size_t row = static_cast<std::size_t>(f.width) * 3;
    for (int y = 0; y < f.height; ++y) {
      std::memcpy(gSpriteSurfaces[i]->Row(y), f.bgr.data() + row * y, row);
    }
  }
  return 1;
}

int GetNumAction(const char* fileName) {
  const File file = OpenForReading(fileName);
  std::FILE* f = file.get();
  if (f == nullptr) {
    Box("Animation File Not Found", "GetNumAction()");
    return 0;
  }
  const SpriteHeader h = ReadHeader(f);
  if (!h.tagOk) {
    Box("Animation File Bad Format", "GetNumAction()");
    return 0;
  }
  if (h.version < 1) {
    Box("Animation File Bad Version", "GetNumAction()");
    return 0;
  }
  return h.count;
}

int LoadAnimation(const char* fileName, Animation* animation) {
  const File file = OpenForReading(fileName);
  std::FILE* f = file.get();
  if (f == nullptr) {
    Box("Animation File Not Found", "LoadAnimation()");
    return 0;
  }
  const SpriteHeader h = ReadHeader(f);
  if (!h.tagOk) {
    Box("Animation File Bad Format", "LoadAnimation()");
    return 0;
  }
  if (h.version < 1) {
    Box("Animation File Bad Version", "LoadAnimation()");
    return 0;
  }
  // Every count is checked against the bytes its records need, so that no
  // header can make the reader allocate more than the file could describe.
  long long left = BytesLeft(f);
  auto fits = [&left](long long count, long long recordBytes) {
    if (count < 0 || count > left / recordBytes) return false;
    left -= count * recordBytes;
    return true;
  };
  std::vector<AnimationAction> actions;
  if (!fits(h.count, 20)) {
    Box("Animation File Bad Format", "LoadAnimation()");
    return 0;
  }
  actions.resize(static_cast<std::size_t>(h.count));
  for (AnimationAction& action : actions) {
    char name[17] = {};
    if (std::fread(name, 1, 16, f) != 16) name[0] = 0;
    action.name = name;
    const std::int32_t frames = ReadValue(f);
    if (!fits(frames, 68)) {
      Box("Animation File Bad Format", "LoadAnimation()");
      return 0;
    }
    action.frames.resize(static_cast<std::size_t>(frames));
    for (AnimationFrame& frame : action.frames) {
      for (std::int32_t& v : frame.values) v = ReadValue(f);
      const std::int32_t entries = ReadValue(f);
      if (!fits(entries, 12)) {
        Box("Animation File Bad Format", "LoadAnimation()");
        return 0;
      }
      frame.entries.resize(static_cast<std::size_t>(entries));
      for (AnimationEntry& e : frame.entries) {
        for (std::int32_t& v : e.values) v = ReadValue(f);
      }
    }
  }
  if (animation != nullptr) animation->actions = std::move(actions);
  return 1;
}
