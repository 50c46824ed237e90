// quarel-preview: renders QuarelMap patterns to PNG images.
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>

#include "pattern/catalogue.h"
#include "pattern/swatch_colour.h"
#include "preview/cell_map.h"
#include "preview/image.h"
#include "preview/options.h"

namespace {

using namespace QuarelPreview;

constexpr int kSheetColumns = 6;
constexpr int kSheetGutter = 8;

// Every pattern of the catalogue in id order, six to a row, on the swatch background.
Image RenderSheet(const PreviewOptions& o) {
    const int rows = (QuarelNS::kPatternCount + kSheetColumns - 1) / kSheetColumns;
    const int step = o.size + kSheetGutter;
    Image sheet(kSheetGutter + kSheetColumns * step, kSheetGutter + rows * step,
                QuarelNS::kSwatchBackground);
    for (int id = 0; id < QuarelNS::kPatternCount; ++id) {
        CellMapRequest r{o.settings, o.size, o.repeat, o.threads};
        r.settings.pattern = id;
        RenderCellMap(r, sheet, kSheetGutter + (id % kSheetColumns) * step,
                      kSheetGutter + (id / kSheetColumns) * step);
    }
    return sheet;
}

std::string DefaultName(const PreviewOptions& o) {
    if (o.sheet) return "out/patterns.png";
    std::string name(QuarelNS::PatternInfoFor(o.settings.pattern).name);
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '-';
    return "out/pattern-" + std::to_string(o.settings.pattern) + "-" + name + ".png";
}

}  // namespace

int main(int argc, char** argv) {
    PreviewOptions options;
    if (const int code = ParseOptions(argc, argv, options); code >= 0) return code;

    const std::string path = options.out.empty() ? DefaultName(options) : options.out;
    std::error_code ec;
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ec);
    if (ec) {
        std::fprintf(stderr, "quarel-preview: cannot create %s: %s\n", parent.c_str(),
                     ec.message().c_str());
        return 1;
    }

    const Image image =
        options.sheet
            ? RenderSheet(options)
            : RenderCellMap({options.settings, options.size, options.repeat, options.threads});
    std::string error;
    if (!WritePng(image, path, error)) {
        std::fprintf(stderr, "quarel-preview: cannot write %s: %s\n", path.c_str(), error.c_str());
        return 1;
    }
    std::printf("%s\n", path.c_str());
    return 0;
}
