// Parameter maps and the material editor's rollout set, without windows for now: they record
// which rollouts exist, which parameters are enabled and how often a redraw was asked for.
#include <algorithm>
#include <memory>

#include "iparamb2.h"
#include "param_internal.h"

namespace {

class ParamMap2Impl final : public IParamMap2 {
public:
    ParamMap2Impl(IParamBlock2* block, const RolloutDef& rollout)
        : mBlock(block), mRollout(rollout) {
        if (mBlock) mBlock->SetMap(this, mRollout.mapId);
    }
    ~ParamMap2Impl() override {
        if (mBlock && mBlock->GetMap(mRollout.mapId) == this)
            mBlock->SetMap(nullptr, mRollout.mapId);
    }
    void Detach() { mBlock = nullptr; }

    IParamBlock2* GetParamBlock() override { return mBlock; }
    MapID GetMapID() override { return mRollout.mapId; }
    HWND GetHWnd() override { return nullptr; }
    void Enable(ParamID id, BOOL onOff, int) override {
        auto it = std::find(mDisabled.begin(), mDisabled.end(), id);
        if (onOff && it != mDisabled.end()) mDisabled.erase(it);
        if (!onOff && it == mDisabled.end()) mDisabled.push_back(id);
    }
    BOOL IsEnabled(ParamID id) override {
        return std::find(mDisabled.begin(), mDisabled.end(), id) == mDisabled.end();
    }
    void Invalidate() override { ++mInvalidations; }
    void Invalidate(ParamID, int) override { ++mInvalidations; }
    void SetUserDlgProc(ParamMap2UserDlgProc* proc) override { mRollout.dlgProc = proc; }
    ParamMap2UserDlgProc* GetUserDlgProc() override { return mRollout.dlgProc; }
    int DialogTemplateID() override { return mRollout.dialogId; }
    StringResID TitleStringID() override { return mRollout.title; }
    int InvalidateCount() override { return mInvalidations; }

private:
    IParamBlock2* mBlock;
    RolloutDef mRollout;
    std::vector<ParamID> mDisabled;
    int mInvalidations = 0;
};

class AutoMParamDlg final : public IAutoMParamDlg {
public:
    AutoMParamDlg(ReferenceTarget* thing, TimeValue t) : mThing(thing), mTime(t) {}
    ~AutoMParamDlg() override {
        for (ParamDlg* d : mDlgs) d->DeleteThis();
    }

    void AddMap(std::unique_ptr<ParamMap2Impl> map) { mMaps.push_back(std::move(map)); }

    Class_ID ClassID() override { return mThing ? mThing->ClassID() : Class_ID(0, 0); }
    void SetThing(ReferenceTarget* m) override { mThing = m; }
    ReferenceTarget* GetThing() override { return mThing; }
    void SetTime(TimeValue t) override { mTime = t; }
    void ReloadDialog() override { InvalidateUI(); }
    void DeleteThis() override { delete this; }
    void ActivateDlg(BOOL) override {}

    int NumDlgs() override { return static_cast<int>(mDlgs.size()); }
    void AppendDlg(ParamDlg* dlg) override {
        if (dlg && dlg != this && std::find(mDlgs.begin(), mDlgs.end(), dlg) == mDlgs.end())
            mDlgs.push_back(dlg);
    }
    ParamDlg* GetDlg(int i) override { return i >= 0 && i < NumDlgs() ? mDlgs[i] : nullptr; }
    void DeleteDlg(ParamDlg* dlg) override {
        auto it = std::find(mDlgs.begin(), mDlgs.end(), dlg);
        if (it == mDlgs.end()) return;
        mDlgs.erase(it);
        dlg->DeleteThis();
    }
    int NumMaps() override { return static_cast<int>(mMaps.size()); }
    IParamMap2* GetMap(int i) override {
        return i >= 0 && i < NumMaps() ? mMaps[i].get() : nullptr;
    }
    void InvalidateUI() override {
        for (auto& m : mMaps) m->Invalidate();
    }

private:
    ReferenceTarget* mThing;
    TimeValue mTime;
    std::vector<std::unique_ptr<ParamMap2Impl>> mMaps;
    std::vector<ParamDlg*> mDlgs;
};

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

IAutoMParamDlg* ClassDesc2::CreateParamDlgs(HWND, IMtlParams* imp, ReferenceTarget* obj) {
    if (!obj) return nullptr;
    auto dlg = std::make_unique<AutoMParamDlg>(obj, imp ? imp->GetTime() : 0);
    for (int i = 0, n = NumParamBlockDescs(); i < n; ++i) {
        ParamBlockDesc2* desc = GetParamBlockDesc(i);
        if (!desc || !(desc->flags & P_AUTO_UI)) continue;
        IParamBlock2* block = FindBlock(obj, desc);
        if (!block) continue;
        for (int r = 0; r < desc->NumRollouts(); ++r)
            dlg->AddMap(std::make_unique<ParamMap2Impl>(block, desc->GetRollout(r)));
    }
    if (dlg->NumMaps() == 0) return nullptr;
    return dlg.release();
}
