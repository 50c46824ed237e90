// Parameter maps: the rollouts that show a parameter block, and their dialog procedures.
//
// A map's window is the rollout built from the owning module's dialog template (GetHWnd answers
// null when the module has no such template). Its bound controls show the block's values and
// store the user's changes; the user procedure receives the rollout's messages, WM_INITDIALOG
// first and WM_DESTROY last, with the editor's time. Invalidate shows the block's values again
// and calls the user procedure's Update. A map whose block is deleted forgets the block (and
// its rollout set forgets the object) but keeps its window until the rollouts are closed.
#pragma once

#include "imtl.h"
#include "iparamb2.h"

// Adds behaviour to an automatic rollout.
class ParamMap2UserDlgProc {
public:
    virtual ~ParamMap2UserDlgProc() = default;
    virtual INT_PTR DlgProc(TimeValue t, IParamMap2* map, HWND hWnd, UINT msg, WPARAM wParam,
                            LPARAM lParam) = 0;
    virtual void DeleteThis() = 0;
    virtual void SetThing(ReferenceTarget* m) {}
    virtual void Update(TimeValue t) {}
    virtual void SetParamBlock(IParamBlock2* pb) {}
};

class IParamMap2 {
public:
    virtual ~IParamMap2() = default;
    virtual IParamBlock2* GetParamBlock() = 0;
    virtual MapID GetMapID() = 0;
    virtual HWND GetHWnd() = 0;
    virtual void Enable(ParamID id, BOOL onOff, int tabIndex = -1) = 0;
    virtual BOOL IsEnabled(ParamID id) = 0;
    // Asks the rollout to show the block's values again (one parameter or all).
    virtual void Invalidate() = 0;
    virtual void Invalidate(ParamID id, int tabIndex = -1) = 0;
    virtual void SetUserDlgProc(ParamMap2UserDlgProc* proc) = 0;
    virtual ParamMap2UserDlgProc* GetUserDlgProc() = 0;
    virtual int DialogTemplateID() = 0;
    virtual StringResID TitleStringID() = 0;
    // Number of redraw requests so far (a stand-in query for tests).
    virtual int InvalidateCount() = 0;
};

// The material editor's set of rollouts for one object, built from its blocks: the master
// dialog that ClassDesc2::CreateParamDlgs answers, with further dialogs (a UV generator's)
// added to it. GetMap is the master's first parameter map; host/material_editor.h reaches the
// others.
class IAutoMParamDlg : public ParamDlg {
public:
    virtual void InvalidateUI() = 0;
    virtual void MtlChanged() = 0;
    virtual int NumDlgs() = 0;
    virtual void AddDlg(ParamDlg* dlg) = 0;
    virtual ParamDlg* GetDlg(int i) = 0;
    virtual void SetDlg(int i, ParamDlg* dlg) = 0;
    virtual void DeleteDlg(ParamDlg* dlg) = 0;
    virtual IParamMap2* GetMap() = 0;
};
