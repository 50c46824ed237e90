#include <algorithm>
#include <cmath>

#include "shading/brick_eval.h"
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

}  // namespace

bool ComputeBoxProjection(const EvalSnapshot& snap, ShadeContext& sc, Point3& uvw, Point3& duvw,
                          int& count, int& element) {
    // Hosts report the point either in 0..1 of the box or in -1..1: take the latter to the former.
    Point3 p = sc.PObjRelBox();
    if (p.x < -0.01f || p.x > 1.01f || p.y < -0.01f || p.y > 1.01f || p.z < -0.01f || p.z > 1.01f)
        p = Point3(p.x * 0.5f + 0.5f, p.y * 0.5f + 0.5f, p.z * 0.5f + 0.5f);
    p = Point3(Clamp01(p.x), Clamp01(p.y), Clamp01(p.z));

    const Box3 box = sc.ObjectBox();
    const Point3 size = box.pmax - box.pmin;
    const float sx = std::fabs(size.x), sy = std::fabs(size.y), sz = std::fabs(size.z);
    // A flat box has no side faces to wrap; a non-finite one has no usable extents.
    if (!(sx > 1e-6f) || !(sy > 1e-6f) || !(sz > 1e-6f)) return false;
    if (!std::isfinite(sx) || !std::isfinite(sy) || !std::isfinite(sz)) return false;

    Point3 n;
    if (!ObjectDirection(sc, sc.GNormal(), n) && !ObjectDirection(sc, sc.Normal(), n)) return false;

    duvw = Point3(1.f / 1024.f, 1.f / 1024.f, 0.f);
    count = -1;
    element = 0;

    const float ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
    if (!(ax > az) && !(ay > az)) return false;  // top or bottom face

    float width, a;
    if (ay >= ax) {
        width = sx;
        if (n.y >= 0.f) {
            element = 0;
            a = p.x;
        } else {
            element = 2;
            a = 1.f - p.x;
        }
    } else {
        width = sy;
        if (n.x >= 0.f) {
            element = 1;
            a = 1.f - p.y;
        } else {
            element = 3;
            a = p.y;
        }
    }

    // Bricks of about the same width on every face: the widest face gets nx of them.
    count = SaturatingFloor(width / std::max(sx, sy) * static_cast<float>(snap.nx) + 0.5f, 1,
                            kMaxFaceCount);

    // Faces 1 and 3 meet faces 0 and 2 at the box's corners; shifting their courses keeps the
    // bond running around the corner.
    float offset = 0.f;
    if (element == 1 || element == 3) {
        if (snap.pattern == 0 || snap.pattern == 3)
            offset = 0.5f / static_cast<float>(count);
        else if (snap.pattern == 1)
            offset = 0.33333334f / static_cast<float>(count);
    }
    uvw = Point3(a + offset, p.z, 0.f);
    return true;
}

}  // namespace QuarelNS
