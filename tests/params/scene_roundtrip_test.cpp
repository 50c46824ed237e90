// Every stored parameter of every block comes back from a scene file of the host under its id,
// and the blocks come back into their owners' slots.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "base/class_lookup.h"
#include "host/class_directory.h"
#include "host/scene_file.h"
#include "params/param_lookup.h"

namespace QuarelNS {
namespace {

struct Stored {
    int i = 0;
    float f = 0.f;
    Color c;
};

// A value of p's type that differs from its default and from every other parameter's.
Stored DistinctValue(const ParamDecl& p) {
    Stored s;
    const float k = 0.1f + 0.02f * static_cast<float>(p.id);
    if (p.type == TYPE_BOOL) {
        s.i = 1 - p.def.i;
    } else if (p.type == TYPE_INT) {
        s.i = p.def.i == p.hi.i ? p.lo.i : p.hi.i - p.id % 3;
    } else if (p.type == TYPE_RGBA) {
        s.c = Color(k, 1.f - k, 0.5f * k);
    } else {
        s.f = p.lo.f + (p.hi.f - p.lo.f) * k;
    }
    return s;
}

// Stores p's distinct value in pb, or checks that pb holds it.
void StoreOrExpect(IParamBlock2* pb, const ParamDecl& p, bool store) {
    const Stored s = DistinctValue(p);
    switch (p.type) {
        case TYPE_INT:
        case TYPE_BOOL:
            EXPECT_TRUE(!store || pb->SetValue(p.id, 0, s.i));
            EXPECT_EQ(pb->GetInt(p.id), s.i);
            break;
        case TYPE_RGBA:
            EXPECT_TRUE(!store || pb->SetValue(p.id, 0, s.c));
            EXPECT_EQ(pb->GetColor(p.id), s.c);
            break;
        case TYPE_TEXMAP:
            break;  // held by the owner, not the block
        default:
            EXPECT_TRUE(!store || pb->SetValue(p.id, 0, s.f));
            EXPECT_FLOAT_EQ(pb->GetFloat(p.id), s.f);
    }
}

struct Sample {
    QuarelClass cls;
    std::span<const BlockDecl* const> blocks;
};

const Sample kSamples[] = {
    {QuarelClass::Map, kQuarelMapBlocks},
    {QuarelClass::NormalMap, kNormalMapBlocks},
    {QuarelClass::BumpProcMap, kBumpProcMapBlocks},
    {QuarelClass::NormalCarrierMtl, kCarrierBlocks},
};

class SceneRoundTrip : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (int i = 0; i < kQuarelClassCount; ++i)
            RegisterClassDesc(&QuarelClassDescOf(static_cast<QuarelClass>(i)));
    }
    static void TearDownTestSuite() {
        for (int i = 0; i < kQuarelClassCount; ++i)
            UnregisterClassDesc(&QuarelClassDescOf(static_cast<QuarelClass>(i)));
    }
};

TEST_F(SceneRoundTrip, EveryParameterComesBackUnderItsId) {
    std::vector<std::uint8_t> bytes;
    {
        std::vector<std::unique_ptr<SingleRefMaker>> holders;
        std::vector<ReferenceTarget*> roots;
        for (const Sample& s : kSamples) {
            auto* object = static_cast<Animatable*>(QuarelClassDescOf(s.cls).Create(FALSE));
            auto* target = dynamic_cast<ReferenceTarget*>(object);
            ASSERT_NE(target, nullptr);
            holders.push_back(std::make_unique<SingleRefMaker>(target));
            roots.push_back(target);
            for (const BlockDecl* b : s.blocks) {
                IParamBlock2* pb = object->GetParamBlockByID(b->id);
                ASSERT_NE(pb, nullptr);
                for (const ParamDecl& p : b->params) StoreOrExpect(pb, p, true);
            }
        }
        // The carrier's texture travels in its own reference 1.
        auto* carrierBlock = roots[3]->GetParamBlockByID(0);
        ASSERT_TRUE(
            carrierBlock->SetValue(CarrierParam::normal_inner, 0, static_cast<Texmap*>(roots[1])));
        std::string error;
        ASSERT_TRUE(SaveSceneBytes(roots, bytes, &error)) << error;
    }

    LoadedScene scene;
    std::string error;
    ASSERT_TRUE(LoadSceneBytes(bytes.data(), bytes.size(), scene, &error)) << error;
    ASSERT_EQ(scene.roots.size(), std::size(kSamples));
    for (std::size_t r = 0; r < scene.roots.size(); ++r) {
        ReferenceTarget* object = scene.roots[r]->GetRef();
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->ClassID(), ClassIdOf(kSamples[r].cls));
        for (const BlockDecl* b : kSamples[r].blocks) {
            IParamBlock2* pb = object->GetParamBlockByID(b->id);
            ASSERT_NE(pb, nullptr) << "block " << b->id;
            EXPECT_EQ(pb, object->GetReference(b->ownerRefNo));
            for (const ParamDecl& p : b->params) {
                SCOPED_TRACE(testing::Message() << "block " << b->id << " id " << p.id);
                StoreOrExpect(pb, p, false);
            }
        }
    }
    EXPECT_EQ(scene.roots[3]->GetRef()->GetReference(1), scene.roots[1]->GetRef());
}

}  // namespace
}  // namespace QuarelNS
