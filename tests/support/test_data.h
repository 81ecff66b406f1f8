// Small, fully known data files for tests, and a headless game set up on
// them.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace testdata {

// The colour every pixel of test tile i has: B = i & 0xFF, G = i >> 8, R = 0x5A.
struct Bgr {
  std::uint8_t b, g, r;
  bool operator==(const Bgr&) const = default;
};
Bgr TileColour(int tile);
// The colour of test sprite frame i: B = 0xA0, G = i, R = 0xC0.
Bgr FrameColour(int frame);

struct MapSpec {
  std::string tag = "RevUdav v1";
  int tileCount = 568;
  int tileWidth = 40;
  int tileHeight = 40;
  int cols = 25;
  int rows = 21;
  // Cell value at (row, col); by default the tile number row * cols + col.
  std::function<int(int, int)> cell;
  // Cut the file to this many bytes (negative: keep all).
  long long truncateTo = -1;
};
std::vector<std::uint8_t> MapBytes(const MapSpec& spec);

struct Frame {
  int width;
  int height;
  std::vector<std::uint8_t> bgr;  // width * height * 3, or empty for a solid colour
};
struct SpriteSpec {
  std::string tag = "DidArid v1.0";
  int version = 1;
  int countOverride = -1;  // write this count instead of frames.size()
  std::vector<Frame> frames;
  long long truncateTo = -1;
};
// Frame i is a solid FrameColour(i) rectangle with a black first pixel, so
// that the colour key shows.
std::vector<Frame> StandardFrames(int count = 52);
std::vector<std::uint8_t> SpriteBytes(const SpriteSpec& spec);

// A 24-bit bottom-up BMP whose pixel (x, y) is colour(x, y).
std::vector<std::uint8_t> Bmp24Bytes(int width, int height,
                                     const std::function<Bgr(int, int)>& colour);

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// A fresh, empty folder under the system's temporary folder, removed when
// the test program ends (unless VEDO_KEEP_TEMP is set).
std::filesystem::path MakeTempDir(const std::string& stem);

// Writes a complete data set: city.map, WEAPON.SPR and the seven pictures,
// each picture a solid colour with a different shade per file.
void WriteStandardData(const std::filesystem::path& dir);
// The solid colour of each standard picture, by file name.
Bgr PictureColour(const std::string& fileName);

// A host for the headless backend: events queued by the test, a fixed clock.
class TestHost final : public platform::HeadlessHost {
 public:
  bool NextEvent(platform::Event& event, bool waiting) override;
  std::int64_t Now() override { return now; }
  void OnPass() override { ++passes; }

  void Push(const platform::Event& e) { queue.push_back(e); }
  std::deque<platform::Event> queue;
  std::int64_t now = 1000000000;
  int passes = 0;
};

// A game set up headless on the standard data (or on a given folder): the
// display, the map, the sprites and the pictures are loaded, the state is at
// its start values. The working folder is the data folder while it lives.
class HeadlessGame {
 public:
  explicit HeadlessGame(const std::filesystem::path& dataDir = {});
  ~HeadlessGame();
  HeadlessGame(const HeadlessGame&) = delete;
  HeadlessGame& operator=(const HeadlessGame&) = delete;

  bool ok() const { return ok_; }
  TestHost host;
  std::filesystem::path dir;

 private:
  bool ok_ = false;
  std::filesystem::path previous_;
};

// The data folder the build generated with the data kit.
std::filesystem::path DataKitDir();
// Draws the map's top-left 16 x 12 cells into the back buffer, as the field
// leaves them with the view at (0, 0).
void DrawMapCorner();

// Runs the replay script at `relativePath` (from the source tree) in a fresh
// folder of standard data and returns the replay tool's exit code. The game
// state is left as the script left it, for the test to look at. With a
// `language`, the game is asked for it (as --lang) and the data kit's pack of
// that language lies beside the standard data; with `finalState`, the state
// the script ends in is written there as the replay's dump writes it.
int RunReplayFile(const std::string& relativePath, const std::string& language = "",
                  std::string* finalState = nullptr);

// Every integer of the game state's list, by name.
std::map<std::string, int> StateSnapshot();

// The colour at (x, y) of a surface.
Bgr PixelAt(const platform::Surface& surface, int x, int y);

}  // namespace testdata
