// Box3: an axis-aligned box; empty until a point is added.
#pragma once

#include "matrix3.h"
#include "point3.h"

class Box3 {
public:
    Point3 pmin{1e30f, 1e30f, 1e30f}, pmax{-1e30f, -1e30f, -1e30f};
    Box3() = default;
    Box3(const Point3& p, const Point3& q) : pmin(p), pmax(q) {}
    void Init() { *this = Box3(); }
    bool IsEmpty() const { return pmin.x > pmax.x || pmin.y > pmax.y || pmin.z > pmax.z; }
    const Point3& Min() const { return pmin; }
    const Point3& Max() const { return pmax; }
    Point3 Center() const { return (pmin + pmax) * 0.5f; }
    Point3 Width() const { return IsEmpty() ? Point3() : pmax - pmin; }
    bool Contains(const Point3& p) const {
        return !IsEmpty() && p.x >= pmin.x && p.x <= pmax.x && p.y >= pmin.y && p.y <= pmax.y &&
               p.z >= pmin.z && p.z <= pmax.z;
    }
    Box3& operator+=(const Point3& p) {
        pmin = {std::fmin(pmin.x, p.x), std::fmin(pmin.y, p.y), std::fmin(pmin.z, p.z)};
        pmax = {std::fmax(pmax.x, p.x), std::fmax(pmax.y, p.y), std::fmax(pmax.z, p.z)};
        return *this;
    }
    Box3& operator+=(const Box3& b) {
        if (!b.IsEmpty()) *this += b.pmin, *this += b.pmax;
        return *this;
    }
    Point3 operator[](int i) const {
        return {(i & 1) ? pmax.x : pmin.x, (i & 2) ? pmax.y : pmin.y, (i & 4) ? pmax.z : pmin.z};
    }
};
