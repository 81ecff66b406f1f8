#include "gfx/map_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/platform.h"
#include "state/game_state.h"
#include "support/test_data.h"

namespace {

using testdata::Bgr;
using testdata::MapBytes;
using testdata::MapSpec;
using testdata::PixelAt;
using testdata::TileColour;

// LoadMap on its own, headless, in a folder of its own; what it says on
// stderr is kept.
class MapReader : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    platform::UseHeadlessBackend(&host_);
    dir_ = testdata::MakeTempDir("vedo-map");
  }
  void TearDown() override {
    ReleaseGroundLayer();
    ReleaseTileData();
    platform::UseHeadlessBackend(nullptr);
    std::filesystem::remove_all(dir_);
  }
  int Load(const std::vector<std::uint8_t>& bytes) {
    testdata::WriteFile(dir_ / "city.map", bytes);
    return LoadPath((dir_ / "city.map").string());
  }
  int LoadPath(const std::string& path) {
    ::testing::internal::CaptureStderr();
    const int r = LoadMap(path.c_str());
    said_ = ::testing::internal::GetCapturedStderr();
    return r;
  }
  // `field` holds the tag field's 16 bytes.
  static std::vector<std::uint8_t> WithTag(const char* field, MapSpec spec = {}) {
    std::vector<std::uint8_t> bytes = MapBytes(spec);
    std::memcpy(bytes.data(), field, 16);
    return bytes;
  }
  testdata::TestHost host_;
  std::filesystem::path dir_;
  std::string said_;
};

constexpr char kRefusedTag[] = "No - Mapfileheard.logo: k4\nLoadMap: Invalidate Format\n";

TEST_F(MapReader, AWellFormedMapLoadsEverything) {
  MapSpec spec;
  spec.tileCount = 30;
  ASSERT_EQ(Load(MapBytes(spec)), 1);
  EXPECT_EQ(said_, "InitTileData OK.\n");
  EXPECT_EQ(gTileCount, 30);
  EXPECT_EQ(gTileWidth, 40);
  EXPECT_EQ(gTileHeight, 40);
  EXPECT_EQ(gMapCols, 25);
  EXPECT_EQ(gMapRows, 21);
  EXPECT_EQ(gGroundLayer[0][0], 0);
  EXPECT_EQ(gGroundLayer[0][24], 24);
  EXPECT_EQ(gGroundLayer[1][0], 25) << "rows follow each other, row-major";
  EXPECT_EQ(gGroundLayer[20][24], 20 * 25 + 24);
  ASSERT_EQ(gTileSurfaces.size(), 30u);
  EXPECT_EQ(PixelAt(*gTileSurfaces[0], 0, 0), TileColour(0));
  EXPECT_EQ(PixelAt(*gTileSurfaces[29], 39, 39), TileColour(29));
}

TEST_F(MapReader, TheTagIsAZeroTerminatedCaseSensitiveText) {
  // Any bytes may follow the tag's zero.
  EXPECT_EQ(Load(WithTag("RevUdav v1\0ABCDE")), 1);
  EXPECT_EQ(said_, "InitTileData OK.\n");
  ReleaseGroundLayer();
  ReleaseTileData();
  for (const char* tag :
       {"RevUdav v1x\0\0\0\0\0", "revUdav v1\0\0\0\0\0\0", "REVUDAV V1\0\0\0\0\0\0",
        "RevUdav v2\0\0\0\0\0\0", "RevUdav v\0\0\0\0\0\0\0", "RevUdav v1 \0\0\0\0\0",
        "RevUdav v1ABCDEF", "\0evUdav v1\0\0\0\0\0\0"}) {
    EXPECT_EQ(Load(WithTag(tag)), 0) << tag;
    EXPECT_EQ(said_, kRefusedTag) << tag;
    EXPECT_EQ(gGroundLayer, nullptr);
  }
}

TEST_F(MapReader, AMissingFileGivesOnlyTheDebuggerLine) {
  EXPECT_EQ(LoadPath((dir_ / "nothing.map").string()), 0);
  EXPECT_EQ(said_, "LoadMap: File Not Found.\n");
  EXPECT_EQ(gGroundLayer, nullptr);
  EXPECT_TRUE(gTileSurfaces.empty());
}

TEST_F(MapReader, AFileEndingInTheCellsHasZeroCellsAndBlackTiles) {
  MapSpec spec;
  spec.tileCount = 4;
  spec.cell = [](int r, int c) { return 100 + r * 25 + c; };
  spec.truncateTo = 52 + 4 * 30 + 2;  // 30 cells and half of the 31st
  ASSERT_EQ(Load(MapBytes(spec)), 1);
  EXPECT_EQ(gGroundLayer[0][0], 100);
  EXPECT_EQ(gGroundLayer[1][4], 129);
  EXPECT_EQ(gGroundLayer[1][5], 0) << "a cell cut short reads as 0";
  EXPECT_EQ(gGroundLayer[20][24], 0);
  ASSERT_EQ(gTileSurfaces.size(), 4u);
  for (const auto& tile : gTileSurfaces) {
    ASSERT_NE(tile, nullptr);
    EXPECT_EQ(PixelAt(*tile, 0, 0), (Bgr{0, 0, 0}));
    EXPECT_EQ(PixelAt(*tile, 39, 39), (Bgr{0, 0, 0}));
  }
}

TEST_F(MapReader, AFileEndingInTheTilesLeavesTheRestBlack) {
  MapSpec spec;
  spec.tileCount = 5;
  const long long tileBytes = 40 * 40 * 3;
  // Tile 2 ends after 10 full rows and 5 pixels of the 11th.
  spec.truncateTo = 52 + 4 * 25 * 21 + 2 * tileBytes + (10 * 40 + 5) * 3;
  ASSERT_EQ(Load(MapBytes(spec)), 1);
  EXPECT_EQ(said_, "InitTileData OK.\n");
  ASSERT_EQ(gTileSurfaces.size(), 5u);
  EXPECT_EQ(PixelAt(*gTileSurfaces[1], 39, 39), TileColour(1));
  EXPECT_EQ(PixelAt(*gTileSurfaces[2], 39, 9), TileColour(2));
  EXPECT_EQ(PixelAt(*gTileSurfaces[2], 4, 10), TileColour(2));
  EXPECT_EQ(PixelAt(*gTileSurfaces[2], 5, 10), (Bgr{0, 0, 0}));
  EXPECT_EQ(PixelAt(*gTileSurfaces[2], 39, 39), (Bgr{0, 0, 0}));
  for (int t : {3, 4}) {
    ASSERT_NE(gTileSurfaces[t], nullptr);
    EXPECT_EQ(PixelAt(*gTileSurfaces[t], 0, 0), (Bgr{0, 0, 0}));
    EXPECT_EQ(PixelAt(*gTileSurfaces[t], 20, 20), (Bgr{0, 0, 0}));
  }
}

TEST_F(MapReader, ATileCountOfZeroLoads) {
  MapSpec spec;
  spec.tileCount = 0;
  EXPECT_EQ(Load(MapBytes(spec)), 1);
  EXPECT_EQ(said_, "InitTileData OK.\n");
  EXPECT_TRUE(gTileSurfaces.empty());
  EXPECT_EQ(gTileCount, 0);
  EXPECT_EQ(gGroundLayer[3][3], 3 * 25 + 3);
}

TEST_F(MapReader, NegativeCellsAreStoredAsRead) {
  MapSpec spec;
  spec.tileCount = 10;
  spec.cell = [](int r, int c) {
    return r == 2 && c == 3 ? -7 : (r == 0 && c == 0 ? INT32_MIN : 1);
  };
  ASSERT_EQ(Load(MapBytes(spec)), 1);
  EXPECT_EQ(gGroundLayer[2][3], -7);
  EXPECT_EQ(gGroundLayer[0][0], INT32_MIN);
  EXPECT_EQ(gGroundLayer[2][4], 1);
}

TEST_F(MapReader, HeadersThatCannotBeUsedSafelyAreRefused) {
  const struct {
    int count, width, height, cols, rows;
    const char* said;
  } kCases[] = {
      {-1, 40, 40, 25, 21, "Bad tile count -1"},
      {10, 0, 40, 25, 21, "Bad tile size 0 x 40"},
      {10, 40, 0, 25, 21, "Bad tile size 40 x 0"},
      {10, 257, 40, 25, 21, "Bad tile size 257 x 40"},
      {10, 40, 257, 25, 21, "Bad tile size 40 x 257"},
      {10, -40, 40, 25, 21, "Bad tile size -40 x 40"},
      {10, 40, 40, 15, 21, "Map too small: 15 x 21"},
      {10, 40, 40, 25, 11, "Map too small: 25 x 11"},
      {10, 40, 40, -25, 21, "Map too small: -25 x 21"},
      {10, 40, 40, 26, 21, "Map too large: 26 x 21"},
      {10, 40, 40, 25, 22, "Map too large: 25 x 22"},
      {10, 40, 40, 2000000000, 2000000000, "Map too large"},
  };
  for (const auto& c : kCases) {
    // The header and some bytes of zeros: the header is what counts.
    MapSpec spec;
    spec.rows = 0;
    spec.tileCount = 0;
    std::vector<std::uint8_t> bytes = MapBytes(spec);
    bytes.resize(4096, 0);
    const std::int32_t values[5] = {c.count, c.width, c.height, c.cols, c.rows};
    std::memcpy(bytes.data() + 16, values, sizeof values);
    EXPECT_EQ(Load(bytes), 0) << c.said;
    // A box and a debugger line, both naming the problem.
    EXPECT_EQ(said_.rfind(std::string("LoadMap(): ") + c.said, 0), 0u) << said_;
    EXPECT_NE(said_.find(std::string("\nLoadMap: ") + c.said), std::string::npos) << said_;
    EXPECT_EQ(gGroundLayer, nullptr) << c.said;
    EXPECT_TRUE(gTileSurfaces.empty()) << c.said;
  }
}

TEST_F(MapReader, TheLimitsThemselvesAreAccepted) {
  const struct {
    int width, height, cols, rows;
  } kCases[] = {{1, 1, 16, 12}, {256, 256, 25, 21}, {1, 256, 25, 12}, {40, 40, 16, 21}};
  for (const auto& c : kCases) {
    MapSpec spec;
    spec.tileCount = 2;
    spec.tileWidth = c.width;
    spec.tileHeight = c.height;
    spec.cols = c.cols;
    spec.rows = c.rows;
    EXPECT_EQ(Load(MapBytes(spec)), 1)
        << c.width << "x" << c.height << " " << c.cols << "x" << c.rows;
    ASSERT_EQ(gTileSurfaces.size(), 2u);
    EXPECT_EQ(PixelAt(*gTileSurfaces[1], c.width - 1, c.height - 1), TileColour(1));
    EXPECT_EQ(gGroundLayer[c.rows - 1][c.cols - 1], (c.rows - 1) * c.cols + c.cols - 1);
    ReleaseGroundLayer();
    ReleaseTileData();
  }
}

TEST_F(MapReader, AHugeTileCountInATinyFileCostsNoMemory) {
  MapSpec spec;
  spec.tileCount = 0;
  std::vector<std::uint8_t> bytes = MapBytes(spec);
  const std::int32_t count = kMapMaxTiles;
  const std::int32_t side = 256;
  std::memcpy(bytes.data() + 16, &count, 4);
  std::memcpy(bytes.data() + 20, &side, 4);
  std::memcpy(bytes.data() + 24, &side, 4);
  ASSERT_EQ(Load(bytes), 1);
  ASSERT_EQ(gTileSurfaces.size(), static_cast<std::size_t>(kMapMaxTiles));
  // Tiles past the end of the file are one shared black surface.
  EXPECT_EQ(gTileSurfaces.front().get(), gTileSurfaces.back().get());
  EXPECT_EQ(PixelAt(*gTileSurfaces[1234], 255, 255), (Bgr{0, 0, 0}));

  ReleaseGroundLayer();
  ReleaseTileData();
  const std::int32_t tooMany = kMapMaxTiles + 1;
  std::memcpy(bytes.data() + 16, &tooMany, 4);
  EXPECT_EQ(Load(bytes), 0);
  EXPECT_TRUE(gTileSurfaces.empty());
}

TEST_F(MapReader, ReleasingTwiceIsHarmless) {
  MapSpec spec;
  spec.tileCount = 3;
  ASSERT_EQ(Load(MapBytes(spec)), 1);
  ReleaseGroundLayer();
  ReleaseTileData();
  ReleaseGroundLayer();
  ReleaseTileData();
  EXPECT_EQ(gGroundLayer, nullptr);
  EXPECT_TRUE(gTileSurfaces.empty());
}

}  // namespace
