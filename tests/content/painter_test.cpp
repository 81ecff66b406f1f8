// The generator's painter and synthesiser: coverage, keying, filters and
// the sound file layout.
#include <gtest/gtest.h>

#include <cmath>

#include "common/canvas.h"
#include "content/synth.h"
#include "formats/little_endian.h"
#include "kit/formats.h"

namespace {

using datakit::Canvas;
using datakit::Hex;
using datakit::Mask;

float Coverage(const Mask& m) {
  float sum = 0;
  for (int y = 0; y < m.H(); ++y) {
    for (int x = 0; x < m.W(); ++x) sum += m.At(x, y);
  }
  return sum;
}

TEST(Painter, ShapesCoverTheirArea) {
  Mask rect(20, 20);
  rect.Add(datakit::RectShape{2.5f, 3.25f, 10.5f, 7.25f});  // 8 x 4, off the pixel grid
  EXPECT_NEAR(Coverage(rect), 32.0f, 0.01f);
  EXPECT_NEAR(rect.At(2, 5), 0.5f, 0.01f);   // half of the left column
  EXPECT_NEAR(rect.At(5, 3), 0.75f, 0.01f);  // three quarters of the top row
  Mask disc(40, 40);
  disc.Add(datakit::Circle(20, 20, 9));
  EXPECT_NEAR(Coverage(disc), 3.14159f * 81, 3.0f);
  // A rotated square keeps its area and reaches its turned corners.
  Mask turned(40, 40);
  const auto square = datakit::Rotate(datakit::RectShape{10, 10, 30, 30}, 20, 20, 0.785398f);
  turned.Add(square);
  EXPECT_NEAR(Coverage(turned), 400.0f, 4.0f);
  EXPECT_GT(turned.At(20, 8), 0.9f);    // a corner now points up
  EXPECT_LT(turned.At(11, 11), 0.01f);  // the old corner is empty
  // Shapes outside the mask's area are cut off, not written out of range.
  Mask small(4, 4);
  small.Add(datakit::Circle(0, 0, 100));
  EXPECT_NEAR(Coverage(small), 16.0f, 0.01f);
  Mask placed(10, 10, 4, 4);  // covers canvas pixels 10..13
  placed.Add(datakit::RectShape{0, 0, 12, 12});
  EXPECT_NEAR(Coverage(placed), 4.0f, 0.01f);
}

TEST(Painter, BlurKeepsTheMassAndSpreadsIt) {
  Mask m(31, 31);
  m.Add(datakit::RectShape{13, 13, 18, 18});
  m.Blur(2);
  EXPECT_NEAR(Coverage(m), 25.0f, 0.5f);
  EXPECT_GT(m.At(11, 15), 0.05f);
  EXPECT_LT(m.At(15, 15), 1.0f);
  Mask d(20, 20);
  d.Add(datakit::RectShape{9, 9, 10, 10});
  d.Dilate(2);
  EXPECT_FLOAT_EQ(d.At(10, 9), 1.0f);
  EXPECT_FLOAT_EQ(d.At(11, 9), 0.5f);  // the soft rim
  EXPECT_FLOAT_EQ(d.At(13, 9), 0.0f);
}

TEST(Painter, SpriteKeyingLeavesNoStrayBlack) {
  Canvas c(8, 2);
  c.Fill(datakit::RectShape{0, 0, 2, 2}, Hex(0x000000));        // drawn black: must stay visible
  c.Fill(datakit::RectShape{2, 0, 4, 2}, Hex(0x3080F0), 0.4f);  // mostly clear: transparent
  c.Fill(datakit::RectShape{4, 0, 6, 2}, Hex(0x3080F0), 0.8f);  // mostly covered: full colour
  const std::vector<std::uint8_t> bgr = c.SpriteBgr();
  auto pixel = [&](int x) { return std::vector<int>{bgr[3 * x], bgr[3 * x + 1], bgr[3 * x + 2]}; };
  EXPECT_EQ(pixel(0), (std::vector<int>{1, 1, 1}));
  EXPECT_EQ(pixel(2), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(pixel(4), (std::vector<int>{0xF0, 0x80, 0x30}));  // B, G, R, un-darkened
  EXPECT_EQ(pixel(6), (std::vector<int>{0, 0, 0}));           // never drawn
  // Pictures keep the plain colours, rows top first.
  Canvas p(2, 2);
  p.VGradient(0, 0, 2, 2, Hex(0x102030), Hex(0x405060));
  const std::vector<std::uint8_t> pic = p.ToBgr();
  EXPECT_EQ(pic[0], 0x30);
  EXPECT_EQ(pic[2], 0x10);
  EXPECT_EQ(pic[6], 0x60);
}

// The gain of a filter for a sine of the given frequency.
float Gain(datakit::Biquad f, float hz) {
  float peak = 0;
  for (int i = 0; i < datakit::kSampleRate; ++i) {
    const float y = f.Run(std::sin(datakit::kTau * hz * i / datakit::kSampleRate));
    if (i > datakit::kSampleRate / 2) peak = std::max(peak, std::abs(y));
  }
  return peak;
}

TEST(Synth, FiltersPassAndStopWhereTheySay) {
  EXPECT_NEAR(Gain(datakit::Biquad::LowPass(1000), 100), 1.0f, 0.05f);
  EXPECT_LT(Gain(datakit::Biquad::LowPass(1000), 8000), 0.03f);
  EXPECT_NEAR(Gain(datakit::Biquad::HighPass(1000), 8000), 1.0f, 0.05f);
  EXPECT_LT(Gain(datakit::Biquad::HighPass(1000), 100), 0.03f);
  EXPECT_NEAR(Gain(datakit::Biquad::BandPass(2000, 4), 2000), 1.0f, 0.05f);
  EXPECT_LT(Gain(datakit::Biquad::BandPass(2000, 4), 200), 0.05f);
}

TEST(Synth, LevelsFadesAndSamples) {
  datakit::Wave w(1000, 0.25f);
  w[10] = -0.5f;
  datakit::Normalise(w, 0.8f);
  EXPECT_FLOAT_EQ(w[10], -0.8f);
  datakit::Fade(w, 0.01f, 0.01f);
  EXPECT_FLOAT_EQ(w[0], 0.0f);
  EXPECT_LT(std::abs(w.back()), 0.01f);
  datakit::Wave silent(100, 0.0f);
  datakit::Normalise(silent, 0.9f);  // stays silent, no division by zero
  EXPECT_FLOAT_EQ(silent[50], 0.0f);
  const std::vector<std::int16_t> pcm = datakit::ToPcm16({2.0f, -2.0f, 0.5f});
  EXPECT_EQ(pcm, (std::vector<std::int16_t>{32767, -32767, 16384}));
  // A click in a room rings on after it.
  datakit::Wave click(100, 0.0f);
  click[0] = 1;
  datakit::Reverb(click, 0.5f, 0.5f, 0.5f);
  EXPECT_EQ(click.size(), 100u + datakit::Samples(0.5f));
  float late = 0;
  for (std::size_t i = 2000; i < 4000; ++i) late = std::max(late, std::abs(click[i]));
  EXPECT_GT(late, 0.001f);
}

TEST(Synth, WavFilesHaveTheFixedHeader) {
  const kit::Bytes wav = kit::MakeWav16Mono(22050, {1, -1, 300});
  ASSERT_EQ(wav.size(), 44u + 6);
  EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
  EXPECT_EQ(platform::ReadLe32(wav.data() + 4), 36u + 6);
  EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
  EXPECT_EQ(platform::ReadLe32(wav.data() + 16), 16u);
  EXPECT_EQ(platform::ReadLe16(wav.data() + 20), 1);  // PCM
  EXPECT_EQ(platform::ReadLe16(wav.data() + 22), 1);  // mono
  EXPECT_EQ(platform::ReadLe32(wav.data() + 24), 22050u);
  EXPECT_EQ(platform::ReadLe32(wav.data() + 28), 44100u);
  EXPECT_EQ(platform::ReadLe16(wav.data() + 32), 2);
  EXPECT_EQ(platform::ReadLe16(wav.data() + 34), 16);
  EXPECT_EQ(std::string(wav.begin() + 36, wav.begin() + 40), "data");
  EXPECT_EQ(platform::ReadLe32(wav.data() + 40), 6u);
  EXPECT_EQ(static_cast<std::int16_t>(platform::ReadLe16(wav.data() + 46)), -1);
}

}  // namespace
