// The preview as a host application: it loads QuarelMap.dlt through the host's module loader
// (DllMain and the six exports, as the host loads any plug-in), creates maps through the
// module's class descriptors and keeps each alive the way a material-editor slot does. The
// preview reaches the plug-in through nothing else, so what it shows is what a host gets.
//
// Main thread only. Maps must be released before the module goes (their code goes with it):
// MapSlot objects must not outlive the PluginHost that made them.
#pragma once

#include <memory>
#include <string>

#include "host/plugin_module.h"
#include "imtl.h"
#include "ref.h"

namespace QuarelPreview {

// The path of the module in the build tree, compiled in.
const char* DefaultModulePath();

// A map held by a reference, as a material-editor slot holds one.
class MapSlot {
public:
    explicit MapSlot(Texmap* map) : mHolder(map) {}
    Texmap* Get() const { return static_cast<Texmap*>(mHolder.GetRef()); }

private:
    SingleRefMaker mHolder;
};

class PluginHost {
public:
    // The loaded module, or null with `error` naming the path and the reason.
    static std::unique_ptr<PluginHost> Load(const std::string& path, std::string& error);

    PluginModule& Module() { return *mModule; }
    // The descriptor of the public QuarelMap class.
    ClassDesc* MapClass() const { return mMapClass; }
    // The descriptors of the map's two relief outputs, for their parameters; null when the
    // module has no such class.
    ClassDesc* NormalOutputClass() const { return mNormalClass; }
    ClassDesc* BumpOutputClass() const { return mBumpClass; }
    // A new QuarelMap made by its descriptor, or null when the descriptor gives no map.
    std::unique_ptr<MapSlot> NewMap(std::string& error) const;

private:
    std::unique_ptr<PluginModule> mModule;
    ClassDesc* mMapClass = nullptr;
    ClassDesc* mNormalClass = nullptr;
    ClassDesc* mBumpClass = nullptr;
};

}  // namespace QuarelPreview
