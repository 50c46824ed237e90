#include "reference/angled_tiles_reference.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "pattern/cell_steps.h"
#include "pattern/evaluate.h"
#include "pattern/grid_index.h"

namespace QuarelNS::reference {

namespace {

// Offset to a centre, taken the short way round the unit tile.
inline float HexWrapOffset(float d) {
    if (d > 0.5f) d -= 1.f;
    if (d < -0.5f) d += 1.f;
    return d;
}

}  // namespace

void Hexagons(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    const float W = 1.f / static_cast<float>(CountOrOne(ps.nx));
    const float H = 1.f / static_cast<float>(CountOrOne(ps.ny));
    const float gu = ClampJointGap(ps.gap_u);
    const float gv = ClampJointGap(ps.gap_v);
    const std::int32_t a = FloorToInt(u / W);
    const std::int32_t b = FloorToInt(v / H);
    const float halfW = W / 1.5f;  // centre to side corner
    const float halfH = H / 2.f;   // centre to top edge

    // The nearest centre in the hexagonal metric among the 3 x 3 neighbouring candidates; on a
    // tie the first in search order wins.
    float bestMetric = 0.f, bestP = 0.f, bestQ = 0.f;
    std::int32_t bestC = 0, bestR = 0;
    bool found = false;
    for (std::int32_t c = a - 1; c <= a + 1; ++c) {
        const float shift = (c & 1) != 0 ? H / 2.f : 0.f;
        const float cx = static_cast<float>(c) * W + W / 1.5f;
        for (std::int32_t r = b - 1; r <= b + 1; ++r) {
            const float cy = static_cast<float>(r) * H + H / 2.f + shift;
            const float p = HexWrapOffset(u - cx) / halfW;
            const float q = HexWrapOffset(v - cy) / halfH;
            const float metric = std::max(std::fabs(q), std::fabs(p) + 0.5f * std::fabs(q));
            if (!found || metric < bestMetric) {
                found = true;
                bestMetric = metric;
                bestP = p;
                bestQ = q;
                bestC = c;
                bestR = r;
            }
        }
    }

    const float ap = std::fabs(bestP);
    const float aq = std::fabs(bestQ);
    const float hu = gu * 0.45f;
    const float hv = gv * 0.6f;
    cell.isGrout = hu > 1.f - ap - 0.5f * aq || hv > 1.f - aq;
    cell.localU = Clamp01(bestP / std::max(0.001f, 1.f - 0.5f * aq) * 0.5f + 0.5f);
    cell.localV = Clamp01(bestQ * 0.5f + 0.5f);
    cell.brickU = bestC;
    cell.brickV = bestR;
    cell.sizeU = (1.f - 2.f * hu) * W / 0.75f;
    cell.sizeV = (1.f - 2.f * hv) * H;
}

BrickCell EvaluateHexagons(const PatternSettings& settings, float u, float v) {
    BrickCell cell;
    Hexagons(SanitizePatternSettings(settings), ReduceToUnit(u), ReduceToUnit(v), cell);
    return cell;
}

}  // namespace QuarelNS::reference
