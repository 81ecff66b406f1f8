// The real game on the generated data folder, played through the mouse from
// the title to its first two fights, with the screen compared at every
// checkpoint against the same frame rendered headless by vedo-replay from the
// same data and the same input.
//
// What is random is pinned down rather than ignored: the field is populated,
// and each attack resolved, from the calendar clock in whole seconds. The
// test notes the seconds around each of those moments, renders the frames
// for every second they may have fallen in, and requires the screen to match
// one of them exactly.
//
// The walk is the same for every build that runs in an X window.
#pragma once

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>
#include <tuple>

#include "state/data_contract.h"
#include "window/real_window.h"

namespace realwindow {

// Frame positions the walk uses; even, so that each is one frame pixel.
constexpr int kNeutralX = 320;  // on the title and warning, clear of the buttons
constexpr int kNeutralY = 400;
constexpr int kNormalStartX = 150;  // the warning's normal start button
constexpr int kNormalStartY = 130;
constexpr int kPageButtonX = 456;  // the prologue's page button
constexpr int kPageButtonY = 316;
constexpr int kCellX = 100;  // a field cell clear of the event window
constexpr int kCellY = 300;
constexpr int kEventButtonX = 456;  // the event window's button
constexpr int kEventButtonY = 256;
constexpr int kBarRowY = 200;     // the row at which the pointer sits in a bar
constexpr int kBarAttackY = 100;  // the row of the click in the left bar
// Screen columns in the letterbox bars, left and right of the frame.
constexpr int kLeftBarX = 20;
constexpr int kRightBarX = 1250;

// The input of the walk as a replay script; `populate`, `attack1` and
// `attack2` are the clock's seconds at the field's first frame and at the two
// attacks. The waits are long enough for every debounce.
inline std::string WalkScript(std::int64_t populate, std::int64_t attack1, std::int64_t attack2) {
  std::ostringstream s;
  auto click = [&s](const char* shot) {
    s << "down\nframes 1\nup\nframes 3\nshot " << shot << ".png\n";
  };
  s << "time " << populate << "\n";
  s << "move " << kNeutralX << " " << kNeutralY << "\nframes 20\nshot title.png\n";
  click("warning");
  s << "move " << kNormalStartX << " " << kNormalStartY << "\nframes 15\n";
  click("prologue1");
  s << "move " << kPageButtonX << " " << kPageButtonY << "\nframes 15\n";
  click("prologue2");
  s << "frames 15\ntime " << populate << "\n";
  click("field");
  s << "move 639 " << kBarRowY << "\nframes 30\nshot right.png\n";
  s << "move 0 " << kBarRowY << "\nframes 30\nshot left.png\n";
  s << "move 639 " << kBarRowY << "\nframes 30\n";
  // The options panel over the aim, opened and closed with no pass between;
  // the pointer at the top right corner, where the view is at its ends; and
  // back.
  s << "move " << kCellX << " " << kCellY << "\nframes 10\nshot aim.png\n";
  s << "key f1\nshot panel.png\nkey f1\n";
  s << "move 639 0\nframes 5\nshot corner.png\n";
  s << "move " << kCellX << " " << kCellY << "\nframes 5\ntime " << attack1 << "\n";
  click("event1");
  s << "move " << kEventButtonX << " " << kEventButtonY << "\nframes 10\n";
  click("closed");
  s << "move 0 " << kBarAttackY << "\nframes 30\nshot leftbar.png\ntime " << attack2 << "\n";
  click("event2");
  return s.str();
}

using Frames = std::map<std::string, pngio::RgbImage>;
// The clock's seconds at the population and at the two attacks.
using Seconds = std::tuple<std::int64_t, std::int64_t, std::int64_t>;

class RealWindowWalk : public GameWindow {
 protected:
  // The walk's frames for the given seconds, rendered once each.
  const Frames& Rendered(std::int64_t populate, std::int64_t attack1, std::int64_t attack2) {
    const auto key = std::make_tuple(populate, attack1, attack2);
    auto found = rendered_.find(key);
    if (found != rendered_.end()) return found->second;
    Frames& frames = rendered_[key];
    const fs::path out = dir_ / ("replay-" + std::to_string(rendered_.size()));
    fs::create_directories(out);
    testdata::WriteFile(out / "walk.vrs", [&] {
      const std::string text = WalkScript(populate, attack1, attack2);
      return std::vector<std::uint8_t>(text.begin(), text.end());
    }());
    const std::string replay = std::string(VEDO_BINARY_DIR) + "/tools/replay/vedo-replay";
    Process run({.argv = {replay, "--data", Data().string(), "walk.vrs"},
                 .env = {{"SDL_AUDIODRIVER", "dummy"}},
                 .workDir = out,
                 .out = out / "replay.log"});
    const int code = run.Wait(60000ms);
    EXPECT_EQ(code, 0) << "vedo-replay (" << run.HowItEnded() << "):\n"
                       << [&] {
                            std::ifstream in(out / "replay.log");
                            std::ostringstream t;
                            t << in.rdbuf();
                            return t.str();
                          }();
    for (const char* name : {"title", "warning", "prologue1", "prologue2", "field", "right", "left",
                             "aim", "panel", "corner", "event1", "closed", "leftbar", "event2"}) {
      std::string error;
      pngio::ReadPng((out / (std::string(name) + ".png")).string(), frames[name], &error);
    }
    return frames;
  }

  const Frames& Rendered(const Seconds& at) {
    return Rendered(std::get<0>(at), std::get<1>(at), std::get<2>(at));
  }

  static fs::path Data() { return fs::path(VEDO_BINARY_DIR) / "data"; }

  // Takes screenshots until the screen shows the `name` frame of one or
  // more of the candidates (within `limit`); those candidates, or none.
  std::vector<Seconds> WaitForAnyOf(const std::vector<Seconds>& candidates, const std::string& name,
                                    std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    std::vector<Seconds> showing;
    do {
      std::string shotWhy;
      if (TakeShot(shot_, shotWhy)) {
        for (const Seconds& c : candidates) {
          if (Differences(shot_, Rendered(c).at(name)).empty()) showing.push_back(c);
        }
        if (!showing.empty()) return showing;
      }
      std::this_thread::sleep_for(40ms);
    } while (std::chrono::steady_clock::now() < end && game_.Running());
    return showing;
  }

  // Where the screen differs from a 640 x 480 frame, or "" when it shows
  // exactly that frame, scaled by 1.5 and centred between black bars (whose
  // check another window in a bar may switch off).
  std::string Differences(const Shot& s, const pngio::RgbImage& f, bool bars = true) {
    if (f.width != 640 || f.height != 480) return "no expected frame";
    if (s.width != kScreenW || s.height != kScreenH) return "screen size differs";
    for (int y = 0; bars && y < kScreenH; y += 2) {
      for (int x : {0, kLeftBarX, kFrameLeft - 1, kFrameLeft + kFrameW, kRightBarX, kScreenW - 1}) {
        if (s.At(x, y) != 0) {
          return "bar pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is not black";
        }
      }
    }
    return FrameDifferences(s, f);
  }

  // Where the frame on the screen differs from `f`, or "".
  std::string FrameDifferences(const Shot& s, const pngio::RgbImage& f) {
    const pngio::RgbImage seen = FrameOnScreen(s);
    int count = 0;
    std::string first;
    for (std::size_t i = 0; i < f.rgb.size(); i += 3) {
      if (std::equal(&f.rgb[i], &f.rgb[i] + 3, &seen.rgb[i])) continue;
      if (count++ == 0) {
        const auto rgb = [](const std::uint8_t* p) {
          return (std::uint32_t{p[0]} << 16) | (p[1] << 8) | p[2];
        };
        char text[96];
        std::snprintf(text, sizeof text, "first at frame (%d, %d): %06X instead of %06X",
                      static_cast<int>(i / 3 % 640), static_cast<int>(i / 3 / 640),
                      rgb(&seen.rgb[i]), rgb(&f.rgb[i]));
        first = text;
      }
    }
    if (count == 0) return "";
    return std::to_string(count) + " frame pixels differ; " + first;
  }

  // The 640 x 480 frame the screen shows, read at the screen pixels that
  // ScreenX and ScreenY name.
  static pngio::RgbImage FrameOnScreen(const Shot& s) {
    pngio::RgbImage frame;
    frame.width = 640;
    frame.height = 480;
    frame.rgb.resize(640 * 480 * 3);
    for (int y = 0; y < 480; ++y) {
      for (int x = 0; x < 640; ++x) {
        const std::uint32_t v = s.At(ScreenX(x), ScreenY(y));
        std::uint8_t* p = &frame.rgb[(static_cast<std::size_t>(y) * 640 + x) * 3];
        p[0] = static_cast<std::uint8_t>(v >> 16);
        p[1] = static_cast<std::uint8_t>(v >> 8);
        p[2] = static_cast<std::uint8_t>(v);
      }
    }
    return frame;
  }

  // Takes screenshots until one shows `want`; "" or the last difference.
  std::string WaitFor(const pngio::RgbImage& want, std::chrono::milliseconds limit,
                      bool bars = true) {
    const auto end = std::chrono::steady_clock::now() + limit;
    std::string why = "no screenshot";
    do {
      std::string shotWhy;
      if (!TakeShot(shot_, shotWhy)) {
        why = shotWhy;
      } else if ((why = Differences(shot_, want, bars)).empty()) {
        return "";
      }
      if (!game_.Running()) return "the game ended (" + game_.HowItEnded() + ")";
      std::this_thread::sleep_for(40ms);
    } while (std::chrono::steady_clock::now() < end);
    return why;
  }

  // Takes screenshots until the screen no longer shows `was`; false when it
  // still does after `limit`.
  bool WaitForChange(const pngio::RgbImage& was, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    do {
      std::string shotWhy;
      if (TakeShot(shot_, shotWhy) && !Differences(shot_, was).empty()) {
        // Once more, a few frames later, so that the new screen has settled.
        return WaitForFrames(6) && TakeShot(shot_, shotWhy);
      }
      std::this_thread::sleep_for(40ms);
    } while (std::chrono::steady_clock::now() < end && game_.Running());
    return false;
  }

  void MoveTo(int screenX, int screenY) {
    ASSERT_TRUE(Xdotool({"mousemove", "--sync", std::to_string(screenX), std::to_string(screenY)}));
  }

  // A press of 50 ms: a few passes, fewer than any screen's debounce, so
  // one press never acts twice. A burst is a press and release sent at once,
  // as a tap or a touchpad's tap-to-click comes, released before any pass
  // could see it.
  void Press(bool burst = false) {
    if (burst) {
      EXPECT_TRUE(Xdotool({"click", "1"}));
    } else {
      EXPECT_TRUE(Xdotool({"mousedown", "1", "sleep", "0.05", "mouseup", "1"}));
    }
  }

  // Presses until the screen shows `want` (a press that comes before the
  // screen's debounce has run out does nothing and is made again); "" or
  // why not.
  std::string PressUntil(const pngio::RgbImage& want, bool burst = false) {
    // Past every debounce (12 passes) before the first press.
    if (!WaitForFrames(13)) return "the game stopped drawing: " + State();
    std::string why;
    for (int attempt = 0; attempt < 5; ++attempt) {
      Press(burst);
      if ((why = WaitFor(want, 1500ms)).empty()) return "";
    }
    return why;
  }

  // Presses until the screen changes from `was`; false when it does not.
  bool PressUntilChange(const pngio::RgbImage& was, bool burst = false) {
    if (!WaitForFrames(13)) return false;
    for (int attempt = 0; attempt < 5; ++attempt) {
      Press(burst);
      if (WaitForChange(was, 1500ms)) return true;
    }
    return false;
  }

  virtual void StartTheGame(const fs::path& data, const std::vector<std::string>& options = {}) {
    StartGame(data, options);
  }

  // A click on the options panel's box `b` in row `row`, `dx` pixels right
  // of its left edge.
  void ClickPanel(const PanelBox& b, int row, int dx = 0) {
    const int x = kOptionsX + b.left + 4 + dx;
    const int y = kOptionsY + kOptionsRowTop + row * kOptionsRowPitch + b.top + 4;
    MoveTo(ScreenX(x), ScreenY(y));
    EXPECT_TRUE(Xdotool({"click", "1"}));
  }
  // The path the game names, as this machine reaches it.
  virtual fs::path HostPath(const std::string& path) { return path; }

  // Whether the screen shows `frame` unscaled somewhere (in a window,
  // wherever the window manager put it and whatever frames it).
  static bool ShowsUnscaled(const Shot& s, const pngio::RgbImage& frame) {
    const auto want = [&](int x, int y) {
      const std::uint8_t* p = &frame.rgb[(static_cast<std::size_t>(y) * 640 + x) * 3];
      return (std::uint32_t{p[0]} << 16) | (p[1] << 8) | p[2];
    };
    for (int top = 0; top + 480 <= s.height; ++top) {
      for (int left = 0; left + 640 <= s.width; ++left) {
        bool same = true;
        for (int y = 0; y < 480 && same; y += y == 0 ? 1 : 7) {
          for (int x = 0; x < 640 && same; ++x) same = s.At(left + x, top + y) == want(x, y);
        }
        if (same) return true;
      }
    }
    return false;
  }

  // The program's keys at the aim, where the field stands still. F12 saves
  // the frame as it is. F1 shows the options over it, the replay's panel,
  // and no pass is played while they are open. With the pointer in the
  // screen's top right corner (the frame's, at the view's ends, in both
  // modes), Alt+Enter makes the game a window of the frame's own size, and
  // full screen again. The walk then goes on as the replay's, whose game saw
  // no key.
  void ProgramKeysAtTheAim(const Frames& any) {
    ASSERT_TRUE(Xdotool({"key", "F12"}));
    ASSERT_TRUE(WaitUntil([&] { return !SavedScreenshot().empty(); }, 10000ms)) << Log("game.log");
    pngio::RgbImage saved;
    std::string error;
    ASSERT_TRUE(pngio::ReadPng(HostPath(SavedScreenshot()).string(), saved, &error)) << error;
    EXPECT_TRUE(saved.width == 640 && saved.height == 480 && saved.rgb == any.at("aim").rgb)
        << "the screenshot " << SavedScreenshot() << " is not the frame";

    ASSERT_TRUE(Xdotool({"key", "F1"}));
    std::string why = WaitFor(any.at("panel"), 10000ms);
    ASSERT_EQ(why, "") << "the options: " << Failure("panel");
    EXPECT_LE(FramesWithin(600ms, 5), 1) << "frames were drawn while the options were open";
    ASSERT_TRUE(Xdotool({"key", "F1"}));

    MoveTo(kScreenW - 1, 0);
    why = WaitFor(any.at("corner"), 10000ms);
    ASSERT_EQ(why, "") << "pointer in the corner: " << Failure("corner");
    ASSERT_TRUE(Xdotool({"key", "alt+Return"}));
    bool windowed = false;
    WaitUntil(
        [&] {
          std::string shotWhy;
          return windowed = TakeShot(shot_, shotWhy) && ShowsUnscaled(shot_, any.at("corner"));
        },
        10000ms);
    ASSERT_TRUE(windowed) << "Alt+Enter shows no window of the frame: " << Failure("window");
    ASSERT_TRUE(Xdotool({"key", "alt+Return"}));
    why = WaitFor(any.at("corner"), 5000ms);
    if (!why.empty()) {
      // The window manager may have put the small window under the pointer,
      // and the game took the pointer's place in it; a mode change moves no
      // pointer, so the game learns of the corner again from a move, as it
      // would from a player's hand.
      MoveTo(kScreenW - 2, 1);
      MoveTo(kScreenW - 1, 0);
      why = WaitFor(any.at("corner"), 10000ms);
    }
    ASSERT_EQ(why, "") << "full screen again: " << Failure("full");
    MoveTo(ScreenX(kCellX), ScreenY(kCellY));
    why = WaitFor(any.at("aim"), 3000ms);
    ASSERT_EQ(why, "") << "back on the cell: " << Failure("back");
  }

  std::string Failure(const std::string& checkpoint) {
    return Keep(shot_, "real_window_walk_" + checkpoint) + "\n" + State() + Log("game.log");
  }

  static std::int64_t Now() { return static_cast<std::int64_t>(std::time(nullptr)); }

  // From the title through the warning and the prologue to the field, two
  // attacks and their event windows, with the focus lost and regained on the
  // way; Escape ends it.
  void Walk() {
    if (!xsession::OnPath("openbox") || !xsession::OnPath("xeyes")) {
      GTEST_SKIP() << "needs openbox and xeyes";
    }
    ASSERT_TRUE(fs::exists(Data() / "city.map")) << "the data kit has not been generated";
    StartWindowManager();
    const Frames& any = Rendered(Now(), Now(), Now());
    ASSERT_FALSE(HasFailure());

    // The game is recorded, with the state at every checkpoint beside.
    env_.emplace_back("VEDO_RECORDING_DUMPS", (dir_ / "played").string());
    fs::create_directories(dir_ / "played");
    StartTheGame(Data(), {"--record", (dir_ / "walk.vzr").string()});
    std::string why = WaitFor(any.at("title"), 20000ms);
    ASSERT_EQ(why, "") << "title: " << Failure("title");

    // The title and the first attack take bursts, which must not be lost.
    MoveTo(ScreenX(kNeutralX), ScreenY(kNeutralY));
    why = PressUntil(any.at("warning"), true);
    ASSERT_EQ(why, "") << "warning: " << Failure("warning");

    MoveTo(ScreenX(kNormalStartX), ScreenY(kNormalStartY));
    why = PressUntil(any.at("prologue1"));
    ASSERT_EQ(why, "") << "prologue, first page: " << Failure("prologue1");

    MoveTo(ScreenX(kPageButtonX), ScreenY(kPageButtonY));
    why = PressUntil(any.at("prologue2"));
    ASSERT_EQ(why, "") << "prologue, second page: " << Failure("prologue2");

    // The field; it is populated from the clock on its first frame.
    const std::int64_t populatedFrom = Now();
    why = PressUntil(any.at("field"));
    const std::int64_t populatedTo = Now();
    ASSERT_EQ(why, "") << "field: " << Failure("field");

    // A pointer in a letterbox bar counts at the frame's edge, where it
    // scrolls the view: all the way right from the right bar, back from the
    // left one.
    MoveTo(kRightBarX, ScreenY(kBarRowY));
    why = WaitFor(any.at("right"), 3000ms);
    ASSERT_EQ(why, "") << "scrolled right from the bar: " << Failure("right");
    MoveTo(kLeftBarX, ScreenY(kBarRowY));
    why = WaitFor(any.at("left"), 3000ms);
    ASSERT_EQ(why, "") << "scrolled left from the bar: " << Failure("left");

    // Without the focus the field stands still, with the pointer in the right
    // bar; with the focus back it scrolls on. (xeyes sits in the left bar and
    // does not take the focus itself, so it is given to it.)
    {
      Process other = FocusAnotherWindow();
      ASSERT_FALSE(HasFailure());
      ASSERT_TRUE(WaitForQuiet(200ms)) << "the game kept drawing without the focus";
      MoveTo(kRightBarX, ScreenY(kBarRowY));
      const int drawn = FramesWithin(700ms, 0);
      EXPECT_EQ(drawn, 0) << "frames were drawn without the focus";
      why = WaitFor(any.at("left"), 0ms, false);
      ASSERT_EQ(why, "") << "the field moved without the focus: " << Failure("unfocused");
      ASSERT_TRUE(FocusTheGame());
      why = WaitFor(any.at("right"), 3000ms);
      ASSERT_EQ(why, "") << "the field did not go on with the focus back: " << Failure("refocused");
    }

    // An attack on a hidden cell opens the event window. Its page, and the
    // field under it, depend on the seconds of the population and the attack:
    // one of the possible renderings must match.
    MoveTo(ScreenX(kCellX), ScreenY(kCellY));
    why = WaitFor(any.at("aim"), 3000ms);
    ASSERT_EQ(why, "") << "pointer on a cell: " << Failure("aim");
    ProgramKeysAtTheAim(any);
    if (HasFatalFailure()) return;
    const std::int64_t attackFrom = Now();
    ASSERT_TRUE(PressUntilChange(any.at("aim"), true)) << "attack: " << Failure("attack");
    const std::int64_t attackTo = Now();
    // Two fields may show the same page over the same cell: every pair of
    // seconds that fits is kept, and the later checkpoints tell them apart.
    std::vector<Seconds> fits;
    std::string closest;
    for (std::int64_t p = populatedFrom; p <= populatedTo; ++p) {
      for (std::int64_t a = attackFrom; a <= attackTo; ++a) {
        const std::string d = Differences(shot_, Rendered(p, a, a).at("event1"));
        if (d.empty()) fits.emplace_back(p, a, a);
        closest += "\n  population at " + std::to_string(p) + ", attack at " + std::to_string(a) +
                   ": " + (d.empty() ? "matches" : d);
      }
    }
    ASSERT_FALSE(fits.empty()) << "the event window matches no rendering:" << closest
                               << Failure("event1");

    // Its button closes it, and the cell stays open.
    MoveTo(ScreenX(kEventButtonX), ScreenY(kEventButtonY));
    ASSERT_TRUE(WaitForFrames(13)) << "the game stopped drawing: " << State();
    std::vector<Seconds> closed;
    for (int attempt = 0; attempt < 5 && closed.empty(); ++attempt) {
      Press();
      closed = WaitForAnyOf(fits, "closed", 1500ms);
    }
    ASSERT_FALSE(closed.empty()) << "event window closed: " << Failure("closed");
    fits = closed;

    // A click in the left bar attacks the cell at the frame's left edge (once
    // the pointer there has scrolled the view back to the map's left edge).
    MoveTo(kLeftBarX, ScreenY(kBarAttackY));
    fits = WaitForAnyOf(fits, "leftbar", 3000ms);
    ASSERT_FALSE(fits.empty()) << "pointer in the left bar: " << Failure("leftbar");
    const std::int64_t secondFrom = Now();
    ASSERT_TRUE(PressUntilChange(Rendered(fits.front()).at("leftbar")))
        << "attack from the bar: " << Failure("attack2");
    const std::int64_t secondTo = Now();
    bool matched = false;
    closest.clear();
    for (const auto& [p, a1, unused] : fits) {
      for (std::int64_t a2 = secondFrom; a2 <= secondTo && !matched; ++a2) {
        const std::string d = Differences(shot_, Rendered(p, a1, a2).at("event2"));
        matched = d.empty();
        closest += "\n  population at " + std::to_string(p) + ", attacks at " + std::to_string(a1) +
                   " and " + std::to_string(a2) + ": " + d;
      }
    }
    ASSERT_TRUE(matched) << "the second event window matches no rendering:" << closest
                         << Failure("event2");
    lastFrame_ = FrameOnScreen(shot_);

    // Escape in the middle of an event window.
    ExpectEscapeQuitsCleanly();
    ExpectTheRecordingPlaysBack();
  }

  // The walk's recording, played headless by the Linux replay tool: it comes
  // out as recorded, with the same state at every checkpoint as the game
  // had, and ends on the frame the screen showed last. (With
  // VEDO_MAKE_RECORDINGS naming a folder, it is kept there too.)
  void ExpectTheRecordingPlaysBack() {
    const fs::path recording = dir_ / "walk.vzr";
    ASSERT_TRUE(fs::exists(recording)) << "the game wrote no recording: " << Log("game.log");
    if (const char* keep = std::getenv("VEDO_MAKE_RECORDINGS")) {
      fs::copy_file(recording, fs::path(keep) / (RecordingName() + ".vzr"),
                    fs::copy_options::overwrite_existing);
    }
    fs::create_directories(dir_ / "replayed");
    Process run({.argv = {std::string(VEDO_BINARY_DIR) + "/tools/replay/vedo-replay", "--data",
                          Data().string(), "--dumps", (dir_ / "replayed").string(), "--shot",
                          (dir_ / "replayed.png").string(), "--play", recording.string()},
                 .out = dir_ / "replayed.log"});
    ASSERT_EQ(run.Wait(60000ms), 0) << Log("replayed.log");
    int dumps = 0;
    for (const auto& played : fs::directory_iterator(dir_ / "played")) {
      // gameN-PASSES.json beside walk-PASSES.json
      const std::string name = played.path().filename().string();
      const fs::path replayed = dir_ / "replayed" / ("walk" + name.substr(name.find('-')));
      const auto text = [](const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
      };
      EXPECT_EQ(text(played.path()), text(replayed)) << name;
      ++dumps;
    }
    EXPECT_GE(dumps, 1);
    pngio::RgbImage end;
    std::string error;
    ASSERT_TRUE(pngio::ReadPng((dir_ / "replayed.png").string(), end, &error)) << error;
    EXPECT_TRUE(end.rgb == lastFrame_.rgb) << "the replayed end differs from the screen's";
  }

  virtual std::string RecordingName() const { return "linux-walk"; }

  Shot shot_;
  pngio::RgbImage lastFrame_;  // the walk's last screen, as a frame
  std::map<Seconds, Frames> rendered_;
};

}  // namespace realwindow
