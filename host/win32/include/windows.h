// The Win32 stand-in for builds without the Windows SDK: the subset of <windows.h> that the
// plug-in and its host use.
#pragma once

#include "tchar.h"
#include "w32_gdi.h"
#include "w32_kernel.h"
#include "w32_messages.h"
#include "w32_styles.h"
#include "w32_types.h"
#include "w32_user.h"
