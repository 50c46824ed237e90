// Where a table row's value lives in an evaluation snapshot, and the two loops that use it: the
// read of a whole block at a time into a snapshot, and the snapshot's clamps. A snapshot is any
// plain struct of int32, float and Color fields; a row names its field with
// `.Into<&Snapshot::field>()`, so the row, not a hand-written list, says what is copied where.
#pragma once

#include <type_traits>

#include "iparamb2.h"
#include "params/table_value.h"

namespace QuarelNS {

// A distinct address per snapshot type: which struct a row's field belongs to.
template <typename Snapshot>
inline constexpr char kSnapshotTag = 0;

struct SnapshotSlot {
    const void* owner = nullptr;  // &kSnapshotTag<Snapshot>; null: the row is not copied
    // Reads the row's parameter at t into the field, narrowing `valid`.
    void (*read)(IParamBlock2& pb, ParamID id, TimeValue t, void* snap, Interval& valid) = nullptr;
    // The field's value, as the table writes values (angles stay radians).
    TableValue (*get)(const void* snap) = nullptr;
    // Clamps the field to [lo, hi]; a bound of kind kNone leaves that side open. Null for
    // colours, which are never clamped.
    void (*clamp)(void* snap, const TableValue& lo, const TableValue& hi) = nullptr;

    template <typename Snapshot>
    constexpr bool BelongsTo() const {
        return owner == &kSnapshotTag<Snapshot>;
    }
};

namespace SnapshotDetail {

constexpr int Bound(const TableValue& b, int) {
    return b.i;
}
constexpr float Bound(const TableValue& b, float) {
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
    static TableValue Get(const void* snap) {
        const T& v = static_cast<const Snapshot*>(snap)->*Field;
        if constexpr (std::is_same_v<T, Color>)
            return TableValue(Rgb{v.r, v.g, v.b});
        else
            return TableValue(v);
    }
    // Below lo becomes lo, above hi becomes hi; a NaN passes as it is.
    static void Clamp(void* snap, const TableValue& lo, const TableValue& hi) {
        T& v = In(snap);
        if (lo.IsSet() && v < Bound(lo, T{})) v = Bound(lo, T{});
        if (hi.IsSet() && v > Bound(hi, T{})) v = Bound(hi, T{});
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
