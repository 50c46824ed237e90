// Superclass identities of the host, and the module's version word.
#pragma once

#include "maxtypes.h"

#define REF_MAKER_CLASS_ID 0x00000100
#define REF_TARGET_CLASS_ID 0x00000101
#define BASENODE_CLASS_ID 0x00000001
#define PARAMETER_BLOCK2_CLASS_ID 0x00000082
#define MATERIAL_CLASS_ID 0x00000C00
#define TEXMAP_CLASS_ID 0x00000C10
#define UVGEN_CLASS_ID 0x00000C20
#define XYZGEN_CLASS_ID 0x00000C28
#define TEXOUTPUT_CLASS_ID 0x00000C30

// The version word a module's LibVersion must answer: release 26000, interface 64, revision 0.
#define MAX_RELEASE 26000
#define MAX_API_NUM 64
#define MAX_SDK_REV 0
#define MAXVERSION(r, a, s) ((static_cast<ULONG>(r) << 16) | ((a) << 8) | (s))
#define VERSION_3DSMAX MAXVERSION(MAX_RELEASE, MAX_API_NUM, MAX_SDK_REV)
static_assert(VERSION_3DSMAX == 0x65904000ul, "host version word");

class ClassDesc;

// The exports every plug-in module provides, with C linkage (mark them
// `extern "C" __declspec(dllexport)`), and its DllMain.
typedef const MCHAR* (*LibDescriptionFn)();
typedef int (*LibNumberClassesFn)();
typedef ClassDesc* (*LibClassDescFn)(int i);
typedef ULONG (*LibVersionFn)();
typedef int (*LibInitializeFn)();
typedef int (*LibShutdownFn)();
