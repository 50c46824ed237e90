// The host's wide string as standard text, for host applications and tests (the SDK's string
// class offers no conversion of its own).
#pragma once

#include <string>

#include "strclass.h"

namespace host {

inline std::wstring Wide(const MSTR& s) {
    return std::wstring(s.data(), static_cast<std::size_t>(s.Length()));
}

}  // namespace host
