// Custom patterns 1 to 7 ("Pattern 1" .. "Pattern 7"): decorative layouts that repeat one set of
// pieces in every cell of an nx x ny grid, some pieces of the second brick set.
//
// This file holds the rectangle layouts (Patterns 1, 2 and 4) and the strips (Pattern 3); the
// layouts built around the grid points (Patterns 5 to 7) are in custom_grid_layouts.cpp.
#include "pattern/custom_layouts.h"

#include <cmath>
#include <iterator>

#include "pattern/custom_layout_tables.h"
#include "pattern/generators.h"

namespace QuarelNS {

namespace {

// How a piece's face is framed for nested maps. The layouts differ here, and nested maps on
// existing scenes depend on the difference, so the two swaps stay apart from SetBrickLocalFrame.
enum class PieceFrame {
    kLocalFrame,     // SetBrickLocalFrame: swap by face extents, flags and projection written
    kSwapByFace,     // swap when the face is wider than tall, flags left alone
    kSwapByFraction  // swap when the piece's fractions are wider than tall, flags left alone
};

struct LayoutRule {
    const RectPiece* pieces;
    std::int32_t count;
    std::int32_t mu, mv;  // index multipliers: each cell owns an mu x mv block of indices
    PieceFrame frame;
    bool byColumn;  // the table is stacked columns (Pattern 4): locate instead of scanning
};

// Index of the first piece whose rectangle, inset by half a joint on every side, strictly
// contains (s, t); -1 if there is none (the point is in a joint).
std::int32_t FindPieceInOrder(const RectPiece* pieces, std::int32_t count, float s, float t,
                              float hu, float hv) {
    for (std::int32_t k = 0; k < count; ++k) {
        const RectPiece& p = pieces[k];
        if (p.x0 + hu < s && s < p.x1 - hu && p.y0 + hv < t && t < p.y1 - hv) return k;
    }
    return -1;
}

// The same answer for Pattern 4 without a scan: the inset lies strictly inside its piece and the
// pieces do not overlap, so only the piece whose column and band strictly contain the point can
// hold it.
std::int32_t FindPattern4Piece(float s, float t, float hu, float hv) {
    std::int32_t c = 0;
    while (c < kPattern4ColumnCount - 1 && !(s < kPattern4ColumnEdge[c + 1])) ++c;
    if (!(kPattern4ColumnEdge[c] < s && s < kPattern4ColumnEdge[c + 1])) return -1;
    std::int32_t k = kPattern4ColumnStart[c];
    const std::int32_t end = kPattern4ColumnStart[c + 1];
    while (k < end - 1 && !(t < kPattern4Pieces[k].y1)) ++k;
    const RectPiece& p = kPattern4Pieces[k];
    if (p.x0 + hu < s && s < p.x1 - hu && p.y0 + hv < t && t < p.y1 - hv) return k;
    return -1;
}

// Signed tile-unit distance to a piece's face, its rectangle (cell fractions) inset by the
// half-joints: exact on it, off it the farthest the point lies beyond a side (RectFaceDistance).
inline float InsetPieceDistance(float x0, float x1, float y0, float y1, const CustomCell& c,
                                float hu, float hv) {
    return std::min(std::min(c.s - (x0 + hu), (x1 - hu) - c.s) * c.W,
                    std::min(c.t - (y0 + hv), (y1 - hv) - c.t) * c.H);
}

// In a joint: the distance to the face of the piece whose rectangle holds the point (every
// piece is inset alike, so beside a side no other face is nearer); the nearest face of the cell
// where no rectangle holds it strictly (on a border between two).
float JointPieceDistance(const LayoutRule& rule, const CustomCell& c, float hu, float hv) {
    const std::int32_t k = rule.byColumn
                               ? FindPattern4Piece(c.s, c.t, 0.f, 0.f)
                               : FindPieceInOrder(rule.pieces, rule.count, c.s, c.t, 0.f, 0.f);
    if (k >= 0) {
        const RectPiece& p = rule.pieces[k];
        return -InsetPieceDistance(p.x0, p.x1, p.y0, p.y1, c, hu, hv);
    }
    float best = 1e30f;
    for (std::int32_t i = 0; i < rule.count; ++i) {
        const RectPiece& p = rule.pieces[i];
        best = std::min(best, -InsetPieceDistance(p.x0, p.x1, p.y0, p.y1, c, hu, hv));
    }
    return best;
}

constexpr LayoutRule kPattern1Rule{
    kPattern1Pieces, std::size(kPattern1Pieces), 3, 3, PieceFrame::kLocalFrame, false};
constexpr LayoutRule kPattern2Rule{
    kPattern2Pieces, std::size(kPattern2Pieces), 4, 3, PieceFrame::kSwapByFace, false};
constexpr LayoutRule kPattern4Rule{
    kPattern4Pieces, std::size(kPattern4Pieces), 5, 7, PieceFrame::kSwapByFraction, true};

// Writes the face coordinates and extents, exchanged when `swap`; the frame flags are not
// touched.
inline void SetPlainFrame(float a, float b, float w, float h, bool swap, BrickCell& cell) {
    if (swap) {
        cell.localU = b;
        cell.localV = a;
        cell.sizeU = h;
        cell.sizeV = w;
    } else {
        cell.localU = a;
        cell.localV = b;
        cell.sizeU = w;
        cell.sizeV = h;
    }
}

}  // namespace

void CustomRectangleLayout(const PatternSettings& ps, float u, float v, BrickCell& cell,
                           int number) {
    const LayoutRule& rule =
        number == 1 ? kPattern1Rule : (number == 2 ? kPattern2Rule : kPattern4Rule);
    const CustomCell c = SetUpCustomCell(ps, u, v);
    const float m = std::min(c.W, c.H);
    const float gu = CellGroutFraction(ps.gap_u, c.W, m);
    const float gv = CellGroutFraction(ps.gap_v, c.H, m);
    const float hu = gu / 2.f;
    const float hv = gv / 2.f;

    const std::int32_t k = rule.byColumn
                               ? FindPattern4Piece(c.s, c.t, hu, hv)
                               : FindPieceInOrder(rule.pieces, rule.count, c.s, c.t, hu, hv);
    if (k < 0) {
        cell.isGrout = true;
        if (ps.wantJointDist)
            cell.jointDist = JointDistance(-JointPieceDistance(rule, c, hu, hv), true);
        cell.brickU = rule.mu * c.ci;
        cell.brickV = rule.mv * c.cj;
        cell.kind = 0;
        cell.localU = 0.f;
        cell.localV = 0.f;
        cell.sizeU = c.W;
        cell.sizeV = c.H;
        if (rule.frame == PieceFrame::kLocalFrame) {
            cell.turned = 0;
            cell.upright = 1;
            cell.projSizeU = c.W;
            cell.projSizeV = c.H;
        }
        return;
    }

    const RectPiece& p = rule.pieces[k];
    cell.isGrout = false;
    if (ps.wantJointDist)
        cell.jointDist =
            JointDistance(InsetPieceDistance(p.x0, p.x1, p.y0, p.y1, c, hu, hv), false);
    cell.kind = p.kind;
    cell.brickU = rule.mu * c.ci + p.di;
    cell.brickV = rule.mv * c.cj + p.dj;
    const float pw = std::max((p.x1 - p.x0) - gu, 1e-6f);
    const float ph = std::max((p.y1 - p.y0) - gv, 1e-6f);
    const float a = Clamp01((c.s - (p.x0 + hu)) / pw);
    const float b = Clamp01((c.t - (p.y0 + hv)) / ph);
    const float faceW = pw * c.W;
    const float faceH = ph * c.H;
    switch (rule.frame) {
        case PieceFrame::kLocalFrame:
            SetBrickLocalFrame(a, b, faceW, faceH, cell);
            break;
        case PieceFrame::kSwapByFace:
            SetPlainFrame(a, b, faceW, faceH, faceW > faceH, cell);
            break;
        case PieceFrame::kSwapByFraction:
            // By the piece's shape in the layout, whatever the cell's aspect.
            SetPlainFrame(a, b, faceW, faceH, (p.x1 - p.x0) > (p.y1 - p.y0), cell);
            break;
    }
}

void CustomStrips(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    // Strip limits at the thirds of the cell, as floats.
    static constexpr float kThird[4] = {0.f, 0.33333334f, 0.6666667f, 1.f};
    const CustomCell c = SetUpCustomCell(ps, u, v);
    const float m = std::min(c.W, c.H);
    const float gu = CellGroutFraction(ps.gap_u, c.W, m);
    const float gv = CellGroutFraction(ps.gap_v, c.H, m);
    const float hu = gu / 2.f;
    const float hv = gv / 2.f;
    // Lying strips (second brick set) and standing ones alternate like a checkerboard.
    const bool horizontal = ((c.ci + c.cj) & 1) == 0;
    cell.kind = horizontal ? 1 : 0;

    const float along = horizontal ? c.t : c.s;  // the coordinate that crosses the strips
    const std::int32_t k = along < kThird[1] ? 0 : (along < kThird[2] ? 1 : 2);
    const float x0 = horizontal ? 0.f : kThird[k];
    const float x1 = horizontal ? 1.f : kThird[k + 1];
    const float y0 = horizontal ? kThird[k] : 0.f;
    const float y1 = horizontal ? kThird[k + 1] : 1.f;

    const bool jointU = hu > 1e-6f;
    const bool jointV = hv > 1e-6f;
    bool grout =
        (jointU && (c.s < hu || c.s > 1.f - hu)) || (jointV && (c.t < hv || c.t > 1.f - hv));
    if (horizontal) {
        grout = grout ||
                (jointV && (std::fabs(c.t - kThird[1]) < hv || std::fabs(c.t - kThird[2]) < hv));
    } else {
        grout = grout ||
                (jointU && (std::fabs(c.s - kThird[1]) < hu || std::fabs(c.s - kThird[2]) < hu));
    }

    cell.brickU = 3 * c.ci + (horizontal ? 0 : k);
    cell.brickV = 3 * c.cj + (horizontal ? k : 0);
    cell.isGrout = grout;
    // Joints of width 1e-6 or less do not count, as in the grout test above.
    const float fu = jointU ? hu : 0.f;
    const float fv = jointV ? hv : 0.f;
    float edge = InsetPieceDistance(x0, x1, y0, y1, c, fu, fv);
    if (grout) {
        // The joint between two strips is as near to the neighbouring strip.
        for (const std::int32_t n : {k - 1, k + 1}) {
            if (n < 0 || n > 2) continue;
            const float d = horizontal
                                ? InsetPieceDistance(0.f, 1.f, kThird[n], kThird[n + 1], c, fu, fv)
                                : InsetPieceDistance(kThird[n], kThird[n + 1], 0.f, 1.f, c, fu, fv);
            edge = std::max(edge, d);
        }
    }
    if (ps.wantJointDist) cell.jointDist = JointDistance(edge, grout);
    if (grout) {
        cell.localU = 0.f;
        cell.localV = 0.f;
        cell.sizeU = c.W;
        cell.sizeV = c.H;
        return;
    }
    const float pw = std::max((x1 - x0) - gu, 1e-6f);
    const float ph = std::max((y1 - y0) - gv, 1e-6f);
    const float a = Clamp01((c.s - (x0 + hu)) / pw);
    const float b = Clamp01((c.t - (y0 + hv)) / ph);
    SetBrickLocalFrame(a, b, pw * c.W, ph * c.H, cell);
}

void CustomPattern(const PatternSettings& ps, float u, float v, BrickCell& cell, int number) {
    switch (number) {
        case 3:
            CustomStrips(ps, u, v, cell);
            break;
        case 5:
            CustomGridPoints(ps, u, v, cell, false);
            break;
        case 6:
            CustomGridPoints(ps, u, v, cell, true);
            break;
        case 7:
            CustomOctagons(ps, u, v, cell);
            break;
        case 2:
        case 4:
            CustomRectangleLayout(ps, u, v, cell, number);
            break;
        default:  // 1, and any number outside 1..7
            CustomRectangleLayout(ps, u, v, cell, 1);
            break;
    }
}

}  // namespace QuarelNS
