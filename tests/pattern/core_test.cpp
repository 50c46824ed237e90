// Dispatch, reduction, records and the shared steps of the pattern engine.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "pattern/catalogue.h"
#include "pattern/cell_steps.h"
#include "pattern/generators.h"
#include "pattern/pattern_hash.h"
#include "pattern/swatch_colour.h"
#include "support.h"

namespace QuarelNS {
namespace {

using testing::Eval;
using testing::Settings;

// "Custom Tiles" (id 3) and ids outside the catalogue lay the half running bond.
TEST(Dispatch, CustomTilesAndIdsOutsideTheCatalogueLayTheHalfRunningBond) {
    const PatternSettings half = Settings(0, 5, 7, 0.1f, 0.05f, 0.3f, 99);
    for (int id : {3, 30, 1000, -1, INT_MIN, INT_MAX}) {
        PatternSettings ps = half;
        ps.pattern = id;
        for (float u : {0.05f, 0.41f, 0.93f}) {
            for (float v : {0.1f, 0.3f, 0.55f, 0.77f})
                EXPECT_EQ(Eval(ps, u, v), Eval(half, u, v)) << "id " << id;
        }
    }
}

TEST(Dispatch, CoordinatesAreReducedToTheUnitTile) {
    for (int id = 0; id < kPatternCount; ++id) {
        const PatternSettings ps = Settings(id, 3, 5, 0.07f, 0.04f);
        EXPECT_EQ(Eval(ps, 3.25f, 0.4f), Eval(ps, 0.25f, 0.4f)) << "id " << id;
        EXPECT_EQ(Eval(ps, 0.3f, -0.5f), Eval(ps, 0.3f, 0.5f)) << "id " << id;
        EXPECT_EQ(Eval(ps, -0.75f, 2.125f), Eval(ps, 0.25f, 0.125f)) << "id " << id;
        EXPECT_EQ(Eval(ps, 1.f, 1.f), Eval(ps, 0.f, 0.f)) << "id " << id;
    }
}

TEST(Dispatch, ReductionNeverReachesOne) {
    // 1 - 1e-10 rounds to 1 in float: the point stays just below the seam, not across it.
    EXPECT_EQ(ReduceToUnit(-1e-10f), 0x1.fffffep-1f);
    EXPECT_EQ(ReduceToUnit(-1e-30f), 0x1.fffffep-1f);
    EXPECT_EQ(ReduceToUnit(-0x1p-25f), 0x1.fffffep-1f);
    EXPECT_EQ(ReduceToUnit(-0x1p-24f), 0x1.fffffep-1f);  // exact, no rounding needed
    EXPECT_EQ(ReduceToUnit(-0.25f), 0.75f);
    EXPECT_EQ(ReduceToUnit(1.f), 0.f);
    EXPECT_EQ(ReduceToUnit(std::numeric_limits<float>::quiet_NaN()), 0.f);
    EXPECT_EQ(ReduceToUnit(std::numeric_limits<float>::infinity()), 0.f);
    EXPECT_EQ(ReduceToUnit(-std::numeric_limits<float>::infinity()), 0.f);
    EXPECT_EQ(ReduceToUnit(3e30f), 0.f);
}

// A tiny negative coordinate lies just left of (or below) the seam, in the last cell: its
// fraction rounds to 1 and must not wrap to the first cell on the far side.
TEST(Dispatch, TinyNegativeCoordinatesStayInTheLastCell) {
    const float below1 = 0x1.fffffep-1f;
    // Pattern 1, nx = 4: cell 3 (brickU 3 * 3 + di), never cell 0 or 4.
    const PatternSettings custom = Settings(13, 4, 4);
    const BrickCell c = Eval(custom, -1e-9f, 0.5f);
    EXPECT_EQ(c.brickU / 3, 3);
    EXPECT_EQ(c, Eval(custom, below1, 0.5f));
    EXPECT_EQ(Eval(custom, 0.5f, -1e-9f).brickV / 3, 3);
    // The running bond on an even row: the last brick, nx - 1, and never nx.
    for (int nx : {1, 4, 7, 13, 256}) {
        const BrickCell b = Eval(Settings(0, nx, 4), -1e-9f, 0.1f);
        EXPECT_EQ(b.brickU, nx - 1) << "nx " << nx;
        EXPECT_EQ(b.brickV, 0);
    }
    EXPECT_EQ(Eval(Settings(4, 4, 4), 0.3f, -1e-9f).brickV, 3);
    // Paving Tile 1, nx = 4: tile column a = 3 (brickU = 16 * a + piece).
    const PatternSettings paving = Settings(25, 4, 4);
    const BrickCell p = Eval(paving, -1e-9f, 0.5f);
    EXPECT_EQ(p.brickU / 16, 3);
    EXPECT_EQ(p, Eval(paving, below1, 0.5f));
}

// The dispatch resets the kind; fields a generator does not write keep the caller's defaults
// (the running bond's known point compares the whole record).
TEST(Dispatch, KindIsReset) {
    BrickCell c;
    c.kind = 7;
    EvaluatePattern(Settings(0, 4, 4), 0.3f, 0.3f, c);
    EXPECT_EQ(c.kind, 0);
}

// Any settings and any coordinates give a defined record; UBSan watches the conversions.
TEST(Dispatch, HostileInputsGiveDefinedCells) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float floats[] = {nan, inf, -inf, 3e38f, -3e38f, 1e-30f, -0.f, 0.5f, -7.f, 1e9f};
    const int counts[] = {
        0, -5, 1, 256, 100000, std::numeric_limits<int>::max(), std::numeric_limits<int>::min()};
    for (int id = -1; id <= kPatternCount; ++id) {
        for (int n : counts) {
            for (float g : floats) {
                PatternSettings ps = Settings(id, n, n, g, g, g, 0xFFFFFFFFu);
                for (float x : floats) {
                    const BrickCell c = Eval(ps, x, 0.37f);
                    const BrickCell d = Eval(ps, 0.61f, x);
                    EXPECT_TRUE(c.kind == 0 || c.kind == 1);
                    EXPECT_TRUE(d.turned == 0 || d.turned == 1);
                }
            }
        }
    }
}

TEST(Dispatch, SanitizedSettingsLeaveOrdinaryValuesAlone) {
    const PatternSettings ps = Settings(9, 256, 1, 0.9f, 0.f, 0.5f, 100000);
    const PatternSettings s = SanitizePatternSettings(ps);
    EXPECT_EQ(ToString(s), ToString(ps));
    const PatternSettings bad =
        SanitizePatternSettings(Settings(3, 0, -4, std::numeric_limits<float>::quiet_NaN(), -1e30f,
                                         std::numeric_limits<float>::infinity()));
    EXPECT_EQ(bad.nx, 1);
    EXPECT_EQ(bad.ny, 1);
    EXPECT_EQ(bad.gap_u, 0.f);
    EXPECT_TRUE(std::isfinite(bad.gap_v));
    EXPECT_TRUE(std::isfinite(bad.random_shift));
}

TEST(GroutFinish, ZeroWidthsLeaveNoJoint) {
    for (float s = 0.f; s < 1.f; s += 1.f / 64) {
        EXPECT_FALSE(GroutFinish(0.f, 0.f, 0.25f, 0.125f, s, 0.f).isGrout);
        EXPECT_FALSE(GroutFinish(0.f, 0.f, 0.25f, 0.125f, 0.f, s).isGrout);
    }
    // Fractions computed in float can land a hair outside [0, 1]; without a joint that is brick.
    for (float s : {-4.2e-7f, -1e-6f, 1.0000001f}) {
        EXPECT_FALSE(GroutFinish(0.f, 0.f, 0.25f, 0.125f, s, 0.5f).isGrout) << s;
        EXPECT_FALSE(GroutFinish(0.f, 0.f, 0.25f, 0.125f, 0.5f, s).isGrout) << s;
        // A zero joint on one axis says nothing about the other.
        EXPECT_FALSE(GroutFinish(0.f, 0.1f, 0.25f, 0.125f, s, 0.5f).isGrout) << s;
        EXPECT_TRUE(GroutFinish(0.f, 0.1f, 0.25f, 0.125f, 0.5f, s).isGrout) << s;
    }
}

TEST(GroutFinish, JointsAreMeasuredAgainstTheShorterSideAndCapped) {
    // Cell 0.5 x 0.25: m = 0.25, gu = 0.25 * 0.2 / 0.5 = 0.1, gv = 0.2.
    const GroutFace f = GroutFinish(0.2f, 0.2f, 0.5f, 0.25f, 0.5f, 0.5f);
    EXPECT_FLOAT_EQ(f.faceW, 0.9f * 0.5f);
    EXPECT_FLOAT_EQ(f.faceH, 0.8f * 0.25f);
    EXPECT_FALSE(f.isGrout);
    // The limit itself is brick (strict comparisons); just inside the joint is grout.
    EXPECT_FALSE(GroutFinish(0.2f, 0.2f, 0.5f, 0.25f, 0.05f, 0.5f).isGrout);
    EXPECT_TRUE(GroutFinish(0.2f, 0.2f, 0.5f, 0.25f, 0.0499f, 0.5f).isGrout);
    EXPECT_TRUE(GroutFinish(0.2f, 0.2f, 0.5f, 0.25f, 0.5f, 0.9001f).isGrout);
    // gap_u = 5 caps the joint fraction at 0.98, leaving a face of 2 % of the cell.
    const GroutFace capped = GroutFinish(5.f, 0.f, 0.25f, 0.25f, 0.5f, 0.5f);
    EXPECT_FLOAT_EQ(capped.faceW, (1.f - 0.98f) * 0.25f);
    EXPECT_FALSE(capped.isGrout);
    EXPECT_TRUE(GroutFinish(5.f, 0.f, 0.25f, 0.25f, 0.48f, 0.5f).isGrout);
    // Negative and NaN widths give no joint.
    EXPECT_FALSE(GroutFinish(-1.f, std::numeric_limits<float>::quiet_NaN(), 1, 1, 0, 0).isGrout);
}

// Points whose cell fraction rounds a hair outside the cell, on walls without joints.
TEST(ZeroGrout, PointsOnACellEdgeAreBrick) {
    // "1/2 Running", 7 x 4: at (0.5, 0.25) s comes out about -4.2e-7.
    const BrickCell rb = Eval(Settings(0, 7, 4), 0.5f, 0.25f);
    EXPECT_FALSE(rb.isGrout);
    EXPECT_EQ(rb.brickU, 3);
    EXPECT_EQ(rb.brickV, 1);
    EXPECT_LT(rb.localU, 0.f);  // unclamped: the fraction really is just outside
    // Generators that compare their own fractions with the joint widths: v = 0.9 in ten rows
    // (t just below 0) and u = 0.9 in ten columns (s just below 0).
    for (int id : {7, 10, 23}) {
        for (float u : {0.05f, 0.3f, 0.71f})
            EXPECT_FALSE(Eval(Settings(id, 1, 10), u, 0.9f).isGrout) << "id " << id << " u " << u;
    }
    for (int id : {21, 22}) {
        for (float v : {0.05f, 0.3f, 0.71f})
            EXPECT_FALSE(Eval(Settings(id, 10, 1), 0.9f, v).isGrout) << "id " << id << " v " << v;
    }
}

// Every generator whose joints come from the grout finish: without joints no point is grout, over
// a dense lattice of pixel centres and pixel corners. The lattice is already reduced and the
// settings already sane, so the generators are called as the dispatch calls them.
struct FinishGenerator {
    const char* name;
    void (*run)(const PatternSettings& ps, float u, float v, BrickCell& cell);
};

// The optimised build walks every row of the lattice. The sanitizer builds, which look for memory
// and undefined-behaviour faults rather than for other float results (the flags keep those the
// same in every build), walk every sixteenth row to keep their run short.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kLatticeRowStep = 16;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr int kLatticeRowStep = 16;
#else
constexpr int kLatticeRowStep = 1;
#endif
#else
constexpr int kLatticeRowStep = 1;
#endif

const FinishGenerator kFinishGenerators[] = {
    {"HalfRunning", [](const PatternSettings& ps, float u, float v,
                       BrickCell& c) { RunningBond(ps, u, v, c, 0.5f); }},
    {"ThirdRunning", [](const PatternSettings& ps, float u, float v,
                        BrickCell& c) { RunningBond(ps, u, v, c, 0.33333334f); }},
    {"FineStack", [](const PatternSettings& ps, float u, float v,
                     BrickCell& c) { RunningBond(ps, u, v, c, 0.f); }},
    {"CommonFlemish", CommonFlemish},
    {"Herringbone", Herringbone},
    {"TShape", TShape},
    {"ModularAshlar", ModularAshlar},
    {"BasketWeave", BasketWeave},
    {"PavingTile1", PavingTile1},
    {"PavingTile2", PavingTile2},
    {"ParquetTile1", ParquetTile1},
};

class ZeroGroutLattice : public ::testing::TestWithParam<FinishGenerator> {};

TEST_P(ZeroGroutLattice, NoPointIsGrout) {
    constexpr int n = 1024;
    const int counts[][2] = {{1, 1}, {4, 8}, {7, 4}, {13, 29}};
    for (const auto& [nx, ny] : counts) {
        const PatternSettings ps = Settings(0, nx, ny);
        int grout = 0;
        BrickCell c;
        for (float offset : {0.5f, 0.f}) {
            for (int y = 0; y < n; y += kLatticeRowStep) {
                const float v = (static_cast<float>(y) + offset) / n;
                for (int x = 0; x < n; ++x) {
                    const float u = (static_cast<float>(x) + offset) / n;
                    c = BrickCell{};
                    GetParam().run(ps, u, v, c);
                    if (c.isGrout && ++grout == 1)
                        ADD_FAILURE()
                            << GetParam().name << " " << ps << " grout at " << u << ", " << v;
                }
            }
        }
        EXPECT_EQ(grout, 0) << GetParam().name << " " << ps;
    }
}

INSTANTIATE_TEST_SUITE_P(FinishGenerators, ZeroGroutLattice, ::testing::ValuesIn(kFinishGenerators),
                         [](const ::testing::TestParamInfo<FinishGenerator>& param) {
                             return std::string(param.param.name);
                         });

TEST(LocalFrame, LocalVRunsAlongTheLongerSide) {
    for (float w : {0.1f, 0.3f, 0.3000001f, 2.f}) {
        for (float h : {0.1f, 0.3f, 1.f}) {
            BrickCell c;
            SetBrickLocalFrame(1.5f, -0.25f, w, h, c);
            EXPECT_LE(c.sizeU, c.sizeV);
            EXPECT_EQ(c.upright, 1 - c.turned);
            EXPECT_EQ(c.projSizeU, c.sizeU);
            EXPECT_EQ(c.projSizeV, c.sizeV);
            EXPECT_EQ(c.turned, w > h ? 1 : 0);
            // a = 1.5 clamps to 1, b = -0.25 to 0; a turned frame swaps them.
            EXPECT_EQ(c.localU, c.turned ? 0.f : 1.f);
            EXPECT_EQ(c.localV, c.turned ? 1.f : 0.f);
        }
    }
}

// How each generator leaves the frame over the whole tile: written by the shared frame step
// (upright opposes turned, the projection sizes mirror the face) or left at the caller's defaults;
// local coordinates clamped to the face or not; the face's longer side along localV or not.
TEST(LocalFrame, EachGeneratorWritesOrLeavesTheFrame) {
    struct Rule {
        int id;
        bool written, clamped, longerAlongV;
        int kind;  // -1: either set; 0: always the first; 1: by column, brickU & 1
    };
    const Rule rules[] = {
        {5, true, true, true, 0},    {9, true, true, true, 0},       // Herringbone, Basket Weave
        {6, false, false, true, 0},  {8, false, false, true, 0},     // T-Shape, Modular Ashlar
        {21, true, true, true, -1},  {22, true, true, true, -1},     // the waves
        {7, false, true, false, 0},  {10, false, true, false, 0},    // Diagonal, Triangles
        {11, false, true, false, 0}, {12, false, true, false, 0},    // Chevron, Hexagons
        {23, false, true, false, 1},                                 // Triangles 2
        {2, true, true, true, 1},    {20, false, false, false, -1},  // Common Flemish, I-Paver
    };
    for (const Rule& r : rules) {
        for (int n : {1, 3, 8}) {
            const PatternSettings ps = Settings(r.id, n, 9 - n, 0.1f, 0.05f);
            for (int y = 0; y < 61; ++y) {
                for (int x = 0; x < 61; ++x) {
                    const BrickCell c =
                        Eval(ps, static_cast<float>(x) / 61.f, static_cast<float>(y) / 61.f);
                    const bool frame = r.written
                                           ? c.upright == 1 - c.turned && c.projSizeU == c.sizeU &&
                                                 c.projSizeV == c.sizeV
                                           : c.turned == 0 && c.upright == 1 &&
                                                 c.projSizeU == 0.f && c.projSizeV == 0.f;
                    const bool local =
                        c.localU >= 0.f && c.localU <= 1.f && c.localV >= 0.f && c.localV <= 1.f;
                    ASSERT_TRUE(c.sizeU > 0.f && c.sizeV > 0.f && frame && (local || !r.clamped) &&
                                (c.sizeU <= c.sizeV || !r.longerAlongV) &&
                                (r.kind < 0 || c.kind == (r.kind ? c.brickU & 1 : 0)))
                        << ps << ": " << c;
                }
            }
        }
    }
}

TEST(Hash, FinaliserAndRowShiftMatchIndependentValues) {
    // Worked by hand from the definition: 1 -> 1 ^ 0 = 1; * 0x4BF19F61 = 0x4BF19F61;
    // ^ (>> 16) = 0x4BF19F61 ^ 0x4BF1 = 0x4BF1D490.
    EXPECT_EQ(HashFinalize(1u), 0x4BF1D490u);
    EXPECT_EQ(HashFinalize(0u), 0u);
    EXPECT_EQ(HashUnit(0x00FFFFFFu), 16777215.f * 5.9604645e-8f);
    EXPECT_LT(HashUnit(0xFFFFFFFFu), 1.f);
    // seed 0, row 1: x = 0x27D4EB2F.
    EXPECT_EQ(RowShiftHash(0u, 1), HashUnit(HashFinalize(0x27D4EB2Fu)));
    EXPECT_EQ(RowShiftHash(1u, 0), HashUnit(HashFinalize(0x9E3779B1u)));
    EXPECT_EQ(RowShiftHash(2u, -1), HashUnit(HashFinalize((2u * 0x9E3779B1u) ^ 0xD82B14D1u)));
}

TEST(Catalogue, IdsNamesAndCategoriesAreConsistent) {
    int seen[kPatternCount] = {};
    for (const PatternCategoryInfo& cat : kPatternCategories) {
        for (int i = 0; i < cat.memberCount; ++i) {
            const PatternInfo& p = kPatternCatalogue[static_cast<std::size_t>(cat.members[i])];
            EXPECT_EQ(p.category, cat.category);
            EXPECT_EQ(p.position, i + 1) << p.name;
            ++seen[p.id];
        }
    }
    for (int id = 0; id < kPatternCount; ++id) {
        EXPECT_EQ(seen[id], 1) << id;
        EXPECT_EQ(kPatternCatalogue[static_cast<std::size_t>(id)].id, id);
        EXPECT_EQ(FindPatternByName(kPatternCatalogue[static_cast<std::size_t>(id)].name), id);
    }
    EXPECT_EQ(FindPatternByName("maple leaf"), 24);
    EXPECT_EQ(FindPatternByName("Maple"), -1);
    EXPECT_EQ(PatternInfoFor(-3).id, 0);
}

// The traits other layers ask about must say what the generators actually lay.
TEST(Catalogue, TraitsDescribeWhatTheGeneratorsLay) {
    for (const PatternInfo& p : kPatternCatalogue) {
        const PatternSettings ps = Settings(p.id, 4, 4);
        bool secondSet = false;
        for (int i = 0; i < 64 && !secondSet; ++i) {
            for (int j = 0; j < 64 && !secondSet; ++j)
                secondSet = Eval(ps, (i + 0.5f) / 64.f, (j + 0.5f) / 64.f).kind == 1;
        }
        if (p.usesBrick2) {
            EXPECT_TRUE(secondSet) << p.name;
        }
        if (p.customLayout) {
            EXPECT_TRUE(p.usesBrick2) << p.name;
            EXPECT_EQ(p.category, PatternCategory::Custom) << p.name;
        }
        ASSERT_NE(p.generate, nullptr) << p.name;
    }
    // A bond's second course starts courseShift of a brick further along than its first.
    for (int id : {0, 1, 3, 4}) {
        const PatternInfo& p = PatternInfoFor(id);
        const PatternSettings ps = Settings(id, 4, 4);
        const float du = p.courseShift / 4.f;
        for (float u : {0.1f, 0.3f, 0.55f})
            EXPECT_NEAR(Eval(ps, u + du, 0.375f).localU, Eval(ps, u, 0.125f).localU, 1e-4f)
                << p.name;
    }
    EXPECT_EQ(PatternInfoFor(12).courseShift, 0.f);
    EXPECT_FALSE(PatternInfoFor(-1).customLayout);
    EXPECT_FALSE(PatternInfoFor(kPatternCount).usesBrick2);
}

TEST(Swatch, ColoursFollowTheBrickSetAndHash) {
    BrickCell grout;
    grout.isGrout = true;
    EXPECT_EQ(SwatchCellColour(grout), 0x222222u);
    // Brick (0, 0) of the first set: red 108 and up to 8 % of 147 more by its hash.
    const float f = static_cast<float>(HashFinalize(0x36605A39u) & 0xFFFFFF) * 5.9604645e-08f;
    EXPECT_EQ(SwatchCellColour(BrickCell{}) & 0xFF,
              108 + static_cast<std::uint32_t>(147.f * (f * 0.08f)));
    BrickCell second;
    second.kind = 1;
    EXPECT_GE(SwatchCellColour(second) & 0xFF, 218u);
}

}  // namespace
}  // namespace QuarelNS
