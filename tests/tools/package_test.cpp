// The Debian package, as a player gets it: cpack builds it from this build
// into a scratch folder, lintian checks it (where installed), dpkg-deb
// unpacks it there, and its launcher starts the game from the unpacked tree,
// headless, on SDL's dummy drivers.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "common/child_process.h"
#include "formats/bmp_file.h"
#include "kit_test_support.h"
#include "support/test_data.h"

namespace {

namespace fs = std::filesystem;

bool OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::istringstream dirs(path != nullptr ? path : "");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    if (!dir.empty() && access((fs::path(dir) / program).c_str(), X_OK) == 0) return true;
  }
  return false;
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The names in a Depends field, without versions or alternatives' bars.
std::set<std::string> DependedNames(const std::string& field) {
  std::set<std::string> names;
  std::string name;
  bool inName = true;
  for (char c : field + ",") {
    if (c == ',' || c == '|') {
      if (!name.empty()) names.insert(name);
      name.clear();
      inName = true;
    } else if (c == ' ' || c == '(' || c == '\n') {
      if (!name.empty()) inName = false;
    } else if (inName && c != ')') {
      name += c;
    }
  }
  return names;
}

// Every file under `root`, as paths relative to it.
std::set<std::string> FilesUnder(const fs::path& root) {
  std::set<std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (!e.is_directory()) files.insert(fs::relative(e.path(), root).string());
  }
  return files;
}

// One scratch folder holds the package, its unpacked tree and the runs.
// Making the package takes a while, so one test makes it and checks
// everything about it, step by step.
class Package : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!OnPath("dpkg-deb")) GTEST_SKIP() << "dpkg-deb is not installed";
    scratch_ = testdata::MakeTempDir("vedo-package");
  }
  void TearDown() override {
    if (!scratch_.empty()) fs::remove_all(scratch_);
  }

  // cpack from what the build has made (it builds nothing), then
  // dpkg-deb -x into the scratch folder.
  void MakeAndUnpack() {
    child::Options o;
    o.argv = {VEDO_CPACK,
              "-G",
              "DEB",
              "--config",
              std::string(VEDO_BINARY_DIR) + "/CPackConfig.cmake",
              "-B",
              (scratch_ / "out").string()};
    o.workDir = scratch_;
    o.limitSeconds = 300;
    const child::Result made = child::Run(o);
    ASSERT_EQ(made.exitCode, 0) << child::Describe(made);
    std::vector<fs::path> debs;
    for (const auto& e : fs::directory_iterator(scratch_ / "out")) {
      if (e.path().extension() == ".deb") debs.push_back(e.path());
    }
    ASSERT_EQ(debs.size(), 1u) << "cpack made " << debs.size() << " packages";
    deb_ = debs[0];
    child::Options x;
    x.argv = {"dpkg-deb", "-x", deb_.string(), Root().string()};
    const child::Result unpacked = child::Run(x);
    ASSERT_EQ(unpacked.exitCode, 0) << child::Describe(unpacked);
  }

  std::string Field(const std::string& name) {
    const fs::path out = scratch_ / "field.txt";
    child::Options o;
    o.argv = {"sh", "-c", "dpkg-deb -f \"$0\" \"$1\" > \"$2\"", deb_.string(), name, out.string()};
    const child::Result r = child::Run(o);
    EXPECT_EQ(r.exitCode, 0) << child::Describe(r);
    std::string text = ReadAll(out);
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
  }

  fs::path Root() const { return scratch_ / "root"; }
  fs::path Launcher() const { return Root() / "usr/games/vedo-zeza1"; }
  fs::path DataFolder() const { return Root() / "usr/share/vedo-zeza1/data"; }
  fs::path Icon() const { return Root() / "usr/share/icons/hicolor/128x128/apps/vedo-zeza1.png"; }

  // The launcher (or a link to it) on SDL's dummy drivers, with no display
  // server to reach.
  child::Options Headless(const fs::path& launcher) const {
    child::Options o;
    o.argv = {launcher.string()};
    o.workDir = scratch_;
    o.env = {{"DISPLAY", std::nullopt},
             {"WAYLAND_DISPLAY", std::nullopt},
             {"SDL_VIDEODRIVER", "dummy"},
             {"SDL_AUDIODRIVER", "dummy"}};
    o.limitSeconds = 60;
    return o;
  }

  void CheckDependencies();
  void CheckFiles();
  void CheckLintian();
  void CheckLauncherRuns();
  void CheckLinkedLauncherShowsTheTitle();
  void CheckLauncherWithoutData();

  fs::path scratch_;
  fs::path deb_;
};

void Package::CheckDependencies() {
  EXPECT_EQ(Field("Package"), "vedo-zeza1");
  EXPECT_EQ(Field("Section"), "games");
  const std::string depends = Field("Depends");
  const std::set<std::string> names = DependedNames(depends);
  for (const char* needed : {"libsdl2-2.0-0", "libfluidsynth3", "timgm6mb-soundfont"}) {
    EXPECT_EQ(names.count(needed), 1u) << needed << " is missing from: " << depends;
  }
  // The text comes from the glyph atlas built into the game.
  for (const char* unneeded : {"fonts-baekmuk", "libfreetype6", "libfontconfig1"}) {
    EXPECT_EQ(names.count(unneeded), 0u) << unneeded << " is in: " << depends;
  }
}

void Package::CheckFiles() {
  const fs::path generated = kittest::GeneratedFolder();
  std::set<std::string> expected = {"usr/games/vedo-zeza1",
                                    "usr/games/vedo-kit",
                                    "usr/lib/vedo-zeza1/vedo-zeza1",
                                    "usr/share/applications/vedo-zeza1.desktop",
                                    "usr/share/icons/hicolor/128x128/apps/vedo-zeza1.png",
                                    "usr/share/man/man6/vedo-zeza1.6.gz",
                                    "usr/share/man/man1/vedo-kit.1.gz",
                                    "usr/share/doc/vedo-zeza1/copyright",
                                    "usr/share/doc/vedo-zeza1/LICENSE",
                                    "usr/share/doc/vedo-zeza1/changelog.gz"};
  int dataFiles = 0;
  for (const auto& e : fs::recursive_directory_iterator(generated)) {
    const std::string name = fs::relative(e.path(), generated).string();
    if (name == "icon.png" || !e.is_regular_file()) continue;
    expected.insert("usr/share/vedo-zeza1/data/" + name);
    ++dataFiles;
  }
  EXPECT_EQ(dataFiles, 27 + 14) << "the map, the sprites, 8 pictures, 16 sounds and the tune, "
                                   "and the English pack's 14 files";
  EXPECT_EQ(FilesUnder(Root()), expected);

  // The data and the icon are the data kit's, byte for byte.
  for (const auto& e : fs::recursive_directory_iterator(generated)) {
    if (!e.is_regular_file()) continue;
    const std::string name = fs::relative(e.path(), generated).string();
    const fs::path packed = name == "icon.png" ? Icon() : DataFolder() / name;
    EXPECT_TRUE(ReadAll(e.path()) == ReadAll(packed)) << name << " differs in the package";
  }
  // A PNG's size is in its header: width, then height, big-endian.
  const std::string icon = ReadAll(Icon());
  ASSERT_GE(icon.size(), 24u);
  EXPECT_EQ(icon.substr(1, 3), "PNG");
  EXPECT_EQ(icon.substr(16, 8), std::string("\0\0\0\x80\0\0\0\x80", 8)) << "not 128 x 128";

  for (const char* program :
       {"usr/games/vedo-zeza1", "usr/games/vedo-kit", "usr/lib/vedo-zeza1/vedo-zeza1"}) {
    EXPECT_EQ(access((Root() / program).c_str(), X_OK), 0) << program << " cannot be run";
  }
  const std::string entry = ReadAll(Root() / "usr/share/applications/vedo-zeza1.desktop");
  for (const char* line :
       {"[Desktop Entry]\n", "\nType=Application\n", "\nName=Vedo Zeza1\n", "\nExec=vedo-zeza1\n",
        "\nIcon=vedo-zeza1\n", "\nActions=lang-en;\n",
        "\n[Desktop Action lang-en]\nName=English\nExec=vedo-zeza1 --lang en\n"}) {
    EXPECT_NE(entry.find(line), std::string::npos) << "no line " << line << " in:\n" << entry;
  }
}

void Package::CheckLintian() {
  // Debian's own checker: an error would keep the package out of an archive.
  if (!OnPath("lintian")) {
    std::printf("lintian is not installed: the package's lint is not checked\n");
    return;
  }
  child::Options o;
  o.argv = {"sh", "-c", "lintian --no-tag-display-limit \"$0\" > \"$1\"", deb_.string(),
            (scratch_ / "lintian.txt").string()};
  o.limitSeconds = 300;
  const child::Result r = child::Run(o);
  const std::string said = ReadAll(scratch_ / "lintian.txt");
  EXPECT_EQ(said.find("E: "), std::string::npos) << said << child::Describe(r);
  EXPECT_EQ(r.exitCode, 0) << said << child::Describe(r);
}

void Package::CheckLauncherRuns() {
  // A few hundred passes at 60 a second; SDL turns SIGTERM into a quit
  // message, and the game shuts down in full and exits with 0.
  child::Options o = Headless(Launcher());
  o.terminateAfterSeconds = 4;
  const child::Result r = child::Run(o);
  EXPECT_TRUE(r.terminated) << "it ended by itself: " << child::Describe(r);
  EXPECT_GE(r.seconds, 4.0) << child::Describe(r);
  EXPECT_EQ(r.exitCode, 0) << child::Describe(r);
  EXPECT_EQ(r.said, "Soundfont: /usr/share/sounds/sf2/TimGM6mb.sf2\nInitTileData OK.\n")
      << child::Describe(r);
}

void Package::CheckLinkedLauncherShowsTheTitle() {
  // A link elsewhere, as a player might put in ~/bin. SDL's dummy video
  // driver writes every frame it is given as a BMP into the working folder,
  // which the launcher has made the data folder.
  fs::create_directories(scratch_ / "elsewhere");
  const fs::path link = scratch_ / "elsewhere/vedo-zeza1";
  fs::create_symlink(Launcher(), link);
  const fs::path tenth = DataFolder() / "SDL_window1-00000010.bmp";
  child::Options o = Headless(link);
  o.env.push_back({"SDL_VIDEO_DUMMY_SAVE_FRAMES", "1"});
  o.terminateWhen = [&tenth] { return fs::exists(tenth); };
  const child::Result r = child::Run(o);
  EXPECT_TRUE(r.terminated) << child::Describe(r);
  EXPECT_EQ(r.exitCode, 0) << child::Describe(r);

  // The ninth frame is whole once the tenth is begun. It shows the title
  // picture, scaled to the screen with its shape kept.
  platform::Image frame;
  platform::Image title;
  ASSERT_TRUE(platform::LoadBmpFile((DataFolder() / "SDL_window1-00000009.bmp").c_str(), frame))
      << child::Describe(r);
  ASSERT_TRUE(platform::LoadBmpFile((DataFolder() / "Title.bmp").c_str(), title));
  ASSERT_EQ(title.width, 640);
  ASSERT_EQ(title.height, 480);
  const double scale = std::min(frame.width / 640.0, frame.height / 480.0);
  const double left = (frame.width - 640 * scale) / 2;
  const double top = (frame.height - 480 * scale) / 2;
  int same = 0;
  int samples = 0;
  for (int y = 5; y < 480; y += 10) {
    for (int x = 5; x < 640; x += 10) {
      const auto fx = static_cast<std::size_t>(left + (x + 0.5) * scale);
      const auto fy = static_cast<std::size_t>(top + (y + 0.5) * scale);
      const auto at = title.pixels.begin() + (y * 640 + x) * 3;
      same += std::equal(at, at + 3, frame.pixels.begin() + (fy * frame.width + fx) * 3) ? 1 : 0;
      ++samples;
    }
  }
  EXPECT_GE(same, samples * 98 / 100) << same << " of " << samples << " samples match";
  for (const auto& e : fs::directory_iterator(DataFolder())) {
    if (e.path().filename().string().rfind("SDL_window", 0) == 0) fs::remove(e.path());
  }
}

void Package::CheckLauncherWithoutData() {
  const fs::path moved = Root() / "usr/share/vedo-zeza1-moved";
  fs::rename(Root() / "usr/share/vedo-zeza1", moved);
  const child::Result r = child::Run(Headless(Launcher()));
  fs::rename(moved, Root() / "usr/share/vedo-zeza1");
  EXPECT_EQ(r.exitCode, 1) << child::Describe(r);
  EXPECT_EQ(r.said, "vedo-zeza1: no data folder at " + Root().string() +
                        "/usr/games/../share/vedo-zeza1/data\n")
      << child::Describe(r);
}

TEST_F(Package, BuildsUnpacksAndRunsHeadlessFromAnyPlace) {
  ASSERT_NO_FATAL_FAILURE(MakeAndUnpack());
  {
    SCOPED_TRACE("declared dependencies");
    CheckDependencies();
  }
  {
    SCOPED_TRACE("files of the package");
    CheckFiles();
  }
  {
    SCOPED_TRACE("lintian");
    CheckLintian();
  }
  {
    SCOPED_TRACE("the unpacked launcher, a few seconds headless");
    CheckLauncherRuns();
  }
  {
    SCOPED_TRACE("a link to the launcher, and the frames it shows");
    CheckLinkedLauncherShowsTheTitle();
  }
  {
    SCOPED_TRACE("the launcher without its data");
    CheckLauncherWithoutData();
  }
}

}  // namespace
