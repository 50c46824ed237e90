#include "preview/commands/run.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "maxapi.h"
#include "pattern/tile_seams.h"
#include "preview/commands/bake_files.h"
#include "preview/commands/editor_commands.h"
#include "preview/common/param_json.h"
#include "preview/common/progress.h"
#include "preview/editor/picker_record.h"
#include "preview/picture/sheet.h"
#include "preview/render/bake.h"
#include "preview/render/object_render.h"
#include "preview/render/profile_pictures.h"
#include "preview/render/relief_view.h"
#include "preview/render/sample.h"
#include "preview/setup/map_setup.h"
#include "preview/setup/missing_images.h"
#include "preview/setup/plugin_host.h"
#include "preview/setup/preset.h"
#include "preview/setup/relief_outputs.h"
#include "preview/setup/scene_io.h"

namespace QuarelPreview {

namespace {

// Empties the host's scene when a command that filled it ends: the scene's objects are the
// module's and must be gone before the module is.
struct SceneCleanup {
    bool used = false;
    ~SceneCleanup() {
        if (used) GetCOREInterface()->ResetScene();
    }
};

int ListParams(const ParamTable& table, bool json, std::FILE* out) {
    if (json) {
        std::fputs(ParamTableJson(table).c_str(), out);
        return kExitOk;
    }
    for (const auto& e : table.Entries())
        std::fprintf(out, "%-30s %-18s %s: %s\n", e->name.c_str(),
                     ("default " + e->defaultText).c_str(), DescribeRange(*e, false).c_str(),
                     ParamDescription(*e).c_str());
    return kExitOk;
}

// The patterns as the module shows them: ids and names from its picker menu, each under the
// group of the column it stands in.
int ListPatterns(const PluginHost& host, std::FILE* out, std::FILE* err) {
    std::string error;
    std::unique_ptr<MapSlot> slot = host.NewMap(error);
    std::vector<MenuEntry> items;
    if (!slot || !RecordPatternPicker(host, slot->Get(), items, error)) {
        std::fprintf(err, "%s: cannot list the patterns: %s\n", kProgram, error.c_str());
        return kExitFailed;
    }
    constexpr unsigned kFirstCommand = 0x8000;  // the picker's command id of pattern 0
    std::vector<std::pair<int, std::string>> lines;
    std::string group;
    for (const MenuEntry& item : items) {
        if (item.id == 0) {
            // A column's header: "-- Masonry --".
            group = item.text;
            if (group.rfind("-- ", 0) == 0) group.erase(0, 3);
            if (group.size() >= 3 && group.compare(group.size() - 3, 3, " --") == 0)
                group.erase(group.size() - 3);
            continue;
        }
        if (item.id < kFirstCommand) continue;
        char line[160];
        std::snprintf(line, sizeof line, "%2u  %-16s %s\n", item.id - kFirstCommand,
                      item.text.c_str(), group.c_str());
        lines.emplace_back(static_cast<int>(item.id - kFirstCommand), line);
    }
    std::sort(lines.begin(), lines.end());
    for (const auto& [id, line] : lines) std::fputs(line.c_str(), out);
    return kExitOk;
}

int ShowCommand(Texmap* map, const ParamTable& table, std::FILE* out, std::FILE* err) {
    std::vector<std::string> skipped;
    const std::string text = MapAsPreset(map, table, skipped);
    for (const std::string& s : skipped)
        std::fprintf(err, "%s: warning: left out %s: a preset has no such map\n", kProgram,
                     s.c_str());
    std::fputs(text.c_str(), out);
    return kExitOk;
}

// The name of the map's source, for default output names: the preset's file name, else the
// scene's (with the map's name), else empty.
std::string SourceName(const PreviewOptions& o) {
    std::string name;
    if (!o.preset.empty()) {
        name = std::filesystem::path(o.preset).stem().string();
    } else if (!o.scene.empty()) {
        name = std::filesystem::path(o.scene).stem().string();
        if (!o.mapName.empty()) name += "-" + o.mapName;
    }
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-') c = '-';
    return name;
}

// The prefix's files do not exist yet, or the first prefix-2, prefix-3, ... whose don't.
std::string FreeBakePrefix(const std::string& prefix, const BakeProfile& profile) {
    std::error_code ec;
    const auto taken = [&](const std::string& p) {
        for (const ProfileFile& f : profile.files)
            if (std::filesystem::exists(p + f.suffix + ".png", ec) ||
                std::filesystem::exists(p + f.suffix + ".exr", ec))
                return true;
        return std::filesystem::exists(p + ".json", ec) || std::filesystem::exists(p + ".gltf", ec);
    };
    if (!taken(prefix)) return prefix;
    for (int n = 2; n < 100000; ++n)
        if (!taken(prefix + "-" + std::to_string(n))) return prefix + "-" + std::to_string(n);
    return prefix;
}

}  // namespace

bool WriteImage(const Image& image, const std::string& path, std::FILE* out, std::FILE* err,
                bool grey) {
    return WriteImages({{image, path, grey}}, out, err);
}

bool WriteImages(const std::vector<PngFile>& files, std::FILE* out, std::FILE* err) {
    std::string error;
    std::vector<std::string> made;
    const bool written = WritePngFiles(files, error, &made);
    for (const std::string& folder : made)
        std::fprintf(err, "%s: made folder %s\n", kProgram, folder.c_str());
    if (!written) {
        std::fprintf(err, "%s: %s\n", kProgram, error.c_str());
        return false;
    }
    for (const PngFile& f : files) std::fprintf(out, "%s\n", f.path.c_str());
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
                     kProgram, width, height, kMaxPixels);
        return kExitRefused;
    }
    ProgressBar bar(!o.quiet && ProgressBar::StderrIsTerminal(),
                    static_cast<std::int64_t>(TileCount(r)) * swatches,
                    o.sheet ? "sheet" : "render");
    r.progress = &bar;

    Image image;
    std::string warning;
    if (o.sheet) {
        const auto prepare = [&](int id, RenderRequest& swatch) {
            if (pattern == nullptr) return;
            SelectPattern(map, *pattern, id);
            swatch.cells = CellsSettings(map, table);
        };
        image = RenderSheet(r, map, swatches,
                            pattern != nullptr ? pattern->items : std::vector<std::string>{},
                            prepare, warning);
    } else {
        image = Render(r, map);
    }
    bar.Finish();
    if (!warning.empty())
        std::fprintf(err, "%s: warning: labels left out: %s\n", kProgram, warning.c_str());

    std::string path = o.out;
    if (path.empty()) {
        ParamValue id;
        std::string name;
        if (pattern != nullptr && ReadParam(map, *pattern, id) && id.i >= 0 &&
            static_cast<std::size_t>(id.i) < pattern->items.size())
            name = pattern->items[static_cast<std::size_t>(id.i)];
        path = DefaultOutputPath(o, id.i, name);
    }
    // Heights are one value a pixel; the sheet's labels are not.
    const bool grey = o.output == Output::Height && !o.sheet;
    return WriteImage(image, path, out, err, grey) ? kExitOk : kExitFailed;
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

// A bake is meant to tile: says where its shape cannot (an error with --strict). True to go on.
bool CheckTileRepeats(const PreviewOptions& o, const BrickIdSettings& ids, std::FILE* err) {
    const std::vector<std::string> seams =
        QuarelNS::DescribeTileSeams(ids.cells, {ids.tileU, ids.tileV, ids.angle});
    for (const std::string& line : seams)
        std::fprintf(err, "%s: %s: the tile does not repeat: %s\n", kProgram,
                     o.strict ? "error" : "warning", line.c_str());
    return seams.empty() || !o.strict;
}

// The map's seed, which the roughness map's per-brick values follow as the colour's do.
std::uint32_t MapSeed(Texmap* map, const ParamTable& table) {
    const ParamEntry* seed = table.Find("seed");
    ParamValue value;
    if (seed == nullptr || !ReadParam(map, *seed, value)) return 0;
    return static_cast<std::uint32_t>(value.i);
}

// The bake's request from the options and the map.
BakeRequest BakeRequestOf(const PreviewOptions& o, const BakeProfile& profile, Texmap* map,
                          const ParamTable& table) {
    BakeRequest b;
    b.size = o.size;
    b.width = o.width;
    b.samples = o.samples;
    b.threads = o.threads;
    b.normalYDown = profile.normalYDown < 0 ? o.normalYDown : profile.normalYDown == 1;
    b.normalSource = o.normalFromOutput ? NormalSource::Output : NormalSource::Height;
    b.bevel = o.bevel;
    b.reliefDepth = o.reliefDepth;
    b.mapBevel = MapBevels(map, table);
    b.ids = BrickIdSettingsOf(map, table);
    b.roughness = {o.roughnessBrick, o.roughnessJoint, o.roughnessVariance, MapSeed(map, table)};
    b.occlusionRadius = o.occlusionRadius;
    return b;
}

// Engines that want power-of-two textures are told about a side that is not.
void WarnUnlessPowerOfTwo(const BakeProfile& profile, int width, int height, std::FILE* err) {
    const auto odd = [](int side) { return (side & (side - 1)) != 0; };
    if (!profile.wantsPowerOfTwo || (!odd(width) && !odd(height))) return;
    if (width == height)
        std::fprintf(err, "%s: warning: --size %d is not a power of two, which %s imports want\n",
                     kProgram, width, profile.target);
    else
        std::fprintf(err,
                     "%s: warning: --size %dx%d: %d is not a power of two, which %s imports want\n",
                     kProgram, width, height, odd(width) ? width : height, profile.target);
}

// Bakes the tiles and writes the profile's files.
int BakeCommand(const PreviewOptions& o, Texmap* map, const ParamTable& table, std::FILE* out,
                std::FILE* err) {
    const BakeProfile& profile = *FindBakeProfile(o.profile);  // the parser took only these
    BakeRequest b = BakeRequestOf(o, profile, map, table);
    WarnUnlessPowerOfTwo(profile, BakeWidth(b), b.size, err);
    if (!CheckTileRepeats(o, b.ids, err)) return kExitRefused;
    ProgressBar bar(!o.quiet && ProgressBar::StderrIsTerminal(), BakeTileCount(b), "bake");
    b.progress = &bar;
    const BakedTiles tiles = Bake(b, map);
    bar.Finish();

    std::string prefix = BakePrefix(o.out);
    if (prefix.empty()) {
        int id = 0;
        const std::string name = PatternName(map, table, id);
        prefix = FreeBakePrefix(BakePrefix(DefaultOutputName(o, id, name)), profile);
    }
    const auto pictures =
        ProfilePictures(profile, tiles, o.metallic, prefix,
                        o.heightFormat == "exr" ? HeightFormat::Exr : HeightFormat::Png16);
    std::vector<BakeText> texts = {{prefix + ".json", BakeInfoJson(profile, b, pictures)}};
    if (profile.gltfFile)
        texts.push_back(
            {prefix + ".gltf",
             BakeGltf(profile, pictures, std::filesystem::path(prefix).filename().string(),
                      static_cast<double>(b.size) / BakeWidth(b))});
    // One set: a failure leaves the maps of an earlier bake as they were, not half replaced.
    return WriteBakeSet(pictures, texts, out, err) ? kExitOk : kExitFailed;
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
    if (o.camera.size() == 3) r.camera = CameraPlace{o.camera[0], {o.camera[1], o.camera[2]}};
    if (o.light.size() == 2) r.light = ObjectAngles{o.light[0], o.light[1]};
    r.tiles = o.objectTiles;
    ProgressBar bar(!o.quiet && ProgressBar::StderrIsTerminal(), ObjectTileCount(r), o.object);
    r.progress = &bar;
    const Image image = RenderObject(r, map);
    bar.Finish();
    std::string path = o.out;
    if (path.empty()) {
        int id = 0;
        const std::string name = PatternName(map, table, id);
        path = DefaultOutputName(o, id, name);
        path = FreePath(path.insert(path.size() - 4, "-" + o.object));
    }
    return WriteImage(image, path, out, err) ? kExitOk : kExitFailed;
}

// A bake is laid side by side: a brick that the tile's edge cuts should stay one brick, unless
// the preset or --set says otherwise. Goes first, so that the map's own values may override it.
void BakeSeamlessByDefault(const ParamTable& table, std::vector<Assignment>& values,
                           std::FILE* err) {
    const ParamEntry* seamless = table.Find("seamless_bricks");
    if (seamless == nullptr) return;
    for (const Assignment& a : values)
        if (a.param == seamless) return;
    Assignment a;
    a.param = seamless;
    a.origin = "bake";
    a.value.kind = ParamValue::Kind::Bool;
    a.value.i = 1;
    values.insert(values.begin(), std::move(a));
    std::fprintf(err,
                 "%s: bake: seamless_bricks on, so that bricks cut by the tile's edge match "
                 "(--set seamless_bricks=false for the map's own per-part values)\n",
                 kProgram);
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
    for (std::size_t i = 0; i < o.sets.size(); ++i) {
        const auto& [name, value] = o.sets[i];
        const ParamEntry* p = table.Find(name);
        const std::string origin =
            i < o.setOrigins.size() ? o.setOrigins[i] : "--set " + name + "=" + value;
        if (p == nullptr) {
            error = origin + ": unknown parameter '" + name + "'; " + UnknownParamHint(table, name);
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

static void NoteOlderScenesOnly(const std::vector<Assignment>& values, std::FILE* err) {
    // The map reads these from its normal output's block; its own copies serve older scenes
    // only, so a value set here would otherwise change nothing without a word.
    for (const Assignment& a : values) {
        const std::string& name = a.param->name;
        if (name != "normal_depth" && name != "relief_tex_amount") continue;
        std::fprintf(err,
                     "%s: note: %s is read only when the map has no normal output (older "
                     "scenes); set normal.%s\n",
                     kProgram, a.origin.c_str(), name.c_str());
        return;
    }
}

std::string DefaultOutputName(const PreviewOptions& o, int pattern, const std::string& name) {
    const std::string source = SourceName(o);
    const std::string from = source.empty() ? "" : source + "-";
    if (o.sheet) {
        std::string path = "out/" + from + "patterns";
        if (o.output != Output::Color) path += std::string("-") + OutputName(o.output);
        if (o.projection == Projection::Box) path += "-box";
        return path + ".png";
    }
    if (o.command == Command::Picker) return "out/" + from + "picker.png";
    std::string clean = name;
    for (char& c : clean)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '-';
    std::string path = (o.command == Command::Bake     ? "out/bake-" + from
                        : o.command == Command::Swatch ? "out/swatch-" + from
                        : source.empty()               ? std::string("out/pattern-")
                                                       : "out/" + from) +
                       std::to_string(pattern);
    if (o.command == Command::Bake) return path + (clean.empty() ? "" : "-" + clean) + ".png";
    if (!clean.empty()) path += "-" + clean;
    if (o.output != Output::Color) path += std::string("-") + OutputName(o.output);
    if (o.projection == Projection::Box) path += "-box";
    return path + ".png";
}

std::string FreePath(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return path;
    const std::string stem = path.size() > 4 ? path.substr(0, path.size() - 4) : path;
    for (int n = 2; n < 100000; ++n) {
        const std::string next = stem + "-" + std::to_string(n) + ".png";
        if (!std::filesystem::exists(next, ec)) return next;
    }
    return path;
}

std::string DefaultOutputPath(const PreviewOptions& o, int pattern, const std::string& name) {
    return FreePath(DefaultOutputName(o, pattern, name));
}

int RunPreview(const PreviewOptions& o, std::FILE* in, std::FILE* out, std::FILE* err) {
    const std::string modulePath = o.module.empty() ? DefaultModulePath() : o.module;
    std::string error;
    std::unique_ptr<PluginHost> host = PluginHost::Load(modulePath, error);
    if (!host) {
        std::fprintf(err, "%s: %s\n", kProgram, error.c_str());
        return kExitFailed;
    }
    return RunWithHost(o, *host, in, out, err);
}

namespace {

// The box shows the "Accurate" projection: sample takes it as the box's default, which a preset
// or --set may change; pictures always show it.
void AddBoxProjection(const PreviewOptions& o, const ParamTable& table,
                      std::vector<Assignment>& values) {
    const ParamEntry* mode = table.Find("projection_mode");
    if (o.projection != Projection::Box || mode == nullptr) return;
    Assignment a;
    a.param = mode;
    a.origin = "--projection box";
    a.value.kind = ParamValue::Kind::Int;
    a.value.i = FindItem(*mode, "Accurate") >= 0 ? FindItem(*mode, "Accurate") : 1;
    if (o.command == Command::Sample)
        values.insert(values.begin(), std::move(a));
    else
        values.push_back(std::move(a));
}

// The map the command works on: the scene's (--scene), or a new one. Null with the exit code in
// `code` and the reason printed.
std::unique_ptr<MapSlot> OpenMap(const PreviewOptions& o, PluginHost& host, SceneCleanup& cleanup,
                                 int& code, std::FILE* err) {
    std::string error;
    if (o.scene.empty()) {
        std::unique_ptr<MapSlot> slot = host.NewMap(error);
        if (!slot) std::fprintf(err, "%s: %s\n", kProgram, error.c_str());
        code = kExitFailed;
        return slot;
    }
    // The module is loaded: the scene's objects are made by its class descriptors.
    cleanup.used = true;
    code = kExitRefused;
    LoadedScene loaded;
    if (!LoadSceneFile(o.scene, loaded, &error, o.imagePaths)) {
        std::fprintf(err, "%s: cannot load scene %s: %s\n", kProgram, o.scene.c_str(),
                     error.c_str());
        return nullptr;
    }
    // Every image the scene cannot use is named, with the maps that wanted it.
    if (const std::size_t n = ReportMissingImages(o.scene, loaded.missing, err);
        n > 0 && !o.allowMissing) {
        std::fprintf(err,
                     "%s: %zu image%s of the scene cannot be used; --allow-missing "
                     "renders %s as a magenta and black checker\n",
                     kProgram, n, n == 1 ? "" : "s", n == 1 ? "it" : "them");
        code = kExitMissing;
        return nullptr;
    }
    Texmap* picked = PickSceneMap(host.MapClass()->ClassID(), o.mapName, error);
    if (picked == nullptr) {
        std::fprintf(err, "%s: %s: %s\n", kProgram, o.scene.c_str(), error.c_str());
        return nullptr;
    }
    return std::make_unique<MapSlot>(picked);
}

// --save-scene: the map saved as a scene, named (so that --map finds it) after the preset it
// came from.
bool SaveScene(const PreviewOptions& o, Texmap* map, const Class_ID& mapClass,
               SceneCleanup& cleanup, std::FILE* err) {
    cleanup.used = true;
    if (map->GetName().isNull()) {
        const std::string name =
            o.preset.empty() ? "QuarelMap" : std::filesystem::path(o.preset).stem().string();
        map->SetName(MSTR(std::wstring(name.begin(), name.end()).c_str()));
    }
    std::string error;
    if (SaveMapScene(map, mapClass, o.saveScene, error)) return true;
    std::fprintf(err, "%s: %s\n", kProgram, error.c_str());
    return false;
}

// The commands that work on an updated map.
int RunMapCommand(const PreviewOptions& o, const PluginHost& host, Texmap* map,
                  const ParamTable& table, std::FILE* in, std::FILE* out, std::FILE* err) {
    switch (o.command) {
        case Command::Sample:
            return RunSample(map, o.output, CellsSettings(map, table), in, out, err,
                             o.projection == Projection::Box ? &o.box : nullptr)
                       ? kExitOk
                       : kExitRefused;
        case Command::Bake:
            return BakeCommand(o, map, table, out, err);
        case Command::Picker:
            return RunPicker(o, host, map, out, err);
        case Command::Show:
            return ShowCommand(map, table, out, err);
        default:
            return o.object.empty() ? RenderCommand(o, map, table, out, err)
                                    : ObjectCommand(o, map, table, out, err);
    }
}

// Makes or loads the map, sets the values, saves the scene if asked, updates the map and runs
// the command on it. The scene is emptied and the map released before the module goes.
int RunOnMap(const PreviewOptions& o, PluginHost& host, const ParamTable& table,
             const std::vector<Assignment>& values, std::FILE* in, std::FILE* out, std::FILE* err) {
    SceneCleanup cleanup;
    int code = kExitOk;
    const std::unique_ptr<MapSlot> slot = OpenMap(o, host, cleanup, code, err);
    if (!slot) return code;
    Texmap* map = slot->Get();
    std::string error;
    if (!ApplyAssignments(map, values, error, o.imagePaths)) {
        std::fprintf(err, "%s: %s\n", kProgram, error.c_str());
        return kExitRefused;
    }
    if (!o.saveScene.empty() && !SaveScene(o, map, host.MapClass()->ClassID(), cleanup, err))
        return kExitFailed;
    UpdateForRender(map);
    return RunMapCommand(o, host, map, table, in, out, err);
}

}  // namespace

int RunWithHost(const PreviewOptions& o, PluginHost& host, std::FILE* in, std::FILE* out,
                std::FILE* err) {
    ParamTable table;
    AddMapParams(host, table);
    if (o.command == Command::Params) return ListParams(table, o.json, out);
    if (o.command == Command::Patterns) return ListPatterns(host, out, err);
    if (o.command == Command::Swatch) return RunSwatch(o, table, out, err);

    std::vector<Assignment> values;
    std::string error;
    if (!ResolveAssignments(o, table, values, error)) {
        std::fprintf(err, "%s: %s\n", kProgram, error.c_str());
        return kExitRefused;
    }
    NoteOlderScenesOnly(values, err);
    AddBoxProjection(o, table, values);
    if (o.command == Command::Bake) BakeSeamlessByDefault(table, values, err);
    return RunOnMap(o, host, table, values, in, out, err);
}

int RunPreview(int argc, char** argv) {
    PreviewOptions options;
    if (const int code = ParseOptions(argc, argv, options); code >= 0) return code;
    return RunPreview(options, stdin, stdout, stderr);
}

}  // namespace QuarelPreview
