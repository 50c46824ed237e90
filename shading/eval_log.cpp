#include "shading/eval_log.h"

#include "base/diag_log.h"

namespace QuarelNS {
namespace EvalLogDetail {

State gState;

void LogFirstEvalColor(const void* owner) {
    // Only the thread that flips the flag writes the line.
    if (gState.firstColorLogged.exchange(true, std::memory_order_relaxed)) return;
    DiagLog("QuarelMap::EvalColor FIRST CALL, this=0x%p", owner);
}

void LogFirstEvalNormalPerturb(const void* owner) {
    if (gState.firstPerturbLogged.exchange(true, std::memory_order_relaxed)) return;
    DiagLog("QuarelMap::EvalNormalPerturb FIRST CALL, this=0x%p", owner);
}

void LogMasterChange(const EvalSnapshot& s, float u, float v, float um, float vm,
                     const void* owner) {
    const float values[5] = {s.master_u_tiling, s.master_v_tiling, s.master_u_offset,
                             s.master_v_offset, s.master_angle};
    for (int i = 0; i < 5; ++i)
        gState.masterBits[i].store(std::bit_cast<std::uint32_t>(values[i]),
                                   std::memory_order_relaxed);
    gState.masterLogged.store(true, std::memory_order_relaxed);
    DiagLog(
        "EvalColor master changed: uv_in=(%.3f,%.3f) -> uv_out=(%.3f,%.3f)  masterT=(%.3f,%.3f) "
        "masterO=(%.3f,%.3f) masterA=%.3f  this=0x%p",
        u, v, um, vm, s.master_u_tiling, s.master_v_tiling, s.master_u_offset, s.master_v_offset,
        s.master_angle, owner);
}

}  // namespace EvalLogDetail
}  // namespace QuarelNS
