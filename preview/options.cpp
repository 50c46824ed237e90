#include "preview/options.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <cmath>
#include <sstream>

#include "pattern/catalogue.h"
#include "pattern/swatch_colour.h"

namespace QuarelPreview {

int ParsePatternArgument(const std::string& text) {
    int id = -1;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, id);
    if (ec == std::errc() && ptr == end) return id >= 0 && id < QuarelNS::kPatternCount ? id : -1;
    return QuarelNS::FindPatternByName(text);
}

namespace {

// A number in [lo, hi]; NaN and infinities are refused (a plain range test lets NaN through).
CLI::Validator FloatRange(float lo, float hi) {
    return CLI::Validator(
        [lo, hi](std::string& value) -> std::string {
            float x = 0.f;
            const char* end = value.data() + value.size();
            const auto [ptr, ec] = std::from_chars(value.data(), end, x);
            if (ec == std::errc() && ptr == end && std::isfinite(x) && x >= lo && x <= hi)
                return {};
            std::ostringstream os;
            os << "'" << value << "' is not a number from " << lo << " to " << hi;
            return os.str();
        },
        "FLOAT", "float range");
}

}  // namespace

int ParseOptions(int argc, char** argv, PreviewOptions& options) {
    CLI::App app{
        "quarel-preview: renders QuarelMap brick and tile patterns to PNG.\n"
        "With no arguments it writes a sheet of every pattern into out/."};
    std::string pattern;
    auto& ps = options.settings;
    app.add_option("--pattern", pattern, "Pattern id (0-29) or display name, e.g. \"Herringbone\"")
        ->check(CLI::Validator(
            [](std::string& value) -> std::string {
                if (ParsePatternArgument(value) >= 0) return {};
                return "unknown pattern '" + value +
                       "': give an id from 0 to 29 or a display name such as \"1/2 Running\"";
            },
            "ID|NAME", "pattern"));
    app.add_option("--nx", ps.nx, "Horizontal count")
        ->check(CLI::Range(1, 256))
        ->capture_default_str();
    app.add_option("--ny", ps.ny, "Vertical count")
        ->check(CLI::Range(1, 256))
        ->capture_default_str();
    app.add_option("--gap-u", ps.gap_u, "Vertical grout width")
        ->check(FloatRange(0.f, 0.9f))
        ->capture_default_str();
    app.add_option("--gap-v", ps.gap_v, "Horizontal grout width")
        ->check(FloatRange(0.f, 0.9f))
        ->capture_default_str();
    app.add_option("--random-shift", ps.random_shift, "Random row shift")
        ->check(FloatRange(0.f, 0.5f))
        ->capture_default_str();
    app.add_option("--seed", ps.seed, "Seed")
        ->check(CLI::Range(0u, 100000u))
        ->capture_default_str();
    app.add_option("--size", options.size, "Image size in pixels (per pattern on a sheet)")
        ->check(CLI::Range(8, 8192));
    app.add_option("--repeat", options.repeat, "Pattern tiles along each side")
        ->check(CLI::Range(1, 64))
        ->capture_default_str();
    app.add_option("--threads", options.threads, "Render threads (0: all cores)")
        ->check(CLI::Range(0, 1024))
        ->capture_default_str();
    app.add_flag("--sheet", options.sheet, "Render a sheet of all 30 patterns");
    app.add_option("--out", options.out, "Output PNG file");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }
    options.patternGiven = !pattern.empty();
    if (options.patternGiven) ps.pattern = ParsePatternArgument(pattern);
    if (argc <= 1) {
        // The default sheet uses the swatch settings: joints wide enough to read at a glance.
        options.sheet = true;
        options.settings = QuarelNS::SwatchSettings(0);
    }
    if (app.count("--size") == 0) options.size = options.sheet ? 200 : 512;
    return -1;
}

}  // namespace QuarelPreview
