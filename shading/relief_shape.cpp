#include "shading/relief_shape.h"

namespace QuarelNS {

bool HasReliefShape(const EvalSnapshot& s) {
    return s.bevel_width > 0.f || HasReliefWear(s);
}

bool NeedsJointDistance(const EvalSnapshot& s) {
    return s.bevel_width > 0.f;
}

BrickReliefShape ReliefShapeOf(const EvalSnapshot& s, std::uint32_t key) {
    BrickReliefShape shape;
    shape.bevelWidth = s.bevel_width;
    shape.profile = BevelProfileFromId(s.bevel_profile);
    if (HasReliefWear(s)) shape.top = DrawBrickTop(s, key);
    return shape;
}

float ReliefRise(const BrickReliefShape& shape, const BrickCell& cell) {
    // The bevel rises from the joint to the face's own, sunk and tilted top. Without wear the
    // share is exactly 1, so the product is the bevel's blend bit for bit.
    return BevelBlend(cell, shape.bevelWidth, shape.profile) * shape.top.ShareAt(cell);
}

}  // namespace QuarelNS
