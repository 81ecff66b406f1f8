#include "gfx/sprite_file.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "formats/file_bytes.h"
#include "formats/little_endian.h"
#include "platform/platform.h"
#include "state/data_contract.h"

static_assert(kSpriteMaxWidth == kScreenWidth && kSpriteMaxHeight == kScreenHeight);

namespace {

using platform::ReadLeInt32;

void Box(const char* text, const char* caption) { platform::ShowMessageBox(text, caption); }

// The whole file; false when it cannot be opened.
bool ReadWhole(const char* fileName, std::vector<std::uint8_t>& bytes) {
  return platform::ReadFileBytes(fileName, bytes, std::numeric_limits<std::size_t>::max()) !=
         platform::FileRead::kMissing;
}

// What a reader's box says when its file is missing (no box when null), its
// tag is wrong or its version below 1.
struct Refusals {
  const char* missing;
  const char* badTag;
  const char* badVersion;
};
constexpr Refusals kAnimationFile = {"Animation File Not Found", "Animation File Bad Format",
                                     "Animation File Bad Version"};

// A sprite or animation file and its header; false, after the reader's box
// with `caption`, when the file is missing or its header refused.
bool ReadFileAndHeader(const char* fileName, const Refusals& say, const char* caption,
                       std::vector<std::uint8_t>& bytes, SpriteHeader& h) {
  if (!ReadWhole(fileName, bytes)) {
    if (say.missing != nullptr) Box(say.missing, caption);
    return false;
  }
  h = ReadSpriteHeader(bytes.data(), bytes.size());
  if (!h.tagOk || h.version < 1) {
    Box(h.tagOk ? say.badVersion : say.badTag, caption);
    return false;
  }
  return true;
}

}  // namespace

int GetNumSprite(const char* fileName) {
  std::vector<std::uint8_t> bytes;
  SpriteHeader h;
  constexpr Refusals kSay = {nullptr, "Fail Loading Sprite", "Sprite File Bad Version"};
  if (!ReadFileAndHeader(fileName, kSay, "InitProgram()", bytes, h)) return 0;
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
  SpriteHeader h;
  constexpr Refusals kSay = {"Sprite File Not Found", "Sprite File Bad Format",
                             "Sprite File Bad Version"};
  if (!ReadFileAndHeader(fileName, kSay, "InitProgram()", bytes, h)) return 0;
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
    for (int y = 0; y < f.height && row > 0; ++y) {
      std::memcpy(gSpriteSurfaces[i]->Row(y), f.bgr.data() + row * y, row);
    }
  }
  return 1;
}

int GetNumAction(const char* fileName) {
  std::vector<std::uint8_t> bytes;
  SpriteHeader h;
  return ReadFileAndHeader(fileName, kAnimationFile, "GetNumAction()", bytes, h) ? h.count : 0;
}

int LoadAnimation(const char* fileName, Animation* animation) {
  std::vector<std::uint8_t> bytes;
  SpriteHeader h;
  if (!ReadFileAndHeader(fileName, kAnimationFile, "LoadAnimation()", bytes, h)) return 0;
  // Every count is checked against the bytes its records need, so that no
  // header can make the reader allocate more than the file could describe.
  long long left = std::max(static_cast<long long>(bytes.size()) - kSpriteHeaderBytes, 0LL);
  auto fits = [&left](long long count, long long recordBytes) {
    if (count < 0 || count > left / recordBytes) return false;
    left -= count * recordBytes;
    return true;
  };
  // Values and names past the end of the file read as 0 and empty.
  std::size_t at = kSpriteHeaderBytes;
  auto value = [&bytes, &at] {
    const std::int32_t v = at + 4 <= bytes.size() ? ReadLeInt32(bytes.data() + at) : 0;
    at += 4;
    return v;
  };
  std::vector<AnimationAction> actions;
  if (!fits(h.count, 20)) {
    Box("Animation File Bad Format", "LoadAnimation()");
    return 0;
  }
  actions.resize(static_cast<std::size_t>(h.count));
  for (AnimationAction& action : actions) {
    char name[17] = {};
    if (at + 16 <= bytes.size()) std::memcpy(name, bytes.data() + at, 16);
    at += 16;
    action.name = name;
    const std::int32_t frames = value();
    if (!fits(frames, 68)) {
      Box("Animation File Bad Format", "LoadAnimation()");
      return 0;
    }
    action.frames.resize(static_cast<std::size_t>(frames));
    for (AnimationFrame& frame : action.frames) {
      for (std::int32_t& v : frame.values) v = value();
      const std::int32_t entries = value();
      if (!fits(entries, 12)) {
        Box("Animation File Bad Format", "LoadAnimation()");
        return 0;
      }
      frame.entries.resize(static_cast<std::size_t>(entries));
      for (AnimationEntry& e : frame.entries) {
        for (std::int32_t& v : e.values) v = value();
      }
    }
  }
  if (animation != nullptr) animation->actions = std::move(actions);
  return 1;
}
