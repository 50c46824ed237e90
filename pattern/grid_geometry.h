// Double-precision geometry for building the search grids of the outline and table patterns:
// distances between points, segments and rectangles. It decides only which pieces of an outline
// a grid cell lists, never a result, so its own rounding is covered by the grids' slack.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
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
    const double ex = px - (s.ax + t * dx);
    const double ey = py - (s.ay + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

inline double PointRectDistance(double px, double py, const Rect& r) {
    const double dx = std::max({r.x0 - px, px - r.x1, 0.0});
    const double dy = std::max({r.y0 - py, py - r.y1, 0.0});
    return std::sqrt(dx * dx + dy * dy);
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

// Distance between the rectangle and the segment's bounding box: at most the segment's own.
inline double SegBoxRectDistance(const Seg& s, const Rect& r) {
    const double dx = std::max({r.x0 - std::max(s.ax, s.bx), std::min(s.ax, s.bx) - r.x1, 0.0});
    const double dy = std::max({r.y0 - std::max(s.ay, s.by), std::min(s.ay, s.by) - r.y1, 0.0});
    return std::sqrt(dx * dx + dy * dy);
}

// Returns `reach`, the farthest any point of the rectangle can be from its nearest segment (the
// distance to a segment is convex, so over a rectangle it peaks at a corner), and sets dist[k] to
// the distance from the rectangle to segment k for every segment within reach + margin; the
// others get 1e300. Only segments whose box lies within the centre's nearest distance plus half
// the diagonal plus the margin are measured: reach is at most the centre's distance plus half
// the diagonal, so every segment within reach + margin is among them.
template <class Segs, class Out>
double NearSegments(const Rect& r, const Segs& segs, Out& dist, double margin) {
    const double cx = (r.x0 + r.x1) / 2, cy = (r.y0 + r.y1) / 2;
    double centre = 1e300;
    for (const Seg& s : segs) {
        // The segment's box is no farther than the segment: a box beyond the best is skipped.
        const Rect box{std::min(s.ax, s.bx), std::min(s.ay, s.by), std::max(s.ax, s.bx),
                       std::max(s.ay, s.by)};
        if (PointRectDistance(cx, cy, box) < centre) {
            centre = std::min(centre, PointSegDistance(cx, cy, s));
        }
    }
    const double limit = centre + 0.5 * std::hypot(r.x1 - r.x0, r.y1 - r.y0) + margin;
    double reach = 1e300;
    std::size_t k = 0;
    for (const Seg& s : segs) {
        double& d = dist[k++];
        d = 1e300;
        if (SegBoxRectDistance(s, r) > limit) continue;
        d = SegRectDistance(s, r);
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
