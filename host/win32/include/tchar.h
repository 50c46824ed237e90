// Generic-text mappings; this platform builds wide (UNICODE) only.
#pragma once

#include "w32_types.h"

#ifndef _T
#define _T(x) L##x
#endif
#ifndef TEXT
#define TEXT(x) L##x
#endif
#ifndef _TEXT
#define _TEXT(x) L##x
#endif
