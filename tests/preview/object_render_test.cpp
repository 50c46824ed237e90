// Lit sample objects and `sample` on a box: a golden image per object, pictures that do not
// depend on the thread count, the cube's "Accurate" projection against its "Simple" top face and
// against `sample --projection box`, and box points against the map's own colour.
//
// Golden images have the tolerance of the renderer's: every channel within 2, and at most 0.5 %
// of the pixels beyond that. To regenerate them after an intended change:
//   QUAREL_UPDATE_GOLDEN=1 build/dev/tests/preview/preview_tests --gtest_filter='ObjectGolden*'
#include <gtest/gtest.h>

#include <array>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "preview/cli/options.h"
#include "preview/render/object_render.h"
#include "preview/render/point_context.h"
#include "preview/render/sample.h"
#include "preview/setup/map_setup.h"
#include "preview/setup/preset.h"
#include "preview_support.h"

namespace QuarelPreview {
namespace {

using QuarelPreviewTest::RunTool;
using QuarelPreviewTest::SourceDir;

std::unique_ptr<MapSlot> BrickWall(const char* extra = "") {
    std::string error;
    auto slot =
        QuarelPreviewTest::MapFromPresetFile(SourceDir() + "/presets/brick-wall.json", error);
    EXPECT_TRUE(slot) << error;
    if (*extra != '\0') {
        std::vector<Assignment> values;
        EXPECT_TRUE(ParsePreset(extra, QuarelPreviewTest::Table(), "test", "", values, error))
            << error;
        EXPECT_TRUE(ApplyAssignments(slot->Get(), values, error)) << error;
        Interval valid = FOREVER;
        slot->Get()->Update(0, valid);
    }
    return slot;
}

void ExpectGolden(const Image& img, const std::string& name) {
    const std::string golden = SourceDir() + "/tests/preview/golden/" + name + ".png";
    if (std::getenv("QUAREL_UPDATE_GOLDEN") != nullptr) {
        std::string error;
        ASSERT_TRUE(WritePng(img, golden, error)) << error;
        std::printf("wrote %s\n", golden.c_str());
        return;
    }
    Image want;
    ASSERT_TRUE(QuarelPreviewTest::ReadPng(golden, want)) << golden;
    ASSERT_EQ(want.width, img.width);
    ASSERT_EQ(want.height, img.height);
    const std::size_t beyond = QuarelPreviewTest::PixelsBeyond(img, want, 2);
    EXPECT_LE(beyond, img.rgb.size() / 3 / 200) << name << ": " << beyond << " pixels differ";
}

TEST(ObjectGolden, EachObjectMatchesItsGoldenImage) {
    auto simple = BrickWall();
    auto accurate = BrickWall(R"({"projection_mode": "Accurate"})");
    for (ObjectShape shape :
         {ObjectShape::Sphere, ObjectShape::Cube, ObjectShape::Cylinder, ObjectShape::Plane}) {
        ObjectRequest r;
        r.object = shape;
        r.size = 64;
        r.samples = 4;
        Texmap* map = shape == ObjectShape::Cube ? accurate->Get() : simple->Get();
        ExpectGolden(RenderObject(r, map), std::string("object-") + ObjectShapeName(shape));
    }
}

// A cube seen from elsewhere, lit from elsewhere, with four tiles across each face.
TEST(ObjectGolden, AFramedObjectMatchesItsGoldenImage) {
    auto slot = BrickWall();
    ObjectRequest r;
    r.object = ObjectShape::Cube;
    r.camera = CameraPlace{2.6f, {-20.f, 40.f}};
    r.light = ObjectAngles{60.f, 30.f};
    r.tiles = 4;
    r.size = 64;
    r.samples = 4;
    ExpectGolden(RenderObject(r, slot->Get()), "object-cube-framed");
}

// Seen from the default place, each object fills most of the picture; the camera's place
// decides which faces show, and the key light which side is bright.
TEST(ObjectRender, TheCameraAndTheLightGoWhereTheyAreTold) {
    ObjectRequest r;
    r.size = 60;
    const auto faces = [&](std::array<int, 6>& count) {
        count = {};
        for (int y = 0; y < r.size; ++y)
            for (int x = 0; x < r.size; ++x) {
                ObjectHit hit;
                if (TraceObject(r, x + 0.5f, y + 0.5f, hit)) ++count[hit.face];
            }
        return count[0] + count[1] + count[2] + count[3] + count[4] + count[5];
    };
    std::array<int, 6> count;
    for (ObjectShape shape :
         {ObjectShape::Sphere, ObjectShape::Cube, ObjectShape::Cylinder, ObjectShape::Plane}) {
        r.object = shape;
        EXPECT_GT(faces(count), r.size * r.size * 35 / 100) << ObjectShapeName(shape);
    }
    r.object = ObjectShape::Cube;
    r.camera = CameraPlace{3.f, {0.f, 0.f}};  // straight at the +X face
    EXPECT_EQ(faces(count), count[1]);
    EXPECT_GT(count[1], 100);
    r.camera = CameraPlace{3.f, {90.f, 89.f}};  // from above
    EXPECT_EQ(faces(count), count[4]);

    auto slot = BrickWall();
    r.camera = CameraPlace{3.f, {0.f, 0.f}};
    r.samples = 1;
    const auto centre = [&](float azimuth) {
        r.light = ObjectAngles{azimuth, 0.f};
        const Image img = RenderObject(r, slot->Get());
        int sum = 0;
        for (int y = 20; y < 40; ++y)
            for (int x = 20; x < 40; ++x) sum += img.Get(x, y) & 0xFF;
        return sum;
    };
    EXPECT_GT(centre(0.f), 2 * centre(180.f));  // lit face on, then from behind

    // The defaults as the help states them, and given explicitly they frame the same picture.
    const CameraPlace cube = DefaultCamera(ObjectShape::Cube);
    EXPECT_NEAR(cube.angles.azimuth, -53.4f, 0.05f);
    EXPECT_NEAR(cube.angles.elevation, 30.1f, 0.05f);
    EXPECT_NEAR(DefaultLight().azimuth, -122.7f, 0.05f);
    EXPECT_NEAR(DefaultLight().elevation, 48.8f, 0.05f);
    EXPECT_EQ(DefaultCamera(ObjectShape::Plane).angles.elevation, 65.f);
    ObjectRequest given, implied;
    given.object = implied.object = ObjectShape::Cube;
    given.size = implied.size = 48;
    given.camera = cube;
    given.light = DefaultLight();
    const Image a = RenderObject(given, slot->Get()), b = RenderObject(implied, slot->Get());
    EXPECT_LE(QuarelPreviewTest::PixelsBeyond(a, b, 2), a.rgb.size() / 3 / 200);
}

TEST(ObjectRender, BytesDoNotDependOnTheThreadCount) {
    auto slot = BrickWall();
    ObjectRequest r;
    r.object = ObjectShape::Cylinder;
    r.size = 50;  // partial tiles at the edges
    r.samples = 3;
    r.threads = 1;
    const Image one = RenderObject(r, slot->Get());
    r.threads = 4;
    EXPECT_EQ(one.rgb, RenderObject(r, slot->Get()).rgb);
}

// Every object is seen whole: the corners show the background, the centre the object, and
// the cube shows its top and the two side faces towards the camera.
TEST(ObjectRender, TheCameraSeesTheCubesTopAndTwoSides) {
    ObjectRequest r;
    r.object = ObjectShape::Cube;
    r.size = 100;
    int faces[6] = {};
    for (int y = 0; y < r.size; ++y)
        for (int x = 0; x < r.size; ++x) {
            ObjectHit hit;
            if (TraceObject(r, x + 0.5f, y + 0.5f, hit)) ++faces[hit.face];
        }
    EXPECT_GT(faces[4], 500);  // top
    EXPECT_GT(faces[1], 500);  // +X
    EXPECT_GT(faces[2], 500);  // -Y
    EXPECT_EQ(faces[0] + faces[3] + faces[5], 0);
    for (ObjectShape shape :
         {ObjectShape::Sphere, ObjectShape::Cube, ObjectShape::Cylinder, ObjectShape::Plane}) {
        r.object = shape;
        ObjectHit hit;
        EXPECT_TRUE(TraceObject(r, 50.f, 50.f, hit)) << ObjectShapeName(shape);
        EXPECT_FALSE(TraceObject(r, 0.5f, 0.5f, hit)) << ObjectShapeName(shape);
        EXPECT_FALSE(TraceObject(r, 99.5f, 99.5f, hit)) << ObjectShapeName(shape);
    }
}

// "Accurate" leaves the top face to the Simple coordinates, and projects the side faces itself
// exactly as `sample --projection box` does at the same points of the box.
TEST(ObjectRender, AccurateCubeAgreesWithSimpleOnTopAndWithBoxSamplesOnTheSides) {
    auto simple = BrickWall();
    auto accurate = BrickWall(R"({"projection_mode": "Accurate"})");
    ObjectRequest r;
    r.object = ObjectShape::Cube;
    r.size = 64;
    const Image a = RenderObject(r, accurate->Get());
    const Image s = RenderObject(r, simple->Get());
    int top = 0, sidesDiffer = 0;
    std::ostringstream points;
    points.precision(9);
    std::vector<AColor> want;
    for (int y = 0; y < r.size; ++y)
        for (int x = 0; x < r.size; ++x) {
            ObjectHit hit;
            if (!TraceObject(r, x + 0.5f, y + 0.5f, hit)) continue;
            if (hit.face == 4) {
                ++top;
                EXPECT_EQ(a.Get(x, y), s.Get(x, y)) << x << "," << y;
            } else {
                sidesDiffer += a.Get(x, y) != s.Get(x, y);
                if ((x * 7 + y * 3) % 41 == 0) {
                    // The box of the sample runs from 0 to 1; the cube's from -0.5 to 0.5.
                    points << hit.p.x + 0.5f << ' ' << hit.p.y + 0.5f << ' ' << hit.p.z + 0.5f
                           << ' ' << hit.n.x << ' ' << hit.n.y << ' ' << hit.n.z << '\n';
                    AColor c;
                    ASSERT_TRUE(ObjectColorAt(r, accurate->Get(), x + 0.5f, y + 0.5f, c));
                    want.push_back(c);
                }
            }
        }
    EXPECT_GT(top, 100);
    EXPECT_GT(sidesDiffer, 100);  // the projection does change the sides
    ASSERT_GT(want.size(), 10u);
    std::string out;
    ASSERT_EQ(RunTool({"sample", "--projection", "box", "--box", "1,1,1", "--preset",
                       SourceDir() + "/presets/brick-wall.json"},
                      points.str(), &out),
              kExitOk);
    std::istringstream got(out);
    for (const AColor& c : want) {
        float r0, g0, b0, a0;
        ASSERT_TRUE(got >> r0 >> g0 >> b0 >> a0);
        EXPECT_FLOAT_EQ(r0, c.r);
        EXPECT_FLOAT_EQ(g0, c.g);
        EXPECT_FLOAT_EQ(b0, c.b);
    }
}

// Points on each side face and on the top of a box: what the map answers for the context the
// test builds the same way; the side faces in the "Accurate" projection by default.
TEST(SampleOnABox, PrintsTheMapsColourAtEachFace) {
    auto simple = BrickWall();
    auto accurate = BrickWall(R"({"projection_mode": "Accurate"})");
    const Point3 box(2.f, 1.f, 1.5f);
    const BoxSamplePoint points[] = {
        {Point3(0.3f, 1.f, 0.4f), Point3(0.f, 1.f, 0.f)},     // +Y
        {Point3(2.f, 0.7f, 0.9f), Point3(1.f, 0.f, 0.f)},     // +X
        {Point3(1.3f, 0.f, 1.2f), Point3(0.f, -2.f, 0.f)},    // -Y, a normal of any length
        {Point3(0.f, 0.2f, 0.1f), Point3(-1.f, 0.f, 0.f)},    // -X
        {Point3(0.77f, 0.31f, 1.5f), Point3(0.f, 0.f, 1.f)},  // top
    };
    std::ostringstream in;
    in.precision(9);
    in << "# x y z nx ny nz\n\n";
    for (const BoxSamplePoint& p : points)
        in << p.p.x << ' ' << p.p.y << ' ' << p.p.z << ' ' << p.n.x << ' ' << p.n.y << ' ' << p.n.z
           << '\n';
    for (const bool acc : {true, false}) {
        Texmap* map = acc ? accurate->Get() : simple->Get();
        std::vector<std::string> args = {"sample",
                                         "--projection",
                                         "box",
                                         "--box",
                                         "2,1,1.5",
                                         "--preset",
                                         SourceDir() + "/presets/brick-wall.json"};
        if (!acc) args.insert(args.end(), {"--set", "projection_mode=Simple"});
        std::string out;
        ASSERT_EQ(RunTool(args, in.str(), &out), kExitOk);
        std::ostringstream want;
        const ShadeContextBuilder builder(map);
        PointShadeContext sc;
        for (const BoxSamplePoint& p : points) {
            builder.SetBoxSurfacePoint(sc, box, p.p, p.n);
            EXPECT_EQ(sc.PObjRelBox(), Point3(p.p.x / 2.f, p.p.y / 1.f, p.p.z / 1.5f));
            EXPECT_EQ(sc.DUVW(1), Point3(0.f, 0.f, 0.f));
            const AColor c = map->EvalColor(sc);
            char line[128];
            std::snprintf(line, sizeof line, "%.9g %.9g %.9g %.9g\n", c.r, c.g, c.b, c.a);
            want << line;
        }
        EXPECT_EQ(out, want.str()) << (acc ? "Accurate" : "Simple");
    }
}

TEST(SampleOnABox, RefusesBadLinesByNumber) {
    const std::pair<const char*, const char*> bad[] = {
        {"0.5 1 0.5\n", "line 1: a box point is 'x y z nx ny nz', not 3 numbers"},
        {"# ok\n0.5 1 0.5 0 1 0 7\n", "line 2: more than 6 numbers"},
        {"0.5 1 0.5 0 0 0\n", "line 1: the normal nx ny nz has no length"},
        {"0.5 1 x 0 1 0\n", "line 1: 'x' is not a number"},
        {"0.5 1 inf 0 1 0\n", "line 1: every number of a box point is finite"},
    };
    for (const auto& [input, message] : bad) {
        std::string out, err;
        EXPECT_EQ(RunTool({"sample", "--projection", "box"}, input, &out, &err), kExitRefused);
        EXPECT_NE(err.find(message), std::string::npos) << err;
    }
}

}  // namespace
}  // namespace QuarelPreview
