#include "support/test_data.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "app/program.h"
#include "gfx/display.h"
#include "replay/replay_host.h"
#include "state/game_state.h"

namespace testdata {
namespace {

void Put32(std::vector<std::uint8_t>& out, std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
}
void Put16(std::vector<std::uint8_t>& out, int v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void PutTag(std::vector<std::uint8_t>& out, const std::string& tag) {
  std::uint8_t field[16] = {};
  std::memcpy(field, tag.data(), std::min<std::size_t>(tag.size(), 16));
  out.insert(out.end(), field, field + 16);
}
void Truncate(std::vector<std::uint8_t>& bytes, long long to) {
  if (to >= 0 && static_cast<std::size_t>(to) < bytes.size())
    bytes.resize(static_cast<std::size_t>(to));
}

const std::map<std::string, Bgr>& Pictures() {
  static const std::map<std::string, Bgr> kPictures = {
      {"Title.bmp", {0x10, 0x20, 0x30}},    {"warning.bmp", {0x11, 0x21, 0x31}},
      {"eventwin.bmp", {0x12, 0x22, 0x32}}, {"event1.bmp", {0x13, 0x23, 0x33}},
      {"event2.bmp", {0x14, 0x24, 0x34}},   {"died.bmp", {0x15, 0x25, 0x35}},
      {"Ending.bmp", {0x16, 0x26, 0x36}},
  };
  return kPictures;
}

const std::map<std::string, std::pair<int, int>>& PictureSizes() {
  static const std::map<std::string, std::pair<int, int>> kSizes = {
      {"Title.bmp", {640, 480}},  {"warning.bmp", {640, 480}}, {"eventwin.bmp", {317, 241}},
      {"event1.bmp", {320, 327}}, {"event2.bmp", {320, 327}},  {"died.bmp", {640, 480}},
      {"Ending.bmp", {640, 480}},
  };
  return kSizes;
}

}  // namespace

Bgr TileColour(int tile) {
  return {static_cast<std::uint8_t>(tile & 0xFF), static_cast<std::uint8_t>((tile >> 8) & 0xFF),
          0x5A};
}

Bgr FrameColour(int frame) { return {0xA0, static_cast<std::uint8_t>(frame & 0xFF), 0xC0}; }

std::vector<std::uint8_t> MapBytes(const MapSpec& spec) {
  std::vector<std::uint8_t> out;
  PutTag(out, spec.tag);
  Put32(out, spec.tileCount);
  Put32(out, spec.tileWidth);
  Put32(out, spec.tileHeight);
  Put32(out, spec.cols);
  Put32(out, spec.rows);
  out.resize(out.size() + 16, 0);
  for (int r = 0; r < spec.rows; ++r) {
    for (int c = 0; c < spec.cols; ++c) Put32(out, spec.cell ? spec.cell(r, c) : r * spec.cols + c);
  }
  for (int i = 0; i < spec.tileCount; ++i) {
    const Bgr colour = TileColour(i);
    for (int p = 0; p < spec.tileWidth * spec.tileHeight; ++p) {
      out.push_back(colour.b);
      out.push_back(colour.g);
      out.push_back(colour.r);
    }
  }
  Truncate(out, spec.truncateTo);
  return out;
}

std::vector<Frame> StandardFrames(int count) {
  // Sizes chosen so that every frame fits where the game draws it.
  std::vector<Frame> frames;
  for (int i = 0; i < count; ++i) {
    int w = 20;
    int h = 20;
    if (i == 0) w = h = 40;
    frames.push_back({w, h, {}});
  }
  return frames;
}

std::vector<std::uint8_t> SpriteBytes(const SpriteSpec& spec) {
  std::vector<std::uint8_t> out;
  PutTag(out, spec.tag);
  Put32(out, spec.version);
  Put32(out, spec.countOverride >= 0 ? spec.countOverride : static_cast<int>(spec.frames.size()));
  out.resize(out.size() + 8, 0);
  for (std::size_t i = 0; i < spec.frames.size(); ++i) {
    const Frame& f = spec.frames[i];
    Put32(out, f.width);
    Put32(out, f.height);
    if (!f.bgr.empty()) {
      out.insert(out.end(), f.bgr.begin(), f.bgr.end());
      continue;
    }
    const Bgr colour = FrameColour(static_cast<int>(i));
    for (int p = 0; p < f.width * f.height; ++p) {
      const bool key = p == 0;  // the first pixel is black: transparent
      out.push_back(key ? 0 : colour.b);
      out.push_back(key ? 0 : colour.g);
      out.push_back(key ? 0 : colour.r);
    }
  }
  Truncate(out, spec.truncateTo);
  return out;
}

std::vector<std::uint8_t> Bmp24Bytes(int width, int height,
                                     const std::function<Bgr(int, int)>& colour) {
  const int rowBytes = (width * 3 + 3) & ~3;
  const int dataBytes = rowBytes * height;
  std::vector<std::uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + dataBytes);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, width);
  Put32(out, height);
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);
  Put32(out, dataBytes);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const Bgr c = colour(x, y);
      out.push_back(c.b);
      out.push_back(c.g);
      out.push_back(c.r);
    }
    for (int pad = width * 3; pad < rowBytes; ++pad) out.push_back(0);
  }
  return out;
}

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

namespace {

// Every scratch folder goes when the test program ends: a suite run made
// thousands, a 3 MB map in many, and filled the disk within a day.
// VEDO_KEEP_TEMP keeps them to look at after a failure.
struct ScratchFolders {
  std::vector<std::filesystem::path> made;
  ~ScratchFolders() {
    if (std::getenv("VEDO_KEEP_TEMP") != nullptr) return;
    std::error_code ignored;
    for (const auto& dir : made) std::filesystem::remove_all(dir, ignored);
  }
};

}  // namespace

std::filesystem::path MakeTempDir(const std::string& stem) {
  static ScratchFolders scratch;
  // A random name, taken only if no folder has it yet: portable where
  // mkdtemp is not (the Windows build).
  static std::mt19937_64 random(
      std::random_device{}() ^
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
  for (;;) {
    char name[17];
    std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(random()));
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / (stem + "-" + name);
    std::error_code ec;
    if (std::filesystem::create_directory(dir, ec)) {
      scratch.made.push_back(dir);
      return dir;
    }
    if (ec) std::abort();
  }
}

Bgr PictureColour(const std::string& fileName) { return Pictures().at(fileName); }

void WriteStandardData(const std::filesystem::path& dir) {
  WriteFile(dir / "city.map", MapBytes(MapSpec{}));
  SpriteSpec sprites;
  sprites.frames = StandardFrames();
  WriteFile(dir / "WEAPON.SPR", SpriteBytes(sprites));
  for (const auto& [name, size] : PictureSizes()) {
    const Bgr colour = Pictures().at(name);
    WriteFile(dir / name,
              Bmp24Bytes(size.first, size.second, [colour](int, int) { return colour; }));
  }
}

bool TestHost::NextEvent(platform::Event& event, bool) {
  if (queue.empty()) return false;
  event = queue.front();
  queue.pop_front();
  return true;
}

HeadlessGame::HeadlessGame(const std::filesystem::path& dataDir) {
  previous_ = std::filesystem::current_path();
  if (dataDir.empty()) {
    dir = MakeTempDir("vedo-test");
    WriteStandardData(dir);
  } else {
    dir = dataDir;
  }
  std::filesystem::current_path(dir);
  ResetGameState();
  platform::UseHeadlessBackend(&host);
  platform::StartWindowing();
  platform::CreateMainWindow("Vedo Zeza1");
  static int windowToken = 0;
  gWindow = &windowToken;
  ok_ = InitProgram() == 1;
}

HeadlessGame::~HeadlessGame() {
  ShutdownProgram();
  platform::StopWindowing();
  platform::UseHeadlessBackend(nullptr);
  ResetGameState();
  std::filesystem::current_path(previous_);
}

std::filesystem::path DataKitDir() { return std::filesystem::path(VEDO_BINARY_DIR) / "data"; }

void DrawMapCorner() {
  for (int row = 0; row < 12 && row < gMapRows; ++row) {
    for (int col = 0; col < 16 && col < gMapCols; ++col) {
      const int tile = gGroundLayer[row][col];
      DrawTile(col * gTileWidth, row * gTileHeight, tile < 0 ? -tile : tile);
    }
  }
}

int RunReplayFile(const std::string& relativePath, const std::string& language,
                  std::string* finalState) {
  std::ifstream in(std::filesystem::path(VEDO_SOURCE_DIR) / relativePath);
  std::ostringstream text;
  text << in.rdbuf();
  if (text.str().empty()) return -1;
  const auto dir = MakeTempDir("vedo-replay");
  WriteStandardData(dir);
  std::string script = text.str();
  const std::filesystem::path dump = dir / "final-state.json";
  if (finalState != nullptr) script += "\ndump " + dump.string() + "\n";
  if (!language.empty()) {
    const std::filesystem::path pack = std::filesystem::path("lang") / language;
    std::filesystem::create_directories(dir / pack);
    std::filesystem::copy(DataKitDir() / pack, dir / pack);
  }
  const auto previous = std::filesystem::current_path();
  ResetGameState();
  const int code = replay::RunReplay(script, dir.string(), language);
  std::filesystem::current_path(previous);
  if (finalState != nullptr) {
    std::ifstream state(dump);
    std::ostringstream all;
    all << state.rdbuf();
    *finalState = all.str();
  }
  std::filesystem::remove_all(dir);
  return code;
}

Bgr PixelAt(const platform::Surface& surface, int x, int y) {
  const std::uint8_t* p = surface.Row(y) + x * 3;
  return {p[0], p[1], p[2]};
}

std::map<std::string, int> StateSnapshot() {
  std::map<std::string, int> out;
  int count = 0;
  const StateInt* ints = StateInts(&count);
  for (int i = 0; i < count; ++i) out[ints[i].name] = *ints[i].value;
  return out;
}

}  // namespace testdata
