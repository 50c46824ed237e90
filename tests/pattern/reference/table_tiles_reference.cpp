#include "reference/table_tiles_reference.h"

#include <algorithm>
#include <cmath>

#include "pattern/cell_steps.h"
#include "pattern/evaluate.h"

namespace QuarelNS::reference {

namespace {

float Snap(float c, float S) {
    return c <= 25.f ? 0.f : c >= S - 25.f ? S : c;
}

struct Box {
    float x0, x1, y0, y1;
};

float BoxSq(const Box& b, float px, float py) {
    const float dx = px > b.x1 ? px - b.x1 : px < b.x0 ? b.x0 - px : 0.f;
    const float dy = py > b.y1 ? py - b.y1 : py < b.y0 ? b.y0 - py : 0.f;
    return dx * dx + dy * dy;
}

// The repeat cell (a, b) of a point and its design coordinates, y running down.
struct Mapped {
    std::int32_t a, b;
    float px, py, nu, nv;
};

Mapped Map(const PatternSettings& ps, float u, float v, float S) {
    Mapped m;
    m.nu = static_cast<float>(std::max(ps.nx, 1));
    m.nv = static_cast<float>(std::max(ps.ny, 1));
    m.a = FloorToInt(m.nu * u);
    m.b = FloorToInt(m.nv * v);
    m.px = (m.nu * u - static_cast<float>(m.a)) * S;
    m.py = (1.f - (m.nv * v - static_cast<float>(m.b))) * S;
    return m;
}

// Position and extent of the point's face in the piece's box; the joints are applied only when
// the point lies in the piece, otherwise it is grout as it stands.
GroutFace BoxFace(const PatternSettings& ps, const Box& r, const Mapped& m, float S, bool inside) {
    const float wd = r.x1 - r.x0;
    const float hd = r.y1 - r.y0;
    const float s = Clamp01(wd <= 1e-6f ? 0.5f : (m.px - r.x0) / wd);
    const float t = Clamp01(hd <= 1e-6f ? 0.5f : 1.f - (m.py - r.y0) / hd);
    const float W = (wd / S) / m.nu;
    const float H = (hd / S) / m.nv;
    return inside ? GroutFinish(ps.gap_u, ps.gap_v, W, H, s, t) : GroutFace{s, t, W, H, true, 0.f};
}

struct VertexPoint {
    float x, y;
};

VertexPoint Vertex(const PolygonTile& p, int k, float S) {
    return {Snap(p.vertices[k].x, S), Snap(p.vertices[k].y, S)};
}

Box PolygonBox(const PolygonTile& p, float S) {
    const VertexPoint v0 = Vertex(p, 0, S);
    Box b{v0.x, v0.x, v0.y, v0.y};
    for (int k = 1; k < p.count; ++k) {
        const VertexPoint v = Vertex(p, k, S);
        b = {std::min(b.x0, v.x), std::max(b.x1, v.x), std::min(b.y0, v.y), std::max(b.y1, v.y)};
    }
    return b;
}

bool Inside(const PolygonTile& p, float S, float px, float py) {
    if (p.count < 3) return false;
    bool inside = false;
    for (int k = 0; k < p.count; ++k) {
        const VertexPoint q = Vertex(p, k == 0 ? p.count - 1 : k - 1, S), c = Vertex(p, k, S);
        if ((c.y > py) != (q.y > py) && q.y - c.y != 0.f &&
            (py - c.y) * (q.x - c.x) / (q.y - c.y) + c.x > px)
            inside = !inside;
    }
    return inside;
}

float OutlineSq(const PolygonTile& p, float S, float px, float py) {
    if (p.count < 2) return 1e30f;
    float best = 1e30f;
    for (int k = 0; k < p.count; ++k) {
        const VertexPoint q = Vertex(p, k == 0 ? p.count - 1 : k - 1, S), c = Vertex(p, k, S);
        const float len2 = (c.x - q.x) * (c.x - q.x) + (c.y - q.y) * (c.y - q.y);
        float lambda = 0.f;
        if (len2 > 1e-12f)
            lambda = Clamp01(((px - q.x) * (c.x - q.x) + (py - q.y) * (c.y - q.y)) / len2);
        const float qx = q.x + lambda * (c.x - q.x);
        const float qy = q.y + lambda * (c.y - q.y);
        best = std::min(best, (px - qx) * (px - qx) + (py - qy) * (py - qy));
    }
    return best;
}

// The face frame both table generators write: turned when the piece is wider than tall.
void WriteFaceFrame(BrickCell& cell, const GroutFace& f, bool turned) {
    cell.localU = Clamp01(turned ? f.b : f.a);
    cell.localV = Clamp01(turned ? f.a : f.b);
    cell.sizeU = turned ? f.faceH : f.faceW;
    cell.sizeV = turned ? f.faceW : f.faceH;
    cell.turned = turned ? 1 : 0;
    cell.upright = turned ? 0 : 1;
    cell.projSizeU = cell.sizeU;
    cell.projSizeV = cell.sizeV;
}

}  // namespace

void RectTableTile(const PatternSettings& ps, float u, float v, BrickCell& cell,
                   const RectTileTable& table) {
    const float S = table.size;
    const Mapped m = Map(ps, u, v, S);
    auto box = [S](const RectTile& r) {
        return Box{Snap(r.x, S), Snap(r.x + r.width, S), Snap(r.y, S), Snap(r.y + r.height, S)};
    };
    int found = -1, nearest = 0;
    float nearestSq = 0.f;
    for (int k = 0; k < static_cast<int>(table.rows.size()) && found < 0; ++k) {
        const Box b = box(table.rows[k]);
        if (m.px >= b.x0 && m.px <= b.x1 && m.py >= b.y0 && m.py <= b.y1) {
            found = k;
        } else if (k == 0 || BoxSq(b, m.px, m.py) < nearestSq) {
            nearestSq = BoxSq(b, m.px, m.py);
            nearest = k;
        }
    }
    const int k = found >= 0 ? found : nearest;
    const Box b = box(table.rows[k]);
    const GroutFace f = BoxFace(ps, b, m, S, found >= 0);
    WriteFaceFrame(cell, f, b.x1 - b.x0 > b.y1 - b.y0);
    cell.isGrout = f.isGrout;
    cell.brickU = table.stride * m.a + k;
    cell.brickV = m.b;
    cell.kind = table.rows[k].kind;
}

void PolygonTableTile(const PatternSettings& ps, float u, float v, BrickCell& cell,
                      const PolygonTileTable& table) {
    const float S = table.size;
    const Mapped m = Map(ps, u, v, S);
    const int n = static_cast<int>(table.rows.size());
    int found = -1;
    for (int k = 0; k < n && found < 0; ++k) {
        if (Inside(table.rows[k], S, m.px, m.py)) found = k;
    }
    // Outside every polygon: the one whose box is nearest, the earlier on a tie.
    int k = found;
    float nearestSq = 0.f;
    for (int q = 0; q < n && found < 0; ++q) {
        const float d = BoxSq(PolygonBox(table.rows[q], S), m.px, m.py);
        if (q == 0 || d < nearestSq) {
            nearestSq = d;
            k = q;
        }
    }
    const Box b = PolygonBox(table.rows[k], S);
    const GroutFace f = BoxFace(ps, b, m, S, found >= 0);
    WriteFaceFrame(cell, f, f.faceW > f.faceH);
    cell.isGrout = true;
    if (found >= 0) {
        // Grout reaches across the outline of any polygon, not only the piece's own.
        float best = 1e30f;
        for (const PolygonTile& p : table.rows) best = std::min(best, OutlineSq(p, S, m.px, m.py));
        const float gu = std::min(std::max(ps.gap_u, 0.f), 0.49f);
        const float gv = std::min(std::max(ps.gap_v, 0.f), 0.49f);
        cell.isGrout = (gu + gv) * 0.25f * std::min(b.x1 - b.x0, b.y1 - b.y0) >= std::sqrt(best);
    }
    cell.brickU = table.stride * m.a + k;
    cell.brickV = m.b;
    cell.kind = table.rows[k].kind;
}

void PavingTile2(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    const int Nx = (std::max(ps.nx, 1) + 5) / 6;
    const int Ny = (std::max(ps.ny, 1) + 5) / 6;
    const float x1 = static_cast<float>(6 * Nx) * u;
    const float x2 = static_cast<float>(6 * Ny) * (1.f - v);
    const float X = 3266.f * x1 + 2861.f - 571.f * x2;
    const float Y = 571.f * x1 + 577.f + 3266.f * x2;
    const int fx = FloorToInt(x1), fy = FloorToInt(x2);

    // Every big square and the small one below its corner, of the lattice cells around: the last
    // that holds the point, or else the first nearest.
    bool found = false, any = false;
    float nearestSq = 0.f;
    int bi = 0, bj = 0;
    float be = 0.f;
    Box best{};
    for (int j = fy - 4; j <= fy + 4; ++j) {
        for (int i = fx - 4; i <= fx + 4; ++i) {
            const float X0 =
                3266.f * static_cast<float>(i) + 2861.f - 571.f * static_cast<float>(j);
            const float Y0 = 571.f * static_cast<float>(i) + 577.f + 3266.f * static_cast<float>(j);
            for (const float e : {3266.f, 571.f}) {
                const bool small = e == 571.f;
                const Box b{X0, X0 + e, small ? Y0 - 571.f : Y0, small ? Y0 : Y0 + 3266.f};
                const bool holds = X >= b.x0 && X <= b.x1 && Y >= b.y0 && Y <= b.y1;
                if (!holds && (found || (any && !(BoxSq(b, X, Y) < nearestSq)))) continue;
                if (holds) {
                    found = true;
                } else {
                    nearestSq = BoxSq(b, X, Y);
                }
                any = true;
                bi = i;
                bj = j;
                be = e;
                best = b;
            }
        }
    }
    const float s = Clamp01(be <= 1e-6f ? 0.5f : (X - best.x0) / be);
    const float t = Clamp01(be <= 1e-6f ? 0.5f : 1.f - (Y - best.y0) / be);
    const float cu = static_cast<float>(6 * Nx), cv = static_cast<float>(6 * Ny);
    const float Wf =
        (be / 10992797.f) * std::sqrt((3266.f / cu) * (3266.f / cu) + (571.f / cv) * (571.f / cv));
    const float Hf =
        (be / 10992797.f) * std::sqrt((571.f / cu) * (571.f / cu) + (3266.f / cv) * (3266.f / cv));
    const GroutFace g = GroutFinish(ps.gap_u, ps.gap_v, Wf, Hf, s, t);
    SetBrickLocalFrame(g.a, g.b, g.faceW, g.faceH, cell);
    cell.isGrout = found ? g.isGrout : true;
    cell.kind = be == 571.f ? 1 : 0;
    const int mu = ((bi % (6 * Nx)) + 6 * Nx) % (6 * Nx);
    const int mv = ((bj % (6 * Ny)) + 6 * Ny) % (6 * Ny);
    cell.brickU = 2 * mu + cell.kind;
    cell.brickV = mv;
}

BrickCell TableTileCell(const PatternSettings& settings, float u, float v) {
    const PatternSettings ps = SanitizePatternSettings(settings);
    u = ReduceToUnit(u);
    v = ReduceToUnit(v);
    BrickCell cell;
    if (ps.pattern == 25) RectTableTile(ps, u, v, cell, kPavingTile1);
    if (ps.pattern == 26) PavingTile2(ps, u, v, cell);
    if (ps.pattern == 27) RectTableTile(ps, u, v, cell, kParquetTile1);
    if (ps.pattern == 28) PolygonTableTile(ps, u, v, cell, kParquetTile2);
    if (ps.pattern == 29) PolygonTableTile(ps, u, v, cell, kParquetTile3);
    return cell;
}

}  // namespace QuarelNS::reference
