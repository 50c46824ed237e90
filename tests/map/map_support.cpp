#include "map_support.h"

#include <cinttypes>
#include <cstdio>

#include "host/class_directory.h"
#include "host/scene_file.h"
#include "maxapi.h"
#include "module/class_descs.h"
#include "module/diag_log.h"

namespace QuarelTest {
namespace {

class UnloadableMapDesc final : public ClassDesc2 {
public:
    int IsPublic() override { return FALSE; }
    void* Create(BOOL) override { return static_cast<Animatable*>(new UnloadableMap); }
    const MCHAR* ClassName() override { return L"UnloadableMap"; }
    SClass_ID SuperClassID() override { return TEXMAP_CLASS_ID; }
    Class_ID ClassID() override { return Class_ID(0x7E57AB02, 0x1); }
    const MCHAR* Category() override { return L"Test"; }
};

UnloadableMapDesc gUnloadableDesc;

}  // namespace

Class_ID UnloadableMap::ClassID() {
    return gUnloadableDesc.ClassID();
}

RefResult Watcher::NotifyRefChanged(const Interval&, RefTargetHandle hTarget, PartID&,
                                    RefMessage message, BOOL) {
    if (message == REFMSG_CHANGE) ++changes;
    if (message == REFMSG_TARGET_DELETED && hTarget == mRef) mRef = nullptr;
    return REF_DONTCARE;
}

void ProbeMap::Update(TimeValue, Interval& valid) {
    ++updates;
    valid &= validity;
    if (onUpdate) onUpdate();
}

std::string Ptr(const void* p) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%016" PRIXPTR, reinterpret_cast<std::uintptr_t>(p));
    return text;
}

void MapTest::SetUpTestSuite() {
    for (int i = 0; i < QuarelNS::kQuarelClassCount; ++i)
        RegisterClassDesc(&QuarelNS::QuarelClassDescOf(static_cast<QuarelNS::QuarelClass>(i)));
    RegisterClassDesc(&gUnloadableDesc);
}

void MapTest::TearDownTestSuite() {
    UnregisterClassDesc(&gUnloadableDesc);
    for (int i = 0; i < QuarelNS::kQuarelClassCount; ++i)
        UnregisterClassDesc(&QuarelNS::QuarelClassDescOf(static_cast<QuarelNS::QuarelClass>(i)));
}

void MapTest::SetUp() {
    LogDirTest::SetUp();
    GetCOREInterface()->ResetScene();
    GetCOREInterface()->SetTime(0);
    QuarelNS::DiagLogOpen();
}

void MapTest::TearDown() {
    mHolders.clear();
    GetCOREInterface()->ResetScene();
    QuarelNS::DiagLogClose();
    LogDirTest::TearDown();
}

QuarelMap* MapTest::NewMap(bool loading) {
    auto* object = static_cast<Animatable*>(
        QuarelNS::QuarelClassDescOf(QuarelNS::QuarelClass::Map).Create(loading ? TRUE : FALSE));
    auto* map = dynamic_cast<QuarelMap*>(object);
    EXPECT_NE(map, nullptr);
    return Keep(map);
}

void MapTest::Release(ReferenceTarget* target) {
    for (auto& h : mHolders) {
        if (h->GetRef() == target) h->SetRef(nullptr);
    }
}

void MapTest::Mark() {
    mMark = LogLines().size();
}

std::vector<std::string> MapTest::NewMessages() const {
    std::vector<std::string> out;
    const auto lines = LogLines();
    for (std::size_t i = mMark; i < lines.size(); ++i) out.emplace_back(LineMessage(lines[i]));
    return out;
}

int MapTest::CountNew(const std::string& text, bool prefix) const {
    int n = 0;
    for (const std::string& m : NewMessages()) {
        if (prefix ? m.rfind(text, 0) == 0 : m == text) ++n;
    }
    return n;
}

void MapTest::RoundTrip(const std::vector<ReferenceTarget*>& roots, LoadedScene& loaded) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(SaveSceneBytes(roots, bytes, &error)) << error;
    ASSERT_TRUE(LoadSceneBytes(bytes.data(), bytes.size(), loaded, &error)) << error;
}

}  // namespace QuarelTest
