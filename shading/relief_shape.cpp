#include "shading/relief_shape.h"

namespace QuarelNS {

bool HasReliefShape(const EvalSnapshot& s) {
    return s.bevel_width > 0.f;
}

bool NeedsJointDistance(const EvalSnapshot& s) {
    return s.bevel_width > 0.f;
}

BrickReliefShape ReliefShapeOf(const EvalSnapshot& s, std::uint32_t /*key*/) {
    BrickReliefShape shape;
    shape.bevelWidth = s.bevel_width;
    shape.profile = BevelProfileFromId(s.bevel_profile);
    return shape;
}

float ReliefRise(const BrickReliefShape& shape, const BrickCell& cell) {
    return BevelBlend(cell, shape.bevelWidth, shape.profile);
}

}  // namespace QuarelNS
