// ShadeOverrides: how callers of the per-point core (EvalBrickPoint) replace the colours and
// switch nested maps and the random second colour. The colour output passes none and gets the
// built-in default record; the relief evaluators pass their own, built on the stack.
#pragma once

#include "color.h"

namespace QuarelNS {

struct ShadeOverrides {
    bool useOwnColors = false;  // take the three colours below instead of the snapshot's
    Color brickColor1{1.f, 1.f, 1.f};
    Color brickColor2{1.f, 1.f, 1.f};
    Color groutColor{0.f, 0.f, 0.f};
    bool evalMaps = true;          // nested maps may be evaluated
    bool allowSecondColor = true;  // the random second colour may be chosen
    // The record reads heights: a brick's colour is blended towards the joint's by the brick's
    // relief shape (bevel and the like, shading/relief_shape.h).
    bool reliefShape = false;
};

// The built-in default record (snapshot colours, nested maps, random second colour), created
// once per process on first use; safe to call from any thread.
const ShadeOverrides& DefaultShadeOverrides();

}  // namespace QuarelNS
