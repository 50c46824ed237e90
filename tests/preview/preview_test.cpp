// The preview's command line: the form of options and shorthand options turning into parameter
// values.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "preview/cli/options.h"
#include "preview/commands/run.h"
#include "preview/common/image.h"

namespace QuarelPreview {
namespace {

int Parse(std::vector<std::string> args, PreviewOptions& o) {
    args.insert(args.begin(), "quarel-preview");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    return ParseOptions(static_cast<int>(argv.size()), argv.data(), o);
}

TEST(PreviewOptions, ShorthandsSetsAndSubcommandsParseInOrder) {
    PreviewOptions o;
    ASSERT_EQ(Parse({"--set", "seed=9", "--pattern", "Herringbone", "--nx", "256", "--set",
                     "brick_color=0.5,0.5,0.5", "--output", "mono", "--samples", "4"},
                    o),
              -1);
    using P = std::pair<std::string, std::string>;
    const std::vector<P> want = {P{"pattern", "Herringbone"}, P{"nx", "256"}, P{"seed", "9"},
                                 P{"brick_color", "0.5,0.5,0.5"}};
    EXPECT_EQ(o.sets, want);
    EXPECT_EQ(o.output, Output::Mono);
    EXPECT_EQ(o.samples, 4);
    EXPECT_FALSE(o.sheet);

    // A subcommand takes the common options on either side.
    PreviewOptions a, b;
    ASSERT_EQ(Parse({"sample", "--set", "nx=3", "--output", "cells"}, a), -1);
    ASSERT_EQ(Parse({"--set", "nx=3", "sample"}, b), -1);
    EXPECT_EQ(a.command, Command::Sample);
    EXPECT_EQ(b.command, Command::Sample);
    EXPECT_EQ(a.sets, b.sets);

    // No arguments at all: the sheet of every pattern.
    PreviewOptions none;
    EXPECT_EQ(Parse({}, none), -1);
    EXPECT_TRUE(none.sheet);
    EXPECT_EQ(none.size, 200);
    EXPECT_EQ(DefaultOutputName(none, 0, ""), "out/patterns.png");
}

TEST(PreviewOptions, RefusesMalformedOptions) {
    const std::vector<std::vector<std::string>> bad = {
        {"--size", "0"},
        {"--samples", "0"},
        {"--repeat", "65"},
        {"--output", "shiny"},
        {"bake", "--output", "normal"},
        {"sample", "--normal-y-down"},
        {"--projection", "sphere"},
        {"--set", "nx"},
        {"--set", "=4"},
        {"--box", "1,0,1"},  // needs --projection box, and a zero side is no box
        {"--projection", "box", "--box", "1,2"},
        {"--projection", "box", "--output", "cells"},
        {"sample", "--size", "64"},
        {"sample", "--bevel", "1"},
        {"bake", "--bevel", "65"},
        {"bake", "--object", "cube"},
        {"--object", "torus"},
        {"--object", "cube", "--projection", "box"},
        {"--bump", "2"},
        {"--unknown", "1"},
    };
    for (const auto& args : bad) {
        PreviewOptions o;
        std::string line;
        for (const std::string& a : args) line += a + " ";
        EXPECT_EQ(Parse(args, o), kExitRefused) << line;
    }
}

TEST(PreviewOptions, DefaultPathsSayWhatWasRendered) {
    PreviewOptions o;
    o.output = Output::Mono;
    o.projection = Projection::Box;
    EXPECT_EQ(DefaultOutputName(o, 24, "Maple Leaf"), "out/pattern-24-Maple-Leaf-mono-box.png");
    o.output = Output::Color;
    o.projection = Projection::Plane;
    EXPECT_EQ(DefaultOutputName(o, 0, "1/2 Running"), "out/pattern-0-1-2-Running.png");
}

// Written pictures read back in the swatch, golden and relief tests; here only the failure.
TEST(Png, AFileThatCannotBeWrittenSaysSo) {
    std::string error;
    EXPECT_FALSE(WritePng(Image(2, 2), "/nonexistent-dir/x.png", error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace QuarelPreview
