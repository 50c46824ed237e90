#include "pattern/tile_seams.h"

#include <cmath>
#include <cstdio>

#include "pattern/catalogue.h"
#include "pattern/grid_index.h"
#include "pattern/seamless_identity.h"

namespace QuarelNS {

namespace {

constexpr double kQuarterTurn = 1.5707963267948966;
constexpr double kWholeTolerance = 1e-4;  // slack for values typed as decimals or degrees

bool IsWhole(double x) {
    return std::fabs(x - std::round(x)) <= kWholeTolerance;
}

std::string Format(double x) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", x);
    return text;
}

// One axis of the picture: `tiling` pattern tiles across it, running along the pattern's u axis
// (else its v axis).
void CheckAxis(const PatternSettings& ps, const char* tilingName, double tiling, bool patternU,
               std::vector<std::string>& out) {
    if (std::fabs(tiling) < 1e-6) return;  // the pattern does not change along this axis
    if (!IsWhole(tiling)) {
        out.push_back(std::string(tilingName) + " " + Format(tiling) +
                      " is not a whole number: the tile ends inside a pattern tile; use a whole "
                      "number");
        return;
    }
    const SeamRule& rule = SeamRuleOf(ps.pattern);
    const bool needsEven = patternU ? rule.evenNx : rule.evenNy;
    const std::int32_t count = CountOrOne(patternU ? ps.nx : ps.ny);
    const long long tiles = std::llabs(std::llround(tiling));
    if (!needsEven || (count * tiles) % 2 == 0) return;
    const char* countName = patternU ? "nx" : "ny";
    std::string line = std::string(PatternInfoFor(ps.pattern).name) + " repeats every 2 " +
                       (patternU ? "columns" : "rows") + ": " + countName + " " +
                       std::to_string(count);
    if (tiles != 1) line += std::string(" with ") + tilingName + " " + std::to_string(tiles);
    out.push_back(line + " gives a seam; use an even " + countName);
}

}  // namespace

std::vector<std::string> DescribeTileSeams(const PatternSettings& settings,
                                           const MasterRepeat& master) {
    std::vector<std::string> out;
    const double quarters = static_cast<double>(master.angle) / kQuarterTurn;
    if (!std::isfinite(quarters) || !IsWhole(quarters)) {
        out.push_back("master_angle " +
                      Format(static_cast<double>(master.angle) * 90.0 / kQuarterTurn) +
                      " degrees is not a multiple of 90: the pattern's tiles meet the tile's "
                      "edges at a slant; use 0, 90, 180 or 270");
        return out;
    }
    // A quarter turn lays the pattern's v axis along the picture's u axis.
    const bool turned = std::llabs(std::llround(quarters)) % 2 == 1;
    CheckAxis(settings, "master_u_tiling", master.tilingU, !turned, out);
    CheckAxis(settings, "master_v_tiling", master.tilingV, turned, out);
    return out;
}

}  // namespace QuarelNS
