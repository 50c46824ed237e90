#include "map_support.h"

#include "base/diag_log.h"
#include "host/class_directory.h"
#include "maxapi.h"
#include "stdmat.h"

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

void ForEachClassDesc(bool (*fn)(ClassDesc*)) {
    for (int i = 0; i < kQuarelClassCount; ++i) fn(&QuarelClassDescOf(static_cast<QuarelClass>(i)));
}

}  // namespace

Class_ID UnloadableMap::ClassID() {
    return gUnloadableDesc.ClassID();
}

QuarelMap* PlainMap() {
    auto* map = Create<QuarelMap>(QuarelClass::Map);
    auto* gen = dynamic_cast<StdUVGen*>(map->GetTheUVGen());
    gen->SetUseRealWorldScale(FALSE);
    gen->SetUScl(1.f, 0);
    gen->SetVScl(1.f, 0);
    return map;
}

void MakeValid(QuarelMap* map) {
    Interval valid = FOREVER;
    map->Update(0, valid);
    ASSERT_TRUE(map->SnapshotValidity().InInterval(0));
}

void MapTest::SetUpTestSuite() {
    ForEachClassDesc(&RegisterClassDesc);
    RegisterClassDesc(&gUnloadableDesc);
}

void MapTest::TearDownTestSuite() {
    UnregisterClassDesc(&gUnloadableDesc);
    ForEachClassDesc([](ClassDesc* cd) {
        UnregisterClassDesc(cd);
        return true;
    });
}

void MapTest::SetUp() {
    LogDirTest::SetUp();
    GetCOREInterface()->ResetScene();
    GetCOREInterface()->SetTime(0);
    mLogOn.emplace("QUARELMAP_LOG", nullptr);
    DiagLogOpen();
}

void MapTest::TearDown() {
    mHolders.clear();
    GetCOREInterface()->ResetScene();
    DiagLogClose();
    mLogOn.reset();
    LogDirTest::TearDown();
}

QuarelMap* MapTest::NewMap(bool loading) {
    auto* map = Create<QuarelMap>(QuarelClass::Map, loading);
    EXPECT_NE(map, nullptr);
    return Keep(map);
}

void MapTest::Release(ReferenceTarget* target) {
    for (auto& h : mHolders) {
        if (h->GetRef() == target) h->SetRef(nullptr);
    }
}

int MapTest::CountNew(const std::string& text, bool prefix) const {
    const auto lines = LogLines();
    int n = 0;
    for (std::size_t i = mMark; i < lines.size(); ++i) {
        const std::string_view m = LineMessage(lines[i]);
        if (prefix ? m.substr(0, text.size()) == text : m == text) ++n;
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
