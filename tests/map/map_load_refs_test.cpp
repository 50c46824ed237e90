// What a map's constructor makes while a scene loads, and what copying makes, under the host's
// reference rules: the file's references replace the constructor's blocks and outputs through
// SetReference, and each replaced object goes once nothing refers to it; a map saved or copied
// without outputs gets new ones of its own.
#include <gtest/gtest.h>

#include <string>

#include "map_support.h"
#include "params/main_params.h"
#include "params/relief_params.h"

namespace QuarelTest {
namespace {

class MapLoadRefsTest : public MapTest, public ::testing::WithParamInterface<bool> {
protected:
    bool WithOutputs() const { return GetParam(); }

    // A map with a seed and, if kept, an output whose depth differs from its default.
    QuarelMap* Source() {
        QuarelMap* map = NewMap();
        EXPECT_TRUE(map->GetParamBlock(0)->SetValue(MainParam::seed, 0, 4321));
        if (WithOutputs()) {
            EXPECT_TRUE(
                map->NormalOut()->GetParamBlock(0)->SetValue(NormalParam::normal_depth, 0, 3.f));
        } else {
            map->ReplaceReference(QuarelMap::kRefNormalOutMap, nullptr);
            map->ReplaceReference(QuarelMap::kRefBumpOutMap, nullptr);
        }
        return map;
    }
    int Made(const char* cls) const { return CountNew(std::string(cls) + "::ctor [this=", true); }
    int Gone(const char* cls) const { return CountNew(std::string(cls) + "::dtor [this=", true); }

    // The map's outputs are its own, and held only by it.
    static void ExpectOwnOutputs(QuarelMap* map) {
        ASSERT_NE(map->NormalOut(), nullptr);
        ASSERT_NE(map->BumpOut(), nullptr);
        EXPECT_EQ(map->NormalOut()->Parent(), map);
        EXPECT_EQ(map->BumpOut()->Parent(), map);
        EXPECT_EQ(map->NormalOut()->DependentCount(), 1);
        EXPECT_EQ(map->BumpOut()->DependentCount(), 1);
    }
};

TEST_P(MapLoadRefsTest, LoadingReplacesWhatTheConstructorMadeAndDeletesIt) {
    QuarelMap* map = Source();
    Mark();
    LoadedScene scene;
    RoundTrip({map}, scene);
    auto* loaded = dynamic_cast<QuarelMap*>(scene.roots[0]->GetRef());
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetParamBlock(0)->GetInt(MainParam::seed), 4321);
    for (int i = 0; i < 4; ++i) {
        IParamBlock2* pb = loaded->GetParamBlock(i);
        ASSERT_NE(pb, nullptr) << i;
        EXPECT_EQ(pb->GetOwner(), loaded) << i;
    }
    ExpectOwnOutputs(loaded);
    if (WithOutputs()) {
        EXPECT_FLOAT_EQ(loaded->NormalOut()->GetParamBlock(0)->GetFloat(NormalParam::normal_depth),
                        3.f);
    }
    // The loaded map's constructor made one output of each kind; the file (or, without
    // outputs in the file, the repair) made the one that stays. The constructor's went.
    for (const char* cls : {"QuarelNormalMap", "QuarelBumpProcMap"}) {
        EXPECT_EQ(Made(cls), 2) << cls;
        EXPECT_EQ(Gone(cls), 1) << cls;
    }
}

TEST_P(MapLoadRefsTest, ACopyHasOutputsOfItsOwnAndTheSourceKeepsWhatItHad) {
    QuarelMap* map = Source();
    auto* copy = Keep(dynamic_cast<QuarelMap*>(CloneRefHierarchy(map)));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetParamBlock(0)->GetInt(MainParam::seed), 4321);
    ExpectOwnOutputs(copy);
    EXPECT_EQ(map->NormalOut() != nullptr, WithOutputs());
    if (WithOutputs()) {
        EXPECT_NE(copy->NormalOut(), map->NormalOut());
        EXPECT_FLOAT_EQ(copy->NormalOut()->GetParamBlock(0)->GetFloat(NormalParam::normal_depth),
                        3.f);
    }
}

INSTANTIATE_TEST_SUITE_P(Outputs, MapLoadRefsTest, ::testing::Bool(),
                         [](const auto& p) { return p.param ? "Kept" : "Removed"; });

}  // namespace
}  // namespace QuarelTest
