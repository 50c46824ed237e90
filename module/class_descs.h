// The five class descriptors: how the host names, lists and creates the module's classes. They
// answer from the class table (class_ids.h), the category "QuarelMap" and the module's instance
// handle; everything else is the host's ClassDesc2 behaviour over the registered block
// descriptors.
#pragma once

#include "base/class_lookup.h"
#include "iparamb2.h"

namespace QuarelNS {

class QuarelClassDesc : public ClassDesc2 {
public:
    explicit QuarelClassDesc(QuarelClass c) : mClass(c) {}

    int IsPublic() override { return ClassInfo(mClass).isPublic ? 1 : 0; }
    const MCHAR* ClassName() override { return ClassInfo(mClass).className; }
    const MCHAR* NonLocalizedClassName() override { return ClassInfo(mClass).className; }
    SClass_ID SuperClassID() override { return ClassInfo(mClass).superClass; }
    Class_ID ClassID() override { return ClassInfo(mClass).classId; }
    const MCHAR* Category() override { return kQuarelCategory; }
    const MCHAR* InternalName() override { return ClassInfo(mClass).internalName; }
    HINSTANCE HInstance() override;

private:
    QuarelClass mClass;
};

class QuarelMapClassDesc final : public QuarelClassDesc {
public:
    QuarelMapClassDesc() : QuarelClassDesc(QuarelClass::Map) {}
    void* Create(BOOL loading) override;
};

// Always a fresh legacy bump map: there is nothing to load into it before its reference.
class QuarelBumpMapClassDesc final : public QuarelClassDesc {
public:
    QuarelBumpMapClassDesc() : QuarelClassDesc(QuarelClass::BumpMap) {}
    void* Create(BOOL loading) override;
};

class QuarelNormalMapClassDesc final : public QuarelClassDesc {
public:
    QuarelNormalMapClassDesc() : QuarelClassDesc(QuarelClass::NormalMap) {}
    void* Create(BOOL loading) override;
};

class QuarelNormalCarrierMtlClassDesc final : public QuarelClassDesc {
public:
    QuarelNormalCarrierMtlClassDesc() : QuarelClassDesc(QuarelClass::NormalCarrierMtl) {}
    void* Create(BOOL loading) override;
};

class QuarelBumpProcMapClassDesc final : public QuarelClassDesc {
public:
    QuarelBumpProcMapClassDesc() : QuarelClassDesc(QuarelClass::BumpProcMap) {}
    void* Create(BOOL loading) override;
};

}  // namespace QuarelNS
