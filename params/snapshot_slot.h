// Where a table row's value lives in an evaluation snapshot, and the two loops that use it: the
// read of a whole block at a time into a snapshot, and the snapshot's clamps. A snapshot is any
// plain struct of int32, float and Color fields; a row names its field with
// `.Into<&Snapshot::field>()`, so the row, not a hand-written list, says what is copied where.
#pragma once

#include <type_traits>

#include "iparamb2.h"

namespace QuarelNS {

// A distinct address per snapshot type: which struct a row's field belongs to.
template <typename Snapshot>
inline constexpr char kSnapshotTag = 0;

struct SnapshotSlot {
    const void* owner = nullptr;  // &kSnapshotTag<Snapshot>; null: the row is not copied
    // Reads the row's parameter at t into the field, narrowing `valid`.
    void (*read)(IParamBlock2& pb, ParamID id, TimeValue t, void* snap, Interval& valid) = nullptr;
    // The field's value, as the table writes values (angles stay radians).
    PB2Value (*get)(const void* snap) = nullptr;
    // Clamps the field to [lo, hi]; a bound of kind kNone leaves that side open. Null for
    // colours, which are never clamped.
    void (*clamp)(void* snap, const PB2Value& lo, const PB2Value& hi) = nullptr;

    template <typename Snapshot>
    constexpr bool BelongsTo() const {
        return owner == &kSnapshotTag<Snapshot>;
    }
};

namespace SnapshotDetail {

constexpr int Bound(const PB2Value& b, int) {
    return b.i;
}
constexpr float Bound(const PB2Value& b, float) {
    return b.f;
}

template <auto Field>
struct FieldOf;

template <typename Snapshot, typename T, T Snapshot::*Field>
struct FieldOf<Field> {
    static T& In(void* snap) { return static_cast<Snapshot*>(snap)->*Field; }

    static void Read(IParamBlock2& pb, ParamID id, TimeValue t, void* snap, Interval& valid) {
        pb.GetValue(id, t, In(snap), valid);
    }
    static PB2Value Get(const void* snap) {
        return PB2Value(static_cast<const Snapshot*>(snap)->*Field);
    }
    // Below lo becomes lo, above hi becomes hi; a NaN passes as it is.
    static void Clamp(void* snap, const PB2Value& lo, const PB2Value& hi) {
        T& v = In(snap);
        if (lo.kind != PB2Value::kNone && v < Bound(lo, T{})) v = Bound(lo, T{});
        if (hi.kind != PB2Value::kNone && v > Bound(hi, T{})) v = Bound(hi, T{});
    }

    static constexpr SnapshotSlot Slot() {
        SnapshotSlot s;
        s.owner = &kSnapshotTag<Snapshot>;
        s.read = &Read;
        s.get = &Get;
        if constexpr (!std::is_same_v<T, Color>) s.clamp = &Clamp;
        return s;
    }
};

}  // namespace SnapshotDetail

}  // namespace QuarelNS
