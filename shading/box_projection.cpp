#include <algorithm>
#include <cmath>

#include "pattern/catalogue.h"
#include "shading/box_projection.h"
#include "shading/float_guards.h"

namespace QuarelNS {
namespace {

constexpr int kMaxFaceCount = 8192;

// The object-space direction of v normalised, or false when it has none worth using (too short,
// or not finite). Only its signs and relative sizes are used, so an overflowing length is
// avoided by scaling first rather than refused.
bool ObjectDirection(ShadeContext& sc, const Point3& v, Point3& dir) {
    Point3 n = sc.VectorTo(v, REF_OBJECT);
    if (!std::isfinite(n.x) || !std::isfinite(n.y) || !std::isfinite(n.z)) return false;
    float len = n.Length();
    if (!(len > 1e-6f)) return false;
    if (!std::isfinite(len)) {
        n = n * (1.f / std::max(std::fabs(n.x), std::max(std::fabs(n.y), std::fabs(n.z))));
        len = n.Length();
    }
    dir = n / len;
    return true;
}

// The point in 0..1 of the box. Hosts report it either in 0..1 or in -1..1: take the latter to
// the former.
Point3 PointInBox(ShadeContext& sc) {
    Point3 p = sc.PObjRelBox();
    if (p.x < -0.01f || p.x > 1.01f || p.y < -0.01f || p.y > 1.01f || p.z < -0.01f || p.z > 1.01f)
        p = Point3(p.x * 0.5f + 0.5f, p.y * 0.5f + 0.5f, p.z * 0.5f + 0.5f);
    return Point3(Clamp01(p.x), Clamp01(p.y), Clamp01(p.z));
}

// The side face the direction n faces, its width and the point's position a across it, running
// round the box; false on the top and bottom faces.
bool SideFace(const Point3& n, const Point3& p, float sx, float sy, int& element, float& width,
              float& a) {
    const float ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
    if (!(ax > az) && !(ay > az)) return false;  // top or bottom face
    if (ay >= ax) {
        width = sx;
        element = n.y >= 0.f ? 0 : 2;
        a = n.y >= 0.f ? p.x : 1.f - p.x;
    } else {
        width = sy;
        element = n.x >= 0.f ? 1 : 3;
        a = n.x >= 0.f ? 1.f - p.y : p.y;
    }
    return true;
}

}  // namespace

BoxProjection ComputeBoxProjection(const EvalSnapshot& snap, ShadeContext& sc) {
    BoxProjection r;
    const Point3 p = PointInBox(sc);

    const Box3 box = sc.ObjectBox();
    const Point3 size = box.pmax - box.pmin;
    const float sx = std::fabs(size.x), sy = std::fabs(size.y), sz = std::fabs(size.z);
    // A flat box has no side faces to wrap; a non-finite one has no usable extents.
    if (!(sx > 1e-6f) || !(sy > 1e-6f) || !(sz > 1e-6f)) return r;
    if (!std::isfinite(sx) || !std::isfinite(sy) || !std::isfinite(sz)) return r;

    Point3 n;
    if (!ObjectDirection(sc, sc.GNormal(), n) && !ObjectDirection(sc, sc.Normal(), n)) return r;

    float width = 0.f, a = 0.f;
    if (!SideFace(n, p, sx, sy, r.face.element, width, a)) return BoxProjection{};

    // Bricks of about the same width on every face: the widest face gets nx of them.
    const int count = SaturatingFloor(width / std::max(sx, sy) * static_cast<float>(snap.nx) + 0.5f,
                                      1, kMaxFaceCount);

    // Faces 1 and 3 meet faces 0 and 2 at the box's corners; shifting their courses by the
    // bond's own shift keeps the bond running around the corner.
    float offset = 0.f;
    if (r.face.element == 1 || r.face.element == 3)
        offset = PatternInfoFor(snap.pattern).courseShift / static_cast<float>(count);
    r.found = true;
    r.uvw = Point3(a + offset, p.z, 0.f);
    r.duvw = Point3(1.f / 1024.f, 1.f / 1024.f, 0.f);
    r.face.count = count;
    return r;
}

}  // namespace QuarelNS
