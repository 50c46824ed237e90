// EvalSnapshot (params/snapshots.h): the clamped copies of every parameter that shading reads.
// The map's rebuild (QuarelMap::Update, main thread) fills it from the parameter blocks by
// their tables and then calls ClampSnapshot; every evaluator reads it without locks and never
// reads a parameter block.
#pragma once

#include "params/main_params.h"
#include "params/snapshots.h"

namespace QuarelNS {

// The clamps of the main block's rows, in table order. The texture relief amount is clamped
// by the rebuild, and only when it comes from the normal output.
inline void ClampSnapshot(EvalSnapshot& s) {
    ClampSnapshotRows(kMainParams, s);
}

}  // namespace QuarelNS
