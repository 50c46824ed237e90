// What a picture or a sample shows and how the map is laid out for it: named by the command
// line, rendered by render/, named again in default file names.
#pragma once

namespace QuarelPreview {

// What a pixel shows: the map's colour, its mono value, the pattern engine's cells, the normal
// output's colour, the bump output's colour, the map's own perturbation as a tangent-space
// normal, or the height field of the map's relief (see relief_view.h).
enum class Output { Color, Mono, Cells, Normal, Bump, Perturb, Height };
enum class Projection { Plane, Box };

// The option text of each output and projection ("color", "mono", "cells", "normal", "bump",
// "perturb", "height"; "plane", "box").
const char* OutputName(Output o);
// Outputs written as 16-bit pictures: normals and heights, whose slopes 8 bits would band.
bool IsDeepOutput(Output o);
// Outputs that are normals, and so have a green convention (+Y up or down).
bool IsNormalOutput(Output o);
const char* ProjectionName(Projection p);

}  // namespace QuarelPreview
