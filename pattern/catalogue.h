// The catalogue of the 30 laying patterns: id, display name and its string-table id, picker
// category and position. The rollout's combo box lists the patterns in id order (item index =
// pattern id); the picker shows them by category in the order of kPatternCategories.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace QuarelNS {

constexpr int kPatternCount = 30;

enum class PatternCategory : std::uint8_t { Masonry, Parquet, Abstract, Pavement, Custom };

struct PatternInfo {
    int id;
    std::string_view name;
    int nameStringId;
    PatternCategory category;
    int position;  // 1-based position within the category
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
const PatternInfo& PatternInfoFor(int id);

// Id of the pattern with this display name (case-insensitive), or -1.
int FindPatternByName(std::string_view name);

const PatternCategoryInfo& CategoryInfo(PatternCategory category);

}  // namespace QuarelNS
