// The maple leaf's outline flattened once, at compile time, into 288 chords, with the search
// structures that let the generator skip chords that cannot change its answer:
// - y bands for the crossing test: band k lists every chord whose y extent meets the band (with a
//   slack of one design unit), so a point in the band needs only those chords for its parity;
// - bounding boxes per Bezier segment and per block of eight chords for the distance search,
//   grown by one design unit so that a box distance is a safe lower bound of a chord distance
//   computed in float (whose rounding error is a few thousandths of a unit at these magnitudes).
//
// Chord c runs from point c to point c + 1 of kLeafPoints; point 288 closes the outline on point 0.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "pattern/cell_steps.h"
#include "pattern/outline_maple_leaf_curve.h"

namespace QuarelNS {

// A chord as the distance test reads it: start point, direction and squared length, computed
// with the same float operations as from the two end points.
struct LeafChord {
    float x0, y0;
    float dx, dy;
    float len2;
};

// A chord as the crossing test reads it, with its x extent grown by one unit: a point left of
// xlo certainly sees the crossing to its right, a point right of xhi certainly does not.
struct LeafCrossChord {
    float x0, y0;
    float x1, y1;
    float xlo, xhi;
};

struct LeafBox {
    float x0, y0, x1, y1;
};

constexpr int kLeafBandCount = 64;
constexpr float kLeafBandScale = static_cast<float>(kLeafBandCount) / kLeafHeight;
constexpr int kLeafBlockChords = 8;
constexpr int kLeafBlocksPerSegment = kLeafChordsPerSegment / kLeafBlockChords;
constexpr int kLeafBlockCount = kLeafChordCount / kLeafBlockChords;
static_assert(kLeafChordsPerSegment % kLeafBlockChords == 0);

namespace leafdetail {

constexpr float kSlack = 1.f;

constexpr std::array<LeafPoint, kLeafChordCount + 1> FlattenOutline() {
    std::array<LeafPoint, kLeafChordCount + 1> p{};
    for (int s = 0; s < kLeafSegmentCount; ++s) {
        for (int k = 0; k < kLeafChordsPerSegment; ++k) {
            p[static_cast<std::size_t>(s * kLeafChordsPerSegment + k)] =
                LeafCurvePoint(kMapleLeafOutline[s], k);
        }
    }
    p[kLeafChordCount] = LeafCurvePoint(kMapleLeafOutline[kLeafSegmentCount - 1], 24);
    return p;
}

}  // namespace leafdetail

inline constexpr std::array<LeafPoint, kLeafChordCount + 1> kLeafPoints =
    leafdetail::FlattenOutline();

namespace leafdetail {

constexpr std::array<LeafChord, kLeafChordCount> MakeChords() {
    std::array<LeafChord, kLeafChordCount> c{};
    for (std::size_t i = 0; i < c.size(); ++i) {
        const float dx = kLeafPoints[i + 1].x - kLeafPoints[i].x;
        const float dy = kLeafPoints[i + 1].y - kLeafPoints[i].y;
        c[i] = {kLeafPoints[i].x, kLeafPoints[i].y, dx, dy, dx * dx + dy * dy};
    }
    return c;
}

constexpr float BandLow(int k) {
    return kLeafMinY + static_cast<float>(k) * (kLeafHeight / kLeafBandCount) - kSlack;
}
constexpr float BandHigh(int k) {
    return kLeafMinY + static_cast<float>(k + 1) * (kLeafHeight / kLeafBandCount) + kSlack;
}
constexpr bool ChordMeetsBand(std::size_t i, int k) {
    const float lo = std::min(kLeafPoints[i].y, kLeafPoints[i + 1].y);
    const float hi = std::max(kLeafPoints[i].y, kLeafPoints[i + 1].y);
    // The lowest band also takes every chord below it, the highest every chord above it.
    return (k == kLeafBandCount - 1 || lo <= BandHigh(k)) && (k == 0 || hi >= BandLow(k));
}

constexpr int CountBandEntries() {
    int n = 0;
    for (int k = 0; k < kLeafBandCount; ++k) {
        for (std::size_t i = 0; i < kLeafChordCount; ++i) n += ChordMeetsBand(i, k) ? 1 : 0;
    }
    return n;
}

inline constexpr int kBandEntryCount = CountBandEntries();

struct Bands {
    std::array<std::uint16_t, kLeafBandCount + 1> first{};  // band k: entries first[k]..first[k+1]
    std::array<LeafCrossChord, kBandEntryCount> chords{};
};

constexpr Bands MakeBands() {
    Bands b{};
    int n = 0;
    for (int k = 0; k < kLeafBandCount; ++k) {
        b.first[static_cast<std::size_t>(k)] = static_cast<std::uint16_t>(n);
        for (std::size_t i = 0; i < kLeafChordCount; ++i) {
            if (!ChordMeetsBand(i, k)) continue;
            const LeafPoint q0 = kLeafPoints[i];
            const LeafPoint q1 = kLeafPoints[i + 1];
            b.chords[static_cast<std::size_t>(n++)] = {q0.x,
                                                       q0.y,
                                                       q1.x,
                                                       q1.y,
                                                       std::min(q0.x, q1.x) - kSlack,
                                                       std::max(q0.x, q1.x) + kSlack};
        }
    }
    b.first[kLeafBandCount] = static_cast<std::uint16_t>(n);
    return b;
}

// Box of chords first..first+count-1, grown by the slack.
constexpr LeafBox ChordsBox(int first, int count) {
    LeafBox box{kLeafPoints[static_cast<std::size_t>(first)].x,
                kLeafPoints[static_cast<std::size_t>(first)].y,
                kLeafPoints[static_cast<std::size_t>(first)].x,
                kLeafPoints[static_cast<std::size_t>(first)].y};
    for (int i = first + 1; i <= first + count; ++i) {
        const LeafPoint p = kLeafPoints[static_cast<std::size_t>(i)];
        box = {std::min(box.x0, p.x), std::min(box.y0, p.y), std::max(box.x1, p.x),
               std::max(box.y1, p.y)};
    }
    return {box.x0 - kSlack, box.y0 - kSlack, box.x1 + kSlack, box.y1 + kSlack};
}

template <int N, int PerBox>
constexpr std::array<LeafBox, N> MakeBoxes() {
    std::array<LeafBox, N> boxes{};
    for (int i = 0; i < N; ++i) boxes[static_cast<std::size_t>(i)] = ChordsBox(i * PerBox, PerBox);
    return boxes;
}

}  // namespace leafdetail

inline constexpr std::array<LeafChord, kLeafChordCount> kLeafChords = leafdetail::MakeChords();
inline constexpr leafdetail::Bands kLeafBands = leafdetail::MakeBands();
inline constexpr std::array<LeafBox, kLeafSegmentCount> kLeafSegmentBoxes =
    leafdetail::MakeBoxes<kLeafSegmentCount, kLeafChordsPerSegment>();
inline constexpr std::array<LeafBox, kLeafBlockCount> kLeafBlockBoxes =
    leafdetail::MakeBoxes<kLeafBlockCount, kLeafBlockChords>();

// The band whose chord list covers height Y (clamped to the outline's extent).
inline int LeafBandOf(float y) {
    return std::clamp(FloorToInt((y - kLeafMinY) * kLeafBandScale), 0, kLeafBandCount - 1);
}

}  // namespace QuarelNS
