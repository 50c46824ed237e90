// The module as the host loads it: LoadLibrary, the six exports and their answers, the five
// class descriptors, the compiled resources, a map made through its descriptor, the diagnostic
// log in C:\Temp with its switch, and the unload.
#pragma once

#include <string>

namespace QuarelWin {

// Prints one line per failed check and a closing count; 0 when every check passed.
int RunLoadCheck(const std::wstring& modulePath);

}  // namespace QuarelWin
