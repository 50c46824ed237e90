// The host SDK's umbrella header.
#pragma once

#include <windows.h>

#include "acolor.h"
#include "animtbl.h"
#include "bitarray.h"
#include "box3.h"
#include "color.h"
#include "custcont.h"
#include "imtl.h"
#include "inode.h"
#include "interval.h"
#include "ioapi.h"
#include "iparamb2.h"
#include "iparamm2.h"
#include "matrix3.h"
#include "maxapi.h"
#include "maxtypes.h"
#include "notify.h"
#include "plugapi.h"
#include "point2.h"
#include "point3.h"
#include "ref.h"
#include "stdmat.h"
