// The map evaluated end to end: made through its descriptor, values set in its blocks, Update,
// then colours at points. (Many render threads at once are the relief tests'.)
#include <gtest/gtest.h>

#include "host/builtin_classes.h"
#include "host/scripted_shade_context.h"
#include "map_support.h"
#include "params/main_params.h"

namespace QuarelTest {
namespace {

class MapEvalTest : public MapTest {
protected:
    AColor At(QuarelMap* map, float u, float v) {
        sc.SetUVW(Point3(u, v, 0.f), Point3(0.001f, 0.001f, 0.f));
        return map->EvalColor(sc);
    }
    ScriptedShadeContext sc;
};

// With the default pattern, (0.3, 0.06) lies on a brick and (0.3, 0) in a joint.
TEST_F(MapEvalTest, ColoursFollowTheBlocksAfterEachUpdateAndOnlyThen) {
    QuarelMap* map = NewPlainMap();
    IParamBlock2* pb = map->GetParamBlock(0);
    const Color brick(0.9f, 0.1f, 0.1f), grout(0.1f, 0.8f, 0.2f);
    ASSERT_TRUE(pb->SetValue(MainParam::brick_color, 0, brick));
    ASSERT_TRUE(pb->SetValue(MainParam::grout_color, 0, grout));
    MakeValid(map);
    EXPECT_EQ(At(map, 0.3f, 0.06f), AColor(brick, 1.f));
    EXPECT_EQ(At(map, 0.3f, 0.f), AColor(grout, 1.f));
    EXPECT_FLOAT_EQ(map->EvalMono(sc), (grout.r + grout.g + grout.b) / 3.f);

    // Evaluation reads the last rebuild: a change shows only after the next Update.
    ASSERT_TRUE(pb->SetValue(MainParam::brick_color, 0, Color(0.f, 0.f, 1.f)));
    EXPECT_EQ(At(map, 0.3f, 0.06f), AColor(brick, 1.f));
    MakeValid(map);
    EXPECT_EQ(At(map, 0.3f, 0.06f), AColor(0.f, 0.f, 1.f, 1.f));

    // A nested map shows on the bricks while its switch is on.
    auto* checker = new CheckerMap;
    checker->color1 = checker->color2 = Color(1.f, 1.f, 0.f);
    map->SetSubTexmap(0, checker);
    MakeValid(map);
    EXPECT_EQ(At(map, 0.3f, 0.06f), AColor(1.f, 1.f, 0.f, 1.f));
    EXPECT_EQ(At(map, 0.3f, 0.f), AColor(grout, 1.f));
    ASSERT_TRUE(pb->SetValue(MainParam::brick_map_on, 0, 0));
    MakeValid(map);
    EXPECT_EQ(At(map, 0.3f, 0.06f), AColor(0.f, 0.f, 1.f, 1.f));
}

}  // namespace
}  // namespace QuarelTest
