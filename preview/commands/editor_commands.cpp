#include "preview/commands/editor_commands.h"

#include "preview/commands/run.h"
#include "preview/editor/menu_picture.h"
#include "preview/editor/picker_record.h"
#include "preview/editor/swatch_picture.h"
#include "preview/picture/label_font.h"

namespace QuarelPreview {

namespace {}  // namespace

int RunSwatch(const PreviewOptions& o, const ParamTable& table, std::FILE* out, std::FILE* err) {
    std::vector<Assignment> values;
    std::string error;
    if (!ResolveAssignments(o, table, values, error)) {
        std::fprintf(err, "%s: %s\n", kProgram, error.c_str());
        return kExitRefused;
    }
    int pattern = 0;  // the block's default
    for (const Assignment& a : values) {
        if (a.param->name != "pattern") {
            // Silently ignoring it would suggest the swatch shows it.
            std::fprintf(err, "%s: %s: a swatch shows the pattern alone, in fixed settings\n",
                         kProgram, a.origin.c_str());
            return kExitRefused;
        }
        pattern = a.value.i;
    }
    Image image;
    if (!DrawSwatchPicture(pattern, o.size, image, error)) {
        std::fprintf(err, "%s: %s\n", kProgram, error.c_str());
        return kExitFailed;
    }
    std::string path = o.out;
    if (path.empty()) {
        const ParamEntry* entry = table.Find("pattern");
        const bool named = entry != nullptr && pattern >= 0 &&
                           static_cast<std::size_t>(pattern) < entry->items.size();
        path = DefaultOutputPath(o, pattern,
                                 named ? entry->items[static_cast<std::size_t>(pattern)] : "");
    }
    return WriteImage(image, path, out, err) ? kExitOk : kExitFailed;
}

int RunPicker(const PreviewOptions& o, const PluginHost& host, Texmap* map, std::FILE* out,
              std::FILE* err) {
    std::vector<MenuEntry> items;
    std::string error;
    if (!RecordPatternPicker(host, map, items, error)) {
        std::fprintf(err, "%s: %s\n", kProgram, error.c_str());
        return kExitFailed;
    }
    std::string warning;
    std::unique_ptr<LabelFont> font = LabelFont::Open(kLabelPixels, warning);
    if (!font) std::fprintf(err, "%s: warning: labels left out: %s\n", kProgram, warning.c_str());
    const Image image = DrawMenuPicture(items, font.get());
    const std::string path = o.out.empty() ? DefaultOutputPath(o, 0, "") : o.out;
    return WriteImage(image, path, out, err) ? kExitOk : kExitFailed;
}

}  // namespace QuarelPreview
