// Block declarations as the SDK writes them: a sound one is read part by part, and every kind
// of fault is refused with a message that names the block, the parameter and what was wrong.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include <host/param_declarations.h>
#include <host/plugin_module.h>

#include "test_classes.h"

namespace hosttest {
namespace {

using Desc2 = std::unique_ptr<ParamBlockDesc2>;

// A descriptor of no class (nothing registers it), declared with `args` after its fixed part.
template <typename... Args>
Desc2 Declare(USHORT flags, Args... args) {
    return std::make_unique<ParamBlockDesc2>(7, L"blk", 0, nullptr, flags, args...);
}

TEST(ParamDecl, ASoundDeclarationIsReadPartByPart) {
    ParamBlockDesc2* d = Desc().GetParamBlockDescByID(kBlockMain);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(quarel_host::DeclarationError(*d), "");
    EXPECT_EQ(d->version, 2);
    EXPECT_EQ(d->ref_no, 0);
    ASSERT_EQ(d->map_specs.Count(), 2);
    EXPECT_EQ(d->map_specs[1].map_id, 1);
    EXPECT_EQ(d->map_specs[1].dlg_template, 101);
    EXPECT_EQ(d->IndextoID(0), kAmount);  // declaration order, not id order

    const ParamDef& amount = *d->GetParamDefPtr(kAmount);
    EXPECT_EQ(amount.flags & (P_HAS_DEFAULT | P_HAS_RANGE), P_HAS_DEFAULT | P_HAS_RANGE);
    EXPECT_FLOAT_EQ(amount.def.f, 0.5f);
    EXPECT_FLOAT_EQ(amount.range_high.f, 1.f);
    ASSERT_EQ(amount.ctrl_count, 2);
    EXPECT_EQ(amount.ctrl_IDs[1], 1003);
    EXPECT_FLOAT_EQ(amount.scale, 0.01f);

    const ParamDef& tint = *d->GetParamDefPtr(kTint);
    ASSERT_NE(tint.def.p, nullptr);
    EXPECT_FLOAT_EQ(tint.def.p->y, 0.35f);
    EXPECT_EQ(tint.ctrl_count, 0);
    EXPECT_EQ(d->GetParamDefPtr(kSubMap)->sub_texno, 1);
    EXPECT_EQ(d->GetParamDefPtr(kOwnersMap)->ref_no, 4);
    EXPECT_FALSE(d->GetParamDefPtr(kOwnMap)->flags & P_HAS_DEFAULT);
}

TEST(ParamDecl, AddParamAndParamOptionBuildTheSameParameterIncrementally) {
    Desc2 d = Declare(P_AUTO_UI, 300, 1, 0, 0, nullptr, p_end);
    d->AddParam(0, L"mode", TYPE_INT, 0, 9, p_end);
    d->ParamOption(0, p_default, 1, p_end);
    d->ParamOption(0, p_range, 0, 2, p_end);
    d->ParamOption(0, p_ui, TYPE_INT_COMBOBOX, 1200, 0, p_end);
    Tab<int> items;
    for (int sid : {21, 22, 23}) items.Append(1, &sid);
    EXPECT_TRUE(d->ParamOptionContentValues(0, items));
    ASSERT_EQ(quarel_host::DeclarationError(*d), "");
    const ParamDef& p = *d->GetParamDefPtr(0);
    EXPECT_EQ(p.local_name, 9);
    EXPECT_EQ(p.def.i, 1);
    EXPECT_EQ(p.range_high.i, 2);
    EXPECT_EQ(p.ctrl_type, TYPE_INT_COMBOBOX);
    ASSERT_NE(p.mStringItems, nullptr);
    EXPECT_EQ(p.mStringItems->Count(), 3);
    EXPECT_EQ((*p.mStringItems)[2], 23);
}

// Parameters added after the block's own list keep declaration order by index, however many
// there are, and a block made afterwards starts from their defaults.
TEST(ParamDecl, ParametersAddedLaterAreFoundByIndexInDeclarationOrder) {
    Desc2 d = Declare(0, 500, L"first", TYPE_INT, 0, 0, p_default, 7, p_end, p_end);
    constexpr int kAdded = 100;  // more than one storage page of parameters
    for (int k = 0; k < kAdded; ++k) {
        d->AddParam(k, L"later", TYPE_FLOAT, 0, 0, p_end);
        d->ParamOption(k, p_default, 0.25f * static_cast<float>(k), p_end);
    }
    ASSERT_EQ(quarel_host::DeclarationError(*d), "");
    ASSERT_EQ(d->Count(), kAdded + 1);
    EXPECT_EQ(d->GetParamDefByIndex(0).ID, 500);
    for (int i = 1; i <= kAdded; ++i) {
        const ParamDef& p = d->GetParamDefByIndex(i);
        EXPECT_EQ(&p, d->GetParamDefPtr(static_cast<ParamID>(i - 1)));
    }
    IParamBlock2* block = CreateParameterBlock2(d.get(), nullptr);
    SingleRefMaker holder(block);
    EXPECT_EQ(block->GetInt(500), 7);
    EXPECT_FLOAT_EQ(block->GetFloat(kAdded - 1), 0.25f * (kAdded - 1));
}

struct Fault {
    const char* what;
    std::function<Desc2()> declare;
    const char* message;  // a part of the expected message
};

const Fault kFaults[] = {
    {"a parameter without its p_end",
     [] {
         return Declare(0, 0, L"a", TYPE_FLOAT, 0, 0, p_default, 0.5f,  //
                        1, L"b", TYPE_INT, 0, 0, p_end, p_end);
     },
     "parameter 0 'a': the next tag or p_end must be a tag, found an int 1 (a missing p_end?)"},
    {"no closing p_end", [] { return Declare(0, 0, L"a", TYPE_FLOAT, 0, 0, p_end); },
     "the declaration ends where a parameter id or the closing p_end was due"},
    {"an int default of a float",
     [] { return Declare(0, 0, L"a", TYPE_FLOAT, 0, 0, p_default, 1, p_end, p_end); },
     "p_default's value must be a float, found an int"},
    {"a float range of an int",
     [] { return Declare(0, 0, L"n", TYPE_INT, 0, 0, p_range, 0.f, 4.f, p_end, p_end); },
     "p_range's low value must be an int, found a float"},
    {"a float default of a colour",
     [] { return Declare(0, 0, L"c", TYPE_RGBA, 0, 0, p_default, 0.5f, p_end, p_end); },
     "must be a Point3 or Color, found a float"},
    {"a tag the stand-in does not read",
     [] { return Declare(0, 0, L"a", TYPE_FLOAT, 0, 0, p_validator, nullptr, p_end, p_end); },
     "is not one the stand-in reads"},
    {"p_ui in a block without rollouts",
     [] {
         return Declare(0, 0, L"on", TYPE_BOOL, 0, 0, p_ui, TYPE_SINGLECHEKBOX, 5, p_end, p_end);
     },
     "p_ui in a block without P_AUTO_UI"},
    {"a control that does not suit the type",
     [] {
         return Declare(P_AUTO_UI, 300, 1, 0, 0, nullptr,  //
                        0, L"a", TYPE_FLOAT, 0, 0, p_ui, TYPE_COLORSWATCH, 5, p_end, p_end);
     },
     "TYPE_COLORSWATCH does not suit this parameter type"},
    {"p_ui naming a map without a rollout",
     [] {
         return Declare(P_AUTO_UI | P_MULTIMAP, 1, 0, 300, 1, 0, 0, nullptr,  //
                        0, L"on", TYPE_BOOL, 0, 0, p_ui, 3, TYPE_SINGLECHEKBOX, 5, p_end, p_end);
     },
     "p_ui names map 3, which has no rollout"},
    {"a rollout without its procedure", [] { return Declare(P_AUTO_UI, 300, 1, 0, 0, p_end); },
     "a rollout's dialog procedure must be a pointer, found a tag"},
    {"a duplicate id",
     [] {
         return Declare(0, 0, L"a", TYPE_FLOAT, 0, 0, p_end, 0, L"b", TYPE_FLOAT, 0, 0, p_end,
                        p_end);
     },
     "parameter id 0 is declared twice"},
    {"arguments after the closing p_end",
     [] { return Declare(0, 0, L"a", TYPE_FLOAT, 0, 0, p_end, p_end, 4); },
     "arguments follow the closing p_end"},
    {"p_subtexno without P_SUBTEX",
     [] { return Declare(0, 0, L"m", TYPE_TEXMAP, 0, 0, p_subtexno, 1, p_end, p_end); },
     "p_subtexno without P_SUBTEX"},
    {"ParamOption without its p_end",
     [] {
         Desc2 d = Declare(0, p_end);
         d->AddParam(0, L"a", TYPE_FLOAT, 0, 0, p_end);
         d->ParamOption(0, p_default, 0.5f);
         return d;
     },
     "the declaration ends where the tag after ParamOption's values was due"},
    {"ParamOption of a parameter never declared",
     [] {
         Desc2 d = Declare(0, p_end);
         d->ParamOption(4, p_default, 0.5f, p_end);
         return d;
     },
     "ParamOption for parameter 4, never declared"},
    {"combo items of a parameter without a combo box",
     [] {
         Desc2 d = Declare(0, 0, L"n", TYPE_INT, 0, 0, p_end, p_end);
         Tab<int> items;
         d->ParamOptionContentValues(0, items);
         return d;
     },
     "ParamOptionContentValues for parameter 0, which has no combo box"},
};

TEST(ParamDecl, EachFaultIsRefusedWithItsPlaceAndReason) {
    for (const Fault& f : kFaults) {
        SCOPED_TRACE(f.what);
        testing::internal::CaptureStderr();
        Desc2 d = f.declare();
        const std::string printed = testing::internal::GetCapturedStderr();
        const std::string error = quarel_host::DeclarationError(*d);
        EXPECT_NE(error.find("block 7 'blk': "), std::string::npos) << error;
        EXPECT_NE(error.find(f.message), std::string::npos) << error;
        EXPECT_NE(printed.find(error), std::string::npos) << "not reported on stderr";
    }
}

TEST(ParamDecl, TheFirstFaultStandsAndLaterCallsChangeNothing) {
    testing::internal::CaptureStderr();
    Desc2 d = Declare(0, 0, L"a", TYPE_FLOAT, 0, 0, p_default, 1, p_end, p_end);
    d->AddParam(1, L"b", TYPE_FLOAT, 0, 0, p_end);
    d->ParamOption(9, p_default, 0.5f, p_end);
    testing::internal::GetCapturedStderr();
    EXPECT_NE(quarel_host::DeclarationError(*d).find("p_default's value"), std::string::npos);
    EXPECT_EQ(d->IDtoIndex(1), -1);
}

TEST(ParamDecl, AModuleWithAFaultyDeclarationIsRefusedAtLoad) {
    std::string error;
    testing::internal::CaptureStderr();
    auto m = PluginModule::Load(QUAREL_TEST_MODULE_BAD_DECLARATION, &error);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(m, nullptr);
    EXPECT_NE(error.find("refused: block 0 'params': parameter 0 'color': p_default's value"),
              std::string::npos)
        << error;
}

}  // namespace
}  // namespace hosttest
