// MSTR, the host's wide string.
#pragma once

#include <string>

#include "strbasic.h"

class MSTR : public std::wstring {
public:
    using std::wstring::wstring;
    MSTR() = default;
    MSTR(const std::wstring& s) : std::wstring(s) {}
    MSTR(std::wstring&& s) : std::wstring(std::move(s)) {}

    int Length() const { return static_cast<int>(size()); }
    bool isNull() const { return empty(); }
    void Resize(int n) { resize(n < 0 ? 0 : static_cast<size_t>(n)); }
    MSTR& operator=(const MCHAR* s) {
        assign(s ? s : L"");
        return *this;
    }
};
typedef MSTR TSTR;
