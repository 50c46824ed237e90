#include "preview/render/point_context.h"

#include <cmath>

namespace QuarelPreview {

namespace {

// Refinement steps per point; an exact preimage is normally found in one or two.
constexpr int kMaxRefine = 24;

bool Invert(const double m[2][2], double out[2][2]) {
    const double det = m[0][0] * m[1][1] - m[0][1] * m[1][0];
    if (!std::isfinite(det) || std::fabs(det) < 1e-300) return false;
    out[0][0] = m[1][1] / det;
    out[0][1] = -m[0][1] / det;
    out[1][0] = -m[1][0] / det;
    out[1][1] = m[0][0] / det;
    return std::isfinite(out[0][0]) && std::isfinite(out[0][1]) && std::isfinite(out[1][0]) &&
           std::isfinite(out[1][1]);
}

// One float step from x, towards +inf if dir > 0, else towards -inf. Keeps x when dir is 0.
float Nudge(float x, double dir) {
    if (dir == 0.0 || !std::isfinite(dir)) return x;
    return std::nextafter(x, dir > 0 ? INFINITY : -INFINITY);
}

// The next float to try: the Newton step, or one float step if the step rounds to nothing.
float Step(float x, double delta) {
    const float next = static_cast<float>(static_cast<double>(x) + delta);
    if (!std::isfinite(next)) return x;
    return next != x ? next : Nudge(x, delta);
}

double Miss(float want, float got) {
    const double d = std::fabs(static_cast<double>(want) - static_cast<double>(got));
    return std::isnan(d) ? INFINITY : d;
}

// The search for one pair of floats (a position or a filter size) that the generator turns
// into a wanted pair: Newton steps while they come closer, then single float steps from the
// best pair, which cannot jump over a preimage of a monotonic generator, until they overshoot.
struct Refinement {
    Refinement(float x0, float y0) : x(x0), y(y0), bestX(x0), bestY(y0) {}
    float x, y;
    float bestX, bestY;
    double bestMiss = INFINITY;
    bool newton = true;
    bool finished = false;

    // Takes the generator's answer for (x, y) and chooses the next pair.
    void Take(float wantU, float wantV, const Point2& got, const double inv[2][2]) {
        if (finished) return;
        const double eu = static_cast<double>(wantU) - got.x;
        const double ev = static_cast<double>(wantV) - got.y;
        const double miss = std::max(Miss(wantU, got.x), Miss(wantV, got.y));
        const bool closer = newton ? miss < bestMiss : miss <= bestMiss;
        if (closer) {
            bestMiss = miss;
            bestX = x, bestY = y;
            bestEu = eu, bestEv = ev;
        } else if (!newton) {
            finished = true;  // overshot: no float between the two gives the wanted pair
        }
        if (bestMiss == 0.0) finished = true;
        if (finished) {
            x = bestX, y = bestY;
            return;
        }
        if (!closer) newton = false;
        const double sx = inv[0][0] * bestEu + inv[0][1] * bestEv;
        const double sy = inv[1][0] * bestEu + inv[1][1] * bestEv;
        x = newton ? Step(bestX, sx) : Nudge(bestX, sx);
        y = newton ? Step(bestY, sy) : Nudge(bestY, sy);
    }

private:
    double bestEu = 0.0, bestEv = 0.0;
};

}  // namespace

void ShadeContextBuilder::Apply(PointShadeContext& sc, const PlaneSource& s) {
    // The plane is the object: its object and world positions are its texture coordinates, so a
    // generator reads the same point whatever its source.
    sc.mUVW = Point3(s.x, s.y, 0.f);
    sc.mDUVW = Point3(s.dx, s.dy, 0.f);
    sc.pObj = sc.p = sc.mUVW;
    sc.dpObj = sc.mDUVW;
    sc.dp = sc.mDUVW;
}

ShadeContextBuilder::ShadeContextBuilder(Texmap* map) : mGen(map ? map->GetTheUVGen() : nullptr) {
    if (mGen == nullptr) return;
    // Probe the generator as an affine map: once with unit steps, then with steps that move the
    // result by about one tile, so that the model is good to a few ulps.
    PointShadeContext sc;
    Point2 uv, duv;
    double h = 1.0;
    for (int pass = 0; pass < 2; ++pass) {
        const float fh = static_cast<float>(h);
        Apply(sc, {});
        mGen->GetUV(sc, uv, duv);
        const double o[2] = {uv.x, uv.y};
        double j[2][2], d[2][2];
        for (int axis = 0; axis < 2; ++axis) {
            const float on = axis == 0 ? fh : 0.f, off = axis == 1 ? fh : 0.f;
            Apply(sc, {on, off, on, off});
            mGen->GetUV(sc, uv, duv);
            j[0][axis] = (uv.x - o[0]) / h;
            j[1][axis] = (uv.y - o[1]) / h;
            d[0][axis] = duv.x / h;
            d[1][axis] = duv.y / h;
        }
        double jinv[2][2];
        if (!Invert(j, jinv)) return;  // a degenerate generator: coordinates pass unchanged
        mSeparable = j[0][1] == 0.0 && j[1][0] == 0.0 && d[0][1] == 0.0 && d[1][0] == 0.0;
        mOrigin[0] = o[0];
        mOrigin[1] = o[1];
        std::copy(&jinv[0][0], &jinv[0][0] + 4, &mJinv[0][0]);
        std::copy(&j[0][0], &j[0][0] + 4, &mJ[0][0]);
        if (!Invert(d, mDinv)) {
            // The filter sizes mix (a 45 degree turn): share each target out evenly.
            const double su = d[0][0] + d[0][1], sv = d[1][0] + d[1][1];
            mDinv[0][0] = su > 0 ? 0.5 / su : 0.0;
            mDinv[1][1] = sv > 0 ? 0.5 / sv : 0.0;
            mDinv[0][1] = mDinv[1][0] = 0.0;
        }
        const double reach = std::max(std::max(std::fabs(j[0][0]), std::fabs(j[0][1])),
                                      std::max(std::fabs(j[1][0]), std::fabs(j[1][1])));
        if (!(reach > 0.0) || !std::isfinite(1.0 / reach)) break;
        h = 1.0 / reach;
    }
}

PlaneSource ShadeContextBuilder::SolveAffine(float u, float v, float du, float dv) const {
    if (mGen == nullptr) return {u, v, du, dv};
    const double tu = static_cast<double>(u) - mOrigin[0], tv = static_cast<double>(v) - mOrigin[1];
    PlaneSource s{static_cast<float>(mJinv[0][0] * tu + mJinv[0][1] * tv),
                  static_cast<float>(mJinv[1][0] * tu + mJinv[1][1] * tv),
                  static_cast<float>(mDinv[0][0] * du + mDinv[0][1] * dv),
                  static_cast<float>(mDinv[1][0] * du + mDinv[1][1] * dv)};
    for (float* f : {&s.x, &s.y, &s.dx, &s.dy})
        if (!std::isfinite(*f)) *f = 0.f;
    return s;
}

PlaneSource ShadeContextBuilder::Solve(PointShadeContext& sc, float u, float v, float du,
                                       float dv) const {
    // Without a generator the map reads channel 1 as it comes.
    if (mGen == nullptr) return {u, v, du, dv};
    const double tu = static_cast<double>(u) - mOrigin[0], tv = static_cast<double>(v) - mOrigin[1];
    float x = static_cast<float>(mJinv[0][0] * tu + mJinv[0][1] * tv);
    float y = static_cast<float>(mJinv[1][0] * tu + mJinv[1][1] * tv);
    float dx = static_cast<float>(mDinv[0][0] * du + mDinv[0][1] * dv);
    float dy = static_cast<float>(mDinv[1][0] * du + mDinv[1][1] * dv);
    if (!std::isfinite(x)) x = 0.f;
    if (!std::isfinite(y)) y = 0.f;
    if (!std::isfinite(dx)) dx = 0.f;
    if (!std::isfinite(dy)) dy = 0.f;

    // Newton steps first; once a step fails to come closer, single float steps from the best
    // point so far, which cannot jump over a preimage of a monotonic generator.
    Refinement pos(x, y), filter(dx, dy);
    Point2 uv, duv;
    for (int i = 0; i < kMaxRefine; ++i) {
        Apply(sc, {pos.x, pos.y, filter.x, filter.y});
        mGen->GetUV(sc, uv, duv);
        pos.Take(u, v, uv, mJinv);
        filter.Take(du, dv, duv, mDinv);
        if (pos.finished && filter.finished) break;
    }
    return {pos.bestX, pos.bestY, filter.bestX, filter.bestY};
}

void ShadeContextBuilder::SetBoxPoint(PointShadeContext& sc, const PlaneSource& uv,
                                      const Point3& size, BoxFace face, float a, float z) const {
    Apply(sc, uv);
    // Relative position in the box, and the outward normal, of the point `a` along the face.
    Point3 rel, n;
    switch (face) {
        case BoxFace::PosY:
            rel = Point3(a, 1.f, z), n = Point3(0.f, 1.f, 0.f);
            break;
        case BoxFace::PosX:
            rel = Point3(1.f, 1.f - a, z), n = Point3(1.f, 0.f, 0.f);
            break;
        case BoxFace::NegY:
            rel = Point3(1.f - a, 0.f, z), n = Point3(0.f, -1.f, 0.f);
            break;
        case BoxFace::NegX:
            rel = Point3(0.f, a, z), n = Point3(-1.f, 0.f, 0.f);
            break;
    }
    sc.pObjRelBox = rel;
    sc.objectBox = Box3(Point3(0.f, 0.f, 0.f), size);
    sc.pObj = sc.p = Point3(rel.x * size.x, rel.y * size.y, rel.z * size.z);
    sc.normal = sc.origNormal = sc.gNormal = n;
    sc.view = sc.origView = -n;
}

void ShadeContextBuilder::SourceFrame(const Point3& dPdu, const Point3& dPdv, const Point3& normal,
                                      Point3 dP[3]) const {
    for (int k = 0; k < 2; ++k)
        dP[k] = dPdu * static_cast<float>(mJ[0][k]) + dPdv * static_cast<float>(mJ[1][k]);
    dP[2] = normal;
}

void ShadeContextBuilder::SetBoxSurfacePoint(PointShadeContext& sc, const Point3& size,
                                             const Point3& p, const Point3& n) const {
    Apply(sc, Solve(sc, p.x / size.x, p.y / size.y, 0.f, 0.f));
    sc.p = sc.pObj = p;
    sc.dp = sc.dpObj = sc.dpdx = sc.dpdy = sc.dpObjRelBox = Point3(0.f, 0.f, 0.f);
    sc.objectBox = Box3(Point3(0.f, 0.f, 0.f), size);
    sc.pObjRelBox = Point3(p.x / size.x, p.y / size.y, p.z / size.z);
    const Point3 unit = n / n.Length();
    sc.normal = sc.origNormal = sc.gNormal = unit;
    sc.view = sc.origView = -unit;
    // The face: the axis the normal leans along most, as the projection chooses it.
    const float ax = std::fabs(unit.x), ay = std::fabs(unit.y), az = std::fabs(unit.z);
    Point3 along(size.x, 0.f, 0.f), up(0.f, size.y, 0.f);
    if (ax > az || ay > az) {
        up = Point3(0.f, 0.f, size.z);
        if (ay >= ax)
            along = Point3(unit.y >= 0.f ? size.x : -size.x, 0.f, 0.f);
        else
            along = Point3(0.f, unit.x >= 0.f ? -size.y : size.y, 0.f);
    }
    SourceFrame(along, up, unit, sc.dPdUVW);
}

}  // namespace QuarelPreview
