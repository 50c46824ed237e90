// Maps from and to the host's scene files, as the preview reads and writes them.
//
// A scene is searched the way the module itself searches one after loading: the scene root's
// children in order, each node's material before its children, a map or material before its
// sub-maps and sub-maps before sub-materials, each object once; the root's own material and
// maps held only outside the node tree are not part of it. A QuarelMap is recognised by the
// class id of the loaded module's descriptor. Main thread only.
#pragma once

#include <string>
#include <vector>

#include "host/scene_file.h"
#include "imtl.h"

namespace QuarelPreview {

// The QuarelMaps (class `mapClass`) of the current scene, in search order.
std::vector<Texmap*> SceneMaps(const Class_ID& mapClass);

// The first map of the current scene, or with a non-empty `name` the first whose name
// (MtlBase::GetName) is `name`. Null with `error` saying what the scene holds.
Texmap* PickSceneMap(const Class_ID& mapClass, const std::string& name, std::string& error);

// Saves the current scene to `path`, with `map` as the diffuse map of a new node's standard
// material when no node holds it yet; missing folders of `path` are made. False with `error`
// naming the path.
bool SaveMapScene(Texmap* map, const Class_ID& mapClass, const std::string& path,
                  std::string& error);

}  // namespace QuarelPreview
