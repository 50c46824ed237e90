// `quarel-preview sample`: values of an output at points read from a stream, for scripts and
// regression checks. Each line is "u v" or "u v du dv" (plane points in tile units, finite,
// filter sizes 0 when not given, never negative); empty lines and lines starting with '#' are
// skipped; the first line that is none of these stops the run. Each point prints one line "r g b a"
// with %.9g, evaluated through the same map and shading context as the renderer's; the perturbation
// prints "x y z 0", its raw components. On a box (--projection box) each line is "x y z nx ny nz"
// instead.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "imtl.h"
#include "pattern/pattern_types.h"
#include "preview/render/render.h"

namespace QuarelPreview {

struct SamplePoint {
    float u = 0.f, v = 0.f, du = 0.f, dv = 0.f;
};

// 1: a point; 0: a line to skip; -1: a malformed line, with `error` saying why.
int ParseSamplePoint(std::string_view line, SamplePoint& p, std::string& error);

// A point on a box and its outward normal: "x y z nx ny nz".
struct BoxSamplePoint {
    Point3 p, n;
};
// As ParseSamplePoint, for box points: six finite numbers, a normal of non-zero length.
int ParseBoxSamplePoint(std::string_view line, BoxSamplePoint& p, std::string& error);

// How far from the box's surface a box point may lie, as a fraction of the box's largest side.
constexpr float kBoxSurfaceTolerance = 1e-4f;
// Whether `p` lies on the surface of the box from the origin to `box`, within the tolerance;
// if not, `error` says how far off it is.
bool OnBoxSurface(const Point3& box, const Point3& p, std::string& error);

// Evaluates every point of `in` and prints to `out`; stops at a malformed line with a message
// naming its number on `err`, and then answers false. With `box`, lines are box points on the
// box from the origin to *box (ShadeContextBuilder::SetBoxSurfacePoint) instead of plane points.
bool RunSample(Texmap* map, Output output, const CellQuery& cells, std::FILE* in, std::FILE* out,
               std::FILE* err, const Point3* box = nullptr);

}  // namespace QuarelPreview
