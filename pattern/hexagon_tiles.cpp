// Hexagons: flat-topped hexagons W/0.75 wide and H high in columns of pitch W, every odd column
// shifted by half a row.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "pattern/cell_steps.h"
#include "pattern/generators.h"
#include "pattern/grid_index.h"

namespace QuarelNS {

namespace {

// Offset to a centre, taken the short way round the unit tile.
inline float WrapOffset(float d) {
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
    // tie the first in search order (column, then row) wins. A candidate's p depends only on its
    // column and its q only on its row and the column's parity, so the nine metrics need three
    // divisions for p and six for q, each the very operation the candidate would do.
    float P[3];
    float Q[2][3];  // by column parity, then row
    for (int k = 0; k < 3; ++k) {
        const std::int32_t c = a - 1 + k;
        const float cx = static_cast<float>(c) * W + W / 1.5f;
        P[k] = WrapOffset(u - cx) / halfW;
        const std::int32_t r = b - 1 + k;
        for (int odd = 0; odd < 2; ++odd) {
            const float shift = odd != 0 ? H / 2.f : 0.f;
            const float cy = static_cast<float>(r) * H + H / 2.f + shift;
            Q[odd][k] = WrapOffset(v - cy) / halfH;
        }
    }
    float bestMetric = 0.f, bestP = 0.f, bestQ = 0.f;
    std::int32_t bestC = 0, bestR = 0;
    bool found = false;
    for (int i = 0; i < 3; ++i) {
        const std::int32_t c = a - 1 + i;
        const float p = P[i];
        const float* q = Q[(c & 1) != 0 ? 1 : 0];
        for (int k = 0; k < 3; ++k) {
            const float metric = std::max(std::fabs(q[k]), std::fabs(p) + 0.5f * std::fabs(q[k]));
            if (!found || metric < bestMetric) {
                found = true;
                bestMetric = metric;
                bestP = p;
                bestQ = q[k];
                bestC = c;
                bestR = b - 1 + k;
            }
        }
    }

    const float ap = std::fabs(bestP);
    const float aq = std::fabs(bestQ);
    const float hu = gu * 0.45f;
    const float hv = gv * 0.6f;
    cell.isGrout = hu > 1.f - ap - 0.5f * aq || hv > 1.f - aq;
    // Convex: the nearer of the slanted side and the flat top or bottom of the point's quadrant.
    const float gs = 1.f / halfW;
    const float gt = 0.5f / halfH;
    const float edge = std::min((1.f - hu - ap - 0.5f * aq) / std::sqrt(gs * gs + gt * gt),
                                (1.f - hv - aq) * halfH);
    if (ps.wantJointDist) cell.jointDist = JointDistance(edge, cell.isGrout);
    cell.localU = Clamp01(bestP / std::max(0.001f, 1.f - 0.5f * aq) * 0.5f + 0.5f);
    cell.localV = Clamp01(bestQ * 0.5f + 0.5f);
    cell.brickU = bestC;
    cell.brickV = bestR;
    cell.sizeU = (1.f - 2.f * hu) * W / 0.75f;
    cell.sizeV = (1.f - 2.f * hv) * H;
}

}  // namespace QuarelNS
