// `sample` refuses lines it cannot mean, by line number: coordinates that are not finite,
// numbers beyond a float, box points off the box's surface; and still takes what is close
// enough (a point within the tolerance of a face, a number that underflows to zero).
#include <gtest/gtest.h>

#include <algorithm>

#include "preview/cli/options.h"
#include "preview_support.h"

namespace QuarelPreview {
namespace {

using QuarelPreviewTest::RunTool;

struct SampleRefusal {
    std::vector<std::string> args;
    const char* input;
    const char* says;
};

TEST(SampleRefusals, EachBadLineIsRefusedWithItsNumberAndWhy) {
    const std::vector<std::string> plane{"sample"};
    const std::vector<std::string> box{"sample", "--projection", "box"};
    const SampleRefusal cases[] = {
        {plane, "nan 0.5\n", "line 1: every number of a point is finite"},
        {plane, "0.5 0.5\n0.5 -inf\n", "line 2: every number of a point is finite"},
        {plane, "0.5 0.5 nan 0\n", "line 1: every number of a point is finite"},
        {plane, "1e400 0.5\n", "line 1: '1e400' is beyond the range of a float"},
        {plane, "0.5\n", "line 1: a point is 'u v' or 'u v du dv', not 1 number"},
        {box, "5 5 5 0 0 1\n", "line 1: the point 5 5 5 is 7.22842 from the surface of the box"},
        {box, "0.5 0.25 0.5 0 1 0\n", "line 1: the point 0.5 0.25 0.5 is 0.25 from the surface"},
        {box, "0.5 0.5 0.5 0 0 0\n", "line 1: the normal nx ny nz has no length"},
        {box, "0.5 0.5 0.5 0 1\n", "line 1: a box point is 'x y z nx ny nz', not 5 numbers"},
    };
    for (const SampleRefusal& c : cases) {
        std::string out, err;
        EXPECT_EQ(RunTool(c.args, c.input, &out, &err), kExitRefused) << c.input;
        EXPECT_NE(err.find(c.says), std::string::npos) << c.input << " -> " << err;
    }
    // The tolerance is said with the refusal.
    std::string err;
    RunTool(box, "5 5 5 0 0 1\n", nullptr, &err);
    EXPECT_NE(err.find("within 0.0001"), std::string::npos) << err;
}

TEST(SampleRefusals, WhatIsCloseEnoughIsTaken) {
    const std::pair<std::vector<std::string>, const char*> fine[] = {
        {{"sample"}, "1e-50 0.5\n"},  // underflows to zero
        {{"sample", "--projection", "box"}, "1.00005 0.25 0.5 1 0 0\n"},
        {{"sample", "--projection", "box"}, "0.3 0.5 0.7 0 1 0\n"},
        {{"sample", "--projection", "box", "--box", "2,1,3"}, "1 0.5 -0.0001 0 0 -1\n"},
    };
    for (const auto& [args, input] : fine) {
        std::string out, err;
        EXPECT_EQ(RunTool(args, input, &out, &err), kExitOk) << input << " -> " << err;
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << input;
    }
}

}  // namespace
}  // namespace QuarelPreview
