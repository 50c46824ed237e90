// The host's standard UV generator.
#include <cmath>

#include "builtin_registry.h"
#include "ioapi.h"
#include "stdmat.h"

namespace {

enum : USHORT { kChunkValues = 0x0100 };

// The "Coordinates" rollout of a standard UV generator; its window comes with the editor UI.
class CoordinatesDlg final : public ParamDlg {
public:
    explicit CoordinatesDlg(ReferenceTarget* thing) : mThing(thing) {}
    Class_ID ClassID() override { return Class_ID(STDUV_CLASS_ID, 0); }
    void SetThing(ReferenceTarget* m) override { mThing = m; }
    ReferenceTarget* GetThing() override { return mThing; }
    void SetTime(TimeValue) override {}
    void ReloadDialog() override {}
    void DeleteThis() override { delete this; }
    void ActivateDlg(BOOL) override {}

private:
    ReferenceTarget* mThing;
};

class HostStdUVGen final : public StdUVGen {
public:
    HostStdUVGen() = default;
    void GetClassName(MSTR& s, bool) const override { s = L"StandardUVGen"; }
    RefResult NotifyRefChanged(const Interval&, RefTargetHandle, PartID&, RefMessage,
                               BOOL) override {
        return REF_SUCCEED;
    }

    // --- coordinates
    void GetUV(ShadeContext& sc, Point2& uv, Point2& duv) override {
        Point3 p, d;
        Source(sc, p, d);
        float su, sv, c, s;
        Factors(su, sv, c, s);
        const float ax = p.x - 0.5f - mUOffs, ay = p.y - 0.5f - mVOffs;
        uv.x = (ax * c - ay * s) * su + 0.5f;
        uv.y = (ax * s + ay * c) * sv + 0.5f;
        const float du = std::fabs(d.x), dv = std::fabs(d.y);
        duv.x = std::fabs(su) * (std::fabs(c) * du + std::fabs(s) * dv);
        duv.y = std::fabs(sv) * (std::fabs(s) * du + std::fabs(c) * dv);
    }

    void GetBumpDP(ShadeContext& sc, Point3& dPdu, Point3& dPdv) override {
        Point3 dP[3];
        sc.DPdUVW(dP, mChannel);
        float su, sv, c, s;
        Factors(su, sv, c, s);
        // dP/du' with u' the transformed coordinate: the inverse of the transform's Jacobian.
        const float iu = su != 0.f ? 1.f / su : 1.f;
        const float iv = sv != 0.f ? 1.f / sv : 1.f;
        dPdu = (dP[0] * c - dP[1] * s) * iu;
        dPdv = (dP[0] * s + dP[1] * c) * iv;
    }

    void GetUVTransform(Matrix3& m) override {
        float su, sv, c, s;
        Factors(su, sv, c, s);
        m = TransMatrix(Point3(-0.5f - mUOffs, -0.5f - mVOffs, 0.f)) * RotateZMatrix(mWAng) *
            ScaleMatrix(Point3(su, sv, 1.f)) * TransMatrix(Point3(0.5f, 0.5f, 0.f));
    }

    int GetTextureTiling() override { return mTiling; }
    void SetTextureTiling(int t) override { Set(mTiling, t); }
    int GetUVWSource() override { return mSource; }
    void SetUVWSource(int s) override { Set(mSource, s); }
    int GetMapChannel() override { return mChannel; }
    void SetMapChannel(int c) override { Set(mChannel, c < 0 ? 0 : (c > 99 ? 99 : c)); }
    void InitSlotType(int) override {}

    void SetUOffs(float f, TimeValue) override { Set(mUOffs, f); }
    void SetVOffs(float f, TimeValue) override { Set(mVOffs, f); }
    void SetUScl(float f, TimeValue) override { Set(mUScl, f); }
    void SetVScl(float f, TimeValue) override { Set(mVScl, f); }
    void SetWAng(float f, TimeValue) override { Set(mWAng, f); }
    float GetUOffs(TimeValue) override { return mUOffs; }
    float GetVOffs(TimeValue) override { return mVOffs; }
    float GetUScl(TimeValue) override { return mUScl; }
    float GetVScl(TimeValue) override { return mVScl; }
    float GetWAng(TimeValue) override { return mWAng; }
    void SetUseRealWorldScale(BOOL b) override { Set(mRealWorld, b ? TRUE : FALSE); }
    BOOL GetUseRealWorldScale() override { return mRealWorld; }
    void SetHideMapBackFlag(BOOL b) override { Set(mHideBack, b ? TRUE : FALSE); }
    BOOL GetHideMapBackFlag() override { return mHideBack; }

    // --- material base
    void Update(TimeValue, Interval&) override {}
    void Reset() override {
        mUOffs = mVOffs = mWAng = 0.f;
        mUScl = mVScl = 1.f;
        mChannel = 1;
        mSource = UVWSRC_EXPLICIT;
        mTiling = U_WRAP | V_WRAP;
        mRealWorld = mHideBack = FALSE;
        RefreshFactors();
        NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
    }
    Interval Validity(TimeValue) override { return FOREVER; }
    ParamDlg* CreateParamDlg(HWND, IMtlParams*) override { return new CoordinatesDlg(this); }
    ULONG LocalRequirements(int) override {
        return mSource == UVWSRC_EXPLICIT ? (mChannel == 1 ? MTLREQ_UV : MTLREQ_UV2) : 0;
    }
    void LocalMappingsRequired(int, BitArray& mapreq, BitArray&) override {
        if (mSource == UVWSRC_EXPLICIT) mapreq.Set(mChannel);
    }

    RefTargetHandle Clone(RemapDir& remap) override {
        auto* c = new HostStdUVGen(*this);
        BaseClone(this, c, remap);
        return c;
    }

    IOResult Save(ISave* isave) override {
        ULONG nb = 0;
        const float f[5] = {mUOffs, mVOffs, mUScl, mVScl, mWAng};
        const std::int32_t i[5] = {mTiling, mSource, mChannel, mRealWorld, mHideBack};
        isave->BeginChunk(kChunkValues);
        isave->Write(f, sizeof(f), &nb);
        isave->Write(i, sizeof(i), &nb);
        isave->EndChunk();
        return IO_OK;
    }

    IOResult Load(ILoad* iload) override {
        ULONG nb = 0;
        IOResult res;
        while ((res = iload->OpenChunk()) == IO_OK) {
            if (iload->CurChunkID() == kChunkValues) {
                float f[5];
                std::int32_t i[5];
                if (iload->Read(f, sizeof(f), &nb) != IO_OK ||
                    iload->Read(i, sizeof(i), &nb) != IO_OK)
                    return IO_ERROR;
                mUOffs = f[0], mVOffs = f[1], mUScl = f[2], mVScl = f[3], mWAng = f[4];
                mTiling = i[0], mSource = i[1];
                mChannel = i[2] < 0 ? 0 : (i[2] > 99 ? 99 : i[2]);
                mRealWorld = i[3] ? TRUE : FALSE, mHideBack = i[4] ? TRUE : FALSE;
                RefreshFactors();
            }
            iload->CloseChunk();
        }
        return res == IO_END ? IO_OK : IO_ERROR;
    }

private:
    HostStdUVGen(const HostStdUVGen& o)
        : StdUVGen(),
          mUOffs(o.mUOffs),
          mVOffs(o.mVOffs),
          mUScl(o.mUScl),
          mVScl(o.mVScl),
          mWAng(o.mWAng),
          mTiling(o.mTiling),
          mSource(o.mSource),
          mChannel(o.mChannel),
          mRealWorld(o.mRealWorld),
          mHideBack(o.mHideBack) {
        RefreshFactors();
    }

    template <class T>
    void Set(T& field, T value) {
        field = value;
        RefreshFactors();
        NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
    }

    void Source(ShadeContext& sc, Point3& p, Point3& d) {
        switch (mSource) {
            case UVWSRC_OBJXYZ:
                p = sc.PObj();
                d = sc.DPObj();
                break;
            case UVWSRC_WORLDXYZ:
                p = sc.PointTo(sc.P(), REF_WORLD);
                d = sc.DP();
                break;
            default:
                p = sc.UVW(mChannel);
                d = sc.DUVW(mChannel);
                break;
        }
    }

    // Scale factors (a real-world size divides) and the cosine and sine of the W angle, worked
    // out when a value changes rather than on every shading call.
    void Factors(float& su, float& sv, float& c, float& s) const {
        su = mSu;
        sv = mSv;
        c = mCos;
        s = mSin;
    }
    void RefreshFactors() {
        if (mRealWorld) {
            mSu = mUScl != 0.f ? 1.f / mUScl : 0.f;
            mSv = mVScl != 0.f ? 1.f / mVScl : 0.f;
        } else {
            mSu = mUScl;
            mSv = mVScl;
        }
        if (mWAng == 0.f) {
            mCos = 1.f;
            mSin = 0.f;
        } else {
            mCos = std::cos(mWAng);
            mSin = std::sin(mWAng);
        }
    }

    float mUOffs = 0.f, mVOffs = 0.f, mUScl = 1.f, mVScl = 1.f, mWAng = 0.f;
    int mTiling = U_WRAP | V_WRAP;
    int mSource = UVWSRC_EXPLICIT;
    int mChannel = 1;
    BOOL mRealWorld = FALSE;
    BOOL mHideBack = FALSE;
    float mSu = 1.f, mSv = 1.f, mCos = 1.f, mSin = 0.f;
};

class StdUVGenDesc final : public ClassDesc2 {
public:
    int IsPublic() override { return FALSE; }
    void* Create(BOOL) override { return static_cast<Animatable*>(new HostStdUVGen); }
    const MCHAR* ClassName() override { return L"StandardUVGen"; }
    SClass_ID SuperClassID() override { return UVGEN_CLASS_ID; }
    Class_ID ClassID() override { return Class_ID(STDUV_CLASS_ID, 0); }
    const MCHAR* Category() override { return L""; }
};

}  // namespace

UVGen* GetNewDefaultUVGen() {
    return new HostStdUVGen;
}

namespace quarel_host {

ClassDesc* StdUVGenClassDesc() {
    static StdUVGenDesc desc;
    return &desc;
}

}  // namespace quarel_host
