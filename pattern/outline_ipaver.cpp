// I-Paver (id 20): I-shaped stones at the centre and the corners of each repeat cell, connector
// stones in the four quarters between them. Which stone covers a point is decided by exact shape
// tests; the grout by the point's distance to that stone's outline.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "pattern/cell_steps.h"
#include "pattern/generators.h"
#include "pattern/outline_ipaver_shape.h"

namespace QuarelNS {

void IPaver(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    const float nu = static_cast<float>(std::max(ps.nx, 1));
    const float nv = static_cast<float>(std::max(ps.ny, 1));
    const float gu = std::clamp(ps.gap_u, 0.f, 0.45f);
    const float gv = std::clamp(ps.gap_v, 0.f, 0.45f);

    // Design y runs against v.
    const float X = u * kIPaverCell * nu;
    const float Y = (1.f - v) * kIPaverCell * nv;
    const std::int32_t a = FloorToInt(X / kIPaverCell);
    const std::int32_t b = FloorToInt(Y / kIPaverCell);
    const float px = X - kIPaverCell * static_cast<float>(a);
    const float py = Y - kIPaverCell * static_cast<float>(b);

    const bool left = px < kIPaverHalfCell;
    const bool low = py < kIPaverHalfCell;
    const float cx = px - kIPaverHalfCell;
    const float cy = py - kIPaverHalfCell;
    const float kx = px - (left ? 0.f : kIPaverCell);
    const float ky = py - (low ? 0.f : kIPaverCell);
    float qx = px - (left ? 447.5f : 1342.5f);
    const float qy = py - (low ? 447.5f : 1342.5f);
    // Connectors in the quarters where left differs from low are mirrored.
    if (left != low) qx = -qx;
    const std::int32_t i = left ? 0 : 1;
    const std::int32_t j = low ? 0 : 1;

    // The joint's width; beyond the grid's bound no distance can fall below it. Where the grid
    // knows the stone, the shape tests are skipped.
    const float reach = (gu + gv) * 447.5f;
    const IPaverGridCell known = IPaverGridAt(px, py);
    const bool near = !(reach < known.clear);
    constexpr float kFar = std::numeric_limits<float>::infinity();
    const IPaverStone stone =
        known.stone != IPaverStone::Undecided ? known.stone : IPaverStoneAt(cx, cy, kx, ky, qx, qy);

    // The grout test takes no distance where the grid rules the joint out; only the joint
    // distance needs the nearest outline everywhere.
    const bool measure = near || ps.wantJointDist;
    const float mirror = left != low ? -1.f : 1.f;
    OutlineNearest n{kFar, 0.f, 0.f};
    switch (stone) {
        case IPaverStone::CentreI:
            if (measure) n = IOutlineNearest(cx, cy);
            cell.brickU = 4 * a + 2;
            cell.brickV = 4 * b + 2;
            cell.localU = (cx + kIHalfExtent) / 907.f;
            cell.localV = 1.f - (cy + kIHalfExtent) / 907.f;
            cell.kind = 1;
            break;
        case IPaverStone::CornerI:
            if (measure) n = IOutlineNearest(kx, ky);
            cell.brickU = 4 * (a + i);
            cell.brickV = 4 * (b + j);
            cell.localU = (kx + kIHalfExtent) / 907.f;
            cell.localV = 1.f - (ky + kIHalfExtent) / 907.f;
            cell.kind = 1;
            break;
        case IPaverStone::Connector:
            if (measure) n = ConnectorOutlineNearest(qx, qy);
            n.ox *= mirror;
            cell.brickU = 2 * (2 * a + i) + 1;
            cell.brickV = 2 * (2 * b + j) + 1;
            cell.localU = (qx + kConnectorHalf) / 895.f;
            cell.localV = 1.f - (qy + kConnectorHalf) / 895.f;
            cell.kind = 0;
            break;
        default: {
            // The bits of the quarter that no stone covers: grout wherever the joint reaches.
            cell.brickU = 4 * a;
            cell.brickV = 4 * b;
            cell.localU = 0.5f;
            cell.localV = 0.5f;
            cell.kind = 0;
            if (!measure) break;
            n = ConnectorOutlineNearest(qx, qy);
            n.ox *= mirror;
            const OutlineNearest k = IOutlineNearest(kx, ky);
            if (k.d < n.d) n = k;
            const OutlineNearest c = IOutlineNearest(cx, cy);
            if (c.d < n.d) n = c;
            break;
        }
    }
    cell.sizeU = 1.f / nu;
    cell.sizeV = 1.f / nv;
    cell.isGrout = reach > (near ? n.d : kFar);
    if (!ps.wantJointDist) return;
    // A stone's face is the stone less the joint's reach; off every stone the two add up.
    const float edge = stone != IPaverStone::Uncovered ? n.d - reach : -(n.d + reach);
    const DesignJacobian jac{kIPaverCell * nu, 0.f, 0.f, -kIPaverCell * nv};
    cell.jointDist = JointDistance(edge * DesignFactor(n.ox, n.oy, jac), cell.isGrout);
}

}  // namespace QuarelNS
