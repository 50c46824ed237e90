// The baked normal and id maps: normals derived from the height tile show every joint of a
// pattern as a slope on both sides of its height step, stay exactly flat away from steps, wrap
// as the tile does and do not depend on the thread count; the id map gives each brick of the
// map one colour of its own and the grout black.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <tuple>

#include "pattern/tile_seams.h"
#include "preview/cli/options.h"
#include "preview/render/bake.h"
#include "preview/render/brick_ids.h"
#include "preview/render/height_normals.h"
#include "preview/render/relief_view.h"
#include "preview/render/render.h"
#include "preview/setup/map_setup.h"
#include "preview/setup/preset.h"
#include "preview/setup/relief_outputs.h"
#include "preview_support.h"

namespace QuarelPreview {
namespace {

using QuarelPreviewTest::Table;

struct Baked {
    std::unique_ptr<MapSlot> slot;
    BakedTiles tiles;
};

// A map with these values, updated as the tool updates it.
std::unique_ptr<MapSlot> MapOf(const std::vector<Assignment>& values) {
    std::string error;
    std::unique_ptr<MapSlot> slot = QuarelPreviewTest::Host().NewMap(error);
    EXPECT_TRUE(slot && ApplyAssignments(slot->Get(), values, error)) << error;
    Interval valid = FOREVER;
    if (slot) slot->Get()->Update(0, valid);
    return slot;
}

// A map, its relief outputs updated as the tool does, baked at `size`.
Baked BakeOf(std::unique_ptr<MapSlot> slot, int size, int threads = 0, int width = 0,
             int samples = 4) {
    Baked b;
    b.slot = std::move(slot);
    UpdateForRender(b.slot->Get());
    BakeRequest r;
    r.size = size;
    r.width = width;
    r.samples = samples;
    r.threads = threads;
    r.ids = BrickIdSettingsOf(b.slot->Get(), Table());
    r.mapBevel = MapBevels(b.slot->Get(), Table());  // as the tool's bake asks
    b.tiles = Bake(r, b.slot->Get());
    return b;
}
Baked BakeOf(const std::string& preset, int size, int threads = 0) {
    return BakeOf(QuarelPreviewTest::MapFromPreset(preset), size, threads);
}

int At(const Image& im, int x, int y, int c = 0) {
    const int w = im.width, h = im.height;
    x = ((x % w) + w) % w;
    y = ((y % h) + h) % h;
    const std::size_t i = (static_cast<std::size_t>(y) * w + x) * 3 + c;
    return im.IsDeep() ? im.rgb16[i] : im.rgb[i];
}

bool Flat(const Image& normal, int x, int y) {
    return At(normal, x, y, 0) == 32768 && At(normal, x, y, 1) == 32768 &&
           At(normal, x, y, 2) == 65535;
}

const char* const kPatterns[] = {
    R"({"pattern": "1/2 Running", "nx": 4, "ny": 8, "gap_u": 0.04, "gap_v": 0.07,
        "random_shift": 0.08, "seed": 42})",
    R"({"pattern": "Hexagons", "nx": 6, "ny": 6, "gap_u": 0.06, "gap_v": 0.06})",
    R"({"pattern": "Maple Leaf"})",
};

TEST(BakedNormals, EveryHeightStepSlopesAndTheRestIsFlat) {
    constexpr int kSize = 96, kBevel = 2;
    for (const char* preset : kPatterns) {
        SCOPED_TRACE(preset);
        const Baked b = BakeOf(preset, kSize);
        const Image& h = b.tiles.height;
        const Image& n = b.tiles.normal;
        ASSERT_TRUE(n.IsDeep());
        int steps[2] = {0, 0}, flat = 0;
        for (int y = 0; y < kSize; ++y) {
            for (int x = 0; x < kSize; ++x) {
                // A step to the right or downwards: some pixel on each side within the bevel
                // leans.
                for (int axis = 0; axis < 2; ++axis) {
                    const int dx = axis == 0, dy = axis == 1;
                    if (At(h, x, y) == At(h, x + dx, y + dy)) continue;
                    ++steps[axis];
                    bool before = false, after = false;
                    for (int k = 0; k <= kBevel; ++k) {
                        before |= !Flat(n, x - k * dx, y - k * dy);
                        after |= !Flat(n, x + (k + 1) * dx, y + (k + 1) * dy);
                    }
                    EXPECT_TRUE(before && after) << "step at " << x << "," << y << " axis " << axis;
                }
                // No step within reach: exactly flat. (The converse does not hold: at the
                // middle of a narrow joint the slopes of its two sides cancel.)
                bool level = true;
                for (int j = -kBevel - 1; j <= kBevel + 1 && level; ++j)
                    for (int i = -kBevel - 1; i <= kBevel + 1 && level; ++i)
                        level = At(h, x + i, y + j) == At(h, x, y);
                if (level) {
                    EXPECT_TRUE(Flat(n, x, y)) << x << "," << y;
                }
                flat += level;
            }
        }
        EXPECT_GT(steps[0], kSize);  // joints across and along: both directions are tested
        EXPECT_GT(steps[1], kSize);
        EXPECT_GT(flat, kSize * kSize / 10);
    }
}

// The tile continues into itself: the normals of the tile are the middle of the normals of
// nine tiles laid side by side, so its edges continue into the opposite ones without a seam.
TEST(BakedNormals, TheTileWrapsWithoutASeam) {
    const Baked b = BakeOf(kPatterns[2], 48);
    const Image& tile = b.tiles.height;
    Image nine = Image::Deep(3 * tile.width, 3 * tile.height);
    for (int y = 0; y < nine.height; ++y)
        for (int x = 0; x < nine.width; ++x)
            for (int c = 0; c < 3; ++c)
                nine.rgb16[(static_cast<std::size_t>(y) * nine.width + x) * 3 + c] =
                    static_cast<std::uint16_t>(At(tile, x, y, c));
    for (int bevel : {0, 2, 5}) {
        HeightNormalSettings s;
        s.bevel = bevel;
        const Image one = NormalsFromHeight(tile, s);
        const Image all = NormalsFromHeight(nine, s);
        int differ = 0;
        for (int y = 0; y < tile.height; ++y)
            for (int x = 0; x < tile.width; ++x)
                for (int c = 0; c < 3; ++c)
                    differ += At(one, x, y, c) != At(all, x + tile.width, y + tile.height, c);
        EXPECT_EQ(differ, 0) << "bevel " << bevel;
    }
    EXPECT_EQ(b.tiles.normal.rgb16, NormalsFromHeight(tile, HeightNormalSettings{}).rgb16);
}

// A unit step with no smoothing: the plain central difference, leaning away from the higher
// side, green by the convention asked for, and steeper for a deeper relief.
TEST(BakedNormals, TheSlopeIsTheDifferenceOfTheHeightScaledByTheDepth) {
    Image h = Image::Deep(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            for (int c = 0; c < 3; ++c)
                h.rgb16[(static_cast<std::size_t>(y) * 8 + x) * 3 + c] = y < 4 ? 65535 : 0;
    HeightNormalSettings s;
    s.bevel = 0;
    s.depth = 2.0;
    const Image up = NormalsFromHeight(h, s);
    // Row 3 is high, row 4 low: slope 1/2 per pixel (times the depth 2), rising towards the
    // top of the picture, so the surface there faces down it: green below the middle, +Y up.
    const double ny = 1.0 / std::sqrt(2.0);  // (0, 0.5 * 2, 1) normalised
    for (int row : {3, 4}) {
        EXPECT_EQ(At(up, 5, row, 0), 32768);
        EXPECT_EQ(At(up, 5, row, 1), static_cast<int>((0.5 - ny * 0.5) * 65535 + 0.5)) << row;
        EXPECT_EQ(At(up, 5, row, 2), static_cast<int>((ny * 0.5 + 0.5) * 65535 + 0.5)) << row;
    }
    EXPECT_TRUE(Flat(up, 5, 1));
    EXPECT_TRUE(Flat(up, 5, 5));
    // Rows 7 and 0 meet the other way round (the grid wraps).
    EXPECT_GT(At(up, 2, 7, 1), 32768);
    EXPECT_GT(At(up, 2, 0, 1), 32768);
    s.yDown = true;
    const Image down = NormalsFromHeight(h, s);
    EXPECT_EQ(At(down, 5, 3, 1), 65535 - At(up, 5, 3, 1));
    s.yDown = false;
    s.depth = 8.0;
    EXPECT_LT(At(NormalsFromHeight(h, s), 5, 3, 1), At(up, 5, 3, 1));
    s.bevel = 3;  // a wider ramp, less steep at the step
    s.depth = 2.0;
    EXPECT_GT(At(NormalsFromHeight(h, s), 5, 3, 1), At(up, 5, 3, 1));
    EXPECT_LT(At(NormalsFromHeight(h, s), 5, 3, 1), 32768);
}

TEST(BakedMaps, BytesDoNotDependOnTheThreadCount) {
    const Baked one = BakeOf(kPatterns[1], 70, 1);  // partial tiles at the edges
    const Baked many = BakeOf(kPatterns[1], 70, 3);
    EXPECT_EQ(one.tiles.color.rgb, many.tiles.color.rgb);
    EXPECT_EQ(one.tiles.height.rgb16, many.tiles.height.rgb16);
    EXPECT_EQ(one.tiles.normal.rgb16, many.tiles.normal.rgb16);
    EXPECT_EQ(one.tiles.id.rgb, many.tiles.id.rgb);
    EXPECT_EQ(one.tiles.roughness.rgb16, many.tiles.roughness.rgb16);
    EXPECT_EQ(one.tiles.occlusion.rgb16, many.tiles.occlusion.rgb16);
}

TEST(BakedMaps, TheOutputSourceKeepsTheMapsOwnNormals) {
    auto slot = QuarelPreviewTest::MapFromPreset(kPatterns[0]);
    Interval valid = FOREVER;
    ReliefOutputFor(slot->Get(), kNormalPrefix)->Update(0, valid);
    BakeRequest b;
    b.size = 40;
    b.normalSource = NormalSource::Output;
    RenderRequest r;
    r.output = Output::Normal;
    r.size = 40;
    r.samples = b.samples;
    EXPECT_EQ(Bake(b, slot->Get()).normal.rgb16, Render(r, slot->Get()).rgb16);
}

// One colour per brick, from the identity the map varies its bricks by: with colour variance
// and a random second colour, pixels of one id colour have one map colour, and the grout (black)
// is exactly where the map shows its grout colour. A turned, scaled master transform shows
// that the id map places bricks where the map does.
TEST(BakedIds, OneColourPerBrickOfTheMapGroutBlack) {
    const char* preset = R"({"pattern": "1/2 Running", "nx": 3, "ny": 6, "gap_u": 0.05,
        "gap_v": 0.08, "color_variance": 0.6, "random_second_color_on": true, "seed": 9,
        "grout_color": [0.1, 0.2, 0.3], "master_angle": 25, "master_u_tiling": 2,
        "master_v_offset": 0.3})";
    auto slot = QuarelPreviewTest::MapFromPreset(preset);
    constexpr int kSize = 80;
    RenderRequest r;
    r.size = kSize;  // one sample at each pixel centre, as the id map
    const Image colour = Render(r, slot->Get());
    const BrickIdSettings s = BrickIdSettingsOf(slot->Get(), Table());
    EXPECT_FLOAT_EQ(s.tileU, 2.f);
    const Image ids = RenderBrickIds(s, kSize, kSize, 0, nullptr);
    std::map<std::uint32_t, std::uint32_t> colourOf;
    std::map<std::tuple<int, int, int>, std::uint32_t> idOf;
    int grouts = 0, differ = 0;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const std::uint32_t id = ids.Get(x, y), c = colour.Get(x, y);
            if (id == 0) {
                ++grouts;
                EXPECT_EQ(c, 0x4D331Au) << x << "," << y;  // the grout colour, 8 bits
                continue;
            }
            EXPECT_NE(c, 0x4D331Au) << x << "," << y;
            const auto [it, fresh] = colourOf.emplace(id, c);
            EXPECT_EQ(it->second, c)
                << "id " << std::hex << id << " at " << std::dec << x << "," << y;
            const QuarelNS::BrickCell cell =
                BrickAt(s, (x + 0.5f) / kSize, 1.f - (y + 0.5f) / kSize);
            const auto [known, added] =
                idOf.emplace(std::tuple{cell.brickU, cell.brickV, cell.kind}, id);
            EXPECT_EQ(known->second, id);
            // Neighbouring bricks differ.
            const std::uint32_t right = ids.Get((x + 1) % kSize, y);
            const std::uint32_t below = ids.Get(x, (y + 1) % kSize);
            for (const std::uint32_t next : {right, below}) differ += next != 0 && next != id;
        }
    }
    EXPECT_GT(grouts, kSize);
    EXPECT_GT(differ, 0);
    EXPECT_GT(colourOf.size(), 10u);
    // Different bricks, different colours.
    std::map<std::uint32_t, int> uses;
    for (const auto& [identity, id] : idOf) EXPECT_EQ(++uses[id], 1) << std::hex << id;
}

// The id tile wraps: a pixel's neighbour across the tile's edge is the next pixel of the plane.
TEST(BakedIds, TheTileWraps) {
    auto slot = QuarelPreviewTest::MapFromPreset(kPatterns[1]);
    const BrickIdSettings s = BrickIdSettingsOf(slot->Get(), Table());
    constexpr int kSize = 64;
    const Image ids = RenderBrickIds(s, kSize, kSize, 2, nullptr);
    for (int i = 0; i < kSize; ++i) {
        const float c = (static_cast<float>(i) + 0.5f) / kSize;
        // The plane's pixel left of column 0 and the one above row 0.
        EXPECT_EQ(ids.Get(kSize - 1, i), BrickIdColour(BrickAt(s, -0.5f / kSize, 1.f - c))) << i;
        EXPECT_EQ(ids.Get(i, kSize - 1), BrickIdColour(BrickAt(s, c, 1.f + 0.5f / kSize))) << i;
    }
}

}  // namespace
}  // namespace QuarelPreview

namespace QuarelPreview {
namespace {

// Bricks the tile's edge cuts, found from the pattern alone: pixel pairs just inside opposite
// edges whose centres lie well inside one brick (both brick, one set and face size, the local
// coordinates of each side stepped on by a pixel landing on the other's).
struct SeamPair {
    int xa, ya, xb, yb;
};

bool Inside(const QuarelNS::BrickCell& c) {
    return !c.isGrout && c.localU > 0.15f && c.localU < 0.85f && c.localV > 0.15f &&
           c.localV < 0.85f;
}

bool RunsOn(float from, float back, float to) {
    return std::fabs(to - (2.f * from - back)) <= 0.25f * std::fabs(from - back) + 1e-3f;
}

std::vector<SeamPair> CutBrickPixels(const BrickIdSettings& s, int w, int h) {
    std::vector<SeamPair> out;
    const float pu = 1.f / static_cast<float>(w), pv = 1.f / static_cast<float>(h);
    const auto cellAt = [&](float x, float y) {
        return BrickAt(s, (x + 0.5f) * pu, 1.f - (y + 0.5f) * pv);
    };
    // Across the right edge (x w - 1 to w), then across the bottom edge (y h - 1 to h).
    for (const bool alongX : {true, false}) {
        const int n = alongX ? w : h, along = alongX ? h : w;
        const float last = static_cast<float>(n - 1);
        for (int i = 0; i < along; ++i) {
            const float c = static_cast<float>(i);
            const auto at = [&](float k) { return alongX ? cellAt(k, c) : cellAt(c, k); };
            const QuarelNS::BrickCell a = at(last), a0 = at(last - 1.f), b = at(last + 1.f),
                                      b0 = at(last + 2.f);
            if (!Inside(a) || !Inside(b) || a.kind != b.kind || a.turned != b.turned) continue;
            if (std::fabs(a.sizeU - b.sizeU) > 1e-4f || std::fabs(a.sizeV - b.sizeV) > 1e-4f)
                continue;
            if (!RunsOn(a.localU, a0.localU, b.localU) || !RunsOn(b.localU, b0.localU, a.localU) ||
                !RunsOn(a.localV, a0.localV, b.localV) || !RunsOn(b.localV, b0.localV, a.localV))
                continue;
            out.push_back(alongX ? SeamPair{n - 1, i, 0, i} : SeamPair{i, n - 1, i, 0});
        }
    }
    return out;
}

// How far a pixel pair differs, largest channel; pixels of one brick differ as its face does.
int Difference(const Image& im, int xa, int ya, int xb, int yb) {
    int d = 0;
    for (int ch = 0; ch < 3; ++ch)
        d = std::max(d, std::abs(At(im, xa, ya, ch) - At(im, xb, yb, ch)));
    return d;
}

// Every map of the set continues across the tile's edges where a brick is cut: the step there
// is no larger than the steps to the pair's neighbours inside the tile (twice, and a little,
// for slopes that steepen towards a joint).
int SeamBreaks(const BakedTiles& t, const std::vector<SeamPair>& pairs,
               std::initializer_list<const Image*> maps) {
    int breaks = 0;
    for (const SeamPair& p : pairs) {
        const int dx = p.xa == t.id.width - 1 && p.xb == 0 ? 1 : 0, dy = 1 - dx;
        for (const Image* im : maps) {
            const int slack = im->IsDeep() ? 600 : 3;
            const int across = Difference(*im, p.xa, p.ya, p.xb, p.yb);
            const int inside = std::max(Difference(*im, p.xa - dx, p.ya - dy, p.xa, p.ya),
                                        Difference(*im, p.xb, p.yb, p.xb + dx, p.yb + dy));
            breaks += across > 2 * inside + slack;
        }
    }
    return breaks;
}

TEST(BakedSeams, EveryPresetTilesWithoutASeam) {
    constexpr int kSize = 96;
    std::size_t pairs = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(QuarelPreviewTest::SourceDir() + "/presets")) {
        if (entry.path().extension() != ".json") continue;
        SCOPED_TRACE(entry.path().filename().string());
        std::string error;
        std::vector<Assignment> values;
        ASSERT_TRUE(LoadPresetFile(entry.path().string(), Table(), values, error)) << error;
        ASSERT_TRUE(ParsePreset(R"({"seamless_bricks": true})", Table(), "as the bake sets it", "",
                                values, error))
            << error;
        // Enough samples that a nested image's fine grain does not alias into steps between
        // rows (the parquet's wood at 4 samples a pixel), which would read as seams.
        const Baked b = BakeOf(MapOf(values), kSize, 0, 0, 16);
        const BrickIdSettings s = BrickIdSettingsOf(b.slot->Get(), Table());
        ASSERT_TRUE(s.seamless);
        const std::vector<SeamPair> cut = CutBrickPixels(s, kSize, kSize);
        pairs += cut.size();
        EXPECT_EQ(SeamBreaks(b.tiles, cut,
                             {&b.tiles.color, &b.tiles.height, &b.tiles.normal, &b.tiles.id}),
                  0);
        for (const SeamPair& p : cut)
            EXPECT_EQ(b.tiles.id.Get(p.xa, p.ya), b.tiles.id.Get(p.xb, p.yb));
    }
    EXPECT_GT(pairs, 40u);
}

TEST(BakedSeams, WithoutSeamlessBricksACutBrickChangesAtTheEdge) {
    constexpr int kSize = 96;
    const char* wall = R"({"pattern": "1/2 Running", "nx": 4, "ny": 8, "gap_u": 0.04,
        "gap_v": 0.07, "color_variance": 0.3, "seed": 42})";
    const Baked b = BakeOf(wall, kSize);
    const std::vector<SeamPair> cut =
        CutBrickPixels(BrickIdSettingsOf(b.slot->Get(), Table()), kSize, kSize);
    ASSERT_FALSE(cut.empty());
    EXPECT_GT(SeamBreaks(b.tiles, cut, {&b.tiles.color}), 0);
}

// A tile wider or higher than square stretches the pattern, and still tiles in every map; the
// square tile's bytes are the ones a tile of the same width and height gives.
TEST(BakedSeams, ATileThatIsNotSquareTilesInEveryMap) {
    const char* const presets[] = {"brick-wall.json", "hexagon-pavers.json"};
    std::size_t pairs = 0;
    for (const char* name : presets)
        for (const auto& [w, h] : {std::pair{192, 96}, std::pair{80, 176}}) {
            SCOPED_TRACE(std::string(name) + " " + std::to_string(w) + "x" + std::to_string(h));
            std::string error;
            std::vector<Assignment> values;
            ASSERT_TRUE(LoadPresetFile(QuarelPreviewTest::SourceDir() + "/presets/" + name, Table(),
                                       values, error));
            // Without the presets' bevels: where a bevel's slope begins in the pixel beside the
            // edge, the step check reads its kink as a break. Bevels across the edge are checked
            // on square tiles above.
            ASSERT_TRUE(ParsePreset(R"({"seamless_bricks": true, "bevel_width": 0})", Table(),
                                    "bake", "", values, error));
            const Baked b = BakeOf(MapOf(values), h, 0, w);
            for (const Image* im : {&b.tiles.color, &b.tiles.normal, &b.tiles.roughness,
                                    &b.tiles.occlusion, &b.tiles.id}) {
                EXPECT_EQ(im->width, w);
                EXPECT_EQ(im->height, h);
            }
            const auto cut = CutBrickPixels(BrickIdSettingsOf(b.slot->Get(), Table()), w, h);
            pairs += cut.size();
            EXPECT_EQ(SeamBreaks(b.tiles, cut,
                                 {&b.tiles.color, &b.tiles.height, &b.tiles.normal, &b.tiles.id}),
                      0);
        }
    EXPECT_GT(pairs, 40u);
    const Baked square = BakeOf(kPatterns[1], 32);
    const Baked given = BakeOf(QuarelPreviewTest::MapFromPreset(kPatterns[1]), 32, 0, 32);
    EXPECT_EQ(square.tiles.color.rgb, given.tiles.color.rgb);
    EXPECT_EQ(square.tiles.normal.rgb16, given.tiles.normal.rgb16);
}

// The tool bakes seamless bricks unless told otherwise, and says where the shape cannot tile.
TEST(BakedSeams, TheToolWarnsWhereTheTileCannotRepeat) {
    const auto dir = QuarelPreviewTest::TestDir();
    const std::string wall = QuarelPreviewTest::SourceDir() + "/presets/brick-wall.json";
    const auto bake = [&](std::vector<std::string> extra, std::string& err) {
        std::vector<std::string> args = {"bake", "--preset", wall,    "--size",
                                         "16",   "-q",       "--out", (dir / "t").string()};
        args.insert(args.end(), extra.begin(), extra.end());
        return QuarelPreviewTest::RunTool(args, "", nullptr, &err);
    };
    std::string err;
    ASSERT_EQ(bake({}, err), kExitOk);
    EXPECT_NE(err.find("seamless_bricks on"), std::string::npos) << err;
    EXPECT_EQ(err.find("warning"), std::string::npos) << err;
    ASSERT_EQ(bake({"--set", "seamless_bricks=false"}, err), kExitOk);
    EXPECT_EQ(err.find("seamless_bricks on"), std::string::npos) << err;

    const std::string seam =
        "the tile does not repeat: 1/2 Running repeats every 2 rows: ny 7 gives a seam; use an "
        "even ny";
    std::filesystem::remove_all(dir);
    ASSERT_EQ(bake({"--set", "ny=7"}, err), kExitOk);
    EXPECT_NE(err.find("warning: " + seam), std::string::npos) << err;
    EXPECT_TRUE(std::filesystem::exists(dir / "t-color.png"));
    std::filesystem::remove_all(dir);
    ASSERT_EQ(bake({"--set", "ny=7", "--strict"}, err), kExitRefused);
    EXPECT_NE(err.find("error: " + seam), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists(dir / "t-color.png"));
    std::filesystem::remove_all(dir);
}

TEST(BakedSeams, EveryPresetRepeatsWithItsTile) {
    for (const auto& entry :
         std::filesystem::directory_iterator(QuarelPreviewTest::SourceDir() + "/presets")) {
        if (entry.path().extension() != ".json") continue;
        std::string error;
        auto slot = QuarelPreviewTest::MapFromPresetFile(entry.path().string(), error);
        ASSERT_TRUE(slot) << error;
        const BrickIdSettings s = BrickIdSettingsOf(slot->Get(), Table());
        EXPECT_EQ(QuarelNS::DescribeTileSeams(s.cells, {s.tileU, s.tileV, s.angle}),
                  std::vector<std::string>{})
            << entry.path().filename();
    }
}

}  // namespace
}  // namespace QuarelPreview
