// The module's dialog templates: the rollouts of the parameter blocks, in dialog units, with the
// host's custom controls (CustEdit, SpinnerControl, ColorSwatch, CustButton) by class name. The
// block descriptors bind controls by the ids of resource_ids.h. All templates are child dialogs
// 217 units wide in "MS Shell Dlg" 8 points.
#pragma once

#include <cstdint>
#include <span>

#include "w32_resources.h"

namespace QuarelRes {

constexpr std::uint32_t kDialogStyle = 0x54000040;  // child, visible, clip siblings, font set
constexpr std::int16_t kDialogWidth = 217;
constexpr const char* kDialogFont = "MS Shell Dlg";
constexpr int kDialogFontPoints = 8;

// All templates, sorted by id.
std::span<const W32DialogResource> DialogTemplates();

// The template `id`, or null when the module has none.
const W32DialogResource* FindDialog(std::uint32_t id);

// The item `controlId` of a template, or null.
const W32DialogItem* FindDialogItem(const W32DialogResource& dialog, std::uint32_t controlId);

}  // namespace QuarelRes
