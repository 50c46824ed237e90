// The preview's command line: the form of options and shorthand options turning into parameter
// values.
#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "preview/cli/option_table.h"
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

// Parses with standard output and error caught; `printed` gets both.
int ParseQuietly(const std::vector<std::string>& args, std::string& printed) {
    std::ostringstream caught;
    std::streambuf* oldOut = std::cout.rdbuf(caught.rdbuf());
    std::streambuf* oldErr = std::cerr.rdbuf(caught.rdbuf());
    PreviewOptions o;
    const int code = Parse(args, o);
    std::cout.rdbuf(oldOut);
    std::cerr.rdbuf(oldErr);
    printed = caught.str();
    return code;
}

// Ways to give each option that a command taking it must accept: the option with a good value
// and, where another option must come with it, that one too.
const std::map<std::string, std::vector<std::vector<std::string>>>& Uses() {
    static const std::map<std::string, std::vector<std::vector<std::string>>> uses = {
        {"--module", {{"--module", "m.dlt"}}},
        {"--preset", {{"--preset", "p.json"}}},
        {"--scene", {{"--scene", "s.scene"}}},
        {"--map", {{"--scene", "s.scene", "--map", "M"}}},
        {"--save-scene", {{"--save-scene", "s.scene"}}},
        {"--image-path", {{"--image-path", "images"}}},
        {"--allow-missing", {{"--scene", "s.scene", "--allow-missing"}}},
        {"--pattern", {{"--pattern", "3"}}},
        {"--nx", {{"--nx", "3"}}},
        {"--ny", {{"--ny", "3"}}},
        {"--gap-u", {{"--gap-u", "0.1"}}},
        {"--gap-v", {{"--gap-v", "0.1"}}},
        {"--random-shift", {{"--random-shift", "0.1"}}},
        {"--seed", {{"--seed", "3"}}},
        {"--set", {{"--set", "nx=3"}}},
        {"--output", {{"--output", "mono"}}},
        {"--normal-y-down", {{"--normal-y-down"}, {"--output", "normal", "--normal-y-down"}}},
        {"--normal-source", {{"--normal-source", "output"}}},
        {"--bevel", {{"--bevel", "3"}}},
        {"--relief-depth", {{"--relief-depth", "2"}}},
        {"--roughness", {{"--roughness", "0.5"}}},
        {"--joint-roughness", {{"--joint-roughness", "0.5"}}},
        {"--roughness-variance", {{"--roughness-variance", "0.5"}}},
        {"--ao-radius", {{"--ao-radius", "0.05"}}},
        {"--profile", {{"--profile", "gltf"}}},
        {"--height-format", {{"--height-format", "exr"}}},
        {"--metallic", {{"--metallic", "0.5"}}},
        {"--strict", {{"--strict"}}},
        {"--json", {{"--json"}}},
        {"--object", {{"--object", "cube"}}},
        {"--bump", {{"--object", "cube", "--bump", "2"}}},
        {"--camera", {{"--object", "cube", "--camera", "3,-40,20"}}},
        {"--light", {{"--object", "cube", "--light", "90,-10"}}},
        {"--object-tiles", {{"--object", "cube", "--object-tiles", "3"}}},
        {"--projection", {{"--projection", "box"}}},
        {"--box", {{"--projection", "box", "--box", "1,1,1"}}},
        {"--size", {{"--size", "64"}}},
        {"--repeat", {{"--repeat", "2"}}},
        {"--samples", {{"--samples", "2"}}},
        {"--threads", {{"--threads", "1"}}},
        {"--sheet", {{"--sheet"}}},
        {"--quiet", {{"--quiet"}}},
        {"--out", {{"--out", "x.png"}}},
    };
    return uses;
}

// A command's help lists what the command takes and nothing else: each option it lists is
// accepted, each option of the table it does not list is refused.
TEST(PreviewOptions, EveryCommandTakesWhatItsHelpListsAndRefusesTheRest) {
    for (const CommandRow& c : CommandTable()) {
        const std::string command = c.name;
        std::vector<std::string> head;
        if (!command.empty()) head.push_back(command);
        std::string help;
        std::vector<std::string> ask = head;
        ask.push_back("--help");
        ASSERT_EQ(ParseQuietly(ask, help), kExitOk) << command;
        for (const OptionRow& row : OptionTable()) {
            const std::string name = LongName(row);
            const bool listed = help.find("\n  " + name + " ") != std::string::npos ||
                                help.find("\n  " + name + ",") != std::string::npos ||
                                help.find("\n  " + name + "\n") != std::string::npos;
            const bool taken = RowFor(name, c.command) != nullptr;
            EXPECT_EQ(listed, taken) << command << " " << name;
            ASSERT_TRUE(Uses().count(name)) << name << ": add the ways to give it above";
            bool accepted = false;
            for (const std::vector<std::string>& use : Uses().at(name)) {
                std::vector<std::string> args = head;
                args.insert(args.end(), use.begin(), use.end());
                std::string printed;
                const int code = ParseQuietly(args, printed);
                if (code == -1) accepted = true;
                if (!taken) {
                    EXPECT_EQ(code, kExitRefused) << command << " " << name << "\n" << printed;
                }
            }
            EXPECT_EQ(accepted, taken) << command << " " << name;
        }
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
