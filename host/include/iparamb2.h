// Parameter blocks: static block descriptors (ParamBlockDesc2), the blocks made from them
// (IParamBlock2) and the class descriptors that own them (ClassDesc2).
//
// A block stores what SetValue gives it: ranges belong to the controls, which enforce them.
// GetValue takes no lock and allocates nothing; it narrows the caller's validity interval to
// the instant for an animated parameter (one with keys) and leaves it for a constant one.
// TYPE_ANGLE values are stored in radians. A map parameter with P_SUBTEX routes to the owner's
// sub-map of that number, one with P_OWNERS_REF to the owner's reference; other map parameters
// are references of the block itself.
#pragma once

#include <deque>
#include <initializer_list>
#include <memory>
#include <vector>

#include "acolor.h"
#include "color.h"
#include "custcont.h"
#include "host/pb2_args.h"
#include "paramtype.h"
#include "plugapi.h"
#include "point3.h"
#include "ref.h"
#include "tab.h"

class ClassDesc2;
class IObjParam;
class IMtlParams;
class Mtl;
class Texmap;
// Declared in iparamm2.h, which includes this header.
class IParamMap2;
class IAutoMParamDlg;
class ParamMap2UserDlgProc;
namespace quarel_host {
struct DeclParser;
}

// Controls of automatic rollouts, as the SDK declares them: ControlType continued by
// ControlType2. A parameter without a control has none (ctrl_count 0 in its ParamDef).
enum ControlType {
    TYPE_SPINNER,
    TYPE_RADIO,
    TYPE_SINGLECHECKBOX,
    TYPE_SINGLECHEKBOX = TYPE_SINGLECHECKBOX,
    TYPE_MULTICHECKBOX,
    TYPE_MULTICHEKBOX = TYPE_MULTICHECKBOX,
    TYPE_COLORSWATCH,
};

enum ControlType2 {
    TYPE_EDITBOX = TYPE_COLORSWATCH + 1,
    TYPE_CHECKBUTTON,
    TYPE_PICKNODEBUTTON,
    TYPE_TEXMAPBUTTON,
    TYPE_MTLBUTTON,
    TYPE_BITMAPBUTTON,
    TYPE_FILEOPENBUTTON,
    TYPE_FILESAVEBUTTON,
    TYPE_INTLISTBOX,
    TYPE_FLOATLISTBOX,
    TYPE_STRINGLISTBOX,
    TYPE_NODELISTBOX,
    TYPE_SLIDER,
    TYPE_BUTTON,
    TYPE_POINT3LISTBOX,
    TYPE_SHADERSUBPARAMETERBLOCK,
    TYPE_POINT4LISTBOX,
    TYPE_COLORSWATCH_FRGBA,
    TYPE_INT_COMBOBOX,
};

// Block descriptor flags.
#define P_CLASS_PARAMS 0x0001
#define P_AUTO_CONSTRUCT 0x0002
#define P_AUTO_UI 0x0004
#define P_USE_PARAMS 0x0008
#define P_INCLUDE_PARAMS 0x0010
#define P_SCRIPTED_CLASS 0x0020
#define P_TEMPORARY 0x0040
#define P_TRANSIENT 0x0080
#define P_MULTIMAP 0x0100
#define P_CALLSETS_ON_LOAD 0x0200
#define P_HASCATEGORY 0x0400
#define P_TEMPLATE_UI 0x0800
#define P_VERSION 0x1000

// Parameter flags.
#define P_ANIMATABLE 0x00000001
#define P_TRANSIENT_PARAM 0x00000002
#define P_NO_INIT 0x00000004
#define P_COMPUTED_NAME 0x00000008
#define P_INVISIBLE 0x00000010
#define P_RESET_DEFAULT 0x00000020
#define P_SUBANIM 0x00000040
#define P_TV_SHOW_ALL 0x00000080
#define P_NO_REF 0x00000100
#define P_OWNERS_REF 0x00000200
#define P_CAN_CONVERT 0x00000400
#define P_SUBTEX 0x00000800
#define P_VARIABLE_SIZE 0x00001000
#define P_NO_AUTO_LABELS 0x00002000
#define P_SHORT_LABELS 0x00004000
#define P_READ_ONLY 0x00008000

// Set in ParamDef::flags by the declaration: which optional parts a parameter has.
#define P_HAS_DEFAULT 0x00010000
#define P_HAS_MS_DEFAULT 0x00020000
#define P_HAS_RANGE 0x00040000
#define P_HAS_REFNO 0x00200000
#define P_HAS_SUBTEXNO 0x00400000

// Tags of a parameter's optional parts in a block declaration. The values only need to be
// unlike any ParamID, string id or control id a declaration passes.
enum ParamTags {
    p_end = -(1 << 30),
    p_default,
    p_ms_default,
    p_range,
    p_ui,
    p_validator,
    p_accessor,
    p_vals,
    p_dim,
    p_enabled,
    p_enable_ctrls,
    p_prompt,
    p_caption,
    p_init_file,
    p_file_types,
    p_classID,
    p_sclassID,
    p_submtlno,
    p_subtexno,
    p_refno,
    p_tooltip,
};

// A default or range value: the member the parameter's type selects. Colours and points are
// held through `p`, owned by the descriptor.
struct PB2Value {
    union {
        int i;
        float f;
        Point3* p;
        TimeValue t;
        MCHAR* s;
        ReferenceTarget* r;
        void* ptr;
    };
    BYTE flags;
    PB2Value() : ptr(nullptr), flags(0) {}
};

// One parameter of a block descriptor, in declaration order.
struct ParamDef {
    ParamID ID = -1;
    const MCHAR* int_name = nullptr;
    ParamType2 type = static_cast<ParamType2>(TYPE_FLOAT);
    ULONGLONG flags = 0;  // P_ANIMATABLE ... and the P_HAS_ bits
    StringResID local_name = 0;
    PB2Value def{};
    PB2Value ms_def{};
    PB2Value range_low{};
    PB2Value range_high{};
    MapID mapID = 0;  // the parameter map (rollout) of the control
    ControlType2 ctrl_type = static_cast<ControlType2>(TYPE_SPINNER);
    int* ctrl_IDs = nullptr;  // ctrl_count ids: edit and spinner, or the one control
    short ctrl_count = 0;     // 0: no control
    EditSpinnerType spin_type = EDITTYPE_FLOAT;
    float scale = 0.f;                 // spinner step
    Tab<int>* mStringItems = nullptr;  // TYPE_INT_COMBOBOX item texts; value = item index
    int sub_texno = -1;                // P_SUBTEX: the owner's sub-map number
    int ref_no = -1;                   // P_OWNERS_REF: the owner's reference number
};

// A static block descriptor, declared the SDK's way: the block's fixed arguments, then (as
// its flags ask) the version, the owner's reference number and the rollouts, then each
// parameter (id, internal name, type, flags, string id, tags, p_end), then p_end. Or a
// descriptor of the fixed arguments and p_end followed by AddParam and ParamOption calls.
// Constructing one registers it with its owner class descriptor, in construction order;
// destroying it (at module unload) unregisters it. A declaration the stand-in cannot read is
// reported on stderr and refuses the module's load (host/param_declarations.h).
class ParamBlockDesc2 {
public:
    struct map_spec {
        MapID map_id = 0;
        int dlg_template = 0;  // dialog template of the module
        StringResID title = 0;
        int test_flags = 0;
        int rollup_flags = 0;
        ParamMap2UserDlgProc* dlgProc = nullptr;
    };

    template <typename... Args>
    ParamBlockDesc2(BlockID id, const MCHAR* intName, StringResID localName, ClassDesc2* owner,
                    USHORT blockFlags, Args... args)
        : ParamBlockDesc2(
              id, intName, localName, owner, blockFlags,
              std::initializer_list<quarel_host::PB2Arg>{quarel_host::PB2Arg::Of(args)...}) {}
    ~ParamBlockDesc2();
    ParamBlockDesc2(const ParamBlockDesc2&) = delete;
    ParamBlockDesc2& operator=(const ParamBlockDesc2&) = delete;

    // One more parameter: internal name, type, flags, string id, tags, p_end.
    template <typename... Args>
    void AddParam(ParamID id, Args... args) {
        AddParamArgs(id, {quarel_host::PB2Arg::Of(args)...});
    }
    // One more tag of an existing parameter, with its values and p_end.
    template <typename... Args>
    void ParamOption(ParamID id, int option_tag, Args... args) {
        ParamOptionArgs(id, option_tag, {quarel_host::PB2Arg::Of(args)...});
    }
    // The item texts of a TYPE_INT_COMBOBOX parameter; item values (unsupported) must be null.
    bool ParamOptionContentValues(ParamID id, Tab<int>& stringItems,
                                  Tab<int>* stringItemValues = nullptr);

    BlockID ID;
    const MCHAR* int_name;
    StringResID local_name;
    ClassDesc2* cd;
    USHORT flags;
    int version;
    int ref_no;
    Tab<map_spec> map_specs;  // the rollouts, one per parameter map

    USHORT Count() const { return static_cast<USHORT>(mParams.size()); }
    DWORD Version() const { return static_cast<DWORD>(version); }
    // Index of a parameter id, or -1.
    int IDtoIndex(ParamID id) const;
    ParamID IndextoID(int i) const { return i >= 0 && i < Count() ? mParams[i].ID : -1; }
    // The parameter with that id, or null.
    ParamDef* GetParamDefPtr(ParamID id) {
        const int i = IDtoIndex(id);
        return i < 0 ? nullptr : &mParams[static_cast<std::size_t>(i)];
    }
    const ParamDef& GetParamDefByIndex(int i) const;
    void SetUserDlgProc(MapID map_id, ParamMap2UserDlgProc* proc = nullptr);

    struct Storage;  // the stand-in's: parameter index, value and control id storage, faults

private:
    ParamBlockDesc2(BlockID id, const MCHAR* intName, StringResID localName, ClassDesc2* owner,
                    USHORT blockFlags, std::initializer_list<quarel_host::PB2Arg> args);
    void AddParamArgs(ParamID id, std::initializer_list<quarel_host::PB2Arg> args);
    void ParamOptionArgs(ParamID id, int tag, std::initializer_list<quarel_host::PB2Arg> args);
    friend struct quarel_host::DeclParser;

    std::deque<ParamDef> mParams;  // stable addresses while parameters are added
    std::unique_ptr<Storage> mStorage;
};

class IParamBlock2 : public ReferenceTarget {
public:
    SClass_ID SuperClassID() override { return PARAMETER_BLOCK2_CLASS_ID; }
    Class_ID ClassID() override { return Class_ID(PARAMETER_BLOCK2_CLASS_ID, 0); }

    virtual BlockID ID() = 0;
    virtual ParamBlockDesc2* GetDesc() = 0;
    // The maker the block was made for, while it references the block; otherwise the first
    // maker that references it (a cloned or loaded block).
    virtual ReferenceMaker* GetOwner() = 0;
    virtual int NumParams() = 0;
    virtual ParamID IndextoID(int i) = 0;
    virtual int IDtoIndex(ParamID id) = 0;
    // The parameter's type, or -1 for an unknown id.
    virtual int GetParameterType(ParamID id) = 0;
    virtual int GetVersion() = 0;

    // FALSE (value and interval untouched) for an unknown id or an unrelated type; ints and
    // floats convert into each other, colours and points likewise.
    virtual BOOL GetValue(ParamID id, TimeValue t, float& v, Interval& ivalid,
                          int tabIndex = 0) = 0;
    virtual BOOL GetValue(ParamID id, TimeValue t, int& v, Interval& ivalid, int tabIndex = 0) = 0;
    virtual BOOL GetValue(ParamID id, TimeValue t, Point3& v, Interval& ivalid,
                          int tabIndex = 0) = 0;
    virtual BOOL GetValue(ParamID id, TimeValue t, Color& v, Interval& ivalid,
                          int tabIndex = 0) = 0;
    virtual BOOL GetValue(ParamID id, TimeValue t, AColor& v, Interval& ivalid,
                          int tabIndex = 0) = 0;
    virtual BOOL GetValue(ParamID id, TimeValue t, Texmap*& v, Interval& ivalid,
                          int tabIndex = 0) = 0;
    virtual BOOL GetValue(ParamID id, TimeValue t, Mtl*& v, Interval& ivalid, int tabIndex = 0) = 0;
    virtual BOOL GetValue(ParamID id, TimeValue t, ReferenceTarget*& v, Interval& ivalid,
                          int tabIndex = 0) = 0;

    // Stores the value (a key at t for an animated parameter) and notifies the dependents
    // with REFMSG_CHANGE. FALSE for an unknown id or an unrelated type.
    virtual BOOL SetValue(ParamID id, TimeValue t, float v, int tabIndex = 0) = 0;
    virtual BOOL SetValue(ParamID id, TimeValue t, int v, int tabIndex = 0) = 0;
    virtual BOOL SetValue(ParamID id, TimeValue t, const Point3& v, int tabIndex = 0) = 0;
    virtual BOOL SetValue(ParamID id, TimeValue t, const Color& v, int tabIndex = 0) = 0;
    virtual BOOL SetValue(ParamID id, TimeValue t, const AColor& v, int tabIndex = 0) = 0;
    virtual BOOL SetValue(ParamID id, TimeValue t, Texmap* v, int tabIndex = 0) = 0;
    virtual BOOL SetValue(ParamID id, TimeValue t, Mtl* v, int tabIndex = 0) = 0;
    virtual BOOL SetValue(ParamID id, TimeValue t, ReferenceTarget* v, int tabIndex = 0) = 0;

    // Linear keys of a P_ANIMATABLE numeric or colour parameter (for tests and presets).
    // Values before the first key and after the last hold the nearest key's value.
    virtual BOOL SetKey(ParamID id, TimeValue t, float v) = 0;
    virtual BOOL SetKey(ParamID id, TimeValue t, const AColor& v) = 0;
    BOOL SetKey(ParamID id, TimeValue t, int v) { return SetKey(id, t, static_cast<float>(v)); }
    BOOL SetKey(ParamID id, TimeValue t, const Color& v) { return SetKey(id, t, AColor(v)); }
    virtual int NumKeys(ParamID id) = 0;
    virtual void DeleteKeys(ParamID id) = 0;
    BOOL IsAnimated(ParamID id) { return NumKeys(id) > 0; }

    // Back to the declared defaults: keys removed, map references cleared. Maps routed to the
    // owner (P_SUBTEX, P_OWNERS_REF) are the owner's to reset.
    virtual void ResetAll(BOOL updateUI = TRUE, BOOL callSetHandlers = TRUE) = 0;
    virtual BOOL Reset(ParamID id, int tabIndex = -1, BOOL updateUI = TRUE,
                       BOOL callSetHandlers = TRUE) = 0;

    virtual IParamMap2* GetMap(MapID mapId = 0) = 0;
    virtual void SetMap(IParamMap2* m, MapID mapId = 0) = 0;

    // Conveniences over GetValue; unknown ids read as zero or null.
    float GetFloat(ParamID id, TimeValue t = 0, int tabIndex = 0);
    int GetInt(ParamID id, TimeValue t = 0, int tabIndex = 0);
    Color GetColor(ParamID id, TimeValue t = 0, int tabIndex = 0);
    AColor GetAColor(ParamID id, TimeValue t = 0, int tabIndex = 0);
    Point3 GetPoint3(ParamID id, TimeValue t = 0, int tabIndex = 0);
    Texmap* GetTexmap(ParamID id, TimeValue t = 0, int tabIndex = 0);
    Mtl* GetMtl(ParamID id, TimeValue t = 0, int tabIndex = 0);
};

// A new block of that descriptor, with its defaults; the caller stores it in a reference.
IParamBlock2* CreateParameterBlock2(ParamBlockDesc2* pdesc, ReferenceMaker* owner);

class ClassDesc {
public:
    virtual ~ClassDesc() = default;
    virtual int IsPublic() = 0;
    // A new instance; `loading` says that a scene file will fill it in next. The host takes
    // the answer as a pointer to the object's Animatable base, as returned from new.
    virtual void* Create(BOOL loading = FALSE) = 0;
    virtual const MCHAR* ClassName() = 0;
    virtual const MCHAR* NonLocalizedClassName() { return ClassName(); }
    virtual SClass_ID SuperClassID() = 0;
    virtual Class_ID ClassID() = 0;
    virtual const MCHAR* Category() = 0;
    virtual const MCHAR* InternalName() { return nullptr; }
    virtual HINSTANCE HInstance() { return nullptr; }
    virtual int NumParamBlockDescs() { return 0; }
    virtual ParamBlockDesc2* GetParamBlockDesc(int i) { return nullptr; }
    virtual ParamBlockDesc2* GetParamBlockDescByID(BlockID id) { return nullptr; }
};

class ClassDesc2 : public ClassDesc {
public:
    int NumParamBlockDescs() override;
    ParamBlockDesc2* GetParamBlockDesc(int i) override;
    ParamBlockDesc2* GetParamBlockDescByID(BlockID id) override;
    ParamBlockDesc2* GetParamBlockDescByName(const MCHAR* name);
    void AddParamBlockDesc(ParamBlockDesc2* pbd);

    // Creates each P_AUTO_CONSTRUCT block afresh, with its defaults, into its reference slot of
    // `owner` through ReplaceReference; whatever the slot held before is replaced.
    virtual void MakeAutoParamBlocks(ReferenceMaker* owner);
    // The rollouts of obj's P_AUTO_UI blocks, in registration order, one per parameter map;
    // null when there is none. Release with DeleteThis.
    virtual IAutoMParamDlg* CreateParamDlgs(HWND hwMtlEdit, IMtlParams* imp, ReferenceTarget* obj);
    virtual void BeginEditParams(IObjParam* ip, ReferenceMaker* obj, ULONG flags,
                                 Animatable* prev) {}
    virtual void EndEditParams(IObjParam* ip, ReferenceMaker* obj, ULONG flags, Animatable* prev) {}
    virtual void InvalidateUI() {}
    virtual void InvalidateUI(ParamBlockDesc2* pbd) {}
    // A string of this class's module (from its string table through HInstance), or "".
    const MCHAR* GetRsrcString(StringResID id);
};
