// The host's custom controls as rollouts use them: the spinner beside an edit field and the
// colour swatch.
//
// GetISpinner hands out an interface onto the spinner control of a window and ReleaseISpinner
// gives it back; the control's state lives with the control, so an interface fetched later
// sees what an earlier one set. A spinner keeps its value inside its limits: SetValue and
// SetLimits (unless told not to) clamp it. Linked to an integer edit type it holds whole
// numbers, and a linked edit field shows its value. With notify, SetValue tells the control's
// parent with CC_SPINNER_CHANGE (wParam: the control id and FALSE for "not dragging"; lParam:
// the ISpinnerControl). A colour swatch works alike with CC_COLOR_CHANGE. User-interface thread
// only.
#pragma once

#include <windows.h>

#include "acolor.h"
#include "baseinterface.h"

enum EditSpinnerType {
    EDITTYPE_FLOAT = 0,
    EDITTYPE_INT,
    EDITTYPE_UNIVERSE,
    EDITTYPE_POS_FLOAT,
    EDITTYPE_POS_INT,
    EDITTYPE_POS_UNIVERSE,
    EDITTYPE_PERCENT,
    EDITTYPE_TIME,
};

// Sent to the parent of a spinner or a colour swatch whose value changed.
#define CC_SPINNER_CHANGE (WM_USER + 600)
#define CC_COLOR_CHANGE (WM_USER + 603)

class ICustomControl : public InterfaceServer {
public:
    // The control's window; null once that window is gone.
    virtual HWND GetHwnd() = 0;
    virtual void Enable(BOOL onOff = TRUE) = 0;
    virtual void Disable() = 0;
    virtual BOOL IsEnabled() = 0;
};

class ISpinnerControl : public ICustomControl {
public:
    virtual float GetFVal() = 0;
    virtual int GetIVal() = 0;
    // How far the value moves per pixel the user drags.
    virtual void SetScale(float s) = 0;
    virtual void SetValue(float v, int notify) = 0;
    virtual void SetValue(int v, int notify) = 0;
    // A NaN bound leaves the limits as they were; reversed bounds are taken in order.
    virtual void SetLimits(int min, int max, int limitCurValue = TRUE) = 0;
    virtual void SetLimits(float min, float max, int limitCurValue = TRUE) = 0;
    // The edit field that shows the value, and how it reads it.
    virtual void LinkToEdit(HWND hEdit, EditSpinnerType type) = 0;
};

// An interface onto the spinner control of hCtrl, or null when hCtrl is no spinner.
ISpinnerControl* GetISpinner(HWND hCtrl);
void ReleaseISpinner(ISpinnerControl* isc);

class IColorSwatch : public ICustomControl {
public:
    // Both answer the previous colour; with notify the parent hears CC_COLOR_CHANGE.
    virtual COLORREF SetColor(COLORREF c, int notify = FALSE) = 0;
    virtual AColor SetAColor(AColor c, int notify = FALSE) = 0;
    virtual COLORREF GetColor() = 0;
    virtual AColor GetAColor() = 0;
};

// An interface onto the colour swatch control of hCtrl, or null when hCtrl is none.
IColorSwatch* GetIColorSwatch(HWND hCtrl);
void ReleaseIColorSwatch(IColorSwatch* ics);
