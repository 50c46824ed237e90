// The parameter tables against themselves and against the module's resources: every control a
// row binds exists in its rollout's template with the right class, every display name exists,
// every default lies in its range.
#include <gtest/gtest.h>

#include <set>
#include <string_view>

#include "params/param_lookup.h"
#include "resources/dialog_templates.h"
#include "resources/string_table.h"

namespace QuarelNS {
namespace {

constexpr const BlockDecl* kAllBlocks[] = {&kMainBlock,       &kBumpBlock,   &kNormalButtonBlock,
                                           &kBumpButtonBlock, &kNormalBlock, &kBumpProcBlock,
                                           &kCarrierBlock};

const char* ControlClass(int c, int which) {
    switch (c) {
        case TYPE_SPINNER:
            return which == 0 ? "CustEdit" : "SpinnerControl";
        case TYPE_INT_COMBOBOX:
            return "COMBOBOX";
        case TYPE_COLORSWATCH:
            return "ColorSwatch";
        case TYPE_SINGLECHEKBOX:
            return "BUTTON";
        case TYPE_TEXMAPBUTTON:
            return "CustButton";
        default:
            return "";
    }
}

double Number(const TableValue& v) {
    return v.kind == TableValue::kInt ? v.i : v.f;
}

TEST(ParamTables, IdsAreUniqueWithinEachBlock) {
    for (const BlockDecl* b : kAllBlocks) {
        std::set<ParamID> ids;
        for (const ParamDecl& p : b->params)
            EXPECT_TRUE(ids.insert(p.id).second) << "block " << b->id << " id " << p.id;
    }
    EXPECT_EQ(FindParam(kBumpParams, 4), nullptr);
}

TEST(ParamTables, BoundControlsExistInTheRolloutTemplate) {
    for (const BlockDecl* b : kAllBlocks) {
        for (const ParamDecl& p : b->params) {
            if (p.control == kNoControl) {
                EXPECT_EQ(p.map, -1) << p.id;
                continue;
            }
            const RolloutDecl* rollout = nullptr;
            for (const RolloutDecl& r : b->rollouts)
                if (r.map == p.map) rollout = &r;
            ASSERT_NE(rollout, nullptr) << "block " << b->id << " id " << p.id;
            const W32DialogResource* dlg =
                QuarelRes::FindDialog(static_cast<std::uint32_t>(rollout->dialogId));
            ASSERT_NE(dlg, nullptr) << rollout->dialogId;
            const int n = p.control == TYPE_SPINNER ? 2 : 1;
            for (int k = 0; k < n; ++k) {
                const W32DialogItem* item =
                    QuarelRes::FindDialogItem(*dlg, static_cast<std::uint32_t>(p.ctrlIds[k]));
                ASSERT_NE(item, nullptr)
                    << "block " << b->id << " id " << p.id << " control " << p.ctrlIds[k];
                EXPECT_STREQ(item->windowClass, ControlClass(p.control, k)) << p.ctrlIds[k];
            }
        }
    }
}

TEST(ParamTables, DisplayNamesAndTitlesAreModuleStrings) {
    for (const BlockDecl* b : kAllBlocks) {
        for (const ParamDecl& p : b->params)
            EXPECT_NE(QuarelRes::FindString(static_cast<std::uint32_t>(p.nameStringId)), nullptr)
                << p.nameStringId;
        for (const RolloutDecl& r : b->rollouts)
            EXPECT_NE(QuarelRes::FindString(static_cast<std::uint32_t>(r.title)), nullptr);
    }
}

TEST(ParamTables, DefaultsLieInTheirRangesAndMatchTheirType) {
    for (const BlockDecl* b : kAllBlocks) {
        for (const ParamDecl& p : b->params) {
            SCOPED_TRACE(testing::Message() << "block " << b->id << " id " << p.id);
            switch (p.type) {
                case TYPE_RGBA:
                    EXPECT_EQ(p.def.kind, TableValue::kColor);
                    EXPECT_FALSE(p.HasRange());
                    break;
                case TYPE_TEXMAP:
                    EXPECT_FALSE(p.def.IsSet());
                    EXPECT_TRUE((p.flags & (P_SUBTEX | P_OWNERS_REF)) != 0);
                    EXPECT_TRUE(p.subTexNo >= 0 || p.ownerRefNo >= 0);
                    break;
                case TYPE_BOOL:
                    EXPECT_TRUE(p.def.i == 0 || p.def.i == 1);
                    break;
                default:
                    ASSERT_TRUE(p.HasRange());
                    EXPECT_LE(Number(p.lo), Number(p.def));
                    EXPECT_LE(Number(p.def), Number(p.hi));
            }
        }
    }
}

TEST(ParamTables, PresetsFindParametersByInternalName) {
    const ParamRef seed = FindParamByName(kQuarelMapBlocks, "seed");
    ASSERT_TRUE(seed);
    EXPECT_EQ(seed.block->id, 0);
    EXPECT_EQ(seed.param->id, 13);

    // The main map's own relief values live in block 1; the normal output has its own.
    EXPECT_EQ(FindParamByName(kQuarelMapBlocks, "normal_depth").block->id, 1);
    EXPECT_EQ(FindParamByName(kNormalMapBlocks, "normal_depth").param->def.f, 5.f);
    EXPECT_EQ(FindParamByName(kQuarelMapBlocks, "master_angle").param->type, TYPE_ANGLE);

    for (const char* name : {"see", "seeds", ""})
        EXPECT_FALSE(FindParamByName(kQuarelMapBlocks, name));
}

}  // namespace
}  // namespace QuarelNS
