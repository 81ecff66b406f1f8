// Shared pieces of the data-kit tests: the data folder the build generated,
// copies of it to break, and small helpers.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "kit/formats.h"

namespace kittest {

// The build's data folder, made by vedo-datakit.
const std::filesystem::path& GeneratedFolder();
// Runs a program of the build with arguments; returns its exit status and
// what it printed.
int RunTool(const std::string& tool, const std::string& args, std::string* output = nullptr);
// A fresh copy of the generated folder.
std::filesystem::path CopyOfGenerated(const std::string& stem);

kit::Bytes Read(const std::filesystem::path& path);
void Write(const std::filesystem::path& path, const kit::Bytes& bytes);

// True when some line contains `text`; prints the lines otherwise.
bool AnyContains(const std::vector<std::string>& lines, const std::string& text);

}  // namespace kittest
