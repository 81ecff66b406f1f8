// UTF-8, the text of our own messages, paths and command line, to and from
// the UTF-16 the Windows API takes. Private to the Win32 backend.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Empty for empty text; a byte sequence that is not UTF-8 comes out with
// U+FFFD in its place.
std::wstring Utf16FromUtf8(std::string_view utf8);
std::string Utf8FromUtf16(std::wstring_view utf16);

}  // namespace platform
