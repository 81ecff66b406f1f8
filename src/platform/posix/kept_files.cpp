// The player's files on Linux: the XDG base directories for the settings,
// the user's pictures folder for screenshots, and files written whole.
#include "platform/posix/kept_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "formats/file_bytes.h"

namespace platform {
namespace {

// user-dirs.dirs is a few lines; a larger one is not the file we know.
constexpr std::size_t kUserDirsMaxBytes = 64 * 1024;

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v != nullptr ? v : "";
}

std::string ConfigHome() {
  const std::string xdg = Env("XDG_CONFIG_HOME");
  if (!xdg.empty() && xdg[0] == '/') return xdg;
  const std::string home = Env("HOME");
  return home.empty() ? "" : home + "/.config";
}

void Say(const std::string& line) {
  std::fprintf(stderr, "Vedo Zeza1: %s\n", line.c_str());
  std::fflush(stderr);
}

// XDG_PICTURES_DIR's folder from user-dirs.dirs, whose lines are
// XDG_NAME_DIR="$HOME/Folder" or XDG_NAME_DIR="/absolute/folder"; empty
// when the file does not name one. A file that is not of that form is
// named in one line and passed over.
std::string PicturesDirFromUserDirs(const std::string& path, const std::string& home) {
  std::vector<std::uint8_t> bytes;
  const FileRead read = ReadFileBytes(path.c_str(), bytes, kUserDirsMaxBytes);
  if (read == FileRead::kMissing) return "";
  if (read == FileRead::kTooLarge) {
    Say(path + " is larger than " + std::to_string(kUserDirsMaxBytes) +
        " bytes; screenshots go to ~/Pictures.");
    return "";
  }
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  constexpr std::string_view kKey = "XDG_PICTURES_DIR=";
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    if (line.substr(0, kKey.size()) != kKey) continue;
    line.remove_prefix(kKey.size());
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.remove_suffix(1);
    if (line.size() >= 2 && line.front() == '"' && line.back() == '"') {
      const std::string_view value = line.substr(1, line.size() - 2);
      if (value == "$HOME") return home;
      if (value.substr(0, 6) == "$HOME/") return home + std::string(value.substr(5));
      if (!value.empty() && value[0] == '/') return std::string(value);
    }
    Say(path + ": XDG_PICTURES_DIR is neither \"$HOME/...\" nor \"/...\"; screenshots go to " +
        "~/Pictures.");
    return "";
  }
  return "";
}

bool MakeFolders(const std::string& folder, std::string& why) {
  for (std::size_t at = 1; at <= folder.size(); ++at) {
    if (at != folder.size() && folder[at] != '/') continue;
    const std::string part = folder.substr(0, at);
    if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
      why = "cannot make " + part + ": " + std::strerror(errno);
      return false;
    }
  }
  return true;
}

bool WriteAll(int fd, const void* data, std::size_t size) {
  const auto* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = write(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

std::string Parent(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos || slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

std::string XdgSettingsFile() {
  const std::string config = ConfigHome();
  return config.empty() ? "" : config + "/vedo-zeza1/settings.ini";
}

std::string XdgPicturesFolder() {
  const std::string home = Env("HOME");
  if (home.empty()) return "";
  const std::string config = ConfigHome();
  std::string pictures = PicturesDirFromUserDirs(config + "/user-dirs.dirs", home);
  if (pictures.empty()) pictures = home + "/Pictures";
  return pictures + "/Vedo Zeza1";
}

KeptRead ReadKeptFile(const std::string& path, std::string& text, std::size_t maxBytes) {
  std::vector<std::uint8_t> bytes;
  switch (ReadFileBytes(path.c_str(), bytes, maxBytes)) {
    case FileRead::kMissing: {
      struct stat info;
      return stat(path.c_str(), &info) == 0 ? KeptRead::kUnreadable : KeptRead::kNone;
    }
    case FileRead::kTooLarge:
      return KeptRead::kUnreadable;
    case FileRead::kOk:
      break;
  }
  text.assign(bytes.begin(), bytes.end());
  return KeptRead::kRead;
}

bool WriteFileReplacing(const std::string& path, const std::string& bytes, std::string& why) {
  if (!MakeFolders(Parent(path), why)) return false;
  const std::string fresh = path + ".new";
  const int fd = open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    why = "cannot write " + fresh + ": " + std::strerror(errno);
    return false;
  }
  const bool written = WriteAll(fd, bytes.data(), bytes.size()) && fsync(fd) == 0;
  const int error = errno;
  close(fd);
  if (!written || std::rename(fresh.c_str(), path.c_str()) != 0) {
    why = "cannot write " + path + ": " + std::strerror(written ? errno : error);
    unlink(fresh.c_str());
    return false;
  }
  return true;
}

bool WriteNewFile(const std::string& folder, const std::string& name,
                  const std::vector<std::uint8_t>& bytes, std::string& where) {
  if (!MakeFolders(folder, where)) return false;
  const std::size_t dot = name.rfind('.');
  const std::string stem = name.substr(0, dot);
  const std::string extension = dot == std::string::npos ? "" : name.substr(dot);
  for (int n = 1; n < 100; ++n) {
    const std::string path =
        folder + "/" + stem + (n > 1 ? "-" + std::to_string(n) : "") + extension;
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0 || !WriteAll(fd, bytes.data(), bytes.size())) {
      where = "cannot write " + path + ": " + std::strerror(errno);
      if (fd >= 0) {
        close(fd);
        unlink(path.c_str());
      }
      return false;
    }
    close(fd);
    where = path;
    return true;
  }
  where = "every name for " + name + " in " + folder + " is taken";
  return false;
}

}  // namespace platform
