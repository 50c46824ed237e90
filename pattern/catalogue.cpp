#include "pattern/catalogue.h"

#include <cctype>

namespace QuarelNS {

namespace {
using C = PatternCategory;
}

const std::array<PatternInfo, kPatternCount> kPatternCatalogue = {{
    {0, "1/2 Running", 14, C::Masonry, 1},       {1, "1/3 Running", 15, C::Masonry, 2},
    {2, "Common Flemish", 12, C::Masonry, 3},    {3, "Custom Tiles", 19, C::Custom, 1},
    {4, "Fine Stack", 18, C::Masonry, 4},        {5, "Herringbone", 20, C::Parquet, 1},
    {6, "T-Shape", 3107, C::Parquet, 2},         {7, "Diagonal", 3106, C::Abstract, 2},
    {8, "Modular Ashlar", 3104, C::Parquet, 3},  {9, "Basket Weave", 3103, C::Parquet, 4},
    {10, "Triangles", 3109, C::Abstract, 1},     {11, "Chevron", 3108, C::Parquet, 5},
    {12, "Hexagons", 3105, C::Pavement, 1},      {13, "Pattern 1", 3110, C::Custom, 2},
    {14, "Pattern 2", 3111, C::Custom, 3},       {15, "Pattern 3", 3112, C::Custom, 4},
    {16, "Pattern 4", 3113, C::Custom, 5},       {17, "Pattern 5", 3114, C::Custom, 6},
    {18, "Pattern 6", 3115, C::Custom, 7},       {19, "Pattern 7", 3116, C::Custom, 8},
    {20, "I-Paver", 3130, C::Pavement, 2},       {21, "Wave Checker", 3131, C::Pavement, 3},
    {22, "Wave Striped", 3132, C::Pavement, 4},  {23, "Triangles 2", 3133, C::Pavement, 5},
    {24, "Maple Leaf", 3134, C::Pavement, 6},    {25, "Paving Tile 1", 3135, C::Pavement, 7},
    {26, "Paving Tile 2", 3136, C::Pavement, 8}, {27, "Parquet Tile 1", 3137, C::Parquet, 6},
    {28, "Parquet Tile 2", 3138, C::Parquet, 7}, {29, "Parquet Tile 3", 3139, C::Parquet, 8},
}};

const std::array<PatternCategoryInfo, 5> kPatternCategories = {{
    {C::Masonry, "Masonry", 3120, {0, 1, 2, 4}, 4},
    {C::Parquet, "Parquet", 3121, {5, 6, 8, 9, 11, 27, 28, 29}, 8},
    {C::Abstract, "Abstract", 3122, {10, 7}, 2},
    {C::Pavement, "Pavement", 3123, {12, 20, 21, 22, 23, 24, 25, 26}, 8},
    {C::Custom, "Custom", 3124, {3, 13, 14, 15, 16, 17, 18, 19}, 8},
}};

const PatternInfo& PatternInfoFor(int id) {
    return kPatternCatalogue[static_cast<unsigned>(id) < kPatternCount ? id : 0];
}

int FindPatternByName(std::string_view name) {
    auto lower = [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    };
    for (const PatternInfo& p : kPatternCatalogue) {
        if (p.name.size() != name.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < name.size() && same; ++i)
            same = lower(p.name[i]) == lower(name[i]);
        if (same) return p.id;
    }
    return -1;
}

const PatternCategoryInfo& CategoryInfo(PatternCategory category) {
    return kPatternCategories[static_cast<std::size_t>(category)];
}

}  // namespace QuarelNS
