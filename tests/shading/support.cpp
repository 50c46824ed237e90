#include "support.h"

#include <set>
#include <tuple>

namespace QuarelTest {

AColor ProbeMap::EvalColor(ShadeContext& sc) {
    ++calls;
    uvw = sc.UVW(1);
    duvw = sc.DUVW(1);
    sc.DPdUVW(dP, 1);
    nodeId = sc.NodeID();
    faceNumber = sc.FaceNumber();
    mtlNum = sc.mtlNum;
    return color;
}

std::vector<BrickPoint> BrickCentres(const QuarelNS::EvalSnapshot& snap, int count) {
    std::vector<BrickPoint> points;
    std::set<std::tuple<int, int, int>> seen;
    constexpr int kGrid = 256;
    for (int j = 0; j < kGrid; ++j)
        for (int i = 0; i < kGrid; ++i) {
            const float u = (static_cast<float>(i) + 0.5f) / kGrid;
            const float v = (static_cast<float>(j) + 0.5f) / kGrid;
            const QuarelNS::BrickCell c = CellAt(snap, u, v, count);
            if (c.isGrout || c.localU < 0.3f || c.localU > 0.7f || c.localV < 0.3f ||
                c.localV > 0.7f)
                continue;
            if (seen.insert({c.brickU, c.brickV, c.kind}).second) points.push_back({u, v, c});
        }
    return points;
}

}  // namespace QuarelTest
