// The maple leaf's outline: twelve cubic Bezier segments in leaf design units, joined end to start
// and closed, and the point evaluation by which each segment is flattened into 24 chords.
//
// The evaluation is constexpr so that the chord table is built at compile time with exactly the
// float operations a per-call flattening performs; the chords are therefore bit-identical.
#pragma once

namespace QuarelNS {

struct LeafPoint {
    float x;
    float y;
};

struct LeafCubic {
    LeafPoint p0, p1, p2, p3;
};

constexpr int kLeafSegmentCount = 12;
constexpr int kLeafChordsPerSegment = 24;
constexpr int kLeafChordCount = kLeafSegmentCount * kLeafChordsPerSegment;  // 288

inline constexpr LeafCubic kMapleLeafOutline[kLeafSegmentCount] = {
    {{0.f, 0.f}, {205.f, -721.f}, {66.f, -1140.f}, {-322.f, -1511.f}},
    {{-322.f, -1511.f}, {661.f, -2313.f}, {1625.f, -2142.f}, {2577.f, -1427.f}},
    {{2577.f, -1427.f}, {2666.f, -1642.f}, {2754.f, -1857.f}, {2843.f, -2072.f}},
    {{2843.f, -2072.f}, {3385.f, -1898.f}, {3906.f, -1976.f}, {4394.f, -2449.f}},
    {{4394.f, -2449.f}, {4928.f, -2027.f}, {4904.f, -1498.f}, {4716.f, -938.f}},
    {{4716.f, -938.f}, {4940.f, -848.f}, {5164.f, -758.f}, {5388.f, -668.f}},
    {{5388.f, -668.f}, {4630.f, 336.f}, {4680.f, 1370.f}, {5364.f, 2394.f}},
    {{5364.f, 2394.f}, {4952.f, 2884.f}, {4396.f, 2983.f}, {3814.f, 2772.f}},
    {{3814.f, 2772.f}, {3730.f, 3007.f}, {3631.f, 3182.f}, {3547.f, 3416.f}},
    {{3547.f, 3416.f}, {2606.f, 2672.f}, {1674.f, 2561.f}, {648.f, 3333.f}},
    {{648.f, 3333.f}, {-103.f, 2339.f}, {-51.f, 1296.f}, {672.f, 271.f}},
    {{672.f, 271.f}, {465.f, 193.f}, {207.f, 79.f}, {0.f, 0.f}},
};

// Bounding box of the outline.
constexpr float kLeafMinX = -322.f;
constexpr float kLeafMaxX = 5388.f;
constexpr float kLeafMinY = -2449.f;
constexpr float kLeafMaxY = 3416.f;
constexpr float kLeafWidth = 5710.f;
constexpr float kLeafHeight = 5865.f;

// Length of the shorter lattice vector (4716.5, -938), sqrt(23125216) rounded to float; the
// grout width scales with it.
constexpr float kLeafLatticeMin = 4808.86865234375f;

// B(k/24) of a segment: (1-t)^3 P0 + 3(1-t)^2 t P1 + 3(1-t) t^2 P2 + t^3 P3. k = 0 gives P0 and
// k = 24 gives P3 exactly, so neighbouring segments share their joint bit for bit.
constexpr LeafPoint LeafCurvePoint(const LeafCubic& c, int k) {
    const float t = static_cast<float>(k) / 24.f;
    const float s = 1.f - t;
    const float b0 = s * s * s;
    const float b1 = 3.f * s * s * t;
    const float b2 = 3.f * s * t * t;
    const float b3 = t * t * t;
    return {b0 * c.p0.x + b1 * c.p1.x + b2 * c.p2.x + b3 * c.p3.x,
            b0 * c.p0.y + b1 * c.p1.y + b2 * c.p2.y + b3 * c.p3.y};
}

}  // namespace QuarelNS
