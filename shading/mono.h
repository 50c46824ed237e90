// The two grey values of a colour. They differ in their last bit on purpose: the main map has
// always divided by three, the relief heights and outputs have always multiplied by a third,
// and both are kept bit for bit.
#pragma once

#include "acolor.h"

namespace QuarelNS {

// The main map's mono value.
inline float MapMono(const AColor& c) {
    return (c.r + c.g + c.b) / 3.f;
}

// A relief height, and the mono value of the relief outputs.
inline float ReliefGrey(const AColor& c) {
    return (c.r + c.g + c.b) * 0.33333334f;
}

}  // namespace QuarelNS
