// The identities of the module's five classes, in the order the module lists them. This table
// is the one place where the module's classes are recognised: code that asks whether an object
// is of one of them compares both words of its class id with this table.
#pragma once

#include "animatable.h"
#include "plugapi.h"

namespace QuarelNS {

enum class QuarelClass : int { Map, BumpMap, NormalMap, NormalCarrierMtl, BumpProcMap };
constexpr int kQuarelClassCount = 5;

// First word of every class id of the module.
constexpr ULONG kQuarelClassIdA = 0x58D7C091;

struct QuarelClassInfo {
    const MCHAR* className;     // also the non-localised class name
    const MCHAR* internalName;  // not unique: the legacy bump map's class name is the same
    SClass_ID superClass;
    Class_ID classId;
    bool isPublic;  // listed in the host's map browser
};

inline constexpr QuarelClassInfo kQuarelClasses[kQuarelClassCount] = {
    {L"QuarelMap", L"QuarelMap", TEXMAP_CLASS_ID, Class_ID(kQuarelClassIdA, 0x3F4B8A12), true},
    {L"QuarelMapBump", L"QuarelMapBump", TEXMAP_CLASS_ID, Class_ID(kQuarelClassIdA, 0x3F4B8A13),
     false},
    {L"QuarelMap Normal", L"QuarelMapNormal", TEXMAP_CLASS_ID,
     Class_ID(kQuarelClassIdA, 0x3F4B8A14), false},
    {L"QuarelMap NormalBump Carrier", L"QuarelMapNormalCarrier", MATERIAL_CLASS_ID,
     Class_ID(kQuarelClassIdA, 0x3F4B8A15), false},
    {L"QuarelMap Bump", L"QuarelMapBump", TEXMAP_CLASS_ID, Class_ID(kQuarelClassIdA, 0x3F4B8A16),
     false},
};

// Category of every class of the module in the host's lists.
constexpr const MCHAR* kQuarelCategory = L"QuarelMap";

constexpr const QuarelClassInfo& ClassInfo(QuarelClass c) {
    return kQuarelClasses[static_cast<int>(c)];
}
constexpr Class_ID ClassIdOf(QuarelClass c) {
    return ClassInfo(c).classId;
}

// Whether obj is of class c: both words of its class id match. False for null.
inline bool IsQuarelClass(Animatable* obj, QuarelClass c) {
    return obj != nullptr && obj->ClassID() == ClassIdOf(c);
}

}  // namespace QuarelNS
