// `vedo-kit info`: the header and main figures of one data file.
#pragma once

#include <string>

namespace kit {

// The description of a map, sprite, BMP, WAV or MIDI file, told apart by
// their first bytes. False with a message saying what is wrong otherwise.
bool DescribeFile(const std::string& path, std::string& text, std::string* error);

}  // namespace kit
