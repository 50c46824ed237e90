#include "shading/eval_log.h"

#include <bit>

#include "base/diag_log.h"

namespace QuarelNS {

std::uint32_t NewLogStamp() {
    static std::atomic<std::uint32_t> last{0};
    std::uint32_t s = last.fetch_add(1, std::memory_order_relaxed) + 1;
    if (s == 0) s = last.fetch_add(1, std::memory_order_relaxed) + 1;  // after 2^32 rebuilds
    return s;
}

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

namespace {

bool SameBits(int i, float x) {
    return gState.masterBits[i].load(std::memory_order_relaxed) == std::bit_cast<std::uint32_t>(x);
}

}  // namespace

void CheckMasterValues(const BrickEvalSource& src, float u, float v, float um, float vm) {
    const EvalSnapshot& s = SnapshotOf(src);
    // Acquire: the bits compared below are at least those stored with the stamp seen.
    const std::uint32_t seen = gState.masterStamp.load(std::memory_order_acquire);
    if (gState.masterLogged.load(std::memory_order_relaxed) && SameBits(0, s.master_u_tiling) &&
        SameBits(1, s.master_v_tiling) && SameBits(2, s.master_u_offset) &&
        SameBits(3, s.master_v_offset) && SameBits(4, s.master_angle)) {
        // The values were logged already: later calls with this stamp need not compare them,
        // unless another change was logged meanwhile.
        std::uint32_t expected = seen;
        gState.masterStamp.compare_exchange_strong(expected, src.logStamp,
                                                   std::memory_order_relaxed);
        return;
    }
    const float values[5] = {s.master_u_tiling, s.master_v_tiling, s.master_u_offset,
                             s.master_v_offset, s.master_angle};
    for (int i = 0; i < 5; ++i)
        gState.masterBits[i].store(std::bit_cast<std::uint32_t>(values[i]),
                                   std::memory_order_relaxed);
    gState.masterLogged.store(true, std::memory_order_relaxed);
    gState.masterStamp.store(src.logStamp, std::memory_order_release);
    DiagLog(
        "EvalColor master changed: uv_in=(%.3f,%.3f) -> uv_out=(%.3f,%.3f)  masterT=(%.3f,%.3f) "
        "masterO=(%.3f,%.3f) masterA=%.3f  this=0x%p",
        u, v, um, vm, s.master_u_tiling, s.master_v_tiling, s.master_u_offset, s.master_v_offset,
        s.master_angle, src.owner);
}

}  // namespace EvalLogDetail
}  // namespace QuarelNS
