// The whole-brick identity of bricks that the unit tile's edges cut.
//
// Whether two points lie on one brick is judged from the geometry alone: both are brick, of the
// same set, with the same face extents, and their local coordinates run on from one to the
// other. Across the tile's edges every such pair must get one identity; inside the tile no
// identity may change.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "pattern/catalogue.h"
#include "pattern/seamless_identity.h"
#include "support.h"

namespace QuarelNS {
namespace {

using testing::Eval;
using testing::Settings;

constexpr float kEps = 1e-4f;  // how far inside the edge the two points lie

struct Point {
    float u, v;
};

// Local coordinates one step further along (du, dv) continue linearly from p's, within slack.
bool RunsOn(const BrickCell& from, const BrickCell& back, const BrickCell& to) {
    const auto onLine = [](float f, float b, float t) {
        const float step = f - b;
        return std::fabs(t - (f + step)) <= 0.25f * std::fabs(step) + 2e-5f;
    };
    return onLine(from.localU, back.localU, to.localU) &&
           onLine(from.localV, back.localV, to.localV);
}

// One brick judged by its geometry: both points brick, of one set and one face, and each
// side's local coordinates, stepped on across the edge, land on the other's. Chevron strips
// restart their local v by half at every row boundary (inside the tile too), so there only the
// coordinate across the strip must run on.
bool OneBrick(const PatternSettings& ps, Point a, Point b, float du, float dv) {
    BrickCell ca = Eval(ps, a.u, a.v), cb = Eval(ps, b.u, b.v);
    if (ca.isGrout || cb.isGrout || ca.kind != cb.kind || ca.turned != cb.turned) return false;
    const float sizeTol = 1e-3f * std::max(ca.sizeU, ca.sizeV);
    if (std::fabs(ca.sizeU - cb.sizeU) > sizeTol || std::fabs(ca.sizeV - cb.sizeV) > sizeTol)
        return false;
    BrickCell aBack = Eval(ps, a.u - 2.f * du, a.v - 2.f * dv);
    BrickCell bBack = Eval(ps, b.u + 2.f * du, b.v + 2.f * dv);
    if (ps.pattern == 11) {
        aBack.localV = bBack.localV = ca.localV = cb.localV = 0.f;
    }
    return RunsOn(ca, aBack, cb) && RunsOn(cb, bBack, ca);
}

BrickCell Seamless(const PatternSettings& ps, float u, float v) {
    BrickCell c = Eval(ps, u, v);
    ApplySeamlessIdentity(ps, c);
    return c;
}

struct EdgeTally {
    int oneBrick = 0;       // pairs across an edge that are one brick
    int splitToday = 0;     // of those, pairs whose engine indices differ
    int splitSeamless = 0;  // of those, pairs still split after ApplySeamlessIdentity
};

// a lies just inside one edge, b just inside the opposite one; (du, dv) points from a out of
// the tile.
void Compare(const PatternSettings& ps, Point a, Point b, float du, float dv, EdgeTally& t) {
    if (!OneBrick(ps, a, b, du, dv)) return;
    ++t.oneBrick;
    const BrickCell ca = Eval(ps, a.u, a.v), cb = Eval(ps, b.u, b.v);
    if (ca.brickU != cb.brickU || ca.brickV != cb.brickV) ++t.splitToday;
    const BrickCell sa = Seamless(ps, a.u, a.v), sb = Seamless(ps, b.u, b.v);
    if (sa.brickU != sb.brickU || sa.brickV != sb.brickV) {
        ++t.splitSeamless;
        ADD_FAILURE() << ps << " (" << a.u << ", " << a.v << ") " << sa << " against (" << b.u
                      << ", " << b.v << ") " << sb;
    }
}

// Both edges along u and v, sampled densely, and the four corners with their neighbours across
// each edge (a brick that holds all four corners links them all).
// Only along an axis where the shape repeats: elsewhere the parts are left alone on purpose.
void TallyEdges(const PatternSettings& ps, EdgeTally& alongU, EdgeTally& alongV) {
    constexpr int kSamples = 61;
    constexpr float lo = kEps, hi = 1.f - kEps;
    const TileRepeat repeat = TileRepeatOf(ps);
    for (int k = 0; k < kSamples; ++k) {
        const float x = (static_cast<float>(k) + 0.37f) / kSamples;
        if (repeat.u) Compare(ps, {hi, x}, {lo, x}, kEps, 0.f, alongU);
        if (repeat.v) Compare(ps, {x, hi}, {x, lo}, 0.f, kEps, alongV);
    }
    for (float y : {lo, hi})
        if (repeat.u) Compare(ps, {hi, y}, {lo, y}, kEps, 0.f, alongU);
    for (float x : {lo, hi})
        if (repeat.v) Compare(ps, {x, hi}, {x, lo}, 0.f, kEps, alongV);
}

std::vector<PatternSettings> Variants(int pattern) {
    std::vector<PatternSettings> out;
    for (int nx : {1, 2, 3, 4, 7, 8})
        for (int ny : {1, 2, 3, 6, 8})
            for (float gap : {0.f, 0.08f})
                for (float shift : {0.f, 0.35f, 2.6f}) {
                    out.push_back(Settings(pattern, nx, ny, gap, gap * 0.5f, shift, 1234));
                    out.push_back(Settings(pattern, nx, ny, gap, gap, shift, 7));
                }
    return out;
}

// Patterns of which some brick is cut by the tile's edge along u or v, for some settings. The
// generators of Herringbone, Patterns 5 and 6 and Paving Tile 2 wrap those bricks' indices
// themselves.
bool WrapsItself(int p) {
    return p == 5 || p == 17 || p == 18 || p == 26;
}
bool CutAlongU(int p) {
    return SeamRuleOf(p).periodU != 0 || WrapsItself(p);
}
bool CutAlongV(int p) {
    return SeamRuleOf(p).periodV != 0 || WrapsItself(p);
}

TEST(SeamlessIdentity, EveryCutBrickHasOneIdentityInEveryPattern) {
    for (int p = 0; p < kPatternCount; ++p) {
        SCOPED_TRACE(p);
        EdgeTally u, v;
        for (const PatternSettings& ps : Variants(p)) TallyEdges(ps, u, v);
        EXPECT_EQ(u.splitSeamless + v.splitSeamless, 0);
        // The sampling finds the cut bricks it claims to check...
        if (CutAlongU(p)) {
            EXPECT_GT(u.oneBrick, 0);
        }
        if (CutAlongV(p)) {
            EXPECT_GT(v.oneBrick, 0);
        }
        // ...and today's indices do split them where the rule says so.
        if (SeamRuleOf(p).periodU != 0) {
            EXPECT_GT(u.splitToday, 0);
        }
        if (SeamRuleOf(p).periodV != 0) {
            EXPECT_GT(v.splitToday, 0);
        }
    }
}

TEST(SeamlessIdentity, BricksInsideTheTileKeepTheirIndices) {
    for (int p = 0; p < kPatternCount; ++p) {
        for (int n : {6, 8}) {
            const PatternSettings ps = Settings(p, n, n, 0.06f, 0.06f, 0.f, 99);
            for (int i = 0; i <= 20; ++i)
                for (int j = 0; j <= 20; ++j) {
                    const float u = 0.3f + 0.02f * static_cast<float>(i);
                    const float v = 0.3f + 0.02f * static_cast<float>(j);
                    const BrickCell today = Eval(ps, u, v);
                    EXPECT_EQ(Seamless(ps, u, v), today) << ps << " at " << u << ", " << v;
                }
        }
    }
}

TEST(SeamlessIdentity, ShapesThatAlternateRepeatOnlyWithEvenCounts) {
    // The running bonds' offset rows.
    EXPECT_FALSE(TileRepeatOf(Settings(0, 4, 7)).v);
    EXPECT_TRUE(TileRepeatOf(Settings(0, 3, 8)).u);
    EXPECT_TRUE(TileRepeatOf(Settings(0, 3, 8)).v);
    EXPECT_TRUE(TileRepeatOf(Settings(4, 3, 7)).v);  // a stack bond has no offset
    // Hexagons' shifted columns; Maple Leaf's checkerboard of kinds.
    EXPECT_FALSE(TileRepeatOf(Settings(12, 7, 4)).u);
    EXPECT_TRUE(TileRepeatOf(Settings(12, 8, 5)).v);
    EXPECT_FALSE(TileRepeatOf(Settings(24, 4, 3)).v);
    // Herringbone rounds its grid up to whole repeats; out-of-range ids seam like id 0.
    EXPECT_TRUE(TileRepeatOf(Settings(5, 7, 5)).u);
    EXPECT_FALSE(TileRepeatOf(Settings(-1, 4, 7)).v);
    EXPECT_FALSE(TileRepeatOf(Settings(1000, 4, 7)).v);
    // Counts as the engine takes them: 0 is 1, odd.
    EXPECT_FALSE(TileRepeatOf(Settings(9, 0, 2)).u);
}

TEST(SeamlessIdentity, WhereTheShapeDoesNotRepeatNothingChanges) {
    // Hexagons with an odd nx: column -1 is shifted, column nx - 1 is not; different bricks.
    const PatternSettings hex = Settings(12, 7, 4, 0.05f, 0.05f);
    for (float v = 0.01f; v < 1.f; v += 0.013f) {
        const BrickCell today = Eval(hex, 0.001f, v);
        EXPECT_EQ(Seamless(hex, 0.001f, v).brickU, today.brickU);
    }
    // Wave Striped with an odd ny: the cut row's parts are of different sets.
    const PatternSettings wave = Settings(22, 4, 5, 0.05f, 0.05f);
    const BrickCell top = Eval(wave, 0.5f, 0.999f);
    EXPECT_EQ(Seamless(wave, 0.5f, 0.999f).brickV, top.brickV);
}

TEST(SeamlessIdentity, WorkedCutBricks) {
    // 1/2 Running, nx 4: the odd row's brick -1 at the left edge is brick 3 at the right.
    const PatternSettings run = Settings(0, 4, 4);
    EXPECT_EQ(Eval(run, 0.05f, 0.3f).brickU, -1);
    EXPECT_EQ(Seamless(run, 0.05f, 0.3f).brickU, 3);
    EXPECT_EQ(Seamless(run, 0.95f, 0.3f).brickU, 3);
    // I-Paver, 1 x 1: the corner stone at the tile's corner is stone (0, 0) in all four parts.
    const PatternSettings ip = Settings(20, 1, 1);
    for (float u : {0.01f, 0.99f})
        for (float v : {0.01f, 0.99f}) {
            const BrickCell c = Seamless(ip, u, v);
            EXPECT_EQ(c.brickU, 0);
            EXPECT_EQ(c.brickV, 0);
            EXPECT_EQ(c.kind, 1);
        }
    // Large counts keep the index products inside int32.
    BrickCell big;
    big.brickU = -1;
    big.brickV = 4 * 65536 + 3;
    ApplySeamlessIdentity(Settings(20, 1 << 30, 1 << 30), big);
    EXPECT_EQ(big.brickU, 4 * 65536 - 1);
    EXPECT_EQ(big.brickV, 3);
}

}  // namespace
}  // namespace QuarelNS
