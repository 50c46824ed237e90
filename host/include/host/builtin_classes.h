// The host's own maps and materials, for tests and previews: a checker, a PNG bitmap, a
// multi-sub map that shows per-point ids, a standard material and a multi-material. Each has
// a class descriptor in the class directory, so scene files can hold them.
#pragma once

#include <string>
#include <vector>

#include <imtl.h>
#include <iparamb2.h>

#include "host/asset_paths.h"

namespace quarel_host {
class ChunkReader;
}

#define CHECKER_CLASS_ID 0x00000200
#define BMTEX_CLASS_ID 0x00000240
#define MULTISUB_TEX_CLASS_ID Class_ID(0x3A52C5E1, 0x1F0B7D44)
#define DMTL_CLASS_ID 0x00000002
#define MULTI_MTL_CLASS_ID 0x00000200

// Two colours (or sub-maps 0 and 1) in a 2 x 2 checker per UV tile. Reference 0 is its UV
// generator, 1 and 2 the sub-maps.
class CheckerMap : public Texmap {
public:
    CheckerMap();
    ~CheckerMap() override;
    Class_ID ClassID() override { return Class_ID(CHECKER_CLASS_ID, 0); }
    void GetClassName(MSTR& s, bool) const override { s = L"Checker"; }

    Color color1{0.f, 0.f, 0.f};
    Color color2{1.f, 1.f, 1.f};

    int NumRefs() override { return 3; }
    RefTargetHandle GetReference(int i) override;
    RefResult NotifyRefChanged(const Interval&, RefTargetHandle, PartID&, RefMessage,
                               BOOL) override;
    int NumSubs() override { return 3; }
    Animatable* SubAnim(int i) override { return GetReference(i); }
    int SubNumToRefNum(int i) override { return i; }
    int NumSubTexmaps() override { return 2; }
    Texmap* GetSubTexmap(int i) override;
    void SetSubTexmap(int i, Texmap* m) override;
    MSTR GetSubTexmapSlotName(int i, bool) override { return i == 0 ? L"Color 1" : L"Color 2"; }

    AColor EvalColor(ShadeContext& sc) override;
    Point3 EvalNormalPerturb(ShadeContext&) override { return Point3(); }
    UVGen* GetTheUVGen() override { return mUVGen; }
    void Update(TimeValue t, Interval& valid) override;
    void Reset() override;
    Interval Validity(TimeValue t) override;
    ParamDlg* CreateParamDlg(HWND, IMtlParams*) override { return nullptr; }
    ULONG LocalRequirements(int n) override { return mUVGen ? mUVGen->Requirements(n) : 0; }
    void LocalMappingsRequired(int n, BitArray& m, BitArray& b) override {
        if (mUVGen) mUVGen->MappingsRequired(n, m, b);
    }
    RefTargetHandle Clone(RemapDir& remap) override;
    IOResult Save(ISave* isave) override;
    IOResult Load(ILoad* iload) override;

protected:
    void SetReference(int i, RefTargetHandle rtarg) override;

private:
    UVGen* mUVGen = nullptr;
    Texmap* mMaps[2] = {};
};

// An image read from a PNG file, sampled bilinearly with wrapping (v runs up the image).
// Reference 0 is its UV generator. A map that names a file it cannot find or decode shows a
// magenta and black checker (8 x 8 squares a tile), never black, so the gap is seen; a map that
// names no file is black.
//
// The file is known by the path as given, its absolute path and, in a scene, its path
// relative to the scene's folder: loading looks for it by those (asset_paths.h), and saving
// into another folder stores the relative path for the new place.
class BitmapMap : public Texmap {
public:
    BitmapMap();
    ~BitmapMap() override;
    Class_ID ClassID() override { return Class_ID(BMTEX_CLASS_ID, 0); }
    void GetClassName(MSTR& s, bool) const override { s = L"Bitmap"; }

    // Reads the file now; false (and an empty image) when it cannot be read. `given` is the
    // path as the user wrote it (relative to a preset, say), when `path` was found from it.
    bool SetFileName(const std::string& path, const std::string& given = {});
    // The file the map reads, or the one it looked for first when none was found.
    const std::string& FileName() const { return mPath; }
    // The path as the user gave it, kept through saving and loading.
    const std::string& GivenName() const { return mAsset.given; }
    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    // Why the named file could not be used (not found, where it was looked for, or not
    // decodable); empty when the map has its image or names no file.
    const std::string& LoadError() const { return mError; }
    // The colour of the placeholder at (u, v), one tile being 0..1.
    static AColor PlaceholderColor(float u, float v);
    // Its file (as given), unless it names none, or FILE_ENUM_MISSING_ONLY asks and it has one;
    // then its references, as every maker does.
    void EnumAuxFiles(AssetEnumCallback& assetEnum, DWORD flags = FILE_ENUM_ALL) override;

    int NumRefs() override { return 1; }
    RefTargetHandle GetReference(int i) override { return i == 0 ? mUVGen : nullptr; }
    RefResult NotifyRefChanged(const Interval&, RefTargetHandle, PartID&, RefMessage,
                               BOOL) override;
    int NumSubs() override { return 1; }
    Animatable* SubAnim(int i) override { return GetReference(i); }
    int SubNumToRefNum(int i) override { return i; }

    AColor EvalColor(ShadeContext& sc) override;
    Point3 EvalNormalPerturb(ShadeContext&) override { return Point3(); }
    UVGen* GetTheUVGen() override { return mUVGen; }
    void Update(TimeValue t, Interval& valid) override;
    void Reset() override;
    Interval Validity(TimeValue) override { return FOREVER; }
    ParamDlg* CreateParamDlg(HWND, IMtlParams*) override { return nullptr; }
    ULONG LocalRequirements(int n) override { return mUVGen ? mUVGen->Requirements(n) : 0; }
    void LocalMappingsRequired(int n, BitArray& m, BitArray& b) override {
        if (mUVGen) mUVGen->MappingsRequired(n, m, b);
    }
    RefTargetHandle Clone(RemapDir& remap) override;
    IOResult Save(ISave* isave) override;
    IOResult Load(ILoad* iload) override;

protected:
    void SetReference(int i, RefTargetHandle rtarg) override;

private:
    AColor Texel(int x, int y) const;
    bool ReadImage(const std::string& path);
    void Locate(const quarel_host::AssetPath& stored, const quarel_host::ChunkReader* reader);
    UVGen* mUVGen = nullptr;
    quarel_host::AssetPath mAsset;
    std::string mPath;
    std::string mError;
    int mWidth = 0, mHeight = 0;
    std::vector<unsigned char> mPixels;  // RGBA, top row first
};

// Chooses one of its sub-maps by the shading point's node id, face number or material id
// (modulo the number of sub-maps). An empty slot shows a colour of its own, so per-point ids
// can be seen without any sub-map.
class MultiSubMap : public Texmap {
public:
    enum Mode { kByNodeID = 0, kByFaceNumber = 1, kByMtlNum = 2 };
    static constexpr int kMaxSubs = 1000;

    explicit MultiSubMap(int count = 4, Mode mode = kByNodeID);
    ~MultiSubMap() override;
    Class_ID ClassID() override { return MULTISUB_TEX_CLASS_ID; }
    void GetClassName(MSTR& s, bool) const override { s = L"MultiSubMap"; }

    Mode GetMode() const { return mMode; }
    void SetMode(Mode m);
    // 1 to kMaxSubs; maps beyond a smaller count are released.
    void SetNumSubs(int n);
    // The sub-map index an id selects.
    int IndexOf(int id) const;
    // The colour an empty slot shows.
    static Color SlotColor(int index);

    int NumRefs() override { return static_cast<int>(mMaps.size()); }
    RefTargetHandle GetReference(int i) override;
    RefResult NotifyRefChanged(const Interval&, RefTargetHandle, PartID&, RefMessage,
                               BOOL) override;
    int NumSubs() override { return NumRefs(); }
    Animatable* SubAnim(int i) override { return GetReference(i); }
    int SubNumToRefNum(int i) override { return i; }
    int NumSubTexmaps() override { return NumRefs(); }
    Texmap* GetSubTexmap(int i) override;
    void SetSubTexmap(int i, Texmap* m) override { ReplaceReference(i, m); }

    AColor EvalColor(ShadeContext& sc) override;
    Point3 EvalNormalPerturb(ShadeContext& sc) override;
    void Update(TimeValue t, Interval& valid) override;
    void Reset() override {}
    Interval Validity(TimeValue t) override;
    ParamDlg* CreateParamDlg(HWND, IMtlParams*) override { return nullptr; }
    RefTargetHandle Clone(RemapDir& remap) override;
    IOResult Save(ISave* isave) override;
    IOResult Load(ILoad* iload) override;

protected:
    void SetReference(int i, RefTargetHandle rtarg) override;

private:
    int IdOf(ShadeContext& sc) const;
    Mode mMode;
    std::vector<Texmap*> mMaps;
};

// A diffuse colour or map (sub-map 0) and a bump map (sub-map 1).
class StdMtl : public Mtl {
public:
    StdMtl();
    ~StdMtl() override;
    Class_ID ClassID() override { return Class_ID(DMTL_CLASS_ID, 0); }
    void GetClassName(MSTR& s, bool) const override { s = L"Standard"; }

    Color diffuse{0.5f, 0.5f, 0.5f};

    int NumRefs() override { return 2; }
    RefTargetHandle GetReference(int i) override;
    RefResult NotifyRefChanged(const Interval&, RefTargetHandle, PartID&, RefMessage,
                               BOOL) override;
    int NumSubs() override { return 2; }
    Animatable* SubAnim(int i) override { return GetReference(i); }
    int SubNumToRefNum(int i) override { return i; }
    int NumSubTexmaps() override { return 2; }
    Texmap* GetSubTexmap(int i) override;
    void SetSubTexmap(int i, Texmap* m) override { ReplaceReference(i, m); }
    MSTR GetSubTexmapSlotName(int i, bool) override { return i == 0 ? L"Diffuse" : L"Bump"; }

    Color GetAmbient(int, BOOL) override { return diffuse; }
    Color GetDiffuse(int, BOOL) override { return diffuse; }
    Color GetSpecular(int, BOOL) override { return Color(1.f, 1.f, 1.f); }
    float GetShininess(int, BOOL) override { return 0.25f; }
    float GetShinStr(int, BOOL) override { return 0.f; }
    float GetXParency(int, BOOL) override { return 0.f; }
    void SetAmbient(Color, TimeValue) override {}
    void SetDiffuse(Color c, TimeValue) override { diffuse = c; }
    void SetSpecular(Color, TimeValue) override {}
    void SetShininess(float, TimeValue) override {}
    // The diffuse colour (or map) as the output colour; opaque.
    void Shade(ShadeContext& sc) override;

    void Update(TimeValue t, Interval& valid) override;
    void Reset() override { diffuse = Color(0.5f, 0.5f, 0.5f); }
    Interval Validity(TimeValue t) override;
    ParamDlg* CreateParamDlg(HWND, IMtlParams*) override { return nullptr; }
    RefTargetHandle Clone(RemapDir& remap) override;
    IOResult Save(ISave* isave) override;
    IOResult Load(ILoad* iload) override;

protected:
    void SetReference(int i, RefTargetHandle rtarg) override;

private:
    Texmap* mMaps[2] = {};
};

// Sub-materials chosen by the shading point's material id.
class MultiMtl : public Mtl {
public:
    static constexpr int kMaxSubs = 1000;
    explicit MultiMtl(int count = 2);
    ~MultiMtl() override;
    Class_ID ClassID() override { return Class_ID(MULTI_MTL_CLASS_ID, 0); }
    void GetClassName(MSTR& s, bool) const override { s = L"Multi/Sub-Object"; }
    BOOL IsMultiMtl() override { return TRUE; }
    void SetNumSubMtls(int n);

    int NumRefs() override { return static_cast<int>(mMtls.size()); }
    RefTargetHandle GetReference(int i) override;
    RefResult NotifyRefChanged(const Interval&, RefTargetHandle, PartID&, RefMessage,
                               BOOL) override;
    int NumSubMtls() override { return NumRefs(); }
    Mtl* GetSubMtl(int i) override;
    void SetSubMtl(int i, Mtl* m) override { ReplaceReference(i, m); }

    Color GetAmbient(int n, BOOL b) override;
    Color GetDiffuse(int n, BOOL b) override;
    Color GetSpecular(int, BOOL) override { return Color(1.f, 1.f, 1.f); }
    float GetShininess(int, BOOL) override { return 0.f; }
    float GetShinStr(int, BOOL) override { return 0.f; }
    float GetXParency(int, BOOL) override { return 0.f; }
    void SetAmbient(Color, TimeValue) override {}
    void SetDiffuse(Color, TimeValue) override {}
    void SetSpecular(Color, TimeValue) override {}
    void SetShininess(float, TimeValue) override {}
    void Shade(ShadeContext& sc) override;

    void Update(TimeValue t, Interval& valid) override;
    void Reset() override {}
    Interval Validity(TimeValue t) override;
    ParamDlg* CreateParamDlg(HWND, IMtlParams*) override { return nullptr; }
    RefTargetHandle Clone(RemapDir& remap) override;
    IOResult Save(ISave* isave) override;
    IOResult Load(ILoad* iload) override;

protected:
    void SetReference(int i, RefTargetHandle rtarg) override;

private:
    Mtl* Pick(int mtlNum);
    std::vector<Mtl*> mMtls;
};
