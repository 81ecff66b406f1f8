#include "kit/check.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <map>

#include "formats/bmp_file.h"
#include "formats/wave_file.h"
#include "kit/formats.h"
#include "kit/game_needs.h"
#include "platform/sound/audio.h"

namespace kit {
namespace {

namespace fs = std::filesystem;

// Too many bad cells would bury the other problems; after this many the
// rest are summed up in one line.
constexpr int kMaxCellLines = 10;

// Loads a file that must be there. On failure adds the problem and returns
// false.
bool Load(const std::string& dir, const std::string& name, Bytes& bytes,
          std::vector<std::string>& problems) {
  const fs::path path = fs::path(dir) / name;
  std::error_code ec;
  if (!fs::exists(path, ec)) {
    problems.push_back(name + ": missing");
    return false;
  }
  if (!fs::is_regular_file(path, ec)) {
    problems.push_back(name + ": not a regular file");
    return false;
  }
  std::string error;
  if (!ReadFileBytes(path.string(), bytes, &error)) {
    problems.push_back(name + ": " + error);
    return false;
  }
  return true;
}

// Each reader below holds one file against the game's own reader of its
// kind. It returns false when the game does not load the file, with one
// problem saying why; otherwise it adds the kit's own rules on top, each
// saying what the game does with the file and why the kit asks more.

// A map or a sprite file, by its reader (ReadMap or ReadSprites).
template <typename File>
bool CheckTableFile(bool (*read)(const Bytes&, File&, std::string*), const std::string& name,
                    const Bytes& bytes, File& file, std::vector<std::string>& problems) {
  std::string error;
  if (!read(bytes, file, &error)) {
    problems.push_back(name + ": " + error);
    return false;
  }
  if (file.missingBytes > 0) problems.push_back(name + ": " + ShortFileText(file.missingBytes));
  return true;
}

bool CheckSoundFile(const std::string& name, const Bytes& bytes,
                    std::vector<std::string>& problems) {
  WaveInfo info;
  const char* reason = nullptr;
  if (!ParseWave(bytes.data(), bytes.size(), info, &reason)) {
    problems.push_back(name + ": the game does not play it: " + reason);
    return false;
  }
  const platform::PcmFormat& f = info.format;
  if (!platform::SoundFitsBuffer(f, info.dataSize)) {
    problems.push_back(name + ": the game does not play it: longer than two minutes");
    return false;
  }
  if (info.dataChunkSize > bytes.size() - info.dataOffset) {
    problems.push_back(name + ": its data chunk claims " + std::to_string(info.dataChunkSize) +
                       " bytes but the file holds " +
                       std::to_string(bytes.size() - info.dataOffset) +
                       ": the game plays what is there, but other programs may not");
  } else if (info.dataChunkSize % static_cast<std::uint32_t>(f.blockAlign) != 0) {
    problems.push_back(name + Printf(": its %u bytes of data are not a whole number of %d-byte "
                                     "samples: the game leaves out the rest, but other programs "
                                     "may not",
                                     info.dataChunkSize, f.blockAlign));
  }
  return true;
}

bool CheckMusicFile(const std::string& name, const Bytes& bytes,
                    std::vector<std::string>& problems) {
  platform::MidiFile midi;
  std::string error;
  if (!platform::ParseMidiFile(bytes.data(), bytes.size(), midi, &error)) {
    problems.push_back(name + ": the game does not play it: " + error);
    return false;
  }
  if (midi.brokenTrack != 0) {
    problems.push_back(name + ": track " + std::to_string(midi.brokenTrack) +
                       " breaks off at byte " + std::to_string(midi.brokenAt) +
                       ": the game plays what comes before, but other programs may not");
  }
  // A tune broken off also misses its later tracks and leaves notes
  // hanging; the break says it.
  if (midi.brokenTrack == 0 && midi.trackCount < midi.declaredTracks) {
    problems.push_back(name + Printf(": the header counts %d tracks but the file holds %d: the "
                                     "game plays those there, but other programs may not",
                                     midi.declaredTracks, midi.trackCount));
  }
  if (midi.division != platform::MidiTimeDivision::kPpqn) {
    problems.push_back(name +
                       ": timed in SMPTE frames: the game plays it, but other programs "
                       "may not (pulses per quarter note are the common timing)");
  }
  const MidiFigures figures = CountMidi(midi);
  if (figures.noteOns == 0) problems.push_back(name + ": plays no notes");
  if (figures.hangingNotes > 0 && midi.brokenTrack == 0) {
    problems.push_back(name +
                       Printf(": %d notes are started and never stopped", figures.hangingNotes));
  }
  return true;
}

void CheckMap(const std::string& dir, std::vector<std::string>& problems) {
  Bytes bytes;
  MapFile map;
  if (!Load(dir, kMapFileName, bytes, problems) ||
      !CheckTableFile(ReadMap, kMapFileName, bytes, map, problems)) {
    return;
  }
  const std::string name = kMapFileName;
  if (map.tileWidth != kTileSide || map.tileHeight != kTileSide) {
    problems.push_back(name + Printf(": tiles are %d x %d pixels; the game draws them as %d x %d",
                                     map.tileWidth, map.tileHeight, kTileSide, kTileSide));
  }
  if (map.cols != kMapCols || map.rows != kMapRows) {
    problems.push_back(name + Printf(": the map is %d x %d cells; the game needs %d x %d "
                                     "(18 field rows and 3 panel rows)",
                                     map.cols, map.rows, kMapCols, kMapRows));
  }
  if (map.tileCount < kMinTiles) {
    problems.push_back(name + Printf(": only %d tiles; the game draws tiles up to %d "
                                     "(needs at least %d)",
                                     map.tileCount, kMinTiles - 1, kMinTiles));
  }
  int badCells = 0;
  for (int r = 0; r < map.rows; ++r) {
    for (int c = 0; c < map.cols; ++c) {
      if (!CellIsDrawn(r, c)) continue;
      const std::int32_t v = map.Cell(r, c);
      const bool bad = v == INT_MIN || (v < 0 ? -v : v) >= map.tileCount;
      if (!bad) continue;
      if (++badCells <= kMaxCellLines) {
        problems.push_back(name + Printf(": cell (row %d, column %d) names tile %d, but the "
                                         "tiles are numbered 0 to %d",
                                         r, c, v, map.tileCount - 1));
      }
    }
  }
  if (badCells > kMaxCellLines) {
    problems.push_back(
        name + Printf(": %d more cells name tiles that do not exist", badCells - kMaxCellLines));
  }
}

void CheckSprites(const std::string& dir, std::vector<std::string>& problems) {
  Bytes bytes;
  SpriteFile sprites;
  if (!Load(dir, kSpriteFileName, bytes, problems) ||
      !CheckTableFile(ReadSprites, kSpriteFileName, bytes, sprites, problems)) {
    return;
  }
  const std::string name = kSpriteFileName;
  const int count = static_cast<int>(sprites.frames.size());
  if (count < kMinFrames) {
    problems.push_back(name + Printf(": only %d frames; the game draws frames up to %d "
                                     "(needs at least %d)",
                                     count, kMinFrames - 1, kMinFrames));
  }
  std::map<int, const FramePlacement*> empty;
  for (const FramePlacement& place : FramePlacements()) {
    if (place.frame >= count) continue;
    const SpriteFrameData& f = sprites.frames[static_cast<std::size_t>(place.frame)];
    if (f.width == 0 || f.height == 0) empty.emplace(place.frame, &place);
  }
  for (const auto& [frame, place] : empty) {
    const SpriteFrameData& f = sprites.frames[static_cast<std::size_t>(frame)];
    problems.push_back(name + Printf(": frame %d (%s) is empty (%d x %d); the game cannot draw it",
                                     frame, place->what.c_str(), f.width, f.height));
  }
  for (const FrameProblem& p : FramesThatDoNotFit(sprites))
    problems.push_back(name + ": " + p.text);
  for (int d = 0; d < 10; ++d) {
    const int frame = 9 + d;
    if (frame >= count) break;
    const int width = sprites.frames[static_cast<std::size_t>(frame)].width;
    if (width > kMaxDigitWidth) {
      problems.push_back(name + Printf(": frame %d (digit %d) is %d pixels wide; the ammunition "
                                       "digits stand %d pixels apart and would overlap",
                                       frame, d, width, kMaxDigitWidth));
    }
  }
}

void CheckPictures(const std::string& dir, std::vector<std::string>& problems) {
  for (const PictureFile& need : kPictureFiles) {
    Bytes bytes;
    platform::Image image;
    if (!Load(dir, need.name, bytes, problems) ||
        !LoadPicture((fs::path(dir) / need.name).string(), need.name, image, problems)) {
      continue;
    }
    if (image.width != need.width || image.height != need.height) {
      problems.push_back(std::string(need.name) +
                         Printf(": %d x %d pixels; the game shows it at %d x %d", image.width,
                                image.height, need.width, need.height));
    }
  }
}

void CheckSounds(const std::string& dir, std::vector<std::string>& problems) {
  for (const std::string name : kSoundFiles) {
    Bytes bytes;
    if (Load(dir, name, bytes, problems)) CheckSoundFile(name, bytes, problems);
  }
}

void CheckMusic(const std::string& dir, std::vector<std::string>& problems) {
  Bytes bytes;
  if (Load(dir, kMusicFileName, bytes, problems)) CheckMusicFile(kMusicFileName, bytes, problems);
}

}  // namespace

bool LoadPicture(const std::string& path, const std::string& name, platform::Image& image,
                 std::vector<std::string>& problems) {
  std::string why;
  if (platform::LoadBmpFile(path.c_str(), image, &why)) return true;
  problems.push_back(name + ": " + why);
  return false;
}

std::vector<FrameProblem> FramesThatDoNotFit(const SpriteFile& sprites) {
  const int count = static_cast<int>(sprites.frames.size());
  struct Worst {
    const FramePlacement* place = nullptr;
    int overflow = 0;
  };
  std::map<int, Worst> worst;
  for (const FramePlacement& place : FramePlacements()) {
    if (place.frame >= count) continue;
    const SpriteFrameData& f = sprites.frames[static_cast<std::size_t>(place.frame)];
    if (f.width == 0 || f.height == 0) continue;
    const int overX = place.x + f.width - kScreenWidth;
    const int overY = place.scrolls ? f.height - kScreenHeight : place.y + f.height - kScreenHeight;
    const int over = std::max(overX, overY);
    if (over > 0 && over > worst[place.frame].overflow) worst[place.frame] = {&place, over};
  }
  std::vector<FrameProblem> out;
  for (const auto& [frame, w] : worst) {
    if (w.place == nullptr) continue;
    const SpriteFrameData& f = sprites.frames[static_cast<std::size_t>(frame)];
    const FramePlacement& p = *w.place;
    std::string where;
    if (p.x + f.width > kScreenWidth) {
      where = Printf("it would reach x %d, past the screen's %d", p.x + f.width, kScreenWidth);
    } else if (p.scrolls) {
      where = Printf("it is taller than the screen's %d rows", kScreenHeight);
    } else {
      where = Printf("it would reach y %d, past the screen's %d", p.y + f.height, kScreenHeight);
    }
    const std::string at = p.scrolls ? Printf("at x %d", p.x) : Printf("at (%d, %d)", p.x, p.y);
    out.push_back(
        {frame, Printf("frame %d (%s) is %d x %d and does not fit %s: %s, so the game "
                       "never draws it there",
                       frame, p.what.c_str(), f.width, f.height, at.c_str(), where.c_str())});
  }
  return out;
}

bool CheckFile(FileKind kind, const std::string& path, std::vector<std::string>& problems) {
  const std::string name = fs::path(path).filename().string();
  Bytes bytes;
  std::string error;
  if (!ReadFileBytes(path, bytes, &error)) {
    problems.push_back(error);
    return false;
  }
  switch (kind) {
    case FileKind::kMap: {
      MapFile map;
      return CheckTableFile(ReadMap, name, bytes, map, problems);
    }
    case FileKind::kSprites: {
      SpriteFile sprites;
      return CheckTableFile(ReadSprites, name, bytes, sprites, problems);
    }
    case FileKind::kPicture: {
      platform::Image image;
      return LoadPicture(path, name, image, problems);
    }
    case FileKind::kSound:
      return CheckSoundFile(name, bytes, problems);
    case FileKind::kMusic:
      return CheckMusicFile(name, bytes, problems);
  }
  return false;
}

std::vector<std::string> CheckDataFolder(const std::string& dir) {
  std::vector<std::string> problems;
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) {
    problems.push_back(dir + ": not a folder");
    return problems;
  }
  CheckMap(dir, problems);
  CheckSprites(dir, problems);
  CheckPictures(dir, problems);
  CheckSounds(dir, problems);
  CheckMusic(dir, problems);
  return problems;
}

}  // namespace kit
