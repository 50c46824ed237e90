// The main map's relief as the preview shows it, reached as a host reaches it: the normal and
// the bump output are the map's sub-maps (relief_outputs.h), and the height field comes from
// the normal output's IQuarelReliefHeight interface.
//
// Normal colours follow the +Y up convention: green grows where the surface faces +v, which is
// up in the preview's pictures (v runs from the bottom row to the top row). FlipGreen turns them
// into the +Y down convention some engines expect.
//
// All of this runs on render threads, after the map's Update on the main thread.
#pragma once

#include "imtl.h"
#include "preview/setup/relief_outputs.h"

namespace QuarelPreview {

// The normal output's colour; the flat normal (0.5, 0.5, 1, 1) when there is none.
AColor NormalOutputColor(Texmap* normal, ShadeContext& sc);
// The bump output's colour; opaque black when there is none.
AColor BumpOutputColor(Texmap* bump, ShadeContext& sc);
// The height field of the normal output; 0 when there is none.
float ReliefHeightAt(Texmap* normal, ShadeContext& sc);

// The map's own perturbation (EvalNormalPerturb) as a tangent-space normal: its components
// along the derivative vectors of the map's coordinates (tu, tv), shown as the colour of the
// unit vector (-tu, -tv, 1). A surface rises where the perturbation points, so its normal
// leans the other way, as the normal output's does.
AColor PerturbationColor(Texmap* map, ShadeContext& sc);

// g becomes 1 - g.
inline void FlipGreen(AColor& c) {
    c.g = 1.f - c.g;
}

}  // namespace QuarelPreview
