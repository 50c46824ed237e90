// Rendering through the loaded module: pictures that do not depend on the thread count, the
// cells output against the pattern engine, and each preset of presets/ against its golden image.
//
// The golden images have a written tolerance: every channel within 2 of the golden value, and at
// most 0.5 % of the pixels beyond that (pixels on a brick edge may flip between compilers).
// To regenerate them after an intended change:
//   QUAREL_UPDATE_GOLDEN=1 build/dev/tests/preview/preview_tests --gtest_filter='Golden*'
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>

#include "pattern/catalogue.h"
#include "pattern/evaluate.h"
#include "pattern/swatch_colour.h"
#include "preview/render/render.h"
#include "preview/setup/map_setup.h"
#include "preview_support.h"
#include "stdmat.h"

namespace QuarelPreview {
namespace {

using QuarelPreviewTest::MapFromPreset;
using QuarelPreviewTest::MapFromPresetFile;
using QuarelPreviewTest::SourceDir;
using QuarelPreviewTest::Table;

TEST(Render, BytesDoNotDependOnTheThreadCount) {
    auto slot = MapFromPreset(R"({"pattern": 2, "random_shift": 0.3, "color_variance": 0.5,
                            "master_angle": 20, "random_second_color_on": true})");
    // A turned UV generator makes every sample solve its own context; without one, columns and
    // rows are solved ahead.
    UVGen* gen = slot->Get()->GetTheUVGen();
    for (int turn = 0; turn < (gen && gen->IsStdUVGen() ? 2 : 1); ++turn) {
        if (turn == 1) static_cast<StdUVGen*>(gen)->SetWAng(0.4f, 0);
        for (Projection projection : {Projection::Plane, Projection::Box}) {
            RenderRequest r;
            r.projection = projection;
            r.size = 80;  // several tiles, a partial one at the edges
            r.repeat = 3;
            r.samples = 3;
            r.threads = 1;
            const Image one = Render(r, slot->Get());
            r.threads = 5;
            const Image many = Render(r, slot->Get());
            EXPECT_EQ(one.rgb, many.rgb) << ProjectionName(projection);
            EXPECT_EQ(one.height, 80);
            EXPECT_EQ(one.width, projection == Projection::Box ? 240 : 80);
        }
    }
}

TEST(Render, CellsAreTheSwatchColoursOfThePatternEngine) {
    auto slot = MapFromPreset(R"({"pattern": "Herringbone", "nx": 3, "seed": 5})");
    RenderRequest r;
    r.output = Output::Cells;
    r.size = 32;
    r.repeat = 2;
    r.cells = CellsSettings(slot->Get(), Table());
    EXPECT_EQ(r.cells.pattern.pattern, 5);
    EXPECT_EQ(r.cells.pattern.nx, 3);
    EXPECT_EQ(r.cells.pattern.seed, 5u);
    const Image img = Render(r, slot->Get());
    for (int y = 0; y < 32; y += 5) {
        for (int x = 0; x < 32; x += 3) {
            QuarelNS::BrickCell c;
            QuarelNS::EvaluatePattern(r.cells.pattern, (static_cast<float>(x) + 0.5f) / 16.f,
                                      2.f - (static_cast<float>(y) + 0.5f) / 16.f, c);
            EXPECT_EQ(img.Get(x, y), QuarelNS::SwatchCellColour(c)) << x << "," << y;
        }
    }
}

// The presets are true to their names, measured on the pattern engine with the joints left out:
// the pavers are regular hexagons, herringbone planks are of one size, the wall a common brick's
// proportions (about 3.3 : 1 with its joint).
TEST(Presets, ShapesAreTrueToTheirNames) {
    struct Case {
        const char* preset;
        float lo, hi;  // the longer side over the shorter, of every brick
    };
    const Case cases[] = {
        {"hexagon-pavers", 1.1547f * 0.99f, 1.1547f * 1.01f},
        {"herringbone-parquet", 2.999f, 3.001f},
        {"brick-wall", 3.1f, 3.5f},
    };
    for (const Case& c : cases) {
        std::ifstream in(SourceDir() + "/presets/" + c.preset + ".json");
        const nlohmann::json preset = nlohmann::json::parse(in, nullptr, true, true);
        QuarelNS::PatternSettings ps;
        for (const QuarelNS::PatternInfo& p : QuarelNS::kPatternCatalogue)
            if (p.name == preset.at("pattern").get<std::string>()) ps.pattern = p.id;
        ps.nx = preset.at("nx").get<int>();
        ps.ny = preset.at("ny").get<int>();
        ps.gap_u = ps.gap_v = 0.f;
        std::set<std::pair<int, int>> sizes;  // in thousandths of the tile
        float lo = 1e9f, hi = 0.f;
        for (int y = 0; y < 97; ++y)
            for (int x = 0; x < 97; ++x) {
                QuarelNS::BrickCell cell;
                QuarelNS::EvaluatePattern(ps, (x + 0.5f) / 97.f, (y + 0.5f) / 97.f, cell);
                const float longer = std::max(cell.sizeU, cell.sizeV);
                const float shorter = std::min(cell.sizeU, cell.sizeV);
                lo = std::min(lo, longer / shorter);
                hi = std::max(hi, longer / shorter);
                sizes.emplace(std::lround(longer * 1000.f), std::lround(shorter * 1000.f));
            }
        EXPECT_GE(lo, c.lo) << c.preset;
        EXPECT_LE(hi, c.hi) << c.preset;
        EXPECT_EQ(sizes.size(), 1u) << c.preset << ": bricks of more than one size";
    }
}

// Each preset at a small size against golden/<preset>.png: a preset that stops looking like its
// name shows here.
TEST(Golden, EveryPresetMatchesItsGoldenImage) {
    const bool update = std::getenv("QUAREL_UPDATE_GOLDEN") != nullptr;
    int presets = 0;
    for (const auto& entry : std::filesystem::directory_iterator(SourceDir() + "/presets")) {
        if (entry.path().extension() != ".json") continue;
        ++presets;
        const std::string name = entry.path().stem().string();
        SCOPED_TRACE(name);
        std::string error;
        auto slot = MapFromPresetFile(entry.path().string(), error);
        ASSERT_TRUE(slot) << error;
        RenderRequest r;
        r.size = 96;
        r.repeat = 2;
        r.samples = 4;
        const Image img = Render(r, slot->Get());
        const std::string golden = SourceDir() + "/tests/preview/golden/" + name + ".png";
        if (update) {
            ASSERT_TRUE(WritePng(img, golden, error)) << error;
            continue;
        }
        Image want;
        ASSERT_TRUE(QuarelPreviewTest::ReadPng(golden, want)) << golden;
        ASSERT_EQ(want.width, img.width);
        ASSERT_EQ(want.height, img.height);
        const std::size_t beyond = QuarelPreviewTest::PixelsBeyond(img, want, 2);
        EXPECT_LE(beyond, img.rgb.size() / 3 / 200) << beyond << " pixels differ by more than 2";
    }
    EXPECT_GE(presets, 5);
    if (update) GTEST_SKIP() << "wrote the golden images";
}

}  // namespace
}  // namespace QuarelPreview
