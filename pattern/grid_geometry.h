// Double-precision geometry for building the search grids of the outline and table patterns:
// distances between points, segments and rectangles. It decides only which pieces of an outline
// a grid cell lists, never a result, so its own rounding is covered by the grids' slack.
#pragma once

#include <algorithm>
#include <cmath>
#include <utility>

namespace QuarelNS::grid_geometry {

struct Rect {
    double x0, y0, x1, y1;
};

struct Seg {
    double ax, ay, bx, by;
};

inline double PointSegDistance(double px, double py, const Seg& s) {
    const double dx = s.bx - s.ax;
    const double dy = s.by - s.ay;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0.0 ? ((px - s.ax) * dx + (py - s.ay) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(px - (s.ax + t * dx), py - (s.ay + t * dy));
}

inline double PointRectDistance(double px, double py, const Rect& r) {
    const double dx = std::max({r.x0 - px, px - r.x1, 0.0});
    const double dy = std::max({r.y0 - py, py - r.y1, 0.0});
    return std::hypot(dx, dy);
}

// Whether the segment meets the rectangle (Liang-Barsky clipping).
inline bool SegMeetsRect(const Seg& s, const Rect& r) {
    double t0 = 0.0, t1 = 1.0;
    const double d[2] = {s.bx - s.ax, s.by - s.ay};
    const double p[2] = {s.ax, s.ay};
    const double lo[2] = {r.x0, r.y0};
    const double hi[2] = {r.x1, r.y1};
    for (int k = 0; k < 2; ++k) {
        if (d[k] == 0.0) {
            if (p[k] < lo[k] || p[k] > hi[k]) return false;
            continue;
        }
        double a = (lo[k] - p[k]) / d[k];
        double b = (hi[k] - p[k]) / d[k];
        if (a > b) std::swap(a, b);
        t0 = std::max(t0, a);
        t1 = std::min(t1, b);
        if (t0 > t1) return false;
    }
    return true;
}

inline double SegRectDistance(const Seg& s, const Rect& r) {
    if (SegMeetsRect(s, r)) return 0.0;
    double d = std::min(PointRectDistance(s.ax, s.ay, r), PointRectDistance(s.bx, s.by, r));
    for (double x : {r.x0, r.x1}) {
        for (double y : {r.y0, r.y1}) d = std::min(d, PointSegDistance(x, y, s));
    }
    return d;
}

// The farthest any point of the rectangle can be from the nearest of the segments: the distance
// to a segment is convex, so over a rectangle it peaks at a corner.
template <class Segs>
double FarthestNearest(const Rect& r, const Segs& segs) {
    double reach = 1e300;
    for (const Seg& s : segs) {
        double farthest = 0.0;
        for (double x : {r.x0, r.x1}) {
            for (double y : {r.y0, r.y1}) farthest = std::max(farthest, PointSegDistance(x, y, s));
        }
        reach = std::min(reach, farthest);
    }
    return reach;
}

// x as a float that does not exceed it.
inline float FloatAtMost(double x) {
    float f = static_cast<float>(x);
    if (static_cast<double>(f) > x) f = std::nextafter(f, -1e30f);
    return f;
}

// x as a float that is not below it.
inline float FloatAtLeast(double x) {
    float f = static_cast<float>(x);
    if (static_cast<double>(f) < x) f = std::nextafter(f, 1e30f);
    return f;
}

}  // namespace QuarelNS::grid_geometry
