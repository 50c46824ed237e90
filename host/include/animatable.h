// Animatable: the root of the host's object hierarchy: identity, names and the tree of
// sub-animatables and parameter blocks.
#pragma once

#include "AnimatableFlags.h"
#include "FileEnumConstants.h"
#include "interval.h"
#include "maxtypes.h"
#include "plugapi.h"

class AssetEnumCallback;
class IParamBlock2;
class ReferenceTarget;

class Animatable {
public:
    Animatable() = default;
    Animatable(const Animatable&) = delete;
    Animatable& operator=(const Animatable&) = delete;
    virtual ~Animatable() = default;

    virtual void* GetInterface(ULONG id) { return nullptr; }
    // Destroys the object; objects made with new are deleted.
    virtual void DeleteThis() { delete this; }

    virtual void GetClassName(MSTR& s, bool localized = true) const { s = MSTR(); }
    virtual Class_ID ClassID() { return Class_ID(0, 0); }
    virtual SClass_ID SuperClassID() = 0;

    virtual int NumSubs() { return 0; }
    virtual Animatable* SubAnim(int i) { return nullptr; }
    virtual MSTR SubAnimName(int i, bool localized = true) { return MSTR(); }
    virtual int SubNumToRefNum(int subNum) { return -1; }

    virtual int NumParamBlocks() { return 0; }
    virtual IParamBlock2* GetParamBlock(int i) { return nullptr; }
    virtual IParamBlock2* GetParamBlockByID(BlockID id) { return nullptr; }

    // The files the object depends on, to `assetEnum` (with FILE_ENUM_MISSING_ONLY: those it
    // could not find or read). Here: none; ReferenceMaker's recurses through its references.
    virtual void EnumAuxFiles(AssetEnumCallback& assetEnum, DWORD flags = FILE_ENUM_ALL) {}

    void SetAFlag(DWORD mask) { aflag |= mask; }
    void ClearAFlag(DWORD mask) { aflag &= ~mask; }
    BOOL TestAFlag(DWORD mask) { return (aflag & mask) != 0 ? TRUE : FALSE; }

private:
    DWORD aflag = 0;
};
