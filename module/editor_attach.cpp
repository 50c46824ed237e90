#include "module/editor_attach.h"

#include "params/block_descs.h"
#include "params/main_params.h"
#include "ui/rollout_procs.h"
#include "ui/swatch_cache.h"

namespace QuarelNS {

void AttachEditorProcedures() {
    gMainBlockDesc.SetUserDlgProc(kMainParamsMap, &TheParamDlgProc());
    gMainBlockDesc.SetUserDlgProc(kDiffuseMap, &TheDiffuseDlgProc());
    gNormalButtonBlockDesc.SetUserDlgProc(0, &TheNormalDlgProc());
}

void ReleaseEditorResources() {
    ReleasePatternSwatchBitmaps();
}

}  // namespace QuarelNS
