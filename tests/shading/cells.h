// Where the bricks and joints of a snapshot's pattern lie, asked of the pattern engine directly:
// the shading and relief tests compare the layers above it with these. Also the relief's
// smallest step and its grey.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "pattern/evaluate.h"
#include "shading/eval_snapshot.h"

namespace QuarelTest {

constexpr float kMinStep = 1.52587890625e-05f;  // 2^-16

inline float Grey(const Color& c) {
    return (c.r + c.g + c.b) * 0.33333334f;
}

// The cell at (u, v) of the unit tile under the snapshot's settings, `count` bricks across when
// positive (the master transform is left out).
inline QuarelNS::BrickCell CellAt(const QuarelNS::EvalSnapshot& snap, float u, float v,
                                  int count = -1) {
    QuarelNS::PatternSettings ps;
    ps.pattern = snap.pattern;
    ps.nx = count > 0 ? count : snap.nx;
    ps.ny = snap.ny;
    ps.gap_u = snap.gap_u;
    ps.gap_v = snap.gap_v;
    ps.random_shift = snap.random_shift;
    ps.seed = static_cast<std::uint32_t>(snap.seed);
    QuarelNS::BrickCell cell;
    QuarelNS::EvaluatePattern(ps, u, v, cell);
    return cell;
}

// The u of the edge from joint (at u0) to brick (at u1) on the row through v, to float precision.
inline float RisingEdge(const QuarelNS::EvalSnapshot& snap, float v, float u0, float u1) {
    EXPECT_TRUE(CellAt(snap, u0, v).isGrout);
    EXPECT_FALSE(CellAt(snap, u1, v).isGrout);
    for (int i = 0; i < 60; ++i) {
        const float mid = 0.5f * (u0 + u1);
        (CellAt(snap, mid, v).isGrout ? u0 : u1) = mid;
    }
    return u1;
}

}  // namespace QuarelTest
