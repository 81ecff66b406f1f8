#include "common/x_session.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <thread>

namespace xsession {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

bool OnPath(const std::string& tool) {
  const char* path = std::getenv("PATH");
  std::istringstream dirs(path != nullptr ? path : "/usr/bin:/bin");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    if (!dir.empty() && access((dir + "/" + tool).c_str(), X_OK) == 0) return true;
  }
  return false;
}

int RunTool(const std::vector<std::string>& argv, const child::EnvChanges& env,
            const fs::path& output, std::chrono::milliseconds limit) {
  child::Process c({.argv = argv, .env = env, .out = output});
  return c.Wait(limit);
}

namespace {

std::uint32_t Be32(const std::vector<unsigned char>& b, std::size_t at) {
  return (std::uint32_t{b[at]} << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}

}  // namespace

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
  // Pixels of four bytes, or of three: xwd packs them so when another
  // client's colormap is installed (its rows keep their four-byte length).
  const std::uint32_t pixelBytes = bitsPerPixel / 8;
  if (format != 2 || (bitsPerPixel != 32 && bitsPerPixel != 24) || redMask != 0xFF0000 ||
      greenMask != 0xFF00 || blueMask != 0xFF || width == 0 || height == 0 || width > 16384 ||
      height > 16384) {
    why = "unexpected screenshot format (format " + std::to_string(format) + ", " +
          std::to_string(bitsPerPixel) + " bits a pixel, " + std::to_string(width) + " x " +
          std::to_string(height) + ", " + std::to_string(b.size()) + " bytes)";
    return false;
  }
  const std::size_t data = headerSize + static_cast<std::size_t>(colours) * 12;
  if (b.size() < data + static_cast<std::size_t>(bytesPerLine) * height ||
      bytesPerLine < width * pixelBytes) {
    why = "screenshot cut short";
    return false;
  }
  shot.width = static_cast<int>(width);
  shot.height = static_cast<int>(height);
  shot.rgb.resize(static_cast<std::size_t>(width) * height);
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      const std::size_t at = data + static_cast<std::size_t>(y) * bytesPerLine + x * pixelBytes;
      const std::size_t last = at + pixelBytes - 1;
      const std::uint32_t v = byteOrder == 0 ? (b[at] | (b[at + 1] << 8) | (b[at + 2] << 16))
                                             : (b[last] | (b[last - 1] << 8) | (b[last - 2] << 16));
      shot.rgb[static_cast<std::size_t>(y) * width + x] = v & 0xFFFFFF;
    }
  }
  return true;
}

namespace {

// Starts an X server that picks a free display itself and names it on the
// pipe when it takes connections (-displayfd); that display, or "".
std::string StartServer(child::Process& server, std::vector<std::string> argv,
                        const child::EnvChanges& env, const fs::path& log) {
  int fds[2];
  if (pipe(fds) != 0) return "";
  argv.insert(argv.begin() + 1, {"-displayfd", "3"});
  argv.insert(argv.end(), {"-nolisten", "tcp", "-noreset"});
  server = child::Process({.argv = argv, .env = env, .out = log, .passFd = fds[1]});
  close(fds[1]);
  std::string number;
  const auto end = std::chrono::steady_clock::now() + 15s;
  fcntl(fds[0], F_SETFL, O_NONBLOCK);
  while (std::chrono::steady_clock::now() < end && server.Running()) {
    char c = 0;
    const ssize_t n = read(fds[0], &c, 1);
    if (n == 1 && c == '\n') break;
    if (n == 1) number.push_back(c);
    if (n <= 0) std::this_thread::sleep_for(10ms);
  }
  close(fds[0]);
  return number.empty() ? "" : ":" + number;
}

}  // namespace

std::string Screen::Start(const fs::path& dir, int width, int height, bool resizable) {
  dir_ = dir;
  width_ = width;
  height_ = height;
  const std::string size = std::to_string(width) + "x" + std::to_string(height);
  // Xvfb's screen keeps its size; a resizable one is Xephyr's, whose RandR
  // takes the sizes it lists (xrandr -s), in a window of a larger Xvfb.
  std::string display =
      StartServer(xvfb_, {"Xvfb", "-screen", "0", resizable ? "1600x1200x24" : size + "x24"}, {},
                  dir_ / "xvfb.log");
  if (display.empty()) return "Xvfb did not start:\n" + Log("xvfb.log");
  if (resizable) {
    display = StartServer(nested_, {"Xephyr", "-screen", size, "-resizeable"},
                          {{"DISPLAY", display}}, dir_ / "xephyr.log");
    if (display.empty()) return "Xephyr did not start:\n" + Log("xephyr.log");
  }
  env_ = {{"DISPLAY", display}, {"SDL_AUDIODRIVER", std::nullopt}};
  return "";
}

bool Screen::Resize(int width, int height) {
  if (!nested_.Running() ||
      RunTool({"xrandr", "-s", std::to_string(width) + "x" + std::to_string(height)}, env_) != 0) {
    return false;
  }
  width_ = width;
  height_ = height;
  return true;
}

std::string Screen::StartWindowManager() {
  // openbox runs its start-up command once it manages windows.
  const fs::path ready = dir_ / "openbox.ready";
  wm_ = child::Process({.argv = {"openbox", "--sm-disable", "--startup", "touch " + ready.string()},
                        .env = env_,
                        .out = dir_ / "openbox.log"});
  const auto end = std::chrono::steady_clock::now() + 15s;
  while (std::chrono::steady_clock::now() < end && wm_.Running() && !fs::exists(ready)) {
    std::this_thread::sleep_for(20ms);
  }
  if (!fs::exists(ready)) return "openbox did not start:\n" + Log("openbox.log");
  return "";
}

bool Screen::TakeShot(Shot& shot, std::string& why) {
  const fs::path file = dir_ / "shot.xwd";
  if (RunTool({"xwd", "-root", "-silent", "-out", file.string()}, env_) != 0) {
    why = "xwd failed";
    return false;
  }
  return ReadXwd(file, shot, why);
}

bool Screen::Xdotool(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {"xdotool"};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunTool(argv, env_) == 0;
}

std::string Screen::Log(const std::string& name) const {
  std::ifstream in(dir_ / name);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void Screen::Stop() {
  wm_.Stop();
  nested_.Stop();
  xvfb_.Stop();
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

long PeakResidentKib(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return -1;
}

std::int64_t MonotonicNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return std::int64_t{ts.tv_sec} * 1000000000 + ts.tv_nsec;
}

void WriteAlsaFileConfig(const fs::path& config, const fs::path& wav) {
  std::ofstream(config) << "pcm.!default {\n  type file\n  slave.pcm { type null }\n"
                        << "  file \"" << wav.string() << "\"\n  format \"wav\"\n}\n";
}

}  // namespace xsession
