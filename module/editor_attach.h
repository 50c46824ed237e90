// Ties the editor UI to the parameter blocks: the rollout procedures go into the block
// descriptors when the module loads (the blocks do not know the editor), and the editor's
// process-wide drawing objects are released when it unloads.
#pragma once

namespace QuarelNS {

// Attaches QuarelMapParamDlgProc and QuarelMapDiffuseDlgProc to maps 0 and 1 of the main block
// and QuarelMapNormalDlgProc to map 0 of block 2.
void AttachEditorProcedures();

// Process detach: deletes the picker's swatch bitmaps without taking any device context.
void ReleaseEditorResources();

}  // namespace QuarelNS
