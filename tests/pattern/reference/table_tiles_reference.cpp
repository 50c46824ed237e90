#include "reference/table_tiles_reference.h"

#include <algorithm>
#include <cmath>

#include "pattern/cell_steps.h"
#include "pattern/evaluate.h"

namespace QuarelNS::reference {

namespace {

float Snap(float c, float S) {
    if (c <= 25.f) return 0.f;
    if (c >= S - 25.f) return S;
    return c;
}

float BoxSq(float x0, float x1, float y0, float y1, float px, float py) {
    float dx = 0.f, dy = 0.f;
    if (px < x0) dx = x0 - px;
    if (px > x1) dx = px - x1;
    if (py < y0) dy = y0 - py;
    if (py > y1) dy = py - y1;
    return dx * dx + dy * dy;
}

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

struct Box {
    float x0, x1, y0, y1;
};

// s, t, Wb, Hb of a piece from its box.
void BoxCoords(const Box& r, const Mapped& m, float S, float& s, float& t, float& W, float& H) {
    const float wd = r.x1 - r.x0;
    const float hd = r.y1 - r.y0;
    s = wd <= 1e-6f ? 0.5f : (m.px - r.x0) / wd;
    t = hd <= 1e-6f ? 0.5f : 1.f - (m.py - r.y0) / hd;
    s = Clamp01(s);
    t = Clamp01(t);
    W = (wd / S) / m.nu;
    H = (hd / S) / m.nv;
}

Box PolygonBox(const PolygonTile& p, float S) {
    Box b{Snap(p.vertices[0].x, S), Snap(p.vertices[0].x, S), Snap(p.vertices[0].y, S),
          Snap(p.vertices[0].y, S)};
    for (int k = 1; k < p.count; ++k) {
        b.x0 = std::min(b.x0, Snap(p.vertices[k].x, S));
        b.x1 = std::max(b.x1, Snap(p.vertices[k].x, S));
        b.y0 = std::min(b.y0, Snap(p.vertices[k].y, S));
        b.y1 = std::max(b.y1, Snap(p.vertices[k].y, S));
    }
    return b;
}

bool Inside(const PolygonTile& p, float S, float px, float py) {
    if (p.count < 3) return false;
    bool inside = false;
    for (int k = 0; k < p.count; ++k) {
        const int prev = k == 0 ? p.count - 1 : k - 1;
        const float xp = Snap(p.vertices[prev].x, S), yp = Snap(p.vertices[prev].y, S);
        const float xc = Snap(p.vertices[k].x, S), yc = Snap(p.vertices[k].y, S);
        if ((yc > py) != (yp > py) && yp - yc != 0.f) {
            const float xs = (py - yc) * (xp - xc) / (yp - yc) + xc;
            if (xs > px) inside = !inside;
        }
    }
    return inside;
}

float OutlineSq(const PolygonTile& p, float S, float px, float py) {
    if (p.count < 2) return 1e30f;
    float best = 1e30f;
    for (int k = 0; k < p.count; ++k) {
        const int prev = k == 0 ? p.count - 1 : k - 1;
        const float xp = Snap(p.vertices[prev].x, S), yp = Snap(p.vertices[prev].y, S);
        const float xc = Snap(p.vertices[k].x, S), yc = Snap(p.vertices[k].y, S);
        const float len2 = (xc - xp) * (xc - xp) + (yc - yp) * (yc - yp);
        float lambda = 0.f;
        if (len2 > 1e-12f) {
            lambda = ((px - xp) * (xc - xp) + (py - yp) * (yc - yp)) / len2;
            lambda = std::min(std::max(lambda, 0.f), 1.f);
        }
        const float qx = xp + lambda * (xc - xp);
        const float qy = yp + lambda * (yc - yp);
        const float d = (px - qx) * (px - qx) + (py - qy) * (py - qy);
        if (d < best) best = d;
    }
    return best;
}

// The face frame both table generators write: turned when the piece is wider than tall.
void WriteFaceFrame(BrickCell& cell, float s, float t, float W, float H, bool turned) {
    cell.localU = Clamp01(turned ? t : s);
    cell.localV = Clamp01(turned ? s : t);
    cell.sizeU = turned ? H : W;
    cell.sizeV = turned ? W : H;
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
    int found = -1, nearest = 0;
    float nearestSq = 0.f;
    for (int k = 0; k < static_cast<int>(table.rows.size()); ++k) {
        const RectTile& r = table.rows[k];
        const Box b{Snap(r.x, S), Snap(r.x + r.width, S), Snap(r.y, S), Snap(r.y + r.height, S)};
        if (m.px >= b.x0 && m.px <= b.x1 && m.py >= b.y0 && m.py <= b.y1) {
            found = k;
            break;
        }
        const float d = BoxSq(b.x0, b.x1, b.y0, b.y1, m.px, m.py);
        if (k == 0 || d < nearestSq) {
            nearestSq = d;
            nearest = k;
        }
    }
    const int k = found >= 0 ? found : nearest;
    const RectTile& r = table.rows[k];
    const Box b{Snap(r.x, S), Snap(r.x + r.width, S), Snap(r.y, S), Snap(r.y + r.height, S)};
    float s, t, W, H;
    BoxCoords(b, m, S, s, t, W, H);
    if (found >= 0) {
        const GroutFace g = GroutFinish(ps.gap_u, ps.gap_v, W, H, s, t);
        cell.isGrout = g.isGrout;
        s = g.a;
        t = g.b;
        W = g.faceW;
        H = g.faceH;
    } else {
        cell.isGrout = true;
    }
    WriteFaceFrame(cell, s, t, W, H, b.x1 - b.x0 > b.y1 - b.y0);
    cell.brickU = table.stride * m.a + k;
    cell.brickV = m.b;
    cell.kind = r.kind;
}

void PolygonTableTile(const PatternSettings& ps, float u, float v, BrickCell& cell,
                      const PolygonTileTable& table) {
    const float S = table.size;
    const Mapped m = Map(ps, u, v, S);
    const int n = static_cast<int>(table.rows.size());
    int found = -1;
    for (int k = 0; k < n; ++k) {
        if (Inside(table.rows[k], S, m.px, m.py)) {
            found = k;
            break;
        }
    }
    int k = found;
    if (found < 0) {
        k = 0;
        float nearestSq = 0.f;
        for (int q = 0; q < n; ++q) {
            const Box b = PolygonBox(table.rows[q], S);
            const float d = BoxSq(b.x0, b.x1, b.y0, b.y1, m.px, m.py);
            if (q == 0 || d < nearestSq) {
                nearestSq = d;
                k = q;
            }
        }
    }
    const PolygonTile& p = table.rows[k];
    const Box b = PolygonBox(p, S);
    float s, t, W, H;
    BoxCoords(b, m, S, s, t, W, H);
    if (found >= 0) {
        const GroutFace g = GroutFinish(ps.gap_u, ps.gap_v, W, H, s, t);
        s = g.a;
        t = g.b;
        W = g.faceW;
        H = g.faceH;
        float best = 1e30f;
        for (int q = 0; q < n; ++q) best = std::min(best, OutlineSq(table.rows[q], S, m.px, m.py));
        const float d = std::sqrt(best);
        const float gu = std::min(std::max(ps.gap_u, 0.f), 0.49f);
        const float gv = std::min(std::max(ps.gap_v, 0.f), 0.49f);
        cell.isGrout = (gu + gv) * 0.25f * std::min(b.x1 - b.x0, b.y1 - b.y0) >= d;
    } else {
        cell.isGrout = true;
    }
    WriteFaceFrame(cell, s, t, W, H, W > H);
    cell.brickU = table.stride * m.a + k;
    cell.brickV = m.b;
    cell.kind = p.kind;
}

void PavingTile2(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    const int Nx = (std::max(ps.nx, 1) + 5) / 6;
    const int Ny = (std::max(ps.ny, 1) + 5) / 6;
    const float x1 = static_cast<float>(6 * Nx) * u;
    const float x2 = static_cast<float>(6 * Ny) * (1.f - v);
    const float X = 3266.f * x1 + 2861.f - 571.f * x2;
    const float Y = 571.f * x1 + 577.f + 3266.f * x2;
    const int fx = FloorToInt(x1), fy = FloorToInt(x2);

    bool found = false, any = false;
    float nearestSq = 0.f;
    int bi = 0, bj = 0;
    float be = 0.f, bxs = 0.f, bys = 0.f;
    for (int j = fy - 4; j <= fy + 4; ++j) {
        for (int i = fx - 4; i <= fx + 4; ++i) {
            const float X0 =
                3266.f * static_cast<float>(i) + 2861.f - 571.f * static_cast<float>(j);
            const float Y0 = 571.f * static_cast<float>(i) + 577.f + 3266.f * static_cast<float>(j);
            for (int sq = 0; sq < 2; ++sq) {
                const float e = sq == 0 ? 3266.f : 571.f;
                const float x0 = X0, x1b = X0 + e;
                const float y0 = sq == 0 ? Y0 : Y0 - 571.f;
                const float y1 = sq == 0 ? Y0 + 3266.f : Y0;
                const bool holds = X >= x0 && X <= x1b && Y >= y0 && Y <= y1;
                bool take = false;
                if (holds) {
                    found = true;
                    take = true;
                } else if (!found) {
                    const float d = BoxSq(x0, x1b, y0, y1, X, Y);
                    if (!any || d < nearestSq) {
                        nearestSq = d;
                        take = true;
                    }
                }
                if (take) {
                    any = true;
                    bi = i;
                    bj = j;
                    be = e;
                    bxs = x0;
                    bys = y0;
                }
            }
        }
    }
    float s = be <= 1e-6f ? 0.5f : (X - bxs) / be;
    float t = be <= 1e-6f ? 0.5f : 1.f - (Y - bys) / be;
    s = Clamp01(s);
    t = Clamp01(t);
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
    switch (ps.pattern) {
        case 25:
            RectTableTile(ps, u, v, cell, kPavingTile1);
            break;
        case 26:
            PavingTile2(ps, u, v, cell);
            break;
        case 27:
            RectTableTile(ps, u, v, cell, kParquetTile1);
            break;
        case 28:
            PolygonTableTile(ps, u, v, cell, kParquetTile2);
            break;
        case 29:
            PolygonTableTile(ps, u, v, cell, kParquetTile3);
            break;
        default:
            break;
    }
    return cell;
}

}  // namespace QuarelNS::reference
