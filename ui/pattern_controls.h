// The controls that depend on the pattern: which pattern the rollout shows, the grout spinners
// and the second-colour controls.
//
// Patterns that lay a second brick set of their own (the catalogue's `usesBrick2`) keep "Random
// 2nd Color" off limits and enable the Brick 2 colour, map and "Use" box; for the others the
// Brick 2 controls follow "Random 2nd Color". Null maps, blocks, dialogs and missing controls are
// skipped.
#pragma once

#include "iparamb2.h"

namespace QuarelNS {

// The selection of combo box 1001 when it is 0 to 29; else `pattern` at t from the map's block;
// else 0.
int CurrentPatternOf(IParamMap2* map, HWND dialog, TimeValue t);

// Enables or disables Brick 2 colour, map and "Use" (parameters 27, 28, 29) in the block's
// "Diffuse Colors & Maps" rollout (map 1) and its controls 1056, 1057, 1058.
void EnableSecondColorControls(IParamBlock2* pb, bool on);

// Sets "Random 2nd Color" (parameter 30, control 1059) and the Brick 2 controls for the
// pattern the dialog shows.
void UpdatePatternDependentControls(IParamMap2* map, HWND dialog, TimeValue t);

// Sets up the spinner of a grout width: limits 0 to 9 (the value is not clamped), scale 0.1,
// linked to its edit field as a float, showing the block's value at t times ten.
void SetupGroutSpinner(HWND dialog, int editId, int spinnerId, IParamBlock2* pb, ParamID id,
                       TimeValue t);

}  // namespace QuarelNS
