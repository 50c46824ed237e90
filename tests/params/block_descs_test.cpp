// The block descriptors as the host sees them, and the blocks of freshly created objects.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include <host/param_declarations.h>

#include "base/class_lookup.h"
#include "base/diag_log.h"
#include "log_fixture.h"
#include "map/quarel_map.h"
#include "params/param_lookup.h"

namespace QuarelNS {
namespace {

struct ClassBlocks {
    QuarelClass cls;
    std::span<const BlockDecl* const> blocks;
};

const ClassBlocks kClassBlocks[] = {
    {QuarelClass::Map, kQuarelMapBlocks},           {QuarelClass::BumpMap, {}},
    {QuarelClass::NormalMap, kNormalMapBlocks},     {QuarelClass::NormalCarrierMtl, kCarrierBlocks},
    {QuarelClass::BumpProcMap, kBumpProcMapBlocks},
};

// A new object of class c, held the way a material-editor slot holds it.
std::unique_ptr<SingleRefMaker> Make(QuarelClass c, bool loading = false) {
    auto* object = static_cast<Animatable*>(QuarelClassDescOf(c).Create(loading ? TRUE : FALSE));
    auto* target = dynamic_cast<ReferenceTarget*>(object);
    EXPECT_NE(target, nullptr);
    return std::make_unique<SingleRefMaker>(target);
}

// Each class registers its own blocks in declaration order, and a new object holds each in the
// slot its declaration names. (The descriptors copy the rest of each row field by field; what
// the rows mean is checked where it shows: values, keys, rollouts, scene files.)
TEST(BlockDescs, EachClassRegistersItsBlocksInOrderAndANewObjectHoldsThem) {
    for (const ClassBlocks& cb : kClassBlocks) {
        ClassDesc2& cd = QuarelClassDescOf(cb.cls);
        ASSERT_EQ(cd.NumParamBlockDescs(), static_cast<int>(cb.blocks.size()));
        auto holder = Make(cb.cls);
        auto* object = static_cast<ReferenceMaker*>(holder->GetRef());
        for (int i = 0; i < cd.NumParamBlockDescs(); ++i) {
            const BlockDecl& decl = *cb.blocks[static_cast<std::size_t>(i)];
            ParamBlockDesc2* d = cd.GetParamBlockDesc(i);
            SCOPED_TRACE(testing::Message() << "block " << decl.id);
            ASSERT_NE(d, nullptr);
            EXPECT_EQ(d->ID, decl.id);
            EXPECT_EQ(d->cd, &cd);
            EXPECT_TRUE(d->flags & P_AUTO_CONSTRUCT);
            auto* inSlot = dynamic_cast<IParamBlock2*>(object->GetReference(decl.ownerRefNo));
            ASSERT_NE(inSlot, nullptr);
            EXPECT_EQ(inSlot, object->GetParamBlockByID(decl.id));
            EXPECT_EQ(inSlot->NumParams(), static_cast<int>(decl.params.size()));
        }
    }
}

// Each row reaches its descriptor through the SDK's calls: the declarations read without a
// fault, and every part a row has arrives where the host looks for it.
void ExpectRowArrived(const ParamDecl& row, const ParamDef& p) {
    SCOPED_TRACE(testing::Message() << "id " << row.id);
    EXPECT_EQ(p.ID, row.id);
    EXPECT_EQ(std::wstring(p.int_name), std::wstring(row.name));
    EXPECT_EQ(static_cast<int>(p.type), row.type);
    EXPECT_EQ(p.flags & 0xFFFF, static_cast<ULONGLONG>(row.flags));
    EXPECT_EQ(p.local_name, row.nameStringId);
    EXPECT_EQ((p.flags & P_HAS_DEFAULT) != 0, row.def.IsSet());
    EXPECT_EQ((p.flags & P_HAS_RANGE) != 0, row.HasRange());
    if (row.def.kind == TableValue::kColor) {
        EXPECT_FLOAT_EQ(p.def.p->z, row.def.c.b);
    }
    if (row.HasRange() && row.type == TYPE_INT) {
        EXPECT_EQ(p.range_high.i, row.hi.i);
    }
    ASSERT_EQ(p.ctrl_count > 0, row.control != kNoControl);
    if (row.control != kNoControl) {
        EXPECT_EQ(static_cast<int>(p.ctrl_type), row.control);
        EXPECT_EQ(p.mapID, row.map);
        EXPECT_EQ(p.ctrl_IDs[0], row.ctrlIds[0]);
    }
    if (row.comboItems) {
        ASSERT_NE(p.mStringItems, nullptr);
        EXPECT_EQ(p.mStringItems->Count(), static_cast<int>(row.comboItems().size()));
    }
    EXPECT_EQ(p.sub_texno, row.subTexNo);
    EXPECT_EQ(p.ref_no, row.ownerRefNo);
}

TEST(BlockDescs, EveryRowArrivesInItsDescriptor) {
    for (const ClassBlocks& cb : kClassBlocks) {
        ClassDesc2& cd = QuarelClassDescOf(cb.cls);
        for (int i = 0; i < cd.NumParamBlockDescs(); ++i) {
            const BlockDecl& decl = *cb.blocks[static_cast<std::size_t>(i)];
            const ParamBlockDesc2& d = *cd.GetParamBlockDesc(i);
            SCOPED_TRACE(testing::Message() << "block " << decl.id);
            EXPECT_EQ(quarel_host::DeclarationError(d), "");
            EXPECT_EQ(d.map_specs.Count(), static_cast<int>(decl.rollouts.size()));
            ASSERT_EQ(d.Count(), decl.params.size());
            for (std::size_t k = 0; k < decl.params.size(); ++k)
                ExpectRowArrived(decl.params[k], d.GetParamDefByIndex(static_cast<int>(k)));
        }
    }
}

// The legacy relief pair starts at 1 and 0, the normal output's own pair at 5 and 0.
TEST(BlockDescs, TheMapAndTheNormalOutputStartWithTheirOwnReliefDepths) {
    auto map = Make(QuarelClass::Map);
    IParamBlock2* bump = map->GetRef()->GetParamBlockByID(1);
    EXPECT_FLOAT_EQ(bump->GetFloat(BumpParam::normal_depth), 1.f);
    EXPECT_FLOAT_EQ(bump->GetFloat(BumpParam::relief_tex_amount), 0.f);
    auto normal = Make(QuarelClass::NormalMap);
    IParamBlock2* own = normal->GetRef()->GetParamBlockByID(100);
    EXPECT_FLOAT_EQ(own->GetFloat(NormalParam::normal_depth), 5.f);
    EXPECT_FLOAT_EQ(own->GetFloat(NormalParam::relief_tex_amount), 0.f);
}

TEST(BlockDescs, LoadingCreationLeavesReliefBlocksToTheSceneFile) {
    // The main map makes its blocks either way; the file replaces them.
    EXPECT_NE(Make(QuarelClass::Map, true)->GetRef()->GetParamBlockByID(0), nullptr);
    for (QuarelClass c :
         {QuarelClass::NormalMap, QuarelClass::BumpProcMap, QuarelClass::NormalCarrierMtl}) {
        auto holder = Make(c, true);
        EXPECT_EQ(holder->GetRef()->NumParamBlocks(), 0) << static_cast<int>(c);
    }
}

class ReliefSlotsTest : public QuarelTest::LogDirTest {};

// A slot that holds a block, a parent or a texture refuses a target of another kind with one
// log line and keeps what it had, so the host still counts the old target there.
// The host releases the earlier target and counts the refused one, so a refusal empties the
// slot: keeping the earlier pointer would leave it dangling once nothing else holds it.
TEST_F(ReliefSlotsTest, ForeignTargetsAreRefusedWithOneLineAndEmptyTheSlot) {
    struct Case {
        QuarelClass cls;
        int slot;
        QuarelClass keep;     // a fitting target set first (ignored for block slots)
        QuarelClass foreign;  // a target of the wrong kind
        const char* line;
    };
    const Case cases[] = {
        {QuarelClass::NormalMap, 0, QuarelClass::Map, QuarelClass::BumpMap,
         "QuarelNormalMap::SetReference(0): rejecting non-pblock target"},
        {QuarelClass::BumpProcMap, 0, QuarelClass::Map, QuarelClass::BumpMap,
         "QuarelBumpProcMap::SetReference(0): rejecting non-pblock target"},
        {QuarelClass::BumpProcMap, 1, QuarelClass::NormalMap, QuarelClass::NormalCarrierMtl,
         "QuarelBumpProcMap::SetReference(1): rejecting non-Texmap target"},
        {QuarelClass::BumpMap, 0, QuarelClass::Map, QuarelClass::NormalMap,
         "QuarelBumpMap::SetReference rejecting foreign parent class"},
        {QuarelClass::NormalCarrierMtl, 0, QuarelClass::Map, QuarelClass::NormalMap,
         "QuarelNormalCarrierMtl::SetReference rejecting foreign parent class"},
        {QuarelClass::NormalCarrierMtl, 2, QuarelClass::Map, QuarelClass::NormalMap,
         "QuarelNormalCarrierMtl::SetReference(2): rejecting non-pblock target"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        auto owner = Make(c.cls);
        auto keep = Make(c.keep);
        auto foreign = Make(c.foreign);
        auto* maker = static_cast<ReferenceMaker*>(owner->GetRef());
        if (maker->GetReference(c.slot) == nullptr) {
            ASSERT_EQ(maker->ReplaceReference(c.slot, keep->GetRef()), REF_SUCCEED);
        }
        RefTargetHandle before = maker->GetReference(c.slot);
        ASSERT_NE(before, nullptr);

        DiagLogOpen();
        EXPECT_EQ(maker->ReplaceReference(c.slot, foreign->GetRef()), REF_SUCCEED);
        DiagLogClose();
        EXPECT_EQ(maker->GetReference(c.slot), nullptr);
        EXPECT_EQ(maker->HostCountedReference(c.slot), foreign->GetRef());
        const auto lines = LogLines();
        ASSERT_EQ(lines.size(), 3u) << LogText();
        EXPECT_EQ(QuarelTest::LineMessage(lines[1]), c.line);
    }
}

}  // namespace
}  // namespace QuarelNS
