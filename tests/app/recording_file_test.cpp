// The recording file: what is written is read back step for step, and a
// file cut short, with any bit flipped, of a later version or claiming more
// than it can hold is refused with its reason.
#include "app/recording_file.h"

#include <gtest/gtest.h>

namespace {

using Kind = RecordingStep::Kind;

RecordingStart Start() {
  RecordingStart start;
  start.program = "9.8.7";
  start.data = 0x0123456789ABCDEFull;
  start.clock = 1700000000;
  start.settings = {40, 0, true, "en"};
  start.state.ints.assign(GameIntCount(), 0);
  start.state.ints[GameIntIndex("gMouseX")] = 70000;  // as a diagnostic may leave it
  start.state.ints[GameIntIndex("gEndingScrollY")] = 880;
  start.state.objects[3][4] = CELL_FILE + 2;
  start.state.counts[17][24] = 7;
  start.state.random = 0xDEADBEEF;
  return start;
}

std::vector<std::uint8_t> Written() {
  RecordingWriter w(Start());
  w.Pointer(320, 240);  // far from 70000
  w.Passes(1);
  w.Pointer(323, 238);  // a hand's steps, near and predicted
  w.Passes(1);
  w.Pointer(327, 236);
  w.Passes(1);
  w.Button(1);
  w.Button(1);  // unchanged: no step
  w.Passes(3);
  w.Passes(0xFFFFFFF0u);  // one run of both
  w.Clock(1699999990);    // the calendar may go back
  w.Focus(0);             // as it was: no step
  w.Focus(1);
  w.Pointer(0, 479);
  w.Checkpoint(0xFEDCBA9876543210ull);
  w.Settings({100, 55, false, "ko"});
  w.Passes(2);
  return w.Finish({{-5, 17, 0, 1}, 0xFFFFFFF8ull, 42});
}

TEST(RecordingFile, ReadsBackWhatWasWritten) {
  Recording r;
  std::string why;
  ASSERT_TRUE(ReadRecording(Written(), r, why)) << why;
  EXPECT_EQ(r.start.program, "9.8.7");
  EXPECT_EQ(r.start.data, 0x0123456789ABCDEFull);
  EXPECT_EQ(r.start.settings, (RecordedSettings{40, 0, true, "en"}));
  EXPECT_EQ(r.start.state.ints, Start().state.ints);
  EXPECT_EQ(r.start.state.objects[3][4], CELL_FILE + 2);
  EXPECT_EQ(r.start.state.counts[17][24], 7);
  EXPECT_EQ(r.start.state.random, 0xDEADBEEFu);
  std::string seen;
  RecordingSteps steps(r);
  for (RecordingStep s; steps.Next(s);) {
    switch (s.kind) {
      case Kind::kPointer:
        seen += "p" + std::to_string(s.x) + "," + std::to_string(s.y);
        break;
      case Kind::kButton:
        seen += "b" + std::to_string(s.value);
        break;
      case Kind::kFocus:
        seen += "f" + std::to_string(s.value);
        break;
      case Kind::kPasses:
        seen += "x" + std::to_string(s.count);
        break;
      case Kind::kClock:
        seen += "c" + std::to_string(s.seconds);
        break;
      case Kind::kCheckpoint:
        seen += "k" + std::to_string(s.digest);
        break;
      case Kind::kSettings:
        seen += "s" + s.settings.language;
        break;
      case Kind::kEnd:
        seen += "e" + std::to_string(s.end.input.x) + "," + std::to_string(s.end.input.y) + "," +
                std::to_string(s.end.passes) + "," + std::to_string(s.end.digest);
        break;
    }
    seen += " ";
  }
  EXPECT_EQ(seen,
            "p320,240 x1 p323,238 x1 p327,236 x1 b1 x4294967283 c1699999990 f1 "
            "k18364758544493064720 sko p0,479 x1 x1 e-5,17,4294967288,42 ");
}

TEST(RecordingFile, RefusesDamageWithItsReason) {
  const std::vector<std::uint8_t> good = Written();
  Recording r;
  std::string why;
  for (std::size_t n = 0; n < good.size(); ++n) {
    EXPECT_FALSE(ReadRecording({good.begin(), good.begin() + n}, r, why)) << n;
  }
  EXPECT_NE(why.find("cut short"), std::string::npos) << why;
  for (std::size_t bit = 0; bit < good.size() * 8; ++bit) {
    std::vector<std::uint8_t> bad = good;
    bad[bit / 8] ^= 1 << bit % 8;
    EXPECT_FALSE(ReadRecording(bad, r, why)) << "bit " << bit;
  }
  auto withByte = [&](std::size_t at, std::uint8_t v) {
    std::vector<std::uint8_t> bad = good;
    bad[at] = v;
    ReadRecording(bad, r, why);
    return why;
  };
  EXPECT_NE(withByte(4, 2).find("format version 2"), std::string::npos) << why;
  EXPECT_NE(withByte(9, 0x40).find("more than a recording can hold"), std::string::npos) << why;
  std::vector<std::uint8_t> longer = good;
  longer.push_back(0);
  EXPECT_FALSE(ReadRecording(longer, r, why));
  EXPECT_NE(why.find("past its end"), std::string::npos) << why;
}

}  // namespace
