#include "pattern/outline_ipaver_shape.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace QuarelNS {

namespace {

constexpr float kFar = std::numeric_limits<float>::infinity();

float Square(float x) {
    return x * x;
}

float PieceDistance2(const AxisPiece& p, float x, float y) {
    if (p.horizontal) return Square(x - std::clamp(x, p.lo, p.hi)) + Square(y - p.at);
    return Square(x - p.at) + Square(y - std::clamp(y, p.lo, p.hi));
}

float PointDistance2(float x, float y, float px, float py) {
    return Square(x - px) + Square(y - py);
}

float RimDistance(float x, float y, float cx, float cy) {
    return std::fabs(std::sqrt(PointDistance2(x, y, cx, cy)) - kITabRadius);
}

}  // namespace

bool InsideIShape(float x, float y) {
    const float ax = std::fabs(x);
    const float ay = std::fabs(y);
    if (ax <= kISquareHalf && ay <= kISquareHalf) return true;
    if (ax > kISquareHalf && ay <= kITabRadius && Square(ax - kISquareHalf) + y * y <= kITabRadius2)
        return true;
    return ay > kISquareHalf && ax <= kITabRadius &&
           Square(ay - kISquareHalf) + x * x <= kITabRadius2;
}

// The square root is monotonic and correctly rounded, so the nearest of the straight pieces and
// of the arc ends is found on squared distances without changing the result.
float IOutlineDistance(float x, float y) {
    float near2 = kFar;
    for (const AxisPiece& p : kIStraightPieces) near2 = std::min(near2, PieceDistance2(p, x, y));
    float rim = kFar;
    for (const ITab& t : kITabs) {
        if (t.sign * (t.alongX ? x : y) >= kISquareHalf) {
            rim = std::min(rim, RimDistance(x, y, t.cx, t.cy));
        } else {
            near2 = std::min(near2, std::min(PointDistance2(x, y, t.e0x, t.e0y),
                                             PointDistance2(x, y, t.e1x, t.e1y)));
        }
    }
    return std::min(std::sqrt(near2), rim);
}

float ConnectorOutlineDistance(float x, float y) {
    float near2 = kFar;
    for (const AxisPiece& p : kConnectorStraightPieces) {
        near2 = std::min(near2, PieceDistance2(p, x, y));
    }
    float rim = kFar;
    for (const QuarterArc& q : kConnectorArcs) {
        if (q.sx * (x - q.cx) >= 0.f && q.sy * (y - q.cy) >= 0.f) {
            rim = std::min(rim, RimDistance(x, y, q.cx, q.cy));
        } else {
            near2 =
                std::min(near2, std::min(PointDistance2(x, y, q.cx + kITabRadius * q.sx, q.cy),
                                         PointDistance2(x, y, q.cx, q.cy + kITabRadius * q.sy)));
        }
    }
    return std::min(std::sqrt(near2), rim);
}

float ConnectorRightEdge(float y) {
    if (y <= -5.5f) return kConnectorHalf;
    if (y <= 137.5f) return kConnectorHalf - std::sqrt(kITabRadius2 - Square(y - 137.5f));
    if (y <= 304.5f) return 137.5f;
    return 137.5f - std::sqrt(kITabRadius2 - Square(y - 447.5f));
}

}  // namespace QuarelNS
