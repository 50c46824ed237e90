// Flags of the enumeration of the files that scene objects depend on (EnumAuxFiles).
#pragma once

#define FILE_ENUM_INACTIVE (1 << 0)
#define FILE_ENUM_VP (1 << 1)
#define FILE_ENUM_RENDER (1 << 2)
#define FILE_ENUM_ALL (FILE_ENUM_INACTIVE | FILE_ENUM_VP | FILE_ENUM_RENDER)
#define FILE_ENUM_MISSING_ONLY (1 << 8)
#define FILE_ENUM_DONT_RECURSE (1 << 10)
// Skip objects whose A_WORK1 flag is set; each object visited sets it, so that an object
// reached along several paths is enumerated once.
#define FILE_ENUM_CHECK_AWORK1 (1 << 11)
