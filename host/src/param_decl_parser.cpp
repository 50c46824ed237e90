// Block declarations read strictly: a wrong kind of argument, an unknown tag, a missing p_end
// or an argument left over is a fault, reported and kept, never a silent misreading.
#include "param_decl_parser.h"

#include <cstdio>
#include <string>

#include "host/param_declarations.h"

namespace quarel_host {
namespace {

using Kind = PB2Arg::Kind;

struct DeclFault {
    std::string what;
};

// Internal names are ASCII identifiers; anything else shows as '?'.
std::string Ascii(const MCHAR* s) {
    std::string out;
    for (; s && *s; ++s) out += (*s > 0 && *s < 128) ? static_cast<char>(*s) : '?';
    return out;
}

const char* KindName(Kind k) {
    switch (k) {
        case Kind::Int:
            return "an int";
        case Kind::Double:
            return "a float";
        case Kind::Text:
            return "a string";
        case Kind::Pointer:
            return "a pointer";
        case Kind::Point3:
            return "a Point3 or Color";
        case Kind::AColor:
            return "an AColor";
    }
    return "?";
}

bool IsTag(const PB2Arg& a) {
    return a.kind == Kind::Int && a.i >= p_end && a.i <= p_tooltip;
}

bool IsFloatType(int t) {
    return t == TYPE_FLOAT || t == TYPE_ANGLE || t == TYPE_PCNT_FRAC || t == TYPE_WORLD ||
           t == TYPE_COLOR_CHANNEL;
}
bool IsIntType(int t) {
    return t == TYPE_INT || t == TYPE_BOOL || t == TYPE_TIMEVALUE || t == TYPE_RADIOBTN_INDEX ||
           t == TYPE_INDEX;
}
bool IsPointType(int t) {
    return t == TYPE_RGBA || t == TYPE_POINT3 || t == TYPE_HSV;
}

// The arguments of one call, read front to back.
class Cursor {
public:
    Cursor(ParamBlockDesc2& d, DeclParser::Args args)
        : mDesc(d), mAt(args.begin()), mEnd(args.end()) {}

    [[noreturn]] void Fail(const std::string& what) const { throw DeclFault{mWhere + what}; }
    void SetWhere(std::string where) { mWhere = std::move(where); }
    bool AtEnd() const { return mAt == mEnd; }
    const PB2Arg& Peek(const char* what) const {
        if (AtEnd()) Fail(std::string("the declaration ends where ") + what + " was due");
        return *mAt;
    }
    const PB2Arg& Take(Kind k, const char* what) {
        const PB2Arg& a = Peek(what);
        if (a.kind != k || IsTag(a))
            Fail(std::string(what) + " must be " + KindName(k) + ", found " +
                 (IsTag(a) ? "a tag" : KindName(a.kind)));
        ++mAt;
        return a;
    }
    int Int(const char* what) { return static_cast<int>(Take(Kind::Int, what).i); }
    int Tag(const char* what) {
        const PB2Arg& a = Peek(what);
        if (!IsTag(a)) {
            std::string msg = std::string(what) + " must be a tag, found " + KindName(a.kind);
            if (a.kind == Kind::Int)
                msg.append(" ").append(std::to_string(a.i)).append(" (a missing p_end?)");
            Fail(msg);
        }
        ++mAt;
        return static_cast<int>(a.i);
    }
    void End(const char* what) {
        if (Tag(what) != p_end) Fail(std::string(what) + " must be p_end");
    }
    void NothingLeft() const {
        if (!AtEnd()) Fail("arguments follow the closing p_end");
    }
    ParamBlockDesc2& Desc() { return mDesc; }
    ParamBlockDesc2::Storage& Store() { return DeclParser::StorageOf(mDesc); }

private:
    ParamBlockDesc2& mDesc;
    const PB2Arg* mAt;
    const PB2Arg* mEnd;
    std::string mWhere;
};

std::string ParamWhere(const ParamDef& p) {
    return "parameter " + std::to_string(p.ID) + " '" + Ascii(p.int_name) + "': ";
}

void ReadValue(Cursor& c, const ParamDef& p, PB2Value& v, const char* what) {
    if (IsFloatType(p.type)) {
        v.f = static_cast<float>(c.Take(Kind::Double, what).d);
    } else if (IsIntType(p.type)) {
        v.i = c.Int(what);
    } else if (IsPointType(p.type)) {
        const PB2Arg& a = c.Take(Kind::Point3, what);
        v.p = &c.Store().points.emplace_back(a.v[0], a.v[1], a.v[2]);
    } else {
        c.Fail(std::string(what) + ": this parameter type takes no value here");
    }
}

void ReadControlIds(Cursor& c, ParamDef& p, int count) {
    auto& ids = c.Store().idLists.emplace_back();
    for (int k = 0; k < count; ++k) ids.push_back(c.Int("a control id"));
    p.ctrl_IDs = ids.data();
    p.ctrl_count = static_cast<short>(count);
}

void Require(Cursor& c, bool ok, const char* control) {
    if (!ok) c.Fail(std::string(control) + " does not suit this parameter type");
}

void ReadComboItems(Cursor& c, ParamDef& p) {
    const int n = c.Int("the combo box's item count");
    if (n < 0) c.Fail("the combo box's item count is negative");
    auto& items = c.Store().itemLists.emplace_back();
    for (int k = 0; k < n; ++k) {
        const int sid = c.Int("a combo box item string id");
        items.Append(1, &sid);
    }
    p.mStringItems = &items;
}

void ReadUi(Cursor& c, ParamDef& p) {
    const int type = p.type;
    ParamBlockDesc2& d = c.Desc();
    if (!(d.flags & P_AUTO_UI)) c.Fail("p_ui in a block without P_AUTO_UI");
    p.mapID = (d.flags & P_MULTIMAP) ? c.Int("p_ui's map id") : 0;
    bool known = false;
    for (int i = 0; i < d.map_specs.Count(); ++i) known = known || d.map_specs[i].map_id == p.mapID;
    if (!known) c.Fail("p_ui names map " + std::to_string(p.mapID) + ", which has no rollout");
    const int ctrl = c.Int("p_ui's control type");
    p.ctrl_type = static_cast<ControlType2>(ctrl);
    switch (ctrl) {
        case TYPE_SPINNER:
            Require(c, IsFloatType(type) || IsIntType(type), "TYPE_SPINNER");
            p.spin_type = static_cast<EditSpinnerType>(c.Int("the spinner's edit type"));
            ReadControlIds(c, p, 2);
            p.scale = static_cast<float>(c.Take(Kind::Double, "the spinner's scale").d);
            return;
        case TYPE_SINGLECHECKBOX:
            Require(c, type == TYPE_BOOL || type == TYPE_INT, "TYPE_SINGLECHECKBOX");
            return ReadControlIds(c, p, 1);
        case TYPE_COLORSWATCH:
            Require(c, IsPointType(type) || type == TYPE_FRGBA, "TYPE_COLORSWATCH");
            return ReadControlIds(c, p, 1);
        case TYPE_TEXMAPBUTTON:
            Require(c, type == TYPE_TEXMAP, "TYPE_TEXMAPBUTTON");
            return ReadControlIds(c, p, 1);
        case TYPE_MTLBUTTON:
            Require(c, type == TYPE_MTL, "TYPE_MTLBUTTON");
            return ReadControlIds(c, p, 1);
        case TYPE_INT_COMBOBOX:
            Require(c, type == TYPE_INT, "TYPE_INT_COMBOBOX");
            ReadControlIds(c, p, 1);
            return ReadComboItems(c, p);
        default:
            c.Fail("control type " + std::to_string(ctrl) + " is not one the stand-in shows");
    }
}

// One tag with its values; false for p_end.
bool ReadTag(Cursor& c, ParamDef& p, int tag) {
    switch (tag) {
        case p_end:
            return false;
        case p_default:
            ReadValue(c, p, p.def, "p_default's value");
            p.flags |= P_HAS_DEFAULT;
            return true;
        case p_ms_default:
            ReadValue(c, p, p.ms_def, "p_ms_default's value");
            p.flags |= P_HAS_MS_DEFAULT;
            return true;
        case p_range:
            if (IsPointType(p.type)) c.Fail("p_range on a colour or point parameter");
            ReadValue(c, p, p.range_low, "p_range's low value");
            ReadValue(c, p, p.range_high, "p_range's high value");
            p.flags |= P_HAS_RANGE;
            return true;
        case p_ui:
            ReadUi(c, p);
            return true;
        case p_subtexno:
            if (!(p.flags & P_SUBTEX)) c.Fail("p_subtexno without P_SUBTEX");
            p.sub_texno = c.Int("p_subtexno's number");
            p.flags |= P_HAS_SUBTEXNO;
            return true;
        case p_refno:
            if (!(p.flags & P_OWNERS_REF)) c.Fail("p_refno without P_OWNERS_REF");
            p.ref_no = c.Int("p_refno's number");
            p.flags |= P_HAS_REFNO;
            return true;
        case p_tooltip:
            c.Int("p_tooltip's string id");
            return true;
        default:
            c.Fail("tag " + std::to_string(tag - p_end) +
                   " after p_end is not one the stand-in reads");
    }
}

void ReadTags(Cursor& c, ParamDef& p) {
    while (ReadTag(c, p, c.Tag("the next tag or p_end"))) {
    }
}

void Index(ParamBlockDesc2::Storage& s, ParamID id, int at) {
    if (static_cast<std::size_t>(id) >= s.index.size()) s.index.resize(id + 1, -1);
    s.index[id] = at;
}

// A parameter's fixed arguments after its id; then its tags up to p_end.
void ReadParam(Cursor& c, std::deque<ParamDef>& params, ParamID id) {
    if (id < 0) c.Fail("parameter id " + std::to_string(id) + " is out of range");
    if (c.Desc().IDtoIndex(id) >= 0)
        c.Fail("parameter id " + std::to_string(id) + " is declared twice");
    ParamDef& p = params.emplace_back();
    c.Store().byIndex.push_back(&p);
    p.ID = id;
    p.int_name = static_cast<const MCHAR*>(c.Take(Kind::Text, "the internal name").ptr);
    c.SetWhere(ParamWhere(p));
    const int type = c.Int("the type");
    if (type < TYPE_FLOAT || type > TYPE_FRGBA) c.Fail("the type is not a ParamType2");
    p.type = static_cast<ParamType2>(type);
    p.flags = static_cast<ULONGLONG>(static_cast<unsigned>(c.Int("the flags")));
    if (p.flags & P_VARIABLE_SIZE) c.Fail("tables (P_VARIABLE_SIZE) are not read by the stand-in");
    p.local_name = c.Int("the string id");
    Index(c.Store(), id, static_cast<int>(params.size()) - 1);
    ReadTags(c, p);
}

void ReadRollouts(Cursor& c) {
    ParamBlockDesc2& d = c.Desc();
    const bool multi = (d.flags & P_MULTIMAP) != 0;
    const int n = multi ? c.Int("the rollout count") : 1;
    if (n < 0) c.Fail("the rollout count is negative");
    for (int i = 0; i < n; ++i) {
        ParamBlockDesc2::map_spec m;
        m.map_id = multi ? c.Int("a rollout's map id") : 0;
        m.dlg_template = c.Int("a rollout's dialog template");
        m.title = c.Int("a rollout's title string id");
        m.test_flags = c.Int("a rollout's test flags");
        m.rollup_flags = c.Int("a rollout's rollup flags");
        m.dlgProc = static_cast<ParamMap2UserDlgProc*>(
            const_cast<void*>(c.Take(Kind::Pointer, "a rollout's dialog procedure").ptr));
        d.map_specs.Append(1, &m);
    }
}

std::string BlockWhere(const ParamBlockDesc2& d) {
    return "block " + std::to_string(d.ID) + " '" + Ascii(d.int_name) + "': ";
}

template <typename Fn>
void Guarded(ParamBlockDesc2& d, Fn&& fn) {
    if (!DeclParser::StorageOf(d).error.empty()) return;  // the first fault stands
    try {
        fn();
    } catch (const DeclFault& f) {
        DeclParser::Fail(d, f.what);
    }
}

constexpr USHORT kUnreadBlockFlags =
    P_USE_PARAMS | P_INCLUDE_PARAMS | P_SCRIPTED_CLASS | P_HASCATEGORY;

}  // namespace

void DeclParser::Fail(ParamBlockDesc2& d, const std::string& what) {
    std::string& e = StorageOf(d).error;
    if (!e.empty()) return;
    e = BlockWhere(d) + what;
    std::fprintf(stderr, "ParamBlockDesc2: %s\n", e.c_str());
}

void DeclParser::Block(ParamBlockDesc2& d, Args args) {
    Guarded(d, [&] {
        Cursor c(d, args);
        if (d.flags & kUnreadBlockFlags) c.Fail("block flags the stand-in does not read");
        if (d.flags & P_VERSION) d.version = c.Int("the version");
        if (d.flags & P_AUTO_CONSTRUCT) d.ref_no = c.Int("the owner's reference number");
        if (d.flags & P_AUTO_UI) ReadRollouts(c);
        for (;;) {
            const PB2Arg& a = c.Peek("a parameter id or the closing p_end");
            if (IsTag(a)) break;
            c.SetWhere("");
            ReadParam(c, d.mParams, c.Int("a parameter id"));
        }
        c.SetWhere("");
        c.End("the closing tag");
        c.NothingLeft();
    });
}

void DeclParser::AddParam(ParamBlockDesc2& d, ParamID id, Args args) {
    Guarded(d, [&] {
        Cursor c(d, args);
        ReadParam(c, d.mParams, id);
        c.NothingLeft();
    });
}

void DeclParser::Option(ParamBlockDesc2& d, ParamID id, int tag, Args args) {
    Guarded(d, [&] {
        Cursor c(d, args);
        ParamDef* p = d.GetParamDefPtr(id);
        if (!p) c.Fail("ParamOption for parameter " + std::to_string(id) + ", never declared");
        c.SetWhere(ParamWhere(*p));
        if (tag == p_end || tag < p_end || tag > p_tooltip) c.Fail("ParamOption without a tag");
        ReadTag(c, *p, tag);
        c.End("the tag after ParamOption's values");
        c.NothingLeft();
    });
}

void DeclParser::SetItems(ParamBlockDesc2& d, ParamID id, const Tab<int>& items) {
    Guarded(d, [&] {
        ParamDef* p = d.GetParamDefPtr(id);
        if (!p || static_cast<int>(p->ctrl_type) != TYPE_INT_COMBOBOX || p->ctrl_count == 0)
            throw DeclFault{"ParamOptionContentValues for parameter " + std::to_string(id) +
                            ", which has no combo box"};
        auto& list = StorageOf(d).itemLists.emplace_back();
        for (int i = 0; i < items.Count(); ++i) list.Append(1, &items[i]);
        p->mStringItems = &list;
    });
}

std::string DeclarationError(const ParamBlockDesc2& desc) {
    return DeclParser::StorageOf(const_cast<ParamBlockDesc2&>(desc)).error;
}

}  // namespace quarel_host
