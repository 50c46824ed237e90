// Interval: a closed range of time over which a value is valid.
//
// FOREVER covers all time; NEVER (the empty interval) contains no time at all, not even
// TIME_NegInfinity. Intersecting with an empty interval gives the empty interval.
#pragma once

#include "maxtypes.h"

class Interval {
public:
    constexpr Interval() : start(TIME_NegInfinity), finish(TIME_NegInfinity) {}
    constexpr Interval(TimeValue s, TimeValue e) : start(s), finish(e) {}

    constexpr TimeValue Start() const { return start; }
    constexpr TimeValue End() const { return finish; }
    constexpr TimeValue Duration() const { return finish - start + 1; }
    void Set(TimeValue s, TimeValue e) {
        start = s;
        finish = e;
    }
    void SetStart(TimeValue s) { start = s; }
    void SetEnd(TimeValue e) { finish = e; }
    void SetEmpty() { start = finish = TIME_NegInfinity; }
    void SetInfinite() {
        start = TIME_NegInfinity;
        finish = TIME_PosInfinity;
    }
    void SetInstant(TimeValue t) { start = finish = t; }

    constexpr bool Empty() const {
        return (start == TIME_NegInfinity && finish == TIME_NegInfinity) || start > finish;
    }
    constexpr bool IsInfinite() const {
        return start == TIME_NegInfinity && finish == TIME_PosInfinity;
    }
    constexpr int InInterval(TimeValue t) const { return !Empty() && t >= start && t <= finish; }
    constexpr int InInterval(const Interval& i) const {
        return !Empty() && !i.Empty() && i.start >= start && i.finish <= finish;
    }

    constexpr Interval operator&(const Interval& o) const {
        if (Empty() || o.Empty()) return Interval();
        const TimeValue s = start > o.start ? start : o.start;
        const TimeValue e = finish < o.finish ? finish : o.finish;
        return s > e ? Interval() : Interval(s, e);
    }
    Interval& operator&=(const Interval& o) { return *this = *this & o; }
    constexpr bool operator==(const Interval& o) const {
        return (Empty() && o.Empty()) || (start == o.start && finish == o.finish);
    }
    constexpr bool operator!=(const Interval& o) const { return !(*this == o); }

private:
    TimeValue start, finish;
};

#define FOREVER Interval(TIME_NegInfinity, TIME_PosInfinity)
#define NEVER Interval(TIME_NegInfinity, TIME_NegInfinity)
