// Writes the Windows resource script and its header from the module's resource tables, so the
// Windows build compiles exactly the strings and templates the stand-in build carries. The
// checked-in copies under resources/win32/ are these texts; a test keeps them in step.
#pragma once

#include <string>

namespace QuarelRes {

// resource.h: one #define per dialog, control and string symbol.
std::string RenderResourceHeader();

// QuarelMap.rc: the dialog templates and the string table, UTF-8 encoded.
std::string RenderResourceScript();

}  // namespace QuarelRes
