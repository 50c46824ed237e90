// The tables against the snapshots they fill: a new snapshot holds the tables' defaults, every
// field has its row, and the copies are clamped to the ranges the controls enforce.
#include <gtest/gtest.h>

#include <cstddef>
#include <cwchar>
#include <set>
#include <string>

#include "params/main_params.h"
#include "params/relief_params.h"

namespace QuarelNS {
namespace {

constexpr float kRadPerDeg = 0.017453292f;

// The table's default as the snapshot holds it: angles in radians.
TableValue AsStored(const ParamDecl& p) {
    if (p.type != TYPE_ANGLE) return p.def;
    return TableValue(p.def.f * kRadPerDeg);
}

bool SameValue(const TableValue& a, const TableValue& b) {
    if (a.kind != b.kind) return false;
    switch (a.kind) {
        case TableValue::kInt:
            return a.i == b.i;
        case TableValue::kFloat:
            return a.f == b.f;
        case TableValue::kColor:
            return a.c == b.c;
        default:
            return true;
    }
}

// Checks the defaults of Snapshot's rows in `tables` and returns the bytes those rows fill.
template <typename Snapshot>
std::size_t CheckDefaults(std::initializer_list<std::span<const ParamDecl>> tables) {
    const Snapshot fresh{};
    std::size_t bytes = 0;
    std::set<std::wstring> names;
    for (std::span<const ParamDecl> table : tables) {
        for (const ParamDecl& p : table) {
            if (!p.slot.BelongsTo<Snapshot>()) continue;
            SCOPED_TRACE(testing::Message()
                         << "row " << std::string(p.name, p.name + wcslen(p.name)));
            EXPECT_TRUE(names.insert(p.name).second);
            const TableValue held = p.slot.get(&fresh);
            EXPECT_TRUE(SameValue(held, AsStored(p)));
            bytes += held.kind == TableValue::kColor ? sizeof(Color) : sizeof(float);
        }
    }
    return bytes;
}

TEST(SnapshotRows, ANewSnapshotHoldsTheTablesDefaultsAndEveryFieldHasItsRow) {
    // The main snapshot's one field without a row is the texture relief, taken from the normal
    // output or the legacy block, whose defaults agree.
    EXPECT_EQ(CheckDefaults<EvalSnapshot>({kMainParams, kBumpParams}) + sizeof(float),
              sizeof(EvalSnapshot));
    EXPECT_EQ(EvalSnapshot{}.relief_tex_amount, NormalOutputValues{}.relief_tex_amount);
    EXPECT_EQ(EvalSnapshot{}.relief_tex_amount, LegacyReliefValues{}.relief_tex_amount);

    EXPECT_EQ(CheckDefaults<NormalOutputValues>({kNormalParams}), sizeof(NormalOutputValues));
    EXPECT_EQ(CheckDefaults<LegacyReliefValues>({kBumpParams}), sizeof(LegacyReliefValues));
    EXPECT_EQ(CheckDefaults<BumpOutputValues>({kBumpProcParams}), sizeof(BumpOutputValues));
}

TEST(SnapshotRows, CopiesAreClampedToTheRangesTheControlsEnforce) {
    const ParamDecl* clampedOwnWay = FindParam(kNormalParams, NormalParam::normal_depth);
    for (std::span<const ParamDecl> table :
         {std::span<const ParamDecl>(kMainParams), std::span<const ParamDecl>(kBumpParams),
          std::span<const ParamDecl>(kNormalParams), std::span<const ParamDecl>(kBumpProcParams)}) {
        for (const ParamDecl& p : table) {
            if (!p.IsClamped()) continue;
            SCOPED_TRACE(testing::Message() << "id " << p.id);
            ASSERT_NE(p.slot.clamp, nullptr);  // a copy, never a colour
            EXPECT_NE(p.type, TYPE_ANGLE);     // its range is in degrees, the copy in radians
            if (&p == clampedOwnWay) continue;
            EXPECT_TRUE(SameValue(p.clampLo, p.lo));
            EXPECT_TRUE(SameValue(p.clampHi, p.hi));
        }
    }
    // The depth has a lower limit of its own, below the control's: a stored 0.005 stays 0.005.
    EXPECT_EQ(clampedOwnWay->clampLo.f, 0.0001f);
    EXPECT_EQ(clampedOwnWay->clampHi.kind, TableValue::kNone);

    NormalOutputValues v{0.f, 2.f};
    ClampSnapshotRows(kNormalParams, v);
    EXPECT_EQ(v.normal_depth, 0.0001f);
    EXPECT_EQ(v.relief_tex_amount, 1.f);
    EvalSnapshot s;
    s.nx = 300;
    s.pattern = -1;
    s.hue_shift = 2.f;
    s.brick_angle = 100.f;
    ClampSnapshotRows(kMainParams, s);
    EXPECT_EQ(s.nx, 256);
    EXPECT_EQ(s.pattern, 0);
    EXPECT_EQ(s.hue_shift, 1.f);
    EXPECT_EQ(s.brick_angle, 100.f);
}

}  // namespace
}  // namespace QuarelNS
