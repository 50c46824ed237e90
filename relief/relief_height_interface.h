// IQuarelReliefHeight: what a QuarelNormalMap hands out for GetInterface(kQuarelReliefHeightId):
// the height field its normal colours are the slopes of, at a shading point. For tools that
// bake a height map next to the normal map; the host itself never asks for it.
//
// The height is the grey of the parent's pattern in its relief colours (0 for black grout, 1
// for white bricks at the defaults), blended towards the parent's nested maps by the output's
// own texture relief, exactly as the output's slopes sample it. 0 for an orphan or with the
// context's doMaps off. Runs on render threads, as EvalColor does.
#pragma once

#include "imtl.h"

namespace QuarelNS {

inline constexpr ULONG kQuarelReliefHeightId = 0x58D7C0A1;

class IQuarelReliefHeight {
public:
    virtual float ReliefHeight(ShadeContext& sc) = 0;

protected:
    ~IQuarelReliefHeight() = default;
};

}  // namespace QuarelNS
