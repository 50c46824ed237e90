// Class descriptors of the host's own classes.
#include "builtin_registry.h"

#include "host/builtin_classes.h"

namespace quarel_host {

ClassDesc* StdUVGenClassDesc();

namespace {

template <class T, SClass_ID kSuper>
class BuiltinDesc final : public ClassDesc2 {
public:
    BuiltinDesc(const MCHAR* name, Class_ID id) : mName(name), mId(id) {}
    int IsPublic() override { return TRUE; }
    void* Create(BOOL) override { return static_cast<Animatable*>(new T); }
    const MCHAR* ClassName() override { return mName; }
    const MCHAR* InternalName() override { return mName; }
    SClass_ID SuperClassID() override { return kSuper; }
    Class_ID ClassID() override { return mId; }
    const MCHAR* Category() override { return L"Host"; }

private:
    const MCHAR* mName;
    Class_ID mId;
};

}  // namespace

std::vector<ClassDesc*> BuiltinClassDescs() {
    static BuiltinDesc<CheckerMap, TEXMAP_CLASS_ID> checker(L"Checker",
                                                            Class_ID(CHECKER_CLASS_ID, 0));
    static BuiltinDesc<BitmapMap, TEXMAP_CLASS_ID> bitmap(L"Bitmap", Class_ID(BMTEX_CLASS_ID, 0));
    static BuiltinDesc<MultiSubMap, TEXMAP_CLASS_ID> multiSub(L"MultiSubMap",
                                                              MULTISUB_TEX_CLASS_ID);
    static BuiltinDesc<StdMtl, MATERIAL_CLASS_ID> stdMtl(L"Standard", Class_ID(DMTL_CLASS_ID, 0));
    static BuiltinDesc<MultiMtl, MATERIAL_CLASS_ID> multiMtl(L"Multi/Sub-Object",
                                                             Class_ID(MULTI_MTL_CLASS_ID, 0));
    return {StdUVGenClassDesc(), &checker, &bitmap, &multiSub, &stdMtl, &multiMtl};
}

}  // namespace quarel_host
