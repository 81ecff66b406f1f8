// The generator's output: the same bytes on every run, and the places the
// game relies on (click rectangles, the black places it writes into, the
// opened cells, frames within their columns, sounds, music).
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>

#include "common/text_art.h"
#include "formats/bmp_file.h"
#include "formats/wave_file.h"
#include "kit/formats.h"
#include "kit/game_needs.h"
#include "support/test_data.h"
#include "tools/kit_test_support.h"

namespace {

namespace fs = std::filesystem;
using kit::Bytes;

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};

// The 640 x 120 panel as the game assembles it from map rows 18 to 20.
class Panel {
 public:
  explicit Panel(const kit::MapFile& m) : map_(m) {}
  // Screen coordinates.
  Rgb At(int x, int y) const {
    const int tile = std::abs(map_.Cell(18 + (y - 360) / 40, x / 40));
    const std::uint8_t* p = map_.tiles.data() + map_.TileBytes() * static_cast<std::size_t>(tile) +
                            3 * static_cast<std::size_t>(((y - 360) % 40) * 40 + x % 40);
    return {p[2], p[1], p[0]};
  }

 private:
  const kit::MapFile& map_;
};

kit::MapFile Map() {
  kit::MapFile m;
  EXPECT_TRUE(
      kit::ReadWholeMap(kittest::Read(kittest::GeneratedFolder() / "city.map"), m, nullptr));
  return m;
}

kit::SpriteFile Sprites() {
  kit::SpriteFile s;
  EXPECT_TRUE(
      kit::ReadWholeSprites(kittest::Read(kittest::GeneratedFolder() / "WEAPON.SPR"), s, nullptr));
  return s;
}

TEST(DataKit, MakesTheSameBytesOnEveryRun) {
  const fs::path a = testdata::MakeTempDir("vedo-run-a"), b = testdata::MakeTempDir("vedo-run-b");
  std::string out;
  ASSERT_EQ(kittest::RunTool("datakit", "'" + a.string() + "'", &out), 0) << out;
  ASSERT_EQ(kittest::RunTool("datakit", "'" + b.string() + "'", &out), 0) << out;
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(a)) {
    if (!entry.is_regular_file()) continue;
    const fs::path name = fs::relative(entry.path(), a);
    EXPECT_EQ(kittest::Read(entry.path()), kittest::Read(b / name)) << name << " differs";
    ++files;
  }
  // 2 data files, 7 pictures and the options panel's, 16 sounds, the tune
  // and the icon; and the English pack's text, 5 pictures, 7 panel tiles
  // and the credit frame.
  EXPECT_EQ(files, 28 + 14);
}

TEST(DataKit, PanelButtonsLieExactlyOnTheirClickRectangles) {
  const kit::MapFile m = Map();
  const Panel panel(m);
  // Inclusive click bounds of handgun, shotgun, magnum, knife, spray.
  const int buttons[5][4] = {{470, 377, 519, 412},
                             {522, 377, 571, 412},
                             {574, 377, 623, 412},
                             {470, 415, 519, 450},
                             {522, 415, 571, 450}};
  const Rgb rim = panel.At(470, 377);
  for (const auto& b : buttons) {
    // The button's dark rim runs exactly along the rectangle's border...
    for (int x = b[0]; x <= b[2]; ++x) {
      EXPECT_EQ(panel.At(x, b[1]), rim) << "top edge at x " << x;
      EXPECT_EQ(panel.At(x, b[3]), rim) << "bottom edge at x " << x;
    }
    for (int y = b[1]; y <= b[3]; ++y) {
      EXPECT_EQ(panel.At(b[0], y), rim) << "left edge at y " << y;
      EXPECT_EQ(panel.At(b[2], y), rim) << "right edge at y " << y;
    }
    // ...and the face inside is lighter than the rim.
    const Rgb face = panel.At(b[0] + 4, (b[1] + b[3]) / 2);
    EXPECT_GT(face.r + face.g + face.b, rim.r + rim.g + rim.b + 60);
  }
  // The gaps between buttons belong to no button.
  EXPECT_NE(panel.At(520, 395), rim);
  EXPECT_NE(panel.At(521, 395), rim);
}

TEST(DataKit, PanelIsBlackWhereTheGameWritesAndDraws) {
  const kit::MapFile m = Map();
  const Panel panel(m);
  struct Place {
    const char* what;
    int x0, y0, x1, y1;  // inclusive
  } places[] = {
      {"count line", 210, 372, 355, 389},
      {"column line", 135, 415, 355, 432},
      {"row line", 135, 435, 355, 452},
      // The frames' places as the game has them, over their largest sizes.
      {"weapon icon", kWeaponIconX, kWeaponIconY, kWeaponIconX + 95, kWeaponIconY + 39},
      {"health icon", kHealthIconX, kHealthIconY, kHealthIconX + 95, kHealthIconY + 21},
      {"spray digit", kSprayDigitX, kDigitY, kSprayDigitX + 14, kDigitY + 14},
      {"weapon mark", kWeaponMarkX + 1, kWeaponMarkY + 2, kWeaponMarkX + 50, kWeaponMarkY + 19},
      {"ammunition digits", kAmmoDigitX[0] + 4, kDigitY, kAmmoDigitX[2] + 14, kDigitY + 15},
  };
  for (const Place& p : places) {
    int notBlack = 0;
    for (int y = p.y0; y <= p.y1; ++y) {
      for (int x = p.x0; x <= p.x1; ++x) notBlack += !(panel.At(x, y) == Rgb{0, 0, 0});
    }
    EXPECT_EQ(notBlack, 0) << p.what;
  }
}

TEST(DataKit, OpenedCellsLookNothingLikeTheGround) {
  const kit::MapFile m = Map();
  auto pixel = [&](int tile, int x, int y) {
    return m.tiles.data() + m.TileBytes() * static_cast<std::size_t>(tile) + 3 * (y * 40 + x);
  };
  // The mean colour of a tile's ring 2 to 4 pixels in from its edge: on an
  // opened cell that is the bare plate.
  auto ring = [&](int tile) {
    std::array<double, 3> sum{0, 0, 0};
    int n = 0;
    for (int y = 2; y < 38; ++y) {
      for (int x = 2; x < 38; ++x) {
        if (x > 4 && x < 35 && y > 4 && y < 35) continue;
        for (int c = 0; c < 3; ++c) sum[c] += pixel(tile, x, y)[c];
        ++n;
      }
    }
    for (double& v : sum) v /= n;
    return sum;
  };
  std::vector<int> ground;
  int negative = 0;
  for (int r = 0; r < kit::kFieldRows; ++r) {
    for (int c = 0; c < kit::kMapCols; ++c) {
      const int v = m.Cell(r, c);
      negative += v < 0;
      ground.push_back(std::abs(v));
    }
  }
  EXPECT_GT(negative, 20);  // the roofs are marked
  const auto plate = ring(18);
  for (const kit::TileNeed& need : kit::FixedTiles()) {
    if (need.tile >= 376) continue;
    for (int g : ground) EXPECT_NE(g, need.tile) << "a ground cell uses " << need.what;
    // Every opened cell has the plate's dark rim on its outer pixels.
    for (int i = 0; i < 40; ++i) {
      for (const std::uint8_t* p : {pixel(need.tile, i, 0), pixel(need.tile, 0, i),
                                    pixel(need.tile, i, 39), pixel(need.tile, 39, i)}) {
        EXPECT_LT(p[0] + p[1] + p[2], 200) << need.what;
      }
    }
  }
  // The bare plate's colour is found on no ground cell.
  double nearest = 1e9;
  for (int g : ground) {
    const auto b = ring(g);
    nearest = std::min(nearest, std::hypot(plate[0] - b[0], plate[1] - b[1], plate[2] - b[2]));
  }
  EXPECT_GT(nearest, 40.0);
  // The eight counts are eight different pictures.
  std::map<Bytes, int> seen;
  for (int t : {18, 36, 54, 72, 366, 367, 374, 375}) {
    const auto from = m.tiles.begin() + static_cast<std::ptrdiff_t>(m.TileBytes() * t);
    seen[Bytes(from, from + static_cast<std::ptrdiff_t>(m.TileBytes()))] = t;
  }
  EXPECT_EQ(seen.size(), 8u);
}

TEST(DataKit, FramesKeepTheirShapes) {
  const kit::SpriteFile s = Sprites();
  ASSERT_GE(s.frames.size(), 52u);
  auto visible = [&](int frame, int x, int y) {
    const kit::SpriteFrameData& f = s.frames[static_cast<std::size_t>(frame)];
    const std::uint8_t* p = f.bgr.data() + 3 * static_cast<std::size_t>(y * f.width + x);
    return (p[0] | p[1] | p[2]) != 0;
  };
  // The highlight is an outline: lit corners, a see-through middle.
  EXPECT_TRUE(visible(0, 1, 1));
  EXPECT_TRUE(visible(0, 38, 38));
  for (int y = 6; y < 34; ++y) {
    for (int x = 6; x < 34; ++x) EXPECT_FALSE(visible(0, x, y)) << x << "," << y;
  }
  // Digits keep to columns 3 to 12, clear of the spray button's edge left
  // of the ammunition display, and off their last row, the spray button's
  // lower rim.
  for (int d = 9; d <= 18; ++d) {
    EXPECT_LE(s.frames[d].width, kit::kMaxDigitWidth);
    for (int y = 0; y < s.frames[d].height; ++y) {
      for (int x : {0, 1, 2, 13, 14}) EXPECT_FALSE(visible(d, x, y)) << "digit frame " << d;
    }
    for (int x = 0; x < s.frames[d].width; ++x) {
      EXPECT_FALSE(visible(d, x, s.frames[d].height - 1)) << "digit frame " << d;
    }
  }
  // Every frame the game draws shows something, the digits and credit
  // lines, which are letters only, too.
  for (const kit::FramePlacement& p : kit::FramePlacements()) {
    const kit::SpriteFrameData& f = s.frames[static_cast<std::size_t>(p.frame)];
    int lit = 0;
    for (int y = 0; y < f.height; ++y) {
      for (int x = 0; x < f.width; ++x) lit += visible(p.frame, x, y);
    }
    EXPECT_GT(lit, 0) << "frame " << p.frame << " (" << p.what << ") is all transparent";
  }
}

// Pixels of a picture that are strongly coloured (the start buttons and the
// close button are; text and backgrounds are not).
struct Bounds {
  int x0 = 1 << 20, y0 = 1 << 20, x1 = -1, y1 = -1, count = 0;
};
Bounds Saturated(const platform::Image& img, int x0, int y0, int x1, int y1) {
  Bounds b;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const std::uint8_t* p = img.pixels.data() + 3 * static_cast<std::size_t>(y * img.width + x);
      const int hi = std::max({p[0], p[1], p[2]}), lo = std::min({p[0], p[1], p[2]});
      if (hi - lo < 50) continue;
      b = {std::min(b.x0, x), std::min(b.y0, y), std::max(b.x1, x), std::max(b.y1, y), b.count + 1};
    }
  }
  return b;
}

TEST(DataKit, PictureButtonsLieWithinTheirHitAreas) {
  platform::Image warning, window;
  ASSERT_TRUE(platform::LoadBmpFile((kittest::GeneratedFolder() / "warning.bmp").c_str(), warning));
  ASSERT_TRUE(platform::LoadBmpFile((kittest::GeneratedFolder() / "eventwin.bmp").c_str(), window));
  // The start buttons: strictly inside x 60..275 and 320..540, y 110..150.
  const Bounds left = Saturated(warning, 0, 100, 299, 160);
  const Bounds right = Saturated(warning, 300, 100, 639, 160);
  EXPECT_GT(left.count, 2000);
  EXPECT_GT(right.count, 2000);
  EXPECT_GE(left.x0, 61);
  EXPECT_LE(left.x1, 274);
  EXPECT_GE(right.x0, 321);
  EXPECT_LE(right.x1, 539);
  for (const Bounds& b : {left, right}) {
    EXPECT_GE(b.y0, 111);
    EXPECT_LE(b.y1, 149);
  }
  // The close button: x 279..307, y 156..234 of the window picture.
  const Bounds close = Saturated(window, 250, 140, 316, 240);
  EXPECT_GT(close.count, 1000);
  EXPECT_GE(close.x0, 279);
  EXPECT_LE(close.x1, 307);
  EXPECT_GE(close.y0, 156);
  EXPECT_LE(close.y1, 234);
  // The text area under the portrait is black where the lines go.
  for (int y = 165; y < 225; ++y) {
    for (int x = 45; x < 275; ++x) {
      const std::uint8_t* p = window.pixels.data() + 3 * static_cast<std::size_t>(y * 317 + x);
      ASSERT_EQ(p[0] | p[1] | p[2], 0) << x << "," << y;
    }
  }
}

TEST(DataKit, SoundsAreAudibleAndDistinct) {
  std::map<Bytes, std::string> seen;
  for (const std::string name : kSoundFiles) {
    const Bytes bytes = kittest::Read(kittest::GeneratedFolder() / name);
    WaveInfo info;
    ASSERT_TRUE(ParseWave(bytes.data(), bytes.size(), info, nullptr));
    EXPECT_EQ(info.format.samplesPerSecond, 22050) << name;
    EXPECT_EQ(info.format.channels, 1) << name;
    const double seconds = info.dataSize / 2.0 / 22050;
    EXPECT_GT(seconds, 0.25) << name;
    EXPECT_LT(seconds, 4.0) << name;
    int peak = 0;
    double energy = 0;
    for (std::size_t i = 44; i + 1 < bytes.size(); i += 2) {
      const int s = static_cast<std::int16_t>(bytes[i] | (bytes[i + 1] << 8));
      peak = std::max(peak, std::abs(s));
      energy += static_cast<double>(s) * s;
    }
    EXPECT_GT(peak, 16000) << name << " is too quiet";
    EXPECT_LT(peak, 32767) << name << " clips";
    EXPECT_GT(std::sqrt(energy / (info.dataSize / 2)), 800) << name << " is nearly silent";
    EXPECT_TRUE(seen.emplace(bytes, name).second) << name << " repeats another sound";
  }
}

TEST(DataKit, TheTuneLastsTheEnding) {
  const Bytes tune = kittest::Read(kittest::GeneratedFolder() / "Ending.mid");
  platform::MidiFile midi;
  ASSERT_TRUE(platform::ParseMidiFile(tune.data(), tune.size(), midi));
  const kit::MidiFigures info = kit::CountMidi(midi);
  EXPECT_EQ(midi.format, 1);
  EXPECT_EQ(midi.division, platform::MidiTimeDivision::kPpqn);
  EXPECT_GE(midi.tempoEvents, 1);
  EXPECT_GE(info.programs.size(), 4u);
  EXPECT_EQ(std::count(info.channels.begin(), info.channels.end(), 9), 0);  // no drum kit
  EXPECT_EQ(info.hangingNotes, 0);                                          // every note ends
  EXPECT_GE(midi.lengthUs, 40000000);
  EXPECT_LE(midi.lengthUs, 180000000);
}

}  // namespace
