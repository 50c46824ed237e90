#include "scene_support.h"

#include "maxapi.h"
#include "stdmat.h"

namespace QuarelTest {

MixMtl::MixMtl(Texmap* a, Texmap* b, Mtl* sub) {
    ReplaceReference(0, a);
    ReplaceReference(1, b);
    ReplaceReference(2, sub);
}

Texmap* MixMtl::GetSubTexmap(int i) {
    return i == 0 || i == 1 ? dynamic_cast<Texmap*>(mRefs[i]) : nullptr;
}

Mtl* MixMtl::GetSubMtl(int i) {
    return i == 0 ? dynamic_cast<Mtl*>(mRefs[2]) : nullptr;
}

void SceneTest::TearDown() {
    GetCOREInterface()->GetRootNode()->SetMtl(nullptr);
    MapTest::TearDown();
}

INode* SceneTest::AddNode(const wchar_t* name, Mtl* m, INode* parent) {
    if (parent == nullptr) parent = GetCOREInterface()->GetRootNode();
    INode* node = parent->CreateChild(name);
    node->SetMtl(m);
    return node;
}

StdMtl* Material(Texmap* diffuse, Texmap* bump) {
    auto* m = new StdMtl;
    m->SetSubTexmap(0, diffuse);
    m->SetSubTexmap(1, bump);
    return m;
}

Texmap* SceneTest::LoadedMap(int node, int sub) {
    INode* n = GetCOREInterface()->GetRootNode()->GetChildNode(node);
    Mtl* m = n != nullptr ? n->GetMtl() : nullptr;
    return m != nullptr ? m->GetSubTexmap(sub) : nullptr;
}

AColor SceneTest::At(Texmap* map, float u, float v, bool doMaps) {
    sc.doMaps = doMaps ? TRUE : FALSE;
    sc.SetUVW(Point3(u, v, 0.f), Point3(0.001f, 0.001f, 0.f));
    return map->EvalColor(sc);
}

}  // namespace QuarelTest
