// Parent resolution after load: reconnects a relief output that no QuarelMap holds (a copy of
// an output placed in a material, say) to the first QuarelMap found in the scene.
//
// The walk is depth-first and pre-order over the materials of the scene's nodes: the root's
// children in index order, each node's material before its children, a map or material before
// its sub-maps, sub-maps before sub-materials. The root node's own material is not searched,
// and neither is anything outside the node tree (a map only in the material editor). The first
// QuarelMap met in that order is the answer; each map is listed once.
//
// Everything here runs on the host's main thread, once loading is complete. The walk is kept
// for one search only; each object is visited once, so shared sub-maps cost nothing twice and
// a sub-map cycle cannot trap it.
#pragma once

#include <vector>

#include "imtl.h"
#include "inode.h"

namespace QuarelNS {

class QuarelMap;
class QuarelNormalMap;
class QuarelBumpProcMap;

// What one search has found so far: the QuarelMaps in the order met, without duplicates, and
// every object already walked.
struct QuarelMapList {
    std::vector<QuarelMap*> maps;
    std::vector<const MtlBase*> walked;  // sorted, for the look-up
};

// Adds the QuarelMaps reachable from `object` (a material or a texture map; null adds nothing).
void CollectQuarelMaps(MtlBase* object, QuarelMapList& list);
// Adds those of the node's material, then those under each child node in index order.
void CollectQuarelMapsUnderNode(INode* node, QuarelMapList& list);
// The first QuarelMap of the scene, or null; logs what it found when the scene could be walked.
QuarelMap* FindAnyQuarelMapInScene();

// The post-load step of an output: nothing for null or for an output that already has a
// parent; otherwise the output gets the scene's first QuarelMap as its parent. A normal output
// that finds none stays an orphan silently; a bump output says so in the log.
void ResolveParentAfterLoad(QuarelNormalMap* output);
void ResolveParentAfterLoad(QuarelBumpProcMap* output);

}  // namespace QuarelNS
