// What a user does in the material editor that Win32 messages cannot carry.
//
// The rollouts themselves come from ClassDesc2::CreateParamDlgs: one window per parameter map,
// made from the module's dialog template, whose controls show the block's values and store the
// user's changes at the editor's time (the interface's GetTime), with notification. The rollouts
// stack in one panel window, each under a title bar (a static control whose control id is the
// rollout's dialog template id) that shows the rollout's title string.
#pragma once

#include <iparamm2.h>

// Drops `map` (null: clears the slot) on a map button of an open rollout, as a drag from the
// map browser does: the bound parameter receives it, which for a P_SUBTEX parameter assigns the
// owner's sub-map. False when `button` is no bound map button or the parameter refused the map.
bool DropMapOnButton(HWND button, Texmap* map);

// The parameter maps of a master dialog from ClassDesc2::CreateParamDlgs, one per rollout in
// the order they stack (the host keeps the maps of later blocks in secondary dialogs; here they
// all belong to the master). 0 and null for any other dialog or index.
int RolloutMapCount(IAutoMParamDlg* dlg);
IParamMap2* RolloutMap(IAutoMParamDlg* dlg, int i);
