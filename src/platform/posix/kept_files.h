// Where Linux keeps what the player keeps, and the POSIX file steps for it
// (port.h, "What the player keeps"). The SDL backend uses them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {

// $XDG_CONFIG_HOME/vedo-zeza1/settings.ini, ~/.config when the variable is
// unset or not an absolute path; empty without a home.
std::string XdgSettingsFile();
// The pictures folder the user's XDG_PICTURES_DIR names (in
// $XDG_CONFIG_HOME/user-dirs.dirs, which xdg-user-dir reads too), ~/Pictures
// without one, with "Vedo Zeza1" inside it; empty without a home.
std::string XdgPicturesFolder();

// Reads the file whole, at most `maxBytes`.
KeptRead ReadKeptFile(const std::string& path, std::string& text, std::size_t maxBytes);
// Writes `bytes` to PATH.new, flushed to the disk, and renames it over PATH,
// making PATH's folders first.
bool WriteFileReplacing(const std::string& path, const std::string& bytes, std::string& why);
// Writes a new file NAME in `folder` (made first) without replacing one:
// a taken name gets "-2", "-3" ... before its extension. `where` is the path.
bool WriteNewFile(const std::string& folder, const std::string& name,
                  const std::vector<std::uint8_t>& bytes, std::string& where);

}  // namespace platform
