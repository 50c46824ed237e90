// One small golden cell map per pattern, with a second of other counts and joints: hashes of
// 64 x 64 maps of pixel centres. Regenerate a hash only for an intended change of results.
#include <gtest/gtest.h>

#include "support.h"

namespace QuarelNS {
namespace {

using testing::Settings;

TEST(Golden, CellMapsOfEveryPattern) {
    const testing::GoldenCellMap goldens[] = {
        // Running bonds and Common Flemish.
        {Settings(0, 4, 8, 0.05f, 0.05f), 0xECECA25E230DB623ull},
        {Settings(0, 3, 5, 0.2f, 0.1f, 0.35f, 4321), 0x82ECC9B33E448573ull},
        {Settings(1, 4, 8, 0.05f, 0.05f), 0xBA7CFCD06EFE29B3ull},
        {Settings(1, 3, 5, 0.2f, 0.1f, 0.35f, 4321), 0x8F6164643E93255Full},
        {Settings(2, 4, 8, 0.05f, 0.05f), 0xDCE5FE416C1730B3ull},
        {Settings(2, 3, 5, 0.2f, 0.1f, 0.35f, 4321), 0xA75F22C35F59A483ull},
        {Settings(4, 4, 8, 0.05f, 0.05f), 0x35338744D6371843ull},
        {Settings(4, 3, 5, 0.2f, 0.1f, 0.35f, 4321), 0x178E4EEF277CF242ull},
        // Herringbone, T-Shape, Modular Ashlar, Basket Weave.
        {Settings(5, 4, 4, 0.05f, 0.05f), 835659247867589179ull},
        {Settings(5, 5, 2, 0.1f, 0.02f), 15619089058744953511ull},
        {Settings(6, 4, 8, 0.05f, 0.05f), 12807916177227553251ull},
        {Settings(6, 1, 3, 0.2f, 0.f), 14144360640242401368ull},
        {Settings(8, 4, 8, 0.05f, 0.05f), 8906245490393664867ull},
        {Settings(8, 2, 2, 0.3f, 0.1f), 16669258945565131307ull},
        {Settings(9, 4, 8, 0.05f, 0.05f), 2664035480315958723ull},
        {Settings(9, 3, 2, 0.f, 0.2f), 8470626942606784119ull},
        // Diagonal, Triangles, Chevron, Hexagons, the waves and Triangles 2.
        {Settings(7, 4, 8, 0.05f, 0.05f), 12288063192475774627ull},
        {Settings(7, 3, 2, 0.2f, 0.f), 16706076302663972044ull},
        {Settings(10, 4, 8, 0.05f, 0.05f), 2157900915971091475ull},
        {Settings(10, 3, 2, 0.f, 0.3f), 15241100513669007734ull},
        {Settings(11, 4, 8, 0.05f, 0.05f), 14982412611158305635ull},
        {Settings(11, 2, 3, 0.3f, 0.1f), 11760518834487499703ull},
        {Settings(12, 4, 8, 0.05f, 0.05f), 9046929109680213671ull},
        {Settings(12, 1, 3, 0.2f, 0.4f), 14480844490469485064ull},
        {Settings(21, 4, 8, 0.05f, 0.05f), 14042860664719835747ull},
        {Settings(21, 1, 2, 0.2f, 0.1f), 4647576826245140279ull},
        {Settings(22, 4, 8, 0.05f, 0.05f), 4250451320324825171ull},
        {Settings(22, 5, 3, 0.f, 0.2f), 7760118792493528403ull},
        {Settings(23, 4, 8, 0.05f, 0.05f), 3402593125440635587ull},
        {Settings(23, 2, 5, 0.3f, 0.f), 12514233174845693887ull},
        // Pattern 1 to Pattern 7.
        {Settings(13, 2, 2, 0.05f, 0.05f), 0xABADB17ED097DFFBull},
        {Settings(13, 3, 1, 0.12f, 0.03f), 0xC6164F4A1634E553ull},
        {Settings(14, 2, 2, 0.05f, 0.05f), 0xA54A4F240529C9D3ull},
        {Settings(14, 3, 1, 0.12f, 0.03f), 0x186CC8C45A0C5487ull},
        {Settings(15, 2, 2, 0.05f, 0.05f), 0x4E10EE582DCA8BFBull},
        {Settings(15, 3, 1, 0.12f, 0.03f), 0x7650A5DBE69142B7ull},
        {Settings(16, 2, 2, 0.05f, 0.05f), 0xB26DAA887A815F53ull},
        {Settings(16, 3, 1, 0.12f, 0.03f), 0xFE6F7600B3C166D7ull},
        {Settings(17, 2, 2, 0.05f, 0.05f), 0x61D1F78A4ADD7333ull},
        {Settings(17, 3, 1, 0.12f, 0.03f), 0xD0DF49CE553FFF63ull},
        {Settings(18, 2, 2, 0.05f, 0.05f), 0xD59C324B11921023ull},
        {Settings(18, 3, 1, 0.12f, 0.03f), 0xE4B34C7CDBC4D3CFull},
        {Settings(19, 2, 2, 0.05f, 0.05f), 0xEDD9C2501EAE302Bull},
        {Settings(19, 3, 1, 0.12f, 0.03f), 0xDDC4C437017BF457ull},
        // I-Paver and Maple Leaf.
        {Settings(20, 2, 2, 0.05f, 0.05f), 6084134283355117939ull},
        {Settings(20, 3, 1, 0.1f, 0.f), 11721375034980976011ull},
        {Settings(24, 2, 2, 0.05f, 0.05f), 10359267897703406991ull},
        {Settings(24, 3, 4, 0.02f, 0.f), 456990868471534119ull},
        // Paving Tile 1 and 2, Parquet Tile 1, 2 and 3.
        {Settings(25, 1, 1, 0.05f, 0.05f), 15087658783962023455ull},
        {Settings(25, 3, 2, 0.1f, 0.02f), 5991515175726500455ull},
        {Settings(26, 1, 1, 0.05f, 0.05f), 15296885466978982771ull},
        {Settings(26, 9, 14, 0.1f, 0.02f), 988663756747870435ull},
        {Settings(27, 1, 1, 0.05f, 0.05f), 17103259304221963127ull},
        {Settings(27, 3, 2, 0.1f, 0.02f), 15640404147828678119ull},
        {Settings(28, 1, 1, 0.05f, 0.05f), 7353967194184951334ull},
        {Settings(28, 3, 2, 0.1f, 0.02f), 1395218863366036703ull},
        {Settings(29, 1, 1, 0.05f, 0.05f), 10447572043214564495ull},
        {Settings(29, 3, 2, 0.1f, 0.02f), 15300965016628567731ull},
    };
    for (const testing::GoldenCellMap& g : goldens)
        EXPECT_EQ(testing::CellMapHash(g.ps, 64), g.hash) << g.ps;
}

}  // namespace
}  // namespace QuarelNS
