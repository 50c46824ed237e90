#include "pattern/outline_ipaver_shape.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <utility>

namespace QuarelNS {

namespace {

constexpr float kFar = std::numeric_limits<float>::infinity();

float Square(float x) {
    return x * x;
}

// The nearest piece so far: the squared distance to a straight piece or an arc end with its
// offset, and the distance to a rim with the offset from the rim's centre.
struct Nearest {
    float near2 = kFar, nx = 0.f, ny = 0.f;
    float rim = kFar, rx = 0.f, ry = 0.f;
    void Offer(float ox, float oy) {
        const float d2 = Square(ox) + Square(oy);
        if (d2 < near2) {
            near2 = d2;
            nx = ox;
            ny = oy;
        }
    }
    void OfferRim(float x, float y, float cx, float cy) {
        const float d = std::fabs(std::sqrt(Square(x - cx) + Square(y - cy)) - kITabRadius);
        if (d < rim) {
            rim = d;
            rx = x - cx;
            ry = y - cy;
        }
    }
    // The square root is monotonic and correctly rounded, so the nearest of the straight pieces
    // and of the arc ends is found on squared distances without changing the result.
    OutlineNearest Result() const {
        const float straight = std::sqrt(near2);
        if (!(rim < straight)) return {straight, nx, ny};  // as std::min(straight, rim)
        // Inside the rim the way to it points away from the centre's side.
        const bool inner = Square(rx) + Square(ry) < kITabRadius2;
        return {rim, inner ? -rx : rx, inner ? -ry : ry};
    }
};

void OfferPiece(Nearest& n, const AxisPiece& p, float x, float y) {
    if (p.horizontal) {
        n.Offer(x - std::clamp(x, p.lo, p.hi), y - p.at);
    } else {
        n.Offer(x - p.at, y - std::clamp(y, p.lo, p.hi));
    }
}

void OfferI(Nearest& n, float x, float y) {
    for (const AxisPiece& p : kIStraightPieces) OfferPiece(n, p, x, y);
    for (const ITab& t : kITabs) {
        if (t.sign * (t.alongX ? x : y) >= kISquareHalf) {
            n.OfferRim(x, y, t.cx, t.cy);
        } else {
            n.Offer(x - t.e0x, y - t.e0y);
            n.Offer(x - t.e1x, y - t.e1y);
        }
    }
}

void OfferConnector(Nearest& n, float x, float y) {
    for (const AxisPiece& p : kConnectorStraightPieces) OfferPiece(n, p, x, y);
    for (const QuarterArc& q : kConnectorArcs) {
        if (q.sx * (x - q.cx) >= 0.f && q.sy * (y - q.cy) >= 0.f) {
            n.OfferRim(x, y, q.cx, q.cy);
        } else {
            const float ax = x - (q.cx + kITabRadius * q.sx), ay = y - q.cy;
            const float bx = x - q.cx, by = y - (q.cy + kITabRadius * q.sy);
            n.Offer(ax, ay);
            n.Offer(bx, by);
        }
    }
}

}  // namespace

bool InsideIShape(float x, float y) {
    const float ax = std::fabs(x);
    const float ay = std::fabs(y);
    if (ax <= kISquareHalf && ay <= kISquareHalf) return true;
    if (ax > kISquareHalf && ay <= kITabRadius && Square(ax - kISquareHalf) + y * y <= kITabRadius2)
        return true;
    return ay > kISquareHalf && ax <= kITabRadius &&
           Square(ay - kISquareHalf) + x * x <= kITabRadius2;
}

OutlineNearest IOutlineNearest(float x, float y) {
    Nearest n;
    OfferI(n, x, y);
    return n.Result();
}

OutlineNearest ConnectorOutlineNearest(float x, float y) {
    Nearest n;
    OfferConnector(n, x, y);
    return n.Result();
}

float IOutlineDistance(float x, float y) {
    return IOutlineNearest(x, y).d;
}

float ConnectorOutlineDistance(float x, float y) {
    return ConnectorOutlineNearest(x, y).d;
}

namespace {

// Distance to the nearest outline of any stone: the I stones at the centre and corners of each
// repeat cell and the connectors in its quarters (mirrored where left differs from low), over
// the cell and its neighbours.
float NearestOutline(float px, float py) {
    float d = kFar;
    // A stone's outline lies in its box: a box no nearer than the best so far is passed over.
    auto boxFar = [&d](float x, float y, float half) {
        const float ex = std::max(std::fabs(x) - half, 0.f);
        const float ey = std::max(std::fabs(y) - half, 0.f);
        return ex * ex + ey * ey >= d * d;
    };
    for (int oy = -1; oy <= 1; ++oy) {
        for (int ox = -1; ox <= 1; ++ox) {
            const float x = px - kIPaverCell * static_cast<float>(ox);
            const float y = py - kIPaverCell * static_cast<float>(oy);
            for (const auto& [sx, sy] :
                 {std::pair{x - kIPaverHalfCell, y - kIPaverHalfCell}, std::pair{x, y}}) {
                if (!boxFar(sx, sy, kIHalfExtent)) d = std::min(d, IOutlineDistance(sx, sy));
            }
            for (int j = 0; j < 2; ++j) {
                for (int i = 0; i < 2; ++i) {
                    const float qx = x - (i == 0 ? 447.5f : 1342.5f);
                    const float qy = y - (j == 0 ? 447.5f : 1342.5f);
                    if (boxFar(qx, qy, kConnectorHalf)) continue;
                    d = std::min(d, ConnectorOutlineDistance(i != j ? -qx : qx, qy));
                }
            }
        }
    }
    return d;
}

struct IPaverGrid {
    std::array<IPaverGridCell, kIPaverGridSide * kIPaverGridSide> cells;
};

// The stone at a point of the repeat cell, by the generator's own offsets.
IPaverStone StoneAtPoint(float px, float py) {
    const bool left = px < kIPaverHalfCell;
    const bool low = py < kIPaverHalfCell;
    float qx = px - (left ? 447.5f : 1342.5f);
    if (left != low) qx = -qx;
    return IPaverStoneAt(px - kIPaverHalfCell, py - kIPaverHalfCell,
                         px - (left ? 0.f : kIPaverCell), py - (low ? 0.f : kIPaverCell), qx,
                         py - (low ? 447.5f : 1342.5f));
}

void BuildIPaverGrid(IPaverGrid& g) {
    constexpr float kStep = kIPaverCell / kIPaverGridSide;
    // Half the diagonal of a cell grown by one unit, and one unit of slack.
    const float less = (kStep + 2.f) * 0.70710678f + 1.f;
    for (int j = 0; j < kIPaverGridSide; ++j) {
        for (int i = 0; i < kIPaverGridSide; ++i) {
            const float x = (static_cast<float>(i) + 0.5f) * kStep;
            const float y = (static_cast<float>(j) + 0.5f) * kStep;
            IPaverGridCell& cell = g.cells[static_cast<std::size_t>(j * kIPaverGridSide + i)];
            cell.clear = std::max(NearestOutline(x, y) - less, 0.f);
            // The quarter borders switch the corner stone and connector a point is measured
            // against, so a cell they cross is decided per point.
            const bool border =
                std::fabs(x - kIPaverHalfCell) < kStep || std::fabs(y - kIPaverHalfCell) < kStep;
            cell.stone = cell.clear > 0.f && !border ? StoneAtPoint(x, y) : IPaverStone::Undecided;
        }
    }
}

}  // namespace

IPaverGridCell IPaverGridAt(float px, float py) {
    static IPaverGrid grid;
    static const IPaverGrid* const built = [] {
        BuildIPaverGrid(grid);
        return &grid;
    }();
    // Outside the cell (rounding at its edge) nothing is claimed.
    if (!(px >= 0.f && px <= kIPaverCell && py >= 0.f && py <= kIPaverCell)) {
        return {0.f, IPaverStone::Undecided};
    }
    constexpr float kPerUnit = kIPaverGridSide / kIPaverCell;
    const int i = std::min(static_cast<int>(px * kPerUnit), kIPaverGridSide - 1);
    const int j = std::min(static_cast<int>(py * kPerUnit), kIPaverGridSide - 1);
    return built->cells[static_cast<std::size_t>(j * kIPaverGridSide + i)];
}

float ConnectorRightEdge(float y) {
    if (y <= -5.5f) return kConnectorHalf;
    if (y <= 137.5f) return kConnectorHalf - std::sqrt(kITabRadius2 - Square(y - 137.5f));
    if (y <= 304.5f) return 137.5f;
    return 137.5f - std::sqrt(kITabRadius2 - Square(y - 447.5f));
}

}  // namespace QuarelNS
