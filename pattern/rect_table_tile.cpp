// Rectangle-table tiles: each repeat cell holds the table's rectangles, drawn in the tile's design
// square. A point takes the first rectangle that contains it, or else the nearest one as grout.
#include <algorithm>
#include <cmath>
#include <limits>

#include "pattern/cell_steps.h"
#include "pattern/table_tile_search.h"
#include "pattern/table_tile_steps.h"

namespace QuarelNS {

void RectTableTile(const PatternSettings& ps, float u, float v, BrickCell& cell,
                   const RectTileSearch& table) {
    const DesignPosition d = PlaceInDesignSquare(ps, u, v, table.size);

    // Table order decides the one-unit overlaps between neighbours; a later rectangle replaces
    // the nearest so far only when strictly nearer.
    std::int32_t piece = -1;
    std::int32_t nearest = 0;
    float nearestSq = std::numeric_limits<float>::infinity();
    for (std::int32_t k = 0; k < table.count; ++k) {
        const SnappedRect& r = table.rects[k];
        if (d.px >= r.x0 && d.px <= r.x1 && d.py >= r.y0 && d.py <= r.y1) {
            piece = k;
            break;
        }
        const float sq = BoxDistanceSq(r.x0, r.x1, r.y0, r.y1, d.px, d.py);
        if (sq < nearestSq) {
            nearestSq = sq;
            nearest = k;
        }
    }
    const bool found = piece >= 0;
    if (!found) piece = nearest;

    const SnappedRect& r = table.rects[piece];
    const BoxFace f = FaceOfBox(r.x0, r.x1, r.y0, r.y1, d, table.size);
    float s = f.s, t = f.t, w = f.w, h = f.h;
    if (found) {
        const GroutFace g = GroutFinish(ps.gap_u, ps.gap_v, f.w, f.h, f.s, f.t);
        cell.isGrout = g.isGrout;
        s = g.a;
        t = g.b;
        w = g.faceW;
        h = g.faceH;
        if (ps.wantJointDist) cell.jointDist = JointDistance(g.edge, g.isGrout);
    } else {
        cell.isGrout = true;
        // Off every rectangle: the way to the nearest one, a lower bound of the way to its face.
        const float ex = std::max(std::max(r.x0 - d.px, d.px - r.x1), 0.f) / (table.size * d.nu);
        const float ey = std::max(std::max(r.y0 - d.py, d.py - r.y1), 0.f) / (table.size * d.nv);
        if (ps.wantJointDist) cell.jointDist = std::sqrt(ex * ex + ey * ey);
    }

    // The frame follows the piece's design proportions, not its face in UV: a plank stays
    // turned whatever the repeat cell's aspect.
    if (f.wd > f.hd) {
        cell.localU = Clamp01(t);
        cell.localV = Clamp01(s);
        cell.sizeU = h;
        cell.sizeV = w;
        cell.turned = 1;
        cell.upright = 0;
    } else {
        cell.localU = Clamp01(s);
        cell.localV = Clamp01(t);
        cell.sizeU = w;
        cell.sizeV = h;
        cell.turned = 0;
        cell.upright = 1;
    }
    cell.projSizeU = cell.sizeU;
    cell.projSizeV = cell.sizeV;

    cell.brickU = table.stride * d.a + piece;
    cell.brickV = d.b;
    cell.kind = r.kind;
}

}  // namespace QuarelNS
