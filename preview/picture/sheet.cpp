#include "preview/picture/sheet.h"

#include "pattern/swatch_colour.h"
#include "preview/picture/label_font.h"
#include "preview/setup/map_setup.h"

namespace QuarelPreview {

namespace {
constexpr int kColumns = 6;
constexpr int kGutter = 8;
constexpr std::uint32_t kLabelColour = 0x303030u;
}  // namespace

const char* const kSheetPreset = R"({
  "nx": 4, "ny": 4, "gap_u": 0.075, "gap_v": 0.075,
  "color_variance": 0.35, "random_second_color_on": true
})";

void SheetSize(const RenderRequest& request, int count, long long& width, long long& height) {
    int w = 0, h = 0;
    PictureSize(request, w, h);
    const long long rows = (count + kColumns - 1) / kColumns;
    width = kGutter + kColumns * (static_cast<long long>(w) + kGutter);
    height = kGutter + rows * (static_cast<long long>(h) + kLabelPixels + 8 + kGutter);
}

Image RenderSheet(const RenderRequest& request, Texmap* map, const ParamTable& table,
                  std::string& warning) {
    const ParamEntry* pattern = table.Find("pattern");
    const int count = pattern != nullptr ? static_cast<int>(pattern->hi) + 1 : 1;
    std::unique_ptr<LabelFont> font = LabelFont::Open(kLabelPixels, warning);
    const int labelHeight = font ? kLabelPixels + 8 : 0;

    int width = 0, height = 0;
    PictureSize(request, width, height);
    const int rows = (count + kColumns - 1) / kColumns;
    const int stepX = width + kGutter, stepY = height + labelHeight + kGutter;
    Image sheet(kGutter + kColumns * stepX, kGutter + rows * stepY, QuarelNS::kSwatchBackground);

    for (int id = 0; id < count; ++id) {
        const int left = kGutter + (id % kColumns) * stepX;
        const int top = kGutter + (id / kColumns) * stepY;
        RenderRequest r = request;
        if (pattern != nullptr) {
            Assignment a;
            a.param = pattern;
            a.value.kind = ParamValue::Kind::Int;
            a.value.i = id;
            a.origin = "sheet";
            std::string error;
            ApplyAssignments(map, {a}, error);
            Interval valid = FOREVER;
            map->Update(0, valid);
            r.cells = CellsSettings(map, table);
        }
        RenderInto(r, map, sheet, left, top);
        if (!font) continue;
        std::string label = std::to_string(id);
        if (pattern != nullptr && static_cast<std::size_t>(id) < pattern->items.size())
            label += "  " + pattern->items[static_cast<std::size_t>(id)];
        // Shorten what does not fit under the swatch.
        while (label.size() > 3 && font->Width(label) > width) {
            label.erase(label.size() - 3);
            label += "..";
        }
        font->Draw(sheet, left, top + height + 4 + font->Ascent(), label, kLabelColour);
    }
    return sheet;
}

}  // namespace QuarelPreview
