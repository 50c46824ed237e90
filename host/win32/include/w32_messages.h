// Window message numbers. Controls and the host number their own messages from WM_USER up.
#pragma once

#define WM_USER 0x0400
