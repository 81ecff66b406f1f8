// The options on the real Linux game, heard through SDL's disk driver: a
// damaged settings file gives the defaults, one line and the .bad copy; the
// panel's buttons set the effects to 0, after which a click is silent, and
// the music to 50 %; the next start keeps them, and the ending's music has
// half the peak it has at full volume.
#include <fstream>

#include "window/walk.h"

namespace realwindow {
namespace {

class Options : public RealWindowWalk {
 protected:
  fs::path SettingsFile() const { return dir_ / "config/vedo-zeza1/settings.ini"; }

  void HearInto(const fs::path& raw) {
    env_.emplace_back("SDL_AUDIODRIVER", "disk");
    env_.emplace_back("SDL_DISKAUDIOFILE", raw.string());
  }

  // The largest sample of the raw capture (signed 16-bit, stereo) from
  // byte `from`; with `sound` set, only in the `sound` samples from the
  // first that is not silent.
  static int Peak(const fs::path& raw, std::uintmax_t from = 0, std::size_t sound = 0) {
    std::ifstream in(raw, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(from & ~std::uintmax_t{3}));
    int peak = 0;
    std::size_t heard = 0;
    for (char b[2]; in.read(b, 2) && (sound == 0 || heard < sound);) {
      const auto v = static_cast<std::int16_t>(static_cast<std::uint8_t>(b[0]) |
                                               (static_cast<std::uint8_t>(b[1]) << 8));
      peak = std::max(peak, std::abs(static_cast<int>(v)));
      if (peak > 0) ++heard;
    }
    return peak;
  }

  // The ending's music, started once the soundfont has long been read (so
  // that both starts play the tune from its first note); the peak of its
  // first two seconds.
  int EndingPeak(const std::string& name) {
    const fs::path raw = dir_ / (name + ".raw");
    HearInto(raw);
    env_.emplace_back("VEDO_DEBUG_SET",
                      "gInTitle=0,gProloguePending=0,gEnding=1,gEndingFrames=-150");
    StartGame(Data());
    EXPECT_TRUE(WaitUntil([&] { return GameTrace().Mark("music-start") != 0; }, 20000ms))
        << Log("game.log");
    const Trace t = GameTrace();
    EXPECT_TRUE(t.Mark("soundfont-loaded") != 0 &&
                t.Mark("soundfont-loaded") < t.Mark("music-start"))
        << "the soundfont came after the music started";
    FramesWithin(2500ms, 1000);
    ExpectEscapeQuitsCleanly();
    return Peak(raw, 0, 2 * 88200);
  }
};

TEST_F(Options, TakeEffectAreKeptAndADamagedFileIsSetAside) {
  StartWindowManager();
  const Frames& any = Rendered(Now(), Now(), Now());
  fs::create_directories(SettingsFile().parent_path());
  std::ofstream(SettingsFile()) << "effects-volume = loud\n";
  const fs::path raw = dir_ / "clicks.raw";
  HearInto(raw);
  StartGame(Data());
  ASSERT_EQ(WaitFor(any.at("title"), 20000ms), "") << Failure("options_title");
  EXPECT_TRUE(fs::exists(SettingsFile().string() + ".bad"));
  EXPECT_FALSE(fs::exists(SettingsFile()));
  const std::string log = Log("game.log");
  EXPECT_EQ(log.find("are damaged"), log.rfind("are damaged")) << log;
  EXPECT_NE(log.find("are damaged (line 1: effects-volume takes"), std::string::npos) << log;

  // The title's click is heard at the default, full volume.
  MoveTo(ScreenX(kNeutralX), ScreenY(kNeutralY));
  ASSERT_EQ(PressUntil(any.at("warning")), "") << Failure("options_warning");
  ASSERT_TRUE(WaitForFrames(90));
  // The effects to 10 % by their first segment, then to 0 by their minus;
  // the music to 50 % by its fifth segment.
  ASSERT_TRUE(Xdotool({"key", "F1"}));
  ClickPanel(kOptionsSegment, 0);
  ClickPanel(kOptionsMinus, 0);
  ClickPanel(kOptionsSegment, 1, 4 * kOptionsSegmentPitch);
  ASSERT_TRUE(Xdotool({"key", "F1"}));
  ASSERT_TRUE(WaitForFrames(5));
  const std::uintmax_t changed = fs::file_size(raw);
  // The start button's click, and the prologue's sound, are not.
  MoveTo(ScreenX(kNormalStartX), ScreenY(kNormalStartY));
  ASSERT_EQ(PressUntil(any.at("prologue1")), "") << Failure("options_prologue");
  ASSERT_TRUE(WaitForFrames(60));
  ExpectEscapeQuitsCleanly();
  EXPECT_GT(Peak(raw), 1000) << "the title's click was not heard";
  EXPECT_EQ(Peak(raw, changed), 0) << "effects were heard at volume 0";
  std::ifstream kept(SettingsFile());
  const std::string text{std::istreambuf_iterator<char>(kept), {}};
  EXPECT_NE(text.find("effects-volume = 0\n"), std::string::npos) << text;
  EXPECT_NE(text.find("music-volume = 50\n"), std::string::npos) << text;

  // The next start keeps them: the music at half its full volume's peak.
  const int half = EndingPeak("half");
  std::ofstream(SettingsFile()) << "music-volume = 100\n";
  const int full = EndingPeak("full");
  ASSERT_GT(full, 1000) << "the music was not heard";
  EXPECT_NEAR(static_cast<double>(half) / full, 0.5, 0.03) << half << " at 50 %, " << full;
}

}  // namespace
}  // namespace realwindow
