// Lit sample objects, as a material editor shows a map: a sphere, a cube, a cylinder or a
// square plane, seen by a perspective camera from above and to the front right (the cube shows
// its +X and -Y side faces and its top) at a distance where the object fills most of the
// picture, lit by a key and a fill light with Lambert shading of the map's colour, over a
// neutral checker background. The camera and the key light can be placed elsewhere.
//
// Every object fits the box [-0.5, 0.5]^3 (the plane lies in z = 0), object space being world
// space, z up. Each hit is a complete shading context in camera space (the camera looks down
// -z, y up): P and its ray differentials at the pixel footprint, Normal and GNormal, ObjectBox,
// PObj and PObjRelBox, the transforms to and from object and world space, and texture channel 1
// with its filter size from the ray differentials and its tangent frame (DPdUVW). Channel 1
// holds what the map's UV generator turns into these texture coordinates, in tile units:
//   sphere    u around (two tiles, from -x through +y), v from the bottom pole 0 to the top 1;
//   cylinder  u around (three tiles), v from bottom 0 to top 1; caps as the top face below;
//   cube      each face 0..1: the side faces along the face in the order the map's "Accurate"
//             projection unrolls them (+Y, +X, -Y, -X), v up; top and bottom x and y;
//   plane     x and y, 0..1.
// `tiles` scales both coordinates alike, so the bricks keep their proportions: N tiles around
// the sphere or the cylinder, or across each face of the cube and the plane.
// So in "Simple" mode each cube face shows `tiles` tiles, and in "Accurate" mode the map
// projects its bricks around the side faces itself (the top face falls back to the Simple
// coordinates).
//
// The map's perturbation (EvalNormalPerturb), times `bump`, bends the shading normal: it points
// up the slope of the map's relief, so the normal leans the other way, N - bump x perturbation,
// as the perturb output shows it (relief_view.h), and raised bricks look raised.
// Each pixel is the mean of a fixed pattern of samples and depends on its position only, so
// the bytes do not depend on the thread count. The map must have been updated on the calling
// thread.
#pragma once

#include <optional>
#include <string>

#include "imtl.h"
#include "preview/common/image.h"
#include "preview/common/progress.h"
#include "preview/render/point_context.h"

namespace QuarelPreview {

enum class ObjectShape { Sphere, Cube, Cylinder, Plane };

// "sphere", "cube", "cylinder", "plane"; an unknown name gives the sphere.
ObjectShape ObjectShapeFromName(const std::string& name);
const char* ObjectShapeName(ObjectShape s);

// A place seen from the object's centre: azimuth around the vertical (z) from +x towards +y
// and elevation above the ground, in degrees; for the camera also its distance from the centre,
// in the units of the object, which fits a unit cube.
struct ObjectAngles {
    float azimuth = 0.f, elevation = 0.f;
};
struct CameraPlace {
    float distance = 0.f;
    ObjectAngles angles;
};

// The camera a shape is seen from unless told otherwise, and how many tiles it shows.
CameraPlace DefaultCamera(ObjectShape s);
int DefaultTiles(ObjectShape s);
// The key light's direction unless told otherwise: above, front left.
ObjectAngles DefaultLight();

struct ObjectRequest {
    ObjectShape object = ObjectShape::Sphere;
    std::optional<CameraPlace> camera;  // none: DefaultCamera(object)
    std::optional<ObjectAngles> light;  // the key light; none: DefaultLight()
    int tiles = 0;                      // 0: DefaultTiles(object)
    int size = 512;                     // pixels along each side
    int samples = 1;                    // per pixel
    int threads = 0;                    // 0: all cores
    float bump = 1.f;                   // scale of the map's perturbation on the shading normal
    ProgressBar* progress = nullptr;    // advanced by one per tile; may be null
};

int ObjectTileCount(const ObjectRequest& r);

Image RenderObject(const ObjectRequest& r, Texmap* map);

// What the ray through picture point (x, y) (pixels from the top left corner) meets: the point
// and the outward normal in object space, and the face: for the cube 0 to 3 the side faces in
// the projection's order, 4 the top, 5 the bottom; for the cylinder 0 its side, 4 and 5 its
// caps; 0 for the sphere and the plane. False when the ray misses.
struct ObjectHit {
    Point3 p, n;
    int face = 0;
};
bool TraceObject(const ObjectRequest& r, float x, float y, ObjectHit& hit);

// The shading context the renderer builds for one sample there whose footprint is one pixel;
// false when the ray misses.
bool ObjectContextAt(const ObjectRequest& r, Texmap* map, float x, float y, PointShadeContext& sc);
// The map's colour through that context, before lighting; false when the ray misses.
bool ObjectColorAt(const ObjectRequest& r, Texmap* map, float x, float y, AColor& colour);

}  // namespace QuarelPreview
