#include "scenes/prologue_scene.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/sound.h"
#include "gfx/display.h"
#include "platform/draw/text_draw.h"
#include "platform/headless/headless.h"
#include "state/game_state.h"
#include "support/call_probe.h"
#include "support/test_data.h"

namespace {

using testdata::Bgr;

// event1.bmp with a colour of its own in each 160 x 109 cell.
Bgr CellColour(int column, int row) {
  return {0x81, static_cast<std::uint8_t>(0x10 * column + row), 0x66};
}

std::filesystem::path DataWithMarkedPortraits() {
  const auto dir = testdata::MakeTempDir("vedo-prologue");
  testdata::WriteStandardData(dir);
  testdata::WriteFile(dir / "event1.bmp", testdata::Bmp24Bytes(320, 327, [](int x, int y) {
                        return CellColour(x / 160, y / 109);
                      }));
  return dir;
}

std::string Cp(const char* utf8) { return platform::Utf8ToCp949(utf8); }

const char* const kPage1[3] = {" 9월 28일 한낮  ", "거리에 가득찬 좀비들.",
                               "생존자는 어디에도 없다."};
const char* const kPage2[3] = {"하지만 난 아직 살아있다.", "이것은 나의 마지막 탈출.",
                               "5개의 파일을 찾아야한다."};

class PrologueSceneTest : public ::testing::Test {
 protected:
  PrologueSceneTest() : game(DataWithMarkedPortraits()) {}
  void SetUp() override {
    ASSERT_TRUE(game.ok());
    // After the title: the field's dispatch would now run the prologue.
    gInTitle = 0;
  }

  void PressAt(int x, int y) {
    gMouseX = x;
    gMouseY = y;
    gLeftButton = 1;
  }

  // The lines of the last pass, as drawn.
  std::vector<std::string> LinesOfPass() {
    probe.texts.clear();
    PrologueScene();
    std::vector<std::string> lines;
    for (const auto& call : probe.texts) lines.push_back(call.text);
    return lines;
  }

  static std::vector<std::string> Page(const char* const (&page)[3]) {
    return {Cp(page[0]), Cp(page[1]), Cp(page[2])};
  }

  testdata::HeadlessGame game;
  testdata::CallProbe probe;
};

TEST_F(PrologueSceneTest, HeldPressTurnsThePageOnPassTwelveAndEndsElevenPassesLater) {
  PressAt(455, 316);
  std::vector<std::pair<int, int>> heard;
  for (int pass = 1; pass <= 23; ++pass) {
    probe.sounds.clear();
    const auto lines = LinesOfPass();
    for (int sound : probe.sounds) heard.push_back({pass, sound});
    // The pass of a press still shows the page that was pressed.
    EXPECT_EQ(lines, Page(pass <= 12 ? kPage1 : kPage2)) << "pass " << pass;
    EXPECT_EQ(gPrologueClickLatch, (pass >= 12 && pass < 23) ? 1 : 0) << "pass " << pass;
    EXPECT_EQ(gProloguePending, pass < 23 ? 1 : 0) << "pass " << pass;
  }
  // Each page sounds once: the first on its second pass, the second on its
  // first.
  const std::vector<std::pair<int, int>> expected = {{2, SND_OPEN1}, {13, SND_OPEN2}};
  EXPECT_EQ(heard, expected);
  // From here the main loop runs the field.
  EXPECT_EQ(gProloguePending, 0);
  EXPECT_EQ(gPrologueClickLatch, 0);
  EXPECT_EQ(gPrologueStep, 1);
}

TEST_F(PrologueSceneTest, EachPageSoundsOnceWhileItWaits) {
  for (int pass = 0; pass < 60; ++pass) PrologueScene();
  EXPECT_EQ(probe.sounds, std::vector<int>{SND_OPEN1});
  EXPECT_EQ(gPrologueStep, 60);
  // The second page, begun by a press.
  gPrologueStep = 11;
  PressAt(455, 316);
  PrologueScene();
  gLeftButton = 0;
  probe.Clear();
  for (int pass = 0; pass < 60; ++pass) PrologueScene();
  EXPECT_EQ(probe.sounds, std::vector<int>{SND_OPEN2});
  EXPECT_EQ(gProloguePending, 1);
}

TEST_F(PrologueSceneTest, PageButtonTakesPressesStrictlyInsideOnly) {
  struct Point {
    int x, y;
  };
  const Point ignored[] = {{440, 316}, {470, 316}, {455, 276}, {455, 356},
                           {441, 276}, {469, 356}, {430, 316}, {455, 400}};
  for (Point p : ignored) {
    gPrologueStep = 11;
    gPrologueClickLatch = 0;
    PressAt(p.x, p.y);
    PrologueScene();
    EXPECT_EQ(gPrologueClickLatch, 0) << p.x << "," << p.y;
    EXPECT_EQ(gPrologueStep, 12) << p.x << "," << p.y;
  }
  const Point taken[] = {{441, 277}, {469, 355}, {441, 355}, {469, 277}};
  for (Point p : taken) {
    gPrologueStep = 11;
    gPrologueClickLatch = 0;
    PressAt(p.x, p.y);
    PrologueScene();
    EXPECT_EQ(gPrologueClickLatch, 1) << p.x << "," << p.y;
    EXPECT_EQ(gPrologueStep, 1) << p.x << "," << p.y;
  }
  // Too early on either page: 10 is not enough.
  gPrologueStep = 10;
  gPrologueClickLatch = 1;
  PressAt(455, 316);
  PrologueScene();
  EXPECT_EQ(gProloguePending, 1);
  EXPECT_EQ(gPrologueClickLatch, 1);
}

TEST_F(PrologueSceneTest, DrawsTheWindowOverTheMapsTopLeftCornerWhateverTheView) {
  gViewCol = 9;
  gViewRow = 9;
  gGroundLayer[0][0] = -7;  // the field draws a cell's absolute value
  gGroundLayer[11][15] = -(11 * gMapCols + 15);
  LinesOfPass();
  const auto texts = probe.texts;
  const platform::Surface& shown = *platform::HeadlessShownFrame();
  EXPECT_EQ(testdata::PixelAt(shown, 5, 5), testdata::TileColour(7));
  EXPECT_EQ(testdata::PixelAt(shown, 639, 479), testdata::TileColour(11 * gMapCols + 15));
  for (int row : {0, 5, 11}) {
    for (int col : {1, 3, 15}) {
      EXPECT_EQ(testdata::PixelAt(shown, col * 40 + 20, row * 40 + 2),
                testdata::TileColour(row * gMapCols + col))
          << "row " << row << " col " << col;
    }
  }
  // The window, 60 pixels lower than the field's, and its portrait.
  const Bgr window = testdata::PictureColour("eventwin.bmp");
  EXPECT_EQ(testdata::PixelAt(shown, 162, 121), window);
  EXPECT_EQ(testdata::PixelAt(shown, 478, 361), window);
  EXPECT_NE(testdata::PixelAt(shown, 161, 121), window);
  EXPECT_NE(testdata::PixelAt(shown, 478, 362), window);
  EXPECT_EQ(testdata::PixelAt(shown, 241, 141), CellColour(0, 1));
  EXPECT_EQ(testdata::PixelAt(shown, 400, 249), CellColour(0, 1));
  EXPECT_EQ(testdata::PixelAt(shown, 240, 141), window);
  EXPECT_EQ(testdata::PixelAt(shown, 401, 250), window);
  // White lines on black at x 207.
  ASSERT_EQ(texts.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(texts[i].x, 207);
    EXPECT_EQ(texts[i].y, 286 + 20 * i);
    EXPECT_EQ(texts[i].backColour, 0u);
    EXPECT_EQ(texts[i].textColour, 0xFFFFFFu);
  }
}

}  // namespace
