// The evaluators' log lines: the first colour evaluation and the first normal perturbation of
// the process, and every change of the master transform that any map of the process evaluates with.
//
// The state is process-wide and written from any render thread, so it is held in relaxed
// atomics: it decides only whether a line is written, never a result. Two threads that notice
// the same change at once may both write the line. The checks cost a few relaxed loads and
// compares per call; formatting happens only when a line is written.
#pragma once

#include <atomic>
#include <bit>
#include <cstdint>

#include "shading/eval_snapshot.h"

namespace QuarelNS {

namespace EvalLogDetail {
struct State {
    std::atomic<bool> firstColorLogged{false};
    std::atomic<bool> firstPerturbLogged{false};
    std::atomic<bool> masterLogged{false};
    // master_u_tiling, master_v_tiling, master_u_offset, master_v_offset, master_angle as
    // bits: compared as bits, a NaN value is logged once instead of on every call.
    std::atomic<std::uint32_t> masterBits[5] = {};
};
extern State gState;

void LogFirstEvalColor(const void* owner);
void LogFirstEvalNormalPerturb(const void* owner);
void LogMasterChange(const EvalSnapshot& s, float u, float v, float um, float vm,
                     const void* owner);

inline bool SameBits(int i, float x) {
    return gState.masterBits[i].load(std::memory_order_relaxed) == std::bit_cast<std::uint32_t>(x);
}
}  // namespace EvalLogDetail

// "QuarelMap::EvalColor FIRST CALL, this=0x%p", once per process.
inline void NoteEvalColorCall(const void* owner) {
    if (!EvalLogDetail::gState.firstColorLogged.load(std::memory_order_relaxed))
        EvalLogDetail::LogFirstEvalColor(owner);
}

// "QuarelMap::EvalNormalPerturb FIRST CALL, this=0x%p", once per process.
inline void NoteEvalNormalPerturbCall(const void* owner) {
    if (!EvalLogDetail::gState.firstPerturbLogged.load(std::memory_order_relaxed))
        EvalLogDetail::LogFirstEvalNormalPerturb(owner);
}

// "EvalColor master changed: ..." when the snapshot's five master values differ from the ones
// last logged. (u, v) is the point before the master transform, (um, vm) after it.
inline void NoteMasterValues(const EvalSnapshot& s, float u, float v, float um, float vm,
                             const void* owner) {
    using namespace EvalLogDetail;
    if (gState.masterLogged.load(std::memory_order_relaxed) && SameBits(0, s.master_u_tiling) &&
        SameBits(1, s.master_v_tiling) && SameBits(2, s.master_u_offset) &&
        SameBits(3, s.master_v_offset) && SameBits(4, s.master_angle))
        return;
    LogMasterChange(s, u, v, um, vm, owner);
}

}  // namespace QuarelNS
