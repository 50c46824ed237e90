// The host's standard UV generator: offset, tiling (or real-world size), W angle, channel.
//
// GetUV centres the channel's coordinates on (0.5, 0.5), rotates them by the W angle, scales
// them by the tiling (or divides them by the real-world size) and shifts them by the offset;
// the result is not wrapped. GetBumpDP turns the surface derivative vectors into that space.
#pragma once

#include "imtl.h"

#define STDUV_CLASS_ID 0x00000100

class StdUVGen : public UVGen {
public:
    Class_ID ClassID() override { return Class_ID(STDUV_CLASS_ID, 0); }
    BOOL IsStdUVGen() override { return TRUE; }

    virtual void SetUOffs(float f, TimeValue t) = 0;
    virtual void SetVOffs(float f, TimeValue t) = 0;
    virtual void SetUScl(float f, TimeValue t) = 0;
    virtual void SetVScl(float f, TimeValue t) = 0;
    virtual void SetWAng(float f, TimeValue t) = 0;
    virtual float GetUOffs(TimeValue t) = 0;
    virtual float GetVOffs(TimeValue t) = 0;
    virtual float GetUScl(TimeValue t) = 0;
    virtual float GetVScl(TimeValue t) = 0;
    virtual float GetWAng(TimeValue t) = 0;
    // With real-world scale the U and V scales are sizes: coordinates are divided by them.
    virtual void SetUseRealWorldScale(BOOL useRWS) = 0;
    virtual BOOL GetUseRealWorldScale() = 0;
    virtual void SetHideMapBackFlag(BOOL b) = 0;
    virtual BOOL GetHideMapBackFlag() = 0;
};
