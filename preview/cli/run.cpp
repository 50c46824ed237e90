#include "preview/cli/run.h"

#include <cctype>
#include <filesystem>

#include "maxapi.h"
#include "preview/cli/progress.h"
#include "preview/editor/editor_commands.h"
#include "preview/picture/sheet.h"
#include "preview/render/bake.h"
#include "preview/render/object_render.h"
#include "preview/render/relief_view.h"
#include "preview/render/sample.h"
#include "preview/setup/map_setup.h"
#include "preview/setup/plugin_host.h"
#include "preview/setup/preset.h"
#include "preview/setup/scene_io.h"

namespace QuarelPreview {

namespace {

constexpr const char* kName = "quarel-preview";

// Empties the host's scene when a command that filled it ends: the scene's objects are the
// module's and must be gone before the module is.
struct SceneCleanup {
    bool used = false;
    ~SceneCleanup() {
        if (used) GetCOREInterface()->ResetScene();
    }
};

int ListParams(const ParamTable& table, std::FILE* out) {
    for (const auto& e : table.Entries())
        std::fprintf(out, "%-30s %s\n", e->name.c_str(), DescribeRange(*e, false).c_str());
    return kExitOk;
}

}  // namespace

bool WriteImage(const Image& image, const std::string& path, std::FILE* out, std::FILE* err) {
    std::error_code ec;
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ec);
    if (ec) {
        std::fprintf(err, "%s: cannot create %s: %s\n", kName, parent.c_str(),
                     ec.message().c_str());
        return false;
    }
    std::string error;
    if (!WritePng(image, path, error)) {
        std::fprintf(err, "%s: cannot write %s: %s\n", kName, path.c_str(), error.c_str());
        return false;
    }
    std::fprintf(out, "%s\n", path.c_str());
    return true;
}

namespace {

// Renders and writes the picture or the sheet.
int RenderCommand(const PreviewOptions& o, Texmap* map, const ParamTable& table, std::FILE* out,
                  std::FILE* err) {
    RenderRequest r;
    r.output = o.output;
    r.projection = o.projection;
    r.size = o.size;
    r.repeat = o.repeat;
    r.samples = o.samples;
    r.threads = o.threads;
    r.box = o.box;
    r.cells = CellsSettings(map, table);
    r.normalYDown = o.normalYDown;
    const ParamEntry* pattern = table.Find("pattern");
    const int swatches = o.sheet && pattern != nullptr ? static_cast<int>(pattern->hi) + 1 : 1;
    long long width = 0, height = 0;
    if (o.sheet) {
        SheetSize(r, swatches, width, height);
    } else {
        int w = 0, h = 0;
        PictureSize(r, w, h);
        width = w, height = h;
    }
    if (width * height > kMaxPixels) {
        std::fprintf(err, "%s: the picture would be %lld x %lld pixels; at most %lld in all\n",
                     kName, width, height, kMaxPixels);
        return kExitRefused;
    }
    ProgressBar bar(!o.quiet && ProgressBar::StderrIsTerminal(),
                    static_cast<std::int64_t>(TileCount(r)) * swatches,
                    o.sheet ? "sheet" : "render");
    r.progress = &bar;

    Image image;
    std::string warning;
    if (o.sheet) {
        image = RenderSheet(r, map, table, warning);
    } else {
        image = Render(r, map);
    }
    bar.Finish();
    if (!warning.empty())
        std::fprintf(err, "%s: warning: labels left out: %s\n", kName, warning.c_str());

    std::string path = o.out;
    if (path.empty()) {
        ParamValue id;
        std::string name;
        if (pattern != nullptr && ReadParam(map, *pattern, id) && id.i >= 0 &&
            static_cast<std::size_t>(id.i) < pattern->items.size())
            name = pattern->items[static_cast<std::size_t>(id.i)];
        path = DefaultOutputPath(o, id.i, name);
    }
    return WriteImage(image, path, out, err) ? kExitOk : kExitFailed;
}

// The name of the map's pattern, or an empty text.
std::string PatternName(Texmap* map, const ParamTable& table, int& id) {
    const ParamEntry* pattern = table.Find("pattern");
    ParamValue value;
    id = 0;
    if (pattern == nullptr || !ReadParam(map, *pattern, value)) return {};
    id = value.i;
    return id >= 0 && static_cast<std::size_t>(id) < pattern->items.size()
               ? pattern->items[static_cast<std::size_t>(id)]
               : std::string();
}

// Bakes the three tiles and writes them.
int BakeCommand(const PreviewOptions& o, Texmap* map, const ParamTable& table, std::FILE* out,
                std::FILE* err) {
    BakeRequest b;
    b.size = o.size;
    b.samples = o.samples;
    b.threads = o.threads;
    b.normalYDown = o.normalYDown;
    b.normalSource = o.normalFromOutput ? NormalSource::Output : NormalSource::Height;
    b.bevel = o.bevel;
    b.reliefDepth = o.reliefDepth;
    b.ids = BrickIdSettingsOf(map, table);
    ProgressBar bar(!o.quiet && ProgressBar::StderrIsTerminal(), BakeTileCount(b), "bake");
    b.progress = &bar;
    const BakedTiles tiles = Bake(b, map);
    bar.Finish();

    std::string prefix = o.out;
    if (prefix.empty()) {
        int id = 0;
        prefix = DefaultOutputPath(o, id, PatternName(map, table, id));
        prefix = prefix.substr(0, prefix.size() - 4);  // without ".png"
    }
    const bool ok = WriteImage(tiles.color, BakePath(prefix, "color"), out, err) &&
                    WriteImage(tiles.normal, BakePath(prefix, "normal"), out, err) &&
                    WriteImage(tiles.height, BakePath(prefix, "height"), out, err) &&
                    WriteImage(tiles.id, BakePath(prefix, "id"), out, err);
    return ok ? kExitOk : kExitFailed;
}

// Renders the map on a lit sample object and writes the picture.
int ObjectCommand(const PreviewOptions& o, Texmap* map, const ParamTable& table, std::FILE* out,
                  std::FILE* err) {
    ObjectRequest r;
    r.object = ObjectShapeFromName(o.object);
    r.size = o.size;
    r.samples = o.samples;
    r.threads = o.threads;
    r.bump = o.bump;
    ProgressBar bar(!o.quiet && ProgressBar::StderrIsTerminal(), ObjectTileCount(r), o.object);
    r.progress = &bar;
    const Image image = RenderObject(r, map);
    bar.Finish();
    std::string path = o.out;
    if (path.empty()) {
        int id = 0;
        const std::string name = PatternName(map, table, id);
        path = DefaultOutputPath(o, id, name);
        path.insert(path.size() - 4, "-" + o.object);
    }
    return WriteImage(image, path, out, err) ? kExitOk : kExitFailed;
}

}  // namespace

void AddMapParams(const PluginHost& host, ParamTable& table) {
    table.AddClass(host.MapClass());
    // The relief outputs' blocks repeat names of the map's own relief block: a prefix each.
    if (host.NormalOutputClass() != nullptr)
        table.AddClass(host.NormalOutputClass(), kNormalPrefix);
    if (host.BumpOutputClass() != nullptr) table.AddClass(host.BumpOutputClass(), kBumpPrefix);
}

bool ResolveAssignments(const PreviewOptions& o, const ParamTable& table,
                        std::vector<Assignment>& out, std::string& error) {
    if (o.sheet && o.command == Command::Render &&
        !ParsePreset(kSheetPreset, table, "sheet settings", "", out, error))
        return false;
    if (!o.preset.empty() && !LoadPresetFile(o.preset, table, out, error)) return false;
    for (const auto& [name, value] : o.sets) {
        const ParamEntry* p = table.Find(name);
        const std::string origin = "--set " + name + "=" + value;
        if (p == nullptr) {
            error =
                origin + ": unknown parameter '" + name + "' (quarel-preview params lists them)";
            return false;
        }
        Assignment a;
        a.param = p;
        a.origin = origin;
        std::string why;
        if (!ParseParamText(*p, value, a.value, why)) {
            error = origin + ": " + why;
            return false;
        }
        out.push_back(std::move(a));
    }
    return true;
}

std::string DefaultOutputPath(const PreviewOptions& o, int pattern, const std::string& name) {
    if (o.sheet) {
        std::string path = "out/patterns";
        if (o.output != Output::Color) path += std::string("-") + OutputName(o.output);
        if (o.projection == Projection::Box) path += "-box";
        return path + ".png";
    }
    if (o.command == Command::Picker) return "out/picker.png";
    std::string clean = name;
    for (char& c : clean)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '-';
    std::string path = (o.command == Command::Bake     ? "out/bake-"
                        : o.command == Command::Swatch ? "out/swatch-"
                                                       : "out/pattern-") +
                       std::to_string(pattern);
    if (o.command == Command::Bake) return path + (clean.empty() ? "" : "-" + clean) + ".png";
    if (!clean.empty()) path += "-" + clean;
    if (o.output != Output::Color) path += std::string("-") + OutputName(o.output);
    if (o.projection == Projection::Box) path += "-box";
    return path + ".png";
}

int RunPreview(const PreviewOptions& o, std::FILE* in, std::FILE* out, std::FILE* err) {
    const std::string modulePath = o.module.empty() ? DefaultModulePath() : o.module;
    std::string error;
    std::unique_ptr<PluginHost> host = PluginHost::Load(modulePath, error);
    if (!host) {
        std::fprintf(err, "%s: %s\n", kName, error.c_str());
        return kExitFailed;
    }
    return RunWithHost(o, *host, in, out, err);
}

int RunWithHost(const PreviewOptions& o, PluginHost& host, std::FILE* in, std::FILE* out,
                std::FILE* err) {
    std::string error;
    ParamTable table;
    AddMapParams(host, table);
    if (o.command == Command::Params) return ListParams(table, out);
    if (o.command == Command::Swatch) return RunSwatch(o, table, out, err);

    std::vector<Assignment> values;
    if (!ResolveAssignments(o, table, values, error)) {
        std::fprintf(err, "%s: %s\n", kName, error.c_str());
        return kExitRefused;
    }
    if (o.projection == Projection::Box) {
        // The box shows the "Accurate" projection.
        if (const ParamEntry* mode = table.Find("projection_mode")) {
            Assignment a;
            a.param = mode;
            a.origin = "--projection box";
            a.value.kind = ParamValue::Kind::Int;
            a.value.i = FindItem(*mode, "Accurate") >= 0 ? FindItem(*mode, "Accurate") : 1;
            // sample takes it as the box's default: a preset or --set may choose otherwise.
            if (o.command == Command::Sample)
                values.insert(values.begin(), std::move(a));
            else
                values.push_back(std::move(a));
        }
    }

    int code = kExitOk;
    {
        SceneCleanup cleanup;
        std::unique_ptr<MapSlot> slot;
        const Class_ID mapClass = host.MapClass()->ClassID();
        if (!o.scene.empty()) {
            // The module is loaded: the scene's objects are made by its class descriptors.
            cleanup.used = true;
            LoadedScene loaded;
            if (!LoadSceneFile(o.scene, loaded, &error)) {
                std::fprintf(err, "%s: cannot load scene %s: %s\n", kName, o.scene.c_str(),
                             error.c_str());
                return kExitRefused;
            }
            Texmap* picked = PickSceneMap(mapClass, o.mapName, error);
            if (picked == nullptr) {
                std::fprintf(err, "%s: %s: %s\n", kName, o.scene.c_str(), error.c_str());
                return kExitRefused;
            }
            slot = std::make_unique<MapSlot>(picked);
        } else {
            slot = host.NewMap(error);
            if (!slot) {
                std::fprintf(err, "%s: %s\n", kName, error.c_str());
                return kExitFailed;
            }
        }
        Texmap* map = slot->Get();
        if (!ApplyAssignments(map, values, error)) {
            std::fprintf(err, "%s: %s\n", kName, error.c_str());
            return kExitRefused;
        }
        if (!o.saveScene.empty()) {
            cleanup.used = true;
            if (!SaveMapScene(map, mapClass, o.saveScene, error)) {
                std::fprintf(err, "%s: %s\n", kName, error.c_str());
                return kExitFailed;
            }
        }
        // Before any evaluation, on this thread, as a renderer does: every map it shows is
        // updated, the relief outputs (which evaluation never updates) included.
        Interval valid = FOREVER;
        map->Update(0, valid);
        for (std::string_view prefix : {kNormalPrefix, kBumpPrefix})
            if (Texmap* output = ReliefOutputFor(map, prefix)) output->Update(0, valid);
        if (o.command == Command::Sample)
            code = RunSample(map, o.output, CellsSettings(map, table), in, out, err,
                             o.projection == Projection::Box ? &o.box : nullptr);
        else if (o.command == Command::Bake)
            code = BakeCommand(o, map, table, out, err);
        else if (o.command == Command::Picker)
            code = RunPicker(o, host, map, out, err);
        else if (!o.object.empty())
            code = ObjectCommand(o, map, table, out, err);
        else
            code = RenderCommand(o, map, table, out, err);
    }  // the map goes before its module
    return code;
}

int RunPreview(int argc, char** argv) {
    PreviewOptions options;
    if (const int code = ParseOptions(argc, argv, options); code >= 0) return code;
    return RunPreview(options, stdin, stdout, stderr);
}

}  // namespace QuarelPreview
