// A shading fixture that reads the map's one relief height and the normal output's slopes at a
// point, with the largest relief step (a wide filter), for the relief shape's tests.
#pragma once

#include "shading/relief_height.h"
#include "support.h"

namespace QuarelTest {

class ReliefProbeTest : public ShadingTest {
protected:
    QuarelNS::TexCoords Place(float u, float v) {
        sc.SetUVW(Point3(u, v, 0.f), Point3(1.f, 1.f, 0.f));
        return QuarelNS::ResolveTexCoords(snap, nullptr, sc, false);
    }
    float Height(float u, float v) {
        const QuarelNS::TexCoords at = Place(u, v);
        return QuarelNS::SampleReliefHeight(
            QuarelNS::MakeReliefHeightField(Src(), sc, at, 0.f, true), 0.f, 0.f);
    }
    QuarelNS::NormalSlopes Slopes(float u, float v) {
        Place(u, v);
        return QuarelNS::EvalNormalSlopes(Src(), nullptr, sc, 0.f);
    }
};

}  // namespace QuarelTest
