// The module's parameter block descriptors, built from the parameter tables. They are static
// objects that register with their owners' class descriptors while the module loads, in this
// order: main blocks 0, 1, 2 and 3 (QuarelMap), block 100 (QuarelNormalMap), block 101
// (QuarelBumpProcMap), block 0 (QuarelNormalCarrierMtl). A class's blocks are listed, created
// and shown in that order.
#pragma once

#include "iparamb2.h"

namespace QuarelNS {

extern ParamBlockDesc2 gMainBlockDesc;
extern ParamBlockDesc2 gBumpBlockDesc;
extern ParamBlockDesc2 gNormalButtonBlockDesc;
extern ParamBlockDesc2 gBumpButtonBlockDesc;
extern ParamBlockDesc2 gNormalBlockDesc;
extern ParamBlockDesc2 gBumpProcBlockDesc;
extern ParamBlockDesc2 gCarrierBlockDesc;

}  // namespace QuarelNS
