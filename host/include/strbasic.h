// Character type of the host's text.
#pragma once

typedef wchar_t MCHAR;
#ifndef _M
#define _M(x) L##x
#endif
