// The procedures of the main map's rollouts, each one static object shared by every map.
//
// QuarelMapParamDlgProc ("Quarel Parameters v2.1", map 0 of the main block): turns the pattern
// combo box into a picture list that opens the pattern picker, shows the two grout widths in
// tenths on spinners 1007 and 1009 and stores their changes, and keeps the second-colour
// controls in step with the pattern and "Random 2nd Color". It remembers the parameter map of
// the last call that passed one, until that map's window is destroyed; calls for a window after
// its WM_DESTROY do not store its map again.
// QuarelMapDiffuseDlgProc ("Diffuse Colors & Maps", map 1): sets the second-colour controls
// when the rollout opens. QuarelMapNormalDlgProc ("Normal Bump"): no behaviour of its own.
// Every step tolerates a missing map, block, window or control by skipping it. User-interface
// thread only.
#pragma once

#include "iparamm2.h"

namespace QuarelNS {

class QuarelMapParamDlgProc final : public ParamMap2UserDlgProc {
public:
    INT_PTR DlgProc(TimeValue t, IParamMap2* map, HWND hWnd, UINT msg, WPARAM wParam,
                    LPARAM lParam) override;
    void DeleteThis() override {}
    // Shows the stored map's grout widths (× 10) on their spinners, without notification.
    void Update(TimeValue t) override;

private:
    IParamMap2* mMap = nullptr;
    HWND mClosing = nullptr;  // the window whose WM_DESTROY came last
};

class QuarelMapDiffuseDlgProc final : public ParamMap2UserDlgProc {
public:
    INT_PTR DlgProc(TimeValue t, IParamMap2* map, HWND hWnd, UINT msg, WPARAM wParam,
                    LPARAM lParam) override;
    void DeleteThis() override {}
};

class QuarelMapNormalDlgProc final : public ParamMap2UserDlgProc {
public:
    INT_PTR DlgProc(TimeValue, IParamMap2*, HWND, UINT, WPARAM, LPARAM) override { return FALSE; }
    void DeleteThis() override {}
};

// The shared instances, alive for the whole process.
QuarelMapParamDlgProc& TheParamDlgProc();
QuarelMapDiffuseDlgProc& TheDiffuseDlgProc();
QuarelMapNormalDlgProc& TheNormalDlgProc();

}  // namespace QuarelNS
