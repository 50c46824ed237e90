// Where the host's custom controls keep their state. Whatever creates a control window (the
// rollout builder, or a test standing in for it) makes the control here for that window's
// handle and destroys it with the window; GetISpinner answers only for handles made so.
#pragma once

#include <custcont.h>

// Receives the messages a control sends to its parent window.
typedef void (*CustomControlNotifyFn)(void* context, UINT msg, WPARAM wParam, LPARAM lParam);

// A spinner with value 0, no limits and scale 1 for `hwnd`, with control id `ctrlId`. False
// for a null handle or one that already has a control.
bool CreateSpinnerControl(HWND hwnd, int ctrlId, CustomControlNotifyFn notify, void* context);
// A colour swatch, black, for `hwnd`; false as for spinners.
bool CreateColorSwatchControl(HWND hwnd, int ctrlId, CustomControlNotifyFn notify, void* context);
// The text of edit field `edit` was entered: the spinner linked to it takes the number it reads
// (clamped, and notifying its parent), or shows its own value again when the text is no number.
// False when no spinner is linked to `edit`.
bool CommitSpinnerEdit(HWND edit);
// A click on one of the spinner's arrows: the value moves by `steps` times its scale (at least
// one for an integer spinner), clamped, and the parent hears of it. False when `spinner` has no
// control, or it is disabled.
bool StepSpinner(HWND spinner, int steps);
// Forgets the control of `hwnd`; interfaces still out keep working on a control without window.
void DestroyCustomControl(HWND hwnd);
