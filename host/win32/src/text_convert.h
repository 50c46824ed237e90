// Conversions between the wide text of Win32 calls and the UTF-8 of POSIX calls.
#pragma once

#include <string>

namespace w32 {

std::string ToUtf8(const wchar_t* text);
std::wstring FromUtf8(const char* text);

}  // namespace w32
