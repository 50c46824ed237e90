// The host's checker, bitmap and multi-sub maps.
#ifdef QUAREL_HOST_PNG
#include <png.h>
#endif

#include <algorithm>
#include <cmath>

#include "AssetEnumCallback.h"
#include "chunk_io.h"
#include "host/builtin_classes.h"
#include "ioapi.h"
#include "slot_target.h"

using quarel_host::SlotTarget;

namespace {

enum : USHORT {
    kChunkColors = 0x0100,
    kChunkPath = 0x0110,          // the path as given; the only one in older scenes
    kChunkAbsolutePath = 0x0111,  // absolute when saved
    kChunkRelativePath = 0x0112,  // relative to the scene's folder
    kChunkMulti = 0x0120,
};

// Squares of the placeholder along each side of a tile.
constexpr float kPlaceholderSquares = 8.f;

// Image sizes beyond this are refused rather than allocated.
constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 26;

template <class T>
T* AsTex(RefTargetHandle r) {
    return r && r->SuperClassID() == TEXMAP_CLASS_ID ? static_cast<T*>(r) : nullptr;
}

bool ReadAll(ILoad* iload, USHORT id, void* buf, ULONG n) {
    ULONG nb = 0;
    return iload->CurChunkID() != id || iload->Read(buf, n, &nb) == IO_OK;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// CheckerMap

CheckerMap::CheckerMap() {
    ReplaceReference(0, GetNewDefaultUVGen());
}

CheckerMap::~CheckerMap() {
    DeleteAllRefs();
}

RefTargetHandle CheckerMap::GetReference(int i) {
    if (i == 0) return mUVGen;
    return i == 1 || i == 2 ? mMaps[i - 1] : nullptr;
}

void CheckerMap::SetReference(int i, RefTargetHandle rtarg) {
    if (i == 0) {
        mUVGen = SlotTarget<UVGen>(rtarg, UVGEN_CLASS_ID);
    } else if (i == 1 || i == 2) {
        mMaps[i - 1] = SlotTarget<Texmap>(rtarg, TEXMAP_CLASS_ID);
    }
}

RefResult CheckerMap::NotifyRefChanged(const Interval&, RefTargetHandle hTarget, PartID&,
                                       RefMessage message, BOOL) {
    if (message == REFMSG_TARGET_DELETED) {
        if (hTarget == mUVGen) mUVGen = nullptr;
        for (auto& m : mMaps)
            if (m == hTarget) m = nullptr;
    }
    return REF_SUCCEED;
}

Texmap* CheckerMap::GetSubTexmap(int i) {
    return i == 0 || i == 1 ? mMaps[i] : nullptr;
}

void CheckerMap::SetSubTexmap(int i, Texmap* m) {
    if (i == 0 || i == 1) ReplaceReference(i + 1, m);
}

AColor CheckerMap::EvalColor(ShadeContext& sc) {
    if (!sc.doMaps) return AColor(0.f, 0.f, 0.f, 0.f);
    Point2 uv, duv;
    if (mUVGen) {
        mUVGen->GetUV(sc, uv, duv);
    } else {
        const Point3 p = sc.UVW(1);
        uv = Point2(p.x, p.y);
    }
    const float cu = std::floor(uv.x * 2.f), cv = std::floor(uv.y * 2.f);
    if (!std::isfinite(cu) || !std::isfinite(cv)) return AColor(color1);
    // Parity in floating point: no integer conversion of huge coordinates.
    const bool odd = (std::fmod(cu, 2.f) != 0.f) != (std::fmod(cv, 2.f) != 0.f);
    const int which = odd ? 1 : 0;
    if (mMaps[which]) return mMaps[which]->EvalColor(sc);
    return AColor(which ? color2 : color1);
}

void CheckerMap::Update(TimeValue t, Interval& valid) {
    if (mUVGen) mUVGen->Update(t, valid);
    for (Texmap* m : mMaps)
        if (m) m->Update(t, valid);
}

void CheckerMap::Reset() {
    color1 = Color(0.f, 0.f, 0.f);
    color2 = Color(1.f, 1.f, 1.f);
    ReplaceReference(0, GetNewDefaultUVGen());
}

Interval CheckerMap::Validity(TimeValue t) {
    Interval v = FOREVER;
    Update(t, v);
    return v;
}

RefTargetHandle CheckerMap::Clone(RemapDir& remap) {
    auto* c = new CheckerMap;
    c->color1 = color1;
    c->color2 = color2;
    for (int i = 0; i < 3; ++i)
        if (GetReference(i)) c->ReplaceReference(i, remap.CloneRef(GetReference(i)));
    BaseClone(this, c, remap);
    return c;
}

IOResult CheckerMap::Save(ISave* isave) {
    ULONG nb = 0;
    isave->BeginChunk(kChunkColors);
    isave->Write(&color1, sizeof(Color), &nb);
    isave->Write(&color2, sizeof(Color), &nb);
    isave->EndChunk();
    return IO_OK;
}

IOResult CheckerMap::Load(ILoad* iload) {
    IOResult res;
    while ((res = iload->OpenChunk()) == IO_OK) {
        if (!ReadAll(iload, kChunkColors, &color1, sizeof(Color)) ||
            !ReadAll(iload, kChunkColors, &color2, sizeof(Color)))
            return IO_ERROR;
        iload->CloseChunk();
    }
    return res == IO_END ? IO_OK : IO_ERROR;
}

// ---------------------------------------------------------------------------------------------
// BitmapMap

BitmapMap::BitmapMap() {
    ReplaceReference(0, GetNewDefaultUVGen());
}

BitmapMap::~BitmapMap() {
    DeleteAllRefs();
}

void BitmapMap::SetReference(int i, RefTargetHandle rtarg) {
    if (i == 0) mUVGen = SlotTarget<UVGen>(rtarg, UVGEN_CLASS_ID);
}

RefResult BitmapMap::NotifyRefChanged(const Interval&, RefTargetHandle hTarget, PartID&,
                                      RefMessage message, BOOL) {
    if (message == REFMSG_TARGET_DELETED && hTarget == mUVGen) mUVGen = nullptr;
    return REF_SUCCEED;
}

bool BitmapMap::SetFileName(const std::string& path, const std::string& given) {
    mAsset = {given.empty() ? path : given, quarel_host::AbsolutePath(path), {}};
    return ReadImage(path);
}

bool BitmapMap::ReadImage(const std::string& path) {
    mPath = path;
    mPixels.clear();
    mWidth = mHeight = 0;
    mError.clear();
#ifndef QUAREL_HOST_PNG
    // Built without libpng (the Windows cross build): the map stays empty and says why.
    mError = "cannot read '" + path + "': this build of the host reads no PNG files";
    return false;
#else
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        mError = "cannot read '" + path + "': " + image.message;
        return false;
    }
    if (image.width == 0 || image.height == 0 ||
        std::uint64_t{image.width} * image.height > kMaxPixels) {
        png_image_free(&image);
        mError = "'" + path + "' has an unsupported size";
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        mError = "cannot decode '" + path + "': " + image.message;
        png_image_free(&image);
        return false;
    }
    mPixels = std::move(pixels);
    mWidth = static_cast<int>(image.width);
    mHeight = static_cast<int>(image.height);
    NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
    return true;
#endif
}

void BitmapMap::EnumAuxFiles(AssetEnumCallback& assetEnum, DWORD flags) {
    if ((flags & FILE_ENUM_CHECK_AWORK1) && TestAFlag(A_WORK1)) return;
    const std::string& name = GivenName().empty() ? FileName() : GivenName();
    if (!name.empty() && !((flags & FILE_ENUM_MISSING_ONLY) && mError.empty())) {
        // Paths are bytes; each becomes one character of the host's wide string.
        const std::wstring wide(name.begin(), name.end());
        assetEnum.RecordAsset(MaxSDK::AssetManagement::AssetUser(MSTR(wide.c_str())));
    }
    Texmap::EnumAuxFiles(assetEnum, flags);
}

AColor BitmapMap::PlaceholderColor(float u, float v) {
    const float fu = u - std::floor(u), fv = v - std::floor(v);
    const int x = static_cast<int>(fu * kPlaceholderSquares);
    const int y = static_cast<int>(fv * kPlaceholderSquares);
    return (x + y) % 2 == 0 ? AColor(1.f, 0.f, 1.f, 1.f) : AColor(0.f, 0.f, 0.f, 1.f);
}

AColor BitmapMap::Texel(int x, int y) const {
    const unsigned char* p = &mPixels[(static_cast<std::size_t>(y) * mWidth + x) * 4];
    return AColor(p[0] / 255.f, p[1] / 255.f, p[2] / 255.f, p[3] / 255.f);
}

AColor BitmapMap::EvalColor(ShadeContext& sc) {
    if (!sc.doMaps || (mPixels.empty() && mError.empty())) return AColor(0.f, 0.f, 0.f, 0.f);
    Point2 uv, duv;
    if (mUVGen) {
        mUVGen->GetUV(sc, uv, duv);
    } else {
        const Point3 p = sc.UVW(1);
        uv = Point2(p.x, p.y);
    }
    if (!std::isfinite(uv.x) || !std::isfinite(uv.y)) return AColor(0.f, 0.f, 0.f, 0.f);
    if (mPixels.empty()) return PlaceholderColor(uv.x, uv.y);
    const float fu = uv.x - std::floor(uv.x);
    const float fv = uv.y - std::floor(uv.y);
    // Texel centres at half steps; v = 0 is the bottom row.
    const float x = fu * static_cast<float>(mWidth) - 0.5f;
    const float y = (1.f - fv) * static_cast<float>(mHeight) - 0.5f;
    const float x0f = std::floor(x), y0f = std::floor(y);
    const float ax = x - x0f, ay = y - y0f;
    auto wrap = [](int i, int n) { return ((i % n) + n) % n; };
    const int x0 = wrap(static_cast<int>(x0f), mWidth), x1 = wrap(x0 + 1, mWidth);
    const int y0 = wrap(static_cast<int>(y0f), mHeight), y1 = wrap(y0 + 1, mHeight);
    const AColor top = Texel(x0, y0) * (1.f - ax) + Texel(x1, y0) * ax;
    const AColor bottom = Texel(x0, y1) * (1.f - ax) + Texel(x1, y1) * ax;
    return top * (1.f - ay) + bottom * ay;
}

void BitmapMap::Update(TimeValue t, Interval& valid) {
    if (mUVGen) mUVGen->Update(t, valid);
}

void BitmapMap::Reset() {
    mAsset = {};
    mPath.clear();
    mError.clear();
    mPixels.clear();
    mWidth = mHeight = 0;
    ReplaceReference(0, GetNewDefaultUVGen());
}

RefTargetHandle BitmapMap::Clone(RemapDir& remap) {
    auto* c = new BitmapMap;
    c->mAsset = mAsset;
    c->mPath = mPath;
    c->mError = mError;
    c->mWidth = mWidth;
    c->mHeight = mHeight;
    c->mPixels = mPixels;
    if (mUVGen) c->ReplaceReference(0, remap.CloneRef(mUVGen));
    BaseClone(this, c, remap);
    return c;
}

IOResult BitmapMap::Save(ISave* isave) {
    auto path = [isave](USHORT id, const std::string& text) {
        isave->BeginChunk(id);
        isave->WriteCString(text.c_str());
        isave->EndChunk();
    };
    path(kChunkPath, mAsset.given);
    if (mAsset.absolute.empty()) return IO_OK;
    path(kChunkAbsolutePath, mAsset.absolute);
    // Relative to the folder of the file being written, recomputed for every save, so that a
    // scene saved into another folder points from there.
    auto* writer = dynamic_cast<quarel_host::ChunkWriter*>(isave);
    if (writer && !writer->assetBase.empty()) {
        const std::string rel = quarel_host::RelativePath(mAsset.absolute, writer->assetBase);
        if (!rel.empty()) path(kChunkRelativePath, rel);
    }
    return IO_OK;
}

IOResult BitmapMap::Load(ILoad* iload) {
    quarel_host::AssetPath stored;
    IOResult res;
    while ((res = iload->OpenChunk()) == IO_OK) {
        const USHORT id = iload->CurChunkID();
        std::string* into = id == kChunkPath           ? &stored.given
                            : id == kChunkAbsolutePath ? &stored.absolute
                            : id == kChunkRelativePath ? &stored.relative
                                                       : nullptr;
        if (into) {
            char* text = nullptr;
            iload->ReadCStringChunk(&text);
            *into = text ? text : "";
        }
        iload->CloseChunk();
    }
    if (res != IO_END) return IO_ERROR;
    if (stored.given.empty() && stored.absolute.empty() && stored.relative.empty()) return IO_OK;
    Locate(stored, dynamic_cast<quarel_host::ChunkReader*>(iload));
    return IO_OK;
}

void BitmapMap::Locate(const quarel_host::AssetPath& stored,
                       const quarel_host::ChunkReader* reader) {
    static const quarel_host::AssetSearch kNowhere;
    const quarel_host::AssetSearch& search = reader && reader->assets ? *reader->assets : kNowhere;
    std::vector<std::string> tried;
    const std::string found = quarel_host::FindAsset(stored, search, &tried);
    mAsset = stored;
    if (!found.empty()) {
        mAsset.absolute = quarel_host::AbsolutePath(found);
        ReadImage(found);
        return;
    }
    // Not found: the map keeps what the scene stored, so that saving it again loses nothing.
    const std::string& name = stored.given.empty() ? stored.absolute : stored.given;
    mPixels.clear();
    mWidth = mHeight = 0;
    mPath = tried.empty() ? name : tried.front();
    mError = "cannot find '" + name + "'";
    for (std::size_t i = 0; i < tried.size(); ++i)
        mError += (i == 0 ? " (looked for " : ", ") + tried[i];
    if (!tried.empty()) mError += ")";
    if (mAsset.absolute.empty()) mAsset.absolute = quarel_host::AbsolutePath(mPath);
}

// ---------------------------------------------------------------------------------------------
// MultiSubMap

MultiSubMap::MultiSubMap(int count, Mode mode) : mMode(mode) {
    mMaps.assign(static_cast<std::size_t>(std::clamp(count, 1, kMaxSubs)), nullptr);
}

MultiSubMap::~MultiSubMap() {
    DeleteAllRefs();
}

void MultiSubMap::SetMode(Mode m) {
    mMode = (m == kByFaceNumber || m == kByMtlNum) ? m : kByNodeID;
    NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}

void MultiSubMap::SetNumSubs(int n) {
    n = std::clamp(n, 1, kMaxSubs);
    for (int i = n; i < NumRefs(); ++i) DeleteReference(i);
    mMaps.resize(static_cast<std::size_t>(n), nullptr);
    NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}

int MultiSubMap::IndexOf(int id) const {
    const int n = static_cast<int>(mMaps.size());
    return ((id % n) + n) % n;
}

Color MultiSubMap::SlotColor(int index) {
    // Hues a golden-ratio step apart, so neighbouring ids look different.
    const float h = static_cast<float>(index) * 0.61803398875f;
    const float f = (h - std::floor(h)) * 6.f;
    const int sector = static_cast<int>(f) % 6;
    const float x = f - std::floor(f);
    const float v = 0.9f, p = 0.36f, q = v - (v - p) * x, t = p + (v - p) * x;
    switch (sector) {
        case 0:
            return Color(v, t, p);
        case 1:
            return Color(q, v, p);
        case 2:
            return Color(p, v, t);
        case 3:
            return Color(p, q, v);
        case 4:
            return Color(t, p, v);
        default:
            return Color(v, p, q);
    }
}

RefTargetHandle MultiSubMap::GetReference(int i) {
    return i >= 0 && i < NumRefs() ? mMaps[i] : nullptr;
}

void MultiSubMap::SetReference(int i, RefTargetHandle rtarg) {
    if (i < 0 || i >= NumRefs()) return;
    mMaps[i] = SlotTarget<Texmap>(rtarg, TEXMAP_CLASS_ID);
}

RefResult MultiSubMap::NotifyRefChanged(const Interval&, RefTargetHandle hTarget, PartID&,
                                        RefMessage message, BOOL) {
    if (message == REFMSG_TARGET_DELETED)
        for (auto& m : mMaps)
            if (m == hTarget) m = nullptr;
    return REF_SUCCEED;
}

Texmap* MultiSubMap::GetSubTexmap(int i) {
    return i >= 0 && i < NumRefs() ? mMaps[i] : nullptr;
}

int MultiSubMap::IdOf(ShadeContext& sc) const {
    switch (mMode) {
        case kByFaceNumber:
            return sc.FaceNumber();
        case kByMtlNum:
            return sc.mtlNum;
        default:
            return sc.NodeID();
    }
}

AColor MultiSubMap::EvalColor(ShadeContext& sc) {
    if (!sc.doMaps) return AColor(0.f, 0.f, 0.f, 0.f);
    const int i = IndexOf(IdOf(sc));
    if (mMaps[i]) return mMaps[i]->EvalColor(sc);
    return AColor(SlotColor(i));
}

Point3 MultiSubMap::EvalNormalPerturb(ShadeContext& sc) {
    if (!sc.doMaps) return Point3();
    Texmap* m = mMaps[IndexOf(IdOf(sc))];
    return m ? m->EvalNormalPerturb(sc) : Point3();
}

void MultiSubMap::Update(TimeValue t, Interval& valid) {
    for (Texmap* m : mMaps)
        if (m) m->Update(t, valid);
}

Interval MultiSubMap::Validity(TimeValue t) {
    Interval v = FOREVER;
    Update(t, v);
    return v;
}

RefTargetHandle MultiSubMap::Clone(RemapDir& remap) {
    auto* c = new MultiSubMap(NumRefs(), mMode);
    for (int i = 0; i < NumRefs(); ++i)
        if (mMaps[i]) c->ReplaceReference(i, remap.CloneRef(mMaps[i]));
    BaseClone(this, c, remap);
    return c;
}

IOResult MultiSubMap::Save(ISave* isave) {
    ULONG nb = 0;
    const std::int32_t v[2] = {static_cast<std::int32_t>(mMaps.size()), mMode};
    isave->BeginChunk(kChunkMulti);
    isave->Write(v, sizeof(v), &nb);
    isave->EndChunk();
    return IO_OK;
}

IOResult MultiSubMap::Load(ILoad* iload) {
    IOResult res;
    while ((res = iload->OpenChunk()) == IO_OK) {
        if (iload->CurChunkID() == kChunkMulti) {
            std::int32_t v[2] = {4, 0};
            if (!ReadAll(iload, kChunkMulti, v, sizeof(v))) return IO_ERROR;
            mMaps.assign(static_cast<std::size_t>(std::clamp(v[0], 1, kMaxSubs)), nullptr);
            mMode =
                (v[1] == kByFaceNumber || v[1] == kByMtlNum) ? static_cast<Mode>(v[1]) : kByNodeID;
        }
        iload->CloseChunk();
    }
    return res == IO_END ? IO_OK : IO_ERROR;
}
