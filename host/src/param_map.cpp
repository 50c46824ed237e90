// Parameter maps and the material editor's rollout set: one rollout window per map, built from
// the owning module's dialog template, with the block's controls bound in both directions and
// the user procedure receiving the rollout's messages.
#include <algorithm>
#include <cmath>
#include <memory>

#include "control_classes.h"
#include "host/material_editor.h"
#include "iparamm2.h"
#include "maxapi.h"
#include "param_internal.h"

namespace {

constexpr float kDegPerRad = 57.29577951308232f;

class AutoMParamDlg;
INT_PTR CALLBACK RolloutProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

TimeValue EditorTime() {
    Interface* ip = GetCOREInterface();
    return ip ? ip->GetTime() : 0;
}

class ParamMap2Impl final : public IParamMap2 {
public:
    ParamMap2Impl(AutoMParamDlg* owner, IParamBlock2* block,
                  const ParamBlockDesc2::map_spec& rollout)
        : mOwner(owner),
          mBlock(block),
          mDesc(block ? block->GetDesc() : nullptr),
          mRollout(rollout) {
        if (mBlock) mBlock->SetMap(this, mRollout.map_id);
    }
    ~ParamMap2Impl() override {
        DestroyRollout();
        if (mBlock && mBlock->GetMap(mRollout.map_id) == this)
            mBlock->SetMap(nullptr, mRollout.map_id);
    }
    void Detach();

    // The rollout window from the class's template, as a child of `panel`; none when the
    // module has no such template.
    void CreateRollout(HWND panel, int top) {
        HINSTANCE inst = mDesc && mDesc->cd ? mDesc->cd->HInstance() : nullptr;
        if (!inst || !panel) return;
        HWND hwnd = CreateDialogParamW(inst, MAKEINTRESOURCEW(mRollout.dlg_template), panel,
                                       RolloutProc, reinterpret_cast<LPARAM>(this));
        if (!hwnd) return;
        RECT r{};
        GetClientRect(hwnd, &r);
        MoveWindow(hwnd, 0, top, r.right, r.bottom, FALSE);
    }
    void DestroyRollout() {
        if (mHwnd) DestroyWindow(mHwnd);
        mHwnd = nullptr;
    }

    // --- IParamMap2
    IParamBlock2* GetParamBlock() override { return mBlock; }
    MapID GetMapID() override { return mRollout.map_id; }
    HWND GetHWnd() override { return mHwnd; }
    void Enable(ParamID id, BOOL onOff, int) override {
        auto it = std::find(mDisabled.begin(), mDisabled.end(), id);
        if (onOff && it != mDisabled.end()) mDisabled.erase(it);
        if (!onOff && it == mDisabled.end()) mDisabled.push_back(id);
        if (const ParamDef* p = BoundDef(id)) EnableControls(*p, onOff != FALSE);
    }
    BOOL IsEnabled(ParamID id) override {
        return std::find(mDisabled.begin(), mDisabled.end(), id) == mDisabled.end();
    }
    void Invalidate() override {
        ++mInvalidations;
        if (!mHwnd || !mDesc) return;
        for (int i = 0; i < mDesc->Count(); ++i)
            if (const ParamDef* p = BoundDef(mDesc->IndextoID(i))) ShowValue(*p);
        UpdateUser();
    }
    void Invalidate(ParamID id, int) override {
        ++mInvalidations;
        if (!mHwnd) return;
        if (const ParamDef* p = BoundDef(id)) ShowValue(*p);
        UpdateUser();
    }
    void SetUserDlgProc(ParamMap2UserDlgProc* proc) override { mRollout.dlgProc = proc; }
    ParamMap2UserDlgProc* GetUserDlgProc() override { return mRollout.dlgProc; }
    int DialogTemplateID() override { return mRollout.dlg_template; }
    StringResID TitleStringID() override { return mRollout.title; }
    int InvalidateCount() override { return mInvalidations; }

    // --- the rollout's messages
    INT_PTR OnInitDialog(HWND hwnd) {
        mHwnd = hwnd;
        if (mDesc)
            for (int i = 0; i < mDesc->Count(); ++i)
                if (const ParamDef* p = BoundDef(mDesc->IndextoID(i))) Bind(*p);
        return Forward(WM_INITDIALOG, 0, 0);
    }

    INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
        const int ctrl = LOWORD(wParam);
        switch (msg) {
            case WM_COMMAND:
                if (const ParamDef* p = DefOfControl(ctrl)) {
                    const WORD code = HIWORD(wParam);
                    if (static_cast<int>(p->ctrl_type) == TYPE_SINGLECHEKBOX && code == BN_CLICKED)
                        Store(*p, IsDlgButtonChecked(mHwnd, ctrl) == BST_CHECKED ? 1 : 0);
                    if (static_cast<int>(p->ctrl_type) == TYPE_INT_COMBOBOX &&
                        code == CBN_SELCHANGE) {
                        const LRESULT sel = SendDlgItemMessageW(mHwnd, ctrl, CB_GETCURSEL, 0, 0);
                        if (sel != CB_ERR) Store(*p, static_cast<int>(sel));
                    }
                }
                break;
            case CC_SPINNER_CHANGE:
                if (const ParamDef* p = DefOfControl(ctrl);
                    p && static_cast<int>(p->ctrl_type) == TYPE_SPINNER) {
                    auto* spin = reinterpret_cast<ISpinnerControl*>(lParam);
                    if (spin) StoreNumber(*p, spin->GetFVal());
                }
                break;
            case CC_COLOR_CHANGE:
                if (const ParamDef* p = DefOfControl(ctrl);
                    p && static_cast<int>(p->ctrl_type) == TYPE_COLORSWATCH) {
                    auto* swatch = reinterpret_cast<IColorSwatch*>(lParam);
                    if (swatch && mBlock)
                        mBlock->SetValue(p->ID, EditorTime(), swatch->GetAColor());
                }
                break;
            default:
                break;
        }
        const INT_PTR answer = Forward(msg, wParam, lParam);
        if (msg == WM_NCDESTROY) mHwnd = nullptr;
        return answer;
    }

    // A map dropped on one of the rollout's map buttons.
    bool Drop(int ctrlId, Texmap* map) {
        const ParamDef* p = DefOfControl(ctrlId);
        if (!p || static_cast<int>(p->ctrl_type) != TYPE_TEXMAPBUTTON || !mBlock) return false;
        return mBlock->SetValue(p->ID, EditorTime(), map) != FALSE;
    }

private:
    // The parameter `id` when this map shows a control for it.
    const ParamDef* BoundDef(ParamID id) const {
        const ParamDef* p = mDesc ? mDesc->GetParamDefPtr(id) : nullptr;
        return p && p->mapID == mRollout.map_id && p->ctrl_count > 0 ? p : nullptr;
    }
    // The parameter whose control (an edit, a spinner or a single control) has this id.
    const ParamDef* DefOfControl(int ctrlId) const {
        if (!mDesc || ctrlId == 0) return nullptr;
        for (int i = 0; i < mDesc->Count(); ++i) {
            const ParamDef* p = BoundDef(mDesc->IndextoID(i));
            if (p && std::find(p->ctrl_IDs, p->ctrl_IDs + p->ctrl_count, ctrlId) !=
                         p->ctrl_IDs + p->ctrl_count)
                return p;
        }
        return nullptr;
    }
    HWND Control(const ParamDef& p, int which = 0) const {
        return which < p.ctrl_count && p.ctrl_IDs[which] ? GetDlgItem(mHwnd, p.ctrl_IDs[which])
                                                         : nullptr;
    }
    bool IsInt(const ParamDef& p) const {
        return static_cast<int>(p.type) == TYPE_INT || static_cast<int>(p.type) == TYPE_BOOL;
    }

    void Bind(const ParamDef& p) {
        if (static_cast<int>(p.ctrl_type) == TYPE_SPINNER) {
            if (ISpinnerControl* spin = GetISpinner(Control(p, 1))) {
                if (p.flags & P_HAS_RANGE) {
                    if (IsInt(p))
                        spin->SetLimits(p.range_low.i, p.range_high.i, FALSE);
                    else
                        spin->SetLimits(p.range_low.f, p.range_high.f, FALSE);
                }
                if (p.scale > 0.f) spin->SetScale(p.scale);
                spin->LinkToEdit(Control(p, 0), p.spin_type);
                ReleaseISpinner(spin);
            }
        } else if (static_cast<int>(p.ctrl_type) == TYPE_INT_COMBOBOX) {
            HWND combo = Control(p);
            SendMessageW(combo, CB_RESETCONTENT, 0, 0);
            ClassDesc2* cd = mDesc->cd;
            for (int k = 0; p.mStringItems && k < p.mStringItems->Count(); ++k) {
                const MCHAR* text = cd ? cd->GetRsrcString((*p.mStringItems)[k]) : L"";
                SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
            }
        }
        ShowValue(p);
        if (!IsEnabled(p.ID)) EnableControls(p, false);
    }

    // Block to control, without notifications.
    void ShowValue(const ParamDef& p) {
        if (!mBlock) return;
        const TimeValue t = EditorTime();
        switch (static_cast<int>(p.ctrl_type)) {
            case TYPE_SPINNER:
                if (ISpinnerControl* spin = GetISpinner(Control(p, 1))) {
                    if (IsInt(p))
                        spin->SetValue(mBlock->GetInt(p.ID, t), FALSE);
                    else
                        spin->SetValue(
                            mBlock->GetFloat(p.ID, t) *
                                (static_cast<int>(p.type) == TYPE_ANGLE ? kDegPerRad : 1.f),
                            FALSE);
                    ReleaseISpinner(spin);
                }
                break;
            case TYPE_SINGLECHEKBOX:
                CheckDlgButton(mHwnd, p.ctrl_IDs[0],
                               mBlock->GetInt(p.ID, t) ? BST_CHECKED : BST_UNCHECKED);
                break;
            case TYPE_COLORSWATCH:
                if (IColorSwatch* swatch = GetIColorSwatch(Control(p))) {
                    swatch->SetAColor(mBlock->GetAColor(p.ID, t), FALSE);
                    ReleaseIColorSwatch(swatch);
                }
                break;
            case TYPE_TEXMAPBUTTON: {
                Texmap* map = mBlock->GetTexmap(p.ID, t);
                SetWindowTextW(Control(p), map ? map->GetFullName().data() : L"None");
                break;
            }
            case TYPE_INT_COMBOBOX:
                SendMessageW(Control(p), CB_SETCURSEL, static_cast<WPARAM>(mBlock->GetInt(p.ID, t)),
                             0);
                break;
            default:
                break;
        }
    }

    void EnableControls(const ParamDef& p, bool on) {
        if (!mHwnd) return;
        for (int which : {0, 1})
            if (HWND ctl = Control(p, which)) EnableWindow(ctl, on ? TRUE : FALSE);
        if (static_cast<int>(p.ctrl_type) == TYPE_SPINNER)
            if (ISpinnerControl* spin = GetISpinner(Control(p, 1))) {
                spin->Enable(on ? TRUE : FALSE);
                ReleaseISpinner(spin);
            }
    }

    // Control to block, at the editor's time, with notification.
    void Store(const ParamDef& p, int v) {
        if (mBlock) mBlock->SetValue(p.ID, EditorTime(), v);
    }
    void StoreNumber(const ParamDef& p, float v) {
        if (!mBlock) return;
        if (IsInt(p))
            mBlock->SetValue(p.ID, EditorTime(), quarel_host::SafeFloatToInt(v));
        else
            mBlock->SetValue(p.ID, EditorTime(),
                             static_cast<int>(p.type) == TYPE_ANGLE ? v / kDegPerRad : v);
    }

    INT_PTR Forward(UINT msg, WPARAM wParam, LPARAM lParam) {
        ParamMap2UserDlgProc* proc = mRollout.dlgProc;
        return proc && mHwnd ? proc->DlgProc(EditorTime(), this, mHwnd, msg, wParam, lParam)
                             : FALSE;
    }
    void UpdateUser() {
        if (mRollout.dlgProc && mHwnd) mRollout.dlgProc->Update(EditorTime());
    }

    AutoMParamDlg* mOwner;
    IParamBlock2* mBlock;
    ParamBlockDesc2* mDesc;
    ParamBlockDesc2::map_spec mRollout;
    HWND mHwnd = nullptr;
    std::vector<ParamID> mDisabled;
    int mInvalidations = 0;
};

INT_PTR CALLBACK RolloutProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        auto* map = reinterpret_cast<ParamMap2Impl*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        return map ? map->OnInitDialog(hwnd) : FALSE;
    }
    auto* map = reinterpret_cast<ParamMap2Impl*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!map) return FALSE;
    const INT_PTR answer = map->OnMessage(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    return answer;
}

// The rollouts stack in one panel window inside the material editor's window.
class AutoMParamDlg final : public IAutoMParamDlg {
public:
    AutoMParamDlg(ReferenceTarget* thing, TimeValue t, HWND hwMtlEdit)
        : mThing(thing), mTime(t), mEditor(hwMtlEdit) {}
    ~AutoMParamDlg() override {
        // Windows first, while their maps can still answer WM_DESTROY.
        for (auto& m : mMaps) m->DestroyRollout();
        if (mPanel) DestroyWindow(mPanel);
        mMaps.clear();
        for (ParamDlg* d : mDlgs) d->DeleteThis();
    }

    void AddMap(IParamBlock2* block, const ParamBlockDesc2::map_spec& rollout) {
        mMaps.push_back(std::make_unique<ParamMap2Impl>(this, block, rollout));
        ParamMap2Impl& map = *mMaps.back();
        if (!mPanel) {
            quarel_host::RegisterCustomControlClasses();
            // Inside the editor's window when there is one, else a window of its own.
            const DWORD style = (mEditor ? WS_CHILD : WS_POPUP) | WS_VISIBLE;
            mPanel = CreateWindowExW(0, L"STATIC", L"", style, 0, 0, 0, 0, mEditor, nullptr,
                                     nullptr, nullptr);
        }
        // Each rollout under its title bar, as the material editor stacks them.
        map.CreateRollout(mPanel, mHeight + kTitleHeight);
        RECT r{};
        if (map.GetHWnd() && GetClientRect(map.GetHWnd(), &r)) {
            AddTitle(map, r.right);
            mHeight += kTitleHeight + r.bottom;
            mWidth = std::max<LONG>(mWidth, r.right);
            MoveWindow(mPanel, 0, 0, mWidth, mHeight, FALSE);
        }
    }
    // A block of this object went: the object may be gone too, so the rollouts let go of it.
    void ForgetThing() { mThing = nullptr; }

    Class_ID ClassID() override { return mThing ? mThing->ClassID() : Class_ID(0, 0); }
    void SetThing(ReferenceTarget* m) override { mThing = m; }
    ReferenceTarget* GetThing() override { return mThing; }
    void SetTime(TimeValue t) override { mTime = t; }
    void ReloadDialog() override { InvalidateUI(); }
    void DeleteThis() override { delete this; }
    void ActivateDlg(BOOL) override {}

    int NumDlgs() override { return static_cast<int>(mDlgs.size()); }
    void AddDlg(ParamDlg* dlg) override {
        if (dlg && dlg != this && std::find(mDlgs.begin(), mDlgs.end(), dlg) == mDlgs.end())
            mDlgs.push_back(dlg);
    }
    ParamDlg* GetDlg(int i) override { return i >= 0 && i < NumDlgs() ? mDlgs[i] : nullptr; }
    void SetDlg(int i, ParamDlg* dlg) override {
        if (i >= 0 && i < NumDlgs() && dlg && dlg != this) mDlgs[i] = dlg;
    }
    void DeleteDlg(ParamDlg* dlg) override {
        auto it = std::find(mDlgs.begin(), mDlgs.end(), dlg);
        if (it == mDlgs.end()) return;
        mDlgs.erase(it);
        dlg->DeleteThis();
    }
    IParamMap2* GetMap() override { return MapAt(0); }
    void InvalidateUI() override {
        for (auto& m : mMaps) m->Invalidate();
    }
    void MtlChanged() override { InvalidateUI(); }

    int NumMaps() const { return static_cast<int>(mMaps.size()); }
    IParamMap2* MapAt(int i) const { return i >= 0 && i < NumMaps() ? mMaps[i].get() : nullptr; }

private:
    static constexpr int kTitleHeight = 20;

    // The rollout's title in a bar above it, in the rollout's own font, an & as itself (one
    // title has one); the bar's control id is the rollout's template id.
    void AddTitle(ParamMap2Impl& map, LONG width) {
        ClassDesc2* cd = map.GetParamBlock() && map.GetParamBlock()->GetDesc()
                             ? map.GetParamBlock()->GetDesc()->cd
                             : nullptr;
        const MCHAR* title = cd ? cd->GetRsrcString(map.TitleStringID()) : nullptr;
        HWND bar =
            CreateWindowExW(WS_EX_STATICEDGE, L"STATIC", title ? title : L"",
                            WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, 0,
                            mHeight, width, kTitleHeight, mPanel,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(map.DialogTemplateID())),
                            nullptr, nullptr);
        if (bar)
            SendMessageW(bar, WM_SETFONT,
                         static_cast<WPARAM>(SendMessageW(map.GetHWnd(), WM_GETFONT, 0, 0)), FALSE);
    }

    ReferenceTarget* mThing;
    TimeValue mTime;
    HWND mEditor;
    HWND mPanel = nullptr;
    LONG mWidth = 0;
    LONG mHeight = 0;
    std::vector<std::unique_ptr<ParamMap2Impl>> mMaps;
    std::vector<ParamDlg*> mDlgs;
};

void ParamMap2Impl::Detach() {
    mBlock = nullptr;
    if (mOwner) mOwner->ForgetThing();
}

IParamBlock2* FindBlock(ReferenceTarget* obj, ParamBlockDesc2* desc) {
    if (IParamBlock2* pb = obj->GetParamBlockByID(desc->ID); pb && pb->GetDesc() == desc) return pb;
    if (desc->ref_no >= 0 && desc->ref_no < obj->NumRefs()) {
        ReferenceTarget* r = obj->GetReference(desc->ref_no);
        if (r && r->SuperClassID() == PARAMETER_BLOCK2_CLASS_ID) {
            auto* pb = dynamic_cast<IParamBlock2*>(r);
            if (pb && pb->GetDesc() == desc) return pb;
        }
    }
    return nullptr;
}

}  // namespace

namespace quarel_host {

void DetachMapFromBlock(IParamMap2* map) {
    if (auto* m = dynamic_cast<ParamMap2Impl*>(map)) m->Detach();
}

}  // namespace quarel_host

int RolloutMapCount(IAutoMParamDlg* dlg) {
    auto* d = dynamic_cast<AutoMParamDlg*>(dlg);
    return d ? d->NumMaps() : 0;
}

IParamMap2* RolloutMap(IAutoMParamDlg* dlg, int i) {
    auto* d = dynamic_cast<AutoMParamDlg*>(dlg);
    return d ? d->MapAt(i) : nullptr;
}

bool DropMapOnButton(HWND button, Texmap* map) {
    HWND rollout = GetParent(button);
    if (!rollout ||
        GetWindowLongPtrW(rollout, DWLP_DLGPROC) != reinterpret_cast<LONG_PTR>(RolloutProc))
        return false;
    auto* pm = reinterpret_cast<ParamMap2Impl*>(GetWindowLongPtrW(rollout, DWLP_USER));
    return pm && pm->Drop(GetDlgCtrlID(button), map);
}

IAutoMParamDlg* ClassDesc2::CreateParamDlgs(HWND hwMtlEdit, IMtlParams* imp, ReferenceTarget* obj) {
    if (!obj) return nullptr;
    auto dlg = std::make_unique<AutoMParamDlg>(obj, imp ? imp->GetTime() : 0, hwMtlEdit);
    for (int i = 0, n = NumParamBlockDescs(); i < n; ++i) {
        ParamBlockDesc2* desc = GetParamBlockDesc(i);
        if (!desc || !(desc->flags & P_AUTO_UI)) continue;
        IParamBlock2* block = FindBlock(obj, desc);
        if (!block) continue;
        for (int r = 0; r < desc->map_specs.Count(); ++r) dlg->AddMap(block, desc->map_specs[r]);
    }
    if (dlg->NumMaps() == 0) return nullptr;
    return dlg.release();
}
