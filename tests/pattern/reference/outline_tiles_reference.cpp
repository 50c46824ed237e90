#include "reference/outline_tiles_reference.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "pattern/cell_steps.h"
#include "pattern/evaluate.h"
#include "pattern/outline_ipaver_shape.h"
#include "pattern/outline_maple_leaf_curve.h"

namespace QuarelNS::reference {

namespace {

struct Point {
    float x, y;
};

Point Bezier(const LeafCubic& c, int k) {
    const float t = static_cast<float>(k) / 24.f;
    const float s = 1.f - t;
    const float b0 = s * s * s;
    const float b1 = 3.f * s * s * t;
    const float b2 = 3.f * s * t * t;
    const float b3 = t * t * t;
    return {b0 * c.p0.x + b1 * c.p1.x + b2 * c.p2.x + b3 * c.p3.x,
            b0 * c.p0.y + b1 * c.p1.y + b2 * c.p2.y + b3 * c.p3.y};
}

// Crossing parity and squared distance to the nearest chord, over the outline flattened here.
void TestLeaf(float X, float Y, bool& inside, float& nearest2) {
    inside = false;
    nearest2 = 1e30f;
    for (const LeafCubic& seg : kMapleLeafOutline) {
        Point q0 = Bezier(seg, 0);
        for (int k = 1; k <= 24; ++k) {
            const Point q = Bezier(seg, k);
            if ((q.y > Y) != (q0.y > Y) && (q.x - q0.x) * (Y - q0.y) / (q.y - q0.y) + q0.x > X) {
                inside = !inside;
            }
            const float dx = q.x - q0.x;
            const float dy = q.y - q0.y;
            const float len2 = dx * dx + dy * dy;
            float t = 0.f;
            if (len2 > 1e-8f) t = ((X - q0.x) * dx + (Y - q0.y) * dy) / len2;
            t = std::min(std::max(t, 0.f), 1.f);
            const float ex = X - (q0.x + t * dx);
            const float ey = Y - (q0.y + t * dy);
            nearest2 = std::min(nearest2, ex * ex + ey * ey);
            q0 = q;
        }
    }
}

}  // namespace

void MapleLeaf(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    const float nu = static_cast<float>(std::max(ps.nx, 1));
    const float nv = static_cast<float>(std::max(ps.ny, 1));
    const float gu = std::min(std::max(ps.gap_u, 0.f), 0.45f);
    const float gv = std::min(std::max(ps.gap_v, 0.f), 0.45f);
    const std::int32_t a = FloorToInt(nu * u);
    const std::int32_t b = FloorToInt(nv * v);
    const float fu = nu * u - static_cast<float>(a);
    const float fv = nv * v - static_cast<float>(b);
    const float lmin = std::min(std::sqrt(23125216.f), std::sqrt(24406206.f));
    const float gw = lmin * ((gu + gv) * 0.5f) * 0.25f;
    const float e = gw + 2.f;

    bool any = false;
    bool found = false;
    float best = 1e30f;
    float bestX = 0.f, bestY = 0.f;
    std::int32_t bestI = 0, bestJ = 0;
    for (int dj = -1; dj <= 1; ++dj) {
        for (int di = -1; di <= 1; ++di) {
            const float du = fu - static_cast<float>(di);
            const float dv = fv - static_cast<float>(dj);
            const float X = 4716.5f * du + 970.5f * dv;
            const float Y = 4844.f * dv - 938.f * du;
            if (X < -322.f - e || X > 5388.f + e || Y < -2449.f - e || Y > 3416.f + e) continue;
            bool inside;
            float d2;
            TestLeaf(X, Y, inside, d2);
            const bool take = inside ? (!found || d2 > best) : (!found && d2 < best);
            if (take) {
                any = true;
                found = found || inside;
                best = d2;
                bestX = X;
                bestY = Y;
                bestI = a + di;
                bestJ = b + dj;
            }
        }
    }
    cell.brickU = any ? bestI : 0;
    cell.brickV = any ? bestJ : 0;
    cell.kind = (cell.brickU + cell.brickV) & 1;
    cell.localU = std::min(std::max((bestX + 322.f) / 5710.f, 0.f), 1.f);
    cell.localV = std::min(std::max(1.f - (bestY + 2449.f) / 5865.f, 0.f), 1.f);
    cell.sizeU = 1.f / nu;
    cell.sizeV = 1.f / nv;
    cell.isGrout = !found || gw > std::sqrt(best);
}

BrickCell EvaluateMapleLeaf(const PatternSettings& settings, float u, float v) {
    BrickCell cell;
    MapleLeaf(SanitizePatternSettings(settings), ReduceToUnit(u), ReduceToUnit(v), cell);
    return cell;
}

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

    float d;
    if (InsideIShape(cx, cy)) {
        d = IOutlineDistance(cx, cy);
        cell.brickU = 4 * a + 2;
        cell.brickV = 4 * b + 2;
        cell.localU = (cx + kIHalfExtent) / 907.f;
        cell.localV = 1.f - (cy + kIHalfExtent) / 907.f;
        cell.kind = 1;
    } else if (InsideIShape(kx, ky)) {
        d = IOutlineDistance(kx, ky);
        cell.brickU = 4 * (a + i);
        cell.brickV = 4 * (b + j);
        cell.localU = (kx + kIHalfExtent) / 907.f;
        cell.localV = 1.f - (ky + kIHalfExtent) / 907.f;
        cell.kind = 1;
    } else {
        cell.kind = 0;
        const float dc = ConnectorOutlineDistance(qx, qy);
        if (-ConnectorRightEdge(-qy) <= qx && qx <= ConnectorRightEdge(qy)) {
            d = dc;
            cell.brickU = 2 * (2 * a + i) + 1;
            cell.brickV = 2 * (2 * b + j) + 1;
            cell.localU = (qx + kConnectorHalf) / 895.f;
            cell.localV = 1.f - (qy + kConnectorHalf) / 895.f;
        } else {
            // The bits of the quarter that no stone covers: grout wherever the joint reaches.
            d = std::min(dc, std::min(IOutlineDistance(kx, ky), IOutlineDistance(cx, cy)));
            cell.brickU = 4 * a;
            cell.brickV = 4 * b;
            cell.localU = 0.5f;
            cell.localV = 0.5f;
        }
    }
    cell.sizeU = 1.f / nu;
    cell.sizeV = 1.f / nv;
    cell.isGrout = (gu + gv) * 447.5f > d;
}

BrickCell EvaluateIPaver(const PatternSettings& settings, float u, float v) {
    BrickCell cell;
    IPaver(SanitizePatternSettings(settings), ReduceToUnit(u), ReduceToUnit(v), cell);
    return cell;
}

}  // namespace QuarelNS::reference
