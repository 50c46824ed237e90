// WStr, the host's wide string, and its names MSTR and TSTR. Only what the SDK's class offers:
// no conversion to or from std::wstring, so code that builds here builds against the SDK.
#pragma once

#include <string>

#include "strbasic.h"

class WStr {
public:
    WStr() = default;
    WStr(const wchar_t* s) : mText(s ? s : L"") {}
    WStr(const WStr&) = default;
    WStr(WStr&&) = default;
    ~WStr() = default;
    WStr& operator=(const WStr&) = default;
    WStr& operator=(WStr&&) = default;
    WStr& operator=(const wchar_t* s) {
        mText.assign(s ? s : L"");
        return *this;
    }

    const wchar_t* data() const { return mText.c_str(); }
    int Length() const { return static_cast<int>(mText.size()); }
    int length() const { return Length(); }
    bool isNull() const { return mText.empty(); }
    void Resize(int n) { mText.resize(n < 0 ? 0 : static_cast<std::size_t>(n)); }
    wchar_t& operator[](int i) { return mText[static_cast<std::size_t>(i)]; }
    const wchar_t& operator[](int i) const { return mText[static_cast<std::size_t>(i)]; }

    WStr operator+(const WStr& s) const {
        WStr r(*this);
        r += s;
        return r;
    }
    WStr& operator+=(const WStr& s) {
        mText += s.mText;
        return *this;
    }
    bool operator==(const WStr& s) const { return mText == s.mText; }
    bool operator==(const wchar_t* s) const { return mText == (s ? s : L""); }
    bool operator!=(const WStr& s) const { return !(*this == s); }
    bool operator!=(const wchar_t* s) const { return !(*this == s); }
    bool operator<(const WStr& s) const { return mText < s.mText; }

private:
    std::wstring mText;
};

typedef WStr MSTR;
typedef WStr TSTR;
