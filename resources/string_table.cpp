#include "resources/string_table.h"

#include <algorithm>
#include <array>

#include "pattern/catalogue.h"
#include "resources/resource_ids.h"

namespace QuarelRes {
namespace {

constexpr W32StringResource kFixedStrings[] = {
#define QR_STRING_ROW(name, id, text) {id, text},
    QUAREL_STRINGS(QR_STRING_ROW)
#undef QR_STRING_ROW
};

constexpr std::size_t kFixedCount = std::size(kFixedStrings);
constexpr std::size_t kCatalogueCount =
    QuarelNS::kPatternCount + std::tuple_size_v<decltype(QuarelNS::kPatternCategories)>;
constexpr std::size_t kNameCapacity = 32;

// The catalogue keeps its names as narrow ASCII; the table needs wide text that lives as long
// as the module.
using WideName = std::array<wchar_t, kNameCapacity>;

WideName Widen(std::string_view name) {
    WideName out{};
    const std::size_t n = std::min(name.size(), kNameCapacity - 1);
    for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<unsigned char>(name[i]);
    return out;
}

struct Table {
    std::array<WideName, kCatalogueCount> names{};
    std::array<W32StringResource, kFixedCount + kCatalogueCount> rows{};

    Table() {
        std::size_t row = 0;
        for (const W32StringResource& s : kFixedStrings) rows[row++] = s;
        std::size_t name = 0;
        auto add = [&](int id, std::string_view text) {
            names[name] = Widen(text);
            rows[row++] = {static_cast<std::uint32_t>(id), names[name++].data()};
        };
        for (const QuarelNS::PatternInfo& p : QuarelNS::kPatternCatalogue)
            add(p.nameStringId, p.name);
        for (const QuarelNS::PatternCategoryInfo& c : QuarelNS::kPatternCategories)
            add(c.nameStringId, c.name);
        std::sort(
            rows.begin(), rows.end(),
            [](const W32StringResource& a, const W32StringResource& b) { return a.id < b.id; });
    }
};

const Table& TheTable() {
    static const Table table;
    return table;
}

}  // namespace

std::span<const W32StringResource> StringTable() {
    return TheTable().rows;
}

const wchar_t* FindString(std::uint32_t id) {
    const auto rows = StringTable();
    const auto it =
        std::lower_bound(rows.begin(), rows.end(), id,
                         [](const W32StringResource& s, std::uint32_t key) { return s.id < key; });
    return it != rows.end() && it->id == id ? it->text : nullptr;
}

}  // namespace QuarelRes
