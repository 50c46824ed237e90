// The catalogue of the 30 laying patterns: one row per pattern with its id, display name and
// string-table id, picker category and position, its generator and the traits other layers ask
// about. Code outside the engine asks these rows, never ranges of ids. The rollout's combo box
// lists the patterns in id order (item index = pattern id); the picker shows them by category
// in the order of kPatternCategories, each category's members in the order of their positions.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "pattern/pattern_types.h"

namespace QuarelNS {

constexpr int kPatternCount = 30;

enum class PatternCategory : std::uint8_t { Masonry, Parquet, Abstract, Pavement, Custom };

// Writes the fields a pattern owns into `cell` for a point already reduced to [0, 1), from
// settings already sanitised.
using PatternGenerator = void (*)(const PatternSettings& ps, float u, float v, BrickCell& cell);

struct PatternInfo {
    int id;
    std::string_view name;
    int nameStringId;
    PatternCategory category;
    int position;  // 1-based position within the category
    PatternGenerator generate;
    // "Pattern 1" to "Pattern 7": they place their second brick set themselves, so no brick of
    // theirs turns to the second colour at random.
    bool customLayout;
    // Lays a second brick set of its own (cells of kind 1): the editor enables the Brick 2
    // controls and keeps "Random 2nd Color" off limits.
    bool usesBrick2;
    // Running bonds: how far each course is shifted against the one below, as a share of a
    // brick; 0 for every other pattern. The box projection carries the bond round the corners
    // with it.
    float courseShift;
    // Every face is a rectangle that its local frame spans edge to edge, so its corners are the
    // frame's and can be rounded (pattern/corner_rounding.h).
    bool rectangularFaces;
};

struct PatternCategoryInfo {
    PatternCategory category;
    std::string_view name;
    int nameStringId;
    std::array<int, 8> members;  // pattern ids in picker order
    int memberCount;
};

extern const std::array<PatternInfo, kPatternCount> kPatternCatalogue;
extern const std::array<PatternCategoryInfo, 5> kPatternCategories;

// The catalogue row of `id`; ids outside 0..29 give the row of id 0, the pattern they render.
// Inline: the shading core asks it per point.
inline const PatternInfo& PatternInfoFor(int id) {
    // Compared as unsigned: negative ids fall to row 0 as well.
    return kPatternCatalogue[static_cast<std::uint32_t>(id) < kPatternCount
                                 ? static_cast<std::size_t>(id)
                                 : 0u];
}

// Id of the pattern with this display name (case-insensitive), or -1.
int FindPatternByName(std::string_view name);

const PatternCategoryInfo& CategoryInfo(PatternCategory category);

}  // namespace QuarelNS
