#include "preview/setup/plugin_host.h"

namespace QuarelPreview {

const char* DefaultModulePath() {
    return QUAREL_DEFAULT_MODULE_PATH;
}

namespace {

ClassDesc* TexmapClass(const PluginModule& module, const MCHAR* name) {
    ClassDesc* cd = module.FindClass(name);
    return cd != nullptr && cd->SuperClassID() == TEXMAP_CLASS_ID ? cd : nullptr;
}

}  // namespace

std::unique_ptr<PluginHost> PluginHost::Load(const std::string& path, std::string& error) {
    std::unique_ptr<PluginModule> module = PluginModule::Load(path, &error);
    if (!module) return nullptr;
    ClassDesc* cd = module->FindClass(L"QuarelMap");
    if (cd == nullptr || cd->SuperClassID() != TEXMAP_CLASS_ID) {
        error = "module '" + path + "' has no texture map class QuarelMap";
        return nullptr;
    }
    auto host = std::unique_ptr<PluginHost>(new PluginHost);
    host->mNormalClass = TexmapClass(*module, L"QuarelMap Normal");
    host->mBumpClass = TexmapClass(*module, L"QuarelMap Bump");
    host->mModule = std::move(module);
    host->mMapClass = cd;
    return host;
}

std::unique_ptr<MapSlot> PluginHost::NewMap(std::string& error) const {
    // Create hands back the new object's Animatable base, as returned from new.
    auto* object = static_cast<Animatable*>(mMapClass->Create(FALSE));
    auto* map = dynamic_cast<Texmap*>(object);
    if (map == nullptr) {
        error = "the QuarelMap class of module '" + mModule->Path() + "' made no texture map";
        if (object != nullptr) object->DeleteThis();
        return nullptr;
    }
    return std::make_unique<MapSlot>(map);
}

}  // namespace QuarelPreview
