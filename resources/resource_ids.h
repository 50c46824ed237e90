// Named ids of the module's dialog templates, controls and strings, for C++ code. Include this,
// never the generated resource.h, which is for the resource compiler alone (its macros would
// replace these names).
#pragma once

#include "resources/resource_symbols.h"

namespace QuarelRes {

#define QR_ENUMERATOR(name, id) name = id,
#define QR_STRING_ENUMERATOR(name, id, text) name = id,

enum DialogId : int { QUAREL_DIALOGS(QR_ENUMERATOR) };
enum ControlId : int { QUAREL_CONTROLS(QR_ENUMERATOR) };
enum StringId : int { QUAREL_STRINGS(QR_STRING_ENUMERATOR) };

#undef QR_ENUMERATOR
#undef QR_STRING_ENUMERATOR

// Control id of dialog items that nothing addresses (labels, group boxes).
constexpr int IDC_STATIC = -1;

}  // namespace QuarelRes
