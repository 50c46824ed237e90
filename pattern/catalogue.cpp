#include "pattern/catalogue.h"

#include <cctype>

#include "pattern/generators.h"

namespace QuarelNS {

namespace {

using C = PatternCategory;

// Generators that take an argument, bound to the value of their catalogue row.
constexpr float kHalfBond = 0.5f;
constexpr float kThirdBond = 0.33333334f;
constexpr float kStackBond = 0.f;

void HalfBond(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    RunningBond(ps, u, v, cell, kHalfBond);
}
void ThirdBond(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    RunningBond(ps, u, v, cell, kThirdBond);
}
void StackBond(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    RunningBond(ps, u, v, cell, kStackBond);
}

template <int number>
void Custom(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    CustomPattern(ps, u, v, cell, number);
}

template <bool checker>
void WaveOf(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    Wave(ps, u, v, cell, checker);
}

// Row builders, one per kind of pattern, so that each row reads as what it is.
constexpr PatternInfo Plain(int id, std::string_view name, int sid, C cat, int pos,
                            PatternGenerator g) {
    return {id, name, sid, cat, pos, g, false, false, 0.f, false};
}
constexpr PatternInfo Bonded(int id, std::string_view name, int sid, C cat, int pos,
                             PatternGenerator g, float shift) {
    return {id, name, sid, cat, pos, g, false, false, shift, false};
}
constexpr PatternInfo TwoSets(int id, std::string_view name, int sid, C cat, int pos,
                              PatternGenerator g) {
    return {id, name, sid, cat, pos, g, false, true, 0.f, false};
}
constexpr PatternInfo Layout(int id, std::string_view name, int sid, int pos, PatternGenerator g) {
    return {id, name, sid, C::Custom, pos, g, true, true, 0.f, false};
}

// A row whose faces are all rectangles filling their frames.
constexpr PatternInfo Rect(PatternInfo row) {
    row.rectangularFaces = true;
    return row;
}

constexpr std::array<PatternInfo, kPatternCount> kRows = {{
    Rect(Bonded(0, "1/2 Running", 14, C::Masonry, 1, HalfBond, kHalfBond)),
    Rect(Bonded(1, "1/3 Running", 15, C::Masonry, 2, ThirdBond, kThirdBond)),
    Rect(Plain(2, "Common Flemish", 12, C::Masonry, 3, CommonFlemish)),
    Rect(Bonded(3, "Custom Tiles", 19, C::Custom, 1, HalfBond, kHalfBond)),
    Rect(Bonded(4, "Fine Stack", 18, C::Masonry, 4, StackBond, kStackBond)),
    Rect(Plain(5, "Herringbone", 20, C::Parquet, 1, Herringbone)),
    Rect(Plain(6, "T-Shape", 3107, C::Parquet, 2, TShape)),
    Plain(7, "Diagonal", 3106, C::Abstract, 2, Diagonal),
    Rect(Plain(8, "Modular Ashlar", 3104, C::Masonry, 5, ModularAshlar)),
    Rect(Plain(9, "Basket Weave", 3103, C::Parquet, 3, BasketWeave)),
    Plain(10, "Triangles", 3109, C::Abstract, 1, Triangles),
    Plain(11, "Chevron", 3108, C::Parquet, 4, Chevron),
    Plain(12, "Hexagons", 3105, C::Pavement, 1, Hexagons),
    Rect(Layout(13, "Pattern 1", 3110, 2, Custom<1>)),
    Rect(Layout(14, "Pattern 2", 3111, 3, Custom<2>)),
    Rect(Layout(15, "Pattern 3", 3112, 4, Custom<3>)),
    Rect(Layout(16, "Pattern 4", 3113, 5, Custom<4>)),
    Layout(17, "Pattern 5", 3114, 6, Custom<5>),
    Layout(18, "Pattern 6", 3115, 7, Custom<6>),
    Layout(19, "Pattern 7", 3116, 8, Custom<7>),
    TwoSets(20, "I-Paver", 3130, C::Pavement, 2, IPaver),
    TwoSets(21, "Wave Checker", 3131, C::Pavement, 3, WaveOf<true>),
    TwoSets(22, "Wave Striped", 3132, C::Pavement, 4, WaveOf<false>),
    TwoSets(23, "Triangles 2", 3133, C::Pavement, 5, Triangles2),
    TwoSets(24, "Maple Leaf", 3134, C::Pavement, 6, MapleLeaf),
    Rect(TwoSets(25, "Paving Tile 1", 3135, C::Pavement, 7, PavingTile1)),
    TwoSets(26, "Paving Tile 2", 3136, C::Pavement, 8, PavingTile2),
    Rect(Plain(27, "Parquet Tile 1", 3137, C::Parquet, 5, ParquetTile1)),
    Plain(28, "Parquet Tile 2", 3138, C::Parquet, 6, ParquetTile2),
    Plain(29, "Parquet Tile 3", 3139, C::Parquet, 7, ParquetTile3),
}};

constexpr bool IdsAreRowIndices() {
    for (int i = 0; i < kPatternCount; ++i)
        if (kRows[static_cast<std::size_t>(i)].id != i) return false;
    return true;
}
static_assert(IdsAreRowIndices(), "the combo box's item index is the pattern id");

// A category's members in picker order, read from the rows' positions.
constexpr PatternCategoryInfo Category(C category, std::string_view name, int sid) {
    PatternCategoryInfo info{category, name, sid, {}, 0};
    for (int pos = 1; pos <= static_cast<int>(info.members.size()); ++pos) {
        for (const PatternInfo& p : kRows) {
            if (p.category == category && p.position == pos)
                info.members[static_cast<std::size_t>(info.memberCount++)] = p.id;
        }
    }
    return info;
}

}  // namespace

constinit const std::array<PatternInfo, kPatternCount> kPatternCatalogue = kRows;

constinit const std::array<PatternCategoryInfo, 5> kPatternCategories = {{
    Category(C::Masonry, "Masonry", 3120),
    Category(C::Parquet, "Parquet", 3121),
    Category(C::Abstract, "Abstract", 3122),
    Category(C::Pavement, "Pavement", 3123),
    Category(C::Custom, "Custom", 3124),
}};

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
