#include "preview/common/outputs.h"

namespace QuarelPreview {

const char* OutputName(Output o) {
    switch (o) {
        case Output::Mono:
            return "mono";
        case Output::Cells:
            return "cells";
        case Output::Normal:
            return "normal";
        case Output::Bump:
            return "bump";
        case Output::Perturb:
            return "perturb";
        case Output::Height:
            return "height";
        default:
            return "color";
    }
}

bool IsDeepOutput(Output o) {
    return o == Output::Normal || o == Output::Height;
}

bool IsNormalOutput(Output o) {
    return o == Output::Normal || o == Output::Perturb;
}

const char* ProjectionName(Projection p) {
    return p == Projection::Box ? "box" : "plane";
}

}  // namespace QuarelPreview
