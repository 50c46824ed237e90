// Modular Ashlar: a repeat cell of two count units each way, cut on a 4 x 4 grid of quarters
// into nine stones of four sizes.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "pattern/cell_steps.h"
#include "pattern/generators.h"
#include "pattern/grid_index.h"

namespace QuarelNS {

namespace {

// Stone covering each quarter of the repeat cell, by row (v) then column (u).
constexpr std::int32_t kStoneOfQuarter[4][4] = {
    {0, 0, 1, 1},
    {2, 3, 3, 4},
    {2, 5, 6, 6},
    {7, 5, 8, 8},
};

// Stone rectangles in quarters: x, y, width, height.
struct StoneRect {
    float x, y, w, h;
};
constexpr StoneRect kStones[9] = {
    {0.f, 0.f, 2.f, 1.f}, {2.f, 0.f, 2.f, 1.f}, {0.f, 1.f, 1.f, 2.f},
    {1.f, 1.f, 2.f, 1.f}, {3.f, 1.f, 1.f, 1.f}, {1.f, 2.f, 1.f, 2.f},
    {2.f, 2.f, 2.f, 1.f}, {0.f, 3.f, 1.f, 1.f}, {2.f, 3.f, 2.f, 1.f},
};

// The joint lines inside the repeat cell, in quarters: the line's position and the span it
// covers along the other axis.
struct JointLine {
    float at, from, to;
};
constexpr JointLine kVerticalJoints[4] = {
    {1.f, 1.f, 4.f}, {2.f, 0.f, 1.f}, {2.f, 2.f, 4.f}, {3.f, 1.f, 2.f}};
constexpr JointLine kHorizontalJoints[4] = {
    {1.f, 0.f, 4.f}, {2.f, 1.f, 4.f}, {3.f, 0.f, 1.f}, {3.f, 2.f, 4.f}};

// Within `half` of the line (strict), its ends extended by `ext`. `along` and `across` are the
// point's coordinates along and across the line, `unitAlong`/`unitAcross` the cell's extents.
bool NearJoint(const JointLine& j, float across, float along, float unitAcross, float unitAlong,
               float half, float ext) {
    const float at = j.at * unitAcross / 4.f;
    const float from = j.from * unitAlong / 4.f;
    const float to = j.to * unitAlong / 4.f;
    return std::fabs(across - at) < half && along >= from - ext && along <= to + ext;
}

}  // namespace

void ModularAshlar(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    const float Wc = 2.f / static_cast<float>(CountOrOne(ps.nx));
    const float Hc = 2.f / static_cast<float>(CountOrOne(ps.ny));
    const std::int32_t a = FloorToInt(u / Wc);
    const std::int32_t b = FloorToInt(v / Hc);
    const float s = (u - static_cast<float>(a) * Wc) / Wc;
    const float t = (v - static_cast<float>(b) * Hc) / Hc;

    const std::int32_t gx = std::clamp(FloorToInt(4.f * s), 0, 3);
    const std::int32_t gy = std::clamp(FloorToInt(4.f * t), 0, 3);
    const std::int32_t p = kStoneOfQuarter[gy][gx];
    const StoneRect& st = kStones[p];
    const float ls = Clamp01((s - st.x / 4.f) / (st.w / 4.f));
    const float lt = Clamp01((t - st.y / 4.f) / (st.h / 4.f));
    const float W = (st.w / 4.f) * Wc;
    const float H = (st.h / 4.f) * Hc;
    const GroutFace g = GroutFinish(ps.gap_u, ps.gap_v, W, H, ls, lt);

    // The joints between stones, drawn as lines of the repeat cell so that they stay straight
    // and of even width where stones of different sizes meet.
    const float px = s * Wc;
    const float py = t * Hc;
    const float q = std::min(Wc / 4.f, Hc / 4.f);
    const float hu = ClampJointGap(ps.gap_u) * 0.5f * q;
    const float hv = ClampJointGap(ps.gap_v) * 0.5f * q;
    bool joint = g.isGrout;  // already in a joint: the lines cannot change that
    for (const JointLine& j : kVerticalJoints)
        joint = joint || NearJoint(j, px, py, Wc, Hc, hu, hv);
    for (const JointLine& j : kHorizontalJoints)
        joint = joint || NearJoint(j, py, px, Hc, Wc, hv, hu);

    // The joint distance is the rectangle's: a line's band is never wider than the stone's own
    // joint (both are gap widths, the band's of a quarter, the stone's of its shorter side, which
    // is at least a quarter) and lies on the stones' borders, its ends extended by no more, so
    // it never reaches a face.
    cell.isGrout = joint;
    if (ps.wantJointDist) cell.jointDist = JointDistance(g.edge, joint);
    SwapFrameOnCell(g, W, H, cell);
    cell.brickU = 16 * a + p;
    cell.brickV = b;
}

}  // namespace QuarelNS
