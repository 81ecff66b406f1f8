// The real program in a real window: an X server of its own (Xvfb at
// 1280 x 720), a window manager (openbox), the game started on the standard
// test data, input through xdotool and screenshots through xwd.
//
// Skipped only when Xvfb is not installed. Every wait has a time limit, and
// every process started here is ended here.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "common/png_io.h"
#include "support/test_data.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kScreenW = 1280;
constexpr int kScreenH = 720;
// 640 x 480 scaled by 1.5 to fill the height, centred: bars of 160 pixels.
constexpr int kFrameLeft = 160;
constexpr int kFrameW = 960;

bool OnPath(const std::string& tool) {
  const char* path = std::getenv("PATH");
  std::istringstream dirs(path != nullptr ? path : "/usr/bin:/bin");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    if (!dir.empty() && access((dir + "/" + tool).c_str(), X_OK) == 0) return true;
  }
  return false;
}

// A child process with its own environment additions, working folder and
// output file; ended (SIGTERM, then SIGKILL) when dropped.
class Child {
 public:
  Child() = default;
  Child(const std::vector<std::string>& argv, const std::vector<std::string>& env,
        const fs::path& cwd, const fs::path& output, int keepFd = -1) {
    pid_ = fork();
    if (pid_ != 0) return;
    if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(126);
    const int out =
        open(output.empty() ? "/dev/null" : output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, 1);
    dup2(out, 2);
    const int in = open("/dev/null", O_RDONLY);
    dup2(in, 0);
    for (int fd = 3; fd < 256; ++fd) {
      if (fd != keepFd) close(fd);
    }
    for (const std::string& e : env) putenv(const_cast<char*>(e.c_str()));
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  Child(Child&& other) noexcept { *this = std::move(other); }
  Child& operator=(Child&& other) noexcept {
    std::swap(pid_, other.pid_);
    std::swap(status_, other.status_);
    return *this;
  }
  ~Child() { Stop(); }

  pid_t pid() const { return pid_; }
  bool Running() {
    if (pid_ <= 0 || status_ >= 0) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      status_ = status;
      return false;
    }
    return true;
  }
  // Waits for the exit; its code, or -1 on a signal or the time limit.
  int Wait(std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (Running() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(20ms);
    if (Running()) return -1;
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
  }
  void Stop() {
    if (!Running()) return;
    kill(pid_, SIGTERM);
    if (Wait(3000ms) == -1 && Running()) {
      kill(pid_, SIGKILL);
      Wait(3000ms);
    }
  }

 private:
  pid_t pid_ = -1;
  int status_ = -1;
};

// Runs a short command to its end (10 s at most); its exit code.
int RunTool(const std::vector<std::string>& argv, const std::vector<std::string>& env,
            const fs::path& output = {}) {
  Child c(argv, env, {}, output);
  const int code = c.Wait(10000ms);
  return code;
}

struct Shot {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> rgb;  // 0xRRGGBB
  std::uint32_t At(int x, int y) const { return rgb[static_cast<std::size_t>(y) * width + x]; }
};

std::uint32_t Be32(const std::vector<unsigned char>& b, std::size_t at) {
  return (std::uint32_t{b[at]} << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}

// Reads an xwd file of a 24-bit TrueColor screen (ZPixmap, 32 bits a pixel).
bool ReadXwd(const fs::path& path, Shot& shot, std::string& why) {
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), {});
  if (b.size() < 100) {
    why = "no screenshot";
    return false;
  }
  const std::uint32_t headerSize = Be32(b, 0);
  const std::uint32_t format = Be32(b, 8);
  const std::uint32_t width = Be32(b, 16);
  const std::uint32_t height = Be32(b, 20);
  const std::uint32_t byteOrder = Be32(b, 28);
  const std::uint32_t bitsPerPixel = Be32(b, 44);
  const std::uint32_t bytesPerLine = Be32(b, 48);
  const std::uint32_t redMask = Be32(b, 56);
  const std::uint32_t greenMask = Be32(b, 60);
  const std::uint32_t blueMask = Be32(b, 64);
  const std::uint32_t colours = Be32(b, 76);
  if (format != 2 || bitsPerPixel != 32 || redMask != 0xFF0000 || greenMask != 0xFF00 ||
      blueMask != 0xFF) {
    why = "unexpected screenshot format";
    return false;
  }
  const std::size_t data = headerSize + static_cast<std::size_t>(colours) * 12;
  if (b.size() < data + static_cast<std::size_t>(bytesPerLine) * height) {
    why = "screenshot cut short";
    return false;
  }
  shot.width = static_cast<int>(width);
  shot.height = static_cast<int>(height);
  shot.rgb.resize(static_cast<std::size_t>(width) * height);
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      const std::size_t at = data + static_cast<std::size_t>(y) * bytesPerLine + x * 4;
      const std::uint32_t v = byteOrder == 0 ? (b[at] | (b[at + 1] << 8) | (b[at + 2] << 16))
                                             : (b[at + 3] | (b[at + 2] << 8) | (b[at + 1] << 16));
      shot.rgb[static_cast<std::size_t>(y) * width + x] = v & 0xFFFFFF;
    }
  }
  return true;
}

double CpuSeconds(pid_t pid);

// The title picture of this test: one-pixel stripes, so that a scaling that
// blends neighbours would show colours that are not in the picture.
testdata::Bgr Stripe(int x, int y) {
  const bool a = x % 2 == 0;
  const bool b = y % 3 == 0;
  return {static_cast<std::uint8_t>(a ? 0xF0 : 0x30), static_cast<std::uint8_t>(b ? 0xE0 : 0x50),
          0x80};
}
constexpr std::uint32_t kPlaceholderGrey = 0x404040;

class RealWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!OnPath("Xvfb")) GTEST_SKIP() << "Xvfb is not installed";
    for (const char* tool : {"xdotool", "xwd"}) {
      ASSERT_TRUE(OnPath(tool)) << tool << " is needed beside Xvfb";
    }
    dir_ = testdata::MakeTempDir("vedo-window");
    data_ = dir_ / "data";
    fs::create_directory(data_);
    testdata::WriteStandardData(data_);
    testdata::WriteFile(data_ / "Title.bmp", testdata::Bmp24Bytes(640, 480, Stripe));

    // Xvfb picks a free display itself and names it on the pipe when it
    // takes connections.
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    xvfb_ = Child({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0",
                   std::to_string(kScreenW) + "x" + std::to_string(kScreenH) + "x24", "-nolisten",
                   "tcp", "-noreset"},
                  {}, {}, dir_ / "xvfb.log", fds[1]);
    close(fds[1]);
    std::string number;
    const auto end = std::chrono::steady_clock::now() + 15s;
    fcntl(fds[0], F_SETFL, O_NONBLOCK);
    while (std::chrono::steady_clock::now() < end && xvfb_.Running()) {
      char c = 0;
      const ssize_t n = read(fds[0], &c, 1);
      if (n == 1 && c == '\n') break;
      if (n == 1) number.push_back(c);
      if (n <= 0) std::this_thread::sleep_for(20ms);
    }
    close(fds[0]);
    ASSERT_FALSE(number.empty()) << "Xvfb did not start:\n" << Log("xvfb.log");
    // No sound card here. In a sanitizer build the leak check is left to
    // the in-process tests: the X and D-Bus libraries the real window brings
    // in keep a few hundred bytes to the end of the process, which would
    // turn the game's exit code into the checker's.
    env_ = {"DISPLAY=:" + number, "SDL_AUDIODRIVER=dummy", "ASAN_OPTIONS=detect_leaks=0"};
  }

  // Starts openbox and waits until it manages windows.
  void StartWindowManager() {
    {
      // openbox runs its start-up command once it manages windows.
      const fs::path ready = dir_ / "openbox.ready";
      wm_ = Child({"openbox", "--sm-disable", "--startup", "touch " + ready.string()}, env_, {},
                  dir_ / "openbox.log");
      const auto wmEnd = std::chrono::steady_clock::now() + 15s;
      while (std::chrono::steady_clock::now() < wmEnd && wm_.Running() && !fs::exists(ready)) {
        std::this_thread::sleep_for(50ms);
      }
      ASSERT_TRUE(fs::exists(ready)) << "openbox did not start:\n" << Log("openbox.log");
    }
  }

  // Starts the game and waits (20 s at most) until the screen shows its
  // frame; why it does not, or "".
  std::string StartGameAndWaitForTheFrame(Shot& shot) {
    const std::string game = std::string(VEDO_BINARY_DIR) + "/src/vedo-zeza1";
    game_ = Child({game}, env_, data_, dir_ / "game.log");
    std::string why = "no screenshot yet";
    const auto end = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < end && game_.Running()) {
      if (TakeShot(shot, why) && (why = CheckFrame(shot)).empty()) return "";
      std::this_thread::sleep_for(200ms);
    }
    if (!game_.Running()) return "the game ended";
    return why;
  }

  std::string Log(const std::string& name) {
    std::ifstream in(dir_ / name);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  void TearDown() override {
    game_.Stop();
    wm_.Stop();
    xvfb_.Stop();
    if (!dir_.empty()) fs::remove_all(dir_);
  }

  bool TakeShot(Shot& shot, std::string& why) {
    const fs::path file = dir_ / "shot.xwd";
    if (RunTool({"xwd", "-root", "-silent", "-out", file.string()}, env_) != 0) {
      why = "xwd failed";
      return false;
    }
    return ReadXwd(file, shot, why);
  }

  // Why the screen does not show the frame scaled and centred, or "".
  static std::string CheckFrame(const Shot& s) {
    if (s.width != kScreenW || s.height != kScreenH) return "screen size differs";
    for (int y = 0; y < kScreenH; y += 3) {
      for (int x : {0, 80, kFrameLeft - 1, kFrameLeft + kFrameW, kScreenW - 1}) {
        if (s.At(x, y) != 0) {
          return "bar pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is not black";
        }
      }
    }
    std::set<std::uint32_t> allowed = {kPlaceholderGrey};
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 2; ++x) {
        const testdata::Bgr c = Stripe(x, y);
        allowed.insert((std::uint32_t{c.r} << 16) | (c.g << 8) | c.b);
      }
    }
    bool stripes = false;
    for (int y = 0; y < kScreenH; ++y) {
      for (int x = kFrameLeft; x < kFrameLeft + kFrameW; ++x) {
        const std::uint32_t v = s.At(x, y);
        if (allowed.count(v) == 0) {
          // The title scene may draw more than its picture; the frame's
          // edges must still be there.
          if (x != kFrameLeft && x != kFrameLeft + kFrameW - 1 && y != 0 && y != kScreenH - 1) {
            continue;
          }
          if (v == 0) {
            return "frame edge pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                   ") is black";
          }
        }
        stripes = stripes || v != kPlaceholderGrey;
      }
    }
    if (!stripes) return "";
    // The title picture is shown: scaled by 1.5 nearest-neighbour, each
    // one-pixel stripe becomes one or two screen pixels wide, never a blend.
    for (int y : {0, 100, 359, 719}) {
      int run = 1;
      for (int x = kFrameLeft + 1; x < kFrameLeft + kFrameW; ++x) {
        const std::uint32_t v = s.At(x, y);
        if (allowed.count(v) == 0)
          return "blended pixel at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
        if (v == s.At(x - 1, y)) {
          if (++run > 2)
            return "stripe wider than 2 at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
        } else {
          run = 1;
        }
      }
    }
    return "";
  }

  // What the window manager and the game's process say, for a failure.
  std::string State() {
    RunTool({"sh", "-c",
             "echo active: $(xdotool getactivewindow getwindowname 2>&1); "
             "xdotool search --name 'Vedo Zeza1' getwindowgeometry 2>&1; "
             "echo wm: $(xprop -root _NET_SUPPORTING_WM_CHECK 2>&1)"},
            env_, dir_ / "state.log");
    std::string out = Log("state.log");
    if (game_.Running()) {
      const double c0 = CpuSeconds(game_.pid());
      std::this_thread::sleep_for(500ms);
      out += "game processor time in 0.5 s: " + std::to_string(CpuSeconds(game_.pid()) - c0) + "\n";
    }
    return out + "openbox running: " + (wm_.Running() ? "yes" : "no") + "\n";
  }

  fs::path dir_;
  fs::path data_;
  std::vector<std::string> env_;
  Child xvfb_;
  Child wm_;
  Child game_;
};

// Keeps a screenshot that failed its check in the build folder.
std::string Keep(const Shot& s, const std::string& name) {
  pngio::RgbImage image;
  image.width = s.width;
  image.height = s.height;
  for (std::uint32_t v : s.rgb) {
    image.rgb.push_back(static_cast<std::uint8_t>(v >> 16));
    image.rgb.push_back(static_cast<std::uint8_t>(v >> 8));
    image.rgb.push_back(static_cast<std::uint8_t>(v));
  }
  const std::string path = std::string(VEDO_BINARY_DIR) + "/" + name + ".actual.png";
  pngio::WritePng(path, image);
  return "; the screen is in " + path;
}

double CpuSeconds(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(in)), {});
  const std::size_t close = text.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream fields(text.substr(close + 2));
  std::string f;
  long long utime = 0;
  long long stime = 0;
  for (int i = 3; i <= 15 && fields >> f; ++i) {
    if (i == 14) utime = std::atoll(f.c_str());
    if (i == 15) stime = std::atoll(f.c_str());
  }
  return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

TEST_F(RealWindow, TheFrameIsScaledCentredAndEscapeQuits) {
  if (!OnPath("openbox")) GTEST_SKIP() << "openbox is not installed";
  StartWindowManager();
  Shot shot;
  const std::string why = StartGameAndWaitForTheFrame(shot);
  ASSERT_EQ(why, "") << Keep(shot, "real_window") << "\n" << State() << Log("game.log");

  // A click in the left bar counts at the frame's edge; the game goes on.
  EXPECT_EQ(RunTool({"xdotool", "mousemove", "--sync", "40", "300", "click", "1"}, env_), 0);
  EXPECT_EQ(RunTool({"xdotool", "mousemove", "--sync", "1250", "700", "click", "1"}, env_), 0);
  std::this_thread::sleep_for(300ms);
  ASSERT_TRUE(game_.Running()) << Log("game.log");
  std::string shotWhy;
  ASSERT_TRUE(TakeShot(shot, shotWhy)) << shotWhy;
  EXPECT_EQ(CheckFrame(shot), "") << "after the clicks" << Keep(shot, "real_window_clicked");

  EXPECT_EQ(RunTool({"xdotool", "key", "Escape"}, env_), 0);
  EXPECT_EQ(game_.Wait(10000ms), 0) << "Escape should end the game with code 0:\n"
                                    << Log("game.log");
}

TEST_F(RealWindow, AWindowWithoutTheFocusWaitsAndTakesItBack) {
  if (!OnPath("openbox") || !OnPath("xeyes")) GTEST_SKIP() << "needs openbox and xeyes";
  StartWindowManager();
  Shot shot;
  const std::string why = StartGameAndWaitForTheFrame(shot);
  ASSERT_EQ(why, "") << Keep(shot, "real_window_focus") << "\n" << State() << Log("game.log");

  // Active: 60 frames a second take some processor time.
  const double a0 = CpuSeconds(game_.pid());
  std::this_thread::sleep_for(1000ms);
  const double active = CpuSeconds(game_.pid()) - a0;

  // Another window takes the focus: the game waits and draws nothing.
  // (xeyes does not ask for the focus itself, so it is given to it.)
  Child other({"xeyes"}, env_, {}, dir_ / "xeyes.log");
  ASSERT_EQ(RunTool({"sh", "-c",
                     "xdotool search --sync --name xeyes | head -1 | "
                     "xargs xdotool windowfocus --sync"},
                    env_),
            0);
  std::this_thread::sleep_for(500ms);
  const double i0 = CpuSeconds(game_.pid());
  std::this_thread::sleep_for(1000ms);
  const double inactive = CpuSeconds(game_.pid()) - i0;
  EXPECT_TRUE(game_.Running());
  EXPECT_LT(inactive, 0.02) << "the game kept running without the focus (active: " << active
                            << " s)";
  other.Stop();

  // Back to the game: it runs again and Escape quits.
  ASSERT_EQ(RunTool({"sh", "-c",
                     "xdotool search --sync --name 'Vedo Zeza1' | head -1 | "
                     "xargs xdotool windowactivate --sync"},
                    env_),
            0);
  std::this_thread::sleep_for(500ms);
  const double r0 = CpuSeconds(game_.pid());
  std::this_thread::sleep_for(1000ms);
  const double resumed = CpuSeconds(game_.pid()) - r0;
  EXPECT_GT(resumed, inactive) << "active " << active << " s, inactive " << inactive << " s";
  EXPECT_EQ(RunTool({"xdotool", "key", "Escape"}, env_), 0);
  EXPECT_EQ(game_.Wait(10000ms), 0) << Log("game.log");
}

TEST_F(RealWindow, WithoutAWindowManagerTheFrameStillFillsTheScreen) {
  Shot shot;
  const std::string why = StartGameAndWaitForTheFrame(shot);
  ASSERT_EQ(why, "") << Keep(shot, "real_window_bare") << "\n" << State() << Log("game.log");
  EXPECT_EQ(RunTool({"xdotool", "key", "Escape"}, env_), 0);
  EXPECT_EQ(game_.Wait(10000ms), 0) << Log("game.log");
}

}  // namespace
