// The evaluators' log lines: the first colour evaluation and the first normal perturbation of
// the process, and every change of the master transform that any map of the process evaluates with.
//
// The state is process-wide and written from any render thread, so it is held in relaxed
// atomics: it decides only whether a line is written, never a result. Two threads that notice
// the same change at once may both write the line. Per call the checks cost one relaxed load
// each: the master values are compared only when the snapshot's stamp (BrickEvalSource::
// logStamp, new at every rebuild) is not the one whose values were logged or confirmed last.
// Formatting happens only when a line is written.
#pragma once

#include <atomic>
#include <cstdint>

#include "shading/brick_eval.h"

namespace QuarelNS {

namespace EvalLogDetail {
struct State {
    std::atomic<bool> firstColorLogged{false};
    std::atomic<bool> firstPerturbLogged{false};
    // The stamp of the snapshot whose master values equal the last logged ones; 0: none.
    std::atomic<std::uint32_t> masterStamp{0};
    std::atomic<bool> masterLogged{false};
    // master_u_tiling, master_v_tiling, master_u_offset, master_v_offset, master_angle as
    // bits: compared as bits, a NaN value is logged once instead of on every call.
    std::atomic<std::uint32_t> masterBits[5] = {};
};
extern State gState;

void LogFirstEvalColor(const void* owner);
void LogFirstEvalNormalPerturb(const void* owner);
void CheckMasterValues(const BrickEvalSource& src, float u, float v, float um, float vm);
}  // namespace EvalLogDetail

// A stamp for a snapshot just rebuilt, never 0 (0 marks a snapshot without one, whose master
// values are compared on every call). A snapshot changed after its stamp needs a new one.
std::uint32_t NewLogStamp();

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
inline void NoteMasterValues(const BrickEvalSource& src, float u, float v, float um, float vm) {
    const std::uint32_t stamp = src.logStamp;
    if (stamp != 0 && stamp == EvalLogDetail::gState.masterStamp.load(std::memory_order_relaxed))
        return;
    EvalLogDetail::CheckMasterValues(src, u, v, um, vm);
}

}  // namespace QuarelNS
