// The one repair that makes a QuarelMap complete: its four blocks, its UV generator and its two
// relief outputs, each output with its own block. It also moves the relief depth and amount
// that older scenes keep in the map's relief block (slot 6) into the normal output's block,
// once, and only over an output still at the legacy values (1.0, 0.0).
//
// Runs after loading (QMPostLoadCallback), before the rollouts are built, after cloning and
// before a snapshot rebuild that finds the relief block missing. Main thread only; a null map
// is ignored. Every step looks at its slot afresh, so it sees what the steps before it made.
#pragma once

namespace QuarelNS {

class QuarelMap;

void QMEnsureEditorSafeRefs(QuarelMap* map);

}  // namespace QuarelNS
