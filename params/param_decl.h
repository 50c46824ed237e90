// Records of the parameter tables: one row per parameter with everything the host, the editor
// and the preview need (id, internal name, type, flags, display string, default, range and
// bound control), and one record per block. Each block is declared once, as a constexpr table;
// the block descriptors, the preview's preset names and the tests all read that table.
//
// Rows are written with the builders below, e.g.
//   Float(MainParam::random_shift, L"random_shift", kAnimatable, IDS_RANDOM_SHIFT, 0, 0, 0.5)
//       .Spinner(0, IDC_RANDOM_SHIFT_EDIT, IDC_RANDOM_SHIFT_SPIN, 0.01f)
// Ranges are in the units the bound control shows (degrees for TYPE_ANGLE).
//
// A row whose value shading reads also names its field in an evaluation snapshot and, if the
// copy is clamped, how:
//   Int(MainParam::nx, ...).Spinner(...).Into<&EvalSnapshot::nx>().Clamped()
// ReadSnapshot and ClampSnapshotRows below are then all a rebuild needs for that block.
#pragma once

#include <span>

#include "iparamb2.h"
#include "params/snapshot_slot.h"
#include "params/table_value.h"

namespace QuarelNS {

using ComboItemsFn = std::span<const StringResID> (*)();

// A row without a control (the SDK has no control type for it).
constexpr int kNoControl = -1;

struct ParamDecl {
    ParamID id = -1;  // stored in scene files; never renumbered
    const MCHAR* name = nullptr;
    int type = TYPE_FLOAT;  // a ParamType or ParamType2
    int flags = 0;
    StringResID nameStringId = 0;
    TableValue def{};
    TableValue lo{};  // both set: the range the bound control enforces
    TableValue hi{};
    MapID map = -1;            // rollout of the block that shows the control; -1: none
    int control = kNoControl;  // a ControlType or ControlType2
    EditSpinnerType spinType = EDITTYPE_FLOAT;
    int ctrlIds[2] = {0, 0};  // edit and spinner, or the one control
    float step = 0.f;
    ComboItemsFn comboItems = nullptr;  // TYPE_INT_COMBOBOX: item string ids, item index = value
    int subTexNo = -1;                  // P_SUBTEX: the owner's sub-map
    int ownerRefNo = -1;                // P_OWNERS_REF: the owner's reference
    SnapshotSlot slot{};                // the snapshot field the value is copied into
    TableValue clampLo{};               // the copy's clamps; kNone: that side open
    TableValue clampHi{};

    constexpr bool HasRange() const { return lo.IsSet() && hi.IsSet(); }
    constexpr bool IsClamped() const { return clampLo.IsSet() || clampHi.IsSet(); }

    // The value is copied into `Field` of its snapshot (angles as radians, as the block
    // stores them).
    template <auto Field>
    constexpr ParamDecl Into() const {
        ParamDecl p = *this;
        p.slot = SnapshotDetail::FieldOf<Field>::Slot();
        return p;
    }
    // The copy is clamped to the row's range (not for angles: the range is in degrees).
    constexpr ParamDecl Clamped() const {
        ParamDecl p = *this;
        p.clampLo = lo;
        p.clampHi = hi;
        return p;
    }
    // The copy is clamped from below only, at a limit of its own.
    constexpr ParamDecl ClampedAtLeast(TableValue limit) const {
        ParamDecl p = *this;
        p.clampLo = limit;
        return p;
    }

    constexpr ParamDecl Spinner(MapID m, int edit, int spin, float s) const {
        ParamDecl p = *this;
        p.map = m;
        p.control = TYPE_SPINNER;
        p.spinType = type == TYPE_INT ? EDITTYPE_INT : EDITTYPE_FLOAT;
        p.ctrlIds[0] = edit;
        p.ctrlIds[1] = spin;
        p.step = s;
        return p;
    }
    constexpr ParamDecl Combo(MapID m, int ctrl, ComboItemsFn items) const {
        return Bound(m, TYPE_INT_COMBOBOX, ctrl).WithItems(items);
    }
    constexpr ParamDecl Swatch(MapID m, int ctrl) const { return Bound(m, TYPE_COLORSWATCH, ctrl); }
    constexpr ParamDecl Check(MapID m, int ctrl) const {
        return Bound(m, TYPE_SINGLECHEKBOX, ctrl);
    }
    constexpr ParamDecl MapButton(MapID m, int ctrl) const {
        return Bound(m, TYPE_TEXMAPBUTTON, ctrl);
    }

private:
    constexpr ParamDecl Bound(MapID m, int c, int ctrl) const {
        ParamDecl p = *this;
        p.map = m;
        p.control = c;
        p.ctrlIds[0] = ctrl;
        return p;
    }
    constexpr ParamDecl WithItems(ComboItemsFn items) const {
        ParamDecl p = *this;
        p.comboItems = items;
        return p;
    }
};

constexpr int kNotAnimatable = 0;
constexpr int kAnimatable = P_ANIMATABLE;
// A map button that stands for a sub-map of the owner: the block holds no reference.
constexpr int kSubTexFlags = P_SUBTEX | P_NO_REF | P_SHORT_LABELS;  // 0x4900
// A map held in one of the owner's own references.
constexpr int kOwnersRefFlags = P_OWNERS_REF | P_SHORT_LABELS;  // 0x4200
static_assert(kSubTexFlags == 0x4900 && kOwnersRefFlags == 0x4200);

constexpr ParamDecl Int(ParamID id, const MCHAR* name, int flags, StringResID sid, int def, int lo,
                        int hi) {
    return {.id = id,
            .name = name,
            .type = TYPE_INT,
            .flags = flags,
            .nameStringId = sid,
            .def = def,
            .lo = lo,
            .hi = hi};
}
constexpr ParamDecl Float(ParamID id, const MCHAR* name, int flags, StringResID sid, float def,
                          float lo, float hi) {
    return {.id = id,
            .name = name,
            .type = TYPE_FLOAT,
            .flags = flags,
            .nameStringId = sid,
            .def = def,
            .lo = lo,
            .hi = hi};
}
constexpr ParamDecl Angle(ParamID id, const MCHAR* name, int flags, StringResID sid, float def,
                          float lo, float hi) {
    ParamDecl p = Float(id, name, flags, sid, def, lo, hi);
    p.type = TYPE_ANGLE;
    return p;
}
constexpr ParamDecl Rgba(ParamID id, const MCHAR* name, int flags, StringResID sid, Rgb def) {
    return {
        .id = id, .name = name, .type = TYPE_RGBA, .flags = flags, .nameStringId = sid, .def = def};
}
constexpr ParamDecl Bool(ParamID id, const MCHAR* name, StringResID sid, bool def) {
    return {.id = id, .name = name, .type = TYPE_BOOL, .nameStringId = sid, .def = def ? 1 : 0};
}
// A map parameter standing for sub-map `subTexNo` of the owner.
constexpr ParamDecl SubTexmap(ParamID id, const MCHAR* name, StringResID sid, int subTexNo) {
    return {.id = id,
            .name = name,
            .type = TYPE_TEXMAP,
            .flags = kSubTexFlags,
            .nameStringId = sid,
            .subTexNo = subTexNo};
}
// A map parameter held in the owner's reference `refNo`.
constexpr ParamDecl OwnersRefTexmap(ParamID id, const MCHAR* name, StringResID sid, int refNo) {
    return {.id = id,
            .name = name,
            .type = TYPE_TEXMAP,
            .flags = kOwnersRefFlags,
            .nameStringId = sid,
            .ownerRefNo = refNo};
}

struct RolloutDecl {
    MapID map;
    int dialogId;
    StringResID title;
};

struct BlockDecl {
    BlockID id;
    const MCHAR* name;
    USHORT flags;
    int version;     // with P_VERSION, else 0
    int ownerRefNo;  // the owner's reference slot of the block
    std::span<const RolloutDecl> rollouts;
    std::span<const ParamDecl> params;
};

// Reads every row of `table` that has a field in Snapshot from the block at t, in table order,
// each read narrowing `valid`; a failed read leaves the field as it was.
template <typename Snapshot>
void ReadSnapshot(IParamBlock2& pb, std::span<const ParamDecl> table, TimeValue t, Snapshot& s,
                  Interval& valid) {
    for (const ParamDecl& p : table)
        if (p.slot.BelongsTo<Snapshot>()) p.slot.read(pb, p.id, t, &s, valid);
}

// Applies the clamps of `table`'s rows to their fields in Snapshot, in table order.
template <typename Snapshot>
void ClampSnapshotRows(std::span<const ParamDecl> table, Snapshot& s) {
    for (const ParamDecl& p : table)
        if (p.slot.BelongsTo<Snapshot>() && p.IsClamped()) p.slot.clamp(&s, p.clampLo, p.clampHi);
}

// The row of `id` in a table, or null.
constexpr const ParamDecl* FindParam(std::span<const ParamDecl> table, ParamID id) {
    for (const ParamDecl& p : table)
        if (p.id == id) return &p;
    return nullptr;
}

}  // namespace QuarelNS
