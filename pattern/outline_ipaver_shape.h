// The I-Paver's stone outlines in design units: the I stone (centred at the origin) and the
// connector stone (in the frame of a quarter cell, centred at the origin), with the tests that
// decide which stone covers a point and how far the point is from the stone's outline.
//
// Distances are Euclidean and exact up to float rounding; every function is defined for any
// finite input and gives NaN only for NaN input.
#pragma once

#include <cstdint>

namespace QuarelNS {

// One repeat cell of the pattern: an I stone at its centre and one at each corner.
constexpr float kIPaverCell = 1790.f;
constexpr float kIPaverHalfCell = 895.f;

// The I stone: a square of half side 310.5 with a semicircular tab of radius 143 centred on the
// middle of each side, 453.5 from the centre to the tip of a tab.
constexpr float kISquareHalf = 310.5f;
constexpr float kITabRadius = 143.f;
constexpr float kITabRadius2 = 20449.f;  // 143^2
constexpr float kIHalfExtent = 453.5f;

// A straight piece on the line y = at (horizontal) or x = at, from lo to hi along the other axis.
struct AxisPiece {
    bool horizontal;
    float at;
    float lo, hi;
};

// The square's sides outside the tabs.
inline constexpr AxisPiece kIStraightPieces[8] = {
    {true, -310.5f, -310.5f, -143.f},  {true, -310.5f, 143.f, 310.5f},
    {true, 310.5f, -310.5f, -143.f},   {true, 310.5f, 143.f, 310.5f},
    {false, -310.5f, -310.5f, -143.f}, {false, -310.5f, 143.f, 310.5f},
    {false, 310.5f, -310.5f, -143.f},  {false, 310.5f, 143.f, 310.5f},
};

// A tab: its centre, the outward side (the point is beyond the square's side when
// sign * (x or y) >= 310.5) and the two ends where it meets the side.
struct ITab {
    float cx, cy;
    bool alongX;  // the outward direction is along x
    float sign;
    float e0x, e0y, e1x, e1y;
};

inline constexpr ITab kITabs[4] = {
    {0.f, -310.5f, false, -1.f, -143.f, -310.5f, 143.f, -310.5f},  // bottom
    {310.5f, 0.f, true, 1.f, 310.5f, -143.f, 310.5f, 143.f},       // right
    {0.f, 310.5f, false, 1.f, -143.f, 310.5f, 143.f, 310.5f},      // top
    {-310.5f, 0.f, true, -1.f, -310.5f, -143.f, -310.5f, 143.f},   // left
};

// The connector stone fills a quarter cell between the I stones: its outline is eight straight
// pieces and four quarter circles of radius 143.
constexpr float kConnectorHalf = 447.5f;

inline constexpr AxisPiece kConnectorStraightPieces[8] = {
    {true, -447.5f, 5.5f, 447.5f},     {false, 447.5f, -447.5f, -5.5f},
    {true, 447.5f, -447.5f, -5.5f},    {false, -447.5f, 5.5f, 447.5f},
    {true, 137.5f, 137.5f, 304.5f},    {false, 137.5f, 137.5f, 304.5f},
    {true, -137.5f, -304.5f, -137.5f}, {false, -137.5f, -304.5f, -137.5f},
};

// A quarter circle of radius 143 about (cx, cy) spanning the quadrant where
// sx * (x - cx) >= 0 and sy * (y - cy) >= 0.
struct QuarterArc {
    float cx, cy;
    float sx, sy;
};

inline constexpr QuarterArc kConnectorArcs[4] = {
    {-137.5f, -447.5f, 1.f, 1.f},
    {-447.5f, -137.5f, 1.f, 1.f},
    {137.5f, 447.5f, -1.f, -1.f},
    {447.5f, 137.5f, -1.f, -1.f},
};

bool InsideIShape(float x, float y);
float IOutlineDistance(float x, float y);
float ConnectorOutlineDistance(float x, float y);
// The same distances with the offset (ox, oy) from the nearest outline point to (x, y), whose
// direction turns a design distance into a tile distance.
struct OutlineNearest {
    float d;
    float ox, oy;
};
OutlineNearest IOutlineNearest(float x, float y);
OutlineNearest ConnectorOutlineNearest(float x, float y);
// x of the connector's right boundary at height y; the left boundary is -ConnectorRightEdge(-y).
float ConnectorRightEdge(float y);

// Which stone covers a point of a repeat cell, from its offsets to the centre stone (cx, cy),
// to its quarter's corner stone (kx, ky) and to its quarter's connector (qx, qy).
enum class IPaverStone : std::uint8_t { CentreI, CornerI, Connector, Uncovered, Undecided };

inline IPaverStone IPaverStoneAt(float cx, float cy, float kx, float ky, float qx, float qy) {
    if (InsideIShape(cx, cy)) return IPaverStone::CentreI;
    if (InsideIShape(kx, ky)) return IPaverStone::CornerI;
    if (-ConnectorRightEdge(-qy) <= qx && qx <= ConnectorRightEdge(qy)) {
        return IPaverStone::Connector;
    }
    return IPaverStone::Uncovered;
}

// What a grid over one repeat cell (design x and y in [0, kIPaverCell]) knows of its points:
// - `clear`, a lower bound of their distance to every stone outline: the joint cannot reach a
//   point whose bound exceeds the joint's width, and then no outline distance is needed. It is
//   the distance from the cell's centre to the nearest outline less half the diagonal of the
//   cell grown by one unit and one unit of slack (the distance is 1-Lipschitz; the slack covers
//   float rounding), so it holds for every point of the grown cell;
// - `stone`, the stone that covers all of them when no outline and no quarter border crosses the
//   grown cell (clear > 0), else Undecided.
// Built once, on first use, into static storage.
constexpr int kIPaverGridSide = 64;

struct IPaverGridCell {
    float clear;
    IPaverStone stone;
};

IPaverGridCell IPaverGridAt(float px, float py);

}  // namespace QuarelNS
