#include "preview/picture/sheet.h"

#include "pattern/swatch_colour.h"
#include "preview/picture/label_font.h"

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

Image RenderSheet(const RenderRequest& request, Texmap* map, int count,
                  const std::vector<std::string>& names, const PrepareSwatch& prepare,
                  std::string& warning) {
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
        prepare(id, r);
        RenderInto(r, map, sheet, left, top);
        if (!font) continue;
        std::string label = std::to_string(id);
        if (static_cast<std::size_t>(id) < names.size())
            label += "  " + names[static_cast<std::size_t>(id)];
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
