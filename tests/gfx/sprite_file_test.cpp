#include "gfx/sprite_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "gfx/display.h"
#include "platform/platform.h"
#include "state/game_state.h"
#include "support/test_data.h"

namespace {

using platform::DD_OK;
using testdata::Bgr;
using testdata::FrameColour;
using testdata::PixelAt;
using testdata::SpriteBytes;
using testdata::SpriteSpec;

constexpr char kMapSaid[] = "InitTileData OK.\n";
constexpr char kNoCount[] = "InitProgram(): Fail Get Sprite Num\n";
constexpr char kNoLoad[] = "InitProgram(): Fail Loading Sprite\n";
constexpr char kBadVersion[] = "InitProgram(): Sprite File Bad Version\n";

// Start-up on the standard data with another sprite file (or none).
class SpriteStartUp : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = testdata::MakeTempDir("vedo-spr");
    testdata::WriteStandardData(dir_);
  }
  void TearDown() override {
    game_.reset();
    std::filesystem::remove_all(dir_);
  }
  bool Start(const std::vector<std::uint8_t>* sprites) {
    game_.reset();
    if (sprites != nullptr) {
      testdata::WriteFile(dir_ / "WEAPON.SPR", *sprites);
    } else {
      std::filesystem::remove(dir_ / "WEAPON.SPR");
    }
    ::testing::internal::CaptureStderr();
    game_ = std::make_unique<testdata::HeadlessGame>(dir_);
    said_ = ::testing::internal::GetCapturedStderr();
    return game_->ok();
  }
  bool Start(const SpriteSpec& spec) {
    const std::vector<std::uint8_t> bytes = SpriteBytes(spec);
    return Start(&bytes);
  }
  static SpriteSpec Standard() {
    SpriteSpec spec;
    spec.frames = testdata::StandardFrames(8);
    return spec;
  }
  std::filesystem::path dir_;
  std::unique_ptr<testdata::HeadlessGame> game_;
  std::string said_;
};

TEST_F(SpriteStartUp, AMissingFileGivesTheSingleCountBox) {
  EXPECT_FALSE(Start(nullptr));
  EXPECT_EQ(said_, std::string(kMapSaid) + kNoCount);
}

TEST_F(SpriteStartUp, AWrongTagIsRefusedWithTwoBoxes) {
  for (const char* tag : {"DidArid v1.1", "didArid v1.0", "DidArid v1.0x", "DIDARID V1.0", ""}) {
    SpriteSpec spec = Standard();
    spec.tag = tag;
    EXPECT_FALSE(Start(spec)) << tag;
    EXPECT_EQ(said_, std::string(kMapSaid) + kNoLoad + kNoCount) << tag;
  }
}

TEST_F(SpriteStartUp, AnyBytesMayFollowTheTagsZero) {
  SpriteSpec spec = Standard();
  std::vector<std::uint8_t> bytes = SpriteBytes(spec);
  std::memcpy(bytes.data() + 13, "xyz", 3);
  EXPECT_TRUE(Start(&bytes)) << said_;
}

TEST_F(SpriteStartUp, VersionZeroOrNegativeIsABadVersion) {
  for (int version : {0, -1, INT_MIN}) {
    SpriteSpec spec = Standard();
    spec.version = version;
    EXPECT_FALSE(Start(spec)) << version;
    EXPECT_EQ(said_, std::string(kMapSaid) + kBadVersion + kNoCount) << version;
  }
}

TEST_F(SpriteStartUp, VersionTwoAndHigherLoadLikeVersionOne) {
  for (int version : {1, 2, INT_MAX}) {
    SpriteSpec spec = Standard();
    spec.version = version;
    EXPECT_TRUE(Start(spec)) << version << ": " << said_;
    EXPECT_EQ(said_, kMapSaid);
    EXPECT_EQ(gSpriteCount, 8);
    ASSERT_EQ(gSpriteSurfaces.size(), 8u);
    EXPECT_EQ(gSpriteFrames[0].width, 40);
    EXPECT_EQ(gSpriteFrames[7].height, 20);
  }
}

TEST_F(SpriteStartUp, ACountOfZeroOrLessGivesTheCountBox) {
  for (int count : {0, -1, INT_MIN}) {
    SpriteSpec spec = Standard();
    spec.countOverride = count;
    spec.frames.clear();
    std::vector<std::uint8_t> bytes = SpriteBytes(spec);
    const std::int32_t c = count;
    std::memcpy(bytes.data() + 20, &c, 4);
    EXPECT_FALSE(Start(&bytes)) << count;
    EXPECT_EQ(said_, std::string(kMapSaid) + kNoCount) << count;
  }
}

TEST_F(SpriteStartUp, AHugeCountInATinyFileIsRefusedBeforeAnythingIsAllocated) {
  SpriteSpec spec = Standard();
  spec.countOverride = INT_MAX;
  EXPECT_FALSE(Start(spec));
  EXPECT_EQ(said_, std::string(kMapSaid) + kNoLoad + kNoCount);
  EXPECT_TRUE(gSpriteFrames.empty());
}

TEST_F(SpriteStartUp, FramesLargerThanTheScreenOrNegativeAreRefused) {
  for (auto [w, h] : {std::pair{641, 1}, std::pair{1, 481}, std::pair{-1, 5}, std::pair{5, -1},
                      std::pair{INT_MIN, INT_MIN}, std::pair{100000, 100000}}) {
    SpriteSpec spec = Standard();
    spec.frames[3] = testdata::Frame{w, h, {0, 0, 0}};  // a few pixel bytes only
    EXPECT_FALSE(Start(spec)) << w << "x" << h;
    EXPECT_EQ(said_, std::string(kMapSaid) + kNoLoad) << w << "x" << h;
  }
}

TEST_F(SpriteStartUp, AFrameAsLargeAsTheScreenAndAnEmptyFrameLoad) {
  SpriteSpec spec = Standard();
  spec.frames[2] = testdata::Frame{640, 480, {}};
  spec.frames[3] = testdata::Frame{0, 0, {}};
  ASSERT_TRUE(Start(spec)) << said_;
  ClearSurface(gBackBuffer, 0x11);
  EXPECT_EQ(DrawSprite(0, 0, 2), DD_OK);
  EXPECT_EQ(PixelAt(*gBackBuffer, 0, 0), (Bgr{0x11, 0x11, 0x11}));  // black first pixel
  EXPECT_EQ(PixelAt(*gBackBuffer, 639, 479), FrameColour(2));
  EXPECT_NE(DrawSprite(0, 0, 3), DD_OK);  // nothing to copy
}

TEST_F(SpriteStartUp, AFrameCutShortIsBlackAndSoNotDrawnWhereItIsMissing) {
  SpriteSpec spec = Standard();
  std::vector<std::uint8_t> bytes = SpriteBytes(spec);
  // Cut the last frame (20 x 20) after 5 rows and 3 pixels.
  bytes.resize(bytes.size() - 20 * 20 * 3 + (5 * 20 + 3) * 3);
  ASSERT_TRUE(Start(&bytes)) << said_;
  ClearSurface(gBackBuffer, 0x11);
  const Bgr paper{0x11, 0x11, 0x11};
  EXPECT_EQ(DrawSprite(100, 100, 7), DD_OK);
  EXPECT_EQ(PixelAt(*gBackBuffer, 119, 104), FrameColour(7));
  EXPECT_EQ(PixelAt(*gBackBuffer, 102, 105), FrameColour(7));
  EXPECT_EQ(PixelAt(*gBackBuffer, 103, 105), paper);
  EXPECT_EQ(PixelAt(*gBackBuffer, 119, 119), paper);
}

TEST_F(SpriteStartUp, DrawSpriteCopiesExactlyTheFramesPixels) {
  SpriteSpec spec = Standard();
  testdata::Frame f{7, 5, {}};
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 7; ++x) {
      f.bgr.push_back(static_cast<std::uint8_t>(x + 1));
      f.bgr.push_back(static_cast<std::uint8_t>(y + 1));
      f.bgr.push_back(0x77);
    }
  }
  spec.frames[0] = f;
  ASSERT_TRUE(Start(spec)) << said_;
  ClearSurface(gBackBuffer, 0x11);
  ASSERT_EQ(DrawSprite(300, 200, 0), DD_OK);
  for (int y = 199; y <= 205; ++y) {
    for (int x = 299; x <= 307; ++x) {
      const bool inside = x >= 300 && x < 307 && y >= 200 && y < 205;
      const Bgr want =
          inside ? Bgr{std::uint8_t(x - 299), std::uint8_t(y - 199), 0x77} : Bgr{0x11, 0x11, 0x11};
      EXPECT_EQ(PixelAt(*gBackBuffer, x, y), want) << x << "," << y;
    }
  }
}

// ---- The animation file -----------------------------------------------------

void Put32(std::vector<std::uint8_t>& out, std::int32_t v) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i)));
}

std::vector<std::uint8_t> AnimationHeader(const char* tag, int version, int count) {
  std::vector<std::uint8_t> out(16, 0);
  std::memcpy(out.data(), tag, std::min<std::size_t>(std::strlen(tag), 16));
  Put32(out, version);
  Put32(out, count);
  out.resize(32, 0);
  return out;
}

void PutName(std::vector<std::uint8_t>& out, const char* name) {
  std::uint8_t field[16] = {};
  std::memcpy(field, name, std::min<std::size_t>(std::strlen(name), 16));
  out.insert(out.end(), field, field + 16);
}

class AnimationReader : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::UseHeadlessBackend(&host_);
    dir_ = testdata::MakeTempDir("vedo-ani");
    path_ = (dir_ / "test.ani").string();
  }
  void TearDown() override {
    platform::UseHeadlessBackend(nullptr);
    std::filesystem::remove_all(dir_);
  }
  int Count(const std::vector<std::uint8_t>& bytes) {
    testdata::WriteFile(path_, bytes);
    ::testing::internal::CaptureStderr();
    const int r = GetNumAction(path_.c_str());
    said_ = ::testing::internal::GetCapturedStderr();
    return r;
  }
  int Load(const std::vector<std::uint8_t>& bytes, Animation* animation) {
    testdata::WriteFile(path_, bytes);
    ::testing::internal::CaptureStderr();
    const int r = LoadAnimation(path_.c_str(), animation);
    said_ = ::testing::internal::GetCapturedStderr();
    return r;
  }
  testdata::TestHost host_;
  std::filesystem::path dir_;
  std::string path_;
  std::string said_;
};

TEST_F(AnimationReader, ReadsActionsFramesAndEntriesInFileOrder) {
  std::vector<std::uint8_t> f = AnimationHeader("DidArid v1.0", 1, 3);
  PutName(f, "walk");
  Put32(f, 2);                                     // frames
  for (int v = 0; v < 16; ++v) Put32(f, 100 + v);  // frame 0
  Put32(f, 2);                                     // entries
  for (int v : {1, 2, 3, -4, -5, -6}) Put32(f, v);
  for (int v = 0; v < 16; ++v) Put32(f, 200 + v);  // frame 1
  Put32(f, 0);
  PutName(f, "run");
  Put32(f, 0);
  PutName(f, "ABCDEFGHIJKLMNOP");  // 16 letters, no room for a zero
  Put32(f, 1);
  for (int v = 0; v < 16; ++v) Put32(f, -v);
  Put32(f, 1);
  for (int v : {7, 8, 9}) Put32(f, v);

  EXPECT_EQ(Count(f), 3);
  EXPECT_EQ(said_, "");
  Animation a;
  a.reserved = 77;
  ASSERT_EQ(Load(f, &a), 1) << said_;
  EXPECT_EQ(said_, "");
  EXPECT_EQ(a.reserved, 77) << "the first field is not the reader's";
  ASSERT_EQ(a.actions.size(), 3u);
  EXPECT_EQ(a.actions[0].name, "walk");
  ASSERT_EQ(a.actions[0].frames.size(), 2u);
  EXPECT_EQ(a.actions[0].frames[0].values[0], 100);
  EXPECT_EQ(a.actions[0].frames[0].values[15], 115);
  ASSERT_EQ(a.actions[0].frames[0].entries.size(), 2u);
  EXPECT_EQ(a.actions[0].frames[0].entries[1].values[0], -4);
  EXPECT_EQ(a.actions[0].frames[0].entries[1].values[2], -6);
  EXPECT_EQ(a.actions[0].frames[1].values[3], 203);
  EXPECT_TRUE(a.actions[0].frames[1].entries.empty());
  EXPECT_EQ(a.actions[1].name, "run");
  EXPECT_TRUE(a.actions[1].frames.empty());
  EXPECT_EQ(a.actions[2].name, "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(a.actions[2].frames[0].values[15], -15);
  EXPECT_EQ(a.actions[2].frames[0].entries[0].values[1], 8);
}

TEST_F(AnimationReader, EachFailureHasItsOwnBoxWithTheReadersCaption) {
  ::testing::internal::CaptureStderr();
  Animation a;
  EXPECT_EQ(GetNumAction((dir_ / "none.ani").string().c_str()), 0);
  EXPECT_EQ(LoadAnimation((dir_ / "none.ani").string().c_str(), &a), 0);
  EXPECT_EQ(
      ::testing::internal::GetCapturedStderr(),
      "GetNumAction(): Animation File Not Found\nLoadAnimation(): Animation File Not Found\n");

  const auto badTag = AnimationHeader("DidArid v1.0a", 1, 0);
  EXPECT_EQ(Count(badTag), 0);
  EXPECT_EQ(said_, "GetNumAction(): Animation File Bad Format\n");
  EXPECT_EQ(Load(badTag, &a), 0);
  EXPECT_EQ(said_, "LoadAnimation(): Animation File Bad Format\n");

  const auto badVersion = AnimationHeader("DidArid v1.0", 0, 0);
  EXPECT_EQ(Count(badVersion), 0);
  EXPECT_EQ(said_, "GetNumAction(): Animation File Bad Version\n");
  EXPECT_EQ(Load(badVersion, &a), 0);
  EXPECT_EQ(said_, "LoadAnimation(): Animation File Bad Version\n");
}

TEST_F(AnimationReader, CountsTheFileCannotHoldAreRefusedWithoutAllocating) {
  Animation a;
  EXPECT_EQ(Load(AnimationHeader("DidArid v1.0", 1, INT_MAX), &a), 0);
  EXPECT_EQ(said_, "LoadAnimation(): Animation File Bad Format\n");

  std::vector<std::uint8_t> f = AnimationHeader("DidArid v1.0", 1, 1);
  PutName(f, "x");
  Put32(f, INT_MAX);
  EXPECT_EQ(Load(f, &a), 0);
  EXPECT_TRUE(a.actions.empty());

  f = AnimationHeader("DidArid v1.0", 1, 1);
  PutName(f, "x");
  Put32(f, 1);
  for (int v = 0; v < 16; ++v) Put32(f, v);
  Put32(f, -1);  // a negative entry count
  EXPECT_EQ(Load(f, &a), 0);
  EXPECT_TRUE(a.actions.empty());
}

}  // namespace
