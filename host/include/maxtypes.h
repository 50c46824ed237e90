// Basic host types: time, identifiers, class identities, I/O results.
#pragma once

#include <windows.h>

#include <cstdint>

#include "strbasic.h"
#include "strclass.h"

// Time is counted in ticks, 4800 per second.
typedef int TimeValue;
#define TIME_TICKSPERSEC 4800
#define TIME_NegInfinity TimeValue(INT32_MIN)
#define TIME_PosInfinity TimeValue(INT32_MAX)
#define SecToTicks(s) static_cast<TimeValue>((s)*TIME_TICKSPERSEC)
#define TicksToSec(t) (static_cast<float>(t) / TIME_TICKSPERSEC)
inline int GetTicksPerFrame() {
    return 160;
}

typedef short BlockID;
typedef short ParamID;
typedef short MapID;
typedef int StringResID;
typedef int ResID;

typedef ULONG SClass_ID;

// A class identity: two 32-bit words; both together name one class.
class Class_ID {
public:
    constexpr Class_ID() : a(0xFFFFFFFFul), b(0xFFFFFFFFul) {}
    constexpr Class_ID(ULONG aa, ULONG bb) : a(aa & 0xFFFFFFFFul), b(bb & 0xFFFFFFFFul) {}
    constexpr ULONG PartA() const { return a; }
    constexpr ULONG PartB() const { return b; }
    void SetPartA(ULONG aa) { a = aa & 0xFFFFFFFFul; }
    void SetPartB(ULONG bb) { b = bb & 0xFFFFFFFFul; }
    constexpr bool operator==(const Class_ID& o) const { return a == o.a && b == o.b; }
    constexpr bool operator!=(const Class_ID& o) const { return !(*this == o); }
    constexpr bool operator<(const Class_ID& o) const { return a < o.a || (a == o.a && b < o.b); }

private:
    ULONG a, b;
};

enum IOResult { IO_OK = 0, IO_END = 1, IO_ERROR = 2 };
