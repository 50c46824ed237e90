#include "preview/render/object_render.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "preview/render/point_context.h"
#include "preview/render/render.h"

namespace QuarelPreview {

namespace {

constexpr int kObjectTile = 32;
constexpr double kPi = 3.14159265358979323846;
constexpr float kHalf = 0.5f;  // every object fits [-kHalf, kHalf]^3

// The camera, in world space: where it stands, what it looks at, and half its field of view as
// a tangent. Chosen so that the cube shows two side faces and its top and fills most of the
// picture; the other shapes are seen from the same side at their own distance (FitDistance).
const Point3 kEye(2.3f, -3.1f, 2.2f);
const Point3 kTarget(0.f, 0.f, -0.04f);
constexpr float kTanHalfFov = 0.235f;
// The plane is seen from higher up, so that it does not shrink to a sliver.
constexpr float kPlaneElevation = 65.f;
// How much of the picture's height a shape's bounding sphere fills.
constexpr double kFillShare = 0.9;

// Directions towards the key light (above, front left) and the fill (low, right), world space,
// and their strengths.
const Point3 kKey(-0.45f, -0.7f, 0.95f);
const Point3 kFill(0.9f, 0.25f, 0.1f);
constexpr float kAmbient = 0.1f, kKeyPower = 0.85f, kFillPower = 0.3f;

constexpr double kRadPerDeg = kPi / 180.0;

// The unit vector towards `a` from the origin.
Point3 DirectionOf(const ObjectAngles& a) {
    const double az = a.azimuth * kRadPerDeg, el = a.elevation * kRadPerDeg;
    return Point3(static_cast<float>(std::cos(el) * std::cos(az)),
                  static_cast<float>(std::cos(el) * std::sin(az)),
                  static_cast<float>(std::sin(el)));
}

ObjectAngles AnglesOf(const Point3& v) {
    const double len = v.Length();
    return {static_cast<float>(std::atan2(v.y, v.x) / kRadPerDeg),
            static_cast<float>(std::asin(v.z / len) / kRadPerDeg)};
}

// The radius of the sphere about the centre that holds the shape.
float Reach(ObjectShape s) {
    return s == ObjectShape::Sphere ? kHalf
           : s == ObjectShape::Cube ? std::sqrt(3.f) * kHalf
                                    : std::sqrt(2.f) * kHalf;
}

// The distance at which a shape's bounding sphere fills kFillShare of the picture's height.
float FitDistance(ObjectShape s) {
    return static_cast<float>(Reach(s) / std::sin(kFillShare * std::atan(kTanHalfFov)));
}

// Where the camera stands: the cube's own place, chosen by hand, or a place from its angles.
Point3 EyeOf(const ObjectRequest& r) {
    if (!r.camera && r.object == ObjectShape::Cube) return kEye;
    const CameraPlace c = r.camera ? *r.camera : DefaultCamera(r.object);
    return kTarget + DirectionOf(c.angles) * c.distance;
}

std::uint8_t ShadedByte(float c) {
    if (!(c > 0.f)) return 0;
    if (c >= 1.f) return 255;
    return static_cast<std::uint8_t>(c * 255.f + 0.5f);
}

// A surface point: position and outward normal (object = world space), face, texture
// coordinates in tile units and their derivatives.
struct Surface {
    Point3 view;  // the ray's direction in camera space, a unit vector
    Point3 p, n;
    int face = 0;
    float u = 0.f, v = 0.f;
    Point3 dPdu, dPdv;
};

// v / |v|, for a vector that is not zero: one division, not three.
Point3 Unit(const Point3& v) {
    return v * (1.f / v.Length());
}

// Around the z axis: u from -x counterclockwise seen from above, `tiles` tiles a turn.
void Around(const Point3& p, float tiles, Surface& s) {
    const double phi = std::atan2(static_cast<double>(p.y), static_cast<double>(p.x));
    s.u = static_cast<float>((phi / (2.0 * kPi) + 0.5) * tiles);
    const float turn = static_cast<float>(2.0 * kPi) / tiles;
    s.dPdu = Point3(-p.y, p.x, 0.f) * turn;
}

// Texture coordinates of a cube face, and of a top or bottom face of any object.
void FaceCoordinates(Surface& s) {
    const Point3 rel(s.p.x + kHalf, s.p.y + kHalf, s.p.z + kHalf);
    s.dPdv = Point3(0.f, 0.f, 1.f);
    switch (s.face) {
        case 0:
            s.u = rel.x, s.dPdu = Point3(1.f, 0.f, 0.f);
            break;
        case 1:
            s.u = 1.f - rel.y, s.dPdu = Point3(0.f, -1.f, 0.f);
            break;
        case 2:
            s.u = 1.f - rel.x, s.dPdu = Point3(-1.f, 0.f, 0.f);
            break;
        case 3:
            s.u = rel.y, s.dPdu = Point3(0.f, 1.f, 0.f);
            break;
        default:  // top and bottom
            s.u = rel.x, s.v = rel.y;
            s.dPdu = Point3(1.f, 0.f, 0.f), s.dPdv = Point3(0.f, 1.f, 0.f);
            return;
    }
    s.v = rel.z;
}

// The distance along the ray (o, d; d a unit vector) to each object's nearest hit in front of
// its origin, or a value not above 0 when it misses; where the hit decides the face (and, for
// flat faces, the normal), that too.
double HitSphere(const Point3& o, const Point3& d) {
    const double ox = o.x, oy = o.y, oz = o.z, dx = d.x, dy = d.y, dz = d.z;
    const double r = kHalf;
    const double b = ox * dx + oy * dy + oz * dz;
    const double c = ox * ox + oy * oy + oz * oz - r * r;
    const double disc = b * b - c;  // d is a unit vector
    if (disc < 0.0) return -1.0;
    return -b - std::sqrt(disc);
}

double HitCube(const Point3& o, const Point3& d, Surface& s) {
    const double r = kHalf;
    double lo = -INFINITY, hi = INFINITY;
    int axis = 0;
    const double org[3] = {o.x, o.y, o.z}, dir[3] = {d.x, d.y, d.z};
    for (int k = 0; k < 3; ++k) {
        if (dir[k] == 0.0) {
            if (std::fabs(org[k]) > r) return -1.0;
            continue;
        }
        const double inv = 1.0 / dir[k];
        double a = (-r - org[k]) * inv, b = (r - org[k]) * inv;
        if (a > b) std::swap(a, b);
        if (a > lo) lo = a, axis = k;
        hi = std::min(hi, b);
    }
    if (lo > hi || lo <= 0.0) return -1.0;
    const double sign = dir[axis] > 0.0 ? -1.0 : 1.0;     // the face the ray enters
    static constexpr int kSide[2][2] = {{3, 1}, {2, 0}};  // [-x, +x], [-y, +y]
    s.face = axis == 2 ? (sign > 0.0 ? 4 : 5) : kSide[axis][sign > 0.0 ? 1 : 0];
    s.n = Point3(0.f, 0.f, 0.f);
    (axis == 0 ? s.n.x : axis == 1 ? s.n.y : s.n.z) = static_cast<float>(sign);
    return lo;
}

// The side, then the caps; the nearest hit in front wins.
double HitCylinder(const Point3& o, const Point3& d, Surface& s) {
    const double ox = o.x, oy = o.y, oz = o.z, dx = d.x, dy = d.y, dz = d.z;
    const double r = kHalf;
    double t = -1.0;
    const double a = dx * dx + dy * dy;
    if (a > 0.0) {
        const double b = ox * dx + oy * dy, c = ox * ox + oy * oy - r * r;
        const double disc = b * b - a * c;
        if (disc >= 0.0) {
            const double side = (-b - std::sqrt(disc)) / a;
            if (side > 0.0 && std::fabs(oz + side * dz) <= r) t = side, s.face = 0;
        }
    }
    if (dz != 0.0) {
        for (const double zc : {r, -r}) {
            const double cap = (zc - oz) / dz;
            const double x = ox + cap * dx, y = oy + cap * dy;
            if (cap > 0.0 && x * x + y * y <= r * r && (t < 0.0 || cap < t))
                t = cap, s.face = zc > 0.0 ? 4 : 5;
        }
    }
    return t;
}

double HitPlane(const Point3& o, const Point3& d, Surface& s) {
    const double ox = o.x, oy = o.y, oz = o.z, dx = d.x, dy = d.y, dz = d.z;
    if (dz == 0.0) return -1.0;
    const double t = -oz / dz;
    const double x = ox + t * dx, y = oy + t * dy;
    if (t <= 0.0 || std::fabs(x) > kHalf || std::fabs(y) > kHalf) return -1.0;
    s.face = 4;
    s.n = Point3(0.f, 0.f, 1.f);
    return t;
}

// Normal and texture coordinates at the sphere's point s.p.
void SphereSurface(Surface& s) {
    s.n = Unit(s.p);
    Around(s.p, 2.f, s);
    const float z = std::clamp(s.p.z / kHalf, -1.f, 1.f);
    const double theta = std::acos(static_cast<double>(z));
    s.v = static_cast<float>(1.0 - theta / kPi);
    // dP/dv = -pi dP/dtheta, P = r (sin t cos f, sin t sin f, cos t).
    const float rho = std::sqrt(s.p.x * s.p.x + s.p.y * s.p.y);
    const float k = static_cast<float>(kPi);
    s.dPdv = rho > 0.f ? Point3(-z * s.p.x / rho * kHalf, -z * s.p.y / rho * kHalf, rho) * k
                       : Point3(0.f, 0.f, 0.f);
}

// Normal and texture coordinates at the cylinder's point s.p on the face s.face.
void CylinderSurface(Surface& s) {
    if (s.face != 0) {
        s.n = Point3(0.f, 0.f, s.face == 4 ? 1.f : -1.f);
        FaceCoordinates(s);
        return;
    }
    const float rho = std::sqrt(s.p.x * s.p.x + s.p.y * s.p.y);
    s.n = rho > 0.f ? Point3(s.p.x / rho, s.p.y / rho, 0.f) : Point3(1.f, 0.f, 0.f);
    Around(s.p, 3.f, s);
    s.v = s.p.z + kHalf;
    s.dPdv = Point3(0.f, 0.f, 1.f);
}

// Ray and object, in world space; the nearest hit in front of the ray's origin.
bool Intersect(ObjectShape shape, const Point3& o, const Point3& d, Surface& s) {
    const double t = shape == ObjectShape::Sphere     ? HitSphere(o, d)
                     : shape == ObjectShape::Cube     ? HitCube(o, d, s)
                     : shape == ObjectShape::Cylinder ? HitCylinder(o, d, s)
                                                      : HitPlane(o, d, s);
    if (t <= 0.0) return false;
    s.p = Point3(static_cast<float>(o.x + t * d.x), static_cast<float>(o.y + t * d.y),
                 static_cast<float>(o.z + t * d.z));
    if (shape == ObjectShape::Sphere)
        SphereSurface(s);
    else if (shape == ObjectShape::Cylinder)
        CylinderSurface(s);
    else
        FaceCoordinates(s);
    return true;
}

struct FaceFrame {
    Point3 n, dPdu, dPdv;
    float a = 0.f, b = 0.f, c = 0.f, det = 0.f, inv = 0.f;
    Point3 dP[3];
};

// The frames of the faces one render thread has met, by face; curved surfaces use `curved`.
struct FrameCache {
    FaceFrame face[6];
    bool known[6] = {};
    FaceFrame curved;
};

class Scene {
public:
    explicit Scene(const ObjectRequest& r)
        : mShape(r.object),
          mSize(r.size),
          mHalf(0.5f * static_cast<float>(r.size)),
          mPixel(kTanHalfFov / mHalf),
          mEye(EyeOf(r)),
          mTileScale(r.tiles > 0
                         ? static_cast<float>(r.tiles) / static_cast<float>(DefaultTiles(r.object))
                         : 1.f) {
        const Point3 f = Normalize(kTarget - mEye);
        const Point3 right = Normalize(CrossProd(f, Point3(0.f, 0.f, 1.f)));
        const Point3 up = CrossProd(right, f);
        mToWorld = Matrix3(right, up, -f, mEye);
        mFromWorld = Inverse(mToWorld);
        const Point3 key = r.light ? DirectionOf(*r.light) : Normalize(kKey);
        mKey = Normalize(mFromWorld.VectorTransform(key));
        mFill = Normalize(mFromWorld.VectorTransform(Normalize(kFill)));
        // The plane's box has no height; its points are at 0 relative to it.
        const float z = mShape == ObjectShape::Plane ? 0.f : kHalf;
        mBox = Box3(Point3(-kHalf, -kHalf, -z), Point3(kHalf, kHalf, z));
        mInvBox = Point3(1.f / (2.f * kHalf), 1.f / (2.f * kHalf), z > 0.f ? 1.f / (2.f * z) : 0.f);
        // The bounding sphere about the origin, in camera space, a little generous.
        const float reach = Reach(mShape);
        mCentre = mFromWorld.PointTransform(Point3(0.f, 0.f, 0.f));
        mCentreSq = DotProd(mCentre, mCentre);
        mReachSq = (reach * 1.01f) * (reach * 1.01f);
    }

    // The camera-space direction of the ray through picture point (x, y), not normalised.
    Point3 Toward(float x, float y) const {
        return Point3((x - mHalf) * mPixel, (mHalf - y) * mPixel, -1.f);
    }
    Point3 Direction(float x, float y) const { return Unit(Toward(x, y)); }

    bool Trace(float x, float y, Surface& s) const {
        // Most of the picture is background: rays that miss the bounding sphere end here,
        // without a square root or a division.
        const Point3 t = Toward(x, y);
        const float tt = DotProd(t, t), ct = DotProd(mCentre, t);
        if (ct <= 0.f || mCentreSq * tt - ct * ct > mReachSq * tt) return false;
        s.view = t * (1.f / std::sqrt(tt));
        if (!Intersect(mShape, mEye, mToWorld.VectorTransform(s.view), s)) return false;
        if (mTileScale != 1.f) {
            s.u *= mTileScale, s.v *= mTileScale;
            s.dPdu = s.dPdu / mTileScale, s.dPdv = s.dPdv / mTileScale;
        }
        return true;
    }

    // Transforms of a context: object space is world space.
    void Prepare(PointShadeContext& sc) const {
        sc.toWorld = sc.toObject = mToWorld;
        sc.fromWorld = sc.fromObject = mFromWorld;
        sc.camPos = Point3(0.f, 0.f, 0.f);
        sc.objectBox = mBox;
    }

    // Fills the context for the hit s of the ray through (x, y), whose footprint is `step`
    // pixels across. `frames` keeps what flat faces give every hit alike.
    void Fill(PointShadeContext& sc, const ShadeContextBuilder& builder, FrameCache& frames,
              float x, float y, float step, const Surface& s) const {
        const FaceFrame& f = FrameOf(builder, frames, s);
        // Ray differentials: the neighbouring rays meet the tangent plane of the hit.
        const Point3 eyeP = mFromWorld.PointTransform(s.p);
        const Point3& n = f.n;
        auto offset = [&](float ox, float oy) {
            const Point3 d = Toward(x + ox, y + oy);
            const float denom = DotProd(n, d);
            if (std::fabs(denom) < 1e-8f) return Point3(0.f, 0.f, 0.f);
            return d * (DotProd(n, eyeP) / denom) - eyeP;
        };
        const Point3 dpdx = offset(step, 0.f), dpdy = offset(0.f, step);
        // The footprint in texture coordinates: dP = dPdu du + dPdv dv, in least squares.
        float du = 0.f, dv = 0.f;
        if (f.det > 0.f) {
            for (const Point3& dp : {dpdx, dpdy}) {
                const float pu = DotProd(f.dPdu, dp), pv = DotProd(f.dPdv, dp);
                du = std::max(du, std::fabs((f.c * pu - f.b * pv) * f.inv));
                dv = std::max(dv, std::fabs((f.a * pv - f.b * pu) * f.inv));
            }
        }
        if (!std::isfinite(du)) du = 0.f;
        if (!std::isfinite(dv)) dv = 0.f;

        const PlaneSource src = builder.SolveAffine(s.u, s.v, du, dv);
        sc.mUVW = Point3(src.x, src.y, 0.f);
        sc.mDUVW = Point3(src.dx, src.dy, 0.f);
        for (int k = 0; k < 3; ++k) sc.dPdUVW[k] = f.dP[k];

        sc.p = eyeP;
        sc.dpdx = dpdx;
        sc.dpdy = dpdy;
        sc.dp = Point3(std::fabs(dpdx.x) + std::fabs(dpdy.x), std::fabs(dpdx.y) + std::fabs(dpdy.y),
                       std::fabs(dpdx.z) + std::fabs(dpdy.z)) *
                0.5f;
        sc.pObj = s.p;
        sc.dpObj = mToWorld.VectorTransform(sc.dp);
        sc.dpObj = Point3(std::fabs(sc.dpObj.x), std::fabs(sc.dpObj.y), std::fabs(sc.dpObj.z));
        sc.pObjRelBox = (s.p - mBox.pmin) * mInvBox;
        sc.dpObjRelBox = sc.dpObj * mInvBox;
        sc.normal = sc.origNormal = sc.gNormal = n;
        sc.view = sc.origView = s.view;
        sc.screenCoord = IPoint2(static_cast<int>(x), static_cast<int>(y));
        sc.faceNumber = s.face;
        sc.doMaps = TRUE;
    }

    // Lambert shading of `colour` with the shading normal n (camera space).
    Color Light(const AColor& colour, const Point3& n) const {
        const float i = kAmbient + kKeyPower * std::max(0.f, DotProd(n, mKey)) +
                        kFillPower * std::max(0.f, DotProd(n, mFill));
        return Color(colour.r * i, colour.g * i, colour.b * i);
    }

    // The background at picture point (x, y): a neutral checker.
    Color Background(float x, float y) const {
        const float perCell = 12.f / static_cast<float>(mSize);  // x and y are never negative
        const bool odd = (static_cast<int>(x * perCell) + static_cast<int>(y * perCell)) & 1;
        const float g = odd ? 0.42f : 0.5f;
        return Color(g, g, g);
    }

private:
    // What Fill derives from the hit's normal and tangents: camera-space vectors, the
    // footprint's normal equations and the context's tangent frame.
    FaceFrame Frame(const ShadeContextBuilder& builder, const Surface& s) const {
        FaceFrame f;
        f.n = mFromWorld.VectorTransform(s.n);  // a rotation: still a unit vector
        f.dPdu = mFromWorld.VectorTransform(s.dPdu);
        f.dPdv = mFromWorld.VectorTransform(s.dPdv);
        f.a = DotProd(f.dPdu, f.dPdu), f.b = DotProd(f.dPdu, f.dPdv), f.c = DotProd(f.dPdv, f.dPdv);
        f.det = f.a * f.c - f.b * f.b;
        if (f.det > 0.f) f.inv = 1.f / f.det;
        builder.SourceFrame(f.dPdu, f.dPdv, f.n, f.dP);
        return f;
    }

    // On a flat face (the cube's, the plane, the cylinder's caps) normal and tangents are the
    // face's own, so its frame is worked out once a thread and kept.
    const FaceFrame& FrameOf(const ShadeContextBuilder& builder, FrameCache& frames,
                             const Surface& s) const {
        const bool flat = mShape == ObjectShape::Cube || mShape == ObjectShape::Plane ||
                          (mShape == ObjectShape::Cylinder && s.face != 0);
        if (!flat) return frames.curved = Frame(builder, s);
        const std::size_t face = static_cast<std::size_t>(s.face);
        if (!frames.known[face]) {
            frames.face[face] = Frame(builder, s);
            frames.known[face] = true;
        }
        return frames.face[face];
    }

    ObjectShape mShape;
    int mSize;
    float mHalf, mPixel;  // half the picture's side, and one pixel at unit distance
    Point3 mEye;          // the camera's place, world space
    float mTileScale;     // the texture coordinates' scale against the shape's own tiles
    Box3 mBox;            // the object box, and 1 / its size (0 for no extent)
    Point3 mInvBox;
    Point3 mCentre;  // the bounding sphere: its centre in camera space, |centre|^2, radius^2
    float mCentreSq = 0.f, mReachSq = 0.f;
    Matrix3 mToWorld, mFromWorld;
    Point3 mKey, mFill;
};

}  // namespace

ObjectShape ObjectShapeFromName(const std::string& name) {
    if (name == "cube") return ObjectShape::Cube;
    if (name == "cylinder") return ObjectShape::Cylinder;
    if (name == "plane") return ObjectShape::Plane;
    return ObjectShape::Sphere;
}

const char* ObjectShapeName(ObjectShape s) {
    switch (s) {
        case ObjectShape::Cube:
            return "cube";
        case ObjectShape::Cylinder:
            return "cylinder";
        case ObjectShape::Plane:
            return "plane";
        default:
            return "sphere";
    }
}

CameraPlace DefaultCamera(ObjectShape s) {
    ObjectAngles angles = AnglesOf(kEye - kTarget);
    if (s == ObjectShape::Cube) return {(kEye - kTarget).Length(), angles};
    if (s == ObjectShape::Plane) angles.elevation = kPlaneElevation;
    return {FitDistance(s), angles};
}

int DefaultTiles(ObjectShape s) {
    return s == ObjectShape::Sphere ? 2 : s == ObjectShape::Cylinder ? 3 : 1;
}

ObjectAngles DefaultLight() {
    return AnglesOf(kKey);
}

int ObjectTileCount(const ObjectRequest& r) {
    const int n = (r.size + kObjectTile - 1) / kObjectTile;
    return n * n;
}

bool TraceObject(const ObjectRequest& r, float x, float y, ObjectHit& hit) {
    Surface s;
    if (!Scene(r).Trace(x, y, s)) return false;
    hit.p = s.p;
    hit.n = s.n;
    hit.face = s.face;
    return true;
}

bool ObjectContextAt(const ObjectRequest& r, Texmap* map, float x, float y, PointShadeContext& sc) {
    const Scene scene(r);
    Surface s;
    if (!scene.Trace(x, y, s)) return false;
    scene.Prepare(sc);
    FrameCache frames;
    scene.Fill(sc, ShadeContextBuilder(map), frames, x, y, 1.f, s);
    return true;
}

bool ObjectColorAt(const ObjectRequest& r, Texmap* map, float x, float y, AColor& colour) {
    PointShadeContext sc;
    if (!ObjectContextAt(r, map, x, y, sc)) return false;
    colour = map->EvalColor(sc);
    return true;
}

namespace {

// The colour one sample of the object render shows at picture point (x, y): the map's colour lit
// with the shading normal bent by its perturbation where the ray meets the object, else the
// background.
Color ShadeSample(const ObjectRequest& r, const Scene& scene, const ShadeContextBuilder& builder,
                  Texmap* map, PointShadeContext& sc, FrameCache& frames, float x, float y,
                  float step) {
    Surface s;
    if (!scene.Trace(x, y, s)) return scene.Background(x, y);
    scene.Fill(sc, builder, frames, x, y, step, s);
    const AColor colour = map->EvalColor(sc);
    Point3 n = sc.normal;
    if (r.bump != 0.f) {
        // Away from the joints the perturbation is nothing at all.
        const Point3 p = map->EvalNormalPerturb(sc);
        if (p.x != 0.f || p.y != 0.f || p.z != 0.f) {
            // p points up the relief's slope (relief_view.h): the surface faces the other way.
            const Point3 bent = n - p * r.bump;
            const float len = bent.Length();
            if (len > 0.f && std::isfinite(len)) n = bent * (1.f / len);
        }
    }
    return scene.Light(colour, n);
}

}  // namespace

Image RenderObject(const ObjectRequest& r, Texmap* map) {
    const int size = r.size;
    Image image(size, size);
    const Scene scene(r);
    const ShadeContextBuilder builder(map);
    const int samples = std::max(1, r.samples);
    const SamplePattern pattern(samples);
    const float step = 1.f / std::sqrt(static_cast<float>(samples));
    const float inv = 1.f / static_cast<float>(samples);
    const int tilesX = (size + kObjectTile - 1) / kObjectTile;
    const int tiles = tilesX * tilesX;
    // The mean of the pixel's samples, as bytes.
    const auto pixel = [&](PointShadeContext& sc, FrameCache& frames, int x, int y) {
        float acc[3] = {0.f, 0.f, 0.f};
        for (int i = 0; i < samples; ++i) {
            const float px = static_cast<float>(x) + pattern.x[static_cast<size_t>(i)];
            const float py = static_cast<float>(y) + pattern.y[static_cast<size_t>(i)];
            const Color c = ShadeSample(r, scene, builder, map, sc, frames, px, py, step);
            acc[0] += c.r, acc[1] += c.g, acc[2] += c.b;
        }
        const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(size) +
                                static_cast<std::size_t>(x)) *
                               3;
        for (int k = 0; k < 3; ++k)
            image.rgb[at + static_cast<std::size_t>(k)] = ShadedByte(acc[k] * inv);
    };
    std::atomic<int> next{0};
    RunOnRenderThreads(r.threads, tiles, [&] {
        PointShadeContext sc;
        scene.Prepare(sc);
        FrameCache frames;
        for (int t = next++; t < tiles; t = next++) {
            const int x0 = (t % tilesX) * kObjectTile, y0 = (t / tilesX) * kObjectTile;
            const int x1 = std::min(size, x0 + kObjectTile), y1 = std::min(size, y0 + kObjectTile);
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x) pixel(sc, frames, x, y);
            if (r.progress) r.progress->Advance();
        }
    });
    return image;
}

}  // namespace QuarelPreview
