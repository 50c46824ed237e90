#include "wincheck/sample_check.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "preview/common/param_table.h"
#include "preview/render/point_context.h"
#include "preview/setup/plugin_host.h"

namespace QuarelWin {
namespace {

using QuarelPreview::ParamEntry;
using QuarelPreview::ParamValue;

int Refuse(const std::string& message) {
    std::fprintf(stderr, "quarel-wincheck sample: %s\n", message.c_str());
    return 2;
}

// The value put into the block as the preview puts a --set value.
bool Apply(Texmap* map, const ParamEntry& p, const ParamValue& v) {
    if (!p.prefix.empty()) return false;  // the relief outputs' parameters are not sampled here
    IParamBlock2* pb = map->GetParamBlockByID(p.block);
    if (pb == nullptr) return false;
    switch (v.kind) {
        case ParamValue::Kind::Int:
        case ParamValue::Kind::Bool:
            return pb->SetValue(p.id, 0, v.i) != FALSE;
        case ParamValue::Kind::Float:
            return pb->SetValue(p.id, 0, v.f) != FALSE;
        case ParamValue::Kind::Color:
            return pb->SetValue(p.id, 0, v.c) != FALSE;
        case ParamValue::Kind::Map:
            break;
    }
    return false;  // nested maps come from presets, which this check does not read
}

// "u v" or "u v du dv"; 0 for a blank or comment line, -1 for anything else.
int ParsePoint(const char* line, float (&v)[4]) {
    int n = 0;
    const char* p = line;
    for (;;) {
        while (std::isspace(static_cast<unsigned char>(*p))) ++p;
        if (*p == '\0' || (*p == '#' && n == 0)) break;
        if (n == 4) return -1;
        char* end = nullptr;
        v[n] = std::strtof(p, &end);
        if (end == p || (*end != '\0' && !std::isspace(static_cast<unsigned char>(*end))))
            return -1;
        p = end;
        ++n;
    }
    if (n == 0) return 0;
    if (n == 2) v[2] = v[3] = 0.f;
    return n == 2 || (n == 4 && v[2] >= 0.f && v[3] >= 0.f) ? 1 : -1;
}

}  // namespace

int RunSample(int argc, char** argv, const char* defaultModule) {
    std::string module = defaultModule;
    std::vector<std::string> sets;
    for (int i = 0; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--module") == 0 && hasValue) {
            module = argv[++i];
        } else if (std::strcmp(argv[i], "--set") == 0 && hasValue) {
            sets.emplace_back(argv[++i]);
        } else {
            return Refuse(std::string("unknown argument '") + argv[i] + "'");
        }
    }

    std::string error;
    std::unique_ptr<QuarelPreview::PluginHost> host =
        QuarelPreview::PluginHost::Load(module, error);
    if (!host) return Refuse(error);
    QuarelPreview::ParamTable table;
    table.AddClass(host->MapClass());

    int code = 0;
    {
        std::unique_ptr<QuarelPreview::MapSlot> slot = host->NewMap(error);
        if (!slot) return Refuse(error);
        Texmap* map = slot->Get();
        for (const std::string& set : sets) {
            const std::size_t eq = set.find('=');
            const std::string name = set.substr(0, eq);
            const ParamEntry* p = table.Find(name);
            if (eq == std::string::npos || p == nullptr)
                return Refuse("--set " + set + ": unknown parameter '" + name + "'");
            ParamValue value;
            if (!QuarelPreview::ParseParamText(*p, set.substr(eq + 1), value, error))
                return Refuse("--set " + set + ": " + error);
            if (!Apply(map, *p, value))
                return Refuse("--set " + set + ": the map's block refused the value");
        }
        Interval valid = FOREVER;
        map->Update(0, valid);

        const QuarelPreview::ShadeContextBuilder builder(map);
        QuarelPreview::PointShadeContext sc;
        char line[512];
        long number = 0;
        while (std::fgets(line, sizeof line, stdin) != nullptr) {
            ++number;
            float v[4];
            const int kind = ParsePoint(line, v);
            if (kind == 0) continue;
            if (kind < 0) {
                code = Refuse("standard input line " + std::to_string(number) +
                              ": a point is 'u v' or 'u v du dv'");
                break;
            }
            builder.SetPlanePoint(sc, v[0], v[1], v[2], v[3]);
            const AColor c = map->EvalColor(sc);
            std::printf("%.9g %.9g %.9g %.9g\n", static_cast<double>(c.r), static_cast<double>(c.g),
                        static_cast<double>(c.b), static_cast<double>(c.a));
        }
    }  // the map goes before its module
    std::fflush(stdout);
    return code;
}

}  // namespace QuarelWin
