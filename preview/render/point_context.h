// The preview's shading contexts: how a point of the picture becomes a ShadeContext that a map
// is evaluated with, for the renderer and `sample` alike.
//
// Plane points are in tile units: whatever the map's UV generator does (a new QuarelMap's
// standard generator divides by a real-world size of 1000), the context is set up so that the
// generator hands the map exactly (u, v) and the filter size exactly (du, dv), wherever a float
// preimage exists; elsewhere the nearest found. The plane is the object itself, lying in its
// own z = 0 plane with normal +z, so an "Accurate" projection declines there as on a top face.
//
// Box points lie on one of the four side faces of an object box from the origin to `size`,
// with object space as camera space, so that the map's "Accurate" projection applies.
//
// ShadeContextBuilder is made on the main thread after the map's Update (it probes the UV
// generator once); its Set* calls then run on any render thread, each on its own context,
// without allocation.
#pragma once

#include "host/scripted_shade_context.h"
#include "imtl.h"

namespace QuarelPreview {

// A scripted context with one set of texture coordinates for every map channel.
class PointShadeContext : public ScriptedShadeContext {
public:
    Point3 UVW(int) override { return mUVW; }
    Point3 DUVW(int) override { return mDUVW; }
    Point3 mUVW, mDUVW;
};

// Side faces of the box in the order they are unrolled, walking around it: the element numbers
// of the "Accurate" projection.
enum class BoxFace { PosY = 0, PosX = 1, NegY = 2, NegX = 3 };

// What the context holds for the generator to read: a source point and its filter size.
struct PlaneSource {
    float x = 0.f, y = 0.f, dx = 0.f, dy = 0.f;
};

class ShadeContextBuilder {
public:
    // `map` may have no UV generator; then the map reads channel 1 as it comes.
    explicit ShadeContextBuilder(Texmap* map);

    // A plane point in tile units; du, dv its filter size.
    void SetPlanePoint(PointShadeContext& sc, float u, float v, float du = 0.f,
                       float dv = 0.f) const {
        Apply(sc, Solve(sc, u, v, du, dv));
    }

    // The source the generator turns into (u, v) and (du, dv); `scratch` is written.
    PlaneSource Solve(PointShadeContext& scratch, float u, float v, float du, float dv) const;
    static void Apply(PointShadeContext& sc, const PlaneSource& s);
    // The source from the generator's affine model alone, without refining it against the
    // generator: good to a few ulps, for renderers that need no exact preimage.
    PlaneSource SolveAffine(float u, float v, float du, float dv) const;

    // True when u and its filter size depend on the source's x alone and v on y alone (a
    // generator without a W angle). Then a renderer may solve each pixel column and row once
    // and combine them.
    bool Separable() const { return mSeparable; }

    // A point on a side face of the box [0, size]: `a` runs along the face (0..1 in the order
    // the projection unrolls it) and z up it (0..1). `uv` gives the texture coordinates, for a
    // map that does not project.
    void SetBoxPoint(PointShadeContext& sc, const PlaneSource& uv, const Point3& size, BoxFace face,
                     float a, float z) const;

    // A point p on the surface of the box [0, size] with its outward normal n (any length but
    // zero), object space being camera and world space: ObjectBox the box, PObjRelBox p / size,
    // Normal and GNormal n normalised, and channel 1 such that the generator hands the map
    // (p.x / size.x, p.y / size.y) with no filter size. The tangent frame follows the face n
    // points out of: along the face as the "Accurate" projection unrolls it and up z on a side
    // face, along x and y on the top and bottom.
    void SetBoxSurfacePoint(PointShadeContext& sc, const Point3& size, const Point3& p,
                            const Point3& n) const;

    // Derivatives of a point with respect to the source coordinates (what the context holds in
    // channel 1), from those with respect to the map's coordinates (u, v); the third is the
    // surface's unit normal.
    void SourceFrame(const Point3& dPdu, const Point3& dPdv, const Point3& normal,
                     Point3 dP[3]) const;

private:
    UVGen* mGen = nullptr;
    double mJ[2][2] = {{1, 0}, {0, 1}};  // d(u, v) / d(source)
    bool mSeparable = true;
    // Affine model of the generator, from probes: uv = origin + J * p, duv = D * |dp|.
    double mOrigin[2] = {0, 0};
    double mJinv[2][2] = {{1, 0}, {0, 1}};
    double mDinv[2][2] = {{1, 0}, {0, 1}};
};

}  // namespace QuarelPreview
