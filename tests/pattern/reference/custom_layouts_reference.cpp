#include "custom_layouts_reference.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "pattern/cell_steps.h"

namespace QuarelNS::reference {

namespace {

struct Piece {
    float x0, x1, y0, y1;
    int di, dj, kind;
};

struct Band {
    float y0, y1;
    int kind;
};

std::vector<Piece> Pattern1() {
    return {{0.f, 1.f, 0.f, 0.28f, 0, 0, 0},
            {0.f, 0.26f, 0.28f, 0.72f, 0, 1, 0},
            {0.26f, 0.74f, 0.28f, 0.72f, 1, 1, 1},
            {0.74f, 1.f, 0.28f, 0.72f, 2, 1, 0},
            {0.f, 1.f, 0.72f, 1.f, 0, 2, 0}};
}

std::vector<Piece> Pattern2() {
    return {{0.f, 0.5f, 0.f, 0.28f, 0, 0, 0},     {0.5f, 1.f, 0.f, 0.28f, 3, 0, 0},
            {0.f, 0.26f, 0.28f, 0.72f, 0, 1, 0},  {0.26f, 0.5f, 0.28f, 0.72f, 1, 1, 1},
            {0.5f, 0.74f, 0.28f, 0.72f, 2, 1, 1}, {0.74f, 1.f, 0.28f, 0.72f, 3, 1, 0},
            {0.f, 0.5f, 0.72f, 1.f, 0, 2, 0},     {0.5f, 1.f, 0.72f, 1.f, 3, 2, 0}};
}

// Five columns, each a stack of bands from the bottom.
std::vector<Piece> Pattern4() {
    const std::vector<Band> outer = {{0.f, 0.125f, 0},  {0.125f, 0.333f, 1}, {0.333f, 0.5f, 1},
                                     {0.5f, 0.625f, 0}, {0.625f, 0.792f, 1}, {0.792f, 0.875f, 1},
                                     {0.875f, 1.f, 0}};
    const std::vector<Band> columns[5] = {
        outer,
        {{0.f, 0.125f, 0},
         {0.125f, 0.333f, 1},
         {0.333f, 0.667f, 0},
         {0.667f, 0.875f, 1},
         {0.875f, 1.f, 0}},
        {{0.f, 0.375f, 1}, {0.375f, 0.625f, 0}, {0.625f, 0.875f, 1}, {0.875f, 1.f, 0}},
        {{0.f, 0.125f, 0},
         {0.125f, 0.333f, 1},
         {0.333f, 0.5f, 0},
         {0.5f, 0.667f, 0},
         {0.667f, 0.875f, 1},
         {0.875f, 1.f, 0}},
        outer};
    const float x[6] = {0.f, 0.125f, 0.375f, 0.625f, 0.875f, 1.f};
    std::vector<Piece> pieces;
    for (int c = 0; c < 5; ++c) {
        for (std::size_t k = 0; k < columns[c].size(); ++k) {
            const Band& b = columns[c][k];
            pieces.push_back({x[c], x[c + 1], b.y0, b.y1, c, static_cast<int>(k), b.kind});
        }
    }
    return pieces;
}

}  // namespace

void CustomRectangleLayout(const PatternSettings& ps, float u, float v, BrickCell& cell,
                           int number) {
    static const std::vector<Piece> kTables[3] = {Pattern1(), Pattern2(), Pattern4()};
    const std::vector<Piece>& pieces = kTables[number == 1 ? 0 : (number == 2 ? 1 : 2)];
    const int Mu = number == 1 ? 3 : (number == 2 ? 4 : 5);
    const int Mv = number == 4 ? 7 : 3;

    const int Nu = std::max(ps.nx, 1);
    const int Nv = std::max(ps.ny, 1);
    const float W = 1.f / static_cast<float>(Nu);
    const float H = 1.f / static_cast<float>(Nv);
    const int ci = std::clamp(FloorToInt(static_cast<float>(Nu) * u), 0, Nu - 1);
    const int cj = std::clamp(FloorToInt(static_cast<float>(Nv) * v), 0, Nv - 1);
    const float s = std::clamp((u - static_cast<float>(ci) * W) / W, 0.f, 1.f);
    const float t = std::clamp((v - static_cast<float>(cj) * H) / H, 0.f, 1.f);
    const float m = std::min(W, H);
    const float gu = W <= 1e-6f ? 0.f : std::clamp(m * ps.gap_u / W, 0.f, 0.98f);
    const float gv = H <= 1e-6f ? 0.f : std::clamp(m * ps.gap_v / H, 0.f, 0.98f);

    for (const Piece& p : pieces) {
        if (!(p.x0 + gu / 2 < s && s < p.x1 - gu / 2 && p.y0 + gv / 2 < t && t < p.y1 - gv / 2))
            continue;
        cell.isGrout = false;
        cell.kind = p.kind;
        cell.brickU = Mu * ci + p.di;
        cell.brickV = Mv * cj + p.dj;
        const float pw = std::max((p.x1 - p.x0) - gu, 1e-6f);
        const float ph = std::max((p.y1 - p.y0) - gv, 1e-6f);
        const float a = std::clamp((s - (p.x0 + gu / 2)) / pw, 0.f, 1.f);
        const float b = std::clamp((t - (p.y0 + gv / 2)) / ph, 0.f, 1.f);
        if (number == 1) {
            SetBrickLocalFrame(a, b, pw * W, ph * H, cell);
            return;
        }
        const bool swap = number == 2 ? pw * W > ph * H : (p.x1 - p.x0) > (p.y1 - p.y0);
        cell.localU = swap ? b : a;
        cell.localV = swap ? a : b;
        cell.sizeU = swap ? ph * H : pw * W;
        cell.sizeV = swap ? pw * W : ph * H;
        return;
    }
    cell.isGrout = true;
    cell.brickU = Mu * ci;
    cell.brickV = Mv * cj;
    cell.kind = 0;
    cell.localU = 0.f;
    cell.localV = 0.f;
    cell.sizeU = W;
    cell.sizeV = H;
    if (number == 1) {
        cell.turned = 0;
        cell.upright = 1;
        cell.projSizeU = W;
        cell.projSizeV = H;
    }
}

}  // namespace QuarelNS::reference
