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

// The joint bands (the regions NearJoint tests) seen from the point: the squared distance to
// the nearest band the point is outside of, and how deep it lies in the deepest band holding it.
struct BandReach {
    float outside2 = 1e30f;
    float depth = 0.f;
};

void MeasureBand(const JointLine& j, float across, float along, float unitAcross, float unitAlong,
                 float half, float ext, BandReach& r) {
    const float at = j.at * unitAcross / 4.f;
    const float from = j.from * unitAlong / 4.f - ext;
    const float to = j.to * unitAlong / 4.f + ext;
    const float dx = std::fabs(across - at) - half;
    const float dy = std::max(from - along, along - to);
    if (dx <= 0.f && dy <= 0.f) {
        r.depth = std::max(r.depth, std::min(-dx, -dy));
        return;
    }
    const float ox = std::max(dx, 0.f);
    const float oy = std::max(dy, 0.f);
    r.outside2 = std::min(r.outside2, ox * ox + oy * oy);
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

    // The face is the stone's rectangle less the joint bands: on it, the nearest of their edges
    // (exact); in a band, how deep the point lies in it (a lower bound). A band without width
    // lies on the stones' borders, never nearer than the rectangle's own sides.
    BandReach bands;
    if (hu > 0.f) {
        for (const JointLine& j : kVerticalJoints) MeasureBand(j, px, py, Wc, Hc, hu, hv, bands);
    }
    if (hv > 0.f) {
        for (const JointLine& j : kHorizontalJoints) MeasureBand(j, py, px, Hc, Wc, hv, hu, bands);
    }
    const float edge = bands.depth > 0.f ? std::min(g.edge, -bands.depth)
                                         : std::min(g.edge, std::sqrt(bands.outside2));

    cell.isGrout = joint;
    cell.jointDist = JointDistance(edge, joint);
    SwapFrameOnCell(g, W, H, cell);
    cell.brickU = 16 * a + p;
    cell.brickV = b;
}

}  // namespace QuarelNS
